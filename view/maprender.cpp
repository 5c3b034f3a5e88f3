#include "maprender.h"

#include "cp1252.h"
#include "mapdocument.h"
#include "mapgeometry.h"
#include "markers.h"
#include "regionguess.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <algorithm>
#include <cmath>
#include <optional>

namespace ts {

namespace {

Color c(std::int32_t v) { return static_cast<Color>(v); }

// The colour the map gives its province names; the game's white when it gives none.
QColor nameColor(const MapDocument& doc) {
    if (doc.MapTextColor[0] <= -1.0f) return Qt::white;
    auto part = [](float v) { return std::clamp(static_cast<double>(v), 0.0, 1.0); };
    const double alpha = doc.MapTextColor[3] > 0.0f ? part(doc.MapTextColor[3]) : 1.0;
    return QColor::fromRgbF(static_cast<float>(part(doc.MapTextColor[0])), static_cast<float>(part(doc.MapTextColor[1])),
                            static_cast<float>(part(doc.MapTextColor[2])), static_cast<float>(alpha));
}

// Text centred on a point with a dark rim, readable over any ground.
void drawLabel(QPainter& painter, const QPointF& centre, const QString& text, const QColor& color) {
    const QFontMetricsF metrics(painter.font());
    const QPointF at(centre.x() - metrics.horizontalAdvance(text) / 2.0, centre.y() + metrics.ascent() / 2.0);
    // The rim is the opposite of the text, so dark names stay readable as well as light ones.
    painter.setPen(color.lightnessF() > 0.45 ? QColor(0, 0, 0, 200) : QColor(255, 255, 255, 200));
    for (const QPointF off : {QPointF(-1, 0), QPointF(1, 0), QPointF(0, -1), QPointF(0, 1)}) painter.drawText(at + off, text);
    painter.setPen(color);
    painter.drawText(at, text);
}

// A link as the view draws it, but across the picture's edge when the map wraps around and that
// way is shorter: then each half leaves the picture towards the other province's copy.
void drawLink(QPainter& painter, QPointF from, QPointF to, QSizeF size, bool wrapAround) {
    QPointF shift;
    if (wrapAround) {
        const double dx = to.x() - from.x(), dy = to.y() - from.y();
        if (std::fabs(dx) > size.width() / 2) shift.setX(dx > 0 ? -size.width() : size.width());
        if (std::fabs(dy) > size.height() / 2) shift.setY(dy > 0 ? -size.height() : size.height());
    }
    painter.drawLine(from, to + shift);
    if (!shift.isNull()) painter.drawLine(from - shift, to);
}

void drawLinks(QPainter& painter, const MapDocument& doc, const Settings& s, float scale, QSizeF size) {
    painter.setPen(QPen(toQColor(c(s.ColorBaseNeighbor)), s.NeighborWidth));
    for (int n = 1; n <= doc.ProvinceCount; ++n) {
        const auto& list = doc.Provinces[n].Neighbours;
        for (int k = 0; k < kNeighbourSlots; ++k) {
            const int m = list[k];
            if (m < 1 || m > doc.ProvinceCount || m == n || std::find(list, list + k, m) != list + k) continue;
            // Each pair once: from the lower number, or from the one side that lists it.
            const auto& back = doc.Provinces[m].Neighbours;
            if (m < n && std::find(back, back + kNeighbourSlots, n) != back + kNeighbourSlots) continue;
            drawLink(painter, shownPosition(doc, n, scale), shownPosition(doc, m, scale), size, doc.WrapAround);
        }
    }
}

// The fill of a start, no-start or special-start marker, by the view's precedence of marks; none
// for a province that is none of these.
std::optional<Color> startFill(const ProvinceDataType& p, const Settings& s) {
    std::optional<Color> fill;
    if (p.NoStart) fill = c(s.ColorNoStarts);
    if (p.Start) fill = c(s.ColorStarts);
    if (p.SpecStart && p.SpecStartNation >= 0) fill = z_GetNationColor(p.SpecStartNation);
    return fill;
}

} // namespace

QImage renderMapPicture(const MapDocument& doc, const Settings& s, const QImage& source, const RenderOptions& o) {
    const auto scale = static_cast<float>(std::clamp(o.scale, kMinRenderScale, kMaxRenderScale));
    QImage picture = redrawAtZoom(source, scale).convertToFormat(QImage::Format_RGB32);
    if (picture.isNull()) return picture;
    QPainter painter(&picture);
    const QSizeF size = picture.size();
    if (o.links) {
        painter.setRenderHint(QPainter::Antialiasing, true);
        drawLinks(painter, doc, s, scale, size);
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (o.starts)
        for (int n = 1; n <= doc.ProvinceCount; ++n)
            if (const auto fill = startFill(doc.Provinces[n], s)) {
                const QPointF at = shownPosition(doc, n, scale);
                drawMarker(painter, at.x(), at.y(), *fill, c(s.ColorBaseRing), s);
            }
    if (!o.numbers && !o.names && !o.starts) return picture;

    painter.setRenderHint(QPainter::TextAntialiasing, true);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::clamp(static_cast<int>(std::lround(12 * scale)), 8, 18));
    painter.setFont(font);
    const QColor names = nameColor(doc);
    const double below = s.RingRadius + font.pixelSize() * 0.75 + 1;
    for (int n = 1; n <= doc.ProvinceCount; ++n) {
        const ProvinceDataType& p = doc.Provinces[n];
        const QPointF at = shownPosition(doc, n, scale);
        QString label;
        if (o.numbers) label = QString::number(n);
        if (o.names && !p.LandName.empty())
            label += (label.isEmpty() ? QString() : QStringLiteral(" ")) + fromCp1252(p.LandName.view());
        if (!label.isEmpty()) drawLabel(painter, at + QPointF(0, below), label, names);
        if (o.starts && p.SpecStart && p.SpecStartNation >= 0 && p.SpecStartNation < kNationCount)
            drawLabel(painter, at - QPointF(0, below), fromCp1252(doc.Nations[p.SpecStartNation].NationName.view()),
                      Qt::white);
    }
    return picture;
}

QImage sharesOverlay(const RegionMap& regions, const std::vector<int>& nearestStart, const std::vector<Color>& startColors) {
    QImage overlay(regions.width, regions.height, QImage::Format_ARGB32);
    if (overlay.isNull()) return overlay;
    auto owner = [&](int p) {
        return p > 0 && static_cast<std::size_t>(p) < nearestStart.size() ? nearestStart[static_cast<std::size_t>(p)] : -1;
    };
    const QRgb tied = qRgba(128, 128, 128, 150);
    const int w = regions.width, h = regions.height;
    for (int y = 0; y < h; ++y) {
        auto* out = reinterpret_cast<QRgb*>(overlay.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int start = owner(regions.at(x, y));
            if (start < 0 || static_cast<std::size_t>(start) >= startColors.size()) {
                out[x] = start == -2 ? tied : 0; // -2: as near to two starts
                continue;
            }
            const Color col = startColors[static_cast<std::size_t>(start)];
            const bool edge = (x + 1 < w && owner(regions.at(x + 1, y)) != start) ||
                              (y + 1 < h && owner(regions.at(x, y + 1)) != start);
            const int r = static_cast<int>(col & 0xFF), g = static_cast<int>((col >> 8) & 0xFF), b = static_cast<int>((col >> 16) & 0xFF);
            out[x] = edge ? qRgba(r / 4, g / 4, b / 4, 255) : qRgba(r, g, b, 170);
        }
    }
    return overlay;
}

QImage shadedPicture(const MapDocument& doc, const Settings& settings, const QImage& picture, const QImage& overlay,
                     const std::vector<int>& startProvinces, const std::vector<Color>& startColors) {
    QImage shaded = picture.convertToFormat(QImage::Format_RGB32);
    QPainter painter(&shaded);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(shaded.rect(), overlay);
    for (std::size_t k = 0; k < startProvinces.size() && k < startColors.size(); ++k) {
        const QPointF at = shownPosition(doc, startProvinces[k], 1.0f);
        drawMarker(painter, at.x(), at.y(), startColors[k], 0, settings);
    }
    return shaded;
}

QByteArray sharesPagePng(const MapDocument& doc, const Settings& settings, const QImage& source, const RegionMap& regions,
                         const std::vector<int>& nearestStart, const std::vector<int>& startProvinces,
                         const std::vector<Color>& startColors) {
    constexpr int kPageWidth = 1600;
    const QImage overlay = sharesOverlay(regions, nearestStart, startColors);
    QImage shaded = shadedPicture(doc, settings, source, overlay, startProvinces, startColors);
    if (shaded.width() > kPageWidth) shaded = shaded.scaledToWidth(kPageWidth, Qt::SmoothTransformation);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    shaded.save(&buffer, "png");
    return png;
}

QString savePicture(const QImage& picture, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    QImageWriter writer(&file, "png");
    // A large map at zlib's fastest level: written in a third of the default's time; smaller ones,
    // which are shared the most, as small as the default makes them.
    constexpr qint64 kLargePicture = 4'000'000;
    if (qint64{picture.width()} * picture.height() > kLargePicture) writer.setCompression(1);
    if (!writer.write(picture)) return writer.errorString();
    if (!file.commit()) return file.errorString();
    return {};
}

} // namespace ts
