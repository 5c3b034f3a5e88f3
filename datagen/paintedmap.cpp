// The painted variant of the sample map: the kind of picture map makers draw by hand, on which a
// neighbour guess that only knows pure red and blue borders finds little.

#include "layoutparts.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>

namespace ts::datagen {

namespace {

// Provinces meeting over fewer pixels than this only touch at a corner; a map maker does not
// link them.
constexpr int kMinSharedBorder = 8;
constexpr int kWhiteMargin = 9;  // a province pixel keeps this far from every border
constexpr int kLookAround = 3;   // how far a pixel looks for a border to paint

// How the border between two provinces is painted.
struct BorderStyle {
    QRgb colour = 0;
    double width = 0; // 0: no line, the provinces' own colours meet
    bool soft = false;
};

int colourDistance(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

// A painter leaves a border unlined only where the two grounds already differ to the eye.
BorderStyle drawStyle(Rng& rng, bool seaA, bool seaB, QRgb groundA, QRgb groundB) {
    BorderStyle style;
    auto vary = [&](int c) { return std::clamp(c + rng.range(-15, 15), 12, 243); };
    const bool distinct = colourDistance(groundA, groundB) >= 60;
    if (seaA != seaB) {
        // Coasts: mostly just the change from water to land colours, sometimes outlined.
        if (rng.chance(0.55)) return style;
        static const int coast[][3] = {{40, 60, 90}, {90, 70, 40}, {30, 45, 60}};
        const auto& c = coast[rng.range(0, 2)];
        style.colour = qRgb(vary(c[0]), vary(c[1]), vary(c[2]));
    } else if (seaA) {
        if (distinct && rng.chance(0.5)) return style;
        style.colour = qRgb(vary(110), vary(150), vary(200));
    } else {
        if (distinct && rng.chance(0.35)) return style;
        static const int ink[][3] = {{30, 30, 30}, {80, 50, 30}, {110, 35, 30},
                                     {30, 70, 40}, {70, 70, 80}, {70, 40, 85}};
        const auto& c = ink[rng.range(0, 5)];
        style.colour = qRgb(vary(c[0]), vary(c[1]), vary(c[2]));
    }
    style.width = 1.0 + rng.range(0, 4) * 0.5;
    style.soft = rng.chance(0.5);
    return style;
}

} // namespace

MapLayout makePaintedLayout(std::uint64_t seed, QImage& image) {
    Rng root(seed);
    Rng seedRng = root.fork(21), mergeRng = root.fork(22), seaRng = root.fork(23), terrainRng = root.fork(24),
        colourRng = root.fork(25), paintRng = root.fork(26), whiteRng = root.fork(27);
    MapOptions options;
    options.spacing = options.spacingY = 56;
    options.jitter = 9;
    options.warp = 24;
    const Cells cells = makeCells(root, seedRng, options);
    const int W = cells.width, H = cells.height;
    auto pixel = [W](int x, int y) { return static_cast<std::size_t>(y) * W + x; };

    // Provinces of one to four cells, so that large provinces lie beside small ones and neighbours'
    // pixels can be 200 px apart.
    const CellGroups groups = groupCells(cells, mergeRng, {0.45, 0.72, 0.9});
    const auto& group = groups.group;
    const auto& members = groups.members;
    const auto& cellBorder = groups.cellBorder;
    const std::size_t count = members.size();
    std::vector<int> label(cells.label.size());
    for (std::size_t i = 0; i < label.size(); ++i)
        label[i] = group[static_cast<std::size_t>(cells.label[i])];

    const std::vector<Cells::Seed> white = placeWhitePixels(cells, members, label, whiteRng, kWhiteMargin);

    std::vector<int> number;
    MapLayout layout = placeProvinces(W, H, white, number);
    std::map<PairKey, int> border;
    for (const auto& [pair, length] : cellBorder) {
        const int a = group[static_cast<std::size_t>(pair.first)], b = group[static_cast<std::size_t>(pair.second)];
        if (a != b) border[key(a, b)] += length;
    }
    std::vector<std::vector<int>> adjacent(count);
    for (const auto& [pair, length] : border) {
        if (length < kMinSharedBorder) continue;
        const int a = number[static_cast<std::size_t>(pair.first)], b = number[static_cast<std::size_t>(pair.second)];
        layout.neighbours.emplace_back(std::min(a, b) + 1, std::max(a, b) + 1);
        adjacent[static_cast<std::size_t>(a)].push_back(b);
        adjacent[static_cast<std::size_t>(b)].push_back(a);
    }
    std::sort(layout.neighbours.begin(), layout.neighbours.end());
    const std::vector<Ground> ground = assignTerrain(layout, adjacent, seaRng, terrainRng);

    // Paint: textured ground, then the borders in their styles.
    std::vector<QRgb> base(count);
    std::vector<bool> sea(count);
    for (std::size_t id = 0; id < count; ++id) {
        const auto p = static_cast<std::size_t>(number[id]);
        base[id] = groundColour(ground[p], colourRng);
        sea[id] = layout.sea[p];
    }
    std::map<PairKey, BorderStyle> styles;
    for (const auto& [pair, length] : border)
        styles[pair] = drawStyle(paintRng, sea[static_cast<std::size_t>(pair.first)],
                                 sea[static_cast<std::size_t>(pair.second)], base[static_cast<std::size_t>(pair.first)],
                                 base[static_cast<std::size_t>(pair.second)]);
    const ValueNoise coarse(paintRng, W, H, 40), fine(paintRng, W, H, 7), waves(paintRng, W, H, 12);

    image = QImage(W, H, QImage::Format_RGB32);
    for (int y = 0; y < H; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < W; ++x) {
            const int here = label[pixel(x, y)];
            const auto id = static_cast<std::size_t>(here);
            // Texture in steps of four levels: painted grain, and long enough runs to pack well.
            const double grain = sea[id] ? (waves.at(x, y * 2.5) - 0.5) * 22 + (coarse.at(x, y) - 0.5) * 12
                                         : (coarse.at(x, y) - 0.5) * 26 + (fine.at(x, y) - 0.5) * 20;
            const int shade = static_cast<int>(std::lround(grain / 4)) * 4;
            QRgb colour = clampPainted(qRed(base[id]) + shade, qGreen(base[id]) + shade, qBlue(base[id]) + shade);

            double nearest = 1e9;
            int other = -1;
            for (int dy = -kLookAround; dy <= kLookAround; ++dy)
                for (int dx = -kLookAround; dx <= kLookAround; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= W || ny >= H) continue;
                    const int there = label[pixel(nx, ny)];
                    if (there == here) continue;
                    const double d = std::sqrt(double(dx * dx + dy * dy));
                    if (d < nearest) nearest = d, other = there;
                }
            if (other >= 0) {
                const BorderStyle& style = styles[key(here, other)];
                // Distance of this pixel's centre from the border, which runs between the two pixels.
                const double fromBorder = nearest - 0.5;
                if (style.width > 0) {
                    const double half = style.width / 2;
                    const double cover = style.soft ? std::clamp(half + 0.5 - fromBorder, 0.0, 1.0) * 0.85
                                                    : (fromBorder <= half ? 1.0 : 0.0);
                    colour = mix(colour, style.colour, cover);
                } else {
                    // No line: the two colours blend over a few pixels, as a brush leaves them.
                    const double t = std::clamp(0.5 - fromBorder / 5.0, 0.0, 0.5);
                    colour = mix(colour, base[static_cast<std::size_t>(other)], t);
                }
            }
            line[x] = clampPainted(qRed(colour), qGreen(colour), qBlue(colour));
        }
    }
    for (std::size_t p = 0; p < count; ++p)
        image.setPixel(layout.x[p], layout.y[p], qRgb(255, 255, 255));
    return layout;
}

} // namespace ts::datagen
