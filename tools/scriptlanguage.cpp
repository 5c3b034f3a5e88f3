#include "scriptlanguage.h"

#include "lookups.h"
#include "mapdocument.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>
#include <tuple>
#include <vector>

namespace ts {

namespace {

using K = ScriptKeyword;

struct KeywordEntry {
    std::string_view name;
    K keyword;
    int arg;
};

// The terrain keywords name the mask bits 0..22 in order; the magic keywords the commander's fields.
constexpr std::string_view kTerrainWords[kTerrainBits] = {
    "tsmall", "tlarge",   "tsea",       "tsomewater", "tmountain", "tswamp",  "twaste",    "tforest",
    "tfarm",  "tnostart", "tmanysites", "tdeep",      "tcave",     "tfire",   "tair",      "twater",
    "tearth", "tastral",  "tdeath",     "tnature",    "tblood",    "tpriest", "tedgemount"};
constexpr std::string_view kMagicWords[] = {"mag_fire",  "mag_air",    "mag_water", "mag_earth", "mag_astral",
                                            "mag_death", "mag_nature", "mag_blood", "mag_priest"};
constexpr std::int16_t CommanderDataType::*kMagicFields[] = {
    &CommanderDataType::MagFire,   &CommanderDataType::MagAir,    &CommanderDataType::MagWater,
    &CommanderDataType::MagEarth,  &CommanderDataType::MagAstral, &CommanderDataType::MagDeath,
    &CommanderDataType::MagNature, &CommanderDataType::MagBlood,  &CommanderDataType::MagPriest};

std::vector<KeywordEntry> makeKeywords() {
    std::vector<KeywordEntry> k = {
        {"x", K::X, 0},
        {"y", K::Y, 0},
        {"neighborcount", K::NeighborCount, 0},
        {"batmap", K::BatMap, 0},
        {"skybox", K::SkyBox, 0},
        {"landname", K::LandName, 0},
        {"feature", K::Feature, 0},
        {"knownfeature", K::KnownFeature, 0},
        {"fort", K::Fort, 0},
        {"killfeatures", K::KillFeatures, 0},
        {"lab", K::Lab, 0},
        {"temple", K::Temple, 0},
        {"kill", K::Kill, 0},
        {"land", K::Land, 0},
        {"setland", K::SetLand, 0},
        {"markprov", K::MarkProv, 0},
        {"markprovcol", K::MarkProvCol, 0},
        {"markprovringcol", K::MarkProvRingCol, 0},
        {"markvisited", K::MarkVisited, 0},
        {"markuser", K::MarkUser, 0},
        {"nostart", K::NoStart, 0},
        {"start", K::Start, 0},
        {"specstart", K::SpecStart, 0},
        {"startnation", K::StartNation, 0},
        {"poptype", K::PopType, 0},
        {"terrain", K::Terrain, 0},
        {"tplain", K::TPlain, 0},
        {"victorypoints", K::VictoryPoints, 0},
        {"population", K::Population, 0},
        {"owner", K::Owner, 0},
        {"unrest", K::Unrest, 0},
        {"defence", K::Defence, 0},
        {"groundcol", K::GroundCol, 0},
        {"rockcol", K::RockCol, 0},
        {"fogcol", K::FogCol, 0},
        {"comndrcount", K::ComndrCount, 0},
        {"comtype", K::ComType, 0},
        {"comname", K::ComName, 0},
        {"clearmagic", K::ClearMagic, 0},
        {"xp", K::Xp, 0},
        {"randequip", K::RandEquip, 0},
        {"insidefort", K::InsideFort, 0},
        {"bodyguard", K::Bodyguard, 0},
        {"bodyguardcount", K::BodyguardCount, 0},
        {"unit", K::Unit, 0},
        {"unitcount", K::UnitCount, 0},
        {"item", K::Item, 0},
    };
    for (int bit = 0; bit < kTerrainBits; ++bit)
        k.push_back({kTerrainWords[bit], K::TBit, bit});
    for (int m = 0; m < 9; ++m)
        k.push_back({kMagicWords[m], K::Magic, m});
    std::sort(k.begin(), k.end(),
              [](const KeywordEntry& a, const KeywordEntry& b) { return a.name < b.name; });
    return k;
}

std::pair<K, int> lookUpKeyword(std::string_view word) {
    static const std::vector<KeywordEntry> keywords = makeKeywords();
    const auto it = std::lower_bound(keywords.begin(), keywords.end(), word,
                                     [](const KeywordEntry& e, std::string_view w) { return e.name < w; });
    if (it == keywords.end() || it->name != word) return {K::Unknown, 0};
    return {it->keyword, it->arg};
}

// Splits at every single blank, so two blanks make an empty word; at most `limit` parts, the last
// keeping the rest of the line.
std::vector<std::string_view> splitWords(std::string_view line, std::size_t limit) {
    std::vector<std::string_view> words;
    while (words.size() + 1 < limit) {
        const auto blank = line.find(' ');
        if (blank == std::string_view::npos) break;
        words.push_back(line.substr(0, blank));
        line.remove_prefix(blank + 1);
    }
    words.push_back(line);
    return words;
}

std::string withoutQuotes(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s)
        if (c != '"') out.push_back(c);
    return out;
}

// Optional minus and digits only.
template <typename Int> std::optional<Int> toInteger(std::string_view s) {
    const std::string_view digits = !s.empty() && s.front() == '-' ? s.substr(1) : s;
    if (digits.empty() ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    if (value < std::numeric_limits<Int>::min() || value > std::numeric_limits<Int>::max())
        return std::nullopt;
    return static_cast<Int>(value);
}

std::optional<bool> toTruth(std::string_view s) {
    if (s == "True") return true;
    if (s == "False") return false;
    const std::string_view digits = !s.empty() && s.front() == '-' ? s.substr(1) : s;
    if (digits.empty() ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::any_of(digits.begin(), digits.end(), [](char c) { return c != '0'; });
}

// A property read for a test: a number, a truth value or a text.
struct Property {
    enum Kind { None, Number, Truth, String } kind = None;
    std::int64_t number = 0;
    std::string_view text;
};

Property num(std::int64_t n) {
    return {Property::Number, n, {}};
}
Property truth(bool b) {
    return {Property::Truth, b ? 1 : 0, {}};
}
Property str(std::string_view s) {
    return {Property::String, 0, s};
}

bool inRange(int v, int count) {
    return v >= 0 && v < count;
}

// How many slots j runs over for the keyword: site slots, colour components, stacks or items.
int slotCount(K keyword) {
    switch (keyword) {
    case K::Feature:
    case K::KnownFeature:
        return kSiteSlotsPerProvince;
    case K::GroundCol:
    case K::RockCol:
    case K::FogCol:
        return 3;
    case K::Bodyguard:
    case K::BodyguardCount:
        return kBodyguardSlots;
    case K::Unit:
    case K::UnitCount:
        return kUnitStackSlots;
    case K::Item:
        return kItemSlotsPerCommander;
    default:
        return 0;
    }
}

// Reads the keyword's property; an index out of range reads nothing valid.
std::optional<Property> readProperty(const MapDocument& doc, int p, K keyword, int arg, int i, int j) {
    const int slots = slotCount(keyword);
    if (slots > 0 && !inRange(j, slots)) return std::nullopt;
    const ProvinceDataType& prov = doc.Provinces[p];
    const bool commanderOk = inRange(i, kCommanderSlots);
    const CommanderDataType* com = commanderOk ? &prov.Commanders[i] : nullptr;
    switch (keyword) {
    case K::Unknown:
        return str({});
    case K::X:
        return num(prov.ProvinceX);
    case K::Y:
        return num(prov.ProvinceY);
    case K::NeighborCount:
        return num(std::count_if(std::begin(prov.Neighbours), std::end(prov.Neighbours),
                                 [](std::int16_t n) { return n >= 0; }));
    case K::BatMap:
        return str(prov.BatMap);
    case K::SkyBox:
        return str(prov.SkyBox);
    case K::LandName:
        return str(prov.LandName);
    case K::Feature:
        return num(prov.SiteIndex[j]);
    case K::KnownFeature:
        return num(prov.KnownSiteIndex[j]);
    case K::Fort:
        return num(prov.Fort);
    case K::KillFeatures:
        return truth(prov.KillFeatures);
    case K::Lab:
        return truth(prov.Lab);
    case K::Temple:
        return truth(prov.Temple);
    case K::Kill:
    case K::Land:
        return truth(prov.LandFlag);
    case K::SetLand:
        return truth(prov.SetLandFlag);
    case K::MarkProv:
        return truth(prov.MarkerFlag);
    case K::MarkProvCol:
        return num(static_cast<std::int32_t>(prov.MarkerColor));
    case K::MarkProvRingCol:
        return num(static_cast<std::int32_t>(prov.MarkerColor2));
    case K::MarkVisited:
        return truth(prov.Visited);
    case K::MarkUser:
        return truth(prov.Marked);
    case K::NoStart:
        return truth(prov.NoStart);
    case K::Start:
        return truth(prov.Start);
    case K::SpecStart:
        return truth(prov.SpecStart);
    case K::StartNation:
        return num(prov.SpecStartNation);
    case K::PopType:
        return num(prov.PopType);
    case K::Terrain:
        return num(prov.Terrain);
    case K::TPlain:
        return truth(prov.TerrainPlain);
    case K::TBit:
        return truth(prov.TerrainBit[arg]);
    case K::VictoryPoints:
        return num(prov.VictoryPoints);
    case K::Population:
        return num(prov.Population);
    case K::Owner:
        return num(prov.Owner);
    case K::Unrest:
        return num(prov.Unrest);
    case K::Defence:
        return num(prov.Defence);
    case K::GroundCol:
    case K::RockCol:
    case K::FogCol: {
        const std::int16_t* rgb = keyword == K::GroundCol ? prov.GroundCol
                                  : keyword == K::RockCol ? prov.RockCol
                                                          : prov.FogCol;
        return num(rgb[j]);
    }
    case K::ComndrCount:
        return num(prov.CommanderCount);
    default:
        break;
    }
    // Everything below belongs to commander i.
    if (!com) return std::nullopt;
    switch (keyword) {
    case K::ComType:
        return num(com->UnitIndex);
    case K::ComName:
        return str(com->ComName);
    case K::ClearMagic:
        return truth(com->ClearMagic);
    case K::Magic:
        return num(com->*kMagicFields[arg]);
    case K::Xp:
        return num(com->Xp);
    case K::RandEquip:
        return num(com->RandomEquip);
    case K::InsideFort:
        return truth(com->InsideCastle);
    case K::Bodyguard:
        return num(com->BodyguardIndex[j]);
    case K::BodyguardCount:
        return num(com->BodyguardCount[j]);
    case K::Unit:
        return num(com->UnitsIndex[j]);
    case K::UnitCount:
        return num(com->UnitsCount[j]);
    case K::Item:
        return str(com->Items[j]);
    default:
        return std::nullopt;
    }
}

bool compareTexts(std::string_view left, ScriptTest::Op op, std::string_view right) {
    // Byte order: the character codes of the Windows-1252 texts, as unsigned values.
    const int c = left.compare(right);
    switch (op) {
    case ScriptTest::Greater:
        return c > 0;
    case ScriptTest::Less:
        return c < 0;
    case ScriptTest::Equal:
        return c == 0;
    case ScriptTest::NotEqual:
        return c != 0;
    case ScriptTest::GreaterEqual:
        return c >= 0;
    case ScriptTest::LessEqual:
        return c <= 0;
    case ScriptTest::Invalid:
        break;
    }
    return false;
}

ScriptTest::Op parseOperator(std::string_view word) {
    if (word == ">") return ScriptTest::Greater;
    if (word == "<") return ScriptTest::Less;
    if (word == "=") return ScriptTest::Equal;
    if (word == "!=") return ScriptTest::NotEqual;
    if (word == ">=") return ScriptTest::GreaterEqual;
    if (word == "<=") return ScriptTest::LessEqual;
    return ScriptTest::Invalid;
}

// Which evaluations a test makes: once, per slot of the province (sites, colour components), per
// commander, or per commander and slot (stacks, items).
enum class Group { Once, ProvinceSlots, Commanders, CommanderSlots };

Group groupOf(K keyword) {
    switch (keyword) {
    case K::Feature:
    case K::KnownFeature:
    case K::GroundCol:
    case K::RockCol:
    case K::FogCol:
        return Group::ProvinceSlots;
    case K::ClearMagic:
    case K::ComName:
    case K::ComType:
    case K::Magic:
    case K::Xp:
    case K::RandEquip:
    case K::InsideFort:
        return Group::Commanders;
    case K::BodyguardCount:
    case K::Bodyguard:
    case K::UnitCount:
    case K::Unit:
    case K::Item:
        return Group::CommanderSlots;
    default:
        return Group::Once;
    }
}

// The commander slot an apply line for "the last commander" acts on: the highest slot 1..39 that
// holds a commander, or 0 when none does.
int lastCommander(const ProvinceDataType& prov) {
    for (int c = kCommanderSlots - 1; c >= 1; --c)
        if (prov.Commanders[c].UnitIndex != -1) return c;
    return 0;
}

// From the last commander downwards, the first commander that has a free slot, and its lowest free
// slot: {commander, slot}, or {0, -1} when none has.
template <typename Free> std::pair<int, int> firstFreeStack(ProvinceDataType& prov, int slots, Free isFree) {
    for (int c = kCommanderSlots - 1; c >= 1; --c) {
        const CommanderDataType& com = prov.Commanders[c];
        if (com.UnitIndex == -1) continue;
        for (int s = 0; s < slots; ++s)
            if (isFree(com, s)) return {c, s};
    }
    return {0, -1};
}

void notify(const ScriptHooks& hooks, int p, NavigatorEntry entry, int slot = -1) {
    if (hooks.navigatorChanged) hooks.navigatorChanged(p, entry, slot);
}

} // namespace

ScriptTest ParseScriptTest(std::string_view line) {
    ScriptTest test;
    const std::vector<std::string_view> words = splitWords(line, 4);
    if (words.size() < 3) return test; // op stays Invalid: the test is false
    std::tie(test.keyword, test.arg) = lookUpKeyword(words[0]);
    test.op = parseOperator(words[1]);
    // Only the first three words count: the value is one word.
    const std::string_view value = words[2];
    if (value == "TRUE")
        test.value = "True";
    else if (value == "FALSE")
        test.value = "False";
    else
        test.value = withoutQuotes(value);
    return test;
}

ScriptApply ParseScriptApply(std::string_view line) {
    ScriptApply apply;
    // A quoted value may hold blanks: the line is then cut into three parts only.
    const bool quoted = line.find('"') != std::string_view::npos;
    const std::vector<std::string_view> words = splitWords(line, quoted ? 3 : 4);
    std::tie(apply.keyword, apply.arg) = lookUpKeyword(words[0]);
    if (words.size() < 3) return apply;
    apply.valid = true;
    apply.value = withoutQuotes(words[2]);
    if (apply.value == "TRUE")
        apply.value = "True";
    else if (apply.value == "FALSE")
        apply.value = "False";
    return apply;
}

bool EvaluateScriptTest(const MapDocument& doc, int p, const ScriptTest& test, int i, int j) {
    if (test.op == ScriptTest::Invalid || !inRange(p, kProvinceSlots)) return false;
    const std::optional<Property> prop = readProperty(doc, p, test.keyword, test.arg, i, j);
    if (!prop) return false;
    char buffer[24];
    std::string_view left;
    std::string unquoted;
    switch (prop->kind) {
    case Property::Number: {
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, prop->number).ptr;
        left = std::string_view(buffer, static_cast<std::size_t>(end - buffer));
        break;
    }
    case Property::Truth:
        left = prop->number ? "True" : "False";
        break;
    case Property::String:
        left = prop->text;
        if (left.find('"') != std::string_view::npos) {
            unquoted = withoutQuotes(left);
            left = unquoted;
        }
        break;
    case Property::None:
        break;
    }
    return compareTexts(left, test.op, test.value);
}

bool EvaluateScriptTest(const MapDocument& doc, int p, std::string_view testLine, int i, int j) {
    return EvaluateScriptTest(doc, p, ParseScriptTest(testLine), i, j);
}

bool ScriptTestHolds(const MapDocument& doc, int p, const ScriptTest& test) {
    auto anyOf = [&](int commanderFrom, int commanderTo, int slots) {
        for (int i = commanderFrom; i <= commanderTo; ++i)
            for (int j = 0; j < slots; ++j)
                if (EvaluateScriptTest(doc, p, test, i, j)) return true;
        return false;
    };
    constexpr int kLastCommander = kCommanderSlots - 1;
    switch (groupOf(test.keyword)) {
    case Group::ProvinceSlots:
        return anyOf(0, 0, slotCount(test.keyword));
    // The god in slot 0 is never examined.
    case Group::Commanders:
        return anyOf(1, kLastCommander, 1);
    case Group::CommanderSlots:
        return anyOf(1, kLastCommander, slotCount(test.keyword));
    case Group::Once:
        break;
    }
    return EvaluateScriptTest(doc, p, test, 0, 0);
}

bool ApplyScriptLine(MapDocument& doc, const ReferenceData& ref, int p, const ScriptApply& apply,
                     const ScriptHooks& hooks) {
    if (!apply.valid || !inRange(p, kProvinceSlots)) return false;
    ProvinceDataType& prov = doc.Provinces[p];
    const std::string& v = apply.value;

    // Each setter converts the value first; a value that does not convert changes nothing.
    auto setInt16 = [&](std::int16_t& target) {
        const auto n = toInteger<std::int16_t>(v);
        if (n) target = *n;
        return n.has_value();
    };
    auto setInt32 = [&](std::int32_t& target) {
        const auto n = toInteger<std::int32_t>(v);
        if (n) target = *n;
        return n.has_value();
    };
    auto setColour = [&](std::uint32_t& target) {
        const auto n = toInteger<std::int32_t>(v);
        if (n) target = static_cast<std::uint32_t>(*n);
        return n.has_value();
    };
    auto setTruth = [&](bool& target) {
        const auto b = toTruth(v);
        if (b) target = *b;
        return b.has_value();
    };
    auto setTriple = [&](std::int16_t(&rgb)[3]) {
        const auto c = toInteger<std::int32_t>(v);
        if (!c) return false;
        // Truncating division and a remainder with the dividend's sign, as the language always had.
        rgb[0] = static_cast<std::int16_t>(*c % 256);
        rgb[1] = static_cast<std::int16_t>((*c / 256) % 256);
        rgb[2] = static_cast<std::int16_t>((*c / 65536) % 256);
        return true;
    };
    auto withLast = [&](auto set) {
        const int c = lastCommander(prov);
        return c >= 1 && set(prov.Commanders[c]);
    };

    switch (apply.keyword) {
    case K::BatMap:
        prov.BatMap = v;
        return true;
    case K::SkyBox:
        prov.SkyBox = v;
        return true;
    case K::LandName:
        prov.LandName = v;
        notify(hooks, p, NavigatorEntry::ProvinceName);
        return true;
    case K::Feature:
    case K::KnownFeature: {
        const auto n = toInteger<std::int16_t>(v);
        if (!n) return false;
        const bool known = apply.keyword == K::KnownFeature;
        std::int16_t* indices = known ? prov.KnownSiteIndex : prov.SiteIndex;
        Text* names = known ? prov.KnownSiteName : prov.SiteName;
        // The slot now holds this kind of site only: the other kind's number goes. Its name stays
        // in strict mode, so the file carries the entry with -1; a keeping map drops it too, or
        // the replaced site would come back from the kept text on the next read.
        std::int16_t* otherIndices = known ? prov.SiteIndex : prov.KnownSiteIndex;
        Text* otherNames = known ? prov.SiteName : prov.KnownSiteName;
        for (int s = 0; s < kSiteSlotsPerProvince; ++s) {
            if (indices[s] >= 0) continue;
            indices[s] = *n;
            names[s] = DataNameOf(ref, *n, kSiteTableKey);
            otherIndices[s] = -1;
            if (doc.KeepUnknown) otherNames[s].clear();
            notify(hooks, p, NavigatorEntry::Sites);
            return true;
        }
        return false;
    }
    case K::Fort:
        if (!setInt16(prov.Fort)) return false;
        notify(hooks, p, NavigatorEntry::Fort);
        return true;
    case K::KillFeatures:
        return setTruth(prov.KillFeatures);
    case K::Lab:
        if (!setTruth(prov.Lab)) return false;
        notify(hooks, p, NavigatorEntry::Lab);
        return true;
    case K::Temple:
        if (!setTruth(prov.Temple)) return false;
        notify(hooks, p, NavigatorEntry::Temple);
        return true;
    case K::Kill:
        if (!setTruth(prov.LandFlag)) return false;
        prov.SetLandFlag = false;
        return true;
    case K::Land:
        return setTruth(prov.LandFlag);
    case K::SetLand:
        return setTruth(prov.SetLandFlag);
    case K::MarkProv:
        return setTruth(prov.MarkerFlag);
    case K::MarkProvCol:
        return setColour(prov.MarkerColor);
    case K::MarkProvRingCol:
        return setColour(prov.MarkerColor2);
    case K::MarkVisited:
        return setTruth(prov.Visited);
    case K::MarkUser:
        return setTruth(prov.Marked);
    case K::NoStart:
        return setTruth(prov.NoStart);
    case K::Start:
        return setTruth(prov.Start);
    case K::SpecStart:
        return setTruth(prov.SpecStart);
    case K::StartNation:
        return setInt16(prov.SpecStartNation);
    case K::PopType:
        return setInt16(prov.PopType);
    case K::Terrain:
        return setInt32(prov.Terrain); // the flags stay as they are
    case K::TPlain:
        return setTruth(prov.TerrainPlain);
    case K::TBit: {
        const auto b = toTruth(v);
        if (!b) return false;
        prov.TerrainBit[apply.arg] = *b;
        if (apply.arg == 11) prov.TerrainBit[2] = *b; // deep sea is sea
        return true;
    }
    case K::VictoryPoints:
        return setInt16(prov.VictoryPoints);
    case K::Population:
        return setInt32(prov.Population);
    case K::Owner:
        return setInt16(prov.Owner);
    case K::Unrest:
        return setInt16(prov.Unrest);
    case K::Defence:
        return setInt16(prov.Defence);
    case K::GroundCol:
        return setTriple(prov.GroundCol);
    case K::RockCol:
        return setTriple(prov.RockCol);
    case K::FogCol:
        return setTriple(prov.FogCol);
    case K::ComType: {
        const auto n = toInteger<std::int16_t>(v);
        // The count includes the god in slot 0.
        if (!n || prov.CommanderCount >= kCommanderSlots - 1) return false;
        for (int c = 1; c < kCommanderSlots; ++c) {
            CommanderDataType& com = prov.Commanders[c];
            if (com.UnitIndex != -1) continue;
            com.UnitIndex = *n;
            com.UnitName = DataNameOf(ref, *n, kUnitTableKey);
            ++prov.CommanderCount;
            notify(hooks, p, NavigatorEntry::Commander, c);
            return true;
        }
        return false;
    }
    case K::ComName:
        for (int c = kCommanderSlots - 1; c >= 1; --c) {
            CommanderDataType& com = prov.Commanders[c];
            if (com.UnitIndex == -1 || !com.ComName.empty()) continue;
            com.ComName = v;
            return true;
        }
        return false;
    case K::ClearMagic:
        return withLast([&](CommanderDataType& c) { return setTruth(c.ClearMagic); });
    case K::Magic:
        return withLast([&](CommanderDataType& c) { return setInt16(c.*kMagicFields[apply.arg]); });
    case K::Xp:
        return withLast([&](CommanderDataType& c) { return setInt16(c.Xp); });
    case K::RandEquip:
        return withLast([&](CommanderDataType& c) { return setInt16(c.RandomEquip); });
    case K::InsideFort:
        return withLast([&](CommanderDataType& c) { return setTruth(c.InsideCastle); });
    case K::Bodyguard:
    case K::Unit: {
        const auto n = toInteger<std::int16_t>(v);
        if (!n) return false;
        const bool guard = apply.keyword == K::Bodyguard;
        // Only the first bodyguard entry is ever filled by a script.
        const auto [c, s] =
            firstFreeStack(prov, guard ? 1 : kUnitStackSlots, [guard](const CommanderDataType& com, int k) {
                return (guard ? com.BodyguardIndex[k] : com.UnitsIndex[k]) == -1;
            });
        if (c < 1) return false;
        CommanderDataType& com = prov.Commanders[c];
        (guard ? com.BodyguardIndex : com.UnitsIndex)[s] = *n;
        (guard ? com.BodyguardName : com.UnitsName)[s] = DataNameOf(ref, *n, kUnitTableKey);
        return true;
    }
    case K::BodyguardCount:
    case K::UnitCount: {
        const auto n = toInteger<std::int16_t>(v);
        if (!n) return false;
        const bool guards = apply.keyword == K::BodyguardCount;
        const auto [c, s] =
            firstFreeStack(prov, kUnitStackSlots, [guards](const CommanderDataType& com, int k) {
                return (guards ? com.BodyguardCount[k] : com.UnitsCount[k]) < 1;
            });
        if (c < 1) return false;
        (guards ? prov.Commanders[c].BodyguardCount : prov.Commanders[c].UnitsCount)[s] = *n;
        return true;
    }
    case K::Item: {
        const auto [c, s] =
            firstFreeStack(prov, kItemSlotsPerCommander,
                           [](const CommanderDataType& com, int k) { return com.Items[k].empty(); });
        if (c < 1) return false;
        prov.Commanders[c].Items[s] = v;
        return true;
    }
    default:
        return false; // read-only keywords and unknown ones
    }
}

bool ApplyScriptLine(MapDocument& doc, const ReferenceData& ref, int p, std::string_view applyLine,
                     const ScriptHooks& hooks) {
    return ApplyScriptLine(doc, ref, p, ParseScriptApply(applyLine), hooks);
}

} // namespace ts
