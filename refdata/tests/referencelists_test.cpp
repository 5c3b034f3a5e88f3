#include "refdatatesting.h"

#include <gtest/gtest.h>

namespace ts {
namespace {

using Entries = std::vector<ReferenceLists::ListEntry>;

std::vector<std::pair<QString, int>> pairs(const Entries& entries) {
    std::vector<std::pair<QString, int>> out;
    for (const auto& e : entries)
        out.emplace_back(e.text, e.value);
    return out;
}

using Pairs = std::vector<std::pair<QString, int>>;

class ReferenceListsTest : public ::testing::Test, protected testing::RefdataFixture {
  protected:
    void SetUp() override {
        files["NationData.txt"] = "EA\t5\tx\tArcoscephale\nMA\t40\tx\tErmor\nLA\t70\tx\t\nEA\t0\tx\tZero\n";
        files["PopData.txt"] = "0\tSlotZero\t1\t2\t3\t4\t5\t6\t7\t8\n"
                               "3\tElves\t1\t2\t3\t4\t5\t6\t7\t8\n"
                               "2\t\t1\t2\t3\t4\t5\t6\t7\t8\n";
        files["SiteData.txt"] = "4\tFountain\n0\tNothing\n";
        files["FortData.txt"] = "2\tWall\n";
        files["ItemData.txt"] = "3\tSword\n";
        files["UnitData.txt"] = "9\tHoplite\n0\tZero\n2999\tLast\n";
        ASSERT_TRUE(load());
    }
};

TEST_F(ReferenceListsTest, PanelListsFromTheTables) {
    EXPECT_EQ(pairs(lists.victoryConditions), (Pairs{{"Standard", 0},
                                                     {"Victory Points", 1},
                                                     {"Dominion", 2},
                                                     {"Provinces", 3},
                                                     {"Research", 4},
                                                     {"VPs (cumulative)", 5}}));
    EXPECT_EQ(lists.victoryConditionsSelected, 0);

    // An empty name column was marked "-666" and so is a nation; slot 0 counts too.
    EXPECT_EQ(
        pairs(lists.owners),
        (Pairs{{"None", -1}, {"EA Zero", 0}, {"EA Arcoscephale", 5}, {"MA Ermor", 40}, {"LA -666", 70}}));
    EXPECT_EQ(lists.ownersSelected, 0);

    // PopData has no markers, so an empty name is no population type; slot 0 is never listed.
    EXPECT_EQ(pairs(lists.popTypes), (Pairs{{"None", 0}, {"Elves", 3}}));

    ASSERT_EQ(lists.forts.size(), 44u);
    EXPECT_EQ(pairs(lists.forts)[0], (std::pair<QString, int>{"none", -1}));
    EXPECT_EQ(pairs(lists.forts)[1], (std::pair<QString, int>{"", 0}));
    EXPECT_EQ(pairs(lists.forts)[2], (std::pair<QString, int>{"Wall", 2}));
    EXPECT_EQ(pairs(lists.forts)[43], (std::pair<QString, int>{"", 0}));
    EXPECT_EQ(lists.fortsSelected, 0);
}

TEST_F(ReferenceListsTest, FinderListsFromTheTables) {
    EXPECT_EQ(pairs(lists.siteFinderSites), (Pairs{{"None", 0}, {"Fountain", 4}}));
    EXPECT_EQ(lists.siteFinderSitesSelected, 0);
    EXPECT_EQ(pairs(lists.unitFinderUnits), (Pairs{{"None", 0}, {"Hoplite", 9}, {"Last", 2999}}));
    EXPECT_EQ(lists.unitFinderUnitsSelected, 0);

    // Every item slot is listed, filled or not.
    ASSERT_EQ(lists.itemFinderItems.size(), 351u);
    EXPECT_EQ(pairs(lists.itemFinderItems)[0], (std::pair<QString, int>{"No Item", -1}));
    EXPECT_EQ(pairs(lists.itemFinderItems)[1], (std::pair<QString, int>{"", 0}));
    EXPECT_EQ(pairs(lists.itemFinderItems)[4], (std::pair<QString, int>{"Sword", 3}));
}

QStringList texts(const Entries& entries) {
    QStringList out;
    for (const auto& e : entries)
        out << e.text;
    return out;
}

TEST_F(ReferenceListsTest, FixedWordListsMatchWhatTheFindersTestByPosition) {
    const QStringList paths = {"Fire", "Air", "Water", "Earth", "Astral", "Death", "Nature", "Blood", "Holy"};
    EXPECT_EQ(texts(lists.unitMagic), paths);
    EXPECT_EQ(texts(lists.unitRandomMagic), paths);
    EXPECT_EQ(texts(lists.siteType), paths);
    EXPECT_EQ(texts(lists.siteGems), paths.mid(0, 8));
    EXPECT_EQ(texts(lists.unitSize), (QStringList{" 1", " 2", " 3", " 4", " 5", " 6"}));
    EXPECT_EQ(lists.unitSize[2].value, 3);
    EXPECT_EQ(lists.itemLevel2[5].value, 6);
    EXPECT_EQ(texts(lists.itemPath2), (QStringList{"F", "A", "W", "E", "S", "D", "N", "B"}));
    EXPECT_EQ(texts(lists.itemCategory),
              (QStringList{"None", "1-h wpn", "2-h wpn", "shield", "helm", "armor", "boots", "misc"}));
    EXPECT_EQ(texts(lists.siteTerrain), (QStringList{"Plains", "Forest", "Mountain", "Waste", "Farm", "Sea",
                                                     "Coast", "Swamp", "DeepSea", "Cave", "Unique"}));
    EXPECT_EQ(texts(lists.unitCommanderType),
              (QStringList{"Normal", "Undead", "Demon", "Magic being", "Animal"}));
    EXPECT_EQ(texts(lists.unitMove),
              (QStringList{"Aquatic", "Amphibian", "Poor Amphi", "Flying", "Stormflyer", "Sailing"}));
    EXPECT_EQ(texts(lists.unitStealth), (QStringList{"None", "Spy", "Assassin", "Glamour", "Stealthy"}));

    // The ability list maps each position to one unit column; spot the seams between column groups.
    const QStringList misc = texts(lists.unitMisc);
    ASSERT_EQ(misc.size(), 51);
    EXPECT_EQ(misc[7], "Standard");
    EXPECT_EQ(misc[18], "Ice Armor");
    EXPECT_EQ(misc[27], "Cold Blooded");
    EXPECT_EQ(misc[48], "Reanimate");
    EXPECT_EQ(misc[49], "Summons Other");
    EXPECT_EQ(misc[50], "Shape Changer");
    EXPECT_EQ(lists.unitMisc[50].value, 50);
}

} // namespace
} // namespace ts
