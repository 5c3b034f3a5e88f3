#include "markers.h"

#include <QPainter>
#include <array>
#include <cmath>
#include <map>
#include <tuple>

namespace ts {

namespace {
constexpr std::array<Color, 95> kNationColors = {
    0x9A8F52, 0x5B2186, 0x50030B, 0x256946, 0x275770, 0x3B51CA, // 0..5
    0x000000,                                                   // 6
    0x4B7B37, 0x00008A, 0xBF8D64, 0x239963, 0x1D7D55,           // 7..11
    0x4A4A4A, 0x0C6413, 0x3D102E, 0x24247E, 0x121218, 0x30505F, // 12..17
    0x04BCD3, 0x494951, 0x476A5B, 0x8B4E00, 0x575A02,           // 18..22
    0xFFFFFF, 0xFFFFFF, 0xFFFFFF,                               // 23..25
    0x6C7736, 0x73650E, 0x69026B, 0x276A33,                     // 26..29
    0x000000,                                                   // 30
    0x4F030A, 0x1068CC, 0x4D8B33, 0x3A51CA, 0x314353, 0x494949, // 31..36
    0x000083, 0xFEC79A, 0x188651, 0x0C56AD, 0x292994, 0x113E56, // 37..42
    0x4BB2B3, 0x63636A, 0x4D7364, 0xA36E18, 0x3C5000, 0x537234, // 43..48
    0x74660E, 0x2C2C2C, 0x0A780B, 0x6F1F2C, 0x005FBE, 0x487B55, // 49..54
    0x344BC7, 0x3333AC, 0x454342, 0x2D2D55, 0xBE8A60, 0x2C8E87, // 55..60
    0x013A7D, 0x2F2F88, 0x163C4F, 0x48A9AB, 0x4B6F61, 0xDC9C33, // 61..66
    0x5A690A, 0x142198, 0x137061, 0x305E57, 0x000079,           // 67..71
    // 72..94 stay black
};

Color c(std::int32_t v) { return static_cast<Color>(v); }

// Markers of one look whose centres lie at the same fraction of a pixel have the same pixels, as the
// discs are drawn without smoothing. Drawing every look once into a small stamp and copying it is
// several times faster than outlining thousands of discs, which a big map's open and each zoom do.
class MarkerStamps {
public:
    MarkerStamps(QPainter& painter, const Settings& s)
        : mPainter(painter), mSettings(s),
          mMargin(static_cast<int>(std::ceil(std::abs(s.RingRadius) + std::abs(s.RingWidth) + 2.0))) {}

    void draw(double x, double y, Color fill, Color ring) {
        const double left = std::floor(x), top = std::floor(y);
        const auto key = std::make_tuple(fill, ring, x - left, y - top);
        auto stamp = mStamps.find(key);
        if (stamp == mStamps.end()) {
            const int side = 2 * mMargin + 1;
            QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing, false);
            drawMarker(painter, mMargin + (x - left), mMargin + (y - top), fill, ring, mSettings);
            stamp = mStamps.emplace(key, std::move(image)).first;
        }
        mPainter.drawImage(QPointF(left - mMargin, top - mMargin), stamp->second);
    }

private:
    QPainter& mPainter;
    const Settings& mSettings;
    const int mMargin;
    std::map<std::tuple<Color, Color, double, double>, QImage> mStamps;
};

} // namespace

void drawMarker(QPainter& painter, double shownX, double shownY, Color fill, Color ring, const Settings& s) {
    painter.setPen(QPen(toQColor(ring), s.RingWidth));
    painter.setBrush(toQColor(fill));
    painter.drawEllipse(QPointF(shownX, shownY), s.RingRadius, s.RingRadius);
}

Color z_GetNationColor(int natNum) {
    if (natNum < 0 || natNum >= static_cast<int>(kNationColors.size())) return 0;
    return kNationColors[static_cast<std::size_t>(natNum)];
}

QRect markerArea(QPointF at, const Settings& s) {
    const double reach = s.RingRadius + s.RingWidth / 2.0 + 1.0;
    return QRectF(at.x() - reach, at.y() - reach, 2 * reach, 2 * reach).toAlignedRect();
}

QColor toQColor(Color v) {
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF));
}

void drawMarker(QImage& picture, double shownX, double shownY, Color fill, Color ring, const Settings& s) {
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    drawMarker(painter, shownX, shownY, fill, ring, s);
}

void z_ReDrawMarkers(MapDocument& doc, const Settings& s, QImage& picture, double zoom, int prvCnt) {
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    MarkerStamps stamps(painter, s);
    for (int n = 1; n <= prvCnt && n < kProvinceSlots; ++n) {
        ProvinceDataType& p = doc.Provinces[n];
        if (!p.MarkerFlag) {
            p.MarkerColor = c(s.ColorBaseCenter);
            p.MarkerColor2 = c(s.ColorBaseRing);
        }
        stamps.draw(p.ProvinceX * zoom, p.ProvinceY * zoom, p.MarkerColor, p.MarkerColor2);
    }
}

void z_MarkSpecial2(MapDocument& doc, const Settings& s, QImage& picture, double zoom, int prvCnt) {
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    MarkerStamps stamps(painter, s);
    for (int n = 1; n <= prvCnt && n < kProvinceSlots; ++n) {
        ProvinceDataType& p = doc.Provinces[n];
        Color ring = c(s.ColorBaseRing);
        Color fill = c(s.ColorBaseCenter);
        p.MarkerColor2 = c(s.ColorBaseRing);
        if (s.MarkVisited == 0) p.Visited = false;
        auto setFill = [&](Color f) {
            fill = f;
            p.MarkerFlag = true;
            p.MarkerColor = f;
        };
        if (p.Marked || p.Visited) {
            setFill(c(s.ColorVisited));
        } else {
            p.MarkerFlag = false;
            p.MarkerColor = c(s.ColorBaseCenter);
        }
        if (s.MarkNoStarts && p.NoStart) setFill(c(s.ColorNoStarts));
        if (s.MarkStarts && p.Start) setFill(c(s.ColorStarts));
        if (s.MarkVictoryPoints && p.VictoryPoints >= 1) {
            ring = c(s.ColorVictoryPoints);
            p.MarkerFlag = true;
            p.MarkerColor2 = ring;
        }
        if (s.MarkSpecialStarts && p.SpecStart && p.SpecStartNation >= 0) setFill(z_GetNationColor(p.SpecStartNation));
        if (s.MarkOwners && p.Owner >= 0) setFill(z_GetNationColor(p.Owner));
        if (s.MarkVisited && p.Visited) setFill(c(s.ColorVisited));
        if (p.Marked) setFill(c(s.ColorVisited));

        stamps.draw(p.ProvinceX * zoom, p.ProvinceY * zoom, fill, ring);
    }
}

void toggleProvinceMark(MapDocument& doc, const Settings& s, int province) {
    if (province < 1 || province >= kProvinceSlots) return;
    ProvinceDataType& p = doc.Provinces[province];
    if (!p.Marked) {
        p.Marked = true;
        p.MarkerFlag = true;
        p.MarkerColor = c(s.ColorVisited);
        p.MarkerColor2 = c(s.ColorBaseRing);
    } else {
        p.Marked = false;
        p.MarkerFlag = false;
        p.MarkerColor = 0;
        p.MarkerColor2 = 0;
    }
}

} // namespace ts
