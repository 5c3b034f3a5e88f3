#pragma once

#include "slotarray.h"
#include "text.h"

#include <cstdint>
#include <functional>
#include <string>

namespace ts {

struct ReferenceData;
class UserInterface;

inline constexpr int kProvinceSlots = 2600; // province numbers in files run 1..2599
inline constexpr int kMaxProvince = 2599;
inline constexpr int kNationCount = 100;
inline constexpr int kNeighbourSlots = 20;
inline constexpr int kCommanderSlots = 40; // slot 0 is the god of the nation that starts here
inline constexpr int kSiteSlotsPerProvince = 4;
inline constexpr int kBodyguardSlots = 10;
inline constexpr int kUnitStackSlots = 10;
inline constexpr int kItemSlotsPerCommander = 8;
inline constexpr int kTerrainBits = 23;
inline constexpr int kPanelDirtyFlags = 10;
inline constexpr std::int16_t kNone = -999; // no current selection, unset nation scale

// One commander slot of a province, or the god of a nation.
struct CommanderDataType {
    Text NodeParentKey, NodeKey, NodeText;
    Text UnitName; // the writer treats a slot as occupied when this is not empty
    std::int16_t UnitIndex = -1;
    Text ComName;
    Text BodyguardName[kBodyguardSlots];
    std::int16_t BodyguardIndex[kBodyguardSlots] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    std::int16_t BodyguardCount[kBodyguardSlots] = {};
    Text UnitsName[kUnitStackSlots];
    std::int16_t UnitsIndex[kUnitStackSlots] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    std::int16_t UnitsCount[kUnitStackSlots] = {};
    bool ClearMagic = false;
    std::int16_t MagFire = 0, MagAir = 0, MagWater = 0, MagEarth = 0, MagAstral = 0, MagDeath = 0,
                 MagNature = 0, MagBlood = 0, MagPriest = 0;
    std::int16_t Xp = 0;
    std::int16_t RandomEquip = -1; // 0 is a real value
    Text Items[kItemSlotsPerCommander];
    bool InsideCastle = false;
    // Lines of the map this record could not take in, as the file held them, each ended by LF; the
    // writer puts them back after the record's own lines. Copying or clearing the record carries them.
    Text KeptLines;

    bool operator==(const CommanderDataType&) const = default;
};

// A province without its commander slots. Most edits of a province change only these fields, and
// the undo history keeps them apart from the 40 slots, which make up nearly all of the record.
struct ProvinceFields {
    Text NodeParentKey, NodeKey, NodeText;
    std::int32_t ProvinceX = -1, ProvinceY = -1;
    bool MarkerFlag = false;
    std::uint32_t MarkerColor = 0, MarkerColor2 = 0;
    bool Visited = false;
    bool Marked = false;
    std::int16_t Neighbours[kNeighbourSlots] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                                                -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    std::int32_t Terrain = -1;
    bool TerrainPlain = false;
    bool TerrainBit[kTerrainBits] = {};
    std::int32_t TerrainExtraBits = 0; // mask bits above the 23 flags, kept for later game versions
    Text LandName;
    bool SetLandFlag = false;
    bool LandFlag = false;
    std::int16_t CommanderCount = 0;
    bool KillFeatures = false;
    Text SiteName[kSiteSlotsPerProvince];
    std::int16_t SiteIndex[kSiteSlotsPerProvince] = {-1, -1, -1, -1};
    Text KnownSiteName[kSiteSlotsPerProvince];
    std::int16_t KnownSiteIndex[kSiteSlotsPerProvince] = {-1, -1, -1, -1};
    std::int16_t Fort = -1;
    bool Temple = false;
    bool Lab = false;
    bool Start = false;
    bool NoStart = false;
    bool SpecStart = false;
    std::int16_t SpecStartNation = -1;
    std::int16_t VictoryPoints = -1;
    std::int32_t Population = -1;
    std::int16_t PopType = -1;
    std::int16_t Owner = -1; // 23 is the special monsters
    std::int16_t Unrest = -1;
    std::int16_t Defence = -1;
    Text SkyBox;
    Text BatMap;
    std::int16_t GroundCol[3] = {-1, -1, -1};
    std::int16_t RockCol[3] = {-1, -1, -1};
    std::int16_t FogCol[3] = {-1, -1, -1};
    Text KeptLines; // as CommanderDataType::KeptLines, written after the province's own lines

    bool operator==(const ProvinceFields&) const = default;
};

struct ProvinceDataType : ProvinceFields {
    SlotArray<CommanderDataType, kCommanderSlots> Commanders;

    bool operator==(const ProvinceDataType&) const = default;
};

struct NationDataType {
    Text NodeParentKey, NodeKey, NodeText;
    bool NationInUse = false;
    std::int16_t NationNumber = 0;
    Text NationName;
    std::int16_t SpecStartProvince = -1; // only > 0 counts as set
    std::int16_t AIDifficulty = 0;       // < 1 is an open (human) slot
    bool CannotWin = false;
    Text GodName; // always equals God.UnitName
    std::int16_t GodIndex = -1; // always equals God.UnitIndex
    CommanderDataType God;
    std::int16_t ScaleChaos = kNone, ScaleLazy = kNone, ScaleCold = kNone, ScaleDeath = kNone,
                 ScaleUnluck = kNone, ScaleUnmagic = kNone;
    std::int16_t DominionLevel = 0;
    bool Allies[kNationCount] = {};
    bool AllowedPlayer = false;
    Text KeptLines; // as CommanderDataType::KeptLines, written in the nation's block

    bool operator==(const NationDataType&) const = default;
};

// The panel dirty flags, in the order the navigator's commit step knows them.
enum PanelDirtyFlag {
    HeaderDirty = 0,
    ProvinceDirty,
    SitesDirty,
    CommanderDirty,
    StartOwnerDirty,
    VictoryDirty,
    CommanderDetailDirty,
    PanelDirty7,
    PanelDirty8,
    NationDirty,
};

// The whole open map. Nothing is allocated per map: opening or creating one resets these fixed
// tables and fills them again.
struct MapDocument {
    // Header
    Text MapTitle;
    Text ImageFileName;
    Text GameVersion;
    bool ScenarioFlag = false;
    Text MapDescription; // line breaks held as CR LF
    float MapTextColor[4] = {-1.0f, -1.0f, -1.0f, -1.0f};
    float DefaultMapZoom = -1.0f;
    std::int16_t FeaturesFrequency = -1;
    bool NoHomelandNames = false;
    std::int16_t VictoryConditionType = -1;
    std::int16_t VictoryConditionValue = -1;
    bool WrapAround = false;
    Text HeaderKeptLines;   // as CommanderDataType::KeptLines, written at the end of the header
    Text TrailingKeptLines; // kept lines that followed no record, written in a last section

    ProvinceDataType Provinces[kProvinceSlots];
    NationDataType Nations[kNationCount];

    // Current-position context, used by the parser while reading and by the panels while editing.
    std::int16_t CurProvince = kNone;
    std::int16_t CurSiteSlot = kNone;
    std::int16_t CurKnownSiteSlot = kNone;
    std::int16_t CurCommander = kNone;
    std::int16_t CurBodyguardSlot = kNone;
    std::int16_t CurUnitSlot = kNone;
    std::int16_t CurItemSlot = kNone;
    std::int16_t CurGodNation = kNone;
    bool GodContext = false;
    bool InsideCastle = false;
    std::int32_t MapLineNumber = 1;

    // Change tracking and error state
    bool MapModified = false;
    bool PanelDirty[kPanelDirtyFlags] = {};
    std::int16_t ProvinceCount = 0;
    Text MapFilePath;
    Text MapFileTitle;
    std::string ErrorLog;
    bool MapErrorsFound = false;
    std::int16_t FirstErrorLine = 0;
    // Read and write keep what the editor does not understand (unknown commands, numbers beyond its
    // limits, units and sites missing from the tables, terrain bits above 22); off, they are dropped.
    bool KeepUnknown = false;
    // An edit that reaches a province beyond the ones it named when it began (a god moving to a new
    // special start) reports the province here first, so the open undo step keeps it as it was.
    std::function<void(int province)> BeforeProvinceEdit;

    bool anyPanelDirty() const;
};

// The program-wide document. Code that can take it as a parameter does, so tests use their own.
// Waits for the build startBuildingMapDocument() began.
MapDocument& mapDocument();
// Starts building the program-wide document on another thread, so that writing its province records
// (megabytes the system must first clear; commander slots wait until they are written) runs while
// the window is made. Returns where it will be:
// nothing may read or write there before mapDocument() has been called. andThen runs on the same
// thread once the document is built, and mapDocument() waits for it too.
MapDocument& startBuildingMapDocument(std::function<void()> andThen = {});

// Returns the document to its empty state. resetWindow, when given, puts the window back into its
// no-map state (zoom 100%, map picture hidden) at the point the reset order requires.
void ResetMapDocument(MapDocument& doc, const ReferenceData& ref, UserInterface& ui,
                      const std::function<void()>& resetWindow = {});

// One province back to its empty state.
void ResetProvince(ProvinceDataType& p);
// The header fields alone back to their empty values, as the reset leaves them, with the lines kept
// in the header and outside any record.
void ResetMapHeader(MapDocument& doc);
// The nations alone: numbered and named from the tables, nothing else set. A document fresh from
// its constructor needs only this to be as the reset leaves it.
void ResetNations(MapDocument& doc, const ReferenceData& ref);

inline void NoteProvinceEdit(MapDocument& doc, int province) {
    if (doc.BeforeProvinceEdit) doc.BeforeProvinceEdit(province);
}

// Sets the province's terrain flags from a mask; an invalid mask is reported, the flags set so far stay.
void DecodeTerrainMask(MapDocument& doc, int province, std::int32_t mask, UserInterface& ui);
// Rebuilds Terrain from the flags.
void ComputeTerrainMask(MapDocument& doc, int province);
// Puts each nation's god into slot 0 of its special start province; run once after a map is read.
void PlaceGodsAtStarts(MapDocument& doc);

} // namespace ts
