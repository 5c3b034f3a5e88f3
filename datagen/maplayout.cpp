#include "layoutparts.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <set>

namespace ts::datagen {

QRgb groundColour(Ground ground, Rng& rng) {
    const auto& [r, g, b] = kGroundColours[static_cast<int>(ground)];
    // A little variation per province, kept well away from the reserved pure colours.
    auto vary = [&](int c) { return std::clamp(c + rng.range(-12, 12), 20, 235); };
    return qRgb(vary(r), vary(g), vary(b));
}

Cells makeCells(Rng& root, Rng& seedRng, const MapOptions& options) {
    const int W = options.width, H = options.height, sx = options.spacing, sy = options.spacingY;
    // Seeds on a square grid centred in the picture. Square rather than staggered: a staggered
    // grid leaves half cells at the left or right edge, where cells two rows apart can meet.
    const int columns = (W - 2 * kEdge) / sx + 1;
    const int gridRows = (H - 2 * kEdge) / sy + 1;
    const int x0 = (W - (columns - 1) * sx) / 2;
    const int y0 = (H - (gridRows - 1) * sy) / 2;
    using Seed = Cells::Seed;
    std::vector<Seed> seeds;
    std::vector<std::vector<int>> grid(static_cast<std::size_t>(gridRows),
                                       std::vector<int>(static_cast<std::size_t>(columns), -1));
    for (int row = 0; row < gridRows; ++row)
        for (int column = 0; column < columns; ++column) {
            if (static_cast<int>(seeds.size()) >= options.maxProvinces) break;
            grid[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] =
                static_cast<int>(seeds.size());
            seeds.push_back({x0 + column * sx + seedRng.range(-options.jitter, options.jitter),
                             y0 + row * sy + seedRng.range(-options.jitter, options.jitter)});
        }
    const int rows = static_cast<int>(grid.size());

    // Each pixel belongs to the seed nearest to the pixel moved by a smooth warp field; the warp
    // bends the borders without letting a cell reach past its grid neighbours.
    std::vector<int> label(static_cast<std::size_t>(W) * H, -1);
    auto at = [&](int x, int y) { return label[static_cast<std::size_t>(y) * W + x]; };
    // A strong warp can, rarely, let a cell swallow its seed's neighbourhood or reach a cell two
    // steps away; such a draw is thrown away and the next warp field tried.
    for (int attempt = 0; attempt < 50; ++attempt) {
        Rng warpRng = root.fork(100 + static_cast<std::uint64_t>(attempt));
        const ValueNoise warpX(warpRng, W, H, 110), warpY(warpRng, W, H, 110);
        const ValueNoise fineX(warpRng, W, H, 36), fineY(warpRng, W, H, 36);
        for (int py = 0; py < H; ++py) {
            for (int px = 0; px < W; ++px) {
                const double qx = px + (warpX.at(px, py) - 0.5) * 2 * options.warp +
                                  (fineX.at(px, py) - 0.5) * options.warp * 0.5;
                const double qy = py + (warpY.at(px, py) - 0.5) * 2 * options.warp +
                                  (fineY.at(px, py) - 0.5) * options.warp * 0.5;
                const int r0 = static_cast<int>(std::lround((qy - y0) / sy));
                const int c0 = static_cast<int>(std::lround((qx - x0) / sx));
                int best = -1;
                double bestDistance = 0;
                for (int reach = 1; best < 0 && reach < 8; ++reach)
                    for (int r = r0 - reach; r <= r0 + reach; ++r) {
                        if (r < 0 || r >= rows) continue;
                        for (int c = c0 - reach; c <= c0 + reach; ++c) {
                            if (c < 0 || c >= static_cast<int>(grid[static_cast<std::size_t>(r)].size()))
                                continue;
                            const int id = grid[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
                            if (id < 0) continue;
                            const double dx = qx - seeds[static_cast<std::size_t>(id)].x;
                            const double dy = qy - seeds[static_cast<std::size_t>(id)].y;
                            const double d = dx * dx + dy * dy;
                            if (best < 0 || d < bestDistance) best = id, bestDistance = d;
                        }
                    }
                label[static_cast<std::size_t>(py) * W + px] = best;
            }
        }

        bool good = true;
        for (std::size_t id = 0; good && id < seeds.size(); ++id)
            for (int dy = -3; dy <= 3; ++dy)
                for (int dx = -3; dx <= 3; ++dx)
                    if (at(seeds[id].x + dx, seeds[id].y + dy) != static_cast<int>(id)) good = false;
        for (int py = 0; good && py < H; ++py)
            for (int px = 0; px < W; ++px) {
                const int here = at(px, py);
                for (const int other :
                     {px + 1 < W ? at(px + 1, py) : here, py + 1 < H ? at(px, py + 1) : here}) {
                    if (other == here) continue;
                    const Seed& a = seeds[static_cast<std::size_t>(here)];
                    const Seed& b = seeds[static_cast<std::size_t>(other)];
                    if (!options.stress && (std::abs(a.x - b.x) >= options.reach || std::abs(a.y - b.y) >= options.reach))
                        good = false;
                }
            }
        if (good) break;
    }

    return {W, H, std::move(seeds), std::move(label)};
}

CellGroups groupCells(const Cells& cells, Rng& mergeRng, const std::vector<double>& sizeOdds) {
    const int W = cells.width, H = cells.height;
    const std::size_t cellCount = cells.seeds.size();
    auto pixel = [W](int x, int y) { return static_cast<std::size_t>(y) * W + x; };
    CellGroups out;
    auto& cellBorder = out.cellBorder;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const int here = cells.label[pixel(x, y)];
            if (x + 1 < W && cells.label[pixel(x + 1, y)] != here) ++cellBorder[key(here, cells.label[pixel(x + 1, y)])];
            if (y + 1 < H && cells.label[pixel(x, y + 1)] != here) ++cellBorder[key(here, cells.label[pixel(x, y + 1)])];
        }
    std::vector<std::vector<int>> cellNeighbours(cellCount);
    for (const auto& [pair, length] : cellBorder)
        if (length >= 20) {
            cellNeighbours[static_cast<std::size_t>(pair.first)].push_back(pair.second);
            cellNeighbours[static_cast<std::size_t>(pair.second)].push_back(pair.first);
        }
    auto& group = out.group;
    group.assign(cellCount, -1);
    std::vector<int> order(cellCount);
    std::iota(order.begin(), order.end(), 0);
    for (std::size_t i = cellCount; i > 1; --i)
        std::swap(order[i - 1], order[static_cast<std::size_t>(mergeRng.range(0, static_cast<int>(i) - 1))]);
    auto& members = out.members;
    for (const int start : order) {
        if (group[static_cast<std::size_t>(start)] >= 0) continue;
        const double roll = mergeRng.unit();
        const int size = 1 + static_cast<int>(std::count_if(sizeOdds.begin(), sizeOdds.end(),
                                                            [roll](double odds) { return roll >= odds; }));
        const int id = static_cast<int>(members.size());
        members.push_back({start});
        group[static_cast<std::size_t>(start)] = id;
        while (static_cast<int>(members.back().size()) < size) {
            // The free cell nearest the first one keeps the province compact.
            int best = -1;
            long bestDistance = 0;
            for (const int member : members.back())
                for (const int candidate : cellNeighbours[static_cast<std::size_t>(member)]) {
                    if (group[static_cast<std::size_t>(candidate)] >= 0) continue;
                    const auto& a = cells.seeds[static_cast<std::size_t>(start)];
                    const auto& b = cells.seeds[static_cast<std::size_t>(candidate)];
                    const long d = long(a.x - b.x) * (a.x - b.x) + long(a.y - b.y) * (a.y - b.y);
                    if (best < 0 || d < bestDistance) best = candidate, bestDistance = d;
                }
            if (best < 0) break;
            group[static_cast<std::size_t>(best)] = id;
            members.back().push_back(best);
        }
    }
    return out;
}

bool clearOfOthers(const std::vector<int>& label, int width, int height, int x, int y, int id, int margin) {
    if (x < margin || y < margin || x >= width - margin || y >= height - margin) return false;
    for (int dy = -margin; dy <= margin; ++dy)
        for (int dx = -margin; dx <= margin; ++dx)
            if (label[static_cast<std::size_t>(y + dy) * width + x + dx] != id) return false;
    return true;
}

std::vector<Cells::Seed> placeWhitePixels(const Cells& cells, const std::vector<std::vector<int>>& members,
                                          const std::vector<int>& label, Rng& whiteRng, int margin) {
    std::vector<Cells::Seed> white(members.size());
    for (std::size_t id = 0; id < members.size(); ++id) {
        const auto& cellsOf = members[id];
        white[id] = cells.seeds[static_cast<std::size_t>(cellsOf.front())];
        for (int attempt = 0; attempt < 60; ++attempt) {
            const auto& c = cells.seeds[static_cast<std::size_t>(whiteRng.pick(cellsOf))];
            const int x = c.x + whiteRng.range(-22, 22), y = c.y + whiteRng.range(-22, 22);
            if (clearOfOthers(label, cells.width, cells.height, x, y, static_cast<int>(id), margin)) {
                white[id] = {x, y};
                break;
            }
        }
    }
    return white;
}

std::vector<Ground> assignTerrain(MapLayout& layout, const std::vector<std::vector<int>>& adjacent, Rng& seaRng,
                                  Rng& terrainRng) {
    const int W = layout.width, H = layout.height;
    const std::size_t count = layout.x.size();
    // Sea along the edges and in a few inland basins.
    const ValueNoise seaNoise(seaRng, W, H, 320);
    layout.sea.assign(count, false);
    layout.terrain.assign(count, 0);
    std::vector<Ground> ground(count, Ground::Plains);
    for (std::size_t p = 0; p < count; ++p) {
        const double x = layout.x[p], y = layout.y[p];
        const double edge = std::min({x, W - x, y, H - y}) / (0.22 * std::min(W, H));
        const double score =
            0.6 * seaNoise.at(x, y) + 0.4 * std::min(edge, 1.0) + (seaRng.unit() - 0.5) * 0.08;
        layout.sea[p] = score < 0.45;
    }
    const ValueNoise landNoise(terrainRng, W, H, 240);
    const std::vector<std::pair<Ground, int>> landWeights = {{Ground::Swamp, 12},    {Ground::Farm, 18},
                                                             {Ground::Plains, 22},   {Ground::Forest, 20},
                                                             {Ground::Mountain, 15}, {Ground::Waste, 13}};
    for (std::size_t p = 0; p < count; ++p) {
        std::uint32_t mask = 0;
        if (layout.sea[p]) {
            const bool inland = std::all_of(adjacent[p].begin(), adjacent[p].end(),
                                            [&](int q) { return layout.sea[static_cast<std::size_t>(q)]; });
            const bool deep = inland && terrainRng.chance(0.6);
            ground[p] = deep ? Ground::Deep : Ground::Sea;
            mask = deep ? 4 + 2048 : 4;
            if (terrainRng.chance(0.05)) mask |= 4096; // sea cave
        } else {
            // Neighbouring provinces tend to share their ground: it follows a smooth field.
            const double field = landNoise.at(layout.x[p], layout.y[p]) + (terrainRng.unit() - 0.5) * 0.25;
            int roll = std::clamp(static_cast<int>(field * 100), 0, 99);
            for (const auto& [kind, weight] : landWeights) {
                if (roll < weight) {
                    ground[p] = kind;
                    break;
                }
                roll -= weight;
            }
            switch (ground[p]) {
            case Ground::Forest:
                mask |= 128;
                break;
            case Ground::Farm:
                mask |= 256;
                break;
            case Ground::Mountain:
                mask |= terrainRng.chance(0.2) ? 4194304 : 16;
                break;
            case Ground::Waste:
                mask |= 64;
                break;
            case Ground::Swamp:
                mask |= 32;
                break;
            default:
                break;
            }
            if (terrainRng.chance(0.15)) mask |= 8;
            if (terrainRng.chance(0.06)) mask |= 4096;
        }
        if (terrainRng.chance(0.12))
            mask |= 1;
        else if (terrainRng.chance(0.12))
            mask |= 2;
        if (terrainRng.chance(0.05)) mask |= 512;
        if (terrainRng.chance(0.08)) mask |= 1024;
        if (terrainRng.chance(0.12)) mask |= 1u << terrainRng.range(13, 21);
        layout.terrain[p] = mask;
    }
    return ground;
}

MapLayout placeProvinces(int width, int height, const std::vector<Cells::Seed>& pixels, std::vector<int>& number) {
    // Numbered as the editor finds them: bottom row first, left to right.
    std::vector<int> order(pixels.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        const Cells::Seed& pa = pixels[static_cast<std::size_t>(a)];
        const Cells::Seed& pb = pixels[static_cast<std::size_t>(b)];
        return pa.y != pb.y ? pa.y > pb.y : pa.x < pb.x;
    });
    number.assign(pixels.size(), 0);
    for (std::size_t i = 0; i < order.size(); ++i)
        number[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
    MapLayout layout;
    layout.width = width;
    layout.height = height;
    layout.x.resize(pixels.size());
    layout.y.resize(pixels.size());
    for (std::size_t id = 0; id < pixels.size(); ++id) {
        layout.x[static_cast<std::size_t>(number[id])] = pixels[id].x;
        layout.y[static_cast<std::size_t>(number[id])] = pixels[id].y;
    }
    return layout;
}

MapLayout makeMapLayout(std::uint64_t seed, const MapOptions& options, QImage& image) {
    Rng root(seed);
    Rng seedRng = root.fork(11), seaRng = root.fork(13), terrainRng = root.fork(14),
        colourRng = root.fork(15);
    const Cells cells = makeCells(root, seedRng, options);
    const int W = cells.width, H = cells.height;
    const auto& seeds = cells.seeds;
    const auto& label = cells.label;
    std::vector<int> province; // seed id -> province index (0-based)
    MapLayout layout = placeProvinces(W, H, seeds, province);
    const std::size_t count = seeds.size();

    // Adjacency: cells that touch along a pixel edge.
    std::set<std::pair<int, int>> pairs;
    for (int py = 0; py < H; ++py)
        for (int px = 0; px < W; ++px) {
            const int here = label[static_cast<std::size_t>(py) * W + px];
            const int right = px + 1 < W ? label[static_cast<std::size_t>(py) * W + px + 1] : here;
            const int below = py + 1 < H ? label[static_cast<std::size_t>(py + 1) * W + px] : here;
            for (int other : {right, below})
                if (other != here) {
                    const int a = province[static_cast<std::size_t>(here)] + 1,
                              b = province[static_cast<std::size_t>(other)] + 1;
                    pairs.insert({std::min(a, b), std::max(a, b)});
                }
        }
    layout.neighbours.assign(pairs.begin(), pairs.end());
    std::vector<std::vector<int>> adjacent(count);
    for (const auto& [a, b] : layout.neighbours) {
        adjacent[static_cast<std::size_t>(a - 1)].push_back(b - 1);
        adjacent[static_cast<std::size_t>(b - 1)].push_back(a - 1);
    }

    const std::vector<Ground> ground = assignTerrain(layout, adjacent, seaRng, terrainRng);

    std::vector<QRgb> colour(count);
    for (std::size_t p = 0; p < count; ++p)
        colour[p] = groundColour(ground[p], colourRng);

    image = QImage(W, H, QImage::Format_RGB32);
    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255), white = qRgb(255, 255, 255);
    for (int py = 0; py < H; ++py) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(py));
        for (int px = 0; px < W; ++px) {
            const int here = label[static_cast<std::size_t>(py) * W + px];
            const auto p = static_cast<std::size_t>(province[static_cast<std::size_t>(here)]);
            bool border = false, seaBorder = layout.sea[p];
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = px + dx, ny = py + dy;
                    if (nx < 0 || ny < 0 || nx >= W || ny >= H) continue;
                    const int other = label[static_cast<std::size_t>(ny) * W + nx];
                    if (other == here) continue;
                    border = true;
                    if (layout.sea[static_cast<std::size_t>(province[static_cast<std::size_t>(other)])])
                        seaBorder = true;
                }
            line[px] = border ? (seaBorder ? blue : red) : colour[p];
        }
    }
    for (std::size_t p = 0; p < count; ++p)
        image.setPixel(layout.x[p], layout.y[p], white);
    return layout;
}

} // namespace ts::datagen
