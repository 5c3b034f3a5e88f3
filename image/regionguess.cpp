#include "regionguess.h"

#include "mapdocument.h"
#include "tiling.h"

#include <QColor>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <unordered_map>

namespace ts {

namespace {

// Growing on more cells than this is not worth the time: a 4000x3000 picture is grown on 2x2 cells.
constexpr qint64 kMaxCells = 4'200'000;

// Costs of growing into a cell, in tenths of a pixel: the regions are the nearest-pixel partition.
constexpr int kStraight = 10;
constexpr int kDiagonal = 14;
// Colour change (summed over the three channels, between the cells on either side) that texture,
// brush strokes and soft shading stay below.
constexpr int kEdgeThreshold = 18;
constexpr int kMaxBarrier = 4000;
// Cells between which a soft change of colour is measured: a brush blends two grounds over a few
// pixels, too gently for neighbouring cells to differ much.
constexpr int kFar = 2;
// Stepping between water and land: a coast separates provinces even where it is painted softly.
constexpr int kCoast = 2500;
constexpr int kBuckets = 8192; // a power of two above the dearest step
static_assert(kBuckets > kDiagonal + kMaxBarrier + kCoast);
// A colour change at least this dear (as a barrier) is an edge of the picture.
constexpr int kStrongEdge = 800;
// The picture's edges are its borders when at least this share of them lies where the regions grown
// along them meet; on painted terrain, relief shading and tile glyphs most edges lie inside regions.
constexpr double kBorderedShare = 0.5;

// Water is decided over a window this wide (image pixels), wider than a tile glyph or a brush
// stroke, so that waves on a sea tile or a blue shadow on a rock do not flip a cell.
constexpr int kWaterWindow = 13;
// Water narrower than this (image pixels) is a river, a lake shore's fringe or a painted stroke:
// part of the land it runs through, never a coast.
constexpr int kRiverWidth = 36;
// Water narrower than this (image pixels) is a line drawn on the land, a river or a stream, and
// parts no provinces; a lake or a strait is wider.
constexpr int kLineWidth = 12;
// ... and runs on for at least this far (image pixels); a shorter blue stroke is a painted border.
constexpr int kMinRiverLength = 80;

// What a cell of water costs a land province more than a cell of land (tenths of a pixel).
constexpr quint32 kWaterToll = 20;
// Two land provinces whose regions meet over land along less than this share of their boundary
// face each other across water.
constexpr double kMinShareOverLand = 0.4;
// Water narrower than open water is a river, not a lake or a strait, when it runs through the
// regions of at least three land provinces, each holding this share of it (water is dear to them,
// so the one that reaches a river first takes most of it)...
constexpr double kRiverShare = 0.02;
// ... and runs on for at least this many times its width; a lake laid over three provinces' borders
// is broader.
constexpr double kRiverLength = 4;
// A boundary shorter than this share of the smaller region's size (the root of its area) is a
// meeting of corners.
constexpr double kMinShareOfSize = 0.1;

// Water is blue, well above red and above green: a teal forest or a blue-green shadow is not.
bool isWater(int r, int g, int b) {
    return b > r + 30 && b > g + 18;
}

struct Grid {
    int width = 0, height = 0, scale = 1;
    bool wrap = false;
    std::vector<quint8> water; // 1 for open water: wide enough to be a sea, a lake or a strait
    std::vector<quint8> wet;   // 1 where the cell has the colour of water, however narrow
    std::vector<quint8> pool;  // 1 for water of any width but a painted line's: rivers, lakes, straits, sea
    std::vector<quint16> barrier; // cost of growing into the cell: the colour change across it
    std::array<std::vector<quint8>, 3> colour; // average red, green and blue of each cell

    qsizetype cells() const { return static_cast<qsizetype>(width) * height; }
};

Grid gridFor(QSize picture, bool wrap, qint64 maxCells) {
    Grid grid;
    grid.wrap = wrap;
    while (static_cast<qint64>((picture.width() + grid.scale - 1) / grid.scale) *
               ((picture.height() + grid.scale - 1) / grid.scale) >
           maxCells)
        ++grid.scale;
    grid.width = (picture.width() + grid.scale - 1) / grid.scale;
    grid.height = (picture.height() + grid.scale - 1) / grid.scale;
    return grid;
}

// The average colour of each cell's block of pixels (at least 2x2, which takes the grain out of
// painted ground).
void averageColours(const QImage& picture, Grid& grid) {
    const int w = picture.width(), h = picture.height(), s = grid.scale;
    const int block = std::max(s, 2);
    const auto n = static_cast<quint32>(block * block);
    for (auto& plane : grid.colour)
        plane.resize(static_cast<std::size_t>(grid.cells()));
    std::vector<const quint32*> rows(static_cast<std::size_t>(block));
    for (int cy = 0; cy < grid.height; ++cy) {
        // The last cells take the last full block, so no pixel is read past the edge.
        const int top = std::max(0, std::min(cy * s, h - block));
        for (int k = 0; k < block; ++k)
            rows[static_cast<std::size_t>(k)] =
                reinterpret_cast<const quint32*>(picture.constScanLine(std::min(top + k, h - 1)));
        const qsizetype out = static_cast<qsizetype>(cy) * grid.width;
        for (int cx = 0; cx < grid.width; ++cx) {
            const int left = std::max(0, std::min(cx * s, w - block));
            // Red and blue add up side by side in one word; a block of up to 16x16 cannot overflow.
            quint32 redBlue = 0, green = 0;
            if (block == 2) { // the usual case, written out
                const quint32 a = rows[0][left], b = rows[0][left + 1], c = rows[1][left], d = rows[1][left + 1];
                redBlue = (a & 0x00FF00FFu) + (b & 0x00FF00FFu) + (c & 0x00FF00FFu) + (d & 0x00FF00FFu);
                green = ((a >> 8) & 0xFFu) + ((b >> 8) & 0xFFu) + ((c >> 8) & 0xFFu) + ((d >> 8) & 0xFFu);
            } else {
                for (const quint32* row : rows)
                    for (int x = left; x < left + block; ++x) {
                        const quint32 p = row[std::min(x, w - 1)];
                        redBlue += p & 0x00FF00FFu;
                        green += (p >> 8) & 0xFFu;
                    }
            }
            const auto at = static_cast<std::size_t>(out + cx);
            grid.colour[0][at] = static_cast<quint8>((redBlue >> 16) / n);
            grid.colour[1][at] = static_cast<quint8>(green / n);
            grid.colour[2][at] = static_cast<quint8>((redBlue & 0xFFFFu) / n);
        }
    }
}

// Replaces each cell by what `merge(sum, count)` makes of the values in the square of cells around
// it (radius in cells), by a table of running sums.
template <class Merge>
void boxFilter(std::vector<quint8>& plane, int w, int h, int radius, Merge merge) {
    std::vector<quint32> sum(static_cast<std::size_t>(w + 1) * static_cast<std::size_t>(h + 1), 0);
    const auto at = [w](int x, int y) { return static_cast<std::size_t>(y) * static_cast<std::size_t>(w + 1) + x; };
    for (int y = 0; y < h; ++y) {
        quint32 row = 0;
        for (int x = 0; x < w; ++x) {
            row += plane[static_cast<std::size_t>(y) * w + x];
            sum[at(x + 1, y + 1)] = sum[at(x + 1, y)] + row;
        }
    }
    for (int y = 0; y < h; ++y) {
        const int y0 = std::max(0, y - radius), y1 = std::min(h, y + radius + 1);
        for (int x = 0; x < w; ++x) {
            const int x0 = std::max(0, x - radius), x1 = std::min(w, x + radius + 1);
            const quint32 inside = sum[at(x1, y1)] - sum[at(x0, y1)] - sum[at(x1, y0)] + sum[at(x0, y0)];
            plane[static_cast<std::size_t>(y) * w + x] = merge(inside, static_cast<quint32>((x1 - x0) * (y1 - y0)));
        }
    }
}

// Each cell of a 0/1 mask takes the majority of the square of cells around it.
void majority(std::vector<quint8>& mask, int w, int h, int radius) {
    if (radius < 1) return;
    boxFilter(mask, w, h, radius, [](quint32 inside, quint32 count) { return static_cast<quint8>(2 * inside > count); });
}

// Chamfer distance (3 across, 4 diagonally) of every cell to the nearest cell where `from` is set.
// Each pass over a row takes the row before it first, which runs on whole vectors, and then runs
// along the row, where each cell waits for its neighbour.
std::vector<quint16> chamfer(const std::vector<quint8>& from, int w, int h, quint8 value) {
    constexpr quint16 kUnreached = 60000;
    std::vector<quint16> d(from.size());
    for (std::size_t i = 0; i < from.size(); ++i)
        d[i] = from[i] == value ? 0 : kUnreached;
    auto lower = [](quint16 cell, int other) { return static_cast<quint16>(std::min<int>(cell, other)); };
    auto fromRow = [&](quint16* row, const quint16* other) {
        if (w == 1) {
            row[0] = lower(row[0], other[0] + 3);
            return;
        }
        row[0] = lower(row[0], std::min(other[0] + 3, other[1] + 4));
        for (int x = 1; x + 1 < w; ++x)
            row[x] = lower(row[x], std::min(other[x] + 3, std::min(other[x - 1], other[x + 1]) + 4));
        row[w - 1] = lower(row[w - 1], std::min(other[w - 1] + 3, other[w - 2] + 4));
    };
    for (int y = 0; y < h; ++y) {
        quint16* row = d.data() + static_cast<qsizetype>(y) * w;
        if (y > 0) fromRow(row, row - w);
        for (int x = 1; x < w; ++x)
            row[x] = lower(row[x], row[x - 1] + 3);
    }
    for (int y = h - 1; y >= 0; --y) {
        quint16* row = d.data() + static_cast<qsizetype>(y) * w;
        if (y + 1 < h) fromRow(row, row + w);
        for (int x = w - 2; x >= 0; --x)
            row[x] = lower(row[x], row[x + 1] + 3);
    }
    return d;
}

void findWater(Grid& grid) {
    grid.wet.resize(static_cast<std::size_t>(grid.cells()));
    for (std::size_t i = 0; i < grid.wet.size(); ++i)
        grid.wet[i] = isWater(grid.colour[0][i], grid.colour[1][i], grid.colour[2][i]);
}

// What is left of a 0/1 mask after taking away whatever is narrower than width (image pixels): a
// morphological opening, what survives shrinking the mask by half the width, grown back.
void keepWide(std::vector<quint8>& mask, int w, int h, int width, int scale) {
    const int radius = 3 * ((width / 2 + scale - 1) / scale);
    const std::vector<quint16> toOutside = chamfer(mask, w, h, 0);
    std::vector<quint8> core(mask.size());
    for (std::size_t i = 0; i < core.size(); ++i)
        core[i] = toOutside[i] > radius;
    const std::vector<quint16> toCore = chamfer(core, w, h, 1);
    for (std::size_t i = 0; i < core.size(); ++i)
        mask[i] = mask[i] && toCore[i] <= radius;
}

// Open water: water cells by majority over the window, less whatever is narrower than a river; the
// pool keeps the narrower water as well.
void findOpenWater(Grid& grid) {
    const int w = grid.width, h = grid.height;
    grid.water = grid.wet;
    majority(grid.water, w, h, kWaterWindow / 2 / grid.scale);
    grid.pool = grid.water; // narrowed only when geography needs it
    keepWide(grid.water, w, h, kRiverWidth, grid.scale);
}

// A cell's barrier is the colour change across it, the larger of across and down per channel, near
// and a little farther out; a painted line of any colour gives a ridge of such cells on both of its
// flanks, a soft change between two grounds a wider, lower one.
void findBarriers(Grid& grid) {
    std::array<quint16, 3 * 255 + 1> cost{};
    for (int e = 0; e <= 3 * 255; ++e) {
        const int over = std::max(0, e - kEdgeThreshold);
        cost[static_cast<std::size_t>(e)] = static_cast<quint16>(std::min(kMaxBarrier, over * over / 2));
    }
    const int w = grid.width, h = grid.height;
    grid.barrier.resize(static_cast<std::size_t>(grid.cells()));
    auto wrapOrClamp = [&](int v, int size) {
        if (grid.wrap) return ((v % size) + size) % size;
        return std::clamp(v, 0, size - 1);
    };
    std::vector<int> nearChange(static_cast<std::size_t>(w)), farChange(static_cast<std::size_t>(w));
    for (int y = 0; y < h; ++y) {
        std::fill(nearChange.begin(), nearChange.end(), 0);
        std::fill(farChange.begin(), farChange.end(), 0);
        for (const auto& plane : grid.colour) {
            auto rowAt = [&](int dy) { return plane.data() + static_cast<qsizetype>(wrapOrClamp(y + dy, h)) * w; };
            const quint8 *m = rowAt(0), *u = rowAt(-1), *d = rowAt(1), *uf = rowAt(-kFar), *df = rowAt(kFar);
            int* nearSum = nearChange.data();
            int* farSum = farChange.data();
            auto change = [&](int x) {
                nearSum[x] += std::max(std::abs(m[wrapOrClamp(x - 1, w)] - m[wrapOrClamp(x + 1, w)]),
                                       std::abs(u[x] - d[x]));
                farSum[x] += std::max(std::abs(m[wrapOrClamp(x - kFar, w)] - m[wrapOrClamp(x + kFar, w)]),
                                      std::abs(uf[x] - df[x]));
            };
            const int inner = std::max(kFar, w - kFar);
            for (int x = 0; x < std::min(kFar, w); ++x)
                change(x);
            // The bulk of the row needs no edge rule; kept plain so it runs on whole vectors.
            for (int x = kFar; x < inner; ++x) {
                nearSum[x] += std::max(std::abs(m[x - 1] - m[x + 1]), std::abs(u[x] - d[x]));
                farSum[x] += std::max(std::abs(m[x - kFar] - m[x + kFar]), std::abs(uf[x] - df[x]));
            }
            for (int x = inner; x < w; ++x)
                change(x);
        }
        const qsizetype row = static_cast<qsizetype>(y) * w;
        quint16* barrier = grid.barrier.data() + row;
        for (int x = 0; x < w; ++x) {
            const auto at = static_cast<std::size_t>(x);
            barrier[x] = cost[static_cast<std::size_t>(std::max(nearChange[at], farChange[at]))];
        }
    }
}

// The cells 8-connected to start for which `take(cell)` holds, start included; take marks what it
// takes, so that no cell is taken twice.
template <class Take>
void floodFrom(int w, int h, quint32 start, Take take, std::vector<quint32>& stack, std::vector<quint32>& cells) {
    cells.clear();
    stack.assign(1, start);
    while (!stack.empty()) {
        const quint32 c = stack.back();
        stack.pop_back();
        cells.push_back(c);
        const int y = static_cast<int>(c) / w, x = static_cast<int>(c) - y * w;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int nx = x + dx, ny = y + dy;
                if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                const auto n = static_cast<quint32>(ny * w + nx);
                if (take(n)) stack.push_back(n);
            }
    }
}

// Rivers are no borders: narrow water counts as the land it runs through, and the colour change
// along its banks is no barrier.
void quietRivers(Grid& grid) {
    // Where open water stops, a sliver of its corners is left narrow: that is still coast.
    const std::vector<quint16> toOpenWater = chamfer(grid.water, grid.width, grid.height, 1);
    const int coast = 3 * ((kRiverWidth / 2 + grid.scale - 1) / grid.scale);
    std::vector<quint8> river(grid.wet.size());
    bool any = false;
    for (std::size_t i = 0; i < river.size(); ++i) {
        river[i] = grid.wet[i] && toOpenWater[i] > coast;
        any = any || river[i];
    }
    if (!any) return;
    // A short blue stroke is a border painted in blue; a river runs on.
    const int w = grid.width, h = grid.height;
    std::vector<quint32> stroke, stack;
    const auto take = [&](quint32 n) { return river[n] == 1 ? (river[n] = 2, true) : false; };
    for (std::size_t start = 0; start < river.size(); ++start) {
        if (river[start] != 1) continue;
        river[start] = 2;
        floodFrom(w, h, static_cast<quint32>(start), take, stack, stroke);
        int left = w, right = 0, top = h, bottom = 0;
        for (const quint32 c : stroke) {
            const int y = static_cast<int>(c) / w, x = static_cast<int>(c) - y * w;
            left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
        }
        const bool runsOn = std::max(right - left, bottom - top) * grid.scale >= kMinRiverLength;
        for (const quint32 c : stroke)
            river[c] = runsOn ? 3 : 0;
    }
    for (quint8& c : river)
        c = c == 3;
    const std::vector<quint16> toRiver = chamfer(river, grid.width, grid.height, 1);
    const int banks = 3 * (1 + (kFar * 2 + grid.scale - 1) / grid.scale);
    for (std::size_t i = 0; i < river.size(); ++i) {
        if (toRiver[i] <= banks) grid.barrier[i] = 0;
        if (river[i]) grid.wet[i] = 0;
    }
}

// Every cell goes to the province that reaches it by the shortest path (Dial's shortest paths: the
// step costs are small whole numbers, so a ring of buckets replaces the heap). The sources start
// growing at their own distance, and cells owned at a lower distance stay as they are; a cell is
// entered only when `enters(cell, owner)` allows it, at the cost of the step plus
// `cost(from, to, owner)`.
template <class Enters, class Cost>
void grow(const Grid& grid, std::vector<std::int16_t>& province, std::vector<quint32>& distance,
          std::vector<quint32> sources, Enters enters, Cost cost) {
    const int w = grid.width, h = grid.height;
    std::vector<std::vector<quint32>> buckets(kBuckets);
    std::size_t pending = sources.size();
    quint32 first = sources.empty() ? 0 : UINT32_MAX;
    for (const quint32 source : sources) {
        buckets[distance[source] & (kBuckets - 1)].push_back(source);
        first = std::min(first, distance[source]);
    }

    static constexpr int dx[8] = {1, -1, 0, 0, 1, 1, -1, -1};
    static constexpr int dy[8] = {0, 0, 1, -1, 1, -1, 1, -1};
    static constexpr int step[8] = {kStraight, kStraight, kStraight, kStraight,
                                    kDiagonal, kDiagonal, kDiagonal, kDiagonal};
    qsizetype offset[8];
    for (int k = 0; k < 8; ++k)
        offset[k] = static_cast<qsizetype>(dy[k]) * w + dx[k];
    std::vector<quint32> current;
    for (quint32 d = first; pending > 0; ++d) {
        std::vector<quint32>& bucket = buckets[d & (kBuckets - 1)];
        if (bucket.empty()) continue;
        current.swap(bucket);
        pending -= current.size();
        for (const quint32 cell : current) {
            if (distance[cell] != d) continue; // reached more cheaply since it was queued
            const int y = static_cast<int>(cell) / w, x = static_cast<int>(cell) - y * w;
            const std::int16_t owner = province[cell];
            auto relax = [&](quint32 next, int k) {
                const quint32 nd = d + static_cast<quint32>(step[k]) + cost(cell, next, owner);
                if (nd >= distance[next] || !enters(next, owner)) return;
                distance[next] = nd;
                province[next] = owner;
                buckets[nd & (kBuckets - 1)].push_back(next);
                ++pending;
            };
            if (x > 0 && x + 1 < w && y > 0 && y + 1 < h) {
                for (int k = 0; k < 8; ++k)
                    relax(static_cast<quint32>(static_cast<qsizetype>(cell) + offset[k]), k);
                continue;
            }
            for (int k = 0; k < 8; ++k) {
                int nx = x + dx[k], ny = y + dy[k];
                if (nx < 0 || nx >= w || ny < 0 || ny >= h) {
                    if (!grid.wrap) continue;
                    nx = (nx + w) % w;
                    ny = (ny + h) % h;
                }
                relax(static_cast<quint32>(ny * w + nx), k);
            }
        }
        current.clear();
    }
}

// The cell of each province pixel (0 for none), the first province keeping a cell two share.
std::vector<quint32> seedCells(const Grid& grid, const std::vector<QPoint>& positions,
                               std::vector<std::int16_t>& province, std::vector<quint32>& distance) {
    std::vector<quint32> seeds;
    for (std::size_t n = 0; n < positions.size() && n < static_cast<std::size_t>(kMaxProvince); ++n) {
        const QPoint at = positions[n];
        if (at.x() < 0 || at.y() < 0) continue;
        const int cx = at.x() / grid.scale, cy = at.y() / grid.scale;
        if (cx >= grid.width || cy >= grid.height) continue;
        const auto cell = static_cast<quint32>(cy * grid.width + cx);
        if (province[cell] != 0) continue;
        province[cell] = static_cast<std::int16_t>(n + 1);
        distance[cell] = 0;
        seeds.push_back(cell);
    }
    return seeds;
}

// Shared boundary per pair of provinces, counted over the cell edges between their regions for which
// `counts(cell, other cell, lower province, higher province)` holds.
template <class Counts>
std::vector<RegionPair> sharedBoundaries(const RegionMap& regions, bool wrap, Counts counts) {
    std::vector<std::vector<std::pair<int, int>>> lists(kProvinceSlots); // lower number -> (higher, cells)
    auto count = [&](std::size_t i, std::size_t j) {
        int p = regions.province[i], q = regions.province[j];
        if (p == q || p <= 0 || q <= 0) return;
        if (p > q) std::swap(p, q);
        if (!counts(i, j, p, q)) return;
        auto& list = lists[static_cast<std::size_t>(p)];
        for (auto& [other, cells] : list)
            if (other == q) {
                ++cells;
                return;
            }
        list.emplace_back(q, 1);
    };
    const auto w = static_cast<std::size_t>(regions.width), h = static_cast<std::size_t>(regions.height);
    for (std::size_t y = 0; y < h; ++y) {
        const std::size_t row = y * w;
        const bool below = y + 1 < h || wrap;
        const std::size_t next = (y + 1 < h ? y + 1 : 0) * w;
        const std::int16_t* cells = regions.province.data();
        for (std::size_t x = 0; x + 1 < w; ++x)
            if (cells[row + x] != cells[row + x + 1]) count(row + x, row + x + 1);
        if (wrap && cells[row + w - 1] != cells[row]) count(row + w - 1, row);
        if (below)
            for (std::size_t x = 0; x < w; ++x)
                if (cells[row + x] != cells[next + x]) count(row + x, next + x);
    }
    std::vector<RegionPair> pairs;
    for (int p = 1; p < kProvinceSlots; ++p)
        for (const auto& [q, cells] : lists[static_cast<std::size_t>(p)])
            pairs.push_back({p, q, cells});
    return pairs;
}

constexpr auto everyEdge = [](std::size_t, std::size_t, int, int) { return true; };

// The longest boundaries first, at most kRegionMaxPartners per province.
std::vector<RegionPair> acceptPairs(std::vector<RegionPair> candidates, int minCells) {
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const RegionPair& l, const RegionPair& r) { return l.shared > r.shared; });
    std::vector<int> partners(kProvinceSlots, 0);
    std::vector<RegionPair> pairs;
    for (const RegionPair& pair : candidates) {
        if (pair.shared < minCells) break;
        int& pa = partners[static_cast<std::size_t>(pair.a)];
        int& pb = partners[static_cast<std::size_t>(pair.b)];
        if (pa >= kRegionMaxPartners || pb >= kRegionMaxPartners) continue;
        ++pa;
        ++pb;
        pairs.push_back(pair);
    }
    return pairs;
}

int cellsOf(int pixels, int scale) {
    return std::max(1, (pixels + scale - 1) / scale);
}

constexpr auto anywhere = [](quint32, int) { return true; };

// The regions as the picture draws them: growing is dear across any strong change of colour and
// across the coast, so regions stop at whatever the painter drew between provinces.
std::vector<std::int16_t> paintedRegions(const Grid& grid, const std::vector<QPoint>& positions) {
    const auto cells = static_cast<std::size_t>(grid.cells());
    std::vector<std::int16_t> province(cells, 0);
    std::vector<quint32> distance(cells, UINT32_MAX);
    std::vector<quint32> seeds = seedCells(grid, positions, province, distance);
    grow(grid, province, distance, std::move(seeds), anywhere, [&](quint32 from, quint32 to, int) {
        return static_cast<quint32>(grid.barrier[to] + (grid.wet[to] != grid.wet[from] ? kCoast : 0));
    });
    return province;
}

// Where each province lies: sea provinces are what the map says, or else those whose pixel lies in
// open water; a province whose pixel lies in water of any width (a sea, or a land province that is
// a lake) is afloat, at home on the water.
struct Shores {
    std::vector<quint8> sea = std::vector<quint8>(kProvinceSlots, 0);
    std::vector<quint8> afloat = std::vector<quint8>(kProvinceSlots, 0);
};

Shores shoresOf(const Grid& grid, const std::vector<QPoint>& positions, const std::vector<ProvinceGround>& grounds) {
    Shores shores;
    for (std::size_t n = 0; n < positions.size() && n < static_cast<std::size_t>(kMaxProvince); ++n) {
        const int x = positions[n].x(), y = positions[n].y();
        const bool inside = x >= 0 && y >= 0 && x / grid.scale < grid.width && y / grid.scale < grid.height;
        const std::size_t cell = inside ? static_cast<std::size_t>(y / grid.scale) * grid.width + x / grid.scale : 0;
        const ProvinceGround ground = n < grounds.size() ? grounds[n] : ProvinceGround::Unknown;
        shores.sea[n + 1] = ground == ProvinceGround::Unknown ? inside && grid.water[cell] : ground == ProvinceGround::Sea;
        shores.afloat[n + 1] = shores.sea[n + 1] || (inside && grid.pool[cell]);
    }
    return shores;
}

// The regions as the land and the water draw them. Sea provinces keep to open water, so a coast
// divides a sea province from a land one and the sea takes no land. Land provinces may go anywhere,
// but water is dear to those on land, so each keeps to its own shore of a lake, a strait or a bay
// unless the water is far nearer to it than to anyone afloat. A sea province whose pixel lies on
// land (the picture and the map disagree) may go anywhere too. What none reaches goes to the
// nearest region.
std::vector<std::int16_t> geographicRegions(const Grid& grid, const std::vector<QPoint>& positions,
                                            const Shores& shores, const std::vector<quint32>& lateBy = {}) {
    const auto cells = static_cast<std::size_t>(grid.cells());
    std::vector<std::int16_t> province(cells, 0);
    std::vector<quint32> distance(cells, UINT32_MAX);
    std::vector<quint32> seeds = seedCells(grid, positions, province, distance);
    std::vector<quint8> waterOnly(kProvinceSlots, 0);
    // A province that starts late keeps its own pixel all the same.
    std::vector<quint8> seed(lateBy.empty() ? 0 : cells, 0);
    for (const quint32 cell : seeds) {
        const auto p = static_cast<std::size_t>(province[cell]);
        waterOnly[p] = shores.sea[p] && grid.water[cell];
        if (!lateBy.empty()) distance[cell] = lateBy[p], seed[cell] = 1;
    }
    grow(
        grid, province, distance, std::move(seeds),
        [&](quint32 cell, int owner) {
            return (seed.empty() || !seed[cell]) && (grid.water[cell] || !waterOnly[static_cast<std::size_t>(owner)]);
        },
        [&](quint32, quint32 to, int owner) {
            return grid.pool[to] && !shores.afloat[static_cast<std::size_t>(owner)] ? kWaterToll : 0u;
        });
    if (std::find(province.begin(), province.end(), 0) == province.end()) return province;

    const int w = grid.width, h = grid.height;
    std::vector<quint32> frontier;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const auto c = static_cast<std::size_t>(y) * w + x;
            if (province[c] == 0) {
                distance[c] = UINT32_MAX;
                continue;
            }
            distance[c] = 0;
            const bool edge = x == 0 || y == 0 || x + 1 == w || y + 1 == h;
            if (edge || !province[c - 1] || !province[c + 1] || !province[c - w] || !province[c + w])
                frontier.push_back(static_cast<quint32>(c));
        }
    grow(grid, province, distance, std::move(frontier), anywhere, [](quint32, quint32, int) { return 0u; });
    return province;
}

// Map makers put a province's pixel over its middle, so a big province's border lies far from its
// pixel and a small one's near it, where the nearest-pixel regions put every border halfway. Each
// province is given the reach of a disc as large as its nearest-pixel region and starts growing
// late by how much shorter its reach is than the longest: regions then meet where each has covered
// its own reach. (In tenths of a cell, like the growing; at most half the ring of buckets.)
std::vector<quint32> lateStarts(const RegionMap& nearest) {
    std::vector<double> reach(kProvinceSlots, 0);
    for (const std::int16_t p : nearest.province)
        ++reach[static_cast<std::size_t>(std::max<int>(0, p))];
    double longest = 0;
    for (double& r : reach)
        longest = std::max(longest, r = std::sqrt(r / M_PI));
    std::vector<quint32> late(kProvinceSlots, 0);
    for (std::size_t p = 1; p < reach.size(); ++p)
        late[p] = static_cast<quint32>(std::min<double>(kBuckets / 2, std::lround((longest - reach[p]) * kStraight)));
    return late;
}

// Narrow water that runs through the regions of several land provinces is a river, however wide
// its tiles or strokes are drawn: a lake or a strait lies between two provinces only.
std::vector<quint8> riversThrough(const Grid& grid, const RegionMap& regions, const Shores& shores) {
    std::vector<quint8> river(grid.pool.size(), 0), seen(grid.pool.size(), 0);
    // The slivers that open water leaves along its shores run past many provinces too: they are coast.
    const std::vector<quint16> toOpenWater = chamfer(grid.water, grid.width, grid.height, 1);
    const int coast = 3 * ((kRiverWidth / 2 + grid.scale - 1) / grid.scale);
    const auto narrow = [&](quint32 c) { return grid.pool[c] && toOpenWater[c] > coast; };
    const std::vector<quint16> toShore = chamfer(grid.pool, grid.width, grid.height, 0);
    const auto take = [&](quint32 n) { return !seen[n] && narrow(n) ? (seen[n] = 1, true) : false; };
    std::vector<quint32> band, stack;
    std::unordered_map<int, int> owners;
    for (quint32 start = 0; start < river.size(); ++start) {
        if (seen[start] || !narrow(start)) continue;
        seen[start] = 1;
        floodFrom(grid.width, grid.height, start, take, stack, band);
        owners.clear();
        for (const quint32 c : band)
            if (const int owner = regions.province[c]; owner > 0 && !shores.afloat[static_cast<std::size_t>(owner)])
                ++owners[owner];
        const auto through = std::count_if(owners.begin(), owners.end(), [&](const auto& owner) {
            return owner.second >= kRiverShare * static_cast<double>(band.size());
        });
        int half = 1;
        for (const quint32 c : band)
            half = std::max<int>(half, toShore[c]);
        const double across = 2.0 * half / 3.0; // cells
        const double along = static_cast<double>(band.size()) / across;
        if (through < 3 || along < kRiverLength * across) continue;
        for (const quint32 c : band)
            river[c] = 1;
    }
    return river;
}

// The pairs of the geographic regions. Two land provinces meet over land: where most of the
// boundary between their regions lies in water they face each other across a lake or a strait (a
// river crosses a boundary and takes only a little of it). And a boundary short beside the size of
// the smaller region is where three or four regions happen to meet, not a border.
std::vector<RegionPair> geographicPairs(const Grid& grid, const RegionMap& regions, const Shores& shores) {
    const auto afloat = [&](int p) { return shores.afloat[static_cast<std::size_t>(p)] != 0; };
    const auto key = [](const RegionPair& pair) { return pair.a * kProvinceSlots + pair.b; };
    std::unordered_map<int, int> overLand;
    const std::vector<quint8> river = riversThrough(grid, regions, shores);
    for (const RegionPair& pair : sharedBoundaries(regions, grid.wrap, [&](std::size_t i, std::size_t j, int p, int q) {
             return !afloat(p) && !afloat(q) && (!grid.pool[i] || river[i]) && (!grid.pool[j] || river[j]);
         }))
        overLand[key(pair)] = pair.shared;
    std::vector<qint64> area(kProvinceSlots, 0);
    for (const std::int16_t p : regions.province)
        ++area[static_cast<std::size_t>(std::max<int>(0, p))];

    std::vector<RegionPair> pairs = sharedBoundaries(regions, grid.wrap, everyEdge);
    std::erase_if(pairs, [&](const RegionPair& pair) {
        const qint64 smaller = std::min(area[static_cast<std::size_t>(pair.a)], area[static_cast<std::size_t>(pair.b)]);
        if (pair.shared < kMinShareOfSize * std::sqrt(static_cast<double>(smaller))) return true;
        if (afloat(pair.a) || afloat(pair.b)) return false;
        const auto land = overLand.find(key(pair));
        return land == overLand.end() || land->second < kMinShareOverLand * pair.shared;
    });
    return acceptPairs(std::move(pairs), cellsOf(kRegionMinSharedBoundary, grid.scale));
}

// The share of the picture's strong edges that lie where two regions meet (within a few pixels:
// an edge is measured a little to either side of a painted line).
double bordersShare(const Grid& grid, const std::vector<std::int16_t>& province) {
    const int w = grid.width, h = grid.height;
    std::vector<quint8> boundary(province.size(), 0);
    for (int y = 0; y + 1 < h; ++y)
        for (int x = 0; x + 1 < w; ++x) {
            const auto c = static_cast<std::size_t>(y) * w + x;
            boundary[c] = province[c] != province[c + 1] || province[c] != province[c + static_cast<std::size_t>(w)];
        }
    const std::vector<quint16> toBoundary = chamfer(boundary, w, h, 1);
    const int near = 3 * std::max(1, 4 / grid.scale);
    qint64 edges = 0, onBorders = 0;
    for (std::size_t c = 0; c < province.size(); ++c) {
        if (grid.barrier[c] < kStrongEdge) continue;
        ++edges;
        onBorders += toBoundary[c] <= near;
    }
    return edges > 0 ? static_cast<double>(onBorders) / static_cast<double>(edges) : 0.0;
}

// Each cell takes the province at the middle of its tile.
void snapToTiles(RegionMap& regions, const Tiling& tiling) {
    const std::vector<std::int16_t> before = regions.province;
    const int s = regions.scale;
    const auto middle = [s](int cell, const TileRun& run, int cells) {
        const int pixel = cell * s + s / 2;
        const int tile = (pixel - run.offset + run.size) / run.size - 1;
        return std::clamp((run.offset + tile * run.size + run.size / 2) / s, 0, cells - 1);
    };
    for (int y = 0; y < regions.height; ++y) {
        const int my = middle(y, tiling.down, regions.height);
        for (int x = 0; x < regions.width; ++x)
            regions.province[static_cast<std::size_t>(y) * regions.width + x] =
                before[static_cast<std::size_t>(my) * regions.width + middle(x, tiling.across, regions.width)];
    }
}

} // namespace

RegionGuess guessNearestRegions(QSize picture, const std::vector<QPoint>& positions, bool wrapAround,
                                int minSharedPixels) {
    RegionGuess guess;
    if (picture.isEmpty() || positions.empty()) return guess;
    const Grid grid = gridFor(picture, wrapAround, kMaxCells);
    const auto cells = static_cast<std::size_t>(grid.cells());
    std::vector<std::int16_t> province(cells, 0);
    std::vector<quint32> distance(cells, UINT32_MAX);
    std::vector<quint32> seeds = seedCells(grid, positions, province, distance);
    grow(grid, province, distance, std::move(seeds), anywhere, [](quint32, quint32, int) { return 0u; });
    guess.regions = {grid.width, grid.height, grid.scale, std::move(province)};
    guess.pairs = acceptPairs(sharedBoundaries(guess.regions, wrapAround, everyEdge),
                              cellsOf(minSharedPixels, grid.scale));
    return guess;
}

RegionGuess guessRegions(const QImage& picture, const std::vector<QPoint>& positions, bool wrapAround,
                         const std::vector<ProvinceGround>& grounds, std::int64_t maxCells) {
    RegionGuess guess;
    if (picture.isNull() || positions.empty()) return guess;
    const QImage rgb = picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32
                           ? picture
                           : picture.convertToFormat(QImage::Format_RGB32);
    Grid grid = gridFor(rgb.size(), wrapAround, maxCells > 0 ? std::min<qint64>(maxCells, kMaxCells) : kMaxCells);
    averageColours(rgb, grid);
    findWater(grid);
    findOpenWater(grid);
    findBarriers(grid);
    quietRivers(grid);
    for (auto& plane : grid.colour)
        plane = {};

    // Where the picture draws its borders, the regions follow them (and its coast, but not its
    // rivers); where its edges are relief, texture or tiles, nothing in it is taken as a border.
    std::vector<std::int16_t> painted = paintedRegions(grid, positions);
    const double share = bordersShare(grid, painted);
    if (share >= kBorderedShare) {
        guess.regions = {grid.width, grid.height, grid.scale, std::move(painted)};
        guess.pairs = acceptPairs(sharedBoundaries(guess.regions, wrapAround, everyEdge),
                                  cellsOf(kRegionMinSharedBorder, grid.scale));
        return guess;
    }
    // Elsewhere geography rules: the coast, and the lakes and straits between land provinces.
    keepWide(grid.pool, grid.width, grid.height, kLineWidth, grid.scale);
    const Shores shores = shoresOf(grid, positions, grounds);
    guess.regions = {grid.width, grid.height, grid.scale, geographicRegions(grid, positions, shores)};
    // Tile art is painted tile by tile: each tile is one province's. Its pixels sit over the middle
    // of their provinces, for a tile province is too small for its name anywhere else. (Painted
    // maps place theirs less evenly: there the sizes cost more than they give.)
    if (const Tiling tiling = tilingOf(rgb); tiling.isTiled()) {
        guess.regions.province = geographicRegions(grid, positions, shores, lateStarts(guess.regions));
        snapToTiles(guess.regions, tiling);
    }
    guess.pairs = geographicPairs(grid, guess.regions, shores);
    return guess;
}

std::vector<RegionPair> touchingRegions(const RegionMap& regions, bool wrap) {
    return sharedBoundaries(regions, wrap, everyEdge);
}

std::vector<QPoint> provincePixels(const MapDocument& doc) {
    std::vector<QPoint> positions;
    const int count = std::clamp<int>(doc.ProvinceCount, 0, kMaxProvince);
    positions.reserve(static_cast<std::size_t>(count));
    for (int n = 1; n <= count; ++n)
        positions.emplace_back(doc.Provinces[n].ProvinceX, doc.Provinces[n].ProvinceY - 1);
    return positions;
}

RegionGuess guessRegions(const MapDocument& doc, const QImage& picture) {
    std::vector<ProvinceGround> grounds;
    const int count = std::clamp<int>(doc.ProvinceCount, 0, kMaxProvince);
    grounds.reserve(static_cast<std::size_t>(count));
    for (int n = 1; n <= count; ++n) {
        const ProvinceDataType& p = doc.Provinces[n];
        grounds.push_back(p.Terrain < 0       ? ProvinceGround::Unknown
                          : p.TerrainBit[2] ? ProvinceGround::Sea
                                            : ProvinceGround::Land);
    }
    return guessRegions(picture, provincePixels(doc), doc.WrapAround, grounds);
}

QImage regionOverlay(const RegionMap& regions) {
    QImage overlay(regions.width, regions.height, QImage::Format_ARGB32);
    if (overlay.isNull()) return overlay;
    // Neighbouring numbers lie close together on the picture, so the hue jumps by the golden angle.
    std::vector<QRgb> fill(kProvinceSlots), edge(kProvinceSlots);
    for (int p = 1; p < kProvinceSlots; ++p) {
        const QColor c = QColor::fromHsv((p * 137) % 360, 170, 235);
        fill[static_cast<std::size_t>(p)] = qRgba(c.red(), c.green(), c.blue(), 90);
        edge[static_cast<std::size_t>(p)] = qRgba(c.red() / 4, c.green() / 4, c.blue() / 4, 210);
    }
    const int w = regions.width, h = regions.height;
    for (int y = 0; y < h; ++y) {
        auto* out = reinterpret_cast<QRgb*>(overlay.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int p = regions.at(x, y);
            if (p <= 0) {
                out[x] = 0;
                continue;
            }
            const bool boundary = (x + 1 < w && regions.at(x + 1, y) != p) ||
                                  (y + 1 < h && regions.at(x, y + 1) != p);
            out[x] = boundary ? edge[static_cast<std::size_t>(p)] : fill[static_cast<std::size_t>(p)];
        }
    }
    return overlay;
}

} // namespace ts
