#include "terrainguess.h"

#include "mapdocument.h"
#include "regionguess.h"
#include "tiling.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>

namespace ts {

namespace {

// Cells of the partition: enough to follow provinces of a few pixels, few enough to stay quick on
// the largest pictures.
constexpr double kMaxCells = 1.2e6;
// Pixels read for the features; the largest pictures are read at a stride.
constexpr double kMaxSamples = 2.5e6;
// Pixels this close to a region's edge are left out: painted borders, coastal glows and the
// blending of neighbouring ground belong to no province's own terrain.
constexpr int kEdgeMarginPixels = 5;
// A region with fewer interior cells than this is read whole.
constexpr int kMinInteriorCells = 12;
constexpr int kPaletteSize = 20;
// The voters the weights are tuned with, before their number is tuned too: few, as a ground of two
// or three examples among fifteen is outvoted by more.
constexpr std::size_t kNeighbours = 3;
// Examples used to weigh the kinds of evidence against each other; more only cost time.
constexpr std::size_t kMaxTuningExamples = 600;
// A few dozen examples weigh the evidence unsteadily: one example more or less can change the
// weights. Up to this many, the guess also hears weights tuned on kBags draws of kBagShare of the
// examples, each voting with all of them; beyond it the weights hold steady and the draws only cost
// time.
constexpr std::size_t kMaxBaggedExamples = 100;
constexpr int kBags = 8;
constexpr double kBagShare = 0.75;
// The straight rule per flag: how strongly it is held to small coefficients (against the mean size
// of the examples' products). It counts as much as the nearest examples and the bell rule: tried on
// the test pictures, a tuned weight did no better than an even one.
constexpr float kRidge = 0.1f;
// The bell rule: how strongly it is held to small pulls, against an example's pull on itself (one);
// it is fitted to this many examples at most, as its cost grows with the cube of their number.
constexpr double kBellRidge = 0.03;
constexpr std::size_t kMaxBellExamples = 200;
// The grounds a province may be painted with, one or two at a time (mountains, swamp, waste, forest,
// farm), and how much of a province one must cover for its flag.
constexpr std::uint32_t kGroundFlags = (1u << 4) | (1u << 5) | (1u << 6) | (1u << 7) | (1u << 8);
constexpr double kGroundCover = 0.35;

// Kinds of evidence, each scaled to one unit of spread over the map before they are weighed.
// Core: the colours and water right round the province's own pixel, which lies inside the province
// however its borders run; the rest read the province's whole region. Contrast: each pixel's
// brightness against that of the pixels a few steps away, which the light over that part of the map
// does not change. Shape: thin lines against spots, such as the furrows and hedges of fields against
// the gaps between tree crowns. Glyphs: on tile art, the kinds of tile the region holds. Thin: the
// same marks a pixel wide, the hedges, cracks and furrow edges that roads and inked borders are too
// broad to pass for. Strokes: the dark ones of those running up and down, and across: map makers draw
// some grounds with strokes of one direction (the upright reeds of a marsh, level hatching), which the
// marks, blind to direction, do not tell apart from cracks and hedges running every way.
enum Group { Colours, Texture, Tone, Water, Core, Contrast, Shape, Glyphs, Thin, Strokes, kGroups };

struct Partition {
    Tiling tiling; // of tile art; none elsewhere
    TerrainRegions regions;
    std::vector<std::uint16_t> edgeDistance; // cells to the nearest cell of another province
};

std::uint32_t nextRandom(std::uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

// Each cell to the province whose pixel is nearest: two raster sweeps carry the nearest pixel known
// to each cell on to its neighbours (twice round on a wrap-around map, whose edges meet).
TerrainRegions nearestPixelRegions(int imageWidth, int imageHeight, const std::vector<QPoint>& positions,
                                   bool wrap) {
    TerrainRegions r;
    r.scale = std::max(1, static_cast<int>(std::ceil(std::sqrt(double(imageWidth) * imageHeight / kMaxCells))));
    r.width = (imageWidth + r.scale - 1) / r.scale;
    r.height = (imageHeight + r.scale - 1) / r.scale;
    const int W = r.width, H = r.height;
    std::vector<int> nearest(static_cast<std::size_t>(W) * H, -1);
    std::vector<QPoint> seed(positions.size());
    for (std::size_t i = 0; i < positions.size(); ++i) {
        seed[i] = {std::clamp(positions[i].x() / r.scale, 0, W - 1), std::clamp(positions[i].y() / r.scale, 0, H - 1)};
        int& cell = nearest[static_cast<std::size_t>(seed[i].y()) * W + seed[i].x()];
        if (cell < 0) cell = static_cast<int>(i);
    }
    const auto distance = [&](int x, int y, int s) {
        int dx = std::abs(x - seed[static_cast<std::size_t>(s)].x());
        int dy = std::abs(y - seed[static_cast<std::size_t>(s)].y());
        if (wrap) dx = std::min(dx, W - dx), dy = std::min(dy, H - dy);
        return dx * dx + dy * dy;
    };
    const auto offer = [&](int x, int y, int fromX, int fromY) {
        if (wrap) fromX = (fromX + W) % W, fromY = (fromY + H) % H;
        else if (fromX < 0 || fromY < 0 || fromX >= W || fromY >= H) return;
        const int candidate = nearest[static_cast<std::size_t>(fromY) * W + fromX];
        if (candidate < 0) return;
        int& here = nearest[static_cast<std::size_t>(y) * W + x];
        if (here < 0 || distance(x, y, candidate) < distance(x, y, here)) here = candidate;
    };
    for (int round = 0; round < (wrap ? 2 : 1); ++round) {
        for (int y = 0; y < H; ++y) {
            for (int x = 0; x < W; ++x)
                for (const auto& [dx, dy] : {std::pair{-1, 0}, {-1, -1}, {0, -1}, {1, -1}}) offer(x, y, x + dx, y + dy);
            for (int x = W - 1; x >= 0; --x) offer(x, y, x + 1, y);
        }
        for (int y = H - 1; y >= 0; --y) {
            for (int x = W - 1; x >= 0; --x)
                for (const auto& [dx, dy] : {std::pair{1, 0}, {1, 1}, {0, 1}, {-1, 1}}) offer(x, y, x + dx, y + dy);
            for (int x = 0; x < W; ++x) offer(x, y, x - 1, y);
        }
    }
    r.province.resize(nearest.size());
    for (std::size_t i = 0; i < nearest.size(); ++i) r.province[i] = static_cast<std::int16_t>(nearest[i] + 1);
    return r;
}

// Chessboard distance of every cell to the nearest cell of another region.
std::vector<std::uint16_t> edgeDistances(const TerrainRegions& r) {
    const int W = r.width, H = r.height;
    constexpr std::uint16_t kFar = 60000;
    std::vector<std::uint16_t> d(r.province.size(), kFar);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const int p = r.at(x, y);
            if ((x > 0 && r.at(x - 1, y) != p) || (x + 1 < W && r.at(x + 1, y) != p) ||
                (y > 0 && r.at(x, y - 1) != p) || (y + 1 < H && r.at(x, y + 1) != p))
                d[static_cast<std::size_t>(y) * W + x] = 0;
        }
    const auto relax = [&](int x, int y, int fx, int fy) {
        if (fx < 0 || fy < 0 || fx >= W || fy >= H) return;
        std::uint16_t& here = d[static_cast<std::size_t>(y) * W + x];
        here = std::min<std::uint16_t>(here, d[static_cast<std::size_t>(fy) * W + fx] + 1);
    };
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            for (const auto& [dx, dy] : {std::pair{-1, 0}, {-1, -1}, {0, -1}, {1, -1}}) relax(x, y, x + dx, y + dy);
    for (int y = H - 1; y >= 0; --y)
        for (int x = W - 1; x >= 0; --x)
            for (const auto& [dx, dy] : {std::pair{1, 0}, {1, 1}, {0, 1}, {-1, 1}}) relax(x, y, x + dx, y + dy);
    return d;
}

int luminance(QRgb c) { return (qRed(c) * 77 + qGreen(c) * 150 + qBlue(c) * 29) >> 8; }

// Water as pictures paint it: blue above red and at least level with green, from deep navy to teal.
bool waterLike(QRgb c) {
    const int r = qRed(c), g = qGreen(c), b = qBlue(c);
    return b >= r + 30 && b + 12 >= g && b >= 60;
}

// Squared distance between two points of dims values each.
float squaredDistance(const float* a, const float* b, std::size_t dims) {
    float d = 0;
    for (std::size_t i = 0; i < dims; ++i) d += (a[i] - b[i]) * (a[i] - b[i]);
    return d;
}

std::size_t nearestCentre(const float* point, const std::vector<float>& centres, std::size_t dims) {
    std::size_t best = 0;
    float bestD = std::numeric_limits<float>::max();
    for (std::size_t c = 0; c * dims < centres.size(); ++c)
        if (const float d = squaredDistance(point, centres.data() + c * dims, dims); d < bestD) bestD = d, best = c;
    return best;
}

// k clusters of points (dims values each, one after another), as their centres laid out the same
// way. Spread starting points, each next one far from those chosen (the farthest of a few draws),
// so that a small cluster of far points is not merged into a large one.
std::vector<float> clusterCentres(const std::vector<float>& points, std::size_t dims, std::size_t k, int rounds) {
    const std::size_t n = points.size() / dims;
    std::vector<float> centres;
    if (n == 0) return std::vector<float>(dims, 0.0f);
    std::uint32_t state = 12345;
    const auto point = [&](std::size_t i) { return points.begin() + static_cast<std::ptrdiff_t>(i * dims); };
    const auto add = [&](std::size_t i) {
        centres.insert(centres.end(), point(i), point(i) + static_cast<std::ptrdiff_t>(dims));
    };
    add(nextRandom(state) % n);
    while (centres.size() < k * dims) {
        float bestFar = -1;
        std::size_t best = 0;
        for (int t = 0; t < 24; ++t) {
            const std::size_t s = nextRandom(state) % n;
            float nearest = std::numeric_limits<float>::max();
            for (std::size_t c = 0; c < centres.size(); c += dims)
                nearest = std::min(nearest, squaredDistance(&points[s * dims], &centres[c], dims));
            if (nearest > bestFar) bestFar = nearest, best = s;
        }
        add(best);
    }
    std::vector<double> sum;
    for (int round = 0; round < rounds; ++round) {
        sum.assign(k * (dims + 1), 0.0);
        for (std::size_t i = 0; i < n; ++i) {
            double* s = &sum[nearestCentre(&points[i * dims], centres, dims) * (dims + 1)];
            for (std::size_t d = 0; d < dims; ++d) s[d] += points[i * dims + d];
            s[dims] += 1;
        }
        for (std::size_t c = 0; c < k; ++c)
            if (const double* s = &sum[c * (dims + 1)]; s[dims] > 0)
                for (std::size_t d = 0; d < dims; ++d) centres[c * dims + d] = float(s[d] / s[dims]);
    }
    return centres;
}

// The picture's own colours: a few clusters of its pixels, so that a province is described by how
// much of each colour it holds, whatever the palette of the art. A table over 15-bit colours gives
// each pixel its cluster at once.
std::vector<std::uint8_t> paletteTable(const QImage& picture) {
    std::vector<float> samples;
    const int W = picture.width(), H = picture.height();
    const int step = std::max(1, static_cast<int>(std::sqrt(double(W) * H / 8000.0)));
    for (int y = step / 2; y < H; y += step) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = step / 2; x < W; x += step)
            samples.insert(samples.end(), {float(qRed(line[x])), float(qGreen(line[x])), float(qBlue(line[x]))});
    }
    const std::vector<float> centres = clusterCentres(samples, 3, kPaletteSize, 8);
    std::vector<std::uint8_t> table(32768);
    for (int i = 0; i < 32768; ++i) {
        const float c[3] = {float(((i >> 10) & 31) * 8 + 4), float(((i >> 5) & 31) * 8 + 4), float((i & 31) * 8 + 4)};
        table[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(nearestCentre(c, centres, 3));
    }
    return table;
}

// Tile art draws a province's ground as glyphs on most of its tiles, each tile tinted by the climate
// and the light where it lies, so that the colours of one glyph differ across the map as much as
// those of two. A tile is told by its pattern instead: the brightness of a few blocks of it against
// the tile's own mean, over the blocks' mean distance from it, which neither the tint and the light
// (they scale the brightness) nor the pale wash of the cold (it lifts and flattens it) change. A
// floor under that spread keeps the near-flat tiles, meadows and fields, from showing their noise
// magnified. Beside the pattern, how blue the tile is against its brightness: a pond and a meadow
// can share a pattern but never a colour. The tiles of the whole picture are sorted into kinds by
// that, and a province is described by how many of each kind its region holds. Tried on the test
// tile art: the blocks against the mean alone (the cold's wash then sorts a northern forest with
// the meadows), the colour channels each against their own mean, blueness against the tile's
// colourfulness rather than its brightness, the hardness of steps across and down and the shares of
// darker and brighter pixels added to the pattern, finer or coarser blocks and 12 to 24 kinds did no
// better.
constexpr std::size_t kTileKinds = 16;
constexpr int kTileBlocks = 4; // across and down
constexpr std::size_t kTileBlockCount = kTileBlocks * kTileBlocks;
constexpr std::size_t kTilePatternSize = kTileBlockCount + 1;
constexpr double kTileSpreadFloor = 4; // of 255
// The tile grid is sought over this many pixels at most: it shows on every row and column.
constexpr double kMaxTilingSamples = 1e6;
// Tile art has several tiles to a province; a grid with fewer is the provinces' own repeating pattern.
constexpr double kMinTilesPerProvince = 4;
// Its partition is grown on at most this many cells: each tile goes whole to one province, so cells
// a few pixels across draw it as well as single pixels, and a large map's partition costs a quarter.
constexpr std::int64_t kMaxTileRegionCells = 1'000'000;
// Kinds are learnt from this many tiles at most; the others are only sorted.
constexpr std::size_t kMaxClusteredTiles = 8000;
// A kind's cut is tried on this many examples at most: every kind is tried for every flag, each
// example left out in turn, and beyond a few hundred the cuts hold steady.
constexpr std::size_t kMaxKindCutExamples = 150;
// Kinds of tile go together when their shares over the provinces correlate at least this much.
constexpr double kKindsTogether = 0.4;

// The brightness of every pixel, worked out once: the marks read each pixel's some twenty times.
std::vector<std::uint8_t> brightnessOf(const QImage& picture) {
    const int W = picture.width(), H = picture.height();
    std::vector<std::uint8_t> out(static_cast<std::size_t>(W) * H);
    for (int y = 0; y < H; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        std::uint8_t* to = out.data() + static_cast<std::size_t>(y) * W;
        for (int x = 0; x < W; ++x) to[x] = static_cast<std::uint8_t>(luminance(line[x]));
    }
    return out;
}

int blueness(QRgb c) { return qBlue(c) - (qRed(c) + qGreen(c)) / 2; }

void addTilePattern(const QImage& picture, const std::vector<std::uint8_t>& brightness, const QRect& tile,
                    std::vector<float>& out) {
    std::array<double, kTileBlockCount> block{}, count{};
    double sum = 0, n = 0, blue = 0;
    for (int y = tile.top(); y <= tile.bottom(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        const std::uint8_t* lum = brightness.data() + static_cast<std::size_t>(y) * picture.width();
        const int by = (y - tile.top()) * kTileBlocks / tile.height();
        for (int x = tile.left(); x <= tile.right(); ++x) {
            if ((line[x] & 0xffffffu) == 0xffffffu) continue; // a province's own pixel
            const int l = lum[x];
            const auto b = static_cast<std::size_t>(by * kTileBlocks + (x - tile.left()) * kTileBlocks / tile.width());
            block[b] += l, count[b] += 1, sum += l, n += 1;
            blue += blueness(line[x]);
        }
    }
    const double mean = sum / std::max(1.0, n);
    double spread = 0;
    for (std::size_t b = 0; b < block.size(); ++b) {
        block[b] = count[b] > 0 ? block[b] / count[b] : mean;
        spread += std::abs(block[b] - mean) / double(block.size());
    }
    for (const double b : block) out.push_back(float((b - mean) / (spread + kTileSpreadFloor)));
    out.push_back(float(blue / std::max(1.0, n) / (mean + 1)));
}

// The tiles of each kind whose middle lies in each province's region, by province; none when the
// picture is not tile art. A province whose region holds no tile's middle gets the tile under its pixel.
std::vector<std::vector<double>> tileKindsOf(const QImage& picture, const std::vector<std::uint8_t>& brightness,
                                             const Tiling& tiling, const TerrainRegions& regions,
                                             const std::vector<QPoint>& positions) {
    const int W = picture.width(), H = picture.height();
    if (!tiling.isTiled()) return {};
    const int tw = tiling.across.size, th = tiling.down.size;
    const int columns = (W - tiling.across.offset) / tw, rows = (H - tiling.down.offset) / th;
    if (columns <= 0 || rows <= 0) return {};
    std::vector<float> patterns;
    patterns.reserve(static_cast<std::size_t>(columns) * rows * kTilePatternSize);
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < columns; ++col)
            addTilePattern(picture, brightness, {tiling.across.offset + col * tw, tiling.down.offset + row * th, tw, th}, patterns);
    const std::size_t tiles = patterns.size() / kTilePatternSize;
    std::vector<float> learnt;
    const std::size_t step = (tiles + kMaxClusteredTiles - 1) / kMaxClusteredTiles;
    for (std::size_t t = 0; t < tiles; t += step)
        learnt.insert(learnt.end(), patterns.begin() + static_cast<std::ptrdiff_t>(t * kTilePatternSize),
                      patterns.begin() + static_cast<std::ptrdiff_t>((t + 1) * kTilePatternSize));
    const std::vector<float> centres = clusterCentres(learnt, kTilePatternSize, kTileKinds, 10);
    std::vector<std::size_t> kindOf(tiles);
    std::vector<std::vector<double>> kinds(positions.size() + 1);
    for (std::size_t t = 0; t < tiles; ++t) {
        kindOf[t] = nearestCentre(&patterns[t * kTilePatternSize], centres, kTilePatternSize);
        const int col = static_cast<int>(t) % columns, row = static_cast<int>(t) / columns;
        const auto p = static_cast<std::size_t>(regions.atPixel(tiling.across.offset + col * tw + tw / 2,
                                                                tiling.down.offset + row * th + th / 2));
        if (p == 0 || p >= kinds.size()) continue;
        kinds[p].resize(kTileKinds, 0.0);
        kinds[p][kindOf[t]] += 1;
    }
    for (std::size_t p = 1; p < kinds.size(); ++p) {
        if (!kinds[p].empty()) continue;
        kinds[p].assign(kTileKinds, 0.0);
        const int col = std::clamp((positions[p - 1].x() - tiling.across.offset) / tw, 0, columns - 1);
        const int row = std::clamp((positions[p - 1].y() - tiling.down.offset) / th, 0, rows - 1);
        kinds[p][kindOf[static_cast<std::size_t>(row) * columns + col]] = 1;
    }
    return kinds;
}

int key15(QRgb c) { return ((qRed(c) >> 3) << 10) | ((qGreen(c) >> 3) << 5) | (qBlue(c) >> 3); }

// Steps of brightness between pixels one and four apart, in bins from smooth to hard edges.
constexpr std::array<int, 4> kEdgeBins = {6, 16, 40, 90};
constexpr int kEdgeBinCount = static_cast<int>(kEdgeBins.size()) + 1;
int edgeBin(int step) {
    int bin = 0;
    while (bin < static_cast<int>(kEdgeBins.size()) && step >= kEdgeBins[static_cast<std::size_t>(bin)]) ++bin;
    return bin;
}

struct Sums {
    double count = 0, lum = 0, lum2 = 0, chroma = 0, r = 0, g = 0, b = 0, water = 0;
    double riverLine = 0; // pixels of thin blue lines: see riverLinePixel
    std::array<double, kPaletteSize> palette{};
    std::array<double, kEdgeBinCount> fine{}, coarse{};
    std::array<double, 6> contrast{};
    std::array<double, 4> shape{}, thin{}; // dark lines, bright lines, dark spots, bright spots
    std::array<double, 2> strokes{};       // thin dark lines running up and down, and across
};

// Brightness against that around, in bins from much darker to much brighter: the gaps between tree
// crowns, reeds and cracks against their ground stay as dark as they are under any light.
int contrastBin(int l, int around) {
    static constexpr std::array<double, 5> kCuts = {0.6, 0.8, 0.94, 1.06, 1.25};
    const double ratio = (l + 1.0) / (around + 1.0);
    int bin = 0;
    while (bin < static_cast<int>(kCuts.size()) && ratio >= kCuts[static_cast<std::size_t>(bin)]) ++bin;
    return bin;
}

// The rows a pixel's texture is read from, in colour and in brightness: its own, those one and two
// above and below, and those four away.
struct Rows {
    const QRgb *line, *farBelow, *farAbove;
    const std::uint8_t *l, *lBelow, *lAbove, *lBelow2, *lAbove2, *lFarBelow, *lFarAbove;
    int width;
    Rows(const QImage& picture, const std::vector<std::uint8_t>& brightness, int y) : width(picture.width()) {
        const auto row = [&](int dy) { return std::clamp(y + dy, 0, picture.height() - 1); };
        const auto at = [&](int dy) { return reinterpret_cast<const QRgb*>(picture.constScanLine(row(dy))); };
        const auto lum = [&](int dy) { return brightness.data() + static_cast<std::size_t>(row(dy)) * width; };
        line = at(0), farBelow = at(4), farAbove = at(-4);
        l = lum(0), lBelow = lum(1), lAbove = lum(-1), lBelow2 = lum(2), lAbove2 = lum(-2), lFarBelow = lum(4),
        lFarAbove = lum(-4);
    }
};

// A river drawn as a line covers too little of a province to move its colours, and its edges blend
// into the ground so that few of its pixels look like water; but across it, a pixel is much bluer
// than the ground a few steps away on both sides. Wide water, a lake or the sea, is not.
bool riverLinePixel(const Rows& rows, int x) {
    // Clearly blue, which purple or teal inks are not, and far bluer than the ground beside it.
    constexpr int kBlue = 40, kAbove = 55;
    const int here = blueness(rows.line[x]);
    if (here <= kBlue) return false;
    const int last = rows.width - 1;
    const int across = std::max(blueness(rows.line[std::max(x - 4, 0)]), blueness(rows.line[std::min(x + 4, last)]));
    const int along = std::max(blueness(rows.farAbove[x]), blueness(rows.farBelow[x]));
    return here - std::min(across, along) > kAbove;
}

// The brightness of the pixels a step away from x, in pairs: across a row, down a column, and along
// the two diagonals.
using Pairs = std::array<std::array<int, 2>, 4>;
Pairs pairsAround(const Rows& rows, int x, int step) {
    const int left = std::max(x - step, 0), right = std::min(x + step, rows.width - 1);
    const std::uint8_t* up = step == 1 ? rows.lAbove : rows.lAbove2;
    const std::uint8_t* down = step == 1 ? rows.lBelow : rows.lBelow2;
    return {{{rows.l[left], rows.l[right]}, {up[x], down[x]}, {up[left], down[right]}, {up[right], down[left]}}};
}

struct Marks {
    bool darkLine = false, brightLine = false, darkSpot = false, brightSpot = false;
    bool darkUpright = false, darkLevel = false; // a dark line running up and down, or across
};

// A pixel against the pairs round it: a line when it is darker (or brighter) than both pixels across
// one direction and like both along the one square to it; a spot when it is darker (or brighter) than
// all eight. Ratios, so that the light over that part of the map does not matter. Given the pairs
// further out, a line must also end within the step: the pixels further across it no darker (or
// brighter) than those nearer.
Marks marksOf(const Pairs& pairs, int l, const Pairs* further = nullptr) {
    constexpr double kCut = 0.9;
    static constexpr int kSquare[4] = {1, 0, 3, 2};
    const double here = l + 1.0;
    Marks m;
    int darker = 0, brighter = 0;
    for (int i = 0; i < 4; ++i) {
        const int lo = std::min(pairs[i][0], pairs[i][1]) + 1, hi = std::max(pairs[i][0], pairs[i][1]) + 1;
        const bool dark = here < kCut * lo, bright = here * kCut > hi;
        if (!dark && !bright) continue; // most pixels: nothing more to tell
        darker += dark, brighter += bright;
        const auto& along = pairs[kSquare[i]];
        if (std::abs(along[0] - l) + std::abs(along[1] - l) >= (1 - kCut) * 2 * here) continue;
        const auto& out = further ? (*further)[i] : pairs[i];
        const bool darkLine = dark && (!further || std::min(out[0], out[1]) + 1 > kCut * lo);
        m.darkLine |= darkLine;
        m.darkUpright |= darkLine && i == 0, m.darkLevel |= darkLine && i == 1;
        m.brightLine |= bright && (!further || std::max(out[0], out[1]) + 1 < hi / kCut);
    }
    m.darkSpot = darker == 4, m.brightSpot = brighter == 4;
    return m;
}

void addMarks(std::array<double, 4>& counts, const Marks& m) {
    counts[0] += m.darkLine, counts[1] += m.brightLine, counts[2] += m.darkSpot, counts[3] += m.brightSpot;
}

// Marks two steps wide, and marks a step wide.
void addShape(Sums& s, const Rows& rows, int x, int l) {
    const Pairs two = pairsAround(rows, x, 2);
    addMarks(s.shape, marksOf(two, l));
    const Marks thin = marksOf(pairsAround(rows, x, 1), l, &two);
    addMarks(s.thin, thin);
    s.strokes[0] += thin.darkUpright, s.strokes[1] += thin.darkLevel;
}

void addPixel(Sums& s, const Rows& rows, int x, const std::vector<std::uint8_t>& table) {
    const QRgb c = rows.line[x];
    if ((c & 0xffffffu) == 0xffffffu) return; // the province pixels themselves
    const int l = rows.l[x];
    s.count += 1;
    s.lum += l;
    s.lum2 += double(l) * l;
    s.r += qRed(c), s.g += qGreen(c), s.b += qBlue(c);
    s.chroma += std::max({qRed(c), qGreen(c), qBlue(c)}) - std::min({qRed(c), qGreen(c), qBlue(c)});
    s.water += waterLike(c) ? 1 : 0;
    s.riverLine += riverLinePixel(rows, x) ? 1 : 0;
    s.palette[table[static_cast<std::size_t>(key15(c))]] += 1;
    const int last = rows.width - 1;
    const int right = rows.l[std::min(x + 1, last)];
    const int farRight = rows.l[std::min(x + 4, last)];
    const int farBelow = rows.lFarBelow[x];
    s.fine[static_cast<std::size_t>(edgeBin(std::abs(right - l) + std::abs(rows.lBelow[x] - l)))] += 1;
    s.coarse[static_cast<std::size_t>(edgeBin(std::abs(farRight - l) + std::abs(farBelow - l)))] += 1;
    s.contrast[static_cast<std::size_t>(contrastBin(l, (farRight + farBelow) / 2))] += 1;
    addShape(s, rows, x, l);
}

struct Evidence {
    Sums region, core;
    std::vector<double> tiles; // tiles of each kind in the region, on tile art only
};

// The disc round each province's pixel, reaching a little less than half way to the nearest other one.
void readCores(const QImage& picture, const std::vector<std::uint8_t>& brightness, const std::vector<QPoint>& positions,
               const std::vector<std::uint8_t>& table, std::vector<Evidence>& evidence) {
    const int W = picture.width(), H = picture.height();
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const QPoint at = positions[i];
        long nearest = std::numeric_limits<long>::max();
        for (std::size_t j = 0; j < positions.size(); ++j) {
            if (j == i) continue;
            const long dx = positions[j].x() - at.x(), dy = positions[j].y() - at.y();
            nearest = std::min(nearest, dx * dx + dy * dy);
        }
        const int radius = std::clamp(static_cast<int>(0.45 * std::sqrt(double(nearest))), 3, 48);
        const int step = std::max(1, radius / 8);
        Sums& core = evidence[i + 1].core;
        for (int y = std::max(0, at.y() - radius); y <= std::min(H - 1, at.y() + radius); y += step) {
            const Rows rows(picture, brightness, y);
            for (int x = std::max(0, at.x() - radius); x <= std::min(W - 1, at.x() + radius); x += step)
                if ((x - at.x()) * (x - at.x()) + (y - at.y()) * (y - at.y()) <= radius * radius)
                    addPixel(core, rows, x, table);
        }
    }
}

// Reads each province's part of the picture: the interior of its region, or all of it when the region
// is too small to have one, or its core when it got no cell at all.
std::vector<Evidence> readRegions(const QImage& picture, const Partition& part, const std::vector<QPoint>& positions,
                              const std::vector<std::uint8_t>& table) {
    const TerrainRegions& r = part.regions;
    const std::size_t count = positions.size();
    const int marginCells = (kEdgeMarginPixels + r.scale - 1) / r.scale;
    std::vector<int> interior(count + 1, 0);
    for (std::size_t i = 0; i < r.province.size(); ++i)
        if (part.edgeDistance[i] >= marginCells) ++interior[static_cast<std::size_t>(r.province[i])];
    std::vector<std::uint16_t> margin(count + 1);
    for (std::size_t p = 1; p <= count; ++p)
        margin[p] = interior[p] >= kMinInteriorCells ? static_cast<std::uint16_t>(marginCells) : 0;

    const int W = picture.width(), H = picture.height();
    const int stride = std::max(1, static_cast<int>(std::sqrt(double(W) * H / kMaxSamples)));
    const std::vector<std::uint8_t> brightness = brightnessOf(picture);
    std::vector<Evidence> evidence(count + 1);
    for (int y = 0; y < H; y += stride) {
        const Rows rows(picture, brightness, y);
        const std::size_t row = static_cast<std::size_t>(y / r.scale) * r.width;
        for (int x = 0; x < W; x += stride) {
            const std::size_t cell = row + static_cast<std::size_t>(x / r.scale);
            const auto p = static_cast<std::size_t>(r.province[cell]);
            if (p == 0 || part.edgeDistance[cell] < margin[p]) continue;
            addPixel(evidence[p].region, rows, x, table);
        }
    }
    readCores(picture, brightness, positions, table, evidence);
    std::vector<std::vector<double>> tiles = tileKindsOf(picture, brightness, part.tiling, r, positions);
    for (std::size_t p = 1; p <= count; ++p) {
        if (evidence[p].region.count == 0) evidence[p].region = evidence[p].core;
        if (p < tiles.size()) evidence[p].tiles = std::move(tiles[p]);
    }
    return evidence;
}

using Features = std::array<std::vector<float>, kGroups>;

// The features of each province, by group; each group scaled so that its spread over the map is one.
std::vector<Features> featuresOf(const std::vector<Evidence>& evidence) {
    std::vector<Features> f(evidence.size());
    for (std::size_t p = 1; p < evidence.size(); ++p) {
        const Sums& s = evidence[p].region;
        const double n = std::max(1.0, s.count);
        auto& colours = f[p][Colours];
        for (const double v : s.palette) colours.push_back(static_cast<float>(std::sqrt(v / n)));
        auto& texture = f[p][Texture];
        for (const double v : s.fine) texture.push_back(static_cast<float>(std::sqrt(v / n)));
        for (const double v : s.coarse) texture.push_back(static_cast<float>(std::sqrt(v / n)));
        const double mean = s.lum / n;
        f[p][Tone] = {float(mean / 255), float(std::sqrt(std::max(0.0, s.lum2 / n - mean * mean)) / 128),
                      float(s.chroma / n / 255), float(s.r / n / 255), float(s.g / n / 255), float(s.b / n / 255)};
        f[p][Water] = {float(s.water / n)};
        for (const double v : s.shape) f[p][Shape].push_back(static_cast<float>(std::sqrt(v / n)));
        for (const double v : s.thin) f[p][Thin].push_back(static_cast<float>(std::sqrt(v / n)));
        for (const double v : s.strokes) f[p][Strokes].push_back(static_cast<float>(std::sqrt(v / n)));
        auto& contrast = f[p][Contrast];
        for (const double v : s.contrast) contrast.push_back(static_cast<float>(std::sqrt(v / n)));
        const Sums& c = evidence[p].core;
        const double cn = std::max(1.0, c.count);
        auto& core = f[p][Core];
        for (const double v : c.palette) core.push_back(static_cast<float>(std::sqrt(v / cn)));
        core.push_back(static_cast<float>(c.water / cn));
        double tiles = 0;
        for (const double v : evidence[p].tiles) tiles += v;
        for (const double v : evidence[p].tiles)
            f[p][Glyphs].push_back(static_cast<float>(std::sqrt(v / std::max(1.0, tiles))));
    }
    for (int g = 0; g < kGroups; ++g) {
        const std::size_t dims = f.size() > 1 ? f[1][static_cast<std::size_t>(g)].size() : 0;
        double spread = 0;
        for (std::size_t d = 0; d < dims; ++d) {
            double sum = 0, sum2 = 0;
            for (std::size_t p = 1; p < f.size(); ++p) {
                const double v = f[p][static_cast<std::size_t>(g)][d];
                sum += v, sum2 += v * v;
            }
            const double m = sum / double(f.size() - 1);
            spread += std::max(0.0, sum2 / double(f.size() - 1) - m * m);
        }
        const float scale = spread > 1e-12 ? static_cast<float>(1 / std::sqrt(spread)) : 0.0f;
        for (std::size_t p = 1; p < f.size(); ++p)
            for (float& v : f[p][static_cast<std::size_t>(g)]) v *= scale;
    }
    return f;
}

using Weights = std::array<float, kGroups>;

struct Vote {
    std::uint32_t mask = 0;
    float confidence = 0;
};

// For each flag, how much of the evidence speaks for it (0..1).
using FlagShares = std::array<float, 32>;

// The k nearest of the examples offered one by one, nearest first. k is a handful: a sorted insert
// beats gathering every example to sort.
class Nearest {
public:
    static constexpr std::size_t kMost = 8;
    explicit Nearest(std::size_t k) : mK(std::clamp<std::size_t>(k, 1, kMost)) {}
    void offer(float d, std::uint32_t mask) {
        if (mCount == mK && d >= mBest[mK - 1].first) return;
        std::size_t i = mCount < mK ? mCount++ : mK - 1;
        for (; i > 0 && mBest[i - 1].first > d; --i) mBest[i] = mBest[i - 1];
        mBest[i] = {d, mask};
    }
    bool empty() const { return mCount == 0; }
    float nearest() const { return mBest[0].first; }
    const std::pair<float, std::uint32_t>* begin() const { return mBest.data(); }
    const std::pair<float, std::uint32_t>* end() const { return mBest.data() + mCount; }

private:
    std::size_t mK, mCount = 0;
    std::array<std::pair<float, std::uint32_t>, kMost> mBest{};
};

// The k nearest examples vote on each decided flag, nearer ones much louder (by the square of their
// nearness).
FlagShares nearestShares(const Nearest& nearest, std::uint32_t decided) {
    FlagShares yes{};
    float total = 0;
    for (const auto& [d, mask] : nearest) {
        const float w = 1.0f / (d + 1e-6f);
        total += w;
        for (int bit = 0; bit < 32; ++bit)
            if ((decided >> bit & 1u) && (mask >> bit & 1u)) yes[static_cast<std::size_t>(bit)] += w;
    }
    if (total > 0)
        for (float& v : yes) v /= total;
    return yes;
}

// Every flag more than half spoken for is set. The confidence is the narrowest majority, times the
// given factor (lower when even the nearest example lies far off).
Vote decide(const FlagShares& shares, std::uint32_t decided, float remoteness) {
    Vote v;
    float margin = 1;
    for (int bit = 0; bit < 32; ++bit) {
        if (!(decided >> bit & 1u)) continue;
        const float share = shares[static_cast<std::size_t>(bit)];
        if (share > 0.5f) v.mask |= 1u << bit;
        margin = std::min(margin, std::abs(2 * share - 1));
    }
    v.confidence = margin * remoteness;
    return v;
}

int flagsRight(std::uint32_t guess, std::uint32_t truth, std::uint32_t decided) {
    return std::popcount(decided) - std::popcount((guess ^ truth) & decided);
}

// The squared distance between two rows of whole lanes: one loop the compiler turns into vector
// steps, eight sums side by side (a single sum would have to be added up in order). Most of the
// guess's time on a large map goes here, so it is also built for the wider vector steps of newer
// processors, taken where the processor has them.
constexpr std::size_t kLanes = 8;
#if defined(__x86_64__) && defined(__GNUC__)
__attribute__((target_clones("avx2", "default")))
#endif
float laneDistance(const float* x, const float* y, std::size_t dims) {
    float lane[kLanes] = {};
    for (std::size_t i = 0; i < dims; i += kLanes)
        for (std::size_t j = 0; j < kLanes; ++j) lane[j] += (x[i + j] - y[i + j]) * (x[i + j] - y[i + j]);
    float d = 0;
    for (const float v : lane) d += v;
    return d;
}

// Every province's features under one weighting, laid out flat and padded to whole lanes.
class Space {
public:
    Space(const std::vector<Features>& f, const Weights& w) {
        if (f.size() < 2) return;
        for (int g = 0; g < kGroups; ++g)
            if (w[static_cast<std::size_t>(g)] > 0) mDims += f[1][static_cast<std::size_t>(g)].size();
        mDims = (mDims + kLanes - 1) / kLanes * kLanes;
        mValues.assign(f.size() * mDims, 0.0f);
        for (std::size_t p = 1; p < f.size(); ++p) {
            float* out = mValues.data() + p * mDims;
            for (int g = 0; g < kGroups; ++g) {
                const float wg = w[static_cast<std::size_t>(g)];
                if (wg <= 0) continue;
                const float scale = std::sqrt(wg);
                for (const float v : f[p][static_cast<std::size_t>(g)]) *out++ = v * scale;
            }
        }
    }
    const float* row(int a) const { return mValues.data() + static_cast<std::size_t>(a) * mDims; }
    std::size_t dims() const { return mDims; }
    float distance(int a, int b) const {
        return laneDistance(mValues.data() + static_cast<std::size_t>(a) * mDims,
                            mValues.data() + static_cast<std::size_t>(b) * mDims, mDims);
    }

private:
    std::size_t mDims = 0;
    std::vector<float> mValues;
};

bool isSea(std::int32_t mask) { return (static_cast<std::uint32_t>(mask) & kSeaFlag) != 0; }

// Of more than count examples, count drawn at random (the same ones for the same seed).
void keepDrawn(std::vector<int>& examples, std::size_t count, std::uint32_t seed) {
    if (examples.size() <= count) return;
    for (std::size_t i = 0; i < count; ++i) std::swap(examples[i], examples[i + nextRandom(seed) % (examples.size() - i)]);
    examples.resize(count);
}

// The inverse of the n x n matrix a, by Gauss-Jordan: the rules' matrices are positive definite, so
// no pivot is ever near zero.
std::vector<double> inverted(std::vector<double> a, std::size_t n) {
    std::vector<double> out(n * n, 0.0);
    for (std::size_t r = 0; r < n; ++r) out[r * n + r] = 1;
    for (std::size_t c = 0; c < n; ++c) {
        const double pivot = a[c * n + c];
        for (std::size_t j = 0; j < n; ++j) a[c * n + j] /= pivot, out[c * n + j] /= pivot;
        for (std::size_t r = 0; r < n; ++r) {
            const double factor = a[r * n + c];
            if (r == c || factor == 0) continue;
            for (std::size_t j = 0; j < n; ++j) {
                a[r * n + j] -= factor * a[c * n + j];
                out[r * n + j] -= factor * out[c * n + j];
            }
        }
    }
    return out;
}

// A province of two grounds looks half like each, and the measures, shares of its pixels, mix as
// its grounds do: so the rules learn how much of a province each ground covers (a ground of an
// example of two covering half), and a ground covering more than kGroundCover of a province is
// spoken for. The other flags are yes or no.
double coverTarget(std::uint32_t mask, int bit) {
    if (kGroundFlags >> bit & 1u) return (mask >> bit & 1u) ? 1.0 / std::popcount(mask & kGroundFlags) : 0.0;
    return (mask >> bit & 1u) ? 1.0 : -1.0;
}

float coverShare(double value, int bit) {
    const double s = (kGroundFlags >> bit & 1u) ? value / (2 * kGroundCover) : (value + 1) / 2;
    return static_cast<float>(std::clamp(s, 0.0, 1.0));
}

// A rule's shares for each of its examples, fitted without that example, so that the examples are
// guessed from each other as the other provinces are guessed from them.
class HeldOut {
public:
    void add(int p, const FlagShares& shares) { mShares.emplace_back(p, shares); }
    void done() {
        std::sort(mShares.begin(), mShares.end(), [](const auto& l, const auto& r) { return l.first < r.first; });
    }
    const FlagShares* find(int p) const {
        const auto found = std::lower_bound(mShares.begin(), mShares.end(), p,
                                            [](const auto& entry, int q) { return entry.first < q; });
        return found != mShares.end() && found->first == p ? &found->second : nullptr;
    }

private:
    std::vector<std::pair<int, FlagShares>> mShares; // by province
};

// A straight rule for each flag over all the evidence, fitted to the examples by ridge regression:
// it learns which measures go with a flag wherever on the map the examples lie, where the nearest
// examples can only speak for ground that looks alike as a whole.
class LinearRule {
public:
    LinearRule(std::shared_ptr<const Space> space, const std::vector<int>& sample, const std::vector<std::int32_t>& known,
               std::uint32_t flags, float ridge)
        : mSpace(std::move(space)), mDims(mSpace->dims() + 1), mFlags(flags) {
        const std::size_t n = mDims, m = sample.size();
        // The measures' products over the examples (the last measure a constant), the ridge on the
        // diagonal in proportion to the examples' mean size; then its inverse.
        std::vector<double> a(n * n, 0.0);
        std::vector<std::array<double, 32>> xy(n, std::array<double, 32>{});
        double size = 0;
        std::vector<double> x(n);
        for (std::size_t i = 0; i < m; ++i) {
            measures(sample[i], x);
            const auto mask = static_cast<std::uint32_t>(known[static_cast<std::size_t>(sample[i]) - 1]);
            for (std::size_t r = 0; r < n; ++r) {
                size += x[r] * x[r];
                for (std::size_t c = 0; c < n; ++c) a[r * n + c] += x[r] * x[c];
                for (int bit = 0; bit < 32; ++bit)
                    if (flags >> bit & 1u)
                        xy[r][static_cast<std::size_t>(bit)] += x[r] * coverTarget(mask, bit);
            }
        }
        const double lambda = ridge * std::max(1e-9, size / double(std::max<std::size_t>(1, m)));
        for (std::size_t r = 0; r < n; ++r) a[r * n + r] += lambda;
        const std::vector<double> inverse = inverted(std::move(a), n);
        mCoefficients.assign(n, std::array<double, 32>{});
        for (std::size_t r = 0; r < n; ++r)
            for (std::size_t c = 0; c < n; ++c)
                for (std::size_t bit = 0; bit < 32; ++bit) mCoefficients[r][bit] += inverse[r * n + c] * xy[c][bit];
        // An example left out of the fit: its residual grows by its leverage.
        for (std::size_t i = 0; i < m; ++i) {
            measures(sample[i], x);
            double leverage = 0;
            for (std::size_t r = 0; r < n; ++r)
                for (std::size_t c = 0; c < n; ++c) leverage += x[r] * inverse[r * n + c] * x[c];
            const auto mask = static_cast<std::uint32_t>(known[static_cast<std::size_t>(sample[i]) - 1]);
            FlagShares held{};
            for (int bit = 0; bit < 32; ++bit) {
                if (!(flags >> bit & 1u)) continue;
                const double want = coverTarget(mask, bit);
                const double residual = (want - value(x, bit)) / std::max(1e-6, 1 - leverage);
                held[static_cast<std::size_t>(bit)] = coverShare(want - residual, bit);
            }
            mHeldOut.add(sample[i], held);
        }
        mHeldOut.done();
    }
    // The shares for province p, fitted without it when it is an example.
    FlagShares at(int p) const {
        if (const FlagShares* held = mHeldOut.find(p)) return *held;
        std::vector<double> x(mDims);
        measures(p, x);
        FlagShares out{};
        for (int bit = 0; bit < 32; ++bit)
            if (mFlags >> bit & 1u) out[static_cast<std::size_t>(bit)] = coverShare(value(x, bit), bit);
        return out;
    }

private:
    void measures(int p, std::vector<double>& x) const {
        const float* row = mSpace->row(p);
        for (std::size_t i = 0; i + 1 < mDims; ++i) x[i] = row[i];
        x[mDims - 1] = 1;
    }
    double value(const std::vector<double>& x, int bit) const {
        double sum = 0;
        for (std::size_t r = 0; r < mDims; ++r) sum += x[r] * mCoefficients[r][static_cast<std::size_t>(bit)];
        return sum;
    }
    std::shared_ptr<const Space> mSpace;
    std::size_t mDims;
    std::uint32_t mFlags;
    std::vector<std::array<double, 32>> mCoefficients; // by measure, by flag
    HeldOut mHeldOut;
};

// A bell rule for each flag, fitted to the examples by kernel ridge regression: each example pulls a
// province towards its cover by a bell of their distance, as wide as the usual distance from an
// example to its nearest. A province between examples of two grounds hears both, where the nearest
// examples give it to the closer one, and it learns what the straight rule cannot: a look that goes
// with a flag in one part of the evidence and not in another.
class BellRule {
public:
    BellRule(std::shared_ptr<const Space> space, std::vector<int> sample, const std::vector<std::int32_t>& known,
             std::uint32_t flags)
        : mSpace(std::move(space)), mFlags(flags) {
        keepDrawn(sample, kMaxBellExamples, 4711);
        const std::size_t m = sample.size();
        if (m < 2) return;
        std::vector<double> d(m * m, 0.0), nearest(m, std::numeric_limits<double>::max());
        for (std::size_t i = 0; i < m; ++i)
            for (std::size_t j = i + 1; j < m; ++j) {
                d[i * m + j] = d[j * m + i] = mSpace->distance(sample[i], sample[j]);
                nearest[i] = std::min(nearest[i], d[i * m + j]), nearest[j] = std::min(nearest[j], d[i * m + j]);
            }
        std::nth_element(nearest.begin(), nearest.begin() + static_cast<std::ptrdiff_t>(m / 2), nearest.end());
        mFalloff = 1 / (2 * std::max(1e-9, nearest[m / 2]));
        for (std::size_t ij = 0; ij < d.size(); ++ij) d[ij] = std::exp(-mFalloff * d[ij]) + (ij % (m + 1) == 0 ? kBellRidge : 0);
        const std::vector<double> inverse = inverted(std::move(d), m);
        // Pulls towards each example's cover from the examples' mean.
        std::vector<std::array<double, 32>> want(m, std::array<double, 32>{});
        for (std::size_t i = 0; i < m; ++i)
            for (int bit = 0; bit < 32; ++bit)
                if (flags >> bit & 1u) {
                    const auto mask = static_cast<std::uint32_t>(known[static_cast<std::size_t>(sample[i]) - 1]);
                    want[i][static_cast<std::size_t>(bit)] = coverTarget(mask, bit);
                    mMean[static_cast<std::size_t>(bit)] += want[i][static_cast<std::size_t>(bit)] / double(m);
                }
        mPull.assign(m, std::array<double, 32>{});
        for (std::size_t i = 0; i < m; ++i)
            for (std::size_t j = 0; j < m; ++j)
                for (std::size_t bit = 0; bit < 32; ++bit) mPull[i][bit] += inverse[i * m + j] * (want[j][bit] - mMean[bit]);
        // An example left out of the fit misses by its pull over its own share of the inverse.
        for (std::size_t i = 0; i < m; ++i) {
            FlagShares held{};
            for (int bit = 0; bit < 32; ++bit)
                if (flags >> bit & 1u) {
                    const auto b = static_cast<std::size_t>(bit);
                    held[b] = coverShare(want[i][b] - mPull[i][b] / inverse[i * m + i], bit);
                }
            mHeldOut.add(sample[i], held);
        }
        mHeldOut.done();
        mSample = std::move(sample);
    }
    // The shares for province p, fitted without it when it is an example.
    FlagShares at(int p) const {
        if (const FlagShares* held = mHeldOut.find(p)) return *held;
        std::array<double, 32> value = mMean;
        for (std::size_t i = 0; i < mSample.size(); ++i) {
            const double pull = std::exp(-mFalloff * mSpace->distance(p, mSample[i]));
            for (std::size_t bit = 0; bit < 32; ++bit) value[bit] += pull * mPull[i][bit];
        }
        FlagShares out{};
        for (int bit = 0; bit < 32; ++bit)
            if (mFlags >> bit & 1u) out[static_cast<std::size_t>(bit)] = coverShare(value[static_cast<std::size_t>(bit)], bit);
        return out;
    }

private:
    std::shared_ptr<const Space> mSpace;
    std::uint32_t mFlags;
    std::vector<int> mSample;
    double mFalloff = 0;
    std::array<double, 32> mMean{};
    std::vector<std::array<double, 32>> mPull; // by example, by flag
    HeldOut mHeldOut;
};

struct Tuned {
    Weights weights{}; // silent until tuned: a side with no examples is never measured
    std::size_t neighbours = kNeighbours;
    long right = 0;      // flags guessed right when the examples are guessed from each other
    std::vector<int> sample; // the examples tried
    std::shared_ptr<const Space> space;     // the distances the weights give
    std::shared_ptr<const LinearRule> rule; // heard beside the nearest examples
    std::shared_ptr<const BellRule> bell;   // likewise
};

// How loudly each kind of evidence speaks for the given flags, and how many examples vote: tried on
// the examples themselves, each guessed from the others (with sameSea, from those on the same side of
// the coast only), a kind at a time louder or quieter while that guesses more of those flags right.
// A rare kind of ground, a few sea provinces among many of land, is outvoted by a crowd: fewer voters
// then guess better. The rules are fitted to ruleOn, or to the examples tried when it is null.
Tuned tuneWeights(const std::vector<Features>& f, const std::vector<int>& examples,
                    const std::vector<std::int32_t>& known, std::uint32_t flags, bool sameSea,
                    const std::vector<int>* ruleOn = nullptr, std::size_t voters = 0) {
    const std::size_t k0 = voters ? voters : kNeighbours;
    Weights w;
    // A kind the picture gives no evidence of (the tiles of a picture that is not tile art) stays
    // silent, so that the others are tuned as they would be without it.
    for (int g = 0; g < kGroups; ++g)
        w[static_cast<std::size_t>(g)] = f.size() > 1 && !f[1][static_cast<std::size_t>(g)].empty() ? 1.0f : 0.0f;
    std::vector<int> sample = examples;
    keepDrawn(sample, kMaxTuningExamples, 777);
    const std::size_t m = sample.size();
    const auto maskOf = [&](std::size_t i) { return known[static_cast<std::size_t>(sample[i]) - 1]; };
    // The distances of each kind between every two examples, and their sum under the weights so far:
    // a trial that changes one kind's weight only adds that kind's distances again.
    std::array<std::vector<float>, kGroups> d;
    for (int g = 0; g < kGroups; ++g) {
        const auto gi = static_cast<std::size_t>(g);
        d[gi].assign(m * m, 0.0f);
        for (std::size_t i = 0; i < m; ++i)
            for (std::size_t j = i + 1; j < m; ++j) {
                const std::vector<float>& a = f[static_cast<std::size_t>(sample[i])][gi];
                const float v = squaredDistance(a.data(), f[static_cast<std::size_t>(sample[j])][gi].data(), a.size());
                d[gi][i * m + j] = d[gi][j * m + i] = v;
            }
    }
    std::vector<float> sum(m * m, 0.0f);
    const auto weigh = [&](const Weights& weights) {
        std::fill(sum.begin(), sum.end(), 0.0f);
        for (std::size_t g = 0; g < d.size(); ++g)
            for (std::size_t ij = 0; ij < sum.size(); ++ij) sum[ij] += weights[g] * d[g][ij];
    };
    // Flags told right with the sum so far, kind g weighed `change` more, k voters.
    const auto score = [&](std::size_t g, float change, std::size_t k) {
        long right = 0;
        for (std::size_t i = 0; i < m; ++i) {
            Nearest nearest(k);
            const float* base = sum.data() + i * m;
            const float* extra = d[g].data() + i * m;
            for (std::size_t j = 0; j < m; ++j) {
                if (j == i || (sameSea && isSea(maskOf(j)) != isSea(maskOf(i)))) continue;
                nearest.offer(base[j] + change * extra[j], static_cast<std::uint32_t>(maskOf(j)));
            }
            const Vote v = decide(nearestShares(nearest, flags), flags, 1);
            right += flagsRight(v.mask, static_cast<std::uint32_t>(maskOf(i)), flags);
        }
        return right;
    };
    weigh(w);
    long best = score(0, 0, k0);
    for (int round = 0; round < 2; ++round)
        for (int g = 0; g < kGroups; ++g)
            for (const float factor : {0.0f, 0.35f, 3.0f}) {
                const auto gi = static_cast<std::size_t>(g);
                if (w[gi] == 0) break; // a silent kind stays silent
                Weights trial = w;
                trial[gi] = w[gi] * factor;
                if (std::all_of(trial.begin(), trial.end(), [](float v) { return v == 0; })) continue;
                if (const long s = score(gi, trial[gi] - w[gi], k0); s > best) best = s, w = trial, weigh(w);
            }
    Tuned tuned{w, k0, 0, sample, std::make_shared<const Space>(f, w), nullptr, nullptr};
    if (voters == 0)
        for (const std::size_t k : {std::size_t{1}, std::size_t{3}, std::size_t{7}})
            if (const long s = score(0, 0, k); s > best) best = s, tuned.neighbours = k;
    const std::vector<int>& fitted = ruleOn ? *ruleOn : sample;
    tuned.rule = std::make_shared<LinearRule>(tuned.space, fitted, known, flags, kRidge);
    tuned.bell = std::make_shared<BellRule>(tuned.space, fitted, known, flags);
    tuned.right = best;
    return tuned;
}

// The weighing tuned on all the examples, then, for a few dozen examples, those tuned on draws of
// them (each with its rules fitted to all the examples).
std::vector<Tuned> modelsFor(const std::vector<Features>& f, const std::vector<int>& examples,
                             const std::vector<std::int32_t>& known, std::uint32_t flags, bool sameSea) {
    std::vector<Tuned> models{tuneWeights(f, examples, known, flags, sameSea)};
    if (examples.size() > kMaxBaggedExamples) return models;
    std::uint32_t state = 4242;
    const std::size_t drawn =
        std::max<std::size_t>(kTerrainMinExamples, static_cast<std::size_t>(std::lround(kBagShare * double(examples.size()))));
    for (int b = 0; b < kBags; ++b) {
        std::vector<int> draw = examples;
        for (std::size_t i = 0; i + 1 < draw.size(); ++i) std::swap(draw[i], draw[i + nextRandom(state) % (draw.size() - i)]);
        draw.resize(std::min(drawn, draw.size()));
        models.push_back(tuneWeights(f, draw, known, flags, sameSea, &examples));
    }
    return models;
}

double coreWater(const Evidence& e) { return e.core.water / std::max(1.0, e.core.count); }
// The picture alone calls a province sea when more than this share round its pixel is water.
constexpr double kSeaWater = 0.5;

// The measure (0..1) above which a province has a flag, as the examples show it: the cut that sorts
// most of them right, in the middle of its gap. Without examples of both, half.
double learntCut(std::vector<std::pair<double, bool>> shares) {
    std::sort(shares.begin(), shares.end());
    long withAbove = std::count_if(shares.begin(), shares.end(), [](const auto& s) { return s.second; });
    long withoutBelow = 0, best = -1;
    double cut = 0.5;
    for (std::size_t i = 0; i <= shares.size(); ++i) {
        // The cut below shares[i]: everything before it without the flag, everything from it with it.
        const double low = i > 0 ? shares[i - 1].first : 0.0, high = i < shares.size() ? shares[i].first : 1.0;
        const double here = i == 0 ? std::min(0.5, high) : i == shares.size() ? std::max(0.5, low) : (low + high) / 2;
        if (withoutBelow + withAbove > best || (withoutBelow + withAbove == best && std::abs(here - 0.5) < std::abs(cut - 0.5)))
            best = withoutBelow + withAbove, cut = here;
        if (i < shares.size()) (shares[i].second ? withAbove : withoutBelow) += shares[i].second ? -1 : 1;
    }
    return cut;
}

// How many of the examples a learnt cut of measure(p) sorts right as to has(p) when each is left out
// of learning it.
template <class Measure, class Has>
long learntCutRight(const std::vector<int>& sample, const Measure& measure, const Has& has) {
    long right = 0;
    std::vector<std::pair<double, bool>> shares;
    for (std::size_t i = 0; i < sample.size(); ++i) {
        shares.clear();
        for (std::size_t j = 0; j < sample.size(); ++j)
            if (j != i) shares.emplace_back(measure(sample[j]), has(sample[j]));
        right += (measure(sample[i]) > learntCut(shares)) == has(sample[i]) ? 1 : 0;
    }
    return right;
}

// The cut of a measure learnt from side, when it sorts the tried examples (each left out in turn)
// right more often than best, which it then raises; none when it does not.
template <class Measure, class Has>
std::optional<double> cutBeating(long& best, const std::vector<int>& tried, const std::vector<int>& side,
                                 const Measure& measure, const Has& has) {
    const long right = learntCutRight(tried, measure, has);
    if (right <= best) return std::nullopt;
    best = right;
    std::vector<std::pair<double, bool>> shares;
    for (const int e : side) shares.emplace_back(measure(e), has(e));
    return learntCut(shares);
}

// How much thin blue line a province's region holds against its size: about the length of river
// across it against its breadth, squeezed into 0..1.
double riverLines(const Evidence& e) {
    const double v = e.region.riverLine / std::sqrt(std::max(1.0, e.region.count));
    return v / (1 + v);
}

// How far the nearest example usually lies: a province much farther from all of them is doubtful.
float typicalNearest(const Space& space, const std::vector<int>& examples) {
    std::vector<float> closest;
    for (std::size_t i = 0; i < examples.size(); i += std::max<std::size_t>(1, examples.size() / 200)) {
        float best = std::numeric_limits<float>::max();
        for (const int e : examples)
            if (e != examples[i])
                best = std::min(best, space.distance(examples[i], e));
        closest.push_back(std::sqrt(best));
    }
    std::nth_element(closest.begin(), closest.begin() + static_cast<std::ptrdiff_t>(closest.size() / 2), closest.end());
    return closest[closest.size() / 2];
}

// Tile art gives each tile whole to one province, and its provinces run from a few tiles to a dozen
// across, so the nearest pixel hands many tiles to the wrong one: there the region guess's partition,
// which follows the tiles and lets big provinces reach further, reads each province truer. Elsewhere
// the nearest pixel's reads as well and costs far less; so does it where the grid found is as coarse
// as the provinces themselves, a pattern that repeats from province to province rather than tiles.
Partition partitionOf(const QImage& picture, const std::vector<QPoint>& positions, bool wrap) {
    Partition part;
    const int W = picture.width(), H = picture.height();
    part.tiling = tilingOf(picture, std::max(1, static_cast<int>(std::sqrt(double(W) * H / kMaxTilingSamples))));
    const TileRun &across = part.tiling.across, &down = part.tiling.down;
    const double tiles = part.tiling.isTiled() ? double(W) / across.size * H / down.size : 0;
    if (tiles >= kMinTilesPerProvince * double(positions.size())) {
        static_cast<RegionMap&>(part.regions) = guessRegions(picture, positions, wrap, {}, kMaxTileRegionCells).regions;
    } else {
        part.regions = nearestPixelRegions(W, H, positions, wrap);
    }
    part.edgeDistance = edgeDistances(part.regions);
    return part;
}

// For each province, how many of the regions bordering its own look like land (little water round
// their pixel); regions meet across the edges of a wrap-around map.
std::vector<int> landAround(const TerrainRegions& r, const std::vector<Evidence>& evidence, bool wrap) {
    std::vector<int> land(evidence.size(), 0);
    for (const RegionPair& pair : touchingRegions(r, wrap)) {
        const auto a = static_cast<std::size_t>(pair.a), b = static_cast<std::size_t>(pair.b);
        land[a] += coreWater(evidence[b]) > kSeaWater ? 0 : 1;
        land[b] += coreWater(evidence[a]) > kSeaWater ? 0 : 1;
    }
    return land;
}

// A flag told by the share of some kinds of tile in a province: above `at` it is set.
struct KindCut {
    std::uint32_t kinds = 0; // none
    double at = 0;
};

double tileShare(const Evidence& e, std::uint32_t kinds) {
    double all = 0, these = 0;
    for (std::size_t k = 0; k < e.tiles.size(); ++k) {
        all += e.tiles[k];
        if (kinds >> k & 1u) these += e.tiles[k];
    }
    return these / std::max(1.0, all);
}

// For each kind of tile, the kinds whose shares rise and fall with its own over all the provinces:
// one glyph is drawn in a few variants, which the sorting may part, and a ground covering more of a
// province has more of each. Learnt from every province, not from the few examples.
std::vector<std::uint32_t> kindsTogether(const std::vector<Evidence>& evidence) {
    const std::size_t n = evidence.size() - 1;
    std::vector<std::vector<double>> share(kTileKinds, std::vector<double>(n));
    for (std::size_t k = 0; k < kTileKinds; ++k) {
        double mean = 0;
        for (std::size_t p = 1; p <= n; ++p) mean += (share[k][p - 1] = tileShare(evidence[p], 1u << k)) / double(n);
        for (double& v : share[k]) v -= mean;
    }
    std::vector<std::uint32_t> together(kTileKinds);
    for (std::size_t a = 0; a < kTileKinds; ++a) {
        together[a] = 1u << a;
        for (std::size_t b = 0; b < kTileKinds; ++b) {
            double ab = 0, aa = 0, bb = 0;
            for (std::size_t i = 0; i < n; ++i) {
                const double x = share[a][i], y = share[b][i];
                ab += x * y, aa += x * x, bb += y * y;
            }
            if (b != a && ab >= kKindsTogether * std::sqrt(aa * bb) && ab > 0) together[a] |= 1u << b;
        }
    }
    return together;
}

// For each flag, the kind of tile (with those that go together with it) whose share, cut where the
// land examples say, sorts the tried ones (each left out in turn) better than the vote did; none
// where no kind does. Tried on the test tile art: kinds added one at a time to the share while that
// sorted more right did no better, as one glyph's kinds are seldom all among a few dozen examples.
std::array<KindCut, 32> learnKindCuts(const std::vector<Evidence>& evidence, const std::vector<int>& land,
                                      const std::vector<int>& tried, const std::vector<std::uint32_t>& votes,
                                      const std::vector<std::int32_t>& known, std::uint32_t flags) {
    std::array<KindCut, 32> cuts{};
    const std::vector<std::uint32_t> together = kindsTogether(evidence);
    for (int bit = 0; bit < 32; ++bit) {
        const std::uint32_t flag = 1u << bit;
        if (!(flags & flag)) continue;
        const auto has = [&](int p) { return (known[static_cast<std::size_t>(p) - 1] & flag) != 0; };
        long best = 0;
        for (std::size_t i = 0; i < tried.size(); ++i) best += ((votes[i] & flag) != 0) == has(tried[i]);
        for (const std::uint32_t kinds : together) {
            const auto share = [&](int p) { return tileShare(evidence[static_cast<std::size_t>(p)], kinds); };
            if (const auto at = cutBeating(best, tried, land, share, has))
                cuts[static_cast<std::size_t>(bit)] = {kinds, *at};
        }
    }
    return cuts;
}

void guessSeaAndLand(TerrainGuess& guess, const std::vector<Evidence>& evidence, const std::vector<int>& targets) {
    guess.seaLandOnly = true;
    guess.decided = kSeaFlag;
    for (const int p : targets) {
        // The province's own pixel lies in it; its region may reach over the coast.
        const Sums& core = evidence[static_cast<std::size_t>(p)].core;
        const double share = core.water / std::max(1.0, core.count);
        guess.proposals.push_back({p, share > kSeaWater ? kSeaFlag : 0u, static_cast<float>(std::abs(2 * share - 1))});
    }
}

} // namespace

int TerrainRegions::atPixel(int x, int y) const {
    if (isEmpty() || x < 0 || y < 0) return 0;
    const int cx = x / scale, cy = y / scale;
    return cx < width && cy < height ? at(cx, cy) : 0;
}

TerrainGuess guessTerrain(const QImage& source, const TerrainGuessInput& input) {
    TerrainGuess guess;
    const std::size_t count = std::min(input.positions.size(), input.known.size());
    if (source.isNull() || count == 0) return guess;
    const QImage picture = source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32
                               ? source
                               : source.convertToFormat(QImage::Format_RGB32);
    const std::vector<QPoint> positions(input.positions.begin(), input.positions.begin() + static_cast<std::ptrdiff_t>(count));
    const Partition part = partitionOf(picture, positions, input.wrapAround);
    const std::vector<Evidence> evidence = readRegions(picture, part, positions, paletteTable(picture));
    guess.regions = part.regions;

    std::vector<int> examples, targets;
    std::uint32_t used = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const int p = static_cast<int>(i) + 1;
        if (input.known[i] >= 0) {
            examples.push_back(p);
            used |= static_cast<std::uint32_t>(input.known[i]);
        }
        if (input.known[i] < 0 || input.all) targets.push_back(p);
    }
    guess.examples = static_cast<int>(examples.size());
    if (guess.examples < kTerrainMinExamples) {
        guessSeaAndLand(guess, evidence, targets);
        return guess;
    }
    guess.decided = used & kPictureTerrainMask;

    std::vector<Features> f = featuresOf(evidence);
    const bool nearestColour = input.method == TerrainMethod::NearestColour;
    // Sea or land first, from its own kinds of evidence; the other flags then come from the examples
    // on the same side of the coast, so that no sea province is voted a forest.
    const std::uint32_t seaFlags = guess.decided & kSeaFlag, otherFlags = guess.decided & ~kSeaFlag;
    std::vector<Tuned> seaModels, otherModels;
    if (nearestColour) {
        // Mean colour alone, the nearest example alone.
        for (std::size_t p = 1; p < f.size(); ++p) {
            const Sums& s = evidence[p].region;
            const double n = std::max(1.0, s.count);
            f[p][Colours] = {float(s.r / n), float(s.g / n), float(s.b / n)};
        }
        Tuned plain;
        plain.weights[Colours] = 1;
        plain.neighbours = 1;
        plain.space = std::make_shared<const Space>(f, plain.weights);
        seaModels = otherModels = {plain};
    } else {
        // Sea or land is told well enough from one weighing.
        // A side without flags to guess is never asked; its silent weighing only keeps the code plain.
        const auto silent = [&] {
            Tuned t;
            t.space = std::make_shared<const Space>(f, t.weights);
            return std::vector<Tuned>{t};
        };
        // Sea or land hears the one nearest example: the sea examples are few among many of land,
        // and more voters outvote them wherever the sea looks unlike them all (ice, murky shallows).
        seaModels = seaFlags ? std::vector<Tuned>{tuneWeights(f, examples, input.known, seaFlags, false, nullptr, 1)}
                             : silent();
        otherModels = otherFlags ? modelsFor(f, examples, input.known, otherFlags, seaFlags != 0) : silent();
    }
    const Tuned& sea = seaModels.front();
    const Tuned& other = otherModels.front();
    // A few sea examples among many of land are outvoted by their neighbours; the plain share of water
    // round the pixel, cut where the examples say, then sorts sea from land better.
    const auto knownSea = [&](int p) { return isSea(input.known[static_cast<std::size_t>(p) - 1]); };
    const auto waterOf = [&](int p) { return coreWater(evidence[static_cast<std::size_t>(p)]); };
    double cut = -1;
    if (seaFlags && !nearestColour && learntCutRight(sea.sample, waterOf, knownSea) > sea.right) {
        std::vector<std::pair<double, bool>> shares;
        for (const int e : examples) shares.emplace_back(waterOf(e), knownSea(e));
        cut = learntCut(shares);
    }
    // No example is sea, yet the picture may show sea, as it does to a guess of too few examples: sea
    // then comes from the water round each province's pixel, where that is plainer than round any
    // land example's. The examples cannot say what such a province holds besides.
    double pictureSeaCut = -1;
    if (!seaFlags && !nearestColour) {
        pictureSeaCut = kSeaWater;
        for (const int e : examples) pictureSeaCut = std::max(pictureSeaCut, waterOf(e));
        guess.seaFromPicture =
            std::any_of(targets.begin(), targets.end(), [&](int p) { return waterOf(p) > pictureSeaCut; });
        if (guess.seaFromPicture)
            guess.decided |= kSeaFlag;
        else
            pictureSeaCut = -1;
    }
    const float typicalSea = seaFlags ? typicalNearest(*sea.space, examples) : 0;
    const float typicalOther = otherFlags ? typicalNearest(*other.space, examples) : 0;

    double riverCut = -1; // fresh water on land from the river lines, when the examples say so
    double deepCut = -1;  // deep sea from the darkness and openness of the water, when the examples say so
    const auto lines = [&](int p) { return riverLines(evidence[static_cast<std::size_t>(p)]); };
    std::vector<int> land; // by province, the land regions round it; only asked for deep sea
    const auto depth = [&](int p) {
        const Sums& r = evidence[static_cast<std::size_t>(p)].region;
        return (1 - r.lum / std::max(1.0, r.count) / 255) / (1 + land[static_cast<std::size_t>(p)]);
    };
    std::array<KindCut, 32> kindCuts{}; // on tile art, by flag
    // Every weighing heard evenly, and in each the nearest examples and the two rules; how far off the
    // nearest example lies, by the first.
    const auto ask = [&](int p, const std::vector<Tuned>& models, std::uint32_t flags, float typical, int side) {
        FlagShares shares{};
        float closest = -1;
        for (const Tuned& model : models) {
            Nearest nearest(model.neighbours);
            for (const int e : examples) {
                const std::int32_t mask = input.known[static_cast<std::size_t>(e) - 1];
                if (e != p && (side < 0 || isSea(mask) == (side == 1)))
                    nearest.offer(model.space->distance(p, e), static_cast<std::uint32_t>(mask));
            }
            if (nearest.empty()) return Vote{};
            FlagShares own = nearestShares(nearest, flags);
            if (model.rule) {
                const FlagShares rule = model.rule->at(p), bell = model.bell->at(p);
                for (std::size_t i = 0; i < own.size(); ++i) own[i] = (own[i] + rule[i] + bell[i]) / 3;
            }
            for (std::size_t i = 0; i < shares.size(); ++i) shares[i] += own[i] / float(models.size());
            if (closest < 0) closest = std::sqrt(nearest.nearest());
        }
        const auto cutShare = [](double measure, double at) { return static_cast<float>(std::clamp(0.5 + 2 * (measure - at), 0.0, 1.0)); };
        if (riverCut >= 0 && side != 1 && (flags & kFreshWaterFlag))
            shares[std::countr_zero(kFreshWaterFlag)] = cutShare(lines(p), riverCut);
        if (deepCut >= 0 && side == 1 && (flags & kDeepSeaFlag))
            shares[std::countr_zero(kDeepSeaFlag)] = cutShare(depth(p), deepCut);
        if (side != 1)
            for (int bit = 0; bit < 32; ++bit)
                if (const KindCut& c = kindCuts[static_cast<std::size_t>(bit)]; c.kinds && (flags >> bit & 1u))
                    shares[static_cast<std::size_t>(bit)] =
                        cutShare(tileShare(evidence[static_cast<std::size_t>(p)], c.kinds), c.at);
        return decide(shares, flags, closest > typical && closest > 0 ? typical / closest : 1.0f);
    };
    // A cut of one measure, learnt from the examples on one side of the coast, decides a flag there
    // instead of their vote when, each example left out in turn, it sorts them better than that vote.
    const auto onSide = [&](const std::vector<int>& of, bool atSea) {
        std::vector<int> side;
        for (const int e : of)
            if (knownSea(e) == atSea) side.push_back(e);
        return side;
    };
    const auto cutFor = [&](std::uint32_t flag, bool atSea, const auto& measure) {
        // Tried on the examples the weights were tuned on (as many as that is quick for).
        const std::vector<int> side = onSide(examples, atSea), tried = onSide(other.sample, atSea);
        const auto has = [&](int p) { return (input.known[static_cast<std::size_t>(p) - 1] & flag) != 0; };
        const int voteSide = seaFlags ? int(atSea) : -1;
        long voteRight = 0;
        for (const int e : tried)
            voteRight += ((ask(e, otherModels, otherFlags, typicalOther, voteSide).mask & flag) != 0) == has(e);
        return cutBeating(voteRight, tried, side, measure, has).value_or(-1.0);
    };
    // A river line is too thin a part of a province for the nearest examples to hear: the river lines
    // decide fresh water on land. Where lakes, not lines, carry the flag, the cut seldom sorts the
    // examples better and the vote stays.
    if ((otherFlags & kFreshWaterFlag) && !nearestColour) riverCut = cutFor(kFreshWaterFlag, false, lines);
    // Deep sea lies away from the coast and is painted darker than the shallows along it, but the few
    // sea examples are weighed as the many of land want: the darkness of the water over one more than
    // the land regions round it decides deep sea. Tried on the test pictures: fewer misses of deep sea
    // than the darkness alone, and about as few as the land round alone.
    if ((otherFlags & kDeepSeaFlag) && seaFlags && !nearestColour) {
        land = landAround(part.regions, evidence, input.wrapAround);
        deepCut = cutFor(kDeepSeaFlag, true, depth);
    }
    // On tile art each ground, a cave or a river has a glyph of its own, and the share of its tiles
    // tells the flag better than a vote over all the evidence, where the other tiles speak as loudly.
    if (!nearestColour && otherFlags && evidence.size() > 1 && !evidence[1].tiles.empty()) {
        std::vector<int> tried = onSide(other.sample, false);
        keepDrawn(tried, kMaxKindCutExamples, 99);
        std::vector<std::uint32_t> votes;
        for (const int e : tried) votes.push_back(ask(e, otherModels, otherFlags, typicalOther, seaFlags ? 0 : -1).mask);
        kindCuts = learnKindCuts(evidence, onSide(examples, false), tried, votes, input.known,
                                 otherFlags & ~kDeepSeaFlag);
    }
    for (const int p : targets) {
        Vote v{0, 1};
        if (pictureSeaCut >= 0 && waterOf(p) > pictureSeaCut) {
            guess.proposals.push_back({p, kSeaFlag, static_cast<float>(std::min(1.0, (waterOf(p) - pictureSeaCut) * 4))});
            continue;
        }
        if (cut >= 0) {
            const double share = waterOf(p);
            v = {share > cut ? kSeaFlag : 0u, static_cast<float>(std::min(1.0, std::abs(share - cut) * 4))};
        } else if (seaFlags) {
            v = ask(p, seaModels, seaFlags, typicalSea, -1);
        }
        if (otherFlags) {
            const bool atSea = (v.mask & kSeaFlag) != 0;
            const bool sideKnown = seaFlags && std::any_of(examples.begin(), examples.end(), [&](int e) {
                return e != p && isSea(input.known[static_cast<std::size_t>(e) - 1]) == atSea;
            });
            const Vote rest = ask(p, otherModels, otherFlags, typicalOther, sideKnown ? int(atSea) : -1);
            v.mask |= rest.mask;
            v.confidence = std::min(v.confidence, rest.confidence);
        }
        guess.proposals.push_back({p, v.mask, v.confidence});
    }
    return guess;
}

std::vector<std::int32_t> knownTerrain(const MapDocument& doc) {
    std::vector<std::int32_t> known(static_cast<std::size_t>(std::max<int>(0, doc.ProvinceCount)), -1);
    for (int n = 1; n <= doc.ProvinceCount; ++n) {
        const ProvinceDataType& p = doc.Provinces[n];
        std::uint32_t mask = 0;
        for (int bit = 0; bit < kTerrainBits; ++bit)
            if (p.TerrainBit[bit]) mask |= 1u << bit;
        // Terrain is set by plains or by any flag, as the map file will say it. Terrain itself is no
        // sign: every save computes it, as 0 for a province with no flag at all, which is not written.
        if (p.TerrainPlain || mask != 0)
            known[static_cast<std::size_t>(n) - 1] = static_cast<std::int32_t>(mask);
    }
    return known;
}

TerrainGuess guessTerrain(const MapDocument& doc, const QImage& picture, bool all) {
    TerrainGuessInput input;
    input.positions = provincePixels(doc);
    input.known = knownTerrain(doc);
    input.wrapAround = doc.WrapAround;
    input.all = all;
    return guessTerrain(picture, input);
}

std::int32_t proposedTerrain(std::int32_t current, std::uint32_t decided, std::uint32_t proposal) {
    std::uint32_t mask = current < 0 ? 0u : static_cast<std::uint32_t>(current);
    mask = (mask & ~decided) | (proposal & decided);
    if ((decided & kSeaFlag) && !(proposal & kSeaFlag)) mask &= ~kDeepSeaFlag;
    return static_cast<std::int32_t>(mask);
}

int applyTerrainGuess(MapDocument& doc, const TerrainGuess& guess, const std::vector<bool>& taken) {
    int changed = 0;
    for (std::size_t i = 0; i < guess.proposals.size() && i < taken.size(); ++i) {
        if (!taken[i]) continue;
        const int n = guess.proposals[i].province;
        if (n < 1 || n > doc.ProvinceCount) continue;
        ProvinceDataType& p = doc.Provinces[n];
        std::uint32_t flags = 0;
        for (int bit = 0; bit < kTerrainBits; ++bit)
            if (p.TerrainBit[bit]) flags |= 1u << bit;
        const bool had = p.TerrainPlain || flags != 0;
        const auto mask = static_cast<std::uint32_t>(proposedTerrain(had ? std::int32_t(flags) : -1, guess.decided,
                                                                     guess.proposals[i].mask));
        if (had && mask == flags) continue;
        NoteProvinceEdit(doc, n);
        for (int bit = 0; bit < kTerrainBits; ++bit) p.TerrainBit[bit] = (mask >> bit & 1u) != 0;
        ComputeTerrainMask(doc, n);
        p.TerrainPlain = p.Terrain < 3;
        ++changed;
    }
    return changed;
}

void TerrainScore::add(const TerrainScore& other) {
    provinces += other.provinces;
    seaRight += other.seaRight;
    flags += other.flags;
    flagsRight += other.flagsRight;
    for (std::size_t bit = 0; bit < wrong.size(); ++bit) wrong[bit] += other.wrong[bit];
    draws += other.draws;
    seaDraws += other.seaDraws;
    seaDrawProvinces += other.seaDrawProvinces;
    seaDrawRight += other.seaDrawRight;
}

TerrainScore scoreTerrainGuess(const TerrainGuess& guess, const std::vector<std::int32_t>& truth) {
    TerrainScore score;
    for (const TerrainProposal& p : guess.proposals) {
        const std::size_t i = static_cast<std::size_t>(p.province) - 1;
        if (i >= truth.size() || truth[i] < 0) continue;
        const auto real = static_cast<std::uint32_t>(truth[i]);
        ++score.provinces;
        score.seaRight += ((p.mask & kSeaFlag) != 0) == ((real & kSeaFlag) != 0) ? 1 : 0;
        score.flags += std::popcount(guess.decided);
        score.flagsRight += flagsRight(p.mask, real, guess.decided);
        for (std::uint32_t miss = (p.mask ^ real) & guess.decided; miss; miss &= miss - 1)
            ++score.wrong[static_cast<std::size_t>(std::countr_zero(miss))];
    }
    return score;
}

TerrainScore measureTerrainGuess(const QImage& picture, TerrainGuessInput input, const std::vector<std::int32_t>& truth,
                                 double share, std::uint32_t seed) {
    // Drawn among the provinces whose terrain is known, as the others cannot be scored either.
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < truth.size(); ++i)
        if (truth[i] >= 0) order.push_back(i);
    for (std::size_t i = 0; i + 1 < order.size(); ++i)
        std::swap(order[i], order[i + nextRandom(seed) % (order.size() - i)]);
    input.known.assign(truth.size(), -1);
    const auto given = static_cast<std::size_t>(std::lround(share * double(order.size())));
    for (std::size_t i = 0; i < given && i < order.size(); ++i) input.known[order[i]] = truth[order[i]];
    input.all = false;
    TerrainScore score = scoreTerrainGuess(guessTerrain(picture, input), truth);
    score.draws = 1;
    if (std::any_of(input.known.begin(), input.known.end(), [](std::int32_t mask) { return mask >= 0 && isSea(mask); })) {
        score.seaDraws = 1;
        score.seaDrawProvinces = score.provinces;
        score.seaDrawRight = score.seaRight;
    }
    return score;
}

namespace {

// One colour per kind of ground, the first flag of this list that is proposed.
struct Shade {
    std::uint32_t flag;
    QRgb colour;
};
constexpr Shade kShades[] = {
    {kDeepSeaFlag, qRgb(20, 40, 140)}, {kSeaFlag, qRgb(40, 110, 230)},  {1u << 12, qRgb(70, 60, 70)},
    {1u << 22, qRgb(170, 150, 140)},   {1u << 4, qRgb(130, 90, 60)},     {1u << 5, qRgb(90, 120, 60)},
    {1u << 6, qRgb(220, 190, 120)},    {1u << 7, qRgb(20, 110, 30)},     {1u << 8, qRgb(240, 220, 40)},
    {kFreshWaterFlag, qRgb(60, 210, 230)},
};
constexpr QRgb kPlainsShade = qRgb(150, 230, 110);

} // namespace

QImage terrainOverlay(const TerrainGuess& guess, const std::vector<bool>& taken) {
    const TerrainRegions& r = guess.regions;
    if (r.isEmpty()) return QImage();
    const int maxProvince = *std::max_element(r.province.begin(), r.province.end());
    // 0: no proposal; otherwise the colour, with the alpha bit set aside for doubt.
    std::vector<QRgb> colour(static_cast<std::size_t>(maxProvince) + 1, 0);
    std::vector<bool> doubtful(colour.size(), false);
    for (std::size_t i = 0; i < guess.proposals.size(); ++i) {
        const TerrainProposal& p = guess.proposals[i];
        if (p.province < 1 || p.province > maxProvince || (i < taken.size() && !taken[i])) continue;
        QRgb shade = kPlainsShade;
        for (const Shade& s : kShades)
            if (p.mask & s.flag) {
                shade = s.colour;
                break;
            }
        colour[static_cast<std::size_t>(p.province)] = shade;
        doubtful[static_cast<std::size_t>(p.province)] = p.confidence < kTerrainLowConfidence;
    }
    QImage out(r.width, r.height, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    // Doubtful provinces in stripes a few image pixels wide, so they stand out at every zoom.
    const int stripe = std::max(1, 6 / r.scale);
    for (int y = 0; y < r.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < r.width; ++x) {
            const auto p = static_cast<std::size_t>(r.at(x, y));
            if (p == 0 || colour[p] == 0) continue;
            const bool edge = (x > 0 && r.at(x - 1, y) != r.at(x, y)) || (y > 0 && r.at(x, y - 1) != r.at(x, y));
            int alpha = edge ? 200 : 120;
            QRgb c = colour[p];
            if (doubtful[p] && ((x + y) / stripe) % 2 == 0) c = qRgb(230, 30, 30), alpha = 170;
            line[x] = qPremultiply(qRgba(qRed(c), qGreen(c), qBlue(c), alpha));
        }
    }
    return out;
}

std::vector<const char*> terrainWords(std::uint32_t mask) {
    static constexpr std::pair<std::uint32_t, const char*> kWords[] = {
        {kDeepSeaFlag, "Deep sea"}, {kSeaFlag, "Sea"},      {kFreshWaterFlag, "Lake or river"}, {1u << 4, "Mountains"},
        {1u << 22, "Border mountains"}, {1u << 5, "Swamp"}, {1u << 6, "Waste"},         {1u << 7, "Forest"},
        {1u << 8, "Farm"},          {1u << 12, "Cave"}};
    std::vector<const char*> words;
    for (const auto& [flag, word] : kWords)
        if ((mask & flag) && !(flag == kSeaFlag && (mask & kDeepSeaFlag))) words.push_back(word);
    if (words.empty()) words.push_back("Plains");
    return words;
}

} // namespace ts
