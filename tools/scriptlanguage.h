#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace ts {

struct MapDocument;
struct ReferenceData;

// What the navigator shows for a province that an apply line can change.
enum class NavigatorEntry { ProvinceName, Fort, Temple, Lab, Sites, Commander };

// How a script run reaches the window. The core changes the document only; the script menu connects
// these to the navigator, the map view and its progress bar, the command line leaves them empty.
struct ScriptHooks {
    // An apply line changed what the navigator shows for the province (slot: the new commander's slot).
    std::function<void(int province, NavigatorEntry entry, int slot)> navigatorChanged;
    // Apply lines changed the selected province: its panels and the special marks are shown again.
    std::function<void(int province)> currentProvinceChanged;
    // A block is about to look at province (1..provinceCount).
    std::function<void(int province, int provinceCount)> progress;
};

// A script keyword; the argument tells the terrain bits and the magic paths apart.
enum class ScriptKeyword : std::uint8_t {
    Unknown,
    X,
    Y,
    NeighborCount,
    BatMap,
    SkyBox,
    LandName,
    Feature,
    KnownFeature,
    Fort,
    KillFeatures,
    Lab,
    Temple,
    Kill,
    Land,
    SetLand,
    MarkProv,
    MarkProvCol,
    MarkProvRingCol,
    MarkVisited,
    MarkUser,
    NoStart,
    Start,
    SpecStart,
    StartNation,
    PopType,
    Terrain,
    TPlain,
    TBit,
    VictoryPoints,
    Population,
    Owner,
    Unrest,
    Defence,
    GroundCol,
    RockCol,
    FogCol,
    ComndrCount,
    ComType,
    ComName,
    ClearMagic,
    Magic,
    Xp,
    RandEquip,
    InsideFort,
    Bodyguard,
    BodyguardCount,
    Unit,
    UnitCount,
    Item,
};

// A test line, split once when the script is read: keyword, operator and the value as the text it is
// compared with (TRUE/FALSE already "True"/"False", double quotes removed).
struct ScriptTest {
    ScriptKeyword keyword = ScriptKeyword::Unknown;
    int arg = 0;
    enum Op : std::uint8_t { Invalid, Greater, Less, Equal, NotEqual, GreaterEqual, LessEqual } op = Invalid;
    std::string value;
};

// An apply line, split once: keyword and the value text (double quotes removed, TRUE/FALSE turned
// into "True"/"False"). valid is false when the line has no value part; it then changes nothing.
struct ScriptApply {
    ScriptKeyword keyword = ScriptKeyword::Unknown;
    int arg = 0;
    bool valid = false;
    std::string value;
};

ScriptTest ParseScriptTest(std::string_view line);
ScriptApply ParseScriptApply(std::string_view line);

// One evaluation of a test for province p, commander slot i and slot j (site slot, colour component,
// stack or item slot, as the keyword needs). Indices out of range give false.
bool EvaluateScriptTest(const MapDocument& doc, int p, const ScriptTest& test, int i, int j);
bool EvaluateScriptTest(const MapDocument& doc, int p, std::string_view testLine, int i, int j);

// The test for province p with every evaluation its keyword calls for: each site slot, each colour
// component, each commander slot 1..39 (and each of its stack or item slots); true when one is.
bool ScriptTestHolds(const MapDocument& doc, int p, const ScriptTest& test);

// Changes province p by one apply line. Returns whether a target was set; a value that does not
// convert, a keyword without a target, or a search that finds no slot changes nothing.
bool ApplyScriptLine(MapDocument& doc, const ReferenceData& ref, int p, const ScriptApply& apply,
                     const ScriptHooks& hooks = {});
bool ApplyScriptLine(MapDocument& doc, const ReferenceData& ref, int p, std::string_view applyLine,
                     const ScriptHooks& hooks = {});

} // namespace ts
