#pragma once

// The worlds of the art-style test maps: one partition of a picture into provinces, the truth of
// its neighbours, and what the painters put on it. The same world can be drawn as any kind of map
// art; the neighbours a guess should find do not depend on the drawing.

#include "layoutparts.h"

#include <QImage>
#include <QPointF>

#include <array>
#include <cstdint>
#include <vector>

namespace ts::datagen {

enum class ArtStyle { Painted, Tiles, Borders, Rivers };

// What a pixel shows besides its province's own ground.
enum class Surface : std::uint8_t {
    Land,   // the ground of a land province
    Sea,    // the water of a sea province
    Parted, // water over land that parts two provinces: a strait or a lake between them
    Lake,   // water inside one province
    Islet,  // land inside a sea province
    River,  // a river tile crossing land (tile art only; painted rivers are lines)
};

struct StyleWorld {
    ArtStyle style = ArtStyle::Painted;
    int width = 0, height = 0;
    int tileWidth = 0, tileHeight = 0; // tile art only
    std::vector<int> label;            // province index (number - 1) of every pixel, row by row
    std::vector<Surface> surface;      // of every pixel
    std::vector<Ground> ground;        // of every province
    // A second ground a land province shows on about half of it, its flag set too (forested hills,
    // a wooded swamp, rocky waste); Plains where there is none.
    std::vector<Ground> second;
    struct Line {
        std::vector<QPointF> points;
        double startWidth = 1, endWidth = 1;
    };
    std::vector<Line> rivers, roads;  // painted styles only
    std::vector<QPoint> caves;        // a cave mouth per land cave province
    MapLayout layout;                 // neighbours are the truth
    std::vector<int> borderLength;    // pixel edges shared, per entry of layout.neighbours

    std::size_t at(int x, int y) const { return static_cast<std::size_t>(y) * width + x; }
};

StyleWorld makeStyleWorld(ArtStyle style, std::uint64_t seed);
// The file name of the style's map and picture, without extension.
const char* styleMapName(ArtStyle style);
// The seed of the style's world in the sample set.
std::uint64_t sampleWorldOf(ArtStyle style);

// The lie of the land as a painter's palette follows it: colder to the north, dry or wet in broad
// stretches, and a light that falls unevenly across the whole map. The same ground is painted in
// other colours where these change, as a pine forest in the north and a jungle in the south.
class Climate {
  public:
    Climate(Rng& rng, int width, int height);
    double warmth(double x, double y) const; // 0 cold .. 1 hot
    double wetness(double x, double y) const;
    double light(double x, double y) const; // a factor on the colour, about 0.6 .. 1.35
    // The painter's wash: a tint laid over broad stretches, added to red, green and blue.
    std::array<double, 3> wash(double x, double y) const;

  private:
    ValueNoise mWarmth, mWet, mLight, mHaze, mWashR, mWashG, mWashB;
    int mWidth, mHeight;
    double mSunX, mSunY;
};

// Soft painted terrain fields with relief and a sea gradient; borders and rivers styles add their
// lines.
QImage paintStyleWorld(const StyleWorld& world, std::uint64_t seed);
// A grid of glyph tiles.
QImage paintTileWorld(const StyleWorld& world, std::uint64_t seed);

// Exact Euclidean distance, in pixels, from every pixel to the nearest pixel where inside is true
// (0 on those); a large value when there is none.
std::vector<float> distanceTo(const std::vector<bool>& inside, int width, int height);

} // namespace ts::datagen
