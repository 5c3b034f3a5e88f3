#include "mapgeometry.h"

#include "mapdocument.h"

namespace ts {

float zoomScaleForIndex(int index) {
    if (index < 0 || index >= kZoomLevels) return kZoomScales[0];
    return kZoomScales[static_cast<std::size_t>(index)];
}

QPointF shownPosition(const MapDocument& doc, int province, float zoomScale) {
    const ProvinceDataType& p = doc.Provinces[province];
    return shownPosition(p.ProvinceX, p.ProvinceY, zoomScale);
}

QSize shownSize(float imageWidth, float imageHeight, float zoomScale) {
    return {roundEven(imageWidth * zoomScale), roundEven(imageHeight * zoomScale)};
}

QImage redrawAtZoom(const QImage& source, float zoomScale) {
    if (source.isNull()) return {};
    const QSize size =
        shownSize(static_cast<float>(source.width()), static_cast<float>(source.height()), zoomScale);
    if (size == source.size()) return source; // shared until something is drawn into it
    if (size.isEmpty()) return {};
    return source.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

bool hitsProvince(const ProvinceDataType& p, float shownX, float shownY, int selectionBlock, float zoomScale) {
    const auto block = static_cast<float>(selectionBlock);
    const auto x = static_cast<float>(p.ProvinceX);
    const auto y = static_cast<float>(p.ProvinceY);
    return (x - block) * zoomScale <= shownX && shownX <= (x + block) * zoomScale &&
           (y - block) * zoomScale <= shownY && shownY <= (y + block) * zoomScale;
}

int provinceAt(const MapDocument& doc, float shownX, float shownY, int selectionBlock, float zoomScale) {
    for (int n = 1; n <= doc.ProvinceCount && n < kProvinceSlots; ++n)
        if (hitsProvince(doc.Provinces[n], shownX, shownY, selectionBlock, zoomScale)) return n;
    return 0;
}

std::array<QPoint, kWrapCopies> wrapCopyPositions(QPoint mapTopLeft, QSize mapSize) {
    static constexpr int cells[kWrapCopies][2] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0},
                                                  {1, 0},   {-1, 1}, {0, 1},  {1, 1}};
    std::array<QPoint, kWrapCopies> positions;
    for (int k = 0; k < kWrapCopies; ++k) {
        positions[static_cast<std::size_t>(k)] = {mapTopLeft.x() + cells[k][0] * mapSize.width(),
                                                  mapTopLeft.y() + cells[k][1] * mapSize.height()};
    }
    return positions;
}

} // namespace ts
