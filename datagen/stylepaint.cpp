// Painted map art: soft terrain fields that wander across the borders, relief shading with ridges,
// cliffs and valleys, a sea that darkens away from a glowing coast, and for two of the styles the
// lines a map maker draws on top.

#include "styleworld.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace ts::datagen {

namespace {

constexpr int kLandGrounds = 6; // Plains .. Swamp in the order of Ground
constexpr std::uint8_t kInlandWater = 8;

double smoothstep(double edge0, double edge1, double x) {
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// A fixed random value in [0, 1) per pixel: grain that does not depend on drawing order.
double hash(int x, int y, std::uint32_t salt) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u + salt;
    h = (h ^ (h >> 13)) * 1274126177u;
    return ((h ^ (h >> 16)) & 0xFFFFFF) / 16777216.0;
}

// Mean over a square of the given radius, twice: close to a Gaussian blur, at a cost that does not
// grow with the radius.
void blur(std::vector<float>& values, int width, int height, int radius) {
    std::vector<float> line;
    auto run = [&](std::size_t start, std::size_t stride, int n) {
        line.assign(static_cast<std::size_t>(n), 0);
        double sum = 0;
        int in = 0;
        auto value = [&](int i) { return values[start + static_cast<std::size_t>(std::clamp(i, 0, n - 1)) * stride]; };
        for (int i = -radius; i <= radius; ++i)
            sum += value(i), ++in;
        for (int i = 0; i < n; ++i) {
            line[static_cast<std::size_t>(i)] = static_cast<float>(sum / in);
            sum += value(i + radius + 1) - value(i - radius);
        }
        for (int i = 0; i < n; ++i)
            values[start + static_cast<std::size_t>(i) * stride] = line[static_cast<std::size_t>(i)];
    };
    for (int repeat = 0; repeat < 2; ++repeat) {
        for (int y = 0; y < height; ++y)
            run(static_cast<std::size_t>(y) * width, 1, width);
        for (int x = 0; x < width; ++x)
            run(static_cast<std::size_t>(x), static_cast<std::size_t>(width), height);
    }
}

struct Rgb {
    double r, g, b;
    Rgb operator*(double k) const { return {r * k, g * k, b * k}; }
    Rgb operator+(const Rgb& o) const { return {r + o.r, g + o.g, b + o.b}; }
};

Rgb lerp(const Rgb& a, const Rgb& b, double t) {
    return a * (1 - t) + b * t;
}

// Blends a colour between the ones it takes in a cold, a mild dry, a mild wet and a hot land.
Rgb byClimate(const Rgb& cold, const Rgb& dry, const Rgb& wet, const Rgb& hot, double warmth, double wetness) {
    const Rgb mild = lerp(dry, wet, smoothstep(0.3, 0.7, wetness));
    if (warmth < 0.5) return lerp(cold, mild, smoothstep(0.15, 0.5, warmth));
    return lerp(mild, hot, smoothstep(0.6, 0.95, warmth));
}

// The look of each painted ground at one pixel, before light and relief shading. Each ground has
// the palettes of several climates: where the climate changes, so does the look of a forest.
class Textures {
  public:
    Textures(Rng& rng, const Climate& climate, int w, int h)
        : mBroad(rng, w, h, 70), mMid(rng, w, h, 17), mCanopy(rng, w, h, 4), mClumps(rng, w, h, 13),
          mFieldWarp(rng, w, h, 50), mPools(rng, w, h, 9), mDunes(rng, w, h, 31), mCracks(rng, w, h, 10),
          mClimate(climate) {}

    Rgb at(int ground, int x, int y) const {
        const double broad = mBroad.at(x, y) - 0.5, mid = mMid.at(x, y) - 0.5;
        const double grain = hash(x, y, 7) - 0.5;
        const double warm = mClimate.warmth(x, y), wet = mClimate.wetness(x, y);
        switch (ground) {
        case 0: { // grass: broad washes, tundra grey in the north, steppe ochre where it is dry
            const Rgb base = byClimate({142, 156, 118}, {192, 176, 104}, {150, 182, 92}, {118, 170, 66}, warm, wet);
            return {base.r + broad * 40 + mid * 14 + grain * 6, base.g + broad * 26 + mid * 12 + grain * 6,
                    base.b + broad * 20 + mid * 8};
        }
        case 1: { // forest: crowns lit on one side, dark gaps between them; pines, oaks, jungle, autumn
            const double crown = mCanopy.at(x, y) * 0.65 + mClumps.at(x, y) * 0.35;
            const double lit = mCanopy.at(x - 1.5, y - 1.5) - mCanopy.at(x + 1.5, y + 1.5);
            const Rgb leaf = byClimate({30, 76, 62}, {128, 100, 46}, {48, 108, 50}, {70, 142, 36}, warm, wet);
            if (crown < 0.36) return leaf * 0.45 + Rgb{mid * 10, mid * 14, 0};
            return {leaf.r + lit * 60 + broad * 16, leaf.g + lit * 70 + broad * 24, leaf.b + lit * 30};
        }
        case 2: { // farm: a patchwork of fields with hedges between them, green or ripe or ploughed
            // Each stretch of farmland has its own furrow direction.
            const double warp = (mFieldWarp.at(x, y) - 0.5) * 80;
            const double angle = hash(static_cast<int>(std::floor((x + warp) / 110)),
                                      static_cast<int>(std::floor((y - warp) / 110)), 5) * 3.2;
            const double u = x * std::cos(angle) + y * std::sin(angle), v = -x * std::sin(angle) + y * std::cos(angle);
            const int cu = static_cast<int>(std::floor(u / 26)), cv = static_cast<int>(std::floor(v / 15));
            const double fu = u / 26 - cu, fv = v / 15 - cv;
            if (fu < 0.06 || fv < 0.1) return {108 + mid * 10, 118 + mid * 10, 58};
            static const Rgb green[] = {{204, 192, 104}, {168, 188, 88}, {140, 152, 70}, {210, 172, 96}, {186, 200, 120}};
            static const Rgb dry[] = {{206, 168, 96}, {164, 120, 78}, {190, 150, 72}, {146, 106, 70}, {214, 188, 118}};
            const int k = static_cast<int>(hash(cu, cv, 11) * 5);
            const Rgb crop = lerp(green[k], dry[k], smoothstep(0.35, 0.75, warm * (1.2 - wet)));
            const double furrow = std::sin(u * 1.3) * 6;
            return {crop.r + furrow + grain * 8, crop.g + furrow + grain * 8, crop.b + furrow * 0.5};
        }
        case 3: { // mountain rock, grey, blue-grey in the cold, red in the heat; the relief does the rest
            const Rgb rock = byClimate({150, 150, 158}, {136, 122, 106}, {124, 122, 110}, {164, 112, 78}, warm, wet);
            return {rock.r + broad * 24 + mid * 16 + grain * 10, rock.g + broad * 20 + mid * 14 + grain * 10,
                    rock.b + broad * 16 + mid * 10 + grain * 10};
        }
        case 4: { // waste: pale dunes and dark cracks, grey-brown badlands in the cold, red desert
            const double dune = std::sin((x * 0.8 + y * 0.35) / 5.5 + mDunes.at(x, y) * 9) * 0.5 + 0.5;
            const double crack = std::abs(mCracks.at(x, y) - 0.5);
            const Rgb sand = byClimate({112, 100, 88}, {196, 172, 122}, {176, 150, 104}, {186, 112, 74}, warm, wet);
            if (crack < 0.018) return sand * 0.6;
            return {sand.r + dune * 22 + broad * 20, sand.g + dune * 18 + broad * 16, sand.b + dune * 12 + broad * 10};
        }
        default: { // swamp: murky pools among reeds, dark as pines in the cold, olive brown in the heat
            const double pool = mPools.at(x, y) + broad * 0.3;
            const Rgb water = byClimate({40, 62, 60}, {70, 84, 74}, {62, 92, 92}, {88, 92, 60}, warm, wet);
            const Rgb mud = byClimate({52, 78, 58}, {118, 112, 70}, {92, 110, 72}, {116, 106, 58}, warm, wet);
            if (pool > 0.66) return water + Rgb{mid * 10, mid * 10, mid * 12};
            const bool reed = hash(x, y / 3, 23) < 0.12;
            return reed ? mud * 0.62 : mud + Rgb{mid * 16, mid * 16, grain * 8};
        }
        }
    }

  private:
    ValueNoise mBroad, mMid, mCanopy, mClumps, mFieldWarp, mPools, mDunes, mCracks;
    const Climate& mClimate;
};

// Patches of another ground inside a field, as painters scatter them: woods on plains and farmland,
// clearings in forests, fields beside a swamp, scrub in a waste, trees on a mountain's foot. They
// cover a small share of a field, so the province's terrain stays what most of it shows.
class Patches {
  public:
    Patches(Rng& rng, int w, int h) : mShape(rng, w, h, 26), mEdge(rng, w, h, 7), mKind(rng, w, h, 140) {}

    // How much of the pixel the patch covers, 0 .. 1.
    double cover(int x, int y) const {
        return smoothstep(0.63, 0.69, mShape.at(x, y) * 0.8 + mEdge.at(x, y) * 0.2 + 0.02);
    }
    int groundOn(int ground, int x, int y) const {
        const bool first = mKind.at(x, y) < 0.5;
        switch (ground) {
        case 0: return first ? 1 : 2;  // plains: woods or fields
        case 1: return 0;              // forest: clearings
        case 2: return first ? 1 : 0;  // farm: woods or pasture
        case 3: return 1;              // mountain: woods on the foot
        case 4: return 0;              // waste: scrub
        default: return first ? 2 : 0; // swamp: fields or meadows on its edge
        }
    }

  private:
    ValueNoise mShape, mEdge, mKind;
};

// How a border between two provinces is drawn in the styles with lines; width 0 when it is not.
struct Stroke {
    Rgb colour{0, 0, 0};
    double width = 0;
    double gaps = 0; // share of the line left out
    bool dashed = false;
};

Stroke strokeFor(ArtStyle style, bool coast, Rng& rng) {
    Stroke stroke;
    if (style == ArtStyle::Borders) {
        if (coast && rng.chance(0.4)) return stroke;
        static const Rgb inks[] = {{25, 22, 20}, {90, 55, 30}, {150, 30, 28}, {70, 40, 90}, {30, 70, 40}, {200, 60, 40},
                                   {60, 60, 70}};
        stroke.colour = inks[rng.range(0, 6)];
        stroke.width = 1 + rng.range(0, 8) * 0.5;
        stroke.gaps = rng.chance(0.3) ? 0 : 0.08 + rng.unit() * 0.3;
    } else if (style == ArtStyle::Rivers) {
        if (coast || rng.chance(0.5)) return stroke;
        stroke.colour = rng.chance(0.5) ? Rgb{60, 45, 40} : Rgb{120, 40, 60};
        stroke.width = 1.5 + rng.range(0, 2) * 0.5;
        stroke.dashed = true;
    }
    return stroke;
}

// Covers the pixels within half the width of a line through the points, anti-aliased.
void strokeLine(QImage& image, const StyleWorld::Line& line, Rgb colour, double dash) {
    const int W = image.width(), H = image.height();
    const std::size_t n = line.points.size();
    double travelled = 0;
    for (std::size_t k = 0; k + 1 < n; ++k) {
        const QPointF a = line.points[k], b = line.points[k + 1];
        const double width =
            line.startWidth + (line.endWidth - line.startWidth) * static_cast<double>(k) / static_cast<double>(n - 1);
        const double half = width / 2;
        const QPointF d = b - a;
        const double length2 = std::max(1e-9, d.x() * d.x() + d.y() * d.y());
        const int x0 = std::max(0, static_cast<int>(std::floor(std::min(a.x(), b.x()) - half - 1)));
        const int x1 = std::min(W - 1, static_cast<int>(std::ceil(std::max(a.x(), b.x()) + half + 1)));
        const int y0 = std::max(0, static_cast<int>(std::floor(std::min(a.y(), b.y()) - half - 1)));
        const int y1 = std::min(H - 1, static_cast<int>(std::ceil(std::max(a.y(), b.y()) + half + 1)));
        for (int y = y0; y <= y1; ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = x0; x <= x1; ++x) {
                const double t = std::clamp(((x + 0.5 - a.x()) * d.x() + (y + 0.5 - a.y()) * d.y()) / length2, 0.0, 1.0);
                if (dash > 0 && std::fmod(travelled + t * std::sqrt(length2), dash) > dash * 0.6) continue;
                const double dist = std::hypot(x + 0.5 - (a.x() + t * d.x()), y + 0.5 - (a.y() + t * d.y()));
                const double cover = std::clamp(half + 0.5 - dist, 0.0, 1.0);
                if (cover <= 0) continue;
                const QRgb old = row[x];
                // Segments overlap at their joints; the darker of the two strokes keeps the colour.
                const QRgb mixed = mix(old, qRgb(static_cast<int>(colour.r), static_cast<int>(colour.g),
                                                 static_cast<int>(colour.b)), cover);
                if (qGray(mixed) <= qGray(old)) row[x] = mixed;
            }
        }
        travelled += std::sqrt(length2);
    }
}

} // namespace

Climate::Climate(Rng& rng, int width, int height)
    : mWarmth(rng, width, height, 280), mWet(rng, width, height, 230), mLight(rng, width, height, 360),
      mHaze(rng, width, height, 110), mWashR(rng, width, height, 150), mWashG(rng, width, height, 150),
      mWashB(rng, width, height, 150), mWidth(width), mHeight(height), mSunX(rng.unit() - 0.5), mSunY(rng.unit() - 0.5) {}

double Climate::warmth(double x, double y) const {
    return std::clamp(0.15 + 0.7 * y / mHeight + (mWarmth.at(x, y) - 0.5) * 1.1, 0.0, 1.0);
}

double Climate::wetness(double x, double y) const {
    return std::clamp(0.5 + (mWet.at(x, y) - 0.5) * 2.2, 0.0, 1.0);
}

std::array<double, 3> Climate::wash(double x, double y) const {
    // Along the tints painters use for land: warm against cool, green against brown, light against
    // dark; never the purples no ground has.
    const double warm = (mWashR.at(x, y) - 0.5) * 2, green = (mWashG.at(x, y) - 0.5) * 2, value = (mWashB.at(x, y) - 0.5) * 2;
    return {34 * warm - 16 * green + 20 * value, 4 * warm + 30 * green + 20 * value, -34 * warm - 12 * green + 20 * value};
}

double Climate::light(double x, double y) const {
    return 0.98 + (mLight.at(x, y) - 0.5) * 0.7 + (mHaze.at(x, y) - 0.5) * 0.2 + mSunX * (x / mWidth - 0.5) * 0.6 +
           mSunY * (y / mHeight - 0.5) * 0.6;
}

QImage paintStyleWorld(const StyleWorld& world, std::uint64_t seed) {
    Rng rng(seed * 7919 + static_cast<std::uint64_t>(world.style));
    const int W = world.width, H = world.height;
    const std::size_t N = world.label.size();
    const bool painted = world.style == ArtStyle::Painted;
    // The climate, the light and the patches draw from their own stream, so that the sea, the coasts
    // and the lines stay as they were drawn before the land got them.
    Rng look = Rng(seed * 104729 + static_cast<std::uint64_t>(world.style) * 31 + 7).fork(11);
    const Climate climate(look, W, H);
    const Patches patches(look, W, H);
    // Where a province of two grounds shows its second one: about half of it, in stretches. The
    // noise is cut at each province's own median, not at one level for the whole map, which left
    // some provinces a sliver of one ground while their masks flag both.
    const ValueNoise halves(look, W, H, 34), halvesFine(look, W, H, 11);
    auto halvesAt = [&](int x, int y) { return halves.at(x, y) * 0.8f + halvesFine.at(x, y) * 0.2f; };
    std::vector<float> halfCut(world.second.size(), 0.5f);
    {
        std::vector<std::vector<float>> values(world.second.size());
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const std::size_t i = world.at(x, y);
                const auto p = static_cast<std::size_t>(world.label[i]);
                if (world.surface[i] == Surface::Land && world.second[p] != Ground::Plains)
                    values[p].push_back(halvesAt(x, y));
            }
        for (std::size_t p = 0; p < values.size(); ++p) {
            if (values[p].empty()) continue;
            const auto middle = values[p].begin() + static_cast<std::ptrdiff_t>(values[p].size() / 2);
            std::nth_element(values[p].begin(), middle, values[p].end());
            halfCut[p] = *middle;
        }
    }

    // The painter's fields do not follow the borders exactly: every lookup is moved a little, and
    // where one land ground meets another much further, so that fields spill across borders.
    const ValueNoise warpX(rng, W, H, 38), warpY(rng, W, H, 38), fineX(rng, W, H, 9), fineY(rng, W, H, 9),
        spillX(rng, W, H, 70), spillY(rng, W, H, 70);
    std::vector<std::uint8_t> ground(N);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const double wx = (warpX.at(x, y) - 0.5) * 14 + (fineX.at(x, y) - 0.5) * 7;
            const double wy = (warpY.at(x, y) - 0.5) * 14 + (fineY.at(x, y) - 0.5) * 7;
            const std::size_t s = world.at(std::clamp(static_cast<int>(x + wx), 0, W - 1),
                                           std::clamp(static_cast<int>(y + wy), 0, H - 1));
            const std::size_t far = world.at(std::clamp(static_cast<int>(x + wx + (spillX.at(x, y) - 0.5) * 70), 0, W - 1),
                                             std::clamp(static_cast<int>(y + wy + (spillY.at(x, y) - 0.5) * 70), 0, H - 1));
            const float half = halvesAt(x, y);
            auto groundAt = [&](std::size_t i) {
                const auto p = static_cast<std::size_t>(world.label[i]);
                const Ground g = half > halfCut[p] && world.second[p] != Ground::Plains ? world.second[p] : world.ground[p];
                return static_cast<std::uint8_t>(g);
            };
            switch (world.surface[s]) {
            case Surface::Land:
                ground[world.at(x, y)] = world.surface[far] == Surface::Land ? groundAt(far) : groundAt(s);
                break;
            case Surface::Sea:
                ground[world.at(x, y)] = groundAt(s);
                break;
            case Surface::Islet:
                ground[world.at(x, y)] = 0;
                break;
            default:
                ground[world.at(x, y)] = kInlandWater;
                break;
            }
        }
    // White pixels stay on their own ground whatever the warp did.
    for (std::size_t p = 0; p < world.layout.x.size(); ++p)
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                ground[world.at(world.layout.x[p] + dx, world.layout.y[p] + dy)] =
                    static_cast<std::uint8_t>(world.ground[p]);

    // Coasts as a painter draws them: bays and headlands where the partition has smooth curves.
    // Land grows into the sea and the sea eats a little into the land, but never near a strait or
    // a lake between provinces, which must stay open, nor near a province pixel.
    std::vector<bool> water(N), land(N), parted(N);
    for (std::size_t i = 0; i < N; ++i) {
        water[i] = ground[i] >= static_cast<int>(Ground::Sea);
        land[i] = !water[i];
        parted[i] = ground[i] == kInlandWater;
    }
    {
        const std::vector<float> toLand0 = distanceTo(land, W, H), toWater0 = distanceTo(water, W, H),
                                 toParted = distanceTo(parted, W, H);
        std::vector<bool> white(N);
        for (std::size_t p = 0; p < world.layout.x.size(); ++p)
            white[world.at(world.layout.x[p], world.layout.y[p])] = true;
        const std::vector<float> toWhite = distanceTo(white, W, H);
        const ValueNoise bays(rng, W, H, 64), coves(rng, W, H, 23), rocks(rng, W, H, 8);
        for (std::size_t i = 0; i < N; ++i) {
            if (toParted[i] < 40 || toWhite[i] < 8) continue;
            const int x = static_cast<int>(i % static_cast<std::size_t>(W)), y = static_cast<int>(i / static_cast<std::size_t>(W));
            const double shore = (bays.at(x, y) - 0.5) * 2 * 14 + (coves.at(x, y) - 0.5) * 2 * 6 + (rocks.at(x, y) - 0.5) * 2 * 3;
            if (water[i] && ground[i] != kInlandWater && shore > 0 && toLand0[i] < shore) ground[i] = 0;
            else if (land[i] && shore < 0 && toWater0[i] < std::min(-shore, 7.0)) ground[i] = static_cast<std::uint8_t>(Ground::Sea);
        }
        for (std::size_t i = 0; i < N; ++i) {
            water[i] = ground[i] >= static_cast<int>(Ground::Sea);
            land[i] = !water[i];
        }
    }
    const std::vector<float> toLand = distanceTo(land, W, H), toWater = distanceTo(water, W, H);

    std::vector<std::vector<float>> weight(kLandGrounds + 1);
    for (int g = 0; g <= kLandGrounds; ++g) {
        // The last one is deep sea, which fades in slowly away from its shallows.
        const int code = g < kLandGrounds ? g : static_cast<int>(Ground::Deep);
        bool any = false;
        weight[static_cast<std::size_t>(g)].resize(N);
        for (std::size_t i = 0; i < N; ++i)
            if (ground[i] == code) weight[static_cast<std::size_t>(g)][i] = 1, any = true;
        if (!any) weight[static_cast<std::size_t>(g)].clear();
        else blur(weight[static_cast<std::size_t>(g)], W, H, g == 3 ? 10 : g < kLandGrounds ? 6 : 28);
    }
    auto weightOf = [&](int g, std::size_t i) {
        return weight[static_cast<std::size_t>(g)].empty() ? 0.0f : weight[static_cast<std::size_t>(g)][i];
    };
    // Mountain relief spills over into the foothills around a range.
    std::vector<float> range = weight[3];
    if (!range.empty()) blur(range, W, H, 16);

    // Relief: rolling hills everywhere, ridges and terraced cliffs where the mountains are, valleys
    // cut into the lowland. The painted style shades it hard, the others gently.
    const ValueNoise hillsA(rng, W, H, 90), hillsB(rng, W, H, 34), hillsC(rng, W, H, 12), ridgeA(rng, W, H, 46),
        ridgeB(rng, W, H, 19), valleys(rng, W, H, 75);
    std::vector<float> height(N);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const std::size_t i = world.at(x, y);
            const double hills = hillsA.at(x, y) * 0.55 + hillsB.at(x, y) * 0.3 + hillsC.at(x, y) * 0.15;
            const double rA = 1 - std::abs(ridgeA.at(x, y) * 2 - 1), rB = 1 - std::abs(ridgeB.at(x, y) * 2 - 1);
            const double mountain = range.empty() ? 0.0 : range[i];
            double h = hills * 0.22 + mountain * (rA * rA * 1.1 + rB * rB * 0.45 + hills * 0.3);
            const double steps = h * 7;
            const double terraced = (std::floor(steps) + smoothstep(0.75, 1.0, steps - std::floor(steps))) / 7;
            h = h + (terraced - h) * mountain * 0.7;
            const double valley = std::abs(valleys.at(x, y) * 2 - 1);
            h -= (1 - mountain) * 0.025 * (1 - smoothstep(0.0, 0.3, valley));
            height[i] = static_cast<float>(land[i] ? h : 0);
        }

    const Textures textures(rng, climate, W, H);
    const ValueNoise waves(rng, W, H, 5), seaBroad(rng, W, H, 120);
    // The sea's own moods draw from a stream of their own, so that the land and the lines stay as
    // they were.
    Rng seaLook = Rng(seed * 7727 + static_cast<std::uint64_t>(world.style)).fork(13);
    const ValueNoise shelf(seaLook, W, H, 90), floes(seaLook, W, H, 16), murk(seaLook, W, H, 150);
    const double relief = painted ? 9.0 : 4.0;
    QImage image(W, H, QImage::Format_RGB32);
    for (int y = 0; y < H; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < W; ++x) {
            const std::size_t i = world.at(x, y);
            Rgb colour{0, 0, 0};
            if (water[i]) {
                const double d = toLand[i];
                const bool inland = ground[i] == kInlandWater;
                const Rgb shallow{70 + (seaBroad.at(x, y) - 0.5) * 20, 122, 176}, deep{26, 48, 100};
                colour = lerp(shallow, deep, smoothstep(0, inland ? 40 : 140, d) * (inland ? 0.4 : 0.85));
                colour = lerp(colour, Rgb{14, 28, 70}, weightOf(kLandGrounds, i) * 0.6);
                colour = lerp(colour, Rgb{160, 212, 220}, std::exp(-d / 6.0) * 0.75);
                if (!inland) {
                    // Where the shelf runs wide the shallows show sand and weed through green water;
                    // murky stretches go grey-green; a cold sea turns to steel, with floes of ice.
                    const double reach = 4 + 60 * smoothstep(0.45, 0.85, shelf.at(x, y));
                    colour = lerp(colour, Rgb{118, 168, 140}, (1 - smoothstep(reach * 0.4, reach, d)) * 0.8);
                    colour = lerp(colour, Rgb{92, 112, 98}, smoothstep(0.55, 0.8, murk.at(x, y)) * 0.6);
                    const double cold = 1 - smoothstep(0.12, 0.4, climate.warmth(x, y));
                    colour = lerp(colour, Rgb{150, 164, 172}, cold * 0.75);
                    colour = lerp(colour, Rgb{226, 232, 236}, smoothstep(0.6, 0.66, floes.at(x, y)) * cold * 0.9);
                }
                if (waves.at(x * 0.3, y) > 0.74 && d > 4) colour = colour + Rgb{12, 14, 14};
                // The painter's wash and light lie over the sea too, if more faintly than on land.
                const auto wash = climate.wash(x, y);
                colour = (colour + Rgb{wash[0] * 0.6, wash[1] * 0.6, wash[2] * 0.6}) * (1 + (climate.light(x, y) - 1) * 0.7);
            } else {
                double total = 0;
                for (int g = 0; g < kLandGrounds; ++g) {
                    const double wg = weightOf(g, i);
                    if (wg < 0.02) continue;
                    colour = colour + textures.at(g, x, y) * wg;
                    total += wg;
                }
                colour = total > 0 ? colour * (1 / total) : textures.at(ground[i], x, y);
                if (const double patch = patches.cover(x, y); patch > 0)
                    colour = lerp(colour, textures.at(patches.groundOn(ground[i], x, y), x, y), patch);
                const auto wash = climate.wash(x, y);
                colour = (colour + Rgb{wash[0], wash[1], wash[2]}) * climate.light(x, y);
                const auto h = [&](int xx, int yy) { return height[world.at(std::clamp(xx, 0, W - 1), std::clamp(yy, 0, H - 1))]; };
                const double slope = (h(x + 1, y) - h(x - 1, y)) + (h(x, y + 1) - h(x, y - 1));
                const double shade = std::clamp(1 + slope * relief * 8, 0.45, 1.5);
                const double mountain = range.empty() ? 0.0 : range[i];
                const double snow = painted ? smoothstep(0.95, 1.15, height[i]) * smoothstep(0.4, 0.7, mountain) : 0;
                colour = lerp(colour, Rgb{236, 238, 240}, snow);
                colour = colour * shade;
                if (painted) colour = lerp(colour, Rgb{216, 200, 150}, 1 - smoothstep(1.5, 4.5, toWater[i]));
            }
            // Steps of four levels: painted grain still, and runs long enough to pack.
            auto level = [](double c) { return static_cast<int>(std::lround(c / 4)) * 4; };
            row[x] = clampPainted(level(colour.r), level(colour.g), level(colour.b));
        }
    }

    for (const QPoint& cave : world.caves)
        for (int dy = -4; dy <= 3; ++dy)
            for (int dx = -6; dx <= 6; ++dx)
                if (dx * dx / 36.0 + dy * dy / 16.0 <= 1 && dy <= 2)
                    image.setPixel(cave.x() + dx, cave.y() + dy, dy < -2 ? qRgb(70, 60, 52) : qRgb(24, 20, 18));

    if (world.style == ArtStyle::Borders || world.style == ArtStyle::Rivers) {
        // Lines drawn by hand along the true borders, wobbling, with gaps where the pen lifted.
        std::map<PairKey, Stroke> strokes;
        for (const auto& [a, b] : world.layout.neighbours)
            strokes[key(a - 1, b - 1)] = strokeFor(world.style, world.layout.sea[static_cast<std::size_t>(a - 1)] !=
                                                                    world.layout.sea[static_cast<std::size_t>(b - 1)], rng);
        const ValueNoise wobbleX(rng, W, H, 16), wobbleY(rng, W, H, 16), gaps(rng, W, H, 21), thick(rng, W, H, 40);
        constexpr int kReach = 4;
        for (int y = 0; y < H; ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < W; ++x) {
                const int sx = static_cast<int>(std::lround(x + (wobbleX.at(x, y) - 0.5) * 4));
                const int sy = static_cast<int>(std::lround(y + (wobbleY.at(x, y) - 0.5) * 4));
                if (sx < kReach || sy < kReach || sx >= W - kReach || sy >= H - kReach) continue;
                const int here = world.label[world.at(sx, sy)];
                double nearest = 1e9;
                int other = -1;
                for (int dy = -kReach; dy <= kReach; ++dy)
                    for (int dx = -kReach; dx <= kReach; ++dx) {
                        const int there = world.label[world.at(sx + dx, sy + dy)];
                        if (there == here) continue;
                        const double d = std::sqrt(double(dx * dx + dy * dy));
                        if (d < nearest) nearest = d, other = there;
                    }
                if (other < 0) continue;
                const auto found = strokes.find(key(here, other));
                if (found == strokes.end() || found->second.width <= 0) continue;
                const Stroke& stroke = found->second;
                if (gaps.at(x, y) < stroke.gaps * 1.6 - 0.1) continue;
                if (stroke.dashed && ((x / 5 + y / 5) & 1)) continue;
                const double half = stroke.width * (0.7 + 0.6 * thick.at(x, y)) / 2;
                const double cover = std::clamp(half + 0.5 - (nearest - 0.5), 0.0, 1.0) * 0.92;
                if (cover <= 0) continue;
                row[x] = mix(row[x], qRgb(static_cast<int>(stroke.colour.r), static_cast<int>(stroke.colour.g),
                                          static_cast<int>(stroke.colour.b)), cover);
            }
        }
    }
    for (const auto& river : world.rivers)
        strokeLine(image, river, Rgb{52, 98, 168}, 0);
    for (const auto& road : world.roads)
        strokeLine(image, road, Rgb{104, 64, 38}, road.points.size() % 2 ? 7 : 0);

    for (std::size_t p = 0; p < world.layout.x.size(); ++p)
        image.setPixel(world.layout.x[p], world.layout.y[p], qRgb(255, 255, 255));
    return image;
}

} // namespace ts::datagen
