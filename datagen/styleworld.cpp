#include "styleworld.h"

#include <array>
#include <cmath>
#include <deque>
#include <limits>
#include <map>

namespace ts::datagen {

namespace {

// Provinces sharing fewer pixel edges than this only touch at a corner; map makers leave them.
constexpr int kMinSharedBorder = 12;
// A province pixel keeps this far from every border, further than the painters move a coast.
constexpr int kWhiteMargin = 16;

struct StyleRecipe {
    int width, height, spacing;
    // Seeds keep between closest and closest + spread times the spacing apart, by where they lie.
    double closest, spread;
    int tileWidth, tileHeight;
    int parted, lakes, islets, rivers, roads;
    std::uint64_t salt;
};

const StyleRecipe& recipeOf(ArtStyle style) {
    // Picture sizes, province counts and spacing of the maps map makers publish: a tall island of
    // some 70 provinces whose neighbours lie a median 140 px apart, a wide tile world whose
    // provinces run from a few tiles to a dozen or more across (neighbours up to some 250 px
    // apart, as on the painted maps), two mid-sized painted worlds.
    static const StyleRecipe recipes[] = {
        {1000, 1400, 120, 0.6, 0.9, 0, 0, 6, 5, 14, 0, 0, 101}, // Painted
        {1280, 720, 80, 0.5, 1.5, 16, 24, 4, 4, 8, 5, 0, 102},  // Tiles
        {1200, 900, 98, 0.6, 0.9, 0, 0, 5, 4, 8, 0, 0, 103},    // Borders
        {1200, 900, 90, 0.6, 0.9, 0, 0, 5, 3, 8, 9, 26, 104},   // Rivers
    };
    return recipes[static_cast<int>(style)];
}

float distance(QPoint a, QPoint b) {
    return static_cast<float>(std::hypot(a.x() - b.x(), a.y() - b.y()));
}

// The pixels of provinces a and b within reach of their common border, reach varying along it.
std::vector<std::size_t> bandAlong(const StyleWorld& w, int a, int b, const ValueNoise& wobble, double reach,
                                   double spread) {
    const int W = w.width, H = w.height;
    std::vector<QPoint> nearest(w.label.size(), QPoint(-1, -1));
    std::deque<QPoint> queue;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const int here = w.label[w.at(x, y)];
            if (here != a && here != b) continue;
            const int other = here == a ? b : a;
            const bool onBorder = (x > 0 && w.label[w.at(x - 1, y)] == other) ||
                                  (x + 1 < W && w.label[w.at(x + 1, y)] == other) ||
                                  (y > 0 && w.label[w.at(x, y - 1)] == other) ||
                                  (y + 1 < H && w.label[w.at(x, y + 1)] == other);
            if (onBorder) {
                nearest[w.at(x, y)] = QPoint(x, y);
                queue.emplace_back(x, y);
            }
        }
    std::vector<std::size_t> band;
    while (!queue.empty()) {
        const QPoint p = queue.front();
        queue.pop_front();
        band.push_back(w.at(p.x(), p.y()));
        const QPoint source = nearest[w.at(p.x(), p.y())];
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int nx = p.x() + dx, ny = p.y() + dy;
                if (nx < 0 || ny < 0 || nx >= W || ny >= H) continue;
                const std::size_t i = w.at(nx, ny);
                if (nearest[i].x() >= 0 || (w.label[i] != a && w.label[i] != b)) continue;
                const double limit = reach + (wobble.at(nx, ny) - 0.5) * 2 * spread;
                if (distance(QPoint(nx, ny), source) > limit) continue;
                nearest[i] = source;
                queue.emplace_back(nx, ny);
            }
    }
    return band;
}

float nearestWhite(const MapLayout& layout, QPoint p) {
    float best = std::numeric_limits<float>::max();
    for (std::size_t q = 0; q < layout.x.size(); ++q)
        best = std::min(best, distance(p, QPoint(layout.x[q], layout.y[q])));
    return best;
}

// A roundish blob of surface around a point, its edge wandering with the noise.
void paintBlob(StyleWorld& w, QPoint centre, double radius, Surface surface, const ValueNoise& wobble) {
    const int r = static_cast<int>(std::ceil(radius * 1.3));
    for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx) {
            const int x = centre.x() + dx, y = centre.y() + dy;
            if (x < 0 || y < 0 || x >= w.width || y >= w.height) continue;
            if (std::hypot(dx, dy) <= radius * (0.7 + 0.6 * wobble.at(x, y)))
                w.surface[w.at(x, y)] = surface;
        }
}

// Water between land provinces: straits that open on the sea first, then lakes between two
// provinces inland. The pair stops being neighbours once the truth is taken again.
void partProvinces(StyleWorld& w, const StyleRecipe& recipe, Rng& rng, std::vector<int>& neighbourCount) {
    auto& pairs = w.layout.neighbours;
    std::vector<std::size_t> order(pairs.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    for (std::size_t i = order.size(); i > 1; --i)
        std::swap(order[i - 1], order[static_cast<std::size_t>(rng.range(0, static_cast<int>(i) - 1))]);
    auto opensOnSea = [&](int a, int b) {
        for (const auto& [p, q] : pairs)
            for (const auto& [r, s] : pairs) {
                const int c = p == a ? q : q == a ? p : 0;
                if (c == 0 || !w.layout.sea[static_cast<std::size_t>(c - 1)]) continue;
                if ((r == b && s == c) || (s == b && r == c)) return true;
            }
        return false;
    };
    const ValueNoise wobble(rng, w.width, w.height, 23);
    std::vector<std::size_t> dropped;
    for (int pass = 0; pass < 2; ++pass)
        for (const std::size_t i : order) {
            if (static_cast<int>(dropped.size()) >= recipe.parted * (pass + 1) / 2) break;
            const auto [a, b] = pairs[i];
            const auto ia = static_cast<std::size_t>(a - 1), ib = static_cast<std::size_t>(b - 1);
            if (w.layout.sea[ia] || w.layout.sea[ib] || neighbourCount[ia] < 3 || neighbourCount[ib] < 3) continue;
            if (w.borderLength[i] < 30 || w.borderLength[i] > 260) continue;
            if (std::find(dropped.begin(), dropped.end(), i) != dropped.end()) continue;
            if (pass == 0 && !opensOnSea(a, b)) continue;
            const double reach = w.tileWidth ? (rng.chance(0.5) ? 14 : 26) : rng.range(7, 15);
            const std::vector<std::size_t> band = bandAlong(w, a - 1, b - 1, wobble, reach, w.tileWidth ? 0 : 4);
            bool clear = true;
            for (const std::size_t p : band)
                for (const std::size_t q : {ia, ib})
                    if (distance(QPoint(static_cast<int>(p % w.width), static_cast<int>(p / w.width)),
                                 QPoint(w.layout.x[q], w.layout.y[q])) < kWhiteMargin + 14)
                        clear = false;
            if (!clear) continue;
            for (const std::size_t p : band)
                w.surface[p] = Surface::Parted;
            dropped.push_back(i);
            --neighbourCount[ia];
            --neighbourCount[ib];
        }
}

// A point well inside province p, clear of its borders by margin and of every province pixel by
// whiteMargin; (-1, -1) when none is found.
QPoint pointInside(const StyleWorld& w, const Cells& cells, const std::vector<int>& cellsOf, int p, int margin,
                   float whiteMargin, Rng& rng) {
    for (int attempt = 0; attempt < 40; ++attempt) {
        const auto& c = cells.seeds[static_cast<std::size_t>(rng.pick(cellsOf))];
        const QPoint point(c.x + rng.range(-30, 30), c.y + rng.range(-30, 30));
        if (clearOfOthers(w.label, w.width, w.height, point.x(), point.y(), p, margin) &&
            nearestWhite(w.layout, point) >= whiteMargin)
            return point;
    }
    return {-1, -1};
}

// Tile provinces are a few tiles across, too small for a name anywhere but over their middle, so
// map makers put their pixel there: a little off the middle of the province's tiles, on the nearest
// spot clear of other provinces by margin.
std::vector<Cells::Seed> placeNearMiddle(const Cells& cells, const std::vector<int>& label, Rng& rng, int margin) {
    const int W = cells.width;
    std::vector<std::vector<int>> pixels(cells.seeds.size());
    for (std::size_t i = 0; i < label.size(); ++i)
        pixels[static_cast<std::size_t>(label[i])].push_back(static_cast<int>(i));
    std::vector<Cells::Seed> white(cells.seeds.begin(), cells.seeds.end());
    for (std::size_t p = 0; p < pixels.size(); ++p) {
        double sx = 0, sy = 0;
        for (const int i : pixels[p])
            sx += i % W, sy += i / W;
        const double n = std::max<double>(1, pixels[p].size());
        const int jitter = static_cast<int>(std::lround(0.1 * std::sqrt(n)));
        const double tx = sx / n + rng.range(-jitter, jitter), ty = sy / n + rng.range(-jitter, jitter);
        auto away = [&](int i) { return (i % W - tx) * (i % W - tx) + (i / W - ty) * (i / W - ty); };
        std::sort(pixels[p].begin(), pixels[p].end(), [&](int a, int b) { return away(a) < away(b); });
        // A province too narrow for the margin anywhere still gets its pixel on its own ground, as
        // far from the others as it allows.
        bool placed = false;
        for (int clear = margin; clear >= 0 && !placed; clear -= 2)
            for (const int i : pixels[p])
                if (clearOfOthers(label, W, cells.height, i % W, i / W, static_cast<int>(p), clear)) {
                    white[p] = {i % W, i / W};
                    placed = true;
                    break;
                }
    }
    return white;
}

// A river from a source inland, meandering towards the nearest sea province, through as many
// provinces as lie in its way; empty when it would pass a province pixel.
StyleWorld::Line traceRiver(const StyleWorld& w, QPointF source, const ValueNoise& meander, Rng& rng) {
    const MapLayout& m = w.layout;
    double bestDistance = 1e18;
    QPointF mouth;
    for (std::size_t p = 0; p < m.x.size(); ++p)
        if (m.sea[p]) {
            const double d = std::hypot(m.x[p] - source.x(), m.y[p] - source.y());
            if (d < bestDistance) bestDistance = d, mouth = QPointF(m.x[p], m.y[p]);
        }
    // Rivers worth drawing rise far inland.
    if (bestDistance < 170) return {};
    StyleWorld::Line river;
    river.startWidth = 1.5;
    river.endWidth = 3.5 + rng.range(0, 3) * 0.5;
    QPointF at = source;
    const double twist = rng.range(0, 1) ? 1.4 : -1.4;
    for (int step = 0; step < 260; ++step) {
        river.points.push_back(at);
        const int x = static_cast<int>(at.x()), y = static_cast<int>(at.y());
        if (x < 1 || y < 1 || x >= w.width - 1 || y >= w.height - 1) break;
        if (w.surface[w.at(x, y)] != Surface::Land) return river.points.size() > 20 ? river : StyleWorld::Line{};
        if (nearestWhite(m, at.toPoint()) < 11) return {};
        const double heading = std::atan2(mouth.y() - at.y(), mouth.x() - at.x()) +
                               (meander.at(at.x(), at.y()) - 0.5) * 2 * twist;
        at += QPointF(std::cos(heading), std::sin(heading)) * 3.0;
    }
    return {};
}

void snapToTiles(StyleWorld& w, std::vector<int>& label) {
    for (int ty = 0; ty < w.height; ty += w.tileHeight)
        for (int tx = 0; tx < w.width; tx += w.tileWidth) {
            const int cx = std::min(tx + w.tileWidth / 2, w.width - 1), cy = std::min(ty + w.tileHeight / 2, w.height - 1);
            const int owner = label[w.at(cx, cy)];
            const Surface surface = w.surface.empty() ? Surface::Land : w.surface[w.at(cx, cy)];
            for (int y = ty; y < std::min(ty + w.tileHeight, w.height); ++y)
                for (int x = tx; x < std::min(tx + w.tileWidth, w.width); ++x) {
                    label[w.at(x, y)] = owner;
                    if (!w.surface.empty()) w.surface[w.at(x, y)] = surface;
                }
        }
}

// A band of one or two river tiles from an inland tile down to the sea, turning now and then.
void tileRiver(StyleWorld& w, Rng& rng) {
    const int columns = w.width / w.tileWidth, rows = w.height / w.tileHeight;
    auto surfaceOf = [&](int c, int r) { return w.surface[w.at(c * w.tileWidth + w.tileWidth / 2, r * w.tileHeight + w.tileHeight / 2)]; };
    auto nearWhite = [&](int c, int r) {
        return nearestWhite(w.layout, QPoint(c * w.tileWidth + w.tileWidth / 2, r * w.tileHeight + w.tileHeight / 2)) <
               w.tileHeight * 1.2f;
    };
    for (int attempt = 0; attempt < 30; ++attempt) {
        int c = rng.range(2, columns - 3), r = rng.range(2, rows - 3);
        if (surfaceOf(c, r) != Surface::Land) continue;
        // Towards the nearest sea tile, one step across or down at a time.
        int bestC = -1, bestR = -1;
        for (int rr = 0; rr < rows; ++rr)
            for (int cc = 0; cc < columns; ++cc)
                if (surfaceOf(cc, rr) == Surface::Sea &&
                    (bestC < 0 || std::abs(cc - c) + std::abs(rr - r) < std::abs(bestC - c) + std::abs(bestR - r)))
                    bestC = cc, bestR = rr;
        if (bestC < 0 || std::abs(bestC - c) + std::abs(bestR - r) < 5) continue;
        std::vector<QPoint> path;
        bool good = true;
        const bool wide = rng.chance(0.35);
        while (good && surfaceOf(c, r) != Surface::Sea) {
            if (nearWhite(c, r) || (wide && nearWhite(c + 1, r))) good = false;
            path.emplace_back(c, r);
            // Once on the sea tile's row, a step to another row only leads away from it (off the map
            // at worst).
            const bool across =
                rng.range(0, std::abs(bestC - c) + std::abs(bestR - r)) < std::abs(bestC - c) || bestR == r;
            if (across) c += bestC > c ? 1 : -1;
            else r += bestR > r ? 1 : -1;
        }
        if (!good || path.size() < 4) continue;
        for (const QPoint& tile : path)
            for (int k = 0; k < (wide ? 2 : 1); ++k) {
                const int tc = tile.x() + k;
                if (tc >= columns || surfaceOf(tc, tile.y()) != Surface::Land) continue;
                for (int y = tile.y() * w.tileHeight; y < (tile.y() + 1) * w.tileHeight; ++y)
                    for (int x = tc * w.tileWidth; x < (tc + 1) * w.tileWidth; ++x)
                        w.surface[w.at(x, y)] = Surface::River;
            }
        return;
    }
}

// Provinces of uneven size as map makers draw them: seeds thrown at random, kept apart by a
// distance that changes smoothly across the picture, so that small provinces crowd in some parts
// and large ones spread in others. Each pixel belongs to the seed nearest to it after a gentle
// warp, which bends the borders away from the straight lines a nearest-pixel rule would draw.
Cells scatterCells(const StyleRecipe& recipe, Rng& rng) {
    const int W = recipe.width, H = recipe.height;
    const ValueNoise density(rng, W, H, 260);
    auto apart = [&](int x, int y) {
        return recipe.spacing * (recipe.closest + recipe.spread * std::clamp((density.at(x, y) - 0.3) / 0.4, 0.0, 1.0));
    };
    std::vector<Cells::Seed> seeds;
    for (int attempt = 0; attempt < 20000; ++attempt) {
        const int x = rng.range(kEdge, W - kEdge - 1), y = rng.range(kEdge, H - kEdge - 1);
        const double reach = apart(x, y);
        const bool free = std::none_of(seeds.begin(), seeds.end(), [&](const Cells::Seed& s) {
            return std::hypot(s.x - x, s.y - y) < std::max(reach, apart(s.x, s.y));
        });
        if (free) seeds.push_back({x, y});
    }
    std::vector<int> label(static_cast<std::size_t>(W) * H);
    const ValueNoise warpX(rng, W, H, 90), warpY(rng, W, H, 90), fineX(rng, W, H, 30), fineY(rng, W, H, 30);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const double qx = x + (warpX.at(x, y) - 0.5) * 28 + (fineX.at(x, y) - 0.5) * 10;
            const double qy = y + (warpY.at(x, y) - 0.5) * 28 + (fineY.at(x, y) - 0.5) * 10;
            int best = 0;
            double bestDistance = 1e18;
            for (std::size_t id = 0; id < seeds.size(); ++id) {
                const double d = (qx - seeds[id].x) * (qx - seeds[id].x) + (qy - seeds[id].y) * (qy - seeds[id].y);
                if (d < bestDistance) bestDistance = d, best = static_cast<int>(id);
            }
            label[static_cast<std::size_t>(y) * W + x] = best;
        }
    return {W, H, std::move(seeds), std::move(label)};
}

// The truth: provinces whose ground meets over more than a corner are neighbours; water laid over
// land between them does not count as meeting, a river does. Returns each province's neighbours.
std::vector<std::vector<int>> linkMeetingProvinces(StyleWorld& w) {
    std::map<PairKey, int> border;
    auto meet = [&](std::size_t i, std::size_t j) {
        const bool parted = !w.surface.empty() && (w.surface[i] == Surface::Parted || w.surface[j] == Surface::Parted);
        if (w.label[i] != w.label[j] && !parted) ++border[key(w.label[i], w.label[j])];
    };
    for (int y = 0; y < w.height; ++y)
        for (int x = 0; x < w.width; ++x) {
            if (x + 1 < w.width) meet(w.at(x, y), w.at(x + 1, y));
            if (y + 1 < w.height) meet(w.at(x, y), w.at(x, y + 1));
        }
    std::vector<std::vector<int>> adjacent(w.layout.x.size());
    w.layout.neighbours.clear();
    w.borderLength.clear();
    for (const auto& [pair, length] : border) {
        if (length < kMinSharedBorder) continue;
        w.layout.neighbours.emplace_back(pair.first + 1, pair.second + 1);
        w.borderLength.push_back(length);
        adjacent[static_cast<std::size_t>(pair.first)].push_back(pair.second);
        adjacent[static_cast<std::size_t>(pair.second)].push_back(pair.first);
    }
    return adjacent;
}

// Land grounds in patches of neighbouring provinces, in fixed shares so that every ground shows in
// a few provinces even of a small map; sea is deep where no land is near.
void layOutGrounds(StyleWorld& w, const std::vector<std::vector<int>>& adjacent, int spacing, Rng& rng) {
    MapLayout& m = w.layout;
    const ValueNoise field(rng, w.width, w.height, spacing * 3);
    std::vector<std::pair<double, std::size_t>> land;
    for (std::size_t p = 0; p < m.x.size(); ++p)
        if (!m.sea[p]) land.emplace_back(field.at(m.x[p], m.y[p]) + (rng.unit() - 0.5) * 0.08, p);
    std::sort(land.begin(), land.end());
    static const std::pair<Ground, int> shares[] = {{Ground::Swamp, 11}, {Ground::Farm, 18}, {Ground::Plains, 22},
                                                    {Ground::Forest, 20}, {Ground::Mountain, 16}, {Ground::Waste, 13}};
    constexpr std::uint32_t kGroundBits = 16 | 32 | 64 | 128 | 256 | 2048 | 4194304;
    std::size_t next = 0;
    int sharesSoFar = 0;
    for (const auto& [ground, share] : shares) {
        sharesSoFar += share;
        const std::size_t end = land.size() * static_cast<std::size_t>(sharesSoFar) / 100;
        for (; next < end; ++next) {
            const std::size_t p = land[next].second;
            w.ground[p] = ground;
            std::uint32_t& mask = m.terrain[p];
            mask &= ~kGroundBits;
            switch (ground) {
            case Ground::Swamp: mask |= 32; break;
            case Ground::Farm: mask |= 256; break;
            case Ground::Forest: mask |= 128; break;
            case Ground::Mountain: mask |= rng.chance(0.2) ? 4194304 : 16; break;
            case Ground::Waste: mask |= 64; break;
            default: break;
            }
        }
    }
    for (std::size_t p = 0; p < m.x.size(); ++p) {
        if (!m.sea[p]) continue;
        const auto coast = std::count_if(adjacent[p].begin(), adjacent[p].end(),
                                         [&](int q) { return !m.sea[static_cast<std::size_t>(q)]; });
        const bool deep = coast == 0 || (coast == 1 && rng.chance(0.4));
        w.ground[p] = deep ? Ground::Deep : Ground::Sea;
        // No picture shows a cave under the sea.
        m.terrain[p] = (m.terrain[p] & ~(kGroundBits | 4096u)) | (deep ? 2048u : 0u);
    }
    // Many provinces of real maps are of two grounds; the drawing shows both.
    Rng mixRng = rng.fork(41);
    w.second.assign(m.x.size(), Ground::Plains);
    for (std::size_t p = 0; p < m.x.size(); ++p) {
        if (m.sea[p] || (m.terrain[p] & 4194304)) continue;
        struct Mixed {
            Ground ground;
            double chance;
        };
        static const std::pair<Ground, std::array<Mixed, 2>> mixes[] = {
            {Ground::Forest, {{{Ground::Mountain, 0.35}, {Ground::Swamp, 0.2}}}},
            {Ground::Mountain, {{{Ground::Forest, 0.4}, {Ground::Waste, 0.25}}}},
            {Ground::Swamp, {{{Ground::Forest, 0.35}, {Ground::Farm, 0.15}}}},
            {Ground::Farm, {{{Ground::Forest, 0.3}, {Ground::Swamp, 0.15}}}},
            {Ground::Waste, {{{Ground::Mountain, 0.35}, {Ground::Farm, 0.15}}}},
        };
        const double roll = mixRng.unit();
        double sofar = 0;
        for (const auto& [ground, options] : mixes) {
            if (ground != w.ground[p]) continue;
            for (const Mixed& option : options) {
                sofar += option.chance;
                if (roll >= sofar) continue;
                w.second[p] = option.ground;
                static const std::uint32_t flag[] = {0, 128, 256, 16, 64, 32};
                m.terrain[p] |= flag[static_cast<int>(option.ground)];
                break;
            }
        }
    }
    // Small and large go by the province's size on the map, as map makers set them.
    std::vector<int> area(m.x.size());
    for (const int p : w.label)
        ++area[static_cast<std::size_t>(p)];
    std::vector<int> sorted = area;
    std::sort(sorted.begin(), sorted.end());
    const int median = sorted[sorted.size() / 2];
    for (std::size_t p = 0; p < m.x.size(); ++p) {
        m.terrain[p] &= ~3u;
        if (area[p] * 2 < median) m.terrain[p] |= 1;
        else if (area[p] > median * 2) m.terrain[p] |= 2;
    }
}

} // namespace

std::vector<float> distanceTo(const std::vector<bool>& inside, int width, int height) {
    // Two passes of the lower envelope of parabolas, rows then columns.
    constexpr float kFar = 1e12f;
    std::vector<float> squared(inside.size());
    for (std::size_t i = 0; i < inside.size(); ++i)
        squared[i] = inside[i] ? 0 : kFar;
    auto pass = [](std::vector<float>& f, std::size_t start, std::size_t stride, int n, std::vector<float>& scratch,
                   std::vector<int>& v, std::vector<float>& z) {
        for (int q = 0; q < n; ++q)
            scratch[static_cast<std::size_t>(q)] = f[start + static_cast<std::size_t>(q) * stride];
        int k = 0;
        v[0] = 0;
        z[0] = -std::numeric_limits<float>::infinity();
        z[1] = std::numeric_limits<float>::infinity();
        auto fq = [&](int q) { return scratch[static_cast<std::size_t>(q)]; };
        for (int q = 1; q < n; ++q) {
            float s = 0;
            while (true) {
                const int p = v[static_cast<std::size_t>(k)];
                s = ((fq(q) + float(q) * q) - (fq(p) + float(p) * p)) / (2.0f * float(q - p));
                if (s > z[static_cast<std::size_t>(k)]) break;
                --k;
            }
            ++k;
            v[static_cast<std::size_t>(k)] = q;
            z[static_cast<std::size_t>(k)] = s;
            z[static_cast<std::size_t>(k) + 1] = std::numeric_limits<float>::infinity();
        }
        k = 0;
        for (int q = 0; q < n; ++q) {
            while (z[static_cast<std::size_t>(k) + 1] < float(q))
                ++k;
            const int p = v[static_cast<std::size_t>(k)];
            f[start + static_cast<std::size_t>(q) * stride] = float(q - p) * float(q - p) + fq(p);
        }
    };
    const int longest = std::max(width, height);
    std::vector<float> scratch(static_cast<std::size_t>(longest)), z(static_cast<std::size_t>(longest) + 1);
    std::vector<int> v(static_cast<std::size_t>(longest));
    for (int y = 0; y < height; ++y)
        pass(squared, static_cast<std::size_t>(y) * width, 1, width, scratch, v, z);
    for (int x = 0; x < width; ++x)
        pass(squared, static_cast<std::size_t>(x), static_cast<std::size_t>(width), height, scratch, v, z);
    for (float& value : squared)
        value = std::sqrt(value);
    return squared;
}

StyleWorld makeStyleWorld(ArtStyle style, std::uint64_t seed) {
    const StyleRecipe& recipe = recipeOf(style);
    Rng root(seed * 1000 + recipe.salt);
    Rng seedRng = root.fork(1), whiteRng = root.fork(3), seaRng = root.fork(4),
        terrainRng = root.fork(5), waterRng = root.fork(6), lineRng = root.fork(7);
    const Cells cells = scatterCells(recipe, seedRng);
    // Every cell is a province of its own.
    std::vector<std::vector<int>> cellsOf;
    for (std::size_t id = 0; id < cells.seeds.size(); ++id)
        cellsOf.push_back({static_cast<int>(id)});

    StyleWorld w;
    w.style = style;
    w.width = cells.width;
    w.height = cells.height;
    w.tileWidth = recipe.tileWidth;
    w.tileHeight = recipe.tileHeight;
    std::vector<int> label = cells.label;
    // Tile art has no finer boundary than a tile: every tile belongs to one province.
    if (w.tileWidth) snapToTiles(w, label);
    const std::vector<Cells::Seed> white = w.tileWidth
                                               ? placeNearMiddle(cells, label, whiteRng, kWhiteMargin)
                                               : placeWhitePixels(cells, cellsOf, label, whiteRng, kWhiteMargin);
    std::vector<int> number;
    w.layout = placeProvinces(w.width, w.height, white, number);
    const std::size_t count = white.size();
    w.label.resize(label.size());
    for (std::size_t i = 0; i < label.size(); ++i)
        w.label[i] = number[static_cast<std::size_t>(label[i])];
    std::vector<std::vector<int>> members(count);
    for (std::size_t g = 0; g < count; ++g)
        members[static_cast<std::size_t>(number[g])] = cellsOf[g];

    const std::vector<std::vector<int>> adjacent = linkMeetingProvinces(w);
    w.ground = assignTerrain(w.layout, adjacent, seaRng, terrainRng);
    layOutGrounds(w, adjacent, recipe.spacing, terrainRng);
    // Fresh water shows as a lake or a river below; what is not drawn is not claimed.
    for (auto& mask : w.layout.terrain)
        mask &= ~8u;

    w.surface.resize(w.label.size());
    for (std::size_t i = 0; i < w.label.size(); ++i)
        w.surface[i] = w.layout.sea[static_cast<std::size_t>(w.label[i])] ? Surface::Sea : Surface::Land;
    std::vector<int> neighbourCount(count);
    for (std::size_t p = 0; p < count; ++p)
        neighbourCount[p] = static_cast<int>(adjacent[p].size());
    partProvinces(w, recipe, waterRng, neighbourCount);
    linkMeetingProvinces(w);

    const ValueNoise wobble(waterRng, w.width, w.height, 5);
    const int tile = std::max(w.tileWidth, 1);
    for (int lake = 0, attempt = 0; lake < recipe.lakes && attempt < 200; ++attempt) {
        const int p = waterRng.range(0, static_cast<int>(count) - 1);
        if (w.layout.sea[static_cast<std::size_t>(p)]) continue;
        const double radius = w.tileWidth ? tile * 1.2 : waterRng.range(9, 20);
        const QPoint centre = pointInside(w, cells, members[static_cast<std::size_t>(p)], p,
                                          static_cast<int>(radius * 1.3) + 8, static_cast<float>(radius * 1.3 + 14), waterRng);
        if (centre.x() < 0) continue;
        paintBlob(w, centre, radius, Surface::Lake, wobble);
        w.layout.terrain[static_cast<std::size_t>(p)] |= 8;
        ++lake;
    }
    for (int islet = 0, attempt = 0; islet < recipe.islets && attempt < 300; ++attempt) {
        const int p = waterRng.range(0, static_cast<int>(count) - 1);
        if (!w.layout.sea[static_cast<std::size_t>(p)]) continue;
        const double radius = w.tileWidth ? tile * 0.6 : waterRng.range(3, 9);
        const QPoint centre = pointInside(w, cells, members[static_cast<std::size_t>(p)], p,
                                          static_cast<int>(radius * 1.3) + 14, static_cast<float>(radius * 1.3 + 12), waterRng);
        if (centre.x() < 0) continue;
        paintBlob(w, centre, radius, Surface::Islet, wobble);
        ++islet;
    }
    if (w.tileWidth) {
        snapToTiles(w, w.label);
        for (int river = 0; river < recipe.rivers; ++river)
            tileRiver(w, lineRng);
    } else {
        const ValueNoise meander(lineRng, w.width, w.height, 60);
        for (int river = 0, attempt = 0; river < recipe.rivers && attempt < 200; ++attempt) {
            const QPointF source(lineRng.range(40, w.width - 40), lineRng.range(40, w.height - 40));
            if (w.surface[w.at(static_cast<int>(source.x()), static_cast<int>(source.y()))] != Surface::Land) continue;
            StyleWorld::Line line = traceRiver(w, source, meander, lineRng);
            if (line.points.empty()) continue;
            w.rivers.push_back(std::move(line));
            ++river;
        }
        for (int road = 0, attempt = 0; road < recipe.roads && attempt < 200 && !w.layout.neighbours.empty(); ++attempt) {
            const auto [a, b] = w.layout.neighbours[static_cast<std::size_t>(
                lineRng.range(0, static_cast<int>(w.layout.neighbours.size()) - 1))];
            const auto ia = static_cast<std::size_t>(a - 1), ib = static_cast<std::size_t>(b - 1);
            if (w.layout.sea[ia] || w.layout.sea[ib]) continue;
            // A road bends once or twice on its way and stops short of the towns it links.
            const QPointF from(w.layout.x[ia], w.layout.y[ia]), to(w.layout.x[ib], w.layout.y[ib]);
            const QPointF along = to - from, across(-along.y(), along.x());
            const double length = std::hypot(along.x(), along.y());
            if (length < 40) continue;
            StyleWorld::Line path;
            path.startWidth = path.endWidth = 2.2;
            const double bend = (lineRng.unit() - 0.5) * 0.35, bend2 = (lineRng.unit() - 0.5) * 0.2;
            for (int k = 0; k <= 24; ++k) {
                const double t = k / 24.0;
                const double off = std::sin(t * M_PI) * bend + std::sin(t * 2 * M_PI) * bend2;
                path.points.push_back(from + along * t + across * off);
            }
            const double trim = 10 / length;
            std::vector<QPointF> kept;
            bool clear = true;
            for (int k = 0; k <= 24; ++k) {
                const double t = k / 24.0;
                if (t < trim || t > 1 - trim) continue;
                const QPointF& point = path.points[static_cast<std::size_t>(k)];
                if (point.x() < 2 || point.y() < 2 || point.x() > w.width - 3 || point.y() > w.height - 3) clear = false;
                for (std::size_t q = 0; clear && q < count; ++q)
                    if (q != ia && q != ib && std::hypot(point.x() - w.layout.x[q], point.y() - w.layout.y[q]) < 10)
                        clear = false;
            }
            for (int k = 0; clear && k <= 24; ++k) {
                const double t = k / 24.0;
                if (t >= trim && t <= 1 - trim) kept.push_back(path.points[static_cast<std::size_t>(k)]);
            }
            if (!clear || kept.size() < 3) continue;
            path.points = std::move(kept);
            w.roads.push_back(std::move(path));
            ++road;
        }
        // A province a river runs through for a while has fresh water.
        for (const auto& river : w.rivers) {
            std::vector<int> steps(count);
            for (const QPointF& point : river.points)
                if (++steps[static_cast<std::size_t>(w.label[w.at(static_cast<int>(point.x()), static_cast<int>(point.y()))])] == 8)
                    w.layout.terrain[static_cast<std::size_t>(w.label[w.at(static_cast<int>(point.x()), static_cast<int>(point.y()))])] |= 8;
        }
    }
    if (w.tileWidth) {
        std::vector<int> riverTiles(count);
        for (std::size_t i = 0; i < w.surface.size(); ++i)
            if (w.surface[i] == Surface::River) ++riverTiles[static_cast<std::size_t>(w.label[i])];
        for (std::size_t p = 0; p < count; ++p)
            if (riverTiles[p] >= 2 * w.tileWidth * w.tileHeight) w.layout.terrain[p] |= 8;
    }
    for (std::size_t p = 0; p < count; ++p)
        if (!w.layout.sea[p] && (w.layout.terrain[p] & 4096)) {
            const QPoint mouth = pointInside(w, cells, members[p], static_cast<int>(p), 12, 14, waterRng);
            if (mouth.x() >= 0 && w.surface[w.at(mouth.x(), mouth.y())] == Surface::Land)
                w.caves.push_back(mouth);
            else
                w.layout.terrain[p] &= ~4096u; // a cave nobody can see is not claimed
        }
    // Water laid between provinces can also cover a third province's short border near it.
    linkMeetingProvinces(w);
    return w;
}

} // namespace ts::datagen
