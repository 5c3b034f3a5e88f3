#include "datagen.h"
#include "rng.h"

#include "cp1252.h"

#include <QStringList>

namespace ts::datagen {

namespace {

QByteArray cp1252Lines(const QStringList& lines, const char* lineEnd) {
    QByteArray bytes;
    for (const QString& line : lines) {
        const std::string text = toCp1252(line);
        bytes.append(text.data(), static_cast<qsizetype>(text.size()));
        bytes.append(lineEnd);
    }
    return bytes;
}

struct WordList {
    QString name;        // with its leading colon
    QStringList entries; // "weight,word"
};

struct NameFile {
    QString file;
    QString tags;
    QStringList templates;
    std::vector<WordList> lists;
};

// Weights are given as rows: "1-3,ka" fills three rows, "4,ro" one. A name pattern is nothing but
// list references, so a blank between words belongs to the word: " fields".
const std::vector<NameFile>& nameFiles() {
    static const std::vector<NameFile> files = {
        {QStringLiteral("land.nam"),
         QStringLiteral("ANYLAND,PLAIN,FARM"),
         {QStringLiteral("1-3,[pre][post]"), QStringLiteral("4,[pre][post][land]")},
         {{QStringLiteral(":pre"),
           {QStringLiteral("1-2,ael"), QStringLiteral("3,bran"), QStringLiteral("4,cor"),
            QStringLiteral("5,þór"), QStringLiteral("6,ás"), QStringLiteral("7,hal"), QStringLiteral("8,wyn"),
            QStringLiteral("9,ed")}},
          {QStringLiteral(":post"),
           {QStringLiteral("1-2,ford"), QStringLiteral("3,ham"), QStringLiteral("4,wick"),
            QStringLiteral("5,stead"), QStringLiteral("6,by"), QStringLiteral("7,thorp"),
            QStringLiteral("8,vangr")}},
          {QStringLiteral(":land"),
           {QStringLiteral("1, fields"), QStringLiteral("2, meadows"), QStringLiteral("3, downs"),
            QStringLiteral("4, acres")}}}},
        {QStringLiteral("forest.nam"),
         QStringLiteral("FOREST,NATURESITE"),
         {QStringLiteral("1,[tree][wood]"), QStringLiteral("2,[pre][wood]")},
         {{QStringLiteral(":tree"),
           {QStringLiteral("1,oak"), QStringLiteral("2,ash"), QStringLiteral("3,yew"),
            QStringLiteral("4,elm"), QStringLiteral("5,birk")}},
          {QStringLiteral(":wood"),
           {QStringLiteral("1-2,wood"), QStringLiteral("3,holt"), QStringLiteral("4,hurst"),
            QStringLiteral("5,lundr"), QStringLiteral("6,grove")}},
          {QStringLiteral(":pre"),
           {QStringLiteral("1,dark"), QStringLiteral("2,ælf"), QStringLiteral("3,green"),
            QStringLiteral("4,whisper")}}}},
        {QStringLiteral("mountain.nam"),
         QStringLiteral("MOUNTAIN,BORDERMOUNT,CAVE,EARTHSITE"),
         {QStringLiteral("1,[pre][peak]"), QStringLiteral("2,[pre][peak][deep]")},
         {{QStringLiteral(":pre"),
           {QStringLiteral("1,iron"), QStringLiteral("2,grim"), QStringLiteral("3,storm"),
            QStringLiteral("4,jötun"), QStringLiteral("5,raven")}},
          {QStringLiteral(":peak"),
           {QStringLiteral("1-2,fell"), QStringLiteral("3,crag"), QStringLiteral("4,horn"),
            QStringLiteral("5,tind"), QStringLiteral("6,berg")}},
          {QStringLiteral(":deep"),
           {QStringLiteral("1, halls"), QStringLiteral("2, depths"), QStringLiteral("3, hollows")}}}},
        {QStringLiteral("swamp.nam"),
         QStringLiteral("SWAMP,FRESHWATER,WATERSITE"),
         {QStringLiteral("1,[pre][wet]")},
         {{QStringLiteral(":pre"),
           {QStringLiteral("1,black"), QStringLiteral("2,reed"), QStringLiteral("3,mire"),
            QStringLiteral("4,frog"), QStringLiteral("5,sæ")}},
          {QStringLiteral(":wet"),
           {QStringLiteral("1,fen"), QStringLiteral("2,marsh"), QStringLiteral("3,mere"),
            QStringLiteral("4,water"), QStringLiteral("5,myrr")}}}},
        {QStringLiteral("waste.nam"),
         QStringLiteral("WASTE,FIRESITE,DEATHSITE,BLOODSITE"),
         {QStringLiteral("1,[pre][dry]")},
         {{QStringLiteral(":pre"),
           {QStringLiteral("1,ash"), QStringLiteral("2,bone"), QStringLiteral("3,dust"),
            QStringLiteral("4,red"), QStringLiteral("5,cinder")}},
          {QStringLiteral(":dry"),
           {QStringLiteral("1,waste"), QStringLiteral("2,flats"), QStringLiteral("3,barrens"),
            QStringLiteral("4,heath")}}}},
        {QStringLiteral("sea.nam"),
         QStringLiteral("ANYSEA,SEA,DEEPSEA"),
         {QStringLiteral("1,[sea][of][name]"), QStringLiteral("2,[name][deep]")},
         {{QStringLiteral(":sea"),
           {QStringLiteral("1,sea"), QStringLiteral("2,bay"), QStringLiteral("3,gulf"),
            QStringLiteral("4,sound")}},
          {QStringLiteral(":of"), {QStringLiteral("1, of ")}},
          {QStringLiteral(":name"),
           {QStringLiteral("1,ægir"), QStringLiteral("2,whales"), QStringLiteral("3,salt"),
            QStringLiteral("4,ran"), QStringLiteral("5,tides")}},
          {QStringLiteral(":deep"),
           {QStringLiteral("1, deep"), QStringLiteral("2, trench"), QStringLiteral("3, abyss")}}}},
        {QStringLiteral("mystic.nam"),
         QStringLiteral("MANYSITES,AIRSITE,ASTRALSITE,HOLYSITE"),
         {QStringLiteral("1,[pre][place]")},
         {{QStringLiteral(":pre"),
           {QStringLiteral("1,star"), QStringLiteral("2,moon"), QStringLiteral("3,holy"),
            QStringLiteral("4,wind"), QStringLiteral("5,ásgarð")}},
          {QStringLiteral(":place"),
           {QStringLiteral("1,watch"), QStringLiteral("2,reach"), QStringLiteral("3,spire"),
            QStringLiteral("4,haven")}}}},
        {QStringLiteral("commander.nam"),
         QStringLiteral("COMMANDER"),
         {QStringLiteral("1-2,[first][last]"), QStringLiteral("3,[first]")},
         {{QStringLiteral(":first"),
           {QStringLiteral("1,þór"), QStringLiteral("2,sig"), QStringLiteral("3,ulf"),
            QStringLiteral("4,grím"), QStringLiteral("5,éo"), QStringLiteral("6,hal"), QStringLiteral("7,ás"),
            QStringLiteral("8,bran")}},
          {QStringLiteral(":last"),
           {QStringLiteral("1,valdr"), QStringLiteral("2,rún"), QStringLiteral("3,mund"),
            QStringLiteral("4,dís"), QStringLiteral("5,ric"), QStringLiteral("6,wen")}}}},
    };
    return files;
}

QString properCase(const QString& text) {
    QString out = text.toLower();
    bool start = true;
    for (QChar& c : out) {
        if (start && c.isLetter()) c = c.toUpper();
        start = c.isSpace();
    }
    return out;
}

// Expands a weighted list into rows, as the name generator does.
QStringList rowsOf(const QStringList& entries) {
    QStringList rows;
    for (const QString& entry : entries) {
        const QString weight = entry.section(QLatin1Char(','), 0, 0);
        const QString word = entry.section(QLatin1Char(','), 1);
        const int last =
            weight.contains(QLatin1Char('-')) ? weight.section(QLatin1Char('-'), 1).toInt() : rows.size() + 1;
        while (rows.size() < last)
            rows << word;
    }
    return rows;
}

QString nameFrom(Rng& rng, const NameFile& file) {
    const QStringList templates = rowsOf(file.templates);
    const QString chosen = templates[rng.range(0, static_cast<int>(templates.size()) - 1)];
    QString result;
    // Any text outside brackets is kept and blanks are tidied, so a sample map's names read naturally.
    int at = 0;
    while (at < chosen.size()) {
        if (chosen[at] == QLatin1Char('[')) {
            const int end = chosen.indexOf(QLatin1Char(']'), at);
            const QString listName = QLatin1Char(':') + chosen.mid(at + 1, end - at - 1);
            for (const WordList& list : file.lists)
                if (list.name == listName) {
                    const QStringList rows = rowsOf(list.entries);
                    result += rows[rng.range(0, static_cast<int>(rows.size()) - 1)];
                }
            at = end + 1;
        } else {
            result += chosen[at++];
        }
    }
    return properCase(result.simplified());
}

} // namespace

const std::vector<QString>& provinceNameTags() {
    static const std::vector<QString> tags = {
        QStringLiteral("ANYLAND"),    QStringLiteral("ANYSEA"),      QStringLiteral("PLAIN"),
        QStringLiteral("SEA"),        QStringLiteral("FRESHWATER"),  QStringLiteral("MOUNTAIN"),
        QStringLiteral("SWAMP"),      QStringLiteral("WASTE"),       QStringLiteral("FOREST"),
        QStringLiteral("FARM"),       QStringLiteral("MANYSITES"),   QStringLiteral("DEEPSEA"),
        QStringLiteral("CAVE"),       QStringLiteral("BORDERMOUNT"), QStringLiteral("FIRESITE"),
        QStringLiteral("AIRSITE"),    QStringLiteral("WATERSITE"),   QStringLiteral("EARTHSITE"),
        QStringLiteral("ASTRALSITE"), QStringLiteral("DEATHSITE"),   QStringLiteral("NATURESITE"),
        QStringLiteral("BLOODSITE"),  QStringLiteral("HOLYSITE")};
    return tags;
}

QString makeProvinceName(Rng& rng, std::uint32_t terrain) {
    QString file = QStringLiteral("land.nam");
    if (terrain & 4)
        file = QStringLiteral("sea.nam");
    else if (terrain & (16 | 4096 | 4194304))
        file = QStringLiteral("mountain.nam");
    else if (terrain & 128)
        file = QStringLiteral("forest.nam");
    else if (terrain & (32 | 8))
        file = QStringLiteral("swamp.nam");
    else if (terrain & 64)
        file = QStringLiteral("waste.nam");
    else if (terrain & (1024 | 16384 | 131072 | 2097152))
        file = QStringLiteral("mystic.nam");
    for (const NameFile& names : nameFiles())
        if (names.file == file) return nameFrom(rng, names);
    return {};
}

QString makeCommanderName(Rng& rng) {
    return nameFrom(rng, nameFiles().back());
}

FileSet makeNameFiles() {
    FileSet files;
    for (const NameFile& names : nameFiles()) {
        QStringList lines = {names.tags,
                             QStringLiteral("# Made by tessary-datagen. Weights: 1-3 fills rows 1 to 3."),
                             QStringLiteral(":templates")};
        lines << names.templates;
        for (const WordList& list : names.lists) {
            lines << QString() << list.name;
            lines << list.entries;
        }
        files[QStringLiteral("TSnames/") + names.file] = cp1252Lines(lines, "\r\n");
    }
    return files;
}

FileSet makeScripts(const ReferenceTables& tables) {
    const std::vector<const UnitRow*> commanders = tables.unitsOfKind(UnitKind::Commander);
    const std::vector<const UnitRow*> troops = tables.unitsOfKind(UnitKind::Troop);
    const QString guardCommander = QString::number(commanders[3]->number);
    const QString guardTroop = QString::number(troops[7]->number);
    const QString site = QString::number(tables.sites[12].number);
    const QString indieCommander = QString::number(commanders[5]->number);
    const QString indieTroop = QString::number(troops[2]->number);
    FileSet files;
    files[QStringLiteral("TSscripts/killindies.tss")] =
        cp1252Lines({QStringLiteral(":TOOL"), QStringLiteral("Kill the independents of every land province"),
                     QStringLiteral("# Land provinces lose their random inhabitants."),
                     QStringLiteral(":SELECT PROVINCES WHERE"), QStringLiteral("tsea = FALSE"),
                     QStringLiteral(":THEN"), QStringLiteral("kill = TRUE"), QStringLiteral(":END")},
                    "\r\n");
    files[QStringLiteral("TSscripts/mountainlabs.tss")] =
        cp1252Lines({QStringLiteral(":TOOL"), QStringLiteral("Labs and temples in the mountains"),
                     QStringLiteral(":SELECT PROVINCES WHERE"), QStringLiteral("tmountain = TRUE"),
                     QStringLiteral(":THEN"), QStringLiteral("lab = TRUE"), QStringLiteral("temple = TRUE"),
                     QStringLiteral("feature = ") + site, QStringLiteral(":END")},
                    "\r\n");
    files[QStringLiteral("TSscripts/seaguards.tss")] = cp1252Lines(
        {QStringLiteral(":TOOL"), QStringLiteral("Sea guards for Þrúðvangr"),
         QStringLiteral(":SELECT PROVINCES WHERE"), QStringLiteral("tsea = TRUE"), QStringLiteral(":THEN"),
         QStringLiteral("comtype = ") + guardCommander, QStringLiteral("comname = \"Þórólfr Sæbjörn\""),
         QStringLiteral("mag_water = 2"), QStringLiteral("unit = ") + guardTroop,
         QStringLiteral("unitcount = 12"), QStringLiteral(":END")},
        "\r\n");
    files[QStringLiteral("TSscripts/markseas.tss")] = cp1252Lines(
        {QStringLiteral(":TOOL"), QStringLiteral("Mark all sea provinces"),
         QStringLiteral("# A user mark lasts through every redraw of the marks; F9 takes it off again."),
         QStringLiteral(":SELECT PROVINCES WHERE"), QStringLiteral("tsea = TRUE"), QStringLiteral(":THEN"),
         QStringLiteral("markuser = TRUE"), QStringLiteral(":END")},
        "\r\n");
    files[QStringLiteral("TSscripts/farmtemples.tss")] = cp1252Lines(
        {QStringLiteral(":TOOL"), QStringLiteral("Give every farm a temple"),
         QStringLiteral(":SELECT PROVINCES WHERE"), QStringLiteral("tfarm = TRUE"), QStringLiteral(":THEN"),
         QStringLiteral("temple = TRUE"), QStringLiteral(":END")},
        "\r\n");
    files[QStringLiteral("TSscripts/emptyland.tss")] = cp1252Lines(
        {QStringLiteral(":TOOL"), QStringLiteral("Add independents to empty land"),
         QStringLiteral("# Every test must hold: land, and no commander yet (a god counts as one)."),
         QStringLiteral(":SELECT PROVINCES WHERE"), QStringLiteral("tsea = FALSE"),
         QStringLiteral("comndrcount = 0"), QStringLiteral(":THEN"),
         QStringLiteral("comtype = ") + indieCommander, QStringLiteral("unit = ") + indieTroop,
         QStringLiteral("unitcount = 15"), QStringLiteral("xp = 20"), QStringLiteral(":END")},
        "\r\n");
    return files;
}

namespace {

// One province template: the values in file order (see the template format).
struct TemplateCommander {
    QString unitName;
    int unitIndex = -1;
    QString comName;
    std::vector<std::tuple<QString, int, int>> bodyguards, units; // name, index, count
    int magic[9] = {}; // fire, air, water, earth, astral, death, nature, blood, priest
    int xp = 0;
    int randomEquip = -1;
    QStringList items;
    bool insideCastle = false;
};

struct TemplateProvince {
    bool plain = false;
    bool bits[23] = {};
    QString name;
    bool setLand = false, land = false, killFeatures = false;
    std::vector<TemplateCommander> commanders; // slots 1..
    std::vector<std::pair<QString, int>> sites, knownSites;
    int fort = -1;
    bool temple = false, lab = false, start = false, noStart = false;
    int victoryPoints = -1, population = -1, popType = -1, unrest = -1;
    QString skyBox, batMap;
    int ground[3] = {-1, -1, -1}, rock[3] = {-1, -1, -1}, fog[3] = {-1, -1, -1};
};

QByteArray templateBytes(const TemplateProvince& t) {
    QStringList v;
    auto b = [&](bool value) { v << (value ? QStringLiteral("#TRUE#") : QStringLiteral("#FALSE#")); };
    auto s = [&](const QString& value) { v << QLatin1Char('"') + value + QLatin1Char('"'); };
    auto n = [&](int value) { v << QString::number(value); };
    b(t.plain);
    for (bool bit : t.bits)
        b(bit);
    s(t.name);
    b(t.setLand);
    b(t.land);
    n(static_cast<int>(t.commanders.size()));
    for (int slot = 1; slot <= 39; ++slot) {
        const TemplateCommander empty;
        const TemplateCommander& c = slot <= static_cast<int>(t.commanders.size())
                                         ? t.commanders[static_cast<std::size_t>(slot - 1)]
                                         : empty;
        s(c.unitName);
        n(c.unitIndex);
        s(c.comName);
        for (const auto* stacks : {&c.bodyguards, &c.units})
            for (std::size_t k = 0; k < 10; ++k) {
                if (k < stacks->size()) {
                    s(std::get<0>((*stacks)[k]));
                    n(std::get<1>((*stacks)[k]));
                    n(std::get<2>((*stacks)[k]));
                } else {
                    s(QString());
                    n(-1);
                    n(0);
                }
            }
        b(false); // clear magic
        for (int level : c.magic)
            n(level);
        n(c.xp);
        n(c.randomEquip);
        for (int k = 0; k < 8; ++k)
            s(k < c.items.size() ? c.items[k] : QString());
        b(c.insideCastle);
    }
    b(t.killFeatures);
    for (const auto* list : {&t.sites, &t.knownSites})
        for (std::size_t k = 0; k < 4; ++k) {
            s(k < list->size() ? (*list)[k].first : QString());
            n(k < list->size() ? (*list)[k].second : -1);
        }
    n(t.fort);
    b(t.temple);
    b(t.lab);
    b(t.start);
    b(t.noStart);
    n(t.victoryPoints);
    n(t.population);
    n(t.popType);
    n(t.unrest);
    s(t.skyBox);
    s(t.batMap);
    for (int k = 0; k < 3; ++k) {
        n(t.ground[k]);
        n(t.rock[k]);
        n(t.fog[k]);
    }
    return cp1252Lines(v, "\r\n");
}

} // namespace

FileSet makeTemplates(const ReferenceTables& tables) {
    FileSet files;
    TemplateProvince noIndys;
    noIndys.plain = true;
    noIndys.land = true;
    noIndys.killFeatures = true;
    files[QStringLiteral("TStemplates/NoIndys.ptf")] = templateBytes(noIndys);

    const std::vector<const UnitRow*> commanders = tables.unitsOfKind(UnitKind::Commander);
    const std::vector<const UnitRow*> troops = tables.unitsOfKind(UnitKind::Troop);
    TemplateProvince keep;
    keep.bits[4] = true;  // mountains
    keep.bits[16] = true; // earth sites
    keep.name = QStringLiteral("Jötunfell");
    keep.setLand = true;
    TemplateCommander lord;
    lord.unitName = commanders[10]->name;
    lord.unitIndex = commanders[10]->number;
    lord.comName = QStringLiteral("Þórvaldr");
    lord.bodyguards.emplace_back(troops[20]->name, troops[20]->number, 4);
    lord.units.emplace_back(troops[21]->name, troops[21]->number, 20);
    lord.units.emplace_back(troops[22]->name, troops[22]->number, 10);
    lord.magic[3] = 2;
    lord.xp = 45;
    lord.randomEquip = 1;
    lord.items << tables.items[5].name << tables.items[40].name;
    TemplateCommander warden;
    warden.unitName = commanders[11]->name;
    warden.unitIndex = commanders[11]->number;
    warden.units.emplace_back(troops[23]->name, troops[23]->number, 15);
    warden.insideCastle = true;
    keep.commanders = {lord, warden};
    keep.sites.emplace_back(tables.sites[3].name, tables.sites[3].number);
    keep.knownSites.emplace_back(tables.sites[30].name, tables.sites[30].number);
    keep.fort = tables.forts[11].number;
    keep.temple = true;
    keep.lab = true;
    keep.victoryPoints = 2;
    keep.population = 12000;
    keep.popType = tables.pops[8].number;
    keep.unrest = 10;
    keep.skyBox = QStringLiteral("sky_ash.tga");
    keep.batMap = QStringLiteral("empty");
    keep.ground[0] = 90, keep.ground[1] = 80, keep.ground[2] = 70;
    keep.rock[0] = 120, keep.rock[1] = 110, keep.rock[2] = 100;
    keep.fog[0] = 200, keep.fog[1] = 200, keep.fog[2] = 210;
    files[QStringLiteral("TStemplates/Mountain Keep.ptf")] = templateBytes(keep);

    TemplateProvince grove;
    grove.bits[7] = true;  // forest
    grove.bits[19] = true; // nature sites
    grove.bits[0] = true;  // small
    grove.name = QStringLiteral("Ælfholt");
    grove.sites.emplace_back(tables.sites[6].name, tables.sites[6].number);
    grove.sites.emplace_back(tables.sites[15].name, tables.sites[15].number);
    grove.temple = true;
    grove.noStart = true;
    files[QStringLiteral("TStemplates/Holy Grove.ptf")] = templateBytes(grove);
    return files;
}

FileSet makePalettes(const ReferenceTables& tables) {
    QStringList favourites, gods;
    const auto commanders = tables.unitsOfKind(UnitKind::Commander);
    for (int i = 0; i < 12; ++i)
        favourites << QString::number(commanders[static_cast<std::size_t>(i * 7)]->number);
    for (const UnitRow* god : tables.unitsOfKind(UnitKind::God)) {
        if (gods.size() == 10) break;
        gods << QString::number(god->number);
    }
    FileSet files;
    files[QStringLiteral("TSpalettes/Favourites.upa")] = cp1252Lines(favourites, "\r\n");
    files[QStringLiteral("TSpalettes/Pretenders.upa")] = cp1252Lines(gods, "\r\n");
    return files;
}

} // namespace ts::datagen
