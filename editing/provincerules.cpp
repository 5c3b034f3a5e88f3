#include "provincerules.h"

#include "godplacement.h"

#include "cp1252.h"
#include "navigatormodel.h"
#include "paths.h"
#include "referencedata.h"
#include "valuerules.h"

#include <algorithm>

namespace ts {

namespace {

constexpr int kMaxPopulation = 50000;
constexpr int kMaxUnrest = 500;
constexpr int kMaxDefence = 125;

bool validProvince(int p) {
    return p >= 1 && p <= kMaxProvince;
}
bool validNation(int n) {
    return n >= 0 && n < kNationCount;
}

QString numberOrEmpty(int value) {
    return value == -1 ? QString() : QString::number(value);
}

std::string provinceSuffixKey(int province, const char* suffix) {
    return std::to_string(province) + suffix;
}

void setColour(std::int16_t (&col)[3], const Swatch& swatch) {
    if (!swatch) {
        std::fill(std::begin(col), std::end(col), std::int16_t(-1));
        return;
    }
    for (int k = 0; k < 3; ++k)
        col[k] = static_cast<std::int16_t>((*swatch >> (8 * k)) & 0xFF);
}

// A nation moves between the "Allowed Nations" and "Gods and Nations" era nodes with its
// AllowedPlayer flag; its node goes with it.
void moveNationNode(NationDataType& n, char from, char to, const NodeEdits& nodes) {
    std::string parent = n.NodeParentKey.str();
    if (parent.empty() || parent[0] != from) return;
    parent[0] = to;
    n.NodeParentKey = parent;
    if (nodes.remove) nodes.remove(n.NodeKey.view());
    if (nodes.add) nodes.add(n.NodeParentKey.view(), n.NodeKey.view(), n.NodeText.view());
}

void toggleNode(bool before, bool after, int province, const char* suffix, const char* caption,
                const NodeEdits& nodes) {
    if (before == after) return;
    const std::string key = provinceSuffixKey(province, suffix);
    if (before) {
        if (nodes.remove) nodes.remove(key);
    } else if (nodes.add) {
        nodes.add(ProvinceNodeKey(province), key, caption);
    }
}

void setStartFlags(ProvinceDataType& p, bool start, bool noStart) {
    p.Start = start;
    p.NoStart = noStart;
    p.TerrainBit[kNoStartBit] = noStart;
    p.SpecStart = false;
    p.SpecStartNation = -1;
    p.Owner = -1;
}

} // namespace

void ApplyTerrainRule(TerrainBoxes& boxes, int i) {
    if (i < 0 || i >= kTerrainBoxes) return;
    if (i == 0 && boxes[0]) {
        std::fill(boxes.begin() + 1, boxes.end(), false);
    } else if (i == 2 && boxes[2] && !boxes[1]) {
        boxes[1] = true;
    } else if (i == 4 && boxes[4] && boxes[5]) {
        boxes[5] = false;
    } else if (i == 5 && boxes[5] && boxes[4]) {
        boxes[4] = false;
    }
    if (i != 0 && boxes[i]) boxes[0] = false;
}

void ApplySizeRule(bool& justChanged, bool& other) {
    if (justChanged && other) other = false;
}

QString TerrainBoxHint(int i) {
    static const char* const hints[kTerrainBoxes] = {
        "Open plains. Unsets all other terrain flags.",
        "Underwater province.",
        "The sea is deep sea.",
        "Province is a cave.",
        "Province contains numerous mountains, but incur no movement penalty.",
        "Province contains numerous mountains.",
        "Province consists of mostly wasteland.",
        "Province consists of mostly swamp.",
        "Province contains huge forests.",
        "Province contains excellent farm land.",
        "Province contains a lake or river.",
    };
    if (i < 0 || i >= kTerrainBoxes) return {};
    return QStringLiteral("Terrain Tool: ") + QString::fromLatin1(hints[i]);
}

QString SiteTerrainBoxHint(int i) {
    static const char* const kinds[kSiteTerrainBoxes] = {"",       "fire",  "air",    "water", "earth",
                                                         "astral", "death", "nature", "blood", "holy"};
    if (i < 0 || i >= kSiteTerrainBoxes) return {};
    if (i == 0) return QStringLiteral("Terrain Tool: Magic sites are more common in this province.");
    return QStringLiteral(
               "Terrain Tool: Sites are more likely to be of type %1 when placed randomly in this province.")
        .arg(QString::fromLatin1(kinds[i]));
}

Swatch SwatchOf(const std::int16_t (&col)[3]) {
    if (col[0] == -1) return std::nullopt;
    Color c = 0;
    for (int k = 0; k < 3; ++k)
        c |= static_cast<Color>(std::clamp<int>(col[k], 0, 255)) << (8 * k);
    return c;
}

ProvinceForm ProvinceFormOf(const MapDocument& doc, int province) {
    ProvinceForm f;
    if (!validProvince(province)) return f;
    const ProvinceDataType& p = doc.Provinces[province];
    f.landName = fromCp1252(p.LandName.view());
    f.population = numberOrEmpty(p.Population);
    f.unrest = numberOrEmpty(p.Unrest);
    f.defence = numberOrEmpty(p.Defence);
    f.popType = p.PopType < 1 ? 0 : p.PopType;
    f.skyBox = fromCp1252(p.SkyBox.view());
    f.batMap = fromCp1252(p.BatMap.view());
    f.ground = SwatchOf(p.GroundCol);
    f.rock = SwatchOf(p.RockCol);
    f.fog = SwatchOf(p.FogCol);
    f.owner = p.Owner;
    f.fort = p.Fort > 0 ? p.Fort : -1;
    f.lab = p.Lab;
    f.temple = p.Temple;
    f.terrain[0] = p.TerrainPlain;
    for (int i = 1; i < kTerrainBoxes; ++i)
        f.terrain[i] = p.TerrainBit[kTerrainBoxBit[i]];
    for (int i = 0; i < kSiteTerrainBoxes; ++i)
        f.siteTerrain[i] = p.TerrainBit[kSiteTerrainBoxBit[i]];
    f.small = p.TerrainBit[kSmallBit];
    f.large = p.TerrainBit[kLargeBit];
    f.noStart = p.TerrainBit[kNoStartBit];
    f.clearProvince = p.LandFlag;
    return f;
}

static bool anyCommanderSet(const ProvinceDataType& p) {
    for (int c = 0; c < kCommanderSlots; ++c)
        if (p.Commanders[c].UnitIndex >= 0) return true;
    return false;
}

bool ProvinceHasDetail(const ProvinceDataType& p) {
    const auto anyAtLeast0 = [](const auto& values) {
        return std::any_of(std::begin(values), std::end(values), [](auto v) { return v >= 0; });
    };
    return p.Population >= 0 || p.Unrest >= 0 || p.Defence >= 0 || p.PopType > 0 || p.Temple || p.Lab ||
           p.Fort >= 0 || p.Owner >= 0 || p.KillFeatures || anyAtLeast0(p.SiteIndex) ||
           anyAtLeast0(p.KnownSiteIndex) ||
           anyCommanderSet(p) ||
           !p.SkyBox.empty() || !p.BatMap.empty() || p.GroundCol[0] >= 0 || p.RockCol[0] >= 0 ||
           p.FogCol[0] >= 0;
}

void CommitProvince(MapDocument& doc, const ReferenceData& ref, int province, const ProvinceForm& form,
                    const NodeEdits& nodes) {
    if (!validProvince(province)) return;
    ProvinceDataType& p = doc.Provinces[province];

    const std::string name = toCp1252(form.landName);
    p.NodeText = std::to_string(province) + " " + (name.empty() ? std::string("Prov") : name);
    if (nodes.setCaption && !p.NodeKey.empty()) nodes.setCaption(p.NodeKey.view(), p.NodeText.view());
    p.LandName = name;

    p.Population = form.population.trimmed().isEmpty() ? -1 : ClampLong(form.population, 0, kMaxPopulation);
    p.Unrest = form.unrest.trimmed().isEmpty() ? std::int16_t(-1) : ClampInt(form.unrest, 0, kMaxUnrest);
    p.Defence = form.defence.trimmed().isEmpty() ? std::int16_t(-1) : ClampInt(form.defence, 0, kMaxDefence);
    p.PopType = static_cast<std::int16_t>(form.popType);
    p.SkyBox = toCp1252(form.skyBox);
    p.BatMap = toCp1252(form.batMap);
    setColour(p.GroundCol, form.ground);
    setColour(p.RockCol, form.rock);
    setColour(p.FogCol, form.fog);
    p.Owner = static_cast<std::int16_t>(form.owner);

    const int fort = form.fort > 0 ? form.fort : -1;
    if (fort != std::max<int>(p.Fort, -1)) {
        const std::string key = provinceSuffixKey(province, " FORT");
        if (p.Fort > 0 && nodes.remove) nodes.remove(key);
        if (fort > 0 && nodes.add) {
            // A fort number beyond the fort table still gets a node, captioned with its number.
            const std::string caption = fort < kFortSlots ? ref.FortData[fort].name : std::to_string(fort);
            nodes.add(ProvinceNodeKey(province), key, caption);
        }
    }
    p.Fort = static_cast<std::int16_t>(fort);
    toggleNode(p.Lab, form.lab, province, " LAB", "Lab", nodes);
    p.Lab = form.lab;
    toggleNode(p.Temple, form.temple, province, " TEMPLE", "Temple", nodes);
    p.Temple = form.temple;

    p.NoStart = p.TerrainBit[kNoStartBit] = form.noStart;
    p.TerrainBit[kSmallBit] = form.small;
    p.TerrainBit[kLargeBit] = form.large;
    p.TerrainPlain = form.terrain[0];
    for (int i = 1; i < kTerrainBoxes; ++i)
        p.TerrainBit[kTerrainBoxBit[i]] = form.terrain[i];
    for (int i = 0; i < kSiteTerrainBoxes; ++i)
        p.TerrainBit[kSiteTerrainBoxBit[i]] = form.siteTerrain[i];

    p.LandFlag = form.clearProvince;
    if (!p.LandFlag) p.SetLandFlag = ProvinceHasDetail(p);
}

QString StartOptionText(int option) {
    static const char* const texts[] = {
        "Default. No start or owner information specified for this province.",
        "Tags this province as nonstartable. No player will start here.",
        "By creating at least one start location for each player, every player will start at one of these "
        "locations.",
        "Assign a specific nation to a specific start location. You must select an owner before this option "
        "can "
        "be chosen. Please note that checking 'Clear Province' results in the nation starting with no troops "
        "and "
        "a dead god.",
    };
    if (option < 0 || option > 3) return {};
    return QString::fromLatin1(texts[option]);
}

StartOption ShownStartOption(const ProvinceDataType& p) {
    if (p.NoStart || p.TerrainBit[kNoStartBit]) return NoStartOption;
    if (p.Start) return StartLocation;
    if (p.SpecStart) return SpecialStart;
    return DefaultStart;
}

int ShownOwnerNation(const ProvinceDataType& p) {
    if (validNation(p.Owner)) return p.Owner;
    if (validNation(p.SpecStartNation)) return p.SpecStartNation;
    return -1;
}

void ChooseStartOption(StartOwnerChoice& choice, int option, const ProvinceDataType& p, UserInterface& ui) {
    // Owner 0 is not asked about: the question guards owners above 0 only.
    if (option == StartLocation && p.Owner > 0) {
        const Answer answer = ui.messageBox(
            QStringLiteral("Warning!"),
            QStringLiteral("This province has an owner! OK to remove ownership or CANCEL to retain "
                           "ownership."),
            Buttons::OkCancel);
        if (answer == Answer::Cancel) {
            choice.option = p.SpecStart ? SpecialStart : NoStartOption;
            return;
        }
        choice.ownerNation = -1;
    }
    choice.option = option;
}

void ChooseOwner(StartOwnerChoice& choice, int nation) {
    choice.ownerNation = nation;
    if (nation >= 0 && choice.option != SpecialStart) choice.option = NoStartOption;
}

namespace {

// The shared god placement keeps the tree through the same node edits.
NavigatorNodeEdits treeEdits(const NodeEdits& nodes) {
    NavigatorNodeEdits edits;
    edits.add = nodes.add;
    edits.remove = nodes.remove;
    return edits;
}

} // namespace

void CommitStartAndOwner(MapDocument& doc, int province, const StartOwnerChoice& choice,
                         const NodeEdits& nodes) {
    if (!validProvince(province)) return;
    ProvinceDataType& p = doc.Provinces[province];
    const bool special = choice.option == SpecialStart;
    int owner = validNation(choice.ownerNation) ? choice.ownerNation : -1;
    const int s = p.SpecStartNation;

    if (validNation(s) && (!special || owner != s)) {
        NationDataType& old = doc.Nations[s];
        old.AllowedPlayer = false;
        old.SpecStartProvince = -1;
        old.NationInUse = false;
        moveNationNode(old, 'A', 'G', nodes);
        RemoveGod(doc, province, treeEdits(nodes));
        if (!special) owner = -1;
    }

    if (choice.option == NoStartOption) {
        setStartFlags(p, false, true);
    } else if (choice.option == StartLocation) {
        setStartFlags(p, true, false);
    } else if (!special || owner < 0) {
        setStartFlags(p, false, false);
    } else {
        NationDataType& n = doc.Nations[owner];
        const int q = n.SpecStartProvince;
        // RemoveGod also drops the province's "Commanders" node when the god was its last one.
        if (q >= 1 && q != province && validProvince(q)) RemoveGod(doc, q, treeEdits(nodes));
        setStartFlags(p, false, false);
        p.SpecStart = true;
        p.SpecStartNation = static_cast<std::int16_t>(owner);
        n.SpecStartProvince = static_cast<std::int16_t>(province);
        n.AllowedPlayer = true;
        n.NationInUse = true;
        moveNationNode(n, 'G', 'A', nodes);
        PlaceGod(doc, owner, province, treeEdits(nodes));
        p.Owner = -1;
    }

    if (owner >= 0 && !p.SpecStart) p.Owner = static_cast<std::int16_t>(owner);
}

const QStringList& VictoryConditionNames() {
    static const QStringList names = {QStringLiteral("Standard"), QStringLiteral("Victory Points"),
                                      QStringLiteral("Dominion"), QStringLiteral("Provinces"),
                                      QStringLiteral("Research"), QStringLiteral("VPs (cumulative)")};
    return names;
}

QString VictoryValueAfterChoice(int index, const QString& value) {
    if (index <= 0) return {};
    return IntOrDefault(value, -1) < 1 ? QStringLiteral("1") : value;
}

void CommitVictory(MapDocument& doc, int province, int conditionIndex, const QString& conditionValue,
                   const QString& provinceValue) {
    doc.VictoryConditionType = static_cast<std::int16_t>(conditionIndex);
    doc.VictoryConditionValue = IntOrDefault(conditionValue, -1);
    if (validProvince(province)) doc.Provinces[province].VictoryPoints = IntOrDefault(provinceValue, -1);
}

TerrainIcons TerrainIconsOf(const ProvinceDataType& p) {
    TerrainIcons icons;
    const bool* bit = p.TerrainBit;
    const auto add = [&icons](bool set, const char* file) {
        if (set) icons.files << QString::fromLatin1(file);
    };
    add(p.NoStart || bit[kNoStartBit], "nostart.bmp");
    add(bit[kSmallBit], "small.bmp");
    add(bit[kLargeBit], "large.bmp");
    add(bit[11], "deepsea.bmp");
    add(bit[2] && !bit[11], "sea.bmp");
    add(bit[3], "somewater.bmp");
    add(bit[4] || bit[22], "mountain.bmp");
    add(bit[5], "swamp.bmp");
    add(bit[6], "waste.bmp");
    add(bit[7], "forest.bmp");
    add(bit[8], "farm.bmp");
    add(bit[12], "cave.bmp");
    add(bit[10], "manysites.bmp");
    // The tooltip lists the site kinds in this order, not by bit.
    const struct {
        int bit;
        const char* word;
    } kinds[] = {{14, " air"},  {17, " astral"}, {20, " blood"},  {18, " death"}, {16, " earth"},
                 {13, " fire"}, {15, " water"},  {19, " nature"}, {21, " holy"}};
    QString tip;
    for (const auto& k : kinds)
        if (bit[k.bit]) tip += QString::fromLatin1(k.word);
    if (!tip.isEmpty()) {
        icons.files << QStringLiteral("specialsite.bmp");
        icons.specialSiteTip = QStringLiteral("special site:") + tip;
    }
    return icons;
}

QString BattleMapFolder(const QString& mapsFolder) {
    QString folder = mapsFolder;
    return folder.replace(QStringLiteral("maps"), QStringLiteral("battlemaps"));
}

QString BrowsePreset(const QString& folder, const QString& boxValue) {
    QString value = boxValue;
    value.remove(QStringLiteral("./"));
    if (value.isEmpty()) return {};
    return joinPath(folder, value);
}

QString BrowsedValue(const QString& folder, const QString& chosen) {
    QString base = folder;
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    // A file outside the game's folder keeps its full path: the game would not find "./" + it.
    if (!chosen.startsWith(base + QLatin1Char('/'))) return chosen;
    QString relative = chosen.mid(base.size() + 1);
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QStringLiteral("./") + relative;
}

} // namespace ts
