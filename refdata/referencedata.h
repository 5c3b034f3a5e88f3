#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace ts {

// The game's reference tables, read once at start-up from the six files in TSdata and read-only
// afterwards. A row lives in the slot whose index is its own number. Integer columns are 16-bit.
// The text "-666" / integer -666 means "no value"; "-999" / -999 stands where the file held '*'.

inline constexpr std::int16_t kEmptyMarker = -666;
inline constexpr std::int16_t kStarMarker = -999;
inline constexpr std::string_view kEmptyMarkerText = "-666";
inline constexpr std::string_view kStarMarkerText = "-999";

inline constexpr int kNationSlots = 100;
inline constexpr int kPopSlots = 100;
inline constexpr int kSiteSlots = 750;
inline constexpr int kFortSlots = 44;
inline constexpr int kItemSlots = 350;
inline constexpr int kUnitSlots = 3000;

struct NationRefType {
    std::string era; // "EA", "MA" or "LA"
    std::int16_t number = 0;
    std::string text2;
    std::string name;
};

struct PopDataType {
    std::int16_t number = 0;
    std::string name;
    std::int16_t units[5] = {};      // the file fills 0..3
    std::int16_t commanders[5] = {}; // the file fills 0..3
};

struct FortDataType {
    std::int16_t number = 0;
    std::string name;
};

struct ItemDataType {
    std::int16_t number = 0;
    std::string name;
    std::string category;
    std::int16_t itemLevel = 0;
    std::string path1;
    std::int16_t path1Level = 0;
    std::string path2;
    std::int16_t path2Level = 0;
};

// Terrain flags decoded from a site's terrain mask; each is "Yes" or empty.
struct SiteTerrainFlags {
    std::string unique, flag1024, cave, deepSea, swamp, coast, sea, farm, waste, mountain, forest, plains;
    std::string noTerrain;
};

struct SiteDataType {
    std::int16_t number = 0;
    std::string name;
    std::int16_t value2 = 0;
    std::int16_t value3 = 0;
    std::int32_t terrainMask = 0; // what the decoding did not consume: 0 for a valid mask
    std::int16_t value5 = 0;
    std::string siteType;
    std::int16_t gems[8] = {}; // Fire, Air, Water, Earth, Astral, Death, Nature, Blood
    std::int16_t gold = 0;
    std::int16_t resources = 0;
    std::int16_t supply = 0;
    std::int16_t unrest = 0;
    std::int16_t experience = 0;
    std::string lab;
    std::int16_t fort = 0;
    std::int16_t recruits[5] = {};
    std::string recruitNames[5];
    std::string text32;
    std::int16_t summons[4] = {};
    std::string summonNames[4];
    std::int16_t summonValues[4] = {};
    std::string scales[2];
    std::string conj, alt, evo, cons, ench, thau, bld;
    std::string heal, disease, curse, horror, holyfire, holypow, scry, adventure;
    SiteTerrainFlags terrain;
};

struct UnitDataType {
    std::int16_t number = 0;
    std::string name;
    std::string unique, mounted, sacred, female;
    std::int16_t god = 0;
    std::int16_t value7 = 0;
    std::int16_t size = 0, hp = 0, morale = 0, magicResistance = 0;
    std::int16_t normalLeader = 0, undeadLeader = 0, magicLeader = 0;
    std::int16_t slotHand = 0, slotHead = 0, slotBody = 0, slotFoot = 0, slotMisc = 0;
    std::int16_t paths[9] = {}; // F, A, W, E, S, D, N, B, H
    std::string randomMagic[5];
    std::int16_t randomValueA[5] = {};
    std::int16_t randomValueB[5] = {};
    std::string randomPaths[5];
    std::string undead, demon, magicBeing, animal, spy, assassin, glamour;
    std::int16_t stealth = 0;
    std::string resistLightning, resistFire, resistCold, resistPoison;
    std::string darkVision, regeneration, forge, heal, alchemy, luck, insane;
    std::int16_t standard = 0;
    std::string text65;
    std::int16_t awe = 0, fear = 0, berserk = 0, chill = 0, heat = 0, fireShield = 0, banefireShield = 0,
                 bloodVengeance = 0, diseaseCloud = 0, poisonCloud = 0;
    std::string iceArmor;
    std::int16_t pillage = 0, patrol = 0, castleDefence = 0, siege = 0, supply = 0, sage = 0, bloodHunt = 0,
                 voidSummoning = 0;
    std::string survivalForest, survivalMountain, survivalWaste, survivalSwamp;
    std::string aquatic, amphibious, poorAmphibian, flying, flyingInStorms, sailing;
    std::string coldBlooded, ethereal, trueEthereal, trample, blind, recuperation, immortal, mindless,
        lifeless, noEat, noHeal, poisonArmor, seduce, succubus, petrify, eyeLoss, inquisitor, winterStrength,
        springStrength, summerStrength, fallStrength, reanimator;
    std::int16_t summon = 0, summonCount = 0, autoSummon = 0, autoSummonCount = 0, battleSummon = 0,
                 battleSummonCount = 0, domSummon = 0, domSummonCount = 0;
    std::int16_t shapeChange = 0, firstShape = 0, secondShape = 0, secondShapeTemporary = 0, landShape = 0,
                 seaShape = 0;
    std::string uniqueName;
    std::string special;
};

struct LookupIndex; // lookups.h

struct ReferenceData {
    NationRefType NationData[kNationSlots];
    PopDataType PopData[kPopSlots];
    SiteDataType SiteData[kSiteSlots];
    FortDataType FortData[kFortSlots];
    ItemDataType ItemData[kItemSlots];
    UnitDataType UnitData[kUnitSlots];

    // Name and number index for DataNameOf / DataNumberOf, built by the loader (BuildLookupIndex).
    // Tables filled by hand have none and are scanned; whoever changes a loaded table rebuilds it.
    std::shared_ptr<const LookupIndex> lookupIndex;

    // Set by a caller that puts reading the tables off until they are needed (a command-line check
    // of a map that names no unit and no site never needs them); LoadDeferredTables runs it once,
    // and the lookups call that before their first answer.
    mutable std::function<void()> deferredLoad;
};

// The program-wide tables. Code that can take them as a parameter does, so tests use their own.
ReferenceData& referenceData();

} // namespace ts
