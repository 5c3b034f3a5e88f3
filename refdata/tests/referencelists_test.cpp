#include "refdatatesting.h"

#include <gtest/gtest.h>

namespace ts {
namespace {

using Entries = std::vector<ReferenceLists::ListEntry>;
using Pairs = std::vector<std::pair<QString, int>>;

Pairs pairs(const Entries& entries) {
    Pairs out;
    for (const auto& e : entries)
        out.emplace_back(e.text, e.value);
    return out;
}
QStringList texts(const Entries& entries) {
    QStringList out;
    for (const auto& e : entries)
        out << e.text;
    return out;
}

class ReferenceListsTest : public ::testing::Test, protected testing::RefdataFixture {};

TEST_F(ReferenceListsTest, PanelFinderAndWordListsFromTheTables) {
    files["NationData.txt"] = "EA\t5\tx\tArcoscephale\nMA\t40\tx\tErmor\nLA\t70\tx\t\nEA\t0\tx\tZero\n";
    files["PopData.txt"] = "0\tSlotZero\t1\t2\t3\t4\t5\t6\t7\t8\n3\tElves\t1\t2\t3\t4\t5\t6\t7\t8\n"
                           "2\t\t1\t2\t3\t4\t5\t6\t7\t8\n";
    files["SiteData.txt"] = "4\tFountain\n0\tNothing\n";
    files["FortData.txt"] = "2\tWall\n";
    files["ItemData.txt"] = "3\tSword\n";
    files["UnitData.txt"] = "9\tHoplite\n0\tZero\n2999\tLast\n";
    ASSERT_TRUE(load());
    EXPECT_EQ(pairs(lists.victoryConditions), (Pairs{{"Standard", 0}, {"Victory Points", 1}, {"Dominion", 2},
                                                     {"Provinces", 3}, {"Research", 4}, {"VPs (cumulative)", 5}}));
    // An empty name column was marked "-666" and so is a nation; slot 0 counts too.
    EXPECT_EQ(pairs(lists.owners),
              (Pairs{{"None", -1}, {"EA Zero", 0}, {"EA Arcoscephale", 5}, {"MA Ermor", 40}, {"LA -666", 70}}));
    // PopData has no markers, so an empty name is no population type; slot 0 is never listed.
    EXPECT_EQ(pairs(lists.popTypes), (Pairs{{"None", 0}, {"Elves", 3}}));
    EXPECT_EQ(pairs(lists.siteFinderSites), (Pairs{{"None", 0}, {"Fountain", 4}}));
    EXPECT_EQ(pairs(lists.unitFinderUnits), (Pairs{{"None", 0}, {"Hoplite", 9}, {"Last", 2999}}));
    // Every fort and item slot is listed, filled or not.
    const Pairs forts = pairs(lists.forts), items = pairs(lists.itemFinderItems);
    ASSERT_EQ(forts.size(), 44u);
    EXPECT_EQ((Pairs{forts[0], forts[1], forts[2], forts[43]}), (Pairs{{"none", -1}, {"", 0}, {"Wall", 2}, {"", 0}}));
    ASSERT_EQ(items.size(), 351u);
    EXPECT_EQ((Pairs{items[0], items[1], items[4]}), (Pairs{{"No Item", -1}, {"", 0}, {"Sword", 3}}));
    for (int selected : {lists.victoryConditionsSelected, lists.ownersSelected, lists.fortsSelected,
                         lists.siteFinderSitesSelected, lists.unitFinderUnitsSelected})
        EXPECT_EQ(selected, 0);

    // The word lists hold the positions the finders test.
    const QStringList paths = {"Fire", "Air", "Water", "Earth", "Astral", "Death", "Nature", "Blood", "Holy"};
    for (const Entries* list : {&lists.unitMagic, &lists.unitRandomMagic, &lists.siteType})
        EXPECT_EQ(texts(*list), paths);
    EXPECT_EQ(texts(lists.siteGems), paths.mid(0, 8));
    EXPECT_EQ(lists.unitSize[2].value, 3);
    EXPECT_EQ(lists.itemLevel2[5].value, 6);
    // The ability list maps each position to one unit column; spot the seams between column groups.
    const QStringList misc = texts(lists.unitMisc);
    ASSERT_EQ(misc.size(), 51);
    EXPECT_EQ((QStringList{misc[7], misc[18], misc[27], misc[48], misc[49], misc[50]}),
              (QStringList{"Standard", "Ice Armor", "Cold Blooded", "Reanimate", "Summons Other", "Shape Changer"}));
    EXPECT_EQ(lists.unitMisc[50].value, 50);
}

} // namespace
} // namespace ts
