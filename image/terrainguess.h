#pragma once

#include "regionguess.h"

#include <QImage>
#include <QPoint>
#include <array>
#include <cstdint>
#include <vector>

namespace ts {

struct MapDocument;

// The terrain guess: every province's terrain proposed from the picture, learnt from the provinces
// whose terrain the map maker already set. Art styles differ too much for fixed colour rules, so the
// provinces with terrain are the examples, and each other province takes the flags of the examples
// whose part of the picture looks most like its own (colours, texture, share of water). Only the
// flags a picture can show are guessed, and only those some example uses, save sea, which the water
// in the picture shows by itself; sizes, starts, sites and bits of later game versions are never
// touched.

// Sea, fresh water, mountains, swamp, waste, forest, farm, deep sea, cave, border mountains.
inline constexpr std::array<int, 10> kPictureTerrainBits = {2, 3, 4, 5, 6, 7, 8, 11, 12, 22};
inline constexpr std::uint32_t kPictureTerrainMask = (1u << 2) | (1u << 3) | (1u << 4) | (1u << 5) | (1u << 6) |
                                                     (1u << 7) | (1u << 8) | (1u << 11) | (1u << 12) | (1u << 22);
inline constexpr std::uint32_t kSeaFlag = 1u << 2;
inline constexpr std::uint32_t kDeepSeaFlag = 1u << 11;
inline constexpr std::uint32_t kFreshWaterFlag = 1u << 3;
// Fewer examples than this teach nothing reliable; sea and land can still be told from the picture.
inline constexpr int kTerrainMinExamples = 5;
// Proposals below this confidence are shown as doubtful.
inline constexpr float kTerrainLowConfidence = 0.4f;

// Every cell of a grid over the picture goes to the province whose pixel is nearest (on tile art, to
// the region guess's province); large pictures use coarser cells.
struct TerrainRegions : RegionMap {
    // The province under an image pixel, 0 outside the picture.
    int atPixel(int x, int y) const;
};

struct TerrainProposal {
    int province = 0;
    std::uint32_t mask = 0; // the decided flags as proposed
    float confidence = 0;   // 0..1
};

struct TerrainGuess {
    TerrainRegions regions;
    std::uint32_t decided = 0; // the flags the guess sets or clears
    int examples = 0;
    bool seaLandOnly = false; // too few examples: sea and land alone, from the water in the picture
    bool seaFromPicture = false; // no example is sea: sea from the water in the picture, the rest learnt
    std::vector<TerrainProposal> proposals; // by province number
};

enum class TerrainMethod {
    Learned,
    NearestColour, // the plain baseline: the flags of the example with the nearest mean colour
};

struct TerrainGuessInput {
    std::vector<QPoint> positions; // positions[n - 1]: the pixel of province n, row 0 at the top
    // known[n - 1]: province n's terrain mask when it has one, -1 when it has none.
    std::vector<std::int32_t> known;
    bool wrapAround = false;
    // Also propose terrain for the provinces that have some, each learnt from the others only.
    bool all = false;
    TerrainMethod method = TerrainMethod::Learned;
};

TerrainGuess guessTerrain(const QImage& picture, const TerrainGuessInput& input);

// The masks of the document's provinces as the guess reads them: -1 for a province without terrain.
std::vector<std::int32_t> knownTerrain(const MapDocument& doc);
TerrainGuess guessTerrain(const MapDocument& doc, const QImage& picture, bool all);

// A province's mask after taking a proposal: the decided flags from the proposal, every other bit as
// it was; a province that stops being sea stops being deep sea.
std::int32_t proposedTerrain(std::int32_t current, std::uint32_t decided, std::uint32_t proposal);
// Sets the taken proposals (taken[i] for proposals[i]) into the document; returns how many changed.
int applyTerrainGuess(MapDocument& doc, const TerrainGuess& guess, const std::vector<bool>& taken);

// How a guess compares with the terrain the map really has, over the provinces it proposed for.
struct TerrainScore {
    int provinces = 0, seaRight = 0;
    long flags = 0, flagsRight = 0; // (province, decided flag) pairs
    std::array<long, 32> wrong{};   // by flag, the provinces where it is wrong
    // The same for the draws whose examples hold a sea province: in the others sea comes from the
    // water in the picture alone.
    int draws = 0, seaDraws = 0, seaDrawProvinces = 0, seaDrawRight = 0;
    void add(const TerrainScore& other);
    double seaShare() const { return provinces ? double(seaRight) / provinces : 0.0; }
    double seaShareWithSeaExamples() const { return seaDrawProvinces ? double(seaDrawRight) / seaDrawProvinces : 0.0; }
    double flagShare() const { return flags ? double(flagsRight) / flags : 0.0; }
};
TerrainScore scoreTerrainGuess(const TerrainGuess& guess, const std::vector<std::int32_t>& truth);

// The guess tried as a map maker meets it: the terrain of a random share of the provinces given
// (drawn with seed), the others guessed and compared with truth.
TerrainScore measureTerrainGuess(const QImage& picture, TerrainGuessInput input, const std::vector<std::int32_t>& truth,
                                 double share, std::uint32_t seed);

// A translucent picture of the proposals, one cell per pixel: each province in the colour of its
// proposed terrain, doubtful ones striped, skipped ones (taken[i] false) left clear.
QImage terrainOverlay(const TerrainGuess& guess, const std::vector<bool>& taken);

// The proposed terrain in words ("Forest, Lake or river"; "Plains" when no decided flag is set).
std::vector<const char*> terrainWords(std::uint32_t mask);

} // namespace ts
