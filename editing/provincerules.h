#pragma once

#include "godplacement.h"
#include "mapdocument.h"
#include "userinterface.h"

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>
#include <string_view>

namespace ts {

struct ReferenceData;

// The province panel's rules, on plain values: what the boxes do to each other, how the panel is
// written back into the records and which navigator nodes follow. The widgets only hold the values.

// The navigator operations a commit needs; the tree widget answers them, tests record them.
struct NodeEdits {
    std::function<void(std::string_view parentKey, std::string_view key, std::string_view caption)> add;
    std::function<void(std::string_view key)> remove;
    std::function<void(std::string_view key, std::string_view caption)> setCaption;
};

// The eleven terrain boxes (chkTerrain 0..10): 0 plains, 1 sea, 2 deep sea, 3 cave, 4 border
// mountains, 5 mountains, 6 waste, 7 swamp, 8 forest, 9 farm, 10 lake or river.
inline constexpr int kTerrainBoxes = 11;
inline constexpr int kSiteTerrainBoxes = 10;
using TerrainBoxes = std::array<bool, kTerrainBoxes>;
using SiteTerrainBoxes = std::array<bool, kSiteTerrainBoxes>;
// The terrain-mask bit each terrain box stands for; -1 for plains, which is no bit.
inline constexpr std::array<int, kTerrainBoxes> kTerrainBoxBit = {-1, 2, 11, 12, 22, 4, 6, 5, 7, 8, 3};
// chkSiteTerrain 0 is "many sites"; 1..9 are the site types fire, air, water, earth, astral, death,
// nature, blood and holy.
inline constexpr std::array<int, kSiteTerrainBoxes> kSiteTerrainBoxBit = {10, 13, 14, 15, 16,
                                                                          17, 18, 19, 20, 21};
inline constexpr int kSmallBit = 0;
inline constexpr int kLargeBit = 1;
inline constexpr int kNoStartBit = 9;

// Box i was just released (its new state is already in boxes): plains clears the others, deep sea
// needs sea, the two kinds of mountains exclude each other, any terrain clears plains.
void ApplyTerrainRule(TerrainBoxes& boxes, int i);
// Small and large exclude each other: the box just checked unchecks the other one.
void ApplySizeRule(bool& justChanged, bool& other);

// The status-bar texts of the terrain tool's boxes.
QString TerrainBoxHint(int i);
QString SiteTerrainBoxHint(int i);

// The value of each colour swatch: nothing when unset (shown hatched grey).
using Swatch = std::optional<Color>;
Swatch SwatchOf(const std::int16_t (&col)[3]);

// Everything the province panel holds, as the commit reads it.
struct ProvinceForm {
    QString landName;
    QString population, unrest, defence;
    int popType = 0; // item data of the chosen population type
    QString skyBox, batMap;
    Swatch ground, rock, fog;
    int owner = -1; // the owner icon's tag
    int fort = -1;  // the fort icon's tag; -1 for none
    bool lab = false, temple = false;
    TerrainBoxes terrain{};
    SiteTerrainBoxes siteTerrain{};
    bool small = false, large = false, noStart = false;
    bool clearProvince = false;
};

// The panel filled from the records (ShowProvince's values).
ProvinceForm ProvinceFormOf(const MapDocument& doc, int province);

// Writes the panel back into province p, keeping the navigator in step.
void CommitProvince(MapDocument& doc, const ReferenceData& ref, int province, const ProvinceForm& form,
                    const NodeEdits& nodes);
// Whether the province has anything that needs its detail block written.
bool ProvinceHasDetail(const ProvinceDataType& p);

// The four start options, by index.
enum StartOption { DefaultStart = 0, NoStartOption = 1, StartLocation = 2, SpecialStart = 3 };
QString StartOptionText(int option);

// What the start-and-owner panel shows for the province.
StartOption ShownStartOption(const ProvinceDataType& p);
// The owner combo's nation: the owner, or failing that the special-start nation; -1 for none.
int ShownOwnerNation(const ProvinceDataType& p);

// The start-and-owner panel's state while the user changes it.
struct StartOwnerChoice {
    int option = DefaultStart;
    int ownerNation = -1; // -1 for the "None" entry
};
// The user chose an option: on an owned province a start asks whether to drop the owner.
void ChooseStartOption(StartOwnerChoice& choice, int option, const ProvinceDataType& p, UserInterface& ui);
// The user chose an owner: an owned province is a no-start unless it is a special start.
void ChooseOwner(StartOwnerChoice& choice, int nation);

// Applies the start option and owner to province p, moving gods and nations as a special start
// requires (through PlaceGod and RemoveGod of godplacement.h).
void CommitStartAndOwner(MapDocument& doc, int province, const StartOwnerChoice& choice,
                         const NodeEdits& nodes);

// The victory conditions, by VictoryConditionType.
const QStringList& VictoryConditionNames();
// The condition's value box after the user chose condition index: hidden and empty for "Standard",
// otherwise at least "1".
QString VictoryValueAfterChoice(int index, const QString& value);
// The victory-point commit: the map's condition and the province's own points.
void CommitVictory(MapDocument& doc, int province, int conditionIndex, const QString& conditionValue,
                   const QString& provinceValue);

// The pictures ShowProvince puts into imgTerrain, in order (file names in the icon folder); more than
// eight means the "+" is shown. The special-site picture's tooltip comes with it.
struct TerrainIcons {
    QStringList files;
    QString specialSiteTip;
};
TerrainIcons TerrainIconsOf(const ProvinceDataType& p);

// The battleground and sky box browsers. The folders are found from the game's maps folder.
QString BattleMapFolder(const QString& mapsFolder);
// The box's value as the dialog's proposed file inside folder ("" when the box is empty).
QString BrowsePreset(const QString& folder, const QString& boxValue);
// The chosen file as the box holds it: relative to folder with "./" in front.
QString BrowsedValue(const QString& folder, const QString& chosen);

} // namespace ts
