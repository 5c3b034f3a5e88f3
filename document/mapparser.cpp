#include "mapparser.h"

#include "keeping.h"
#include "lookups.h"
#include "mapdocument.h"
#include "maperrorlog.h"
#include "referencedata.h"
#include "userinterface.h"

#include <array>
#include <charconv>
#include <cmath>
#include <functional>
#include <string>
#include <unordered_map>

namespace ts {

namespace {

// A failed command: thrown where it fails so that the changes made before stay, as the format
// expects, and caught once per line to become a line of the error log.
struct CommandError {
    std::string description;
    bool beyondLimits = false; // only a number beyond the editor's limits: a later game may know it
};

[[noreturn]] void fail(std::string description) {
    throw CommandError{std::move(description)};
}
[[noreturn]] void failBeyond(std::string description) {
    throw CommandError{std::move(description), true};
}

std::string quote(std::string_view s) {
    std::string out;
    out.reserve(s.size() + 2);
    out += '\'';
    out += s;
    out += '\'';
    return out;
}

// Arguments are split at single spaces into at most n parts, the last keeping the rest of the line;
// part 0 is the command word. Two spaces in a row give an empty part, which is no number.
class Parts {
  public:
    Parts(std::string_view line, int n) {
        while (mCount < n - 1) {
            const std::size_t space = line.find(' ');
            if (space == std::string_view::npos) break;
            mParts[mCount++] = line.substr(0, space);
            line.remove_prefix(space + 1);
        }
        mParts[mCount++] = line;
    }
    std::string_view operator[](int k) const {
        if (k >= mCount) fail("Missing argument " + std::to_string(k));
        return mParts[k];
    }

  private:
    std::array<std::string_view, 5> mParts;
    int mCount = 0;
};

template <typename T> T toWhole(std::string_view part, const char* what) {
    std::string_view digits = part;
    if (digits.size() > 1 && digits[0] == '+' && digits[1] != '-') digits.remove_prefix(1);
    T value{};
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    const bool whole = !digits.empty() && end == digits.data() + digits.size();
    if (whole && ec == std::errc::result_out_of_range) failBeyond(quote(part) + " is beyond a " + what);
    if (!whole || ec != std::errc{}) fail(quote(part) + " is not a " + what);
    return value;
}

std::int16_t toInt(std::string_view part) {
    return toWhole<std::int16_t>(part, "16-bit whole number");
}
std::int32_t toLong(std::string_view part) {
    return toWhole<std::int32_t>(part, "32-bit whole number");
}

float toFloat(std::string_view part) {
    std::string_view digits = part;
    if (digits.size() > 1 && digits[0] == '+' && digits[1] != '-') digits.remove_prefix(1);
    float value = 0.0f;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    const bool whole = !digits.empty() && end == digits.data() + digits.size();
    if (whole && ec == std::errc::result_out_of_range) failBeyond(quote(part) + " is beyond a 32-bit number");
    if (!whole || ec != std::errc{} || !std::isfinite(value)) fail(quote(part) + " is not a 32-bit number");
    return value;
}

// Quotes are taken on trust: the first and last characters are dropped, whatever they are.
std::string_view unquote(std::string_view part) {
    if (part.size() < 2) fail("Quoted text expected, found " + quote(part));
    return part.substr(1, part.size() - 2);
}

std::string range(const char* what, int value, int last) {
    return std::string(what) + " " + std::to_string(value) + " is outside 0.." + std::to_string(last);
}

bool quoted(std::string_view part) {
    return !part.empty() && part.front() == '"';
}

// A number part that would fail only for being too large for the record: checked before a command
// that keeps its line on such a failure changes anything.
void checkFits(std::string_view part) {
    if (quoted(part)) return;
    try {
        toInt(part);
    } catch (const CommandError& e) {
        if (e.beyondLimits) throw;
    }
}

// The record whose kept lines a line that follows a command goes to.
enum class Follows { Header, CurrentProvince, NamedProvince, Commander, Nation, NoRecord };
Follows followsOf(std::string_view command);

class Parser {
  public:
    Parser(MapDocument& doc, const ReferenceData& ref, UserInterface& ui, std::string_view command,
           std::string_view line, MapKeeper* keeper)
        : mDoc(doc), mRef(ref), mUi(ui), mCommand(command), mLine(line), mKeeper(keeper) {}

    // False when the command word is not one the editor knows.
    bool run(std::string_view command);
    // After a command went into the records: lines kept after it belong to the record it addressed.
    void followRecord();

  private:
    using Handler = std::function<void(Parser&)>;
    static const std::unordered_map<std::string_view, Handler>& handlers();
    struct Command {
        Handler handle;
        Follows follows;
    };
    // A command's handler and the record its kept lines follow, in one look-up a line: a big map has
    // hundreds of thousands of lines.
    static const std::unordered_map<std::string_view, Command>& commands();

    Parts parts(int n) const { return Parts(mLine, n); }

    ProvinceDataType& province(int p) {
        if (p < 0 || p > kMaxProvince) failBeyond(range("Province", p, kMaxProvince));
        mLastProvince = p;
        return mDoc.Provinces[p];
    }
    NationDataType& nation(int n) {
        if (n < 0 || n >= kNationCount) failBeyond(range("Nation", n, kNationCount - 1));
        mLastNation = n;
        return mDoc.Nations[n];
    }
    ProvinceDataType& currentProvince() {
        if (mDoc.CurProvince == kNone) fail("No province addressed yet (#land or #setland missing)");
        return province(mDoc.CurProvince);
    }
    static int advance(std::int16_t& slot, int count, const char* what) {
        slot = (slot == kNone) ? std::int16_t{0} : static_cast<std::int16_t>(slot + 1);
        if (slot < 0 || slot >= count) failBeyond(range(what, slot, count - 1));
        return slot;
    }

    // Commander commands go to the current commander, or while a god is being described to the
    // god, mirrored into the god's slot 0 of its start province once that start is known.
    template <typename Change> void forCommander(Change&& change) {
        if (mDoc.GodContext) {
            NationDataType& n = nation(mDoc.CurGodNation);
            change(n.God);
            const int start = n.SpecStartProvince;
            if (start >= 1 && start <= kMaxProvince) change(mDoc.Provinces[start].Commanders[0]);
            return;
        }
        ProvinceDataType& p = currentProvince();
        const int c = mDoc.CurCommander;
        if (c < 0 || c >= kCommanderSlots) failBeyond(range("Commander slot", c, kCommanderSlots - 1));
        change(p.Commanders[c]);
    }

    // A unit or site given by number (its name is looked up) or by quoted name (its number is).
    // Kept, a reference the tables lack stays as the map gave it: a name with index -1, or a number
    // with that number as its name (so the slot counts as used); the writer gives either form back.
    void reference(std::string_view part, std::int16_t& index, Text& name, std::string_view table,
                   const char* numberMissing, const char* nameMissing) {
        const KeptReason why = table == kUnitTableKey ? KeptReason::UnitNotInTables : KeptReason::SiteNotInTables;
        if (quoted(part)) {
            name = unquote(part);
            const int number = DataNumberOf(mRef, name.view(), table);
            if (number == -1 && !mKeeper) fail(nameMissing);
            if (number == -1) mKeeper->note(mCommand, why);
            index = static_cast<std::int16_t>(number);
        } else {
            index = toInt(part);
            const std::string_view found = DataNameView(mRef, index, table);
            if (found == kIndexNotFound && !mKeeper) fail(numberMissing);
            if (found == kIndexNotFound) {
                mKeeper->note(mCommand, why);
                name = std::to_string(index);
            } else {
                name = found;
            }
        }
    }
    void unitReference(std::string_view part, std::int16_t& index, Text& name) {
        reference(part, index, name, kUnitTableKey, "Unit index not found in data.",
                  "Unit name not in data or mispelled.");
    }
    void siteReference(std::string_view part, std::int16_t& index, Text& name) {
        reference(part, index, name, kSiteTableKey, "Unit index not found in data.",
                  "Site name not in data or mispelled.");
    }

    // Header
    void description();
    void mapTextColor();
    void victoryCondition();
    // Nations and players
    void specStart();
    void allies();
    void god();
    void scale(std::int16_t NationDataType::*field);
    // Provinces
    void land(bool setLand);
    void terrain();
    void owner();
    void feature(bool known);
    void colour(std::int16_t (ProvinceDataType::*field)[3]);
    void neighbour();
    // Commanders
    void commander();
    void troops(bool bodyguards);
    void additem();

    MapDocument& mDoc;
    const ReferenceData& mRef;
    UserInterface& mUi;
    std::string_view mCommand;
    std::string_view mLine;
    MapKeeper* mKeeper;
    int mLastProvince = -1;
    int mLastNation = -1;
    Follows mFollows = Follows::NoRecord; // of the command run
};

void Parser::description() {
    const std::string_view text = unquote(parts(2)[1]);
    // Line breaks are held as CR LF whatever the file used.
    std::string held;
    held.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        if (text[i] == '\n') held += '\r';
        held += text[i];
    }
    mDoc.MapDescription = held;
}

void Parser::mapTextColor() {
    const Parts p = parts(5);
    for (int k = 0; k < 4; ++k)
        mDoc.MapTextColor[k] = toFloat(p[k + 1]);
}

void Parser::victoryCondition() {
    const Parts p = parts(3);
    mDoc.VictoryConditionType = toInt(p[1]);
    mDoc.VictoryConditionValue = toInt(p[2]);
}

void Parser::specStart() {
    const Parts p = parts(3);
    const std::int16_t n = toInt(p[1]);
    const std::int16_t start = toInt(p[2]);
    // Kept, a start for a nation beyond the limits leaves the province alone, body and all.
    if (mKeeper) nation(n);
    ProvinceDataType& prov = province(start);
    prov.SpecStartNation = n;
    prov.SpecStart = true;
    NationDataType& nat = nation(n);
    nat.SpecStartProvince = start;
    nat.NationInUse = true;
}

void Parser::allies() {
    const Parts p = parts(3);
    const std::int16_t a = toInt(p[1]);
    const std::int16_t b = toInt(p[2]);
    NationDataType& first = nation(a);
    NationDataType& second = nation(b);
    first.Allies[b] = true;
    second.Allies[a] = true;
}

void Parser::god() {
    const Parts p = parts(3);
    if (mKeeper) {
        // A god that is kept whole changes no context: its lines are kept after it.
        nation(toInt(p[1]));
        checkFits(p[2]);
    }
    mDoc.GodContext = true;
    mDoc.CurBodyguardSlot = mDoc.CurUnitSlot = mDoc.CurItemSlot = kNone;
    mDoc.CurGodNation = toInt(p[1]);
    NationDataType& n = nation(mDoc.CurGodNation);
    // GodName and GodIndex always equal the god's own pair, also when its lookup fails half way.
    const auto sync = [&n] {
        n.GodName = n.God.UnitName;
        n.GodIndex = n.God.UnitIndex;
    };
    try {
        unitReference(p[2], n.God.UnitIndex, n.God.UnitName);
    } catch (const CommandError&) {
        sync();
        throw;
    }
    sync();
    n.NationInUse = true;
}

void Parser::scale(std::int16_t NationDataType::*field) {
    const Parts p = parts(3);
    const std::int16_t n = toInt(p[1]);
    const std::int16_t value = toInt(p[2]);
    nation(n).*field = value;
}

void Parser::land(bool setLand) {
    const std::int16_t p = toInt(parts(2)[1]);
    ProvinceDataType& prov = province(p);
    (setLand ? prov.SetLandFlag : prov.LandFlag) = true;
    mDoc.CurProvince = p;
    mDoc.CurCommander = 0;
    mDoc.CurSiteSlot = kNone;
    mDoc.CurKnownSiteSlot = kNone;
    mDoc.InsideCastle = false;
}

void Parser::terrain() {
    const Parts p = parts(3);
    const std::int16_t number = toInt(p[1]);
    const std::int32_t mask = toLong(p[2]);
    province(number).Terrain = mask;
    if (!mKeeper) {
        DecodeTerrainMask(mDoc, number, mask, mUi);
    } else if (DecodeTerrainMaskKeeping(mDoc, number, mask, mUi)) {
        mKeeper->note(mCommand, KeptReason::OtherTerrainBits);
    }
}

void Parser::owner() {
    const std::int16_t value = toInt(parts(2)[1]);
    ProvinceDataType& prov = currentProvince();
    prov.Owner = value;
    // Nation 23 stands for the special monsters: commanders after it are the castle's garrison.
    if (value == 23 && prov.Fort >= 0) mDoc.InsideCastle = true;
}

void Parser::feature(bool known) {
    const std::string_view part = parts(2)[1];
    ProvinceDataType& prov = currentProvince();
    if (known) {
        const int slot = advance(mDoc.CurKnownSiteSlot, kSiteSlotsPerProvince, "Known site slot");
        siteReference(part, prov.KnownSiteIndex[slot], prov.KnownSiteName[slot]);
    } else {
        const int slot = advance(mDoc.CurSiteSlot, kSiteSlotsPerProvince, "Site slot");
        siteReference(part, prov.SiteIndex[slot], prov.SiteName[slot]);
    }
}

void Parser::colour(std::int16_t (ProvinceDataType::*field)[3]) {
    const Parts p = parts(4);
    ProvinceDataType& prov = currentProvince();
    for (int k = 0; k < 3; ++k)
        (prov.*field)[k] = toInt(p[k + 1]);
}

void Parser::neighbour() {
    const Parts p = parts(3);
    const std::int16_t a = toInt(p[1]);
    const std::int16_t b = toInt(p[2]);
    if (mKeeper) province(a), province(b); // a link kept whole is made on neither side
    // Existing entries are not searched: a pair given twice takes two slots on each side.
    const auto link = [](ProvinceDataType& prov, std::int16_t other) {
        for (std::int16_t& slot : prov.Neighbours) {
            if (slot < 0) {
                slot = other;
                return;
            }
        }
    };
    link(province(a), b);
    link(province(b), a);
}

void Parser::commander() {
    const std::string_view part = parts(2)[1];
    if (mKeeper) {
        // A commander that is kept whole takes no slot: its lines are kept after it.
        if (mDoc.CurProvince != kNone && mDoc.CurCommander + 1 >= kCommanderSlots)
            failBeyond(range("Commander slot", mDoc.CurCommander + 1, kCommanderSlots - 1));
        checkFits(part);
    }
    mDoc.GodContext = false;
    ProvinceDataType& prov = currentProvince();
    mDoc.CurCommander = static_cast<std::int16_t>(mDoc.CurCommander + 1);
    mDoc.CurBodyguardSlot = mDoc.CurUnitSlot = mDoc.CurItemSlot = kNone;
    if (mDoc.CurCommander < 0 || mDoc.CurCommander >= kCommanderSlots)
        failBeyond(range("Commander slot", mDoc.CurCommander, kCommanderSlots - 1));
    CommanderDataType& c = prov.Commanders[mDoc.CurCommander];
    unitReference(part, c.UnitIndex, c.UnitName);
    ++prov.CommanderCount;
    c.InsideCastle = mDoc.InsideCastle;
}

void Parser::troops(bool bodyguards) {
    const Parts p = parts(3);
    std::int16_t& slotCounter = bodyguards ? mDoc.CurBodyguardSlot : mDoc.CurUnitSlot;
    const int slot = advance(slotCounter, kBodyguardSlots, bodyguards ? "Bodyguard slot" : "Unit slot");
    const std::int16_t count = toInt(p[1]);
    const std::string_view unit = p[2];
    forCommander([&](CommanderDataType& c) {
        if (bodyguards) {
            c.BodyguardCount[slot] = count;
            unitReference(unit, c.BodyguardIndex[slot], c.BodyguardName[slot]);
        } else {
            c.UnitsCount[slot] = count;
            unitReference(unit, c.UnitsIndex[slot], c.UnitsName[slot]);
        }
    });
}

void Parser::additem() {
    const std::string_view item = unquote(parts(2)[1]);
    const int slot = advance(mDoc.CurItemSlot, kItemSlotsPerCommander, "Item slot");
    forCommander([&](CommanderDataType& c) { c.Items[slot] = item; });
}

const std::unordered_map<std::string_view, Parser::Handler>& Parser::handlers() {
    using P = ProvinceDataType;
    using C = CommanderDataType;
    using N = NationDataType;
    static const auto* table = [] {
        auto* t = new std::unordered_map<std::string_view, Handler>;
        auto& h = *t;
        // Map header
        h["#thx2title"] = [](Parser& x) { x.mDoc.MapTitle = x.parts(2)[1]; };
        h["#imagefile"] = [](Parser& x) { x.mDoc.ImageFileName = x.parts(2)[1]; };
        for (const char* version : {"#thxversion", "#thx2version", "#thx3version"})
            h[version] = [](Parser& x) { x.mDoc.GameVersion = kSupportedGameVersion; };
        h["#scenario"] = [](Parser& x) { x.mDoc.ScenarioFlag = true; };
        h["#description"] = [](Parser& x) { x.description(); };
        h["#maptextcol"] = [](Parser& x) { x.mapTextColor(); };
        h["#defaultmapzoom"] = [](Parser& x) { x.mDoc.DefaultMapZoom = toFloat(x.parts(2)[1]); };
        h["#features"] = [](Parser& x) { x.mDoc.FeaturesFrequency = toInt(x.parts(2)[1]); };
        h["#nohomelandnames"] = [](Parser& x) { x.mDoc.NoHomelandNames = true; };
        h["#victorycondition"] = [](Parser& x) { x.victoryCondition(); };
        h["#victorypoints"] = [](Parser& x) {
            const Parts p = x.parts(3);
            const std::int16_t prov = toInt(p[1]);
            const std::int16_t points = toInt(p[2]);
            x.province(prov).VictoryPoints = points;
        };
        h["#wraparound"] = [](Parser& x) { x.mDoc.WrapAround = true; };

        // Nations and players
        h["#start"] = [](Parser& x) { x.province(toInt(x.parts(2)[1])).Start = true; };
        h["#nostart"] = [](Parser& x) {
            P& prov = x.province(toInt(x.parts(2)[1]));
            prov.NoStart = true;
            prov.TerrainBit[9] = true;
        };
        h["#specstart"] = [](Parser& x) { x.specStart(); };
        h["#allowedplayer"] = [](Parser& x) { x.nation(toInt(x.parts(2)[1])).AllowedPlayer = true; };
        h["#computerplayer"] = [](Parser& x) { x.scale(&N::AIDifficulty); };
        h["#allies"] = [](Parser& x) { x.allies(); };
        h["#cannotwin"] = [](Parser& x) { x.nation(toInt(x.parts(2)[1])).CannotWin = true; };
        h["#dominionstr"] = [](Parser& x) { x.scale(&N::DominionLevel); };
        h["#scale_chaos"] = [](Parser& x) { x.scale(&N::ScaleChaos); };
        h["#scale_lazy"] = [](Parser& x) { x.scale(&N::ScaleLazy); };
        h["#scale_cold"] = [](Parser& x) { x.scale(&N::ScaleCold); };
        h["#scale_death"] = [](Parser& x) { x.scale(&N::ScaleDeath); };
        h["#scale_unluck"] = [](Parser& x) { x.scale(&N::ScaleUnluck); };
        h["#scale_unmagic"] = [](Parser& x) { x.scale(&N::ScaleUnmagic); };
        h["#god"] = [](Parser& x) { x.god(); };

        // Provinces
        h["#land"] = [](Parser& x) { x.land(false); };
        h["#setland"] = [](Parser& x) { x.land(true); };
        h["#landname"] = [](Parser& x) {
            const Parts p = x.parts(3);
            const std::int16_t prov = toInt(p[1]);
            const std::string_view name = unquote(p[2]);
            x.province(prov).LandName = name;
        };
        h["#terrain"] = [](Parser& x) { x.terrain(); };
        h["#poptype"] = [](Parser& x) {
            const std::int16_t type = toInt(x.parts(2)[1]);
            x.currentProvince().PopType = type >= 91 ? std::int16_t{90} : type;
        };
        h["#owner"] = [](Parser& x) { x.owner(); };
        h["#killfeatures"] = [](Parser& x) { x.currentProvince().KillFeatures = true; };
        h["#feature"] = [](Parser& x) { x.feature(false); };
        h["#knownfeature"] = [](Parser& x) { x.feature(true); };
        h["#fort"] = [](Parser& x) {
            const std::int16_t v = toInt(x.parts(2)[1]);
            x.currentProvince().Fort = v;
        };
        h["#temple"] = [](Parser& x) { x.currentProvince().Temple = true; };
        h["#lab"] = [](Parser& x) { x.currentProvince().Lab = true; };
        h["#unrest"] = [](Parser& x) {
            const std::int16_t v = toInt(x.parts(2)[1]);
            x.currentProvince().Unrest = v;
        };
        h["#population"] = [](Parser& x) {
            const std::int32_t v = toLong(x.parts(2)[1]);
            x.currentProvince().Population = v;
        };
        h["#defence"] = [](Parser& x) {
            const std::int16_t v = toInt(x.parts(2)[1]);
            x.currentProvince().Defence = v;
        };
        h["#skybox"] = [](Parser& x) {
            const std::string_view v = unquote(x.parts(2)[1]);
            x.currentProvince().SkyBox = v;
        };
        h["#batmap"] = [](Parser& x) {
            const std::string_view v = unquote(x.parts(2)[1]);
            x.currentProvince().BatMap = v;
        };
        h["#groundcol"] = [](Parser& x) { x.colour(&P::GroundCol); };
        h["#rockcol"] = [](Parser& x) { x.colour(&P::RockCol); };
        h["#fogcol"] = [](Parser& x) { x.colour(&P::FogCol); };
        h["#neighbour"] = [](Parser& x) { x.neighbour(); };

        // Commanders and gods
        h["#commander"] = [](Parser& x) { x.commander(); };
        h["#comname"] = [](Parser& x) {
            const std::string_view name = unquote(x.parts(2)[1]);
            x.forCommander([&](C& c) { c.ComName = name; });
        };
        h["#bodyguards"] = [](Parser& x) { x.troops(true); };
        h["#units"] = [](Parser& x) { x.troops(false); };
        h["#clearmagic"] = [](Parser& x) { x.forCommander([](C& c) { c.ClearMagic = true; }); };
        const std::pair<const char*, std::int16_t C::*> values[] = {
            {"#mag_fire", &C::MagFire},       {"#mag_air", &C::MagAir},
            {"#mag_water", &C::MagWater},     {"#mag_earth", &C::MagEarth},
            {"#mag_astral", &C::MagAstral},   {"#mag_death", &C::MagDeath},
            {"#mag_nature", &C::MagNature},   {"#mag_blood", &C::MagBlood},
            {"#mag_priest", &C::MagPriest},   {"#xp", &C::Xp},
            {"#randomequip", &C::RandomEquip}};
        for (const auto& [word, member] : values) {
            // A copy, not the binding itself: clang 14 cannot capture structured bindings.
            h[word] = [field = member](Parser& x) {
                const std::int16_t v = toInt(x.parts(2)[1]);
                x.forCommander([&](C& c) { c.*field = v; });
            };
        }
        h["#additem"] = [](Parser& x) { x.additem(); };
        return t;
    }();
    return *table;
}

Follows followsOf(std::string_view command) {
    static const auto* table = [] {
        auto* t = new std::unordered_map<std::string_view, Follows>;
        const auto group = [t](Follows follows, std::initializer_list<const char*> words) {
            for (const char* word : words)
                (*t)[word] = follows;
        };
        group(Follows::Header, {"#thx2title", "#imagefile", "#thxversion", "#thx2version", "#thx3version",
                                "#scenario", "#description", "#maptextcol", "#defaultmapzoom", "#features",
                                "#nohomelandnames", "#victorycondition", "#wraparound"});
        group(Follows::NamedProvince, {"#landname", "#victorypoints"});
        group(Follows::CurrentProvince,
              {"#land", "#setland", "#poptype", "#owner", "#killfeatures", "#feature", "#knownfeature", "#fort",
               "#temple", "#lab", "#unrest", "#population", "#defence", "#skybox", "#batmap", "#groundcol",
               "#rockcol", "#fogcol"});
        group(Follows::Commander,
              {"#commander", "#god", "#comname", "#bodyguards", "#units", "#clearmagic", "#mag_fire", "#mag_air",
               "#mag_water", "#mag_earth", "#mag_astral", "#mag_death", "#mag_nature", "#mag_blood",
               "#mag_priest", "#xp", "#randomequip", "#additem"});
        group(Follows::Nation, {"#specstart", "#computerplayer", "#cannotwin", "#dominionstr", "#scale_chaos",
                                "#scale_lazy", "#scale_cold", "#scale_death", "#scale_unluck", "#scale_unmagic"});
        return t;
    }();
    const auto it = table->find(command);
    // The starts, neighbours, terrain, allowed players and alliances have sections of their own.
    return it == table->end() ? Follows::NoRecord : it->second;
}

bool opensCommander(std::string_view command) {
    return command == "#god" || command == "#commander";
}

void Parser::followRecord() {
    const auto validProvince = [](int p) { return p >= 0 && p <= kMaxProvince; };
    const auto validNation = [](int n) { return n >= 0 && n < kNationCount; };
    Text* record = nullptr;
    switch (mFollows) {
    case Follows::Header:
        record = &mDoc.HeaderKeptLines;
        break;
    case Follows::CurrentProvince:
        if (validProvince(mDoc.CurProvince)) record = &mDoc.Provinces[mDoc.CurProvince].KeptLines;
        break;
    case Follows::NamedProvince:
        if (validProvince(mLastProvince)) record = &mDoc.Provinces[mLastProvince].KeptLines;
        break;
    case Follows::Nation:
        if (validNation(mLastNation)) record = &mDoc.Nations[mLastNation].KeptLines;
        break;
    case Follows::Commander:
        if (mDoc.GodContext) {
            if (validNation(mDoc.CurGodNation)) record = &mDoc.Nations[mDoc.CurGodNation].God.KeptLines;
        } else if (validProvince(mDoc.CurProvince)) {
            ProvinceDataType& prov = mDoc.Provinces[mDoc.CurProvince];
            // Slot 0 is the god's and never written as a commander: its lines are the province's.
            const int c = mDoc.CurCommander;
            record = (c >= 1 && c < kCommanderSlots) ? &prov.Commanders[c].KeptLines : &prov.KeptLines;
        }
        break;
    case Follows::NoRecord:
        break;
    }
    if (record) mKeeper->follow(record);
    else mKeeper->followNoRecord();
}

const std::unordered_map<std::string_view, Parser::Command>& Parser::commands() {
    static const auto* table = [] {
        auto* t = new std::unordered_map<std::string_view, Command>;
        for (const auto& [word, handle] : handlers())
            (*t)[word] = Command{handle, followsOf(word)};
        return t;
    }();
    return *table;
}

bool Parser::run(std::string_view command) {
    const auto& table = commands();
    const auto it = table.find(command);
    if (it == table.end()) return false;
    mFollows = it->second.follows;
    it->second.handle(*this);
    return true;
}

} // namespace

void z_ParseCommand(MapDocument& doc, const ReferenceData& ref, UserInterface& ui, std::string_view command,
                    std::string_view line, MapKeeper* keeper) {
    const auto log = [&](std::string_view what) {
        std::string entry = "Error in z_ParseCommand: ";
        entry += what;
        entry += " - Map Line# ";
        entry += std::to_string(doc.MapLineNumber);
        entry += " : ";
        entry += line;
        AppendMapError(doc, entry);
    };
    if (keeper) {
        if (opensCommander(command)) keeper->setKeptBlock(false);
        if (keeper->inKeptBlock() && followsOf(command) == Follows::Commander &&
            keeper->keepLine(command, KeptReason::FollowsKeptLine))
            return;
    }
    try {
        Parser parser(doc, ref, ui, command, line, keeper);
        if (parser.run(command)) {
            if (keeper) parser.followRecord();
        } else if (!keeper || !keeper->keepLine(command, KeptReason::UnknownCommand)) {
            log("Unrecognized map command '" + std::string(command) + "' ");
        }
    } catch (const CommandError& e) {
        if (keeper && e.beyondLimits && keeper->keepLine(command, KeptReason::BeyondLimits)) {
            if (opensCommander(command)) keeper->setKeptBlock(true);
            return;
        }
        log(e.description);
    }
}

} // namespace ts
