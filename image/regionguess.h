#pragma once

#include "neighbourpairs.h"

#include <QImage>
#include <QPoint>
#include <cstdint>
#include <vector>

namespace ts {

struct MapDocument;

// The neighbour guess for painted pictures. Every pixel goes to one province, grown outwards from the
// province pixels; growing is cheap across plain ground and dear across anything the picture uses
// to separate provinces (a painted line of any colour, a coast, any strong edge), so regions stop
// at the borders the painter drew and meet half way where none was drawn. Provinces whose regions
// share at least a few pixels of boundary become neighbours, longest shared boundaries first.
//
// It reads the unscaled picture, never the shown one, so markers, rings and drawn lines play no part.

inline constexpr int kRegionMaxPartners = 20;
// Regions meeting over less than this many image pixels only touch at a corner.
inline constexpr int kRegionMinSharedBoundary = 8;

// One province per cell of a grid over the picture; large pictures are grown on a coarser grid.
struct RegionMap {
    int width = 0, height = 0; // cells
    int scale = 1;             // image pixels per cell, across and down
    std::vector<std::int16_t> province; // row by row; 0 where no province reached (no provinces at all)

    int at(int cellX, int cellY) const { return province[static_cast<std::size_t>(cellY) * width + cellX]; }
    bool isEmpty() const { return province.empty(); }
};

struct RegionGuess {
    RegionMap regions;
    std::vector<RegionPair> pairs; // the accepted pairs, longest boundary first
};

// positions[n - 1] is the pixel (column, row from the top) of province n. With wrapAround the left
// edge meets the right one and the top edge the bottom one.
RegionGuess guessRegions(const QImage& picture, const std::vector<QPoint>& positions, bool wrapAround);

// The provinces of the document as located on its picture (ProvinceY counts the top row as 1).
std::vector<QPoint> provincePixels(const MapDocument& doc);

// The guess for the open map: its provinces, its picture, its WrapAround.
RegionGuess guessRegions(const MapDocument& doc, const QImage& picture);

// A translucent picture of the regions, one cell per pixel: each province in its own colour, the
// boundaries between regions darker.
QImage regionOverlay(const RegionMap& regions);

} // namespace ts
