#include "regionguess.h"

#include "mapdocument.h"

#include <QColor>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <set>

namespace ts {

namespace {

// Growing on more cells than this is not worth the time: a 4000x3000 picture is grown on 2x2 cells,
// which still keeps a one-pixel painted line (it darkens its whole cell).
constexpr qint64 kMaxCells = 4'200'000;

// Costs of growing into a cell, in tenths of a pixel of plain ground.
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
constexpr int kMaxStep = kDiagonal + kMaxBarrier + kCoast;
constexpr int kBuckets = 8192; // a power of two above kMaxStep
static_assert(kBuckets > kMaxStep);

bool isWater(int r, int g, int b) {
    return b > r + 30 && b > g + 10;
}

struct Grid {
    int width = 0, height = 0, scale = 1;
    bool wrap = false;
    std::vector<quint32> colour;  // averaged 0x00RRGGBB per cell
    std::vector<quint16> barrier; // cost of growing into the cell beyond its distance
    std::vector<quint8> water;

    qsizetype cells() const { return static_cast<qsizetype>(width) * height; }
};

// Each cell holds the average of a block of at least 2x2 pixels: on the full-size grid that is a
// light blur, which takes the grain out of textured ground before edges are looked for.
void averageColours(const QImage& picture, Grid& grid) {
    const int w = picture.width(), h = picture.height(), s = grid.scale;
    const int block = std::max(s, 2);
    grid.colour.resize(static_cast<std::size_t>(grid.cells()));
    std::vector<const quint32*> rows(static_cast<std::size_t>(block));
    std::vector<int> columns(static_cast<std::size_t>(block));
    for (int cy = 0; cy < grid.height; ++cy) {
        for (int k = 0; k < block; ++k)
            rows[static_cast<std::size_t>(k)] =
                reinterpret_cast<const quint32*>(picture.constScanLine(std::min(cy * s + k, h - 1)));
        quint32* out = grid.colour.data() + static_cast<qsizetype>(cy) * grid.width;
        for (int cx = 0; cx < grid.width; ++cx) {
            for (int k = 0; k < block; ++k)
                columns[static_cast<std::size_t>(k)] = std::min(cx * s + k, w - 1);
            quint32 r = 0, g = 0, b = 0;
            for (const quint32* row : rows)
                for (const int x : columns) {
                    const quint32 p = row[x];
                    r += (p >> 16) & 0xFF;
                    g += (p >> 8) & 0xFF;
                    b += p & 0xFF;
                }
            const quint32 n = static_cast<quint32>(block * block);
            out[cx] = ((r / n) << 16) | ((g / n) << 8) | (b / n);
        }
    }
}

int channelDistance(quint32 p, quint32 q, int shift) {
    return std::abs(static_cast<int>((p >> shift) & 0xFF) - static_cast<int>((q >> shift) & 0xFF));
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
    grid.water.resize(static_cast<std::size_t>(grid.cells()));
    auto wrapOrClamp = [&](int v, int size) {
        if (grid.wrap) return (v + size) % size;
        return std::clamp(v, 0, size - 1);
    };
    for (int y = 0; y < h; ++y) {
        const quint32* row = grid.colour.data() + static_cast<qsizetype>(y) * w;
        const quint32* up = grid.colour.data() + static_cast<qsizetype>(wrapOrClamp(y - 1, h)) * w;
        const quint32* down = grid.colour.data() + static_cast<qsizetype>(wrapOrClamp(y + 1, h)) * w;
        const quint32* upFar = grid.colour.data() + static_cast<qsizetype>(wrapOrClamp(y - kFar, h)) * w;
        const quint32* downFar = grid.colour.data() + static_cast<qsizetype>(wrapOrClamp(y + kFar, h)) * w;
        quint16* barrier = grid.barrier.data() + static_cast<qsizetype>(y) * w;
        quint8* water = grid.water.data() + static_cast<qsizetype>(y) * w;
        for (int x = 0; x < w; ++x) {
            const quint32 left = row[wrapOrClamp(x - 1, w)], right = row[wrapOrClamp(x + 1, w)];
            const quint32 leftFar = row[wrapOrClamp(x - kFar, w)], rightFar = row[wrapOrClamp(x + kFar, w)];
            int e = 0, far = 0;
            for (const int shift : {0, 8, 16}) {
                e += std::max(channelDistance(left, right, shift), channelDistance(up[x], down[x], shift));
                far += std::max(channelDistance(leftFar, rightFar, shift), channelDistance(upFar[x], downFar[x], shift));
            }
            e = std::max(e, far);
            barrier[x] = cost[static_cast<std::size_t>(e)];
            const quint32 p = row[x];
            water[x] = isWater(static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                               static_cast<int>(p & 0xFF))
                           ? 1
                           : 0;
        }
    }
}

// Every cell goes to the province that reaches it most cheaply (Dial's shortest paths: the step
// costs are small whole numbers, so a ring of buckets replaces the heap).
std::vector<std::int16_t> growRegions(const Grid& grid, const std::vector<QPoint>& positions) {
    const int w = grid.width, h = grid.height;
    const auto cells = static_cast<std::size_t>(grid.cells());
    std::vector<std::int16_t> province(cells, 0);
    std::vector<quint32> distance(cells, UINT32_MAX);
    std::vector<std::vector<quint32>> buckets(kBuckets);
    std::size_t pending = 0;

    for (std::size_t n = 0; n < positions.size() && n < static_cast<std::size_t>(kMaxProvince); ++n) {
        const QPoint at = positions[n];
        const int cx = at.x() / grid.scale, cy = at.y() / grid.scale;
        if (at.x() < 0 || at.y() < 0 || cx >= w || cy >= h) continue;
        const auto cell = static_cast<quint32>(cy * w + cx);
        if (province[cell] != 0) continue; // two provinces in one cell: the first keeps it
        province[cell] = static_cast<std::int16_t>(n + 1);
        distance[cell] = 0;
        buckets[0].push_back(cell);
        ++pending;
    }

    static constexpr int dx[8] = {1, -1, 0, 0, 1, 1, -1, -1};
    static constexpr int dy[8] = {0, 0, 1, -1, 1, -1, 1, -1};
    static constexpr int step[8] = {kStraight, kStraight, kStraight, kStraight,
                                    kDiagonal, kDiagonal, kDiagonal, kDiagonal};
    std::vector<quint32> current;
    for (quint32 d = 0; pending > 0; ++d) {
        std::vector<quint32>& bucket = buckets[d & (kBuckets - 1)];
        if (bucket.empty()) continue;
        current.swap(bucket);
        pending -= current.size();
        for (const quint32 cell : current) {
            if (distance[cell] != d) continue; // reached more cheaply since it was queued
            const int y = static_cast<int>(cell) / w, x = static_cast<int>(cell) - y * w;
            const std::int16_t owner = province[cell];
            const quint8 water = grid.water[cell];
            for (int k = 0; k < 8; ++k) {
                int nx = x + dx[k], ny = y + dy[k];
                if (nx < 0 || nx >= w || ny < 0 || ny >= h) {
                    if (!grid.wrap) continue;
                    nx = (nx + w) % w;
                    ny = (ny + h) % h;
                }
                const auto next = static_cast<quint32>(ny * w + nx);
                const quint32 nd = d + static_cast<quint32>(step[k]) + grid.barrier[next] +
                                   (grid.water[next] != water ? kCoast : 0);
                if (nd >= distance[next]) continue;
                distance[next] = nd;
                province[next] = owner;
                buckets[nd & (kBuckets - 1)].push_back(next);
                ++pending;
            }
        }
        current.clear();
    }
    return province;
}

// Shared boundary per pair of provinces, counted over the cell edges between their regions.
std::vector<RegionPair> sharedBoundaries(const RegionMap& regions, bool wrap) {
    std::vector<std::vector<std::pair<int, int>>> counts(kProvinceSlots); // lower number -> (higher, cells)
    auto count = [&](int p, int q) {
        if (p == q || p <= 0 || q <= 0) return;
        if (p > q) std::swap(p, q);
        auto& list = counts[static_cast<std::size_t>(p)];
        for (auto& [other, cells] : list)
            if (other == q) {
                ++cells;
                return;
            }
        list.emplace_back(q, 1);
    };
    const int w = regions.width, h = regions.height;
    for (int y = 0; y < h; ++y) {
        const std::int16_t* row = regions.province.data() + static_cast<qsizetype>(y) * w;
        const int below = y + 1 < h ? y + 1 : (wrap ? 0 : -1);
        const std::int16_t* next = below >= 0 ? regions.province.data() + static_cast<qsizetype>(below) * w : nullptr;
        for (int x = 0; x < w; ++x) {
            if (x + 1 < w) count(row[x], row[x + 1]);
            else if (wrap) count(row[x], row[0]);
            if (next) count(row[x], next[x]);
        }
    }
    std::vector<RegionPair> pairs;
    for (int p = 1; p < kProvinceSlots; ++p)
        for (const auto& [q, cells] : counts[static_cast<std::size_t>(p)])
            pairs.push_back({p, q, cells});
    return pairs;
}

} // namespace

RegionGuess guessRegions(const QImage& picture, const std::vector<QPoint>& positions, bool wrapAround) {
    RegionGuess guess;
    if (picture.isNull() || positions.empty()) return guess;
    const QImage rgb = picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32
                           ? picture
                           : picture.convertToFormat(QImage::Format_RGB32);

    Grid grid;
    grid.wrap = wrapAround;
    while (static_cast<qint64>((rgb.width() + grid.scale - 1) / grid.scale) *
               ((rgb.height() + grid.scale - 1) / grid.scale) >
           kMaxCells)
        ++grid.scale;
    grid.width = (rgb.width() + grid.scale - 1) / grid.scale;
    grid.height = (rgb.height() + grid.scale - 1) / grid.scale;
    averageColours(rgb, grid);
    findBarriers(grid);

    guess.regions.width = grid.width;
    guess.regions.height = grid.height;
    guess.regions.scale = grid.scale;
    guess.regions.province = growRegions(grid, positions);

    std::vector<RegionPair> candidates = sharedBoundaries(guess.regions, wrapAround);
    const int minCells = (kRegionMinSharedBoundary + grid.scale - 1) / grid.scale;
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const RegionPair& l, const RegionPair& r) { return l.shared > r.shared; });
    std::vector<int> partners(kProvinceSlots, 0);
    for (const RegionPair& pair : candidates) {
        if (pair.shared < minCells) break;
        int& pa = partners[static_cast<std::size_t>(pair.a)];
        int& pb = partners[static_cast<std::size_t>(pair.b)];
        if (pa >= kRegionMaxPartners || pb >= kRegionMaxPartners) continue;
        ++pa;
        ++pb;
        guess.pairs.push_back(pair);
    }
    return guess;
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
    return guessRegions(picture, provincePixels(doc), doc.WrapAround);
}

void applyNeighbourPairs(MapDocument& doc, const std::vector<RegionPair>& pairs) {
    const int count = std::clamp<int>(doc.ProvinceCount, 0, kMaxProvince);
    for (int n = 1; n <= count; ++n)
        for (std::int16_t& slot : doc.Provinces[n].Neighbours)
            slot = -1;
    auto add = [](ProvinceDataType& province, int partner) {
        for (std::int16_t& slot : province.Neighbours)
            if (slot < 1) {
                slot = static_cast<std::int16_t>(partner);
                return;
            }
    };
    for (const RegionPair& pair : pairs) {
        if (pair.a < 1 || pair.b < 1 || pair.a > count || pair.b > count || pair.a == pair.b) continue;
        add(doc.Provinces[pair.a], pair.b);
        add(doc.Provinces[pair.b], pair.a);
    }
}

std::vector<RegionPair> neighbourPairs(const MapDocument& doc) {
    const int count = std::clamp<int>(doc.ProvinceCount, 0, kMaxProvince);
    std::set<std::pair<int, int>> seen;
    for (int p = 1; p <= count; ++p)
        for (const std::int16_t q : doc.Provinces[p].Neighbours)
            if (q >= 1 && q <= count && q != p) seen.insert({std::min<int>(p, q), std::max<int>(p, q)});
    std::vector<RegionPair> pairs;
    pairs.reserve(seen.size());
    for (const auto& [a, b] : seen)
        pairs.push_back({a, b, 0});
    return pairs;
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
