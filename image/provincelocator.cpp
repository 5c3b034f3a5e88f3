#include "provincelocator.h"

#include "mapdocument.h"
#include "userinterface.h"

#include <QElapsedTimer>
#include <algorithm>

namespace ts {

namespace {

constexpr qint64 kRepaintIntervalMs = 50;
constexpr quint32 kRgbMask = 0x00FFFFFFu;
constexpr int kBlock = 32;

// The text colour shifts as provinces are found: count x 255 as a colour value.
void showCount(UserInterface& ui, const QString& caption, int count) {
    ui.busyMessage(QStringLiteral("Locating Provinces... ") + QString::number(count), caption,
                   static_cast<Color>(count) * 255u);
}

std::int16_t placeProvinces(const std::vector<QPoint>& found, MapDocument& doc, UserInterface& ui,
                            const QString& caption, int shownCount) {
    const int count = std::min(static_cast<int>(found.size()), kMaxProvince);
    for (int n = 1; n <= count; ++n) {
        doc.Provinces[n].ProvinceX = found[static_cast<std::size_t>(n - 1)].x();
        doc.Provinces[n].ProvinceY = found[static_cast<std::size_t>(n - 1)].y();
    }
    if (shownCount != count) showCount(ui, caption, count);
    if (found.size() > static_cast<std::size_t>(kMaxProvince)) reportTooManyProvinces(ui);
    doc.ProvinceCount = static_cast<std::int16_t>(count);
    return doc.ProvinceCount;
}

} // namespace

void reportTooManyProvinces(UserInterface& ui) {
    ui.messageBox(QStringLiteral("Too many Provinces!"),
                  QStringLiteral("Exceeded max province count! Check map image for excess white (R255 G255 B255) pixels."));
}

std::vector<QPoint> findProvincePixels(const QImage& image, const std::function<void(int found)>& progress) {
    // Both plain 32-bit formats keep RGB in the low three bytes with alpha on top, which the mask
    // below ignores; any other format is brought to one first.
    QImage converted;
    const QImage* picture = &image;
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32) {
        converted = image.convertToFormat(QImage::Format_RGB32);
        picture = &converted;
    }

    const int width = picture->width();
    const int height = picture->height();
    std::vector<QPoint> found;
    QElapsedTimer sinceProgress;
    sinceProgress.start();

    for (int fromBottom = 0; fromBottom < height; ++fromBottom) {
        const int row = height - 1 - fromBottom;
        const auto* pixels = reinterpret_cast<const quint32*>(picture->constScanLine(row));
        for (int column = 0; column < width; ++column) {
            // Province pixels are few: a block of pixels is passed over whole unless its brightest
            // pixel, alpha set aside, is white (the maximum of a block is quick to take).
            if (column % kBlock == 0 && column + kBlock <= width) {
                quint32 brightest = 0;
                for (int k = 0; k < kBlock; ++k) brightest = std::max(brightest, pixels[column + k] | ~kRgbMask);
                if (brightest != 0xFFFFFFFFu) {
                    column += kBlock - 1;
                    continue;
                }
            }
            if ((pixels[column] & kRgbMask) != kRgbMask) continue;
            found.emplace_back(column, height - fromBottom);
            if (found.size() > static_cast<std::size_t>(kMaxProvince)) return found;
        }
        if (progress && sinceProgress.elapsed() >= kRepaintIntervalMs) {
            progress(static_cast<int>(found.size()));
            sinceProgress.restart();
        }
    }
    return found;
}

std::int16_t z_LocateProvinces(const QImage& image, MapDocument& doc, UserInterface& ui,
                               const QString& caption) {
    int shownCount = 0; // the loader already said "Locating Provinces..."
    const std::vector<QPoint> found = findProvincePixels(image, [&](int count) {
        if (shownCount != count) {
            showCount(ui, caption, count);
            shownCount = count;
        }
        ui.processEvents();
    });
    return placeProvinces(found, doc, ui, caption, shownCount);
}

std::int16_t z_LocateProvinces(const std::vector<QPoint>& found, MapDocument& doc, UserInterface& ui,
                               const QString& caption) {
    return placeProvinces(found, doc, ui, caption, 0);
}

} // namespace ts
