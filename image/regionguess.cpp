#include "regionguess.h"

#include "mapdocument.h"

#include <QColor>
#include <algorithm>
#include <array>
#include <cstdlib>

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
    std::array<std::vector<quint8>, 3> colour; // averaged red, green and blue per cell
    std::vector<quint16> barrier; // cost of growing into the cell beyond its distance
    std::vector<quint8> water;

    qsizetype cells() const { return static_cast<qsizetype>(width) * height; }
};

// Each cell holds the average of a block of at least 2x2 pixels: on the full-size grid that is a
// light blur, which takes the grain out of textured ground before edges are looked for.
void averageColours(const QImage& picture, Grid& grid) {
    const int w = picture.width(), h = picture.height(), s = grid.scale;
    const int block = std::max(s, 2);
    const auto n = static_cast<quint32>(block * block);
    for (auto& plane : grid.colour)
        plane.resize(static_cast<std::size_t>(grid.cells()));
    std::vector<int> firstColumn(static_cast<std::size_t>(grid.width));
    for (int cx = 0; cx < grid.width; ++cx)
        firstColumn[static_cast<std::size_t>(cx)] = std::min(cx * s, w - block);
    std::vector<const quint32*> rows(static_cast<std::size_t>(block));
    for (int cy = 0; cy < grid.height; ++cy) {
        // The last cells take the last full block, so no pixel is read twice over or past the edge.
        const int top = std::max(0, std::min(cy * s, h - block));
        for (int k = 0; k < block; ++k)
            rows[static_cast<std::size_t>(k)] =
                reinterpret_cast<const quint32*>(picture.constScanLine(std::min(top + k, h - 1)));
        const qsizetype out = static_cast<qsizetype>(cy) * grid.width;
        for (int cx = 0; cx < grid.width; ++cx) {
            const int left = std::max(0, firstColumn[static_cast<std::size_t>(cx)]);
            // Red and blue add up side by side in one word; a block of up to 16x16 cannot overflow.
            quint32 redBlue = 0, green = 0;
            if (block == 2 && left + 1 < w) { // the usual case, written out
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
            grid.colour[0][static_cast<std::size_t>(out + cx)] = static_cast<quint8>((redBlue >> 16) / n);
            grid.colour[1][static_cast<std::size_t>(out + cx)] = static_cast<quint8>(green / n);
            grid.colour[2][static_cast<std::size_t>(out + cx)] = static_cast<quint8>((redBlue & 0xFFFFu) / n);
        }
    }
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
        quint8* water = grid.water.data() + row;
        const quint8 *r = grid.colour[0].data() + row, *g = grid.colour[1].data() + row, *b = grid.colour[2].data() + row;
        for (int x = 0; x < w; ++x) {
            const auto at = static_cast<std::size_t>(x);
            barrier[x] = cost[static_cast<std::size_t>(std::max(nearChange[at], farChange[at]))];
            water[x] = isWater(r[x], g[x], b[x]) ? 1 : 0;
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
    qsizetype offset[8];
    for (int k = 0; k < 8; ++k)
        offset[k] = static_cast<qsizetype>(dy[k]) * w + dx[k];
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
            auto relax = [&](quint32 next, int k) {
                const quint32 nd = d + static_cast<quint32>(step[k]) + grid.barrier[next] +
                                   (grid.water[next] != water ? kCoast : 0);
                if (nd >= distance[next]) return;
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
        for (int x = 0; x + 1 < w; ++x)
            if (row[x] != row[x + 1]) count(row[x], row[x + 1]);
        if (wrap && row[w - 1] != row[0]) count(row[w - 1], row[0]);
        if (next)
            for (int x = 0; x < w; ++x)
                if (row[x] != next[x]) count(row[x], next[x]);
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
