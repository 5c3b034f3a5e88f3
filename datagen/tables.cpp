#include "datagen.h"
#include "rng.h"

#include "cp1252.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <set>

namespace ts::datagen {

namespace {

// Marks a row for the file: tab separated, Windows-1252, CR LF.
void appendRow(QByteArray& file, const QStringList& columns) {
    const std::string bytes = toCp1252(columns.join(QLatin1Char('\t')));
    file.append(bytes.data(), static_cast<qsizetype>(bytes.size()));
    file.append("\r\n");
}

QString num(int value) {
    return QString::number(value);
}

// Picks numbers from [low, high] leaving random gaps, so that code which walks a table by slot
// meets empty slots.
std::vector<int> numbersWithGaps(Rng& rng, int low, int high, int wanted) {
    std::vector<int> all;
    for (int n = low; n <= high; ++n)
        all.push_back(n);
    while (static_cast<int>(all.size()) > wanted)
        all.erase(all.begin() + rng.range(0, static_cast<int>(all.size()) - 1));
    return all;
}

QString uniqueName(Rng& rng, std::set<QString>& taken, const std::vector<QString>& first,
                   const std::vector<QString>& second, const QString& joiner = QStringLiteral(" ")) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
        QString name = rng.pick(first) + joiner + rng.pick(second);
        if (taken.insert(name).second) return name;
    }
    // The word lists are far larger than any table; reaching this means they were cut down.
    QString name = rng.pick(first) + joiner + rng.pick(second) + QStringLiteral(" ") +
                   num(static_cast<int>(taken.size()));
    taken.insert(name);
    return name;
}

QString personalName(Rng& rng) {
    static const std::vector<QString> heads = {
        QStringLiteral("Ael"),  QStringLiteral("Bran"), QStringLiteral("Cor"),  QStringLiteral("Dal"),
        QStringLiteral("Ei"),   QStringLiteral("Fen"),  QStringLiteral("Gar"),  QStringLiteral("Hal"),
        QStringLiteral("Ith"),  QStringLiteral("Jor"),  QStringLiteral("Kel"),  QStringLiteral("Lor"),
        QStringLiteral("Mor"),  QStringLiteral("Nar"),  QStringLiteral("Os"),   QStringLiteral("Pel"),
        QStringLiteral("Ryn"),  QStringLiteral("Sar"),  QStringLiteral("Thal"), QStringLiteral("Ul"),
        QStringLiteral("Var"),  QStringLiteral("Wyn"),  QStringLiteral("Yr"),   QStringLiteral("Zan"),
        QStringLiteral("Þór"),  QStringLiteral("Æl"),   QStringLiteral("Sig"),  QStringLiteral("Ðag"),
        QStringLiteral("Ás"),   QStringLiteral("Ív"),   QStringLiteral("Grím"), QStringLiteral("Hrø"),
        QStringLiteral("Björ"), QStringLiteral("Éo")};
    static const std::vector<QString> tails = {
        QStringLiteral("ric"),  QStringLiteral("wen"),  QStringLiteral("dan"),  QStringLiteral("mir"),
        QStringLiteral("vald"), QStringLiteral("grim"), QStringLiteral("hild"), QStringLiteral("a"),
        QStringLiteral("on"),   QStringLiteral("is"),   QStringLiteral("ulf"),  QStringLiteral("ríkr"),
        QStringLiteral("dís"),  QStringLiteral("ein"),  QStringLiteral("mund"), QStringLiteral("frid"),
        QStringLiteral("gard"), QStringLiteral("leif"), QStringLiteral("rún"),  QStringLiteral("olf")};
    return rng.pick(heads) + rng.pick(tails);
}

const std::vector<QString> kPathLetters = {QStringLiteral("F"), QStringLiteral("A"), QStringLiteral("W"),
                                           QStringLiteral("E"), QStringLiteral("S"), QStringLiteral("D"),
                                           QStringLiteral("N"), QStringLiteral("B")};

// ---- nations -------------------------------------------------------------------------------

std::vector<NationRow> makeNations(Rng& rng) {
    static const std::vector<QString> starts = {
        QStringLiteral("Ar"),  QStringLiteral("Bel"), QStringLiteral("Cael"), QStringLiteral("Dor"),
        QStringLiteral("Er"),  QStringLiteral("Fal"), QStringLiteral("Gor"),  QStringLiteral("Hel"),
        QStringLiteral("Ir"),  QStringLiteral("Kar"), QStringLiteral("Lum"),  QStringLiteral("Mar"),
        QStringLiteral("Nor"), QStringLiteral("Oth"), QStringLiteral("Pyr"),  QStringLiteral("Ram"),
        QStringLiteral("Sol"), QStringLiteral("Tor"), QStringLiteral("Ush"),  QStringLiteral("Vel"),
        QStringLiteral("Xan"), QStringLiteral("Yth"), QStringLiteral("Zer"),  QStringLiteral("Ós"),
        QStringLiteral("Ær")};
    static const std::vector<QString> ends = {
        QStringLiteral("heim"), QStringLiteral("gard"), QStringLiteral("mark"), QStringLiteral("ia"),
        QStringLiteral("os"),   QStringLiteral("ara"),  QStringLiteral("dor"),  QStringLiteral("thal"),
        QStringLiteral("ion"),  QStringLiteral("una"),  QStringLiteral("vik"),  QStringLiteral("esh"),
        QStringLiteral("akur"), QStringLiteral("ëa")};
    static const std::vector<QString> realms = {QStringLiteral("Kingdom"),   QStringLiteral("Empire"),
                                                QStringLiteral("Realm"),     QStringLiteral("Dominion"),
                                                QStringLiteral("Theocracy"), QStringLiteral("Republic"),
                                                QStringLiteral("Horde"),     QStringLiteral("Clans")};
    static const std::vector<QString> themes = {
        QStringLiteral("Frost"),  QStringLiteral("Bronze"),   QStringLiteral("the Deep"),
        QStringLiteral("Ash"),    QStringLiteral("the Sun"),  QStringLiteral("Serpents"),
        QStringLiteral("Giants"), QStringLiteral("the Dead"), QStringLiteral("Storms"),
        QStringLiteral("Iron"),   QStringLiteral("Thorns"),   QStringLiteral("Stars")};
    std::vector<int> numbers = numbersWithGaps(rng, 0, 99, 79);
    // 23 is the special-monster owner; 5 and 71 carry the accented names.
    for (int needed : {5, 23, 71})
        if (std::find(numbers.begin(), numbers.end(), needed) == numbers.end()) numbers.push_back(needed);
    std::sort(numbers.begin(), numbers.end());
    std::set<QString> taken = {QStringLiteral("Ælfheim"), QStringLiteral("Þrúðvangr"),
                               QStringLiteral("Special Monsters")};
    std::vector<NationRow> nations;
    for (int number : numbers) {
        NationRow row;
        row.number = number;
        row.era = number < 33   ? QStringLiteral("EA")
                  : number < 66 ? QStringLiteral("MA")
                                : QStringLiteral("LA");
        row.text2 = rng.pick(realms) + QStringLiteral(" of ") + rng.pick(themes);
        // 23 owns the monsters inside castles; the owner list needs a name to show for it.
        if (number == 23) {
            row.name = QStringLiteral("Special Monsters");
            row.text2 = QStringLiteral("Monsters");
        } else if (number == 5) {
            row.name = QStringLiteral("Ælfheim");
        } else if (number == 71) {
            row.name = QStringLiteral("Þrúðvangr");
        } else {
            row.name = uniqueName(rng, taken, starts, ends, QString());
        }
        nations.push_back(row);
    }
    return nations;
}

// ---- units ---------------------------------------------------------------------------------

struct FlagColumn {
    int column;
    const char* word;
};

// The property words of the text flag columns. The kind, stealth, survival and movement columns hold
// the words the unit finder lists, since its filters compare them exactly.
const std::vector<FlagColumn>& flagColumns() {
    static const std::vector<FlagColumn> columns = [] {
        std::vector<FlagColumn> list = {
            {2, "unique"}, {3, "mounted"}, {4, "sacred"}, {5, "female"}, {76, "icearmor"}};
        const char* kinds[] = {"Undead", "Demon", "Magic being", "Animal", "Spy", "Assassin", "Glamour"};
        for (int i = 0; i < 7; ++i)
            list.push_back({45 + i, kinds[i]});
        const char* resist[] = {"reslight", "resfire", "rescold", "respoison"};
        for (int i = 0; i < 4; ++i)
            list.push_back({53 + i, resist[i]});
        const char* abilities[] = {"darkvision", "regeneration", "forge", "heal",
                                   "alchemy",    "luck",         "insane"};
        for (int i = 0; i < 7; ++i)
            list.push_back({57 + i, abilities[i]});
        const char* survival[] = {"Forest", "Mountain", "Waste", "Swamp"};
        for (int i = 0; i < 4; ++i)
            list.push_back({85 + i, survival[i]});
        const char* movement[] = {"Aquatic", "Amphibian",  "Poor Amphi",
                                  "Flying",  "Stormflyer", "Sailing"};
        for (int i = 0; i < 6; ++i)
            list.push_back({89 + i, movement[i]});
        const char* further[] = {"coldblood",    "ethereal",    "trueethereal", "trample",     "blind",
                                 "recuperation", "immortal",    "mindless",     "inanimate",   "noeat",
                                 "noheal",       "poisonarmor", "seduce",       "succubus",    "petrify",
                                 "eyeloss",      "inquisitor",  "winterpower",  "springpower", "summerpower",
                                 "fallpower",    "reanimator"};
        for (int i = 0; i < 22; ++i)
            list.push_back({95 + i, further[i]});
        std::sort(list.begin(), list.end(),
                  [](const FlagColumn& a, const FlagColumn& b) { return a.column < b.column; });
        return list;
    }();
    return columns;
}

struct UnitNames {
    std::vector<QString> troopAdjectives = {
        QStringLiteral("Heavy"),  QStringLiteral("Light"),   QStringLiteral("Royal"),
        QStringLiteral("Sacred"), QStringLiteral("Black"),   QStringLiteral("Iron"),
        QStringLiteral("Bronze"), QStringLiteral("Elite"),   QStringLiteral("Veteran"),
        QStringLiteral("Young"),  QStringLiteral("Ancient"), QStringLiteral("Marsh"),
        QStringLiteral("Hill"),   QStringLiteral("Sea"),     QStringLiteral("Sky"),
        QStringLiteral("Ash"),    QStringLiteral("Frost"),   QStringLiteral("Ember"),
        QStringLiteral("Storm"),  QStringLiteral("Bone"),    QStringLiteral("Blood"),
        QStringLiteral("Golden"), QStringLiteral("Silver"),  QStringLiteral("Jade"),
        QStringLiteral("Amber"),  QStringLiteral("Crimson"), QStringLiteral("Grey"),
        QStringLiteral("Pale"),   QStringLiteral("Wild"),    QStringLiteral("Feral"),
        QStringLiteral("Savage"), QStringLiteral("Noble"),   QStringLiteral("Temple"),
        QStringLiteral("Shadow"), QStringLiteral("Moon"),    QStringLiteral("Sun"),
        QStringLiteral("Star"),   QStringLiteral("Thorn"),   QStringLiteral("Oak"),
        QStringLiteral("Reed"),   QStringLiteral("Salt"),    QStringLiteral("Dune"),
        QStringLiteral("Cave"),   QStringLiteral("Deep"),    QStringLiteral("Tide"),
        QStringLiteral("Coral"),  QStringLiteral("Rune"),    QStringLiteral("Horned"),
        QStringLiteral("Winged"), QStringLiteral("Scaled"),  QStringLiteral("Hollow"),
        QStringLiteral("Gilded"), QStringLiteral("Ælven"),   QStringLiteral("Þursar"),
        QStringLiteral("Nórdic"), QStringLiteral("Sæbor"),   QStringLiteral("Ærn"),
        QStringLiteral("Vanir"),  QStringLiteral("Jötun"),   QStringLiteral("Élan")};
    std::vector<QString> troopNouns = {
        QStringLiteral("Spearman"),   QStringLiteral("Archer"),      QStringLiteral("Swordsman"),
        QStringLiteral("Knight"),     QStringLiteral("Warrior"),     QStringLiteral("Hunter"),
        QStringLiteral("Slinger"),    QStringLiteral("Crossbowman"), QStringLiteral("Pikeneer"),
        QStringLiteral("Guard"),      QStringLiteral("Rider"),       QStringLiteral("Lancer"),
        QStringLiteral("Axeman"),     QStringLiteral("Hoplite"),     QStringLiteral("Legionnaire"),
        QStringLiteral("Javelineer"), QStringLiteral("Skirmisher"),  QStringLiteral("Raider"),
        QStringLiteral("Berserker"),  QStringLiteral("Templar"),     QStringLiteral("Monk"),
        QStringLiteral("Wolf"),       QStringLiteral("Bear"),        QStringLiteral("Serpent"),
        QStringLiteral("Drake"),      QStringLiteral("Hound"),       QStringLiteral("Boar"),
        QStringLiteral("Eagle"),      QStringLiteral("Giant"),       QStringLiteral("Troll"),
        QStringLiteral("Golem"),      QStringLiteral("Wraith"),      QStringLiteral("Spirit"),
        QStringLiteral("Ghoul"),      QStringLiteral("Shade"),       QStringLiteral("Elemental"),
        QStringLiteral("Behemoth"),   QStringLiteral("Mauler"),      QStringLiteral("Sentinel"),
        QStringLiteral("Warden"),     QStringLiteral("Stalker"),     QStringLiteral("Reaver"),
        QStringLiteral("Zealot"),     QStringLiteral("Chariot"),     QStringLiteral("Militiaman"),
        QStringLiteral("Bowman"),     QStringLiteral("Harpy"),       QStringLiteral("Lizard")};
    std::vector<QString> commanderTitles = {
        QStringLiteral("Captain"),     QStringLiteral("Commander"),   QStringLiteral("Priest"),
        QStringLiteral("High Priest"), QStringLiteral("Mage"),        QStringLiteral("Archmage"),
        QStringLiteral("Sage"),        QStringLiteral("Witch"),       QStringLiteral("Shaman"),
        QStringLiteral("Druid"),       QStringLiteral("Warlord"),     QStringLiteral("Prince"),
        QStringLiteral("Lord"),        QStringLiteral("Thane"),       QStringLiteral("Jarl"),
        QStringLiteral("Seer"),        QStringLiteral("Necromancer"), QStringLiteral("Enchanter"),
        QStringLiteral("Alchemist"),   QStringLiteral("Scout"),       QStringLiteral("Spy"),
        QStringLiteral("Assassin"),    QStringLiteral("Seductress"),  QStringLiteral("Hierophant"),
        QStringLiteral("Runesmith"),   QStringLiteral("Oracle"),      QStringLiteral("Inquisitor"),
        QStringLiteral("Skald"),       QStringLiteral("General"),     QStringLiteral("Chieftain")};
    std::vector<QString> heroTitles = {
        QStringLiteral("Hero of"),   QStringLiteral("Champion of"), QStringLiteral("Exile of"),
        QStringLiteral("Saint of"),  QStringLiteral("Avenger of"),  QStringLiteral("Warden of"),
        QStringLiteral("Herald of"), QStringLiteral("Sorcerer of"), QStringLiteral("Bane of")};
    std::vector<QString> heroHomes = {
        QStringLiteral("the North"),    QStringLiteral("the Ashlands"),    QStringLiteral("Ælfheim"),
        QStringLiteral("Þrúðvangr"),    QStringLiteral("the Coast"),       QStringLiteral("the Marches"),
        QStringLiteral("the Deep"),     QStringLiteral("the Vale"),        QStringLiteral("the Isles"),
        QStringLiteral("the Peaks"),    QStringLiteral("the Fens"),        QStringLiteral("the Dunes"),
        QStringLiteral("Émeraude"),     QStringLiteral("the Sunken City"), QStringLiteral("the Wastes"),
        QStringLiteral("the Thornwood")};
    std::vector<QString> godForms = {
        QStringLiteral("Titan"),        QStringLiteral("Oracle"),  QStringLiteral("Dragon"),
        QStringLiteral("Great Mother"), QStringLiteral("Lord"),    QStringLiteral("Colossus"),
        QStringLiteral("Sphinx"),       QStringLiteral("Phoenix"), QStringLiteral("Wyrm"),
        QStringLiteral("Prophet"),      QStringLiteral("Queen"),   QStringLiteral("Monolith")};
    std::vector<QString> godDomains = {
        QStringLiteral("of Flames"),    QStringLiteral("of the Deep"),  QStringLiteral("of Storms"),
        QStringLiteral("of the Earth"), QStringLiteral("of Stars"),     QStringLiteral("of Graves"),
        QStringLiteral("of the Wild"),  QStringLiteral("of Blood"),     QStringLiteral("of Light"),
        QStringLiteral("of Frost"),     QStringLiteral("of Þrúðvangr"), QStringLiteral("of Ælfheim")};
};

struct UnitStats {
    std::array<QString, kUnitColumns> col;
};

std::vector<UnitRow> makeUnits(Rng& rng, QByteArray& file) {
    UnitNames words;
    std::vector<int> numbers = numbersWithGaps(rng, 1, 2999, 2500);
    std::set<QString> taken;
    std::vector<UnitRow> units;

    // A handful of troop names are shared on purpose: the game has them, and lookups by name
    // must then take the last row.
    const std::vector<QString> sharedNames = {QStringLiteral("Militia"), QStringLiteral("Light Infantry"),
                                              QStringLiteral("Heavy Cavalry"),
                                              QStringLiteral("Ælven Archer")};
    for (const QString& shared : sharedNames)
        taken.insert(shared);

    const auto& flags = flagColumns();
    int godsMade = 0;
    int uniquesMade = 0;
    for (std::size_t index = 0; index < numbers.size(); ++index) {
        const int number = numbers[index];
        UnitRow unit;
        unit.number = number;
        // Gods cluster at the start of the table, commanders every third row after them.
        const int roll = rng.range(0, 99);
        if (godsMade < 64 && (index % 37 == 5)) {
            unit.kind = UnitKind::God;
            ++godsMade;
        } else if (roll < 30) {
            unit.kind = UnitKind::Commander;
        }
        UnitStats s;
        for (auto& c : s.col)
            c.clear();
        const bool god = unit.kind == UnitKind::God;
        const bool commander = unit.kind == UnitKind::Commander;
        bool uniqueUnit = false;
        if (god) {
            unit.name = uniqueName(rng, taken, words.godForms, words.godDomains);
        } else if (commander) {
            uniqueUnit = rng.chance(0.12);
            if (uniqueUnit) {
                unit.name = uniqueName(rng, taken, words.heroTitles, words.heroHomes);
            } else {
                unit.name = uniqueName(rng, taken, words.troopAdjectives, words.commanderTitles);
            }
        } else if (index % 211 == 17) {
            unit.name = sharedNames[static_cast<std::size_t>((index / 211) % sharedNames.size())];
            unit.nameIsUnique = false;
        } else {
            unit.name = uniqueName(rng, taken, words.troopAdjectives, words.troopNouns);
        }

        s.col[0] = num(number);
        s.col[1] = unit.name;
        // Flags first: mostly absent; a single blank also means absent.
        for (const FlagColumn& flag : flags) {
            double p = 0.03;
            if (flag.column == 3) p = 0.15;
            if (flag.column == 4) p = god ? 0.8 : 0.1;
            if (flag.column == 5) p = 0.12;
            if (flag.column == 2) p = uniqueUnit || god ? 1.0 : 0.0;
            if (rng.chance(p))
                s.col[static_cast<std::size_t>(flag.column)] = QString::fromLatin1(flag.word);
            else if (rng.chance(0.02))
                s.col[static_cast<std::size_t>(flag.column)] = QStringLiteral(" ");
        }
        // Every flag occurs at least a few times, whatever the dice said.
        const FlagColumn& forced = flags[index % flags.size()];
        if (forced.column != 2 && index % 5 == 0)
            s.col[static_cast<std::size_t>(forced.column)] = QString::fromLatin1(forced.word);
        if (uniqueUnit) ++uniquesMade;

        s.col[6] = god ? num(rng.range(1, 3)) : QString();
        s.col[7] = rng.chance(0.04) ? QStringLiteral("*") : num(rng.range(0, 40));
        const int size = god ? rng.range(3, 6) : rng.range(1, 5);
        s.col[8] = num(size);
        s.col[9] = num(god ? rng.range(40, 160) : commander ? rng.range(8, 40) : rng.range(4, 60));
        s.col[10] = num(s.col[102].isEmpty() ? rng.range(6, 18) : 50);
        s.col[11] = num(god ? rng.range(15, 20) : rng.range(4, 16));
        s.col[12] = num(commander || god ? 10 * rng.range(0, 15) : 0);
        s.col[13] = num(commander && rng.chance(0.15) ? 10 * rng.range(1, 10) : 0);
        s.col[14] = num(commander && rng.chance(0.15) ? 10 * rng.range(1, 10) : 0);
        const bool beast = !s.col[48].isEmpty() && s.col[48] != QStringLiteral(" ");
        s.col[15] = num(beast ? 0 : rng.range(1, 4));
        s.col[16] = num(beast ? 0 : rng.range(0, 2));
        s.col[17] = num(beast ? 0 : 1);
        s.col[18] = num(beast || s.col[3] == QStringLiteral("mounted") ? 0 : 1);
        s.col[19] = num(rng.range(0, 4));
        // Paths F A W E S D N B H.
        for (int p = 0; p < 9; ++p) {
            int level = 0;
            if (god && rng.chance(0.45))
                level = rng.range(1, 5);
            else if (commander && rng.chance(p == 8 ? 0.25 : 0.12))
                level = rng.range(1, 4);
            s.col[static_cast<std::size_t>(20 + p)] = num(level);
        }
        // Random magic slots: a marker, two kept numbers and the possible path letters.
        static const std::vector<QString> randomPaths = {QStringLiteral("FAWE"), QStringLiteral("SD"),
                                                         QStringLiteral("NB"),   QStringLiteral("FAWESDN"),
                                                         QStringLiteral("H"),    QStringLiteral("WN")};
        const int randomSlots = commander && rng.chance(0.3) ? rng.range(1, 4) : 0;
        for (int slot = 0; slot < 4; ++slot) {
            const auto base = static_cast<std::size_t>(29 + 4 * slot);
            if (slot < randomSlots) {
                s.col[base] = QStringLiteral("rand");
                s.col[base + 1] = num(slot == 0 ? 100 : 10 * rng.range(1, 9));
                s.col[base + 2] = rng.chance(0.05) ? QStringLiteral("*") : num(1);
                s.col[base + 3] = rng.pick(randomPaths);
            }
        }
        const bool stealthy = !s.col[49].isEmpty() || !s.col[50].isEmpty() || rng.chance(0.05);
        s.col[52] = stealthy ? num(rng.range(5, 40)) : QString();
        s.col[64] = rng.chance(0.04)   ? num(rng.range(1, 10))
                    : rng.chance(0.01) ? QStringLiteral("*")
                                       : QStringLiteral("0");
        s.col[65] = rng.chance(0.05) ? QStringLiteral("note") : QString();
        for (int c = 66; c <= 75; ++c)
            s.col[static_cast<std::size_t>(c)] = num(rng.chance(0.03) ? rng.range(1, 15) : 0);
        for (int c = 77; c <= 84; ++c)
            s.col[static_cast<std::size_t>(c)] = num(rng.chance(0.04) ? rng.range(1, 50) : 0);
        for (int c = 117; c <= 124; c += 2) {
            const bool has = rng.chance(commander || god ? 0.06 : 0.015);
            s.col[static_cast<std::size_t>(c)] = num(has ? rng.range(1, 2999) : 0);
            s.col[static_cast<std::size_t>(c + 1)] =
                has ? (rng.chance(0.2) ? QStringLiteral("*") : num(rng.range(1, 5))) : num(0);
        }
        for (int c = 125; c <= 130; ++c)
            s.col[static_cast<std::size_t>(c)] = num(rng.chance(0.02) ? rng.range(1, 2999) : 0);
        if (uniqueUnit)
            s.col[131] = personalName(rng) + QStringLiteral(" the ") + rng.pick(words.troopAdjectives);
        static const std::vector<QString> specials = {
            QStringLiteral("Fire breath"),      QStringLiteral("Can cast rituals alone"),
            QStringLiteral("Spreads dominion"), QStringLiteral("Shapeshifter"),
            QStringLiteral("Needs no food"),    QStringLiteral("Gifted in Ælven lore")};
        if (rng.chance(0.08))
            s.col[132] = rng.pick(specials);
        else if (rng.chance(0.03))
            s.col[132] = QStringLiteral("*");

        QStringList columns;
        for (const QString& c : s.col)
            columns << c;
        appendRow(file, columns);
        units.push_back(unit);
    }
    Q_UNUSED(uniquesMade);
    return units;
}

// ---- population types, forts, items, sites --------------------------------------------------

std::vector<PopRow> makePops(Rng& rng, QByteArray& file, const std::vector<UnitRow>& units) {
    std::vector<int> troops, commanders;
    for (const UnitRow& u : units) {
        if (u.kind == UnitKind::Troop) troops.push_back(u.number);
        if (u.kind == UnitKind::Commander) commanders.push_back(u.number);
    }
    static const std::vector<QString> peoples = {
        QStringLiteral("Barbarians"), QStringLiteral("Horse Tribe"), QStringLiteral("Militia"),
        QStringLiteral("Archers"),    QStringLiteral("Hoplites"),    QStringLiteral("Tritons"),
        QStringLiteral("Lizards"),    QStringLiteral("Amazons"),     QStringLiteral("Troglodytes"),
        QStringLiteral("Nomads"),     QStringLiteral("Highlanders"), QStringLiteral("Fishers"),
        QStringLiteral("Mystics"),    QStringLiteral("Knights"),     QStringLiteral("Woodsmen"),
        QStringLiteral("Beastmen")};
    static const std::vector<QString> kinds = {
        QStringLiteral("Ælven"),    QStringLiteral("Þursar"),  QStringLiteral("Northern"),
        QStringLiteral("Southern"), QStringLiteral("Deep"),    QStringLiteral("Mountain"),
        QStringLiteral("Marsh"),    QStringLiteral("Coastal"), QStringLiteral("Forest"),
        QStringLiteral("Desert"),   QStringLiteral("Island"),  QStringLiteral("Old")};
    std::set<QString> taken;
    std::vector<PopRow> pops;
    for (int number : numbersWithGaps(rng, 1, 95, 90)) {
        PopRow pop;
        pop.number = number;
        pop.name = uniqueName(rng, taken, kinds, peoples);
        const bool recruitable = number % 29 != 7; // a few types with nothing to recruit
        for (int i = 0; i < 4; ++i) {
            pop.units[i] = recruitable ? rng.pick(troops) : 0;
            pop.commanders[i] = recruitable && i < 3 ? rng.pick(commanders) : 0;
        }
        QStringList columns = {num(pop.number), pop.name};
        for (int u : pop.units)
            columns << num(u);
        for (int c : pop.commanders)
            columns << num(c);
        appendRow(file, columns);
        pops.push_back(pop);
    }
    return pops;
}

std::vector<FortRow> makeForts(QByteArray& file) {
    const std::vector<std::pair<int, QString>> list = {{1, QStringLiteral("Palisade")},
                                                       {2, QStringLiteral("Fortress")},
                                                       {3, QStringLiteral("Castle")},
                                                       {4, QStringLiteral("Citadel")},
                                                       {5, QStringLiteral("Wizard's Tower")},
                                                       {6, QStringLiteral("Ice Fortress")},
                                                       {7, QStringLiteral("Fortified City")},
                                                       {9, QStringLiteral("Kelp Fortress")},
                                                       {11, QStringLiteral("Bramble Fort")},
                                                       {12, QStringLiteral("Mountain Citadel")},
                                                       {17, QStringLiteral("Ælven Hall")},
                                                       {23, QStringLiteral("Bone Keep")},
                                                       {30, QStringLiteral("Coral Castle")},
                                                       {38, QStringLiteral("Hill Fort")},
                                                       {43, QStringLiteral("Þursar Stronghold")}};
    std::vector<FortRow> forts;
    for (const auto& [number, name] : list) {
        // The admin and defence columns after the name are the game's; the editor ignores them.
        appendRow(file, {num(number), name, num(10 * (number % 5 + 1)), num(5 + number)});
        forts.push_back({number, name});
    }
    return forts;
}

std::vector<ItemRow> makeItems(Rng& rng, QByteArray& file) {
    struct Base {
        const char* category;
        std::vector<QString> names;
    };
    const std::vector<Base> bases = {
        {"1-h wpn",
         {QStringLiteral("Sword"), QStringLiteral("Axe"), QStringLiteral("Mace"), QStringLiteral("Dagger"),
          QStringLiteral("Whip"), QStringLiteral("Scimitar")}},
        {"2-h wpn",
         {QStringLiteral("Greatsword"), QStringLiteral("Halberd"), QStringLiteral("Staff"),
          QStringLiteral("Maul"), QStringLiteral("Bow"), QStringLiteral("Scythe")}},
        {"shield",
         {QStringLiteral("Shield"), QStringLiteral("Buckler"), QStringLiteral("Tower Shield"),
          QStringLiteral("Aegis")}},
        {"helm",
         {QStringLiteral("Helm"), QStringLiteral("Crown"), QStringLiteral("Circlet"), QStringLiteral("Hood"),
          QStringLiteral("Mask")}},
        {"armor",
         {QStringLiteral("Mail"), QStringLiteral("Robe"), QStringLiteral("Plate"), QStringLiteral("Cuirass"),
          QStringLiteral("Hauberk")}},
        {"boots",
         {QStringLiteral("Boots"), QStringLiteral("Sandals"), QStringLiteral("Greaves"),
          QStringLiteral("Slippers")}},
        {"misc",
         {QStringLiteral("Ring"), QStringLiteral("Amulet"), QStringLiteral("Pendant"), QStringLiteral("Orb"),
          QStringLiteral("Stone"), QStringLiteral("Cloak"), QStringLiteral("Horn"), QStringLiteral("Rod"),
          QStringLiteral("Chalice")}},
    };
    const std::vector<QString> materials = {
        QStringLiteral("Fire"),   QStringLiteral("Frost"),    QStringLiteral("Thunder"),
        QStringLiteral("Star"),   QStringLiteral("Shadow"),   QStringLiteral("Blood"),
        QStringLiteral("Thorn"),  QStringLiteral("Golden"),   QStringLiteral("Ancient"),
        QStringLiteral("Runed"),  QStringLiteral("Ælven"),    QStringLiteral("Dwarven"),
        QStringLiteral("Silver"), QStringLiteral("Obsidian"), QStringLiteral("Jade"),
        QStringLiteral("Bone"),   QStringLiteral("Moon"),     QStringLiteral("Sun"),
        QStringLiteral("Storm"),  QStringLiteral("Þursar")};
    std::set<QString> taken;
    std::vector<ItemRow> items;
    const std::vector<int> numbers = numbersWithGaps(rng, 1, 349, 300);
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const Base& base = bases[i % bases.size()];
        ItemRow item;
        item.number = numbers[i];
        item.category = QString::fromLatin1(base.category);
        item.name = uniqueName(rng, taken, materials, base.names);
        // Every eleventh item is an artifact, every twenty-fifth a special item.
        item.level = i % 11 == 3 ? 8 : i % 25 == 9 ? 12 : rng.range(0, 6);
        const QString path1 = kPathLetters[i % kPathLetters.size()];
        const int level1 = rng.range(1, item.level == 8 ? 6 : 4);
        const bool second = rng.chance(0.3);
        QString path2 = second ? rng.pick(kPathLetters) : QString();
        if (path2 == path1) path2 = kPathLetters[(i + 1) % kPathLetters.size()];
        appendRow(file, {num(item.number), item.name, item.category, num(item.level), path1, num(level1),
                         path2, second ? num(rng.range(1, 3)) : QString()});
        items.push_back(item);
    }
    return items;
}

std::vector<SiteRow> makeSites(Rng& rng, QByteArray& file, const std::vector<UnitRow>& units,
                               const std::vector<FortRow>& forts) {
    const std::vector<QString>& types = siteTypeWords();
    const std::vector<std::vector<QString>> adjectives = {
        {QStringLiteral("Burning"), QStringLiteral("Ember"), QStringLiteral("Smoking"),
         QStringLiteral("Molten"), QStringLiteral("Scorched"), QStringLiteral("Ashen"),
         QStringLiteral("Glowing"), QStringLiteral("Cinder")},
        {QStringLiteral("Windy"), QStringLiteral("Whispering"), QStringLiteral("Howling"),
         QStringLiteral("Cloudy"), QStringLiteral("Thundering"), QStringLiteral("Airy"),
         QStringLiteral("Gale"), QStringLiteral("Singing Wind")},
        {QStringLiteral("Crystal"), QStringLiteral("Misty"), QStringLiteral("Sunken"),
         QStringLiteral("Bubbling"), QStringLiteral("Frozen"), QStringLiteral("Silent"),
         QStringLiteral("Tidal"), QStringLiteral("Weeping")},
        {QStringLiteral("Iron"), QStringLiteral("Deep"), QStringLiteral("Stone"), QStringLiteral("Granite"),
         QStringLiteral("Rumbling"), QStringLiteral("Copper"), QStringLiteral("Clay"), QStringLiteral("Gem")},
        {QStringLiteral("Starlit"), QStringLiteral("Moonlit"), QStringLiteral("Shimmering"),
         QStringLiteral("Astral"), QStringLiteral("Pearl"), QStringLiteral("Dreaming"),
         QStringLiteral("Silver"), QStringLiteral("Twilight")},
        {QStringLiteral("Cursed"), QStringLiteral("Haunted"), QStringLiteral("Bone"), QStringLiteral("Grave"),
         QStringLiteral("Withered"), QStringLiteral("Black"), QStringLiteral("Dread"),
         QStringLiteral("Forsaken")},
        {QStringLiteral("Green"), QStringLiteral("Singing"), QStringLiteral("Thorny"),
         QStringLiteral("Blooming"), QStringLiteral("Mossy"), QStringLiteral("Wild"), QStringLiteral("Ælven"),
         QStringLiteral("Verdant")},
        {QStringLiteral("Red"), QStringLiteral("Sanguine"), QStringLiteral("Dark"), QStringLiteral("Crimson"),
         QStringLiteral("Bleeding"), QStringLiteral("Hungry"), QStringLiteral("Screaming"),
         QStringLiteral("Scarlet")},
        {QStringLiteral("Sacred"), QStringLiteral("Blessed"), QStringLiteral("Holy"),
         QStringLiteral("Hallowed"), QStringLiteral("Radiant"), QStringLiteral("Pilgrim's"),
         QStringLiteral("Saintly"), QStringLiteral("Shining")}};
    const std::vector<QString> places = {
        QStringLiteral("Spring"),   QStringLiteral("Grove"),   QStringLiteral("Cave"),
        QStringLiteral("Peak"),     QStringLiteral("Lake"),    QStringLiteral("Pool"),
        QStringLiteral("Ruins"),    QStringLiteral("Tower"),   QStringLiteral("Field"),
        QStringLiteral("Vale"),     QStringLiteral("Mound"),   QStringLiteral("Well"),
        QStringLiteral("Altar"),    QStringLiteral("Shrine"),  QStringLiteral("Stone Circle"),
        QStringLiteral("Barrow"),   QStringLiteral("Glade"),   QStringLiteral("Fen"),
        QStringLiteral("Mire"),     QStringLiteral("Cliff"),   QStringLiteral("Gorge"),
        QStringLiteral("Hollow"),   QStringLiteral("Tree"),    QStringLiteral("Crater"),
        QStringLiteral("Monolith"), QStringLiteral("Library"), QStringLiteral("Temple"),
        QStringLiteral("Mine"),     QStringLiteral("Reef"),    QStringLiteral("Hall")};
    // Bits the decoding consumes; any mix of them is a valid mask.
    const std::vector<int> maskBits = {16384, 1024, 512, 256, 128, 64, 32, 16, 8, 4, 2, 1};
    const std::vector<QString> scales = {
        QStringLiteral("Order +1"), QStringLiteral("Turmoil +1"), QStringLiteral("Heat +1"),
        QStringLiteral("Cold +1"),  QStringLiteral("Growth +1"),  QStringLiteral("Death +1"),
        QStringLiteral("Luck +1"),  QStringLiteral("Magic +1"),   QStringLiteral("Sloth +1")};
    std::vector<const UnitRow*> recruitable, summonable;
    for (const UnitRow& u : units) {
        if (u.kind != UnitKind::God) recruitable.push_back(&u);
        if (u.kind == UnitKind::Troop) summonable.push_back(&u);
    }
    std::set<QString> taken;
    std::vector<SiteRow> sites;
    const std::vector<int> numbers = numbersWithGaps(rng, 1, 749, 600);
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const std::size_t typeIndex = i % types.size();
        SiteRow site;
        site.number = numbers[i];
        site.type = types[typeIndex];
        site.name = uniqueName(rng, taken, adjectives[typeIndex], places);
        QStringList c;
        for (int k = 0; k < kSiteColumns; ++k)
            c << QString();
        c[0] = num(site.number);
        c[1] = site.name;
        c[2] = num(rng.range(0, 4));
        c[3] = num(rng.range(0, 5));
        int mask = 0;
        if (i % 40 != 11) // some sites carry no terrain at all
            for (int bit : maskBits)
                if (rng.chance(0.25)) mask += bit;
        c[4] = num(mask);
        c[5] = num(rng.range(0, 3));
        c[6] = site.type;
        for (int g = 0; g < 8; ++g) {
            int gems = 0;
            if (static_cast<std::size_t>(g) == typeIndex && rng.chance(0.7))
                gems = rng.range(1, 5);
            else if (rng.chance(0.04))
                gems = 1;
            c[7 + g] = num(gems);
        }
        // Site tables write every number; "-666" stands where the game has no value.
        auto value = [&](double p, int low, int high) {
            return rng.chance(p) ? num(rng.range(low, high)) : QStringLiteral("0");
        };
        c[15] = i % 17 == 4 ? QStringLiteral("-666") : value(0.2, 10, 200);
        c[16] = value(0.15, 5, 50);
        c[17] = value(0.12, 10, 150);
        c[18] = rng.chance(0.1) ? num(rng.range(-20, 30)) : QStringLiteral("0");
        c[19] = value(0.05, 1, 10);
        c[20] = rng.chance(0.08) ? QStringLiteral("TRUE") : QString();
        c[21] = rng.chance(0.06)
                    ? num(forts[static_cast<std::size_t>(rng.range(0, static_cast<int>(forts.size()) - 1))]
                              .number)
                    : QStringLiteral("-666");
        const int recruits = rng.chance(0.25) ? rng.range(1, 5) : 0;
        for (int r = 0; r < 5; ++r) {
            if (r < recruits) {
                const UnitRow* u = rng.pick(recruitable);
                c[22 + 2 * r] = num(u->number);
                c[23 + 2 * r] = u->name;
            } else {
                c[22 + 2 * r] = QStringLiteral("-666");
            }
        }
        c[32] = rng.chance(0.05) ? QStringLiteral("rare") : QString();
        const int summons = rng.chance(0.15) ? rng.range(1, 3) : 0;
        for (int m = 0; m < 3; ++m) {
            if (m < summons) {
                const UnitRow* u = rng.pick(summonable);
                c[33 + 3 * m] = num(u->number);
                c[34 + 3 * m] = u->name;
                c[35 + 3 * m] = num(rng.range(1, 5));
            } else {
                c[33 + 3 * m] = QStringLiteral("-666");
                c[35 + 3 * m] = QStringLiteral("0");
            }
        }
        if (rng.chance(0.1)) c[42] = rng.pick(scales);
        if (rng.chance(0.04)) c[43] = rng.pick(scales);
        for (int k = 44; k <= 50; ++k)
            if (rng.chance(0.05)) c[k] = QStringLiteral("+") + num(rng.range(1, 3));
        const std::vector<QString> effects = {
            QStringLiteral("50"), QStringLiteral("10"), QStringLiteral("5"),   QStringLiteral("2"),
            QStringLiteral("20"), QStringLiteral("1"),  QStringLiteral("yes"), QStringLiteral("40")};
        for (int k = 51; k <= 58; ++k)
            if (rng.chance(0.04)) c[k] = effects[static_cast<std::size_t>(k - 51)];
        appendRow(file, c);
        sites.push_back(site);
    }
    return sites;
}

} // namespace

const std::vector<QString>& siteTypeWords() {
    static const std::vector<QString> words = {
        QStringLiteral("Fire"),   QStringLiteral("Air"),    QStringLiteral("Water"),
        QStringLiteral("Earth"),  QStringLiteral("Astral"), QStringLiteral("Death"),
        QStringLiteral("Nature"), QStringLiteral("Blood"),  QStringLiteral("Holy")};
    return words;
}

const std::vector<QString>& itemCategories() {
    static const std::vector<QString> words = {QStringLiteral("1-h wpn"), QStringLiteral("2-h wpn"),
                                               QStringLiteral("shield"),  QStringLiteral("helm"),
                                               QStringLiteral("armor"),   QStringLiteral("boots"),
                                               QStringLiteral("misc")};
    return words;
}

const std::vector<QString>& itemPathLetters() {
    return kPathLetters;
}

const std::vector<int>& unitFlagColumns() {
    static const std::vector<int> columns = [] {
        std::vector<int> list;
        for (const FlagColumn& flag : flagColumns())
            list.push_back(flag.column);
        return list;
    }();
    return columns;
}

const UnitRow* ReferenceTables::unit(int number) const {
    for (const UnitRow& u : units)
        if (u.number == number) return &u;
    return nullptr;
}

std::vector<const UnitRow*> ReferenceTables::unitsOfKind(UnitKind kind) const {
    std::vector<const UnitRow*> list;
    for (const UnitRow& u : units)
        if (u.kind == kind) list.push_back(&u);
    return list;
}

ReferenceTables makeReferenceTables(std::uint64_t seed) {
    Rng root(seed);
    Rng nationRng = root.fork(1), unitRng = root.fork(2), popRng = root.fork(3), itemRng = root.fork(4),
        siteRng = root.fork(5);
    ReferenceTables tables;
    QByteArray nationFile, popFile, siteFile, fortFile, itemFile, unitFile;
    tables.nations = makeNations(nationRng);
    for (const NationRow& n : tables.nations)
        appendRow(nationFile, {n.era, num(n.number), n.text2, n.name});
    tables.units = makeUnits(unitRng, unitFile);
    tables.pops = makePops(popRng, popFile, tables.units);
    tables.forts = makeForts(fortFile);
    tables.items = makeItems(itemRng, itemFile);
    tables.sites = makeSites(siteRng, siteFile, tables.units, tables.forts);
    tables.files[QStringLiteral("TSdata/NationData.txt")] = nationFile;
    tables.files[QStringLiteral("TSdata/PopData.txt")] = popFile;
    tables.files[QStringLiteral("TSdata/SiteData.txt")] = siteFile;
    tables.files[QStringLiteral("TSdata/FortData.txt")] = fortFile;
    tables.files[QStringLiteral("TSdata/ItemData.txt")] = itemFile;
    tables.files[QStringLiteral("TSdata/UnitData.txt")] = unitFile;
    return tables;
}

} // namespace ts::datagen
