#pragma once

#include "neighbourpairs.h"

#include <QImage>
#include <QPoint>
#include <QSize>
#include <cstdint>
#include <vector>

namespace ts {

struct MapDocument;

// The neighbour guess for painted pictures. It starts from plain geometry (every pixel belongs to
// the nearest province pixel) and lets the picture change that only where its evidence is strong:
// when most of the picture's strong edges lie where regions grown along the picture meet, those
// edges are the painter's borders (and the coast), and the regions follow them; rivers are no
// borders. Texture, relief shading and tile edges, which lie inside provinces, bend no region;
// there only the picture's water counts: sea provinces keep to it, land provinces find it dear,
// and two land provinces facing each other across a lake or a strait are no neighbours. On tile
// art each tile goes whole to one province, and big provinces reach further from their pixels
// than small ones. Provinces whose regions share enough boundary become neighbours, longest first.
//
// It reads the unscaled picture, never the shown one, so markers, rings and drawn lines play no part.

inline constexpr int kRegionMaxPartners = 20;
// Regions meeting over less than this many image pixels only touch at a corner: where the picture
// draws the borders, and where geometry draws them.
inline constexpr int kRegionMinSharedBorder = 8;
inline constexpr int kRegionMinSharedBoundary = 12;

// One province per cell of a grid over the picture; large pictures are grown on a coarser grid.
struct RegionMap {
    int width = 0, height = 0; // cells
    int scale = 1;             // image pixels per cell, across and down
    std::vector<std::int16_t> province; // row by row; 0 where no province reached (no provinces at all)

    int at(int cellX, int cellY) const { return province[static_cast<std::size_t>(cellY) * width + cellX]; }
    bool isEmpty() const { return province.empty(); }
};

// What the map says a province is, when it says: sea provinces keep to open water, land provinces
// find water dear. Unknown ones are told by the picture at their pixel.
enum class ProvinceGround : std::uint8_t { Unknown, Land, Sea };

struct RegionGuess {
    RegionMap regions; // the partition of the picture into provinces
    std::vector<RegionPair> pairs; // the accepted pairs, longest boundary first
};

// Every pair of provinces whose regions meet along a cell edge, with the length they share; with
// wrap, across the edges of the grid too.
std::vector<RegionPair> touchingRegions(const RegionMap& regions, bool wrap);

// positions[n - 1] is the pixel (column, row from the top) of province n. With wrapAround the left
// edge meets the right one and the top edge the bottom one.
// grounds[n - 1] is what the map says province n is (missing ones are Unknown).
// With maxCells above 0 the grid has at most that many cells, for a coarser partition in less time.
RegionGuess guessRegions(const QImage& picture, const std::vector<QPoint>& positions, bool wrapAround,
                         const std::vector<ProvinceGround>& grounds = {}, std::int64_t maxCells = 0);

// Plain geometry with no picture: every pixel to its nearest province pixel, pairs sharing at least
// minSharedPixels of boundary. What the guess above is measured against.
RegionGuess guessNearestRegions(QSize picture, const std::vector<QPoint>& positions, bool wrapAround,
                                int minSharedPixels);

// The provinces of the document as located on its picture (ProvinceY counts the top row as 1).
std::vector<QPoint> provincePixels(const MapDocument& doc);

// The guess for the open map: its provinces, its picture, its WrapAround, and the sea provinces of
// its terrain where the terrain is set.
RegionGuess guessRegions(const MapDocument& doc, const QImage& picture);

// A translucent picture of the regions, one cell per pixel: each province in its own colour, the
// boundaries between regions darker.
QImage regionOverlay(const RegionMap& regions);

} // namespace ts
