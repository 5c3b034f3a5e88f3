#pragma once

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QSize>
#include <array>
#include <cmath>

namespace ts {

struct MapDocument;
struct ProvinceDataType;

// The four zoom levels of the View > Zoom menu, by menu index (0 = 100% ... 3 = 25%).
inline constexpr int kZoomLevels = 4;
inline constexpr std::array<float, kZoomLevels> kZoomScales = {1.0f, 0.75f, 0.5f, 0.25f};
// The ZoomScale of a menu index; an index out of range gives 100%.
float zoomScaleForIndex(int index);

// Map geometry rounds half to even everywhere; mixing rules would move lines by a pixel.
inline int roundEven(double v) {
    return static_cast<int>(std::lrint(v));
}

// Image coordinates (as located) to shown coordinates (as drawn and clicked). Never rounded: a
// province at (401, 203) sits at (100.25, 50.75) at 25%.
inline QPointF shownPosition(int imageX, int imageY, float zoomScale) {
    return {static_cast<float>(imageX) * zoomScale, static_cast<float>(imageY) * zoomScale};
}
QPointF shownPosition(const MapDocument& doc, int province, float zoomScale);

// Size of the map picture at a zoom: ImageWidth and ImageHeight times the scale, rounded.
QSize shownSize(float imageWidth, float imageHeight, float zoomScale);

// The map picture redrawn from the unscaled source at a zoom; everything drawn over the old
// picture is gone. Scaled without smoothing so that the border colours stay pure red and pure blue
// at every zoom: a blended border would vanish from the neighbour guess.
QImage redrawAtZoom(const QImage& source, float zoomScale);

// Whether the shown point lies in the province's selection square.
bool hitsProvince(const ProvinceDataType& p, float shownX, float shownY, int selectionBlock, float zoomScale);

// The lowest-numbered province 1..ProvinceCount whose selection square contains the shown point,
// or 0 when none does. The square has half-size selectionBlock image pixels, scaled by the zoom,
// with all edges inside.
int provinceAt(const MapDocument& doc, float shownX, float shownY, int selectionBlock, float zoomScale);

// Where the eight wrap-around copies go in the map area, given the map picture's top-left corner
// and size there: index k is cell k of the 3 x 3 grid around the map read row by row without the
// centre (0 above-left, 1 above, 2 above-right, 3 left, 4 right, 5 below-left, 6 below, 7 below-right).
inline constexpr int kWrapCopies = 8;
std::array<QPoint, kWrapCopies> wrapCopyPositions(QPoint mapTopLeft, QSize mapSize);

} // namespace ts
