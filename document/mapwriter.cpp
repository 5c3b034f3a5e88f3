#include "mapwriter.h"

#include "keeping.h"
#include "mapdocument.h"
#include "referencedata.h"
#include "userinterface.h"

#include <QSaveFile>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <concepts>
#include <cstdio>

namespace ts {

namespace {

constexpr std::string_view kHyphens32 = "--------------------------------";
constexpr std::string_view kHyphens34 = "----------------------------------";
constexpr char Q = '"';

// Appends text and numbers to the file's bytes; numbers in plain decimal.
class Out {
  public:
    explicit Out(std::string& bytes) : mBytes(bytes) {}
    Out& operator<<(std::string_view s) {
        mBytes += s;
        return *this;
    }
    Out& operator<<(const char* s) { return *this << std::string_view(s); }
    Out& operator<<(const std::string& s) { return *this << std::string_view(s); }
    Out& operator<<(const Text& t) { return *this << t.view(); }
    Out& operator<<(char c) {
        mBytes += c;
        return *this;
    }
    template <std::integral T>
    requires(!std::same_as<T, char> && !std::same_as<T, bool>) Out& operator<<(T value) {
        char buffer[24];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
        mBytes.append(buffer, result.ptr);
        return *this;
    }
    std::string& bytes() { return mBytes; }

  private:
    std::string& mBytes;
};

// Windows-1252 upper case, byte for byte, so a nation name keeps its length and its accents.
std::string upper(std::string_view s) {
    std::string out(s);
    for (char& ch : out) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
            ch = static_cast<char>(c - 0x20);
        else if (c == 0x9A || c == 0x9C || c == 0x9E)
            ch = static_cast<char>(c - 0x10);
        else if (c == 0xFF)
            ch = static_cast<char>(0x9F);
    }
    return out;
}

template <typename Row, std::size_t N> std::string_view rowName(const Row (&table)[N], int number) {
    if (number < 0 || static_cast<std::size_t>(number) >= N) return {};
    return table[number].name;
}

bool listsNeighbour(const ProvinceDataType& prov, int other) {
    return std::find(std::begin(prov.Neighbours), std::end(prov.Neighbours), other) != std::end(prov.Neighbours);
}

class MapWriter {
  public:
    MapWriter(const MapDocument& doc, const ReferenceData& ref, std::string& bytes)
        : mDoc(doc), mRef(ref), mKeep(doc.KeepUnknown), o(bytes) {}

    void write() {
        header();
        allowedPlayers();
        alliedPlayers();
        starts();
        nations();
        neighbours();
        terrain();
        provinceDetail();
        if (mKeep) keptWithoutRecord();
        o << '\n';
    }

  private:
    void header();
    void allowedPlayers();
    void alliedPlayers();
    void starts();
    void nations();
    void nationBlock(const NationDataType& n);
    void godLines(const CommanderDataType& god);
    void troopLines(const CommanderDataType& c);
    void neighbours();
    void terrain();
    void provinceDetail();
    void provinceBody(int p);
    void commanderBlock(const CommanderDataType& c);
    bool asGiven(std::int16_t index, const Text& name);
    void keptWithoutRecord();

    const MapDocument& mDoc;
    const ReferenceData& mRef;
    const bool mKeep;
    Out o;
};

void MapWriter::header() {
    o << "--\n--Map file for Thraxis 3\n--\n--Ravelstone Game Design\n--" << kGameMakerAddress
      << "\n--\n\n--Edited with Quorvath's Tessary\n\n";
    o << "########### MAP HEADER ###########\n";
    o << "#thx2title " << mDoc.MapTitle << '\n';
    o << "#imagefile " << mDoc.ImageFileName << '\n';
    o << "#thx3version " << mDoc.GameVersion << '\n';
    o << "#description " << Q;
    const std::string_view text = mDoc.MapDescription.view();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue; // CR LF becomes LF
        o << text[i];
    }
    o << Q << "\n\n";
    if (mDoc.WrapAround) o << "#wraparound\n";
    if (mDoc.ScenarioFlag) o << "#scenario\n";
    if (mDoc.NoHomelandNames) o << "#nohomelandnames\n";
    if (mDoc.VictoryConditionType > 0)
        o << "#victorycondition " << mDoc.VictoryConditionType << ' ' << mDoc.VictoryConditionValue << '\n';
    if (mDoc.MapTextColor[0] > -1.0f) {
        o << "#maptextcol";
        for (float c : mDoc.MapTextColor)
            o << ' ' << FormatMapFloat(c);
        o << '\n';
    }
    if (mDoc.DefaultMapZoom > -1.0f) o << "#defaultmapzoom " << FormatMapFloat(mDoc.DefaultMapZoom) << '\n';
    // The header panel edits the frequency, so it is saved with the other options; -1 means not set.
    if (mDoc.FeaturesFrequency >= 0) o << "#features " << mDoc.FeaturesFrequency << '\n';
    if (mKeep) o << mDoc.HeaderKeptLines;
    o << '\n';
}

void MapWriter::allowedPlayers() {
    o << "######### ALLOWED PLAYERS ########\n";
    for (const NationDataType& n : mDoc.Nations)
        if (n.AllowedPlayer) o << "#allowedplayer " << n.NationNumber << " -- " << n.NationName << '\n';
    o << '\n';
}

void MapWriter::alliedPlayers() {
    o << "######### ALLIED PLAYERS #########\n";
    for (int a = 0; a < kNationCount; ++a) {
        const NationDataType& n = mDoc.Nations[a];
        for (int b = a; b < kNationCount; ++b) {
            if (n.Allies[b])
                o << "#allies " << n.NationNumber << ' ' << b << " -- " << n.NationName << " <-> "
                  << mDoc.Nations[b].NationName << '\n';
        }
    }
    o << '\n';
}

void MapWriter::starts() {
    o << "############# STARTS #############\n";
    for (int p = 1; p <= kMaxProvince; ++p)
        if (mDoc.Provinces[p].Start) o << "#start " << p << '\n';
    o << '\n';
}

void MapWriter::nations() {
    o << "############# NATIONS ############\n";
    for (const NationDataType& n : mDoc.Nations)
        if (n.NationInUse) nationBlock(n);
    o << '\n';
}

void MapWriter::nationBlock(const NationDataType& n) {
    o << kHyphens32 << '\n';
    if (n.AIDifficulty < 1) {
        o << "-- OPEN " << upper(n.NationName.view()) << '\n';
    } else {
        o << "-- AI " << upper(n.NationName.view()) << '\n';
        o << "#computerplayer " << n.NationNumber << ' ' << n.AIDifficulty << '\n';
    }
    const int start = n.SpecStartProvince;
    if (start > 0) o << "#specstart " << n.NationNumber << ' ' << start << '\n';
    // The start province's body follows below; without its #setland those lines would land in the
    // province addressed before, so the start is addressed whether or not the nation has a god.
    const std::size_t setlandAt = o.bytes().size();
    if (start > 0) o << "#setland " << start << '\n';
    const std::size_t afterSetland = o.bytes().size();
    if (!n.GodName.empty()) {
        o << "#god " << n.NationNumber << ' ';
        if (!asGiven(n.GodIndex, n.GodName)) o << n.GodIndex << " -- " << n.GodName;
        o << '\n';
    }
    if (n.CannotWin) o << "#cannotwin " << n.NationNumber << '\n';
    godLines(n.God);
    if (n.DominionLevel > 0) o << "#dominionstr " << n.NationNumber << ' ' << n.DominionLevel << '\n';
    const std::pair<const char*, std::int16_t> scales[] = {
        {"#scale_chaos ", n.ScaleChaos},   {"#scale_cold ", n.ScaleCold},
        {"#scale_death ", n.ScaleDeath},   {"#scale_lazy ", n.ScaleLazy},
        {"#scale_unluck ", n.ScaleUnluck}, {"#scale_unmagic ", n.ScaleUnmagic}};
    for (const auto& [word, value] : scales)
        if (value != 0 && value != kNone) o << word << n.NationNumber << ' ' << value << '\n';
    troopLines(n.God);
    if (mKeep && !(n.God.KeptLines.empty() && n.KeptLines.empty())) {
        // Read back, kept lines join the record of the command before them: after the god's and
        // nation's own lines, or straight after #specstart when nothing of theirs follows #setland.
        std::string kept = n.God.KeptLines.str();
        kept += n.KeptLines.view();
        if (start > 0 && o.bytes().size() == afterSetland) o.bytes().insert(setlandAt, kept);
        else o << kept;
    }
    if (start > 0 && start <= kMaxProvince) provinceBody(start);
}

void MapWriter::godLines(const CommanderDataType& god) {
    if (!god.ComName.empty()) o << "#comname " << Q << god.ComName << Q << '\n';
    if (god.ClearMagic) o << "#clearmagic\n";
    const std::pair<const char*, std::int16_t> magic[] = {
        {"#mag_air ", god.MagAir},       {"#mag_astral ", god.MagAstral}, {"#mag_blood ", god.MagBlood},
        {"#mag_death ", god.MagDeath},   {"#mag_earth ", god.MagEarth},   {"#mag_fire ", god.MagFire},
        {"#mag_nature ", god.MagNature}, {"#mag_priest ", god.MagPriest}, {"#mag_water ", god.MagWater}};
    for (const auto& [word, level] : magic)
        if (level > 0) o << word << level << '\n';
    if (god.Xp > 0) o << "#xp " << god.Xp << '\n';
    for (const Text& item : god.Items)
        if (!item.empty()) o << "#additem " << Q << item << Q << '\n';
    if (god.RandomEquip > -1) o << "#randomequip " << god.RandomEquip << '\n';
}

void MapWriter::troopLines(const CommanderDataType& c) {
    const auto troops = [this](const char* word, std::int16_t count, std::int16_t index, const Text& name) {
        if (count <= 0) return;
        o << word << count << ' ';
        if (!asGiven(index, name)) o << index << " -- " << name;
        o << '\n';
    };
    for (int k = 0; k < kBodyguardSlots; ++k)
        troops("#bodyguards ", c.BodyguardCount[k], c.BodyguardIndex[k], c.BodyguardName[k]);
    for (int k = 0; k < kUnitStackSlots; ++k)
        troops("#units ", c.UnitsCount[k], c.UnitsIndex[k], c.UnitsName[k]);
}

void MapWriter::neighbours() {
    o << "########### NEIGHBOURS ###########\n";
    for (int p = 1; p <= kMaxProvince; ++p) {
        for (const std::int16_t q : mDoc.Provinces[p].Neighbours) {
            if (q > 0 && q > p) o << "#neighbour " << p << ' ' << q << '\n';
            // A link only the higher province holds would be lost; written, it reads back mutual.
            if (mKeep && q > 0 && q < p && !listsNeighbour(mDoc.Provinces[q], p))
                o << "#neighbour " << p << ' ' << q << '\n';
        }
    }
    o << '\n';
}

void MapWriter::terrain() {
    o << "############# TERRAIN ############\n";
    for (int p = 1; p <= kMaxProvince; ++p) {
        const ProvinceDataType& prov = mDoc.Provinces[p];
        const std::uint32_t other = mKeep ? OtherTerrainBits(prov) : 0;
        if (prov.Terrain > 0 || prov.TerrainPlain || other != 0)
            o << "#terrain " << p << ' '
              << static_cast<std::int32_t>(static_cast<std::uint32_t>(prov.Terrain) | other) << '\n';
    }
    o << '\n';
}

void MapWriter::provinceDetail() {
    o << "######### PROVINCE DETAIL ########\n";
    for (int p = 1; p <= kMaxProvince; ++p) {
        const ProvinceDataType& prov = mDoc.Provinces[p];
        if (prov.SpecStart) continue;
        if (prov.LandFlag) o << "\n#land " << p << '\n' << kHyphens32 << '\n';
        if (prov.SetLandFlag) o << "\n#setland " << p << '\n' << kHyphens32 << '\n';
        const std::size_t bodyStart = o.bytes().size();
        provinceBody(p);
        // A body without its own #land or #setland would be read into the province before it.
        if (!prov.LandFlag && !prov.SetLandFlag && o.bytes().size() != bodyStart) {
            std::string opening = "\n#setland " + std::to_string(p) + '\n' + std::string(kHyphens32) + '\n';
            o.bytes().insert(bodyStart, opening);
        }
    }
}

void MapWriter::provinceBody(int p) {
    const ProvinceDataType& prov = mDoc.Provinces[p];
    if (!prov.LandName.empty()) o << "#landname " << p << ' ' << Q << prov.LandName << Q << '\n';
    if (!prov.SkyBox.empty()) o << "#skybox " << Q << prov.SkyBox << Q << '\n';
    if (!prov.BatMap.empty()) o << "#batmap " << Q << prov.BatMap << Q << '\n';
    const std::pair<const char*, const std::int16_t*> colours[] = {
        {"#groundcol ", prov.GroundCol}, {"#rockcol ", prov.RockCol}, {"#fogcol ", prov.FogCol}};
    for (const auto& [word, rgb] : colours)
        if (rgb[0] > -1) o << word << rgb[0] << ' ' << rgb[1] << ' ' << rgb[2] << '\n';
    // Owner 23, the special monsters, is written only as the castle separator below.
    if (prov.Owner >= 0 && prov.Owner != 23) o << "#owner " << prov.Owner << '\n';
    if (prov.PopType > 0)
        o << "#poptype " << prov.PopType << " -- " << rowName(mRef.PopData, prov.PopType) << '\n';
    if (prov.Population > -1) o << "#population " << prov.Population << '\n';
    if (prov.Unrest > -1) o << "#unrest " << prov.Unrest << '\n';
    if (prov.Defence > -1) o << "#defence " << prov.Defence << '\n';
    if (prov.VictoryPoints > 0) o << "#victorypoints " << p << ' ' << prov.VictoryPoints << '\n';
    if (prov.Fort > 0) o << "#fort " << prov.Fort << " -- " << rowName(mRef.FortData, prov.Fort) << '\n';
    if (prov.Lab) o << "#lab\n";
    if (prov.Temple) o << "#temple\n";
    if (prov.KillFeatures) o << "#killfeatures\n";
    const auto site = [this](const char* word, std::int16_t index, const Text& name) {
        if (name.empty()) return;
        o << word;
        if (!asGiven(index, name)) o << index << " -- " << rowName(mRef.SiteData, index);
        o << '\n';
    };
    for (int k = 0; k < kSiteSlotsPerProvince; ++k)
        site("#feature ", prov.SiteIndex[k], prov.SiteName[k]);
    for (int k = 0; k < kSiteSlotsPerProvince; ++k)
        site("#knownfeature ", prov.KnownSiteIndex[k], prov.KnownSiteName[k]);
    if (mKeep) o << prov.KeptLines;
    bool castleWritten = false;
    for (int c = 1; c < kCommanderSlots; ++c) {
        const CommanderDataType& com = prov.Commanders[c];
        if (com.UnitName.empty()) continue;
        if (com.InsideCastle && !castleWritten) {
            o << "\n--|  OUTSIDE THE CASTLE  |\n"
              << kHyphens34 << "\n#owner 23  --  after this, units are owned by special monsters\n"
              << kHyphens34 << "\n--|   INSIDE THE CASTLE  |\n";
            castleWritten = true;
        }
        commanderBlock(com);
    }
}

void MapWriter::commanderBlock(const CommanderDataType& c) {
    o << "\n#commander ";
    if (!asGiven(c.UnitIndex, c.UnitName)) o << c.UnitIndex << " -- " << c.UnitName;
    o << '\n';
    if (!c.ComName.empty()) o << "#comname " << Q << c.ComName << Q << '\n';
    troopLines(c);
    if (c.ClearMagic) o << "#clearmagic\n";
    const std::pair<const char*, std::int16_t> magic[] = {
        {"#mag_air ", c.MagAir},       {"#mag_astral ", c.MagAstral}, {"#mag_blood ", c.MagBlood},
        {"#mag_death ", c.MagDeath},   {"#mag_earth ", c.MagEarth},   {"#mag_fire ", c.MagFire},
        {"#mag_nature ", c.MagNature}, {"#mag_water ", c.MagWater},   {"#mag_priest ", c.MagPriest}};
    for (const auto& [word, level] : magic)
        if (level > 0) o << word << level << '\n';
    if (c.Xp > 0) o << "#xp " << c.Xp << '\n';
    if (c.RandomEquip > -1) o << "#randomequip " << c.RandomEquip << '\n';
    for (const Text& item : c.Items)
        if (!item.empty()) o << "#additem " << Q << item << Q << '\n';
    if (mKeep) o << c.KeptLines;
}

// Kept, a unit or site the tables lack goes back as the map gave it: by its quoted name when only
// the name was known, by its bare number when only the number was (the reader then names it by the
// number). False when it is a known one, to be written the usual way.
bool MapWriter::asGiven(std::int16_t index, const Text& name) {
    if (!mKeep) return false;
    if (index == -1 && !name.empty()) {
        o << Q << name << Q;
        return true;
    }
    char digits[8];
    const auto end = std::to_chars(digits, digits + sizeof digits, index).ptr;
    if (!name.empty() && name.view() != std::string_view(digits, static_cast<std::size_t>(end - digits))) return false;
    o << index;
    return true;
}

void MapWriter::keptWithoutRecord() {
    std::string kept = mDoc.TrailingKeptLines.str();
    // A nation without start or god has no block: what it kept goes here.
    for (const NationDataType& n : mDoc.Nations) {
        if (n.NationInUse) continue;
        kept += n.God.KeptLines.view();
        kept += n.KeptLines.view();
    }
    if (!kept.empty()) o << '\n' << kKeptSectionTitle << '\n' << kept;
}

} // namespace

std::string FormatMapFloat(float value) {
    const double v = value;
    if (!std::isfinite(v) || std::fabs(v) >= 1e15) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.2f", v);
        return buffer;
    }
    // Halves round away from zero, as the format pattern does.
    const long long hundredths = std::llround(v * 100.0);
    const long long whole = std::llabs(hundredths) / 100;
    const long long fraction = std::llabs(hundredths) % 100;
    std::string out = hundredths < 0 ? "-" : "";
    out += std::to_string(whole);
    out += '.';
    out += static_cast<char>('0' + fraction / 10);
    if (fraction % 10 != 0) out += static_cast<char>('0' + fraction % 10);
    return out;
}

std::string MapFileText(const MapDocument& doc, const ReferenceData& ref) {
    std::string bytes;
    bytes.reserve(1 << 16);
    MapWriter(doc, ref, bytes).write();
    return bytes;
}

bool z_WriteMapFile(MapDocument& doc, const ReferenceData& ref, UserInterface& ui, const QString& path,
                    const MapWriteOptions& options) {
    if (doc.anyPanelDirty() && options.commitPanels) options.commitPanels();
    for (int p = 1; p <= kMaxProvince; ++p)
        ComputeTerrainMask(doc, p);
    const std::string bytes = MapFileText(doc, ref);

    QSaveFile file(path);
    const bool ok =
        file.open(QIODevice::WriteOnly) &&
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size()) &&
        file.commit();
    if (!ok) {
        ui.messageBox(QStringLiteral("Map file not saved!"), QStringLiteral("Map file not saved! Map: ") +
                                                                 path + QStringLiteral(" Error: ") +
                                                                 file.errorString());
    }
    return ok;
}

} // namespace ts
