#include "datagen.h"
#include "rng.h"

#include "cp1252.h"

#include <QStringList>

#include <algorithm>
#include <set>

namespace ts::datagen {

namespace {

QString q(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}
QString n(int value) {
    return QString::number(value);
}

const char* const kMagicCommands[] = {"#mag_fire",  "#mag_air",    "#mag_water", "#mag_earth", "#mag_astral",
                                      "#mag_death", "#mag_nature", "#mag_blood", "#mag_priest"};

class MapText {
  public:
    MapText(Rng& rng, const ReferenceTables& tables, const MapLayout& layout, bool stress)
        : mRng(rng), mTables(tables), mLayout(layout), mStress(stress) {
        mCommanders = tables.unitsOfKind(UnitKind::Commander);
        mTroops = tables.unitsOfKind(UnitKind::Troop);
        mGods = tables.unitsOfKind(UnitKind::God);
    }

    void line(const QString& text) { mLines << text; }
    QStringList& lines() { return mLines; }

    // A unit reference: mostly by number with the name as a comment, sometimes by quoted name.
    QString unitRef(const UnitRow* unit) {
        if (unit->nameIsUnique && mRng.chance(0.25)) return q(unit->name);
        return n(unit->number) + QStringLiteral(" -- ") + unit->name;
    }
    QString siteRef(const SiteRow& site) {
        if (mRng.chance(0.3)) return q(site.name);
        return n(site.number) + QStringLiteral(" -- ") + site.name;
    }
    const UnitRow* troop() { return mRng.pick(mTroops); }
    const UnitRow* commander() { return mRng.pick(mCommanders); }
    const SiteRow& site() { return mRng.pick(mTables.sites); }
    const ItemRow& item() { return mRng.pick(mTables.items); }

    // Sub-commands shared by commanders and gods.
    void commanderBody(double richness) {
        if (mRng.chance(0.5 * richness)) line(QStringLiteral("#comname ") + q(makeCommanderName(mRng)));
        const int guards = mRng.chance(0.35 * richness) ? mRng.range(1, 2) : 0;
        for (int i = 0; i < guards; ++i)
            line(QStringLiteral("#bodyguards ") + n(mRng.range(1, 6)) + QLatin1Char(' ') + unitRef(troop()));
        const int stacks = mRng.chance(0.8) ? mRng.range(1, mStress ? 4 : 3) : 0;
        for (int i = 0; i < stacks; ++i)
            line(QStringLiteral("#units ") + n(5 * mRng.range(1, 8)) + QLatin1Char(' ') + unitRef(troop()));
        if (mRng.chance(0.1 * richness)) line(QStringLiteral("#clearmagic"));
        if (mRng.chance(0.3 * richness)) {
            const int paths = mRng.range(1, 3);
            for (int i = 0; i < paths; ++i)
                line(QString::fromLatin1(kMagicCommands[mRng.range(0, 8)]) + QLatin1Char(' ') +
                     n(mRng.range(1, 4)));
        }
        if (mRng.chance(0.25 * richness)) line(QStringLiteral("#xp ") + n(10 * mRng.range(1, 30)));
        if (mRng.chance(0.2 * richness)) line(QStringLiteral("#randomequip ") + n(mRng.range(0, 4)));
        const int items = mRng.chance(0.25 * richness) ? mRng.range(1, 3) : 0;
        for (int i = 0; i < items; ++i)
            line(QStringLiteral("#additem ") + q(item().name));
    }

    void commanderBlock(double richness) {
        line(QString());
        line(QStringLiteral("#commander ") + unitRef(commander()));
        commanderBody(richness);
    }

    void provinceBody(int p, std::set<int>& used) {
        const std::size_t i = static_cast<std::size_t>(p - 1);
        const bool sea = mLayout.sea[i];
        const double richness = mStress ? 3.0 : 1.0;
        line(QStringLiteral("#landname ") + n(p) + QLatin1Char(' ') +
             q(makeProvinceName(mRng, mLayout.terrain[i])));
        if (mRng.chance(0.06 * richness))
            line(QStringLiteral("#skybox ") + q(QStringLiteral("sky_%1.tga").arg(mRng.range(1, 4))));
        if (mRng.chance(0.06 * richness))
            line(QStringLiteral("#batmap ") + q(mRng.chance(0.5)
                                                    ? QStringLiteral("empty")
                                                    : QStringLiteral("battle_%1.tga").arg(mRng.range(1, 6))));
        if (mRng.chance(0.05 * richness)) {
            line(QStringLiteral("#groundcol %1 %2 %3")
                     .arg(mRng.range(0, 255))
                     .arg(mRng.range(0, 255))
                     .arg(mRng.range(0, 255)));
            line(QStringLiteral("#rockcol %1 %2 %3")
                     .arg(mRng.range(0, 255))
                     .arg(mRng.range(0, 255))
                     .arg(mRng.range(0, 255)));
            line(QStringLiteral("#fogcol %1 %2 %3")
                     .arg(mRng.range(0, 255))
                     .arg(mRng.range(0, 255))
                     .arg(mRng.range(0, 255)));
        }
        if (!mOwners.empty() && mRng.chance(mStress ? 1.0 : 0.2))
            line(QStringLiteral("#owner ") + n(mRng.pick(mOwners)));
        if (!sea && mRng.chance(0.4 * richness)) {
            const PopRow& pop = mRng.pick(mTables.pops);
            line(QStringLiteral("#poptype ") + n(pop.number) + QStringLiteral(" -- ") + pop.name);
        }
        if (mRng.chance(0.4 * richness)) line(QStringLiteral("#population ") + n(500 * mRng.range(1, 60)));
        if (mRng.chance(0.2 * richness)) line(QStringLiteral("#unrest ") + n(mRng.range(0, 100)));
        if (mRng.chance(0.15 * richness)) line(QStringLiteral("#defence ") + n(mRng.range(0, 60)));
        if (mRng.chance(0.04 * richness))
            line(QStringLiteral("#victorypoints ") + n(p) + QLatin1Char(' ') + n(mRng.range(1, 7)));
        const bool fort = !sea && mRng.chance(0.18 * richness);
        if (fort) {
            const FortRow& f = mRng.pick(mTables.forts);
            line(QStringLiteral("#fort ") + n(f.number) + QStringLiteral(" -- ") + f.name);
        }
        if (mRng.chance(0.1 * richness)) line(QStringLiteral("#lab"));
        if (mRng.chance(0.1 * richness)) line(QStringLiteral("#temple"));
        if (mRng.chance(0.08 * richness)) line(QStringLiteral("#killfeatures"));
        const int features = mRng.chance(0.3 * richness) ? mRng.range(1, mStress ? 4 : 2) : 0;
        for (int k = 0; k < features; ++k)
            line(QStringLiteral("#feature ") + siteRef(site()));
        if (mRng.chance(0.1 * richness)) line(QStringLiteral("#knownfeature ") + siteRef(site()));
        const int outside = mStress ? mRng.range(3, 6) : (mRng.chance(0.4) ? mRng.range(1, 3) : 0);
        for (int k = 0; k < outside; ++k)
            commanderBlock(richness);
        // Monsters inside the castle belong to the special-monster owner.
        if (fort && mRng.chance(mStress ? 0.5 : 0.45)) {
            line(QString());
            line(QStringLiteral("--|  OUTSIDE THE CASTLE  |"));
            line(QStringLiteral("----------------------------------"));
            line(QStringLiteral("#owner 23  --  after this, units are owned by special monsters"));
            line(QStringLiteral("----------------------------------"));
            line(QStringLiteral("--|   INSIDE THE CASTLE  |"));
            const int inside = mRng.range(1, 2);
            for (int k = 0; k < inside; ++k)
                commanderBlock(richness);
        }
        used.insert(p);
    }

    std::vector<int> mOwners;

  private:
    Rng& mRng;
    const ReferenceTables& mTables;
    const MapLayout& mLayout;
    bool mStress;
    std::vector<const UnitRow*> mCommanders, mTroops, mGods;
    QStringList mLines;
};

} // namespace

const std::vector<QString>& mapCommandWords() {
    static const std::vector<QString> words = [] {
        const char* list[] = {// map header
                              "#thx2title", "#imagefile", "#thxversion", "#thx2version", "#thx3version",
                              "#scenario", "#description", "#maptextcol", "#defaultmapzoom", "#features",
                              "#nohomelandnames", "#victorycondition", "#victorypoints", "#wraparound",
                              // nations and players
                              "#start", "#nostart", "#specstart", "#allowedplayer", "#computerplayer",
                              "#allies", "#cannotwin", "#dominionstr", "#scale_chaos", "#scale_lazy",
                              "#scale_cold", "#scale_death", "#scale_unluck", "#scale_unmagic", "#god",
                              // the current province
                              "#land", "#setland", "#landname", "#terrain", "#poptype", "#owner",
                              "#killfeatures", "#feature", "#knownfeature", "#fort", "#temple", "#lab",
                              "#unrest", "#population", "#defence", "#skybox", "#batmap", "#groundcol",
                              "#rockcol", "#fogcol", "#neighbour",
                              // commanders and gods
                              "#commander", "#comname", "#bodyguards", "#units", "#clearmagic", "#mag_fire",
                              "#mag_air", "#mag_water", "#mag_earth", "#mag_astral", "#mag_death",
                              "#mag_nature", "#mag_blood", "#mag_priest", "#xp", "#randomequip", "#additem"};
        std::vector<QString> out;
        for (const char* word : list)
            out.push_back(QString::fromLatin1(word));
        return out;
    }();
    return words;
}

QByteArray makeMapText(std::uint64_t seed, const ReferenceTables& tables, const MapLayout& layout,
                       const QString& imageFile, const QString& title, bool stress) {
    Rng rng(seed ^ 0x5EED0F4A9ULL);
    MapText map(rng, tables, layout, stress);
    const int count = static_cast<int>(layout.x.size());

    std::vector<int> land;
    for (int p = 1; p <= count; ++p)
        if (!layout.sea[static_cast<std::size_t>(p - 1)]) land.push_back(p);
    // Shuffle once; starts and special starts take from the front.
    for (std::size_t i = land.size(); i > 1; --i)
        std::swap(land[i - 1], land[static_cast<std::size_t>(rng.range(0, static_cast<int>(i) - 1))]);

    std::vector<const NationRow*> players;
    for (const NationRow& nation : tables.nations)
        if (nation.number == 5 || nation.number == 71) players.push_back(&nation);
    for (const NationRow& nation : tables.nations) {
        if (players.size() >= 8) break;
        if (nation.number != 23 && nation.number != 5 && nation.number != 71 && nation.number % 9 == 2)
            players.push_back(&nation);
    }
    for (const NationRow* nation : players)
        map.mOwners.push_back(nation->number);

    map.line(QStringLiteral("--"));
    map.line(QStringLiteral("-- Sample map for Thraxis 3, made by tessary-datagen"));
    map.line(QStringLiteral("--"));
    map.line(QString());
    map.line(QStringLiteral("########### MAP HEADER ###########"));
    map.line(QStringLiteral("#thx2title ") + title);
    map.line(QStringLiteral("#imagefile ") + imageFile);
    map.line(QStringLiteral("#thxversion 1.00"));
    map.line(QStringLiteral("#thx2version 2.16"));
    map.line(QStringLiteral("#thx3version 3.17"));
    map.line(
        QStringLiteral("#description \"") + title + QStringLiteral(".\n") +
        QStringLiteral("%1 provinces of forest, fell and fjord, drawn by tessary-datagen.\n").arg(count) +
        QStringLiteral("\n") +
        QStringLiteral(
            "Þrúðvangr holds the cold northern fjords; the Ælven kingdom of Ælfheim the southern woods.\n") +
        QStringLiteral("Every command of the map format appears somewhere in this file -- look around.\""));
    map.line(QString());
    map.line(QStringLiteral("#wraparound"));
    map.line(QStringLiteral("#scenario"));
    map.line(QStringLiteral("#nohomelandnames"));
    map.line(QStringLiteral("#victorycondition 1 12"));
    map.line(QStringLiteral("#maptextcol 0.2 0.1 0.05 1.0"));
    map.line(QStringLiteral("#defaultmapzoom 1.5"));
    map.line(QStringLiteral("#features 15"));
    map.line(QString());

    map.line(QStringLiteral("######### ALLOWED PLAYERS ########"));
    for (const NationRow* nation : players)
        map.line(QStringLiteral("#allowedplayer ") + n(nation->number) + QStringLiteral(" -- ") +
                 nation->name);
    map.line(QString());
    map.line(QStringLiteral("######### ALLIED PLAYERS #########"));
    map.line(QStringLiteral("#allies ") + n(players[0]->number) + QLatin1Char(' ') + n(players[2]->number) +
             QStringLiteral(" -- ") + players[0]->name + QStringLiteral(" <-> ") + players[2]->name);
    map.line(QString());

    const std::size_t specialStarts = std::min<std::size_t>(5, players.size());
    std::set<int> taken;
    std::size_t next = 0;
    std::vector<int> specStart(players.size(), -1);
    for (std::size_t i = 0; i < specialStarts; ++i) {
        specStart[i] = land[next++];
        taken.insert(specStart[i]);
    }
    map.line(QStringLiteral("############# STARTS #############"));
    for (int k = 0; k < 10 && next < land.size(); ++k)
        map.line(QStringLiteral("#start ") + n(land[next++]));
    for (int k = 0; k < 6 && next < land.size(); ++k)
        map.line(QStringLiteral("#nostart ") + n(land[next++]));
    map.line(QString());

    map.line(QStringLiteral("############# NATIONS ############"));
    const auto gods = tables.unitsOfKind(UnitKind::God);
    const char* scales[] = {"#scale_chaos", "#scale_cold",   "#scale_death",
                            "#scale_lazy",  "#scale_unluck", "#scale_unmagic"};
    for (std::size_t i = 0; i < players.size(); ++i) {
        const NationRow* nation = players[i];
        map.line(QStringLiteral("--------------------------------"));
        const bool ai = i == 3 || i == 6;
        if (ai) {
            map.line(QStringLiteral("-- AI ") + nation->name.toUpper());
            map.line(QStringLiteral("#computerplayer ") + n(nation->number) + QLatin1Char(' ') +
                     n(static_cast<int>(i % 3) + 1));
        } else {
            map.line(QStringLiteral("-- OPEN ") + nation->name.toUpper());
        }
        // The last player has a god but no special start: its god lines stay with the nation.
        const bool hasGod = specStart[i] > 0 || i + 1 == players.size();
        if (specStart[i] > 0)
            map.line(QStringLiteral("#specstart ") + n(nation->number) + QLatin1Char(' ') + n(specStart[i]));
        if (hasGod) {
            if (specStart[i] > 0) map.line(QStringLiteral("#setland ") + n(specStart[i]));
            const UnitRow* god = gods[(i * 5 + 1) % gods.size()];
            const QString ref = i == 0 && god->nameIsUnique
                                    ? q(god->name)
                                    : n(god->number) + QStringLiteral(" -- ") + god->name;
            map.line(QStringLiteral("#god ") + n(nation->number) + QLatin1Char(' ') + ref);
            if (i == 2) map.line(QStringLiteral("#cannotwin ") + n(nation->number));
            map.line(QStringLiteral("#comname ") + q(makeCommanderName(rng)));
            if (i == 1) map.line(QStringLiteral("#clearmagic"));
            // Between them the gods use every magic command.
            for (int k = 0; k < 9; ++k)
                if (k % static_cast<int>(players.size()) == static_cast<int>(i) % 9 || rng.chance(0.3))
                    map.line(QString::fromLatin1(kMagicCommands[k]) + QLatin1Char(' ') + n(rng.range(1, 5)));
            map.line(QStringLiteral("#xp ") + n(10 * rng.range(0, 20)));
            map.line(QStringLiteral("#additem ") + q(map.item().name));
            map.line(QStringLiteral("#randomequip ") + n(rng.range(0, 3)));
            map.line(QStringLiteral("#bodyguards ") + n(rng.range(2, 6)) + QLatin1Char(' ') +
                     map.unitRef(map.troop()));
            map.line(QStringLiteral("#units ") + n(10 * rng.range(1, 4)) + QLatin1Char(' ') +
                     map.unitRef(map.troop()));
        }
        if (i % 2 == 0)
            map.line(QStringLiteral("#dominionstr ") + n(nation->number) + QLatin1Char(' ') +
                     n(rng.range(1, 5)));
        for (int k = 0; k < 6; ++k)
            if ((k + static_cast<int>(i)) % 3 == 0) {
                int value = rng.range(-3, 3);
                if (value == 0) value = 1;
                map.line(QString::fromLatin1(scales[k]) + QLatin1Char(' ') + n(nation->number) +
                         QLatin1Char(' ') + n(value));
            }
        if (specStart[i] > 0) map.provinceBody(specStart[i], taken);
    }
    map.line(QString());

    map.line(QStringLiteral("########### NEIGHBOURS ###########"));
    for (const auto& [a, b] : layout.neighbours)
        map.line(QStringLiteral("#neighbour ") + n(a) + QLatin1Char(' ') + n(b));
    map.line(QString());

    map.line(QStringLiteral("############# TERRAIN ############"));
    for (int p = 1; p <= count; ++p)
        map.line(QStringLiteral("#terrain ") + n(p) + QLatin1Char(' ') +
                 n(static_cast<int>(layout.terrain[static_cast<std::size_t>(p - 1)])));
    map.line(QString());

    map.line(QStringLiteral("######### PROVINCE DETAIL ########"));
    for (int p = 1; p <= count; ++p) {
        if (taken.count(p)) continue;
        const bool sea = layout.sea[static_cast<std::size_t>(p - 1)];
        if (!stress && !rng.chance(sea ? 0.3 : 0.75)) {
            // Many provinces have only a name.
            if (rng.chance(0.7))
                map.line(QStringLiteral("#landname ") + n(p) + QLatin1Char(' ') +
                         q(makeProvinceName(rng, layout.terrain[static_cast<std::size_t>(p - 1)])));
            continue;
        }
        map.line(QString());
        map.line((rng.chance(stress ? 0.1 : 0.3) ? QStringLiteral("#land ") : QStringLiteral("#setland ")) +
                 n(p));
        map.line(QStringLiteral("--------------------------------"));
        map.provinceBody(p, taken);
    }
    map.line(QString());

    QByteArray bytes;
    for (const QString& text : map.lines()) {
        const std::string encoded = toCp1252(text);
        bytes.append(encoded.data(), static_cast<qsizetype>(encoded.size()));
        bytes.append('\n');
    }
    return bytes;
}

} // namespace ts::datagen
