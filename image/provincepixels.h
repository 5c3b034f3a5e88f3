#pragma once

#include "renumber.h"

#include <QImage>
#include <QPoint>
#include <QString>
#include <memory>

namespace ts {

struct MapDocument;

// What a province tool does to the picture and the numbers, worked out before anything changes.
struct ProvincePixelEdit {
    QString refusal; // why the tool cannot do it ("" when it can)
    std::vector<PixelEdit> pixels;
    std::vector<ProvincePlace> before, after;
    Renumbering renumbering;
    int province = 0; // the province added or moved, numbered after; the one removed, numbered before

    bool ok() const { return refusal.isEmpty(); }
    // The undo step that makes the edit, changing the picture through setPixel.
    std::unique_ptr<RenumberChange> change(PixelSetter setPixel) const;
};

// The picture pixel under a point of the shown map; may lie outside the picture.
QPoint pictureSpotAt(float shownX, float shownY, float zoomScale);
// The pixel of a province's place (ProvinceY counts from 1 at the top row).
inline QPoint pixelOfPlace(const ProvincePlace& p) { return {p.x, p.y - 1}; }
inline ProvincePlace placeOfPixel(QPoint pixel) { return {pixel.x(), pixel.y() + 1}; }

// The colour of a province pixel's surroundings: the mean of its neighbours (of eight) that are
// not pure white; black when all are.
QRgb surroundingColour(const QImage& picture, QPoint pixel);

// A pure white pixel at spot: refused outside the picture, on a white pixel, beside one, and
// beyond 2599 provinces.
ProvincePixelEdit planInsert(const MapDocument& doc, const QImage& picture, QPoint spot);
// The province's white pixel painted in the colour of its surroundings.
ProvincePixelEdit planRemove(const MapDocument& doc, const QImage& picture, int province);
// The province's white pixel moved to spot, the province keeping its record under its new number.
ProvincePixelEdit planMove(const MapDocument& doc, const QImage& picture, int province, QPoint spot);

} // namespace ts
