#include "referenceloader.h"

#include "cp1252.h"
#include "lookups.h"
#include "folders.h"
#include "paths.h"

#include <QFile>
#include <optional>
#include <string_view>
#include <vector>

namespace ts {

namespace {

constexpr Color kBusyColor = 255; // red
const char* const kErrorTitle = "Reference Data Error!";

// Which columns the marker step rewrites; the files differ, and the game's data depends on it
// (a blank is a value in SiteData but "no value" in UnitData).
enum class Markers {
    BlankAndStar, // empty or one blank -> "-666", "*" -> "-999"
    EmptyOnly,    // empty -> "-666"
    None,
};

std::string_view marked(std::string_view column, Markers markers) {
    switch (markers) {
    case Markers::BlankAndStar:
        if (column.empty() || column == " ") return kEmptyMarkerText;
        if (column == "*") return kStarMarkerText;
        return column;
    case Markers::EmptyOnly:
        return column.empty() ? kEmptyMarkerText : column;
    case Markers::None:
        return column;
    }
    return column;
}

// Byte by byte: a unit row holds a hundred columns of one or two characters, and a search call per
// column cost more than the rest of the row's reading.
void splitColumns(std::string_view line, Markers markers, std::vector<std::string_view>& out) {
    out.clear();
    const char* start = line.data();
    const char* const end = start + line.size();
    for (const char* at = start;; ++at) {
        if (at != end && *at != '\t') continue;
        out.push_back(marked(std::string_view(start, static_cast<std::size_t>(at - start)), markers));
        if (at == end) return;
        start = at + 1;
    }
}

// PopData is walked from tab to tab with its tenth column taken after the last tab of the line,
// so anything between the tenth and the last tab is dropped.
constexpr std::size_t kPopColumns = 10;

void walkPopColumns(std::string_view line, std::vector<std::string_view>& out) {
    splitColumns(line, Markers::None, out);
    if (out.size() > kPopColumns) {
        out[kPopColumns - 1] = out.back();
        out.resize(kPopColumns);
    }
}

// An optional sign and digits, nothing else: the game's files never hold anything looser, and a
// typo must not quietly become 0.
std::optional<std::int32_t> toInteger(std::string_view text, std::int64_t lowest, std::int64_t highest) {
    std::size_t i = 0;
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        i = 1;
    }
    if (i == text.size()) return std::nullopt;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > highest + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value < lowest || value > highest) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

constexpr std::int64_t kInt16Low = -32768, kInt16High = 32767;
constexpr std::int64_t kInt32Low = -2147483648LL, kInt32High = 2147483647LL;

// Hands one row's columns to the record fields in column order. A row that ends early leaves the
// remaining fields as they were; the first column that does not convert stops the row.
class RowFields {
  public:
    explicit RowFields(const std::vector<std::string_view>& columns) : mColumns(columns) {}

    void text(std::string& field) {
        if (const std::string_view* c = next()) field.assign(c->data(), c->size());
    }
    void int16(std::int16_t& field) {
        if (const std::string_view* c = next()) {
            if (const auto v = toInteger(*c, kInt16Low, kInt16High))
                field = static_cast<std::int16_t>(*v);
            else
                markBad(false);
        }
    }
    void int32(std::int32_t& field) {
        if (const std::string_view* c = next()) {
            if (const auto v = toInteger(*c, kInt32Low, kInt32High))
                field = *v;
            else
                markBad(true);
        }
    }

    bool has(std::size_t column) const { return column < mColumns.size(); }
    bool ok() const { return mBadColumn < 0; }
    int badColumn() const { return mBadColumn; }
    bool badIs32Bit() const { return mBad32Bit; }

  private:
    const std::string_view* next() {
        const std::size_t column = mNext++;
        if (!ok() || column >= mColumns.size()) return nullptr;
        return &mColumns[column];
    }
    void markBad(bool is32Bit) {
        mBadColumn = static_cast<int>(mNext - 1);
        mBad32Bit = is32Bit;
    }

    const std::vector<std::string_view>& mColumns;
    std::size_t mNext = 0;
    int mBadColumn = -1;
    bool mBad32Bit = false;
};

void readNation(RowFields& in, NationRefType& r) {
    in.text(r.era);
    in.int16(r.number);
    in.text(r.text2);
    in.text(r.name);
}

void readPop(RowFields& in, PopDataType& r) {
    in.int16(r.number);
    in.text(r.name);
    for (int k = 0; k < 4; ++k)
        in.int16(r.units[k]);
    for (int k = 0; k < 4; ++k)
        in.int16(r.commanders[k]);
}

void readFort(RowFields& in, FortDataType& r) {
    in.int16(r.number);
    in.text(r.name);
}

void readItem(RowFields& in, ItemDataType& r) {
    in.int16(r.number);
    in.text(r.name);
    in.text(r.category);
    in.int16(r.itemLevel);
    in.text(r.path1);
    in.int16(r.path1Level);
    in.text(r.path2);
    in.int16(r.path2Level);
}

constexpr std::size_t kSiteMaskColumn = 4;

void readSite(RowFields& in, SiteDataType& r) {
    in.int16(r.number);
    in.text(r.name);
    in.int16(r.value2);
    in.int16(r.value3);
    in.int32(r.terrainMask);
    in.int16(r.value5);
    in.text(r.siteType);
    for (auto& g : r.gems)
        in.int16(g);
    in.int16(r.gold);
    in.int16(r.resources);
    in.int16(r.supply);
    in.int16(r.unrest);
    in.int16(r.experience);
    in.text(r.lab);
    in.int16(r.fort);
    for (int k = 0; k < 5; ++k) {
        in.int16(r.recruits[k]);
        in.text(r.recruitNames[k]);
    }
    in.text(r.text32);
    for (int k = 0; k < 3; ++k) {
        in.int16(r.summons[k]);
        in.text(r.summonNames[k]);
        in.int16(r.summonValues[k]);
    }
    in.text(r.scales[0]);
    in.text(r.scales[1]);
    for (std::string* s : {&r.conj, &r.alt, &r.evo, &r.cons, &r.ench, &r.thau, &r.bld})
        in.text(*s);
    for (std::string* s :
         {&r.heal, &r.disease, &r.curse, &r.horror, &r.holyfire, &r.holypow, &r.scry, &r.adventure})
        in.text(*s);
}

void readUnit(RowFields& in, UnitDataType& r) {
    in.int16(r.number);
    in.text(r.name);
    for (std::string* s : {&r.unique, &r.mounted, &r.sacred, &r.female})
        in.text(*s);
    for (std::int16_t* v :
         {&r.god, &r.value7, &r.size, &r.hp, &r.morale, &r.magicResistance, &r.normalLeader, &r.undeadLeader,
          &r.magicLeader, &r.slotHand, &r.slotHead, &r.slotBody, &r.slotFoot, &r.slotMisc})
        in.int16(*v);
    for (auto& p : r.paths)
        in.int16(p);
    for (int k = 0; k < 4; ++k) {
        in.text(r.randomMagic[k]);
        in.int16(r.randomValueA[k]);
        in.int16(r.randomValueB[k]);
        in.text(r.randomPaths[k]);
    }
    for (std::string* s : {&r.undead, &r.demon, &r.magicBeing, &r.animal, &r.spy, &r.assassin, &r.glamour})
        in.text(*s);
    in.int16(r.stealth);
    for (std::string* s : {&r.resistLightning, &r.resistFire, &r.resistCold, &r.resistPoison, &r.darkVision,
                           &r.regeneration, &r.forge, &r.heal, &r.alchemy, &r.luck, &r.insane})
        in.text(*s);
    in.int16(r.standard);
    in.text(r.text65);
    for (std::int16_t* v : {&r.awe, &r.fear, &r.berserk, &r.chill, &r.heat, &r.fireShield, &r.banefireShield,
                            &r.bloodVengeance, &r.diseaseCloud, &r.poisonCloud})
        in.int16(*v);
    in.text(r.iceArmor);
    for (std::int16_t* v : {&r.pillage, &r.patrol, &r.castleDefence, &r.siege, &r.supply, &r.sage,
                            &r.bloodHunt, &r.voidSummoning})
        in.int16(*v);
    for (std::string* s :
         {&r.survivalForest, &r.survivalMountain, &r.survivalWaste,  &r.survivalSwamp,  &r.aquatic,
          &r.amphibious,     &r.poorAmphibian,    &r.flying,         &r.flyingInStorms, &r.sailing,
          &r.coldBlooded,    &r.ethereal,         &r.trueEthereal,   &r.trample,        &r.blind,
          &r.recuperation,   &r.immortal,         &r.mindless,       &r.lifeless,       &r.noEat,
          &r.noHeal,         &r.poisonArmor,      &r.seduce,         &r.succubus,       &r.petrify,
          &r.eyeLoss,        &r.inquisitor,       &r.winterStrength, &r.springStrength, &r.summerStrength,
          &r.fallStrength,   &r.reanimator})
        in.text(*s);
    for (std::int16_t* v :
         {&r.summon, &r.summonCount, &r.autoSummon, &r.autoSummonCount, &r.battleSummon, &r.battleSummonCount,
          &r.domSummon, &r.domSummonCount, &r.shapeChange, &r.firstShape, &r.secondShape,
          &r.secondShapeTemporary, &r.landShape, &r.seaShape})
        in.int16(*v);
    in.text(r.uniqueName);
    in.text(r.special);
}

struct TerrainBit {
    std::int32_t value;
    std::string SiteTerrainFlags::*flag;
};

// Tested from the highest bit down; 2048, 4096 and 8192 have no flag and are never taken, so a
// mask holding them is reported.
constexpr TerrainBit kTerrainBits[] = {
    {16384, &SiteTerrainFlags::unique}, {1024, &SiteTerrainFlags::flag1024}, {512, &SiteTerrainFlags::cave},
    {256, &SiteTerrainFlags::deepSea},  {128, &SiteTerrainFlags::swamp},     {64, &SiteTerrainFlags::coast},
    {32, &SiteTerrainFlags::sea},       {16, &SiteTerrainFlags::farm},       {8, &SiteTerrainFlags::waste},
    {4, &SiteTerrainFlags::mountain},   {2, &SiteTerrainFlags::forest},      {1, &SiteTerrainFlags::plains},
};

// Returns what the flags did not take. A negative mask takes nothing: its two's-complement bits
// are no terrain.
std::int32_t decodeSiteTerrain(std::int32_t mask, SiteTerrainFlags& flags) {
    flags = SiteTerrainFlags{};
    if (mask <= 0) flags.noTerrain = "Yes";
    for (const TerrainBit& bit : kTerrainBits) {
        if (mask > 0 && (mask & bit.value) != 0) {
            flags.*bit.flag = "Yes";
            mask -= bit.value;
        }
    }
    return mask;
}

struct TableFile {
    const char* fileName;
    Markers markers;
    std::size_t keyColumn;
    int slotCount;
};

constexpr const char* kTableFiles[] = {"NationData.txt", "PopData.txt",  "SiteData.txt",
                                       "FortData.txt",   "ItemData.txt", "UnitData.txt"};

// The folder of the six files, and how a file that fails is reported.
class TableFolder {
  public:
    TableFolder(const QString& programFolder, UserInterface& ui)
        : mDataFolder(joinPath(dataFolder(programFolder), QStringLiteral("TSdata"))), mUi(ui) {}

    bool filesPresent() {
        for (const char* name : kTableFiles) {
            QFile file;
            if (!open(name, file)) return false;
        }
        return true;
    }

  protected:
    bool fail(const QString& what) {
        mUi.messageBox(QString::fromLatin1(kErrorTitle),
                       what + QStringLiteral("\n\nThe reference tables could not be loaded."));
        return false;
    }

    static QString shownName(const char* fileName) {
        return joinPath(QStringLiteral("TSdata"), QString::fromLatin1(fileName));
    }

    bool open(const char* fileName, QFile& file) {
        file.setFileName(joinPath(mDataFolder, QString::fromLatin1(fileName)));
        if (file.open(QIODevice::ReadOnly)) return true;
        const QString shown = shownName(fileName);
        return fail(file.exists() ? QStringLiteral("%1 cannot be read.").arg(shown)
                                  : QStringLiteral("%1 is missing.").arg(shown));
    }

    QString mDataFolder;
    UserInterface& mUi;
};

class Loader : TableFolder {
  public:
    Loader(ReferenceData& ref, const QString& programFolder, UserInterface& ui)
        : TableFolder(programFolder, ui), mRef(ref) {}

    bool run() {
        step("Petitioning Nations...", "Tessary: PETITIONING NATIONS");
        if (!load({"NationData.txt", Markers::BlankAndStar, 1, kNationSlots}, mRef.NationData, readNation))
            return false;
        step("Polishing the Hammer", "Tessary: POLISHING THE HAMMER");
        if (!load({"PopData.txt", Markers::None, 0, kPopSlots}, mRef.PopData, readPop)) return false;
        step("Warming the Coals...", "Tessary: WARMING THE COALS...");
        const auto readSiteAndTerrain = [this](RowFields& in, SiteDataType& site) {
            readSite(in, site);
            // A row that does not reach the mask keeps the terrain of the earlier row.
            if (in.ok() && in.has(kSiteMaskColumn)) {
                site.terrainMask = decodeSiteTerrain(site.terrainMask, site.terrain);
                if (site.terrainMask != 0) reportSiteMask(site);
            }
        };
        if (!load({"SiteData.txt", Markers::EmptyOnly, 0, kSiteSlots}, mRef.SiteData, readSiteAndTerrain))
            return false;
        step("Where are those damn Tongs!", "Tessary: ANYBODY SEEN THE TONGS?");
        if (!load({"FortData.txt", Markers::BlankAndStar, 0, kFortSlots}, mRef.FortData, readFort))
            return false;
        step("Nevermind, found the Tongs", "Tessary: FOUND THE TONGS! :)");
        if (!load({"ItemData.txt", Markers::BlankAndStar, 0, kItemSlots}, mRef.ItemData, readItem))
            return false;
        step("Gathering the armies...", "Tessary: GATHERING THE ARMIES...");
        if (!load({"UnitData.txt", Markers::BlankAndStar, 0, kUnitSlots}, mRef.UnitData, readUnit))
            return false;
        return true;
    }

  private:
    void step(const char* message, const char* caption) {
        mUi.busyMessage(QString::fromLatin1(message), QString::fromLatin1(caption), kBusyColor);
        mUi.processEvents();
    }

    void reportSiteMask(const SiteDataType& site) {
        mUi.messageBox(
            QStringLiteral("Site Terrain Mask Invalid!"),
            QStringLiteral("Site Terrain Value <> 0! Error in site terrain value! Site# %1, Mask %2")
                .arg(site.number)
                .arg(site.terrainMask));
    }

    template <typename Record, typename Read> bool load(const TableFile& table, Record* records, Read read) {
        const QString shown = shownName(table.fileName);
        QFile file;
        if (!open(table.fileName, file)) return false;
        const QByteArray bytes = file.readAll();
        file.close();

        const std::string_view all(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        std::vector<std::string_view> columns;
        int lineNumber = 0;
        std::size_t pos = 0;
        while (pos < all.size()) {
            std::size_t end = all.find('\n', pos);
            if (end == std::string_view::npos) end = all.size();
            std::string_view line = all.substr(pos, end - pos);
            pos = end + 1;
            ++lineNumber;
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            if (line.empty()) continue;

            if (table.markers == Markers::None)
                walkPopColumns(line, columns);
            else
                splitColumns(line, table.markers, columns);

            // Named only for a message: a start reads some 3500 rows, and none of them needs it.
            const auto where = [&] { return QStringLiteral("%1, line %2").arg(shown).arg(lineNumber); };
            if (table.keyColumn >= columns.size()) {
                return fail(QStringLiteral("%1: the row ends before column %2, which holds its number.")
                                .arg(where())
                                .arg(table.keyColumn));
            }
            const std::string_view keyText = columns[table.keyColumn];
            const auto key = toInteger(keyText, kInt16Low, kInt16High);
            if (!key) return fail(notANumber(where(), table.keyColumn, keyText, false));
            if (*key < 0 || *key >= table.slotCount) {
                return fail(QStringLiteral("%1: the number %2 in column %3 is outside the table (0 to %4).")
                                .arg(where())
                                .arg(*key)
                                .arg(table.keyColumn)
                                .arg(table.slotCount - 1));
            }

            RowFields in(columns);
            read(in, records[*key]);
            if (!in.ok()) {
                const auto bad = static_cast<std::size_t>(in.badColumn());
                return fail(notANumber(where(), bad, columns[bad], in.badIs32Bit()));
            }
        }
        return true;
    }

    static QString notANumber(const QString& where, std::size_t column, std::string_view text, bool is32Bit) {
        return QStringLiteral("%1, column %2: \"%3\" is not a whole number from %4 to %5.")
            .arg(where)
            .arg(column)
            .arg(fromCp1252(text))
            .arg(is32Bit ? kInt32Low : kInt16Low)
            .arg(is32Bit ? kInt32High : kInt16High);
    }

    ReferenceData& mRef;
};

} // namespace

bool LoadReferenceData(ReferenceData& ref, ReferenceLists& lists, const QString& programFolder,
                       UserInterface& ui) {
    lists = ReferenceLists{};
    ref.lookupIndex.reset(); // the tables are about to change under it
    ref.deferredLoad = nullptr; // read now, so never again on a first lookup
    if (!Loader(ref, programFolder, ui).run()) return false;
    lists = BuildReferenceLists(ref);
    BuildLookupIndex(ref);
    ui.busyMessage(QString(), QStringLiteral("Tessary: Awaiting the master..."), kBusyColor);
    return true;
}

bool ReferenceFilesPresent(const QString& programFolder, UserInterface& ui) {
    return TableFolder(programFolder, ui).filesPresent();
}

} // namespace ts
