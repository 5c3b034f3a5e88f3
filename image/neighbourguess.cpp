#include "neighbourguess.h"

#include "mapdocument.h"
#include "mapgeometry.h"
#include "userinterface.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cmath>
#include <utility>

namespace ts {

namespace {

constexpr qint64 kRepaintIntervalMs = 50;
constexpr quint32 kRgbMask = 0x00FFFFFFu;
constexpr quint32 kPureRed = 0x00FF0000u;
constexpr quint32 kPureBlue = 0x000000FFu;
constexpr quint32 kBlack = 0xFF000000u;
constexpr quint32 kYellow = 0xFFFFFF00u;

bool isDirect32(const QImage& image) {
    return image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32;
}

// Reads straight from the pixel rows; the slow per-pixel API would dominate the guess.
class PixelReader {
  public:
    explicit PixelReader(const QImage& image)
        : mImage(image), mBits(image.constBits()), mStride(image.bytesPerLine()), mWidth(image.width()),
          mHeight(image.height()), mDirect(isDirect32(image)) {}

    bool isBorder(int x, int y) const {
        if (x < 0 || y < 0 || x >= mWidth || y >= mHeight) return false;
        const quint32 rgb =
            (mDirect ? reinterpret_cast<const quint32*>(mBits + static_cast<qsizetype>(y) * mStride)[x]
                     : mImage.pixel(x, y)) &
            kRgbMask;
        return rgb == kPureRed || rgb == kPureBlue;
    }

  private:
    const QImage& mImage;
    const uchar* mBits;
    qsizetype mStride;
    int mWidth, mHeight;
    bool mDirect;
};

void setPoint(QImage& picture, int x, int y, quint32 argb) {
    if (x < 0 || y < 0 || x >= picture.width() || y >= picture.height()) return;
    reinterpret_cast<quint32*>(picture.scanLine(y))[x] = argb;
}

bool validity(const PixelReader& reader, float x1, float y1, float x2, float y2) {
    const bool steep = std::fabs(x2 - x1) < std::fabs(y2 - y1);
    if (steep) {
        std::swap(x1, y1);
        std::swap(x2, y2);
    }
    const float deltax = std::fabs(x2 - x1);
    const int deltay = roundEven(std::fabs(y2 - y1));
    int error = 0;
    float x = x1;
    float y = y1;
    const float xstep = x1 < x2 ? 1.0f : -1.0f;
    const float ystep = y1 < y2 ? 1.0f : -1.0f;
    int crossings = 0;
    int skip = 0;

    while (xstep > 0 ? x < x2 : x > x2) {
        x += xstep;
        error += deltay;
        if (2.0f * static_cast<float>(error) > deltax) {
            y += ystep;
            error = roundEven(static_cast<float>(error) - deltax);
        }
        if (skip > 0) {
            --skip;
        } else {
            const int column = roundEven(steep ? y : x);
            const int row = roundEven(steep ? x : y);
            if (reader.isBorder(column, row)) {
                ++crossings;
                skip = kBorderThickness - 1; // this step was the border's first pixel
            }
        }
        if (crossings > 1) return false;
    }
    return true;
}

// The first slot holding a value below 1 takes the partner; a full list takes nothing.
void addPartner(ProvinceDataType& province, int partner) {
    for (std::int16_t& slot : province.Neighbours) {
        if (slot < 1) {
            slot = static_cast<std::int16_t>(partner);
            return;
        }
    }
}

} // namespace

bool z_Neighbor_Validity(const QImage& picture, float x1, float y1, float x2, float y2) {
    return validity(PixelReader(picture), x1, y1, x2, y2);
}

void z_Plot_Line(QImage& picture, float x1, float y1, float x2, float y2) {
    if (!isDirect32(picture)) picture = picture.convertToFormat(QImage::Format_RGB32);
    const bool steep = std::fabs(x2 - x1) < std::fabs(y2 - y1);
    if (steep) {
        std::swap(x1, y1);
        std::swap(x2, y2);
    }
    const int deltax = roundEven(std::fabs(x2 - x1));
    const int deltay = roundEven(std::fabs(y2 - y1));
    int error = 0;
    int x = roundEven(x1);
    int y = roundEven(y1);
    const int xstep = x1 < x2 ? 1 : -1;
    const int ystep = y1 < y2 ? 1 : -1;
    // Rounding keeps the order of x1 and x2, so stepping by xstep always meets the rounded end.
    const int xend = roundEven(x2);

    auto plot = [&](quint32 argb) { steep ? setPoint(picture, y, x, argb) : setPoint(picture, x, y, argb); };
    plot(kBlack);
    while (x != xend) {
        x += xstep;
        error += deltay;
        if (2 * error > deltax) {
            y += ystep;
            error -= deltax;
        }
        plot(kYellow);
    }
}

int z_Guess_Neighbors(MapDocument& doc, QImage& picture, float zoomScale, UserInterface& ui,
                      const std::function<void()>& repaint) {
    const int count = std::min<int>(doc.ProvinceCount, kMaxProvince);
    for (int n = 1; n <= count; ++n) {
        for (std::int16_t& slot : doc.Provinces[n].Neighbours)
            slot = -1;
    }
    if (!isDirect32(picture)) picture = picture.convertToFormat(QImage::Format_RGB32);

    QElapsedTimer sinceRepaint;
    sinceRepaint.start();
    auto letWindowCatchUp = [&] {
        if (repaint) repaint();
        ui.processEvents();
        sinceRepaint.restart();
    };

    const auto z = zoomScale;
    const auto box = static_cast<float>(kGuessBoxHalfWidth);
    int pairs = 0;
    for (int i = 1; i <= count; ++i) {
        const auto xi = static_cast<float>(doc.Provinces[i].ProvinceX);
        const auto yi = static_cast<float>(doc.Provinces[i].ProvinceY);
        const float left = (xi - box) * z, right = (xi + box) * z;
        const float top = (yi - box) * z, bottom = (yi + box) * z;
        int found = 0;
        for (int j = i + 1; j <= count; ++j) {
            const float xj = static_cast<float>(doc.Provinces[j].ProvinceX) * z;
            const float yj = static_cast<float>(doc.Provinces[j].ProvinceY) * z;
            if (!(left < xj && xj < right && top < yj && yj < bottom)) continue;
            // The reader is made per walk: drawing a line may have detached the picture's pixels.
            if (!validity(PixelReader(picture), xi * z, yi * z, xj, yj)) continue;

            addPartner(doc.Provinces[i], j);
            addPartner(doc.Provinces[j], i);
            z_Plot_Line(picture, xi * z, yi * z, xj, yj);
            ++pairs;
            if (sinceRepaint.elapsed() >= kRepaintIntervalMs) letWindowCatchUp();

            if (++found >= kGuessMaxPartners) break;
        }
    }
    letWindowCatchUp();
    return pairs;
}

} // namespace ts
