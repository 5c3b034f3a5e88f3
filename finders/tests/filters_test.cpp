#include "finderstesting.h"
#include "itemfilter.h"
#include "sitefilter.h"
#include "unitfilter.h"

#include <gtest/gtest.h>

using namespace ts;
using namespace ts::testing;

namespace {

using Numbers = std::vector<int>;

// Five units, each carrying a few properties, so every filter has units to keep and to drop.
const ReferenceData& units() {
    static const auto ref = tablesWith(
        {{"UnitData.txt",
          unitRow(1, {{1, "Hero of Ash"}, {3, "mounted"}, {6, "2"}, {8, "3"}, {20, "1"}, {32, "SD"}, {12, "10"},
                      {45, "Undead"}, {49, "Spy"}, {54, "fire"}}) +
              unitRow(2, {{1, "Heroine"}, {4, "sacred"}, {8, "3"}, {14, "5"}, {52, "10"}, {64, "5"}, {85, "Forest"},
                          {92, "Flying"}}) +
              unitRow(3, {{1, "Peasant"}, {5, "female"}, {8, "1"}, {13, "5"}, {117, "12"}}) +
              unitRow(4, {{1, "Zombie"}, {2, "unique"}, {8, "2"}, {45, "Undead"}, {51, "Glamour"}, {55, "cold"},
                          {58, "regeneration"}, {89, "Aquatic"}, {126, "7"}}) +
              unitRow(5, {{1, "Demon Lord"}, {8, "6"}, {28, "2"}, {44, "H"}, {46, "Demon"}, {47, "Magic being"},
                          {50, "Assassin"}})}});
    return *ref;
}

template <typename Filter>
Filter with(void (*set)(Filter&)) {
    Filter f;
    set(f);
    return f;
}

} // namespace

TEST(UnitFilterTest, EachConditionKeepsExactlyItsUnits) {
    const struct {
        const char* name;
        UnitFilter filter;
        Numbers kept;
    } cases[] = {
        {"no box ticked", {}, {1, 2, 3, 4, 5}},
        {"god Is", with<UnitFilter>([](UnitFilter& f) { f.god = 1; }), {1}},
        {"god Not", with<UnitFilter>([](UnitFilter& f) { f.god = 0; }), {2, 3, 4, 5}},
        {"size position 2 is size 3", with<UnitFilter>([](UnitFilter& f) { f.size = 2; }), {1, 2}},
        {"magic Fire", with<UnitFilter>([](UnitFilter& f) { f.magic = 0; }), {1}},
        {"magic Holy", with<UnitFilter>([](UnitFilter& f) { f.magic = 8; }), {5}},
        {"random magic Death", with<UnitFilter>([](UnitFilter& f) { f.randomMagic = 5; }), {1}},
        {"random magic Holy in the fourth slot", with<UnitFilter>([](UnitFilter& f) { f.randomMagic = 8; }), {5}},
        {"leader Normal", with<UnitFilter>([](UnitFilter& f) { f.leader = 0; }), {1}},
        {"leader Magic", with<UnitFilter>([](UnitFilter& f) { f.leader = 1; }), {2}},
        {"leader Undead", with<UnitFilter>([](UnitFilter& f) { f.leader = 2; }), {3}},
        {"type Normal has no kind", with<UnitFilter>([](UnitFilter& f) { f.commanderType = "Normal"; }), {2, 3}},
        {"type Undead", with<UnitFilter>([](UnitFilter& f) { f.commanderType = "Undead"; }), {1, 4}},
        {"type Magic being", with<UnitFilter>([](UnitFilter& f) { f.commanderType = "Magic being"; }), {5}},
        {"stealth None lists nothing", with<UnitFilter>([](UnitFilter& f) { f.stealth = "None"; }), {}},
        {"stealth Spy", with<UnitFilter>([](UnitFilter& f) { f.stealth = "Spy"; }), {1}},
        {"stealth Glamour", with<UnitFilter>([](UnitFilter& f) { f.stealth = "Glamour"; }), {4}},
        {"stealth Stealthy", with<UnitFilter>([](UnitFilter& f) { f.stealth = "Stealthy"; }), {2}},
        {"resist Fire", with<UnitFilter>([](UnitFilter& f) { f.resist = 0; }), {1}},
        {"resist Cold", with<UnitFilter>([](UnitFilter& f) { f.resist = 1; }), {4}},
        {"mounted", with<UnitFilter>([](UnitFilter& f) { f.mounted = true; }), {1}},
        {"unique", with<UnitFilter>([](UnitFilter& f) { f.unique = true; }), {4}},
        {"holy", with<UnitFilter>([](UnitFilter& f) { f.holy = true; }), {2}},
        {"female", with<UnitFilter>([](UnitFilter& f) { f.female = true; }), {3}},
        {"ability Regenerate", with<UnitFilter>([](UnitFilter& f) { f.misc = 1; }), {4}},
        {"ability Standard", with<UnitFilter>([](UnitFilter& f) { f.misc = 7; }), {2}},
        {"ability Summons Other", with<UnitFilter>([](UnitFilter& f) { f.misc = 49; }), {3}},
        {"ability Shape Changer", with<UnitFilter>([](UnitFilter& f) { f.misc = 50; }), {4}},
        {"survival Forest", with<UnitFilter>([](UnitFilter& f) { f.survival = "Forest"; }), {2}},
        {"survival words are exact", with<UnitFilter>([](UnitFilter& f) { f.survival = "forest"; }), {}},
        {"move Flying", with<UnitFilter>([](UnitFilter& f) { f.move = "Flying"; }), {2}},
        {"move Aquatic", with<UnitFilter>([](UnitFilter& f) { f.move = "Aquatic"; }), {4}},
        {"hero Is, a longer word too", with<UnitFilter>([](UnitFilter& f) { f.hero = 1; }), {1, 2}},
        {"hero Not", with<UnitFilter>([](UnitFilter& f) { f.hero = 0; }), {3, 4, 5}},
        {"filters together", with<UnitFilter>([](UnitFilter& f) {
             f.size = 2;
             f.hero = 1;
             f.holy = true;
         }),
         {2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FilterUnits(units(), c.filter), c.kept);
    }
}

// Each path word of the list stands for one letter in the random-path texts: F, A, W, E, S, D, N, B, H.
TEST(UnitFilterTest, RandomMagicTakesEachPathsOwnLetter) {
    const char* const letters[] = {"F", "A", "W", "E", "S", "D", "N", "B", "H"};
    std::string rows;
    for (int k = 0; k < 9; ++k)
        rows += unitRow(k + 1, {{1, "Adept"}, {32, letters[k]}});
    const auto ref = tablesWith({{"UnitData.txt", rows}});
    for (int k = 0; k < 9; ++k) {
        UnitFilter f;
        f.randomMagic = k;
        EXPECT_EQ(FilterUnits(*ref, f), Numbers{k + 1}) << letters[k];
    }
}

TEST(UnitFilterTest, SizeFilterOverTheShippedTable) {
    const ReferenceData& ref = shippedTables();
    UnitFilter f;
    f.size = 2;
    const Numbers kept = FilterUnits(ref, f);
    Numbers sizeThree;
    for (const UnitDataType& u : ref.UnitData)
        if (u.number >= 1 && u.size == 3) sizeThree.push_back(u.number);
    EXPECT_EQ(kept, sizeThree);
    EXPECT_FALSE(kept.empty());
    EXPECT_EQ(FilterUnits(ref, UnitFilter{}).size(), shippedLists().unitFinderUnits.size() - 1);
}

namespace {

// Slot 4 and those above 5 hold no site: no filter, however inverted, may list them.
const ReferenceData& sites() {
    static const auto ref = tablesWith(
        {{"SiteData.txt",
          siteRow(1, {{1, "Fountain"}, {4, "1"}, {6, "Fire"}, {7, "1"}, {20, "TRUE"}}) +
              siteRow(2, {{1, "Keep"}, {4, "16386"}, {6, "Air"}, {21, "3"}, {22, "10"}, {17, "5"}}) +
              siteRow(3, {{1, "Grove"}, {4, "2"}, {6, "Nature"}, {33, "20"}, {44, "+1"}, {15, "10"}, {42, "Order"}}) +
              siteRow(5, {{1, "Deep"}, {4, "256"}, {6, "Water"}, {21, "-666"}})}});
    return *ref;
}

SiteFilter::Term on(int choice = 0, bool invert = false) { return {true, invert, choice}; }
SiteFilter::Term inverted(int choice = 0) { return on(choice, true); }

} // namespace

TEST(SiteFilterTest, EachConditionPlainAndInverted) {
    const struct {
        const char* name;
        SiteFilter::Term SiteFilter::*term;
        SiteFilter::Term value;
        Numbers kept;
    } cases[] = {
        {"terrain Unique", &SiteFilter::terrain, on(10), {2}},
        {"terrain not Unique: every named site without it", &SiteFilter::terrain, inverted(10), {1, 3, 5}},
        {"terrain Forest", &SiteFilter::terrain, on(1), {2, 3}},
        {"type Air", &SiteFilter::type, on(1), {2}},
        {"type not Air", &SiteFilter::type, inverted(1), {1, 3, 5}},
        {"gems Fire", &SiteFilter::gems, on(0), {1}},
        {"gems not Fire", &SiteFilter::gems, inverted(0), {2, 3, 5}},
        {"structure Lab", &SiteFilter::structure, on(0), {1}},
        {"structure Fort", &SiteFilter::structure, on(1), {2}},
        {"structure not Fort", &SiteFilter::structure, inverted(1), {1, 3, 5}},
        {"recruits", &SiteFilter::recruits, on(), {2}},
        {"summons", &SiteFilter::summons, on(), {3}},
        {"not summons", &SiteFilter::summons, inverted(), {1, 2, 5}},
        {"path bonus", &SiteFilter::pathBonus, on(), {3}},
        {"supply bonus", &SiteFilter::supplyBonus, on(), {2}},
        {"gold bonus", &SiteFilter::goldBonus, on(), {3}},
        {"scales", &SiteFilter::scales, on(), {3}},
        {"no scales", &SiteFilter::scales, inverted(), {1, 2, 5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SiteFilter f;
        f.*(c.term) = c.value;
        EXPECT_EQ(FilterSites(sites(), f), c.kept);
    }
    EXPECT_EQ(FilterSites(sites(), SiteFilter{}), (Numbers{1, 2, 3, 5}));
    // The terrain filter decides first; the others only drop.
    SiteFilter both;
    both.terrain = on(1);
    both.goldBonus = inverted();
    EXPECT_EQ(FilterSites(sites(), both), Numbers{2});
}

namespace {

const ReferenceData& items() {
    static const auto ref = tablesWith({{"ItemData.txt", "1\tSword\t1-h wpn\t1\tF\t1\t\t0\r\n"
                                                         "2\tAxe\t2-h wpn\t8\tF\t2\t\t0\r\n"
                                                         "3\tCrown\thelm\t12\tS\t3\tF\t1\r\n"
                                                         "4\tBoots\tboots\t3\tF\t3\tW\t2\r\n"}});
    return *ref;
}

Numbers named(const Numbers& kept) {
    Numbers out;
    for (int s : kept)
        if (!items().ItemData[s].name.empty()) out.push_back(s);
    return out;
}

} // namespace

TEST(ItemFilterTest, EachFilterAndTheEmptySlots) {
    ItemFilter none;
    EXPECT_EQ(FilterItems(items(), none).size(), std::size_t(kItemSlots));

    const struct {
        const char* name;
        ItemFilter filter;
        Numbers kept;
    } cases[] = {
        {"category helm", with<ItemFilter>([](ItemFilter& f) { f.category = "helm"; }), {3}},
        {"artifacts", with<ItemFilter>([](ItemFilter& f) { f.artifacts = true; }), {2}},
        {"no artifacts", with<ItemFilter>([](ItemFilter& f) { f.noArtifacts = true; }), {1, 3, 4}},
        {"special", with<ItemFilter>([](ItemFilter& f) { f.special = true; }), {3}},
        {"no special", with<ItemFilter>([](ItemFilter& f) { f.noSpecial = true; }), {1, 2, 4}},
        {"F up to level 2", with<ItemFilter>([](ItemFilter& f) { f.path1 = "F", f.level1 = 2; }), {1, 2}},
        {"second path W", with<ItemFilter>([](ItemFilter& f) { f.path2 = "W"; }), {4}},
        {"second path F level 1", with<ItemFilter>([](ItemFilter& f) { f.path2 = "F", f.level2 = 1; }), {3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(named(FilterItems(items(), c.filter)), c.kept);
    }
}

TEST(ItemFilterTest, CategoryFollowsTheUnitsSlots) {
    const auto ref = tablesWith({{"UnitData.txt", unitRow(1, {{15, "2"}, {16, "1"}, {17, "1"}, {18, "1"}, {19, "2"}}) +
                                                      unitRow(2, {{15, "2"}, {16, "1"}, {17, "0"}, {18, "1"}, {19, "0"}}) +
                                                      unitRow(3, {})}});
    const int full[8] = {1, 1, 4, 5, 6, 7, 7, 0};
    const int noBody[8] = {1, 1, 4, 6, 0, 0, 0, 0};
    for (int slot = 0; slot < 8; ++slot) {
        SCOPED_TRACE(slot);
        EXPECT_EQ(PreselectItemCategory(ref->UnitData[1], slot), full[slot]);
        EXPECT_EQ(PreselectItemCategory(ref->UnitData[2], slot), noBody[slot]);
        // Slot counts the table leaves empty give no category.
        EXPECT_EQ(PreselectItemCategory(ref->UnitData[3], slot), 0);
    }
}
