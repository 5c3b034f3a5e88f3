#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace ts {
class Rng;
}

namespace ts::datagen {

enum class UnitKind { God, Commander, Troop };

struct NationRow {
    QString era;
    int number = 0;
    QString text2;
    QString name;
};

struct PopRow {
    int number = 0;
    QString name;
    int units[4] = {};
    int commanders[4] = {};
};

struct SiteRow {
    int number = 0;
    QString name;
    QString type;
};

struct FortRow {
    int number = 0;
    QString name;
};

struct ItemRow {
    int number = 0;
    QString name;
    QString category;
    int level = 0;
};

struct UnitRow {
    int number = 0;
    QString name;
    UnitKind kind = UnitKind::Troop;
    bool nameIsUnique = true; // no other row carries this name, so a quoted reference finds it
};

// Relative path (below the output folder) -> exact file bytes.
using FileSet = std::map<QString, QByteArray>;

struct ReferenceTables {
    std::vector<NationRow> nations;
    std::vector<PopRow> pops;
    std::vector<SiteRow> sites;
    std::vector<FortRow> forts;
    std::vector<ItemRow> items;
    std::vector<UnitRow> units;
    FileSet files; // the six TSdata files

    const UnitRow* unit(int number) const;
    std::vector<const UnitRow*> unitsOfKind(UnitKind kind) const;
};

inline constexpr int kUnitColumns = 133;
inline constexpr int kSiteColumns = 59;
inline constexpr int kItemColumns = 8;

// The words the tables and finders use; tests check that every one of them occurs.
const std::vector<QString>& siteTypeWords();   // Fire .. Holy
const std::vector<QString>& itemCategories();  // "1-h wpn" .. "misc"
const std::vector<QString>& itemPathLetters(); // F A W E S D N B
// Unit columns that hold a text flag (present = the property's word, absent = empty).
const std::vector<int>& unitFlagColumns();

ReferenceTables makeReferenceTables(std::uint64_t seed);

// Every picture of TSicons with the reason it exists.
struct IconEntry {
    QString file;
    QString usedBy;
};
const std::vector<IconEntry>& iconTable();
QString flagFileName(const NationRow& nation);
QString spriteFileName(int unitNumber);

// Name files: each terrain tag the name generator knows, and the file that carries it.
const std::vector<QString>& provinceNameTags();

// Geometry and province data of a generated map picture.
struct MapLayout {
    int width = 0;
    int height = 0;
    std::vector<int> x, y; // white pixel per province (index = province number - 1), top-left origin
    std::vector<std::uint32_t> terrain;
    std::vector<bool> sea;
    std::vector<std::pair<int, int>> neighbours; // province numbers, first < second
};

struct MapOptions {
    int width = 1600;
    int height = 1200;
    int spacing = 84;  // distance of the seed grid, across
    int spacingY = 84; // and down
    int jitter = 7;
    int warp = 30; // how far borders wander from the straight Voronoi lines
    int maxProvinces = 2599;
    bool stress = false;
};

// Draws the picture into image (RGB32) and returns the layout.
MapLayout makeMapLayout(std::uint64_t seed, const MapOptions& options, QImage& image);
// The same world painted by hand: textured ground, soft borders of varied dark colours and widths
// or none at all, coasts as a change of colour, provinces of uneven size with their pixel off
// centre, and no pure red, blue or white beyond the province pixels. Neighbours are the provinces
// that share at least 8 pixels of border.
MapLayout makePaintedLayout(std::uint64_t seed, QImage& image);
// The .map text (Windows-1252, LF line ends).
QByteArray makeMapText(std::uint64_t seed, const ReferenceTables& tables, const MapLayout& layout,
                       const QString& imageFile, const QString& title, bool stress);

// The command words of the map parser; the sample map uses every one of them.
const std::vector<QString>& mapCommandWords();

FileSet makeNameFiles();
// Names drawn from the same word lists as the name files.
QString makeProvinceName(Rng& rng, std::uint32_t terrain);
QString makeCommanderName(Rng& rng);
FileSet makeScripts(const ReferenceTables& tables);
FileSet makeTemplates(const ReferenceTables& tables);
FileSet makePalettes(const ReferenceTables& tables);

// Writes the whole data set below outFolder (TSdata, TSicons, ..., maps). Returns false and a
// reason when a file cannot be written.
bool generateAll(const QString& outFolder, std::uint64_t seed, QString* error = nullptr);
// The seed of the data set the repository ships.
inline constexpr std::uint64_t kSampleSeed = 3;
// The test maps of the art styles map makers use (style_painted, style_tiles, style_borders,
// style_rivers) into folder, each with its true neighbours: every style in the world of the given
// seed, or without one those of the sample set (with the reference tables of its seed).
bool generateStyleMaps(const QString& folder, std::optional<std::uint64_t> world, QString* error = nullptr);
// The stress map (2599 provinces on a 4000x3000 picture) and its .map file into folder.
bool generateStress(const QString& folder, std::uint64_t seed, QString* error = nullptr);

inline constexpr const char* kSampleMapName = "aelfheim";
inline constexpr const char* kPaintedMapName = "aelfheim_painted";

} // namespace ts::datagen
