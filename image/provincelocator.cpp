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

} // namespace

void reportTooManyProvinces(UserInterface& ui) {
    ui.messageBox(QStringLiteral("Too many Provinces!"),
                  QStringLiteral("Exceeded max province count! Check map image for excess white (R255 G255 B255) pixels."));
}

std::int16_t z_LocateProvinces(const QImage& image, MapDocument& doc, UserInterface& ui,
                               const QString& caption) {
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
    int count = 0;
    int shownCount = 0; // the loader already said "Locating Provinces..."
    QElapsedTimer sinceRepaint;
    sinceRepaint.start();

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
            if (count == kMaxProvince) {
                if (shownCount != count) showCount(ui, caption, count);
                reportTooManyProvinces(ui);
                doc.ProvinceCount = static_cast<std::int16_t>(kMaxProvince);
                return doc.ProvinceCount;
            }
            ++count;
            doc.Provinces[count].ProvinceX = column;
            doc.Provinces[count].ProvinceY = height - fromBottom;
        }
        if (sinceRepaint.elapsed() >= kRepaintIntervalMs) {
            if (shownCount != count) {
                showCount(ui, caption, count);
                shownCount = count;
            }
            ui.processEvents();
            sinceRepaint.restart();
        }
    }
    if (shownCount != count) showCount(ui, caption, count);
    doc.ProvinceCount = static_cast<std::int16_t>(count);
    return doc.ProvinceCount;
}

} // namespace ts
