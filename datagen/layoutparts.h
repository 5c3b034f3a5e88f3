#pragma once

// Pieces of the map generator shared by the sample map, the stress map and the painted map.

#include "datagen.h"
#include "rng.h"

#include <QColor>
#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace ts::datagen {

// Smooth value noise in [0, 1): random values on a coarse grid, blended with a smoothstep.
class ValueNoise {
  public:
    ValueNoise(Rng& rng, int width, int height, int cell) : mCell(cell) {
        mColumns = width / cell + 3;
        mRows = height / cell + 3;
        mValues.resize(static_cast<std::size_t>(mColumns * mRows));
        for (float& v : mValues)
            v = static_cast<float>(rng.unit());
    }
    float at(double x, double y) const {
        const double gx = std::clamp(x / mCell, 0.0, static_cast<double>(mColumns - 2));
        const double gy = std::clamp(y / mCell, 0.0, static_cast<double>(mRows - 2));
        const int ix = std::min(static_cast<int>(gx), mColumns - 2);
        const int iy = std::min(static_cast<int>(gy), mRows - 2);
        const double fx = smooth(gx - ix), fy = smooth(gy - iy);
        const double top = value(ix, iy) * (1 - fx) + value(ix + 1, iy) * fx;
        const double bottom = value(ix, iy + 1) * (1 - fx) + value(ix + 1, iy + 1) * fx;
        return static_cast<float>(top * (1 - fy) + bottom * fy);
    }

  private:
    static double smooth(double t) { return t * t * (3 - 2 * t); }
    double value(int x, int y) const { return mValues[static_cast<std::size_t>(y * mColumns + x)]; }
    int mCell;
    int mColumns = 0;
    int mRows = 0;
    std::vector<float> mValues;
};

// Seeds keep this far from the picture's edges, so their white pixels stay clear of them.
constexpr int kEdge = 30;

enum class Ground { Plains, Forest, Farm, Mountain, Waste, Swamp, Sea, Deep };

// Base colour of each ground, in the order of Ground.
constexpr int kGroundColours[][3] = {{150, 190, 100}, {50, 120, 60},  {185, 200, 95}, {140, 128, 118},
                                     {200, 180, 130}, {95, 112, 80},  {70, 120, 185}, {35, 65, 135}};

// Base colour of a province's ground, varied a little, kept well away from the reserved pure colours.
QRgb groundColour(Ground ground, Rng& rng);

// The warped Voronoi cells of a seed grid: label holds, row by row, the index of the seed each
// pixel belongs to.
struct Cells {
    struct Seed {
        int x, y;
    };
    int width = 0, height = 0;
    std::vector<Seed> seeds;
    std::vector<int> label;
};
Cells makeCells(Rng& root, Rng& seedRng, const MapOptions& options);

// A layout of the given size whose provinces sit at the pixels, numbered as the editor numbers them;
// number receives each pixel's province index (0-based).
MapLayout placeProvinces(int width, int height, const std::vector<Cells::Seed>& pixels, std::vector<int>& number);

// Sea along the edges and in a few inland basins, and a ground and terrain mask for every
// province of the layout (positions filled in); adjacent lists each province's neighbours.
std::vector<Ground> assignTerrain(MapLayout& layout, const std::vector<std::vector<int>>& adjacent, Rng& seaRng,
                                  Rng& terrainRng);

using PairKey = std::pair<int, int>;

inline PairKey key(int a, int b) {
    return {std::min(a, b), std::max(a, b)};
}

inline QRgb mix(QRgb a, QRgb b, double t) {
    auto m = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return qRgb(m(qRed(a), qRed(b)), m(qGreen(a), qGreen(b)), m(qBlue(a), qBlue(b)));
}

// Never pure red, blue or white: those mean borders and provinces to the game's own guess.
inline QRgb clampPainted(int r, int g, int b) {
    return qRgb(std::clamp(r, 12, 243), std::clamp(g, 12, 243), std::clamp(b, 12, 243));
}

// Cells merged into provinces of a few cells each. sizeOdds holds rising thresholds of a uniform
// draw: a province has one cell more for every threshold the draw reaches.
struct CellGroups {
    std::vector<int> group;                // cell -> province
    std::vector<std::vector<int>> members; // province -> its cells, the first one it grew from
    std::map<PairKey, int> cellBorder;     // pixel edges between two cells
};
CellGroups groupCells(const Cells& cells, Rng& mergeRng, const std::vector<double>& sizeOdds);

// True when every pixel within margin of (x, y) belongs to province id.
bool clearOfOthers(const std::vector<int>& label, int width, int height, int x, int y, int id, int margin);

// One province pixel per group, anywhere well inside it and rarely in its middle, as map makers
// place them: where the name fits, near a city, off to one side.
std::vector<Cells::Seed> placeWhitePixels(const Cells& cells, const std::vector<std::vector<int>>& members,
                                          const std::vector<int>& label, Rng& whiteRng, int margin);

} // namespace ts::datagen
