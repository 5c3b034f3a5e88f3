#include "commandermap.h"
#include "commanderrules.h"
#include "godplacement.h"
#include "nodetree.h"
#include "siterules.h"
#include "slotpictures.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

using namespace ts;

namespace {

struct CommanderRules : ::testing::Test {
    editingtest::CommanderMap map;
    MapDocument& doc = *map.doc;
    editingtest::NodeTree tree;
    NavigatorNodeEdits nodes;

    CommanderRules() {
        tree.build(doc, *map.ref);
        nodes = tree.edits();
    }
    CommanderDetailInput detailOf(const CommanderDataType& c) {
        CommanderDetailInput in;
        in.name = QString::fromLatin1(c.ComName.str());
        for (int k = 0; k < 10; ++k) {
            in.units[k] = {QString::number(c.UnitsIndex[k]), QString::fromLatin1(c.UnitsName[k].str()),
                           c.UnitsCount[k] > 0 ? QString::number(c.UnitsCount[k]) : QString()};
            in.bodyguards[k] = {QString::number(c.BodyguardIndex[k]), QString::fromLatin1(c.BodyguardName[k].str()),
                                c.BodyguardCount[k] > 0 ? QString::number(c.BodyguardCount[k]) : QString()};
        }
        return in;
    }
};

} // namespace

TEST_F(CommanderRules, StripCommitKeepsNodesAndCountInStepUntilTheLastCommanderGoes) {
    // Province 9 has no commander: the first one brings the group node with it.
    CommitCommanderSlot(doc, 9, 4, "13", "Sorceress", nodes);
    EXPECT_EQ(tree.parent("9 COMMANDERS"), "9 PROV");
    EXPECT_EQ(tree.caption("9 COM 4"), "4 Sorceress");
    EXPECT_EQ(doc.Provinces[9].CommanderCount, 1);
    EXPECT_TRUE(doc.PanelDirty[ProvinceDirty]);

    // A new unit for an occupied slot renames its node and counts nothing.
    CommitCommanderSlot(doc, 9, 4, "12", "Warlord", nodes);
    EXPECT_EQ(tree.caption("9 COM 4"), "4 Warlord");
    EXPECT_EQ(doc.Provinces[9].Commanders[4].UnitIndex, 12);
    EXPECT_EQ(doc.Provinces[9].CommanderCount, 1);

    // Emptied, the last commander takes the group with it; the next one brings it back. Only the
    // unit and the node strings go.
    doc.Provinces[9].Commanders[4].ComName = "Hrolf";
    doc.Provinces[9].Commanders[4].UnitsCount[1] = 4;
    CommitCommanderSlot(doc, 9, 4, "-1", "", nodes);
    EXPECT_EQ(doc.Provinces[9].CommanderCount, 0);
    EXPECT_FALSE(tree.has("9 COM 4"));
    EXPECT_FALSE(tree.has("9 COMMANDERS"));
    EXPECT_TRUE(doc.Provinces[9].Commanders[4].UnitName.empty());
    EXPECT_TRUE(doc.Provinces[9].Commanders[4].NodeKey.empty() && doc.Provinces[9].Commanders[4].NodeText.empty());
    EXPECT_EQ(doc.Provinces[9].Commanders[4].UnitIndex, -1);
    EXPECT_EQ(doc.Provinces[9].Commanders[4].ComName, "Hrolf");
    EXPECT_EQ(doc.Provinces[9].Commanders[4].UnitsCount[1], 4);
    CommitCommanderSlot(doc, 9, 6, "13", "Sorceress", nodes);
    EXPECT_TRUE(tree.has("9 COMMANDERS"));
    EXPECT_EQ(tree.parent("9 COM 6"), "9 COMMANDERS");
}

TEST_F(CommanderRules, SlotZeroOfASpecialStartIsTheNationsGod) {
    CommitCommanderSlot(doc, 1, 0, "8", "Lich", nodes);
    const NationDataType& n = doc.Nations[5];
    EXPECT_EQ(doc.Provinces[1].Commanders[0].UnitIndex, 8);
    EXPECT_EQ(n.GodIndex, 8);
    EXPECT_EQ(n.GodName, "Lich");
    EXPECT_EQ(n.God.UnitName, "Lich");
    EXPECT_EQ(n.God.MagFire, 3); // the rest of the god stays
    EXPECT_EQ(tree.caption("1 COM 0"), "0 Lich");

    // The detail panel shows and writes the god, which is what the file keeps.
    EXPECT_EQ(&CommanderShown(doc, 1, 0), &n.God);
    CommanderDetailInput in = detailOf(n.God);
    in.magic[0] = "4";
    in.name = "Young One";
    CommitCommanderDetail(doc, 1, 0, in);
    EXPECT_EQ(n.God.MagFire, 4);
    EXPECT_EQ(n.God.ComName, "Young One");
    EXPECT_EQ(doc.Provinces[1].Commanders[0].MagFire, 4);
    EXPECT_EQ(n.God.BodyguardCount[0], 2);

    CommitCommanderSlot(doc, 1, 0, "-1", "", nodes);
    EXPECT_EQ(n.GodIndex, -1);
    EXPECT_TRUE(n.GodName.empty() && n.God.UnitName.empty());
    // Slot 0 of a province without a special start stays reserved.
    CommitCommanderSlot(doc, 9, 0, "13", "Sorceress", nodes);
    EXPECT_TRUE(doc.Provinces[9].Commanders[0].UnitName.empty());
    EXPECT_FALSE(tree.has("9 COMMANDERS"));
    EXPECT_EQ(doc.Nations[10].GodName, "Lich");
}

TEST_F(CommanderRules, StackCountsFromTheirBoxes) {
    struct Case {
        const char* tag;
        const char* count;
        int stored;
        int index;
    } cases[] = {
        {"21", "0", 1, 21},  // the finder was opened on an empty stack: one of the chosen unit
        {"-1", "0", 0, -1},  // opened and nothing chosen
        {"21", "", 0, -1},   // an empty box empties the stack
        {"21", "7", 7, 21},
        {"21", "x", 1, 21},  // no number: the minimum, as leaving the box makes it
        {"21", "5000", 999, 21},
        {"-1", "5", 5, -1},  // a count typed before the unit is chosen is kept with the stack
    };
    for (const Case& c : cases) {
        CommanderDetailInput in = detailOf(doc.Provinces[5].Commanders[3]);
        in.units[2] = {c.tag, c.index >= 0 ? "Archer" : "", c.count};
        in.bodyguards[2] = in.units[2];
        CommitCommanderDetail(doc, 5, 3, in);
        const CommanderDataType& com = doc.Provinces[5].Commanders[3];
        SCOPED_TRACE(std::string(c.tag) + "/" + c.count);
        EXPECT_EQ(com.UnitsCount[2], c.stored);
        EXPECT_EQ(com.UnitsIndex[2], c.index);
        EXPECT_EQ(com.UnitsName[2].empty(), c.index < 0);
        EXPECT_EQ(com.BodyguardCount[2], c.stored);
        EXPECT_EQ(com.UnitsCount[0], 10); // the other stacks as they were
    }
}

TEST_F(CommanderRules, DetailBoxesAreCheckedOnLeaving) {
    struct Case {
        const char* typed;
        int min, max;
        const char* shown;
    } cases[] = {
        {"15", kMagicMin, kMagicMax, "10"}, {"0", kMagicMin, kMagicMax, "1"},  {"1000", kXpMin, kXpMax, "900"},
        {"abc", kXpMin, kXpMax, "0"},       {"", kMagicMin, kMagicMax, ""},    {" 3 ", kRandomEquipMin, kRandomEquipMax, "3"},
        {"-2", kStackMin, kStackMax, "1"},  {"5000", kStackMin, kStackMax, "999"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ValidatedNumberText(c.typed, c.min, c.max), QString::fromLatin1(c.shown)) << c.typed;

    // Empty boxes store 0, random equipment too. A commit that comes before the box was left stores
    // what leaving it would have shown.
    CommanderDetailInput in = detailOf(doc.Provinces[5].Commanders[3]);
    in.magic[0] = "15";
    CommitCommanderDetail(doc, 5, 3, in);
    EXPECT_EQ(doc.Provinces[5].Commanders[3].MagFire, 10);
    in.magic[0] = "";
    CommitCommanderDetail(doc, 5, 3, in);
    const CommanderDataType& com = doc.Provinces[5].Commanders[3];
    EXPECT_EQ(com.MagAir, 0);
    EXPECT_EQ(com.Xp, 0);
    EXPECT_EQ(com.RandomEquip, 0);
    in.randomEquip = "4";
    CommitCommanderDetail(doc, 5, 3, in);
    EXPECT_EQ(com.RandomEquip, 4);
}

TEST_F(CommanderRules, InsideCastleKeepsOutsideCommandersBeforeInsideOnes) {
    ProvinceDataType& p = doc.Provinces[5];
    EXPECT_FALSE(InsideCastleApplies(doc, 5));
    p.Owner = 23;
    p.Fort = 0;
    EXPECT_TRUE(InsideCastleApplies(doc, 5));

    ApplyInsideCastle(doc, 5, 5, true);
    for (int c = 1; c < kCommanderSlots; ++c)
        EXPECT_EQ(p.Commanders[c].InsideCastle, c >= 5) << c;
    ApplyInsideCastle(doc, 5, 8, false);
    for (int c = 1; c < kCommanderSlots; ++c)
        EXPECT_EQ(p.Commanders[c].InsideCastle, c > 8) << c;
}

TEST_F(CommanderRules, GodPlacedAndRemovedWithItsNodes) {
    // Province 9 becomes nation 10's start: the god arrives whole, with the group node.
    PlaceGod(doc, 10, 9, nodes);
    EXPECT_EQ(doc.Provinces[9].Commanders[0].UnitName, "Lich");
    EXPECT_EQ(doc.Provinces[9].CommanderCount, 1);
    EXPECT_EQ(tree.caption("9 COM 0"), "0 Lich");
    EXPECT_EQ(doc.Nations[10].God.NodeKey, "9 COM 0");
    RemoveGod(doc, 9, nodes);
    EXPECT_EQ(doc.Provinces[9].CommanderCount, 0);
    EXPECT_FALSE(tree.has("9 COMMANDERS"));
    EXPECT_TRUE(doc.Provinces[9].Commanders[0].UnitName.empty());
    // A god without a unit is not placed.
    doc.Nations[10].God.UnitIndex = -1;
    PlaceGod(doc, 10, 9, nodes);
    EXPECT_EQ(doc.Provinces[9].CommanderCount, 0);
}

TEST_F(CommanderRules, SitesCommitBySlotWithoutPacking) {
    std::array<SiteSlotInput, 4> siteInputs = {SiteSlotOf(doc, 5, 0), SiteSlotInput{"101", "Fire Well", true},
                                          SiteSlotInput{"-1", "", false}, SiteSlotInput{"100", "Iron Mine", false}};
    CommitSites(doc, 5, true, siteInputs, nodes);
    const ProvinceDataType& p = doc.Provinces[5];
    EXPECT_TRUE(p.KillFeatures);
    EXPECT_EQ(p.KnownSiteName[1], "Fire Well");
    EXPECT_EQ(p.KnownSiteIndex[1], 101);
    EXPECT_TRUE(p.SiteName[1].empty());
    EXPECT_EQ(p.SiteIndex[1], -1);
    EXPECT_TRUE(p.SiteName[2].empty() && p.KnownSiteName[2].empty());
    EXPECT_EQ(p.SiteIndex[3], 100);
    EXPECT_EQ(tree.parent("5 KNOWNSITE 1"), "5 SITES");
    EXPECT_EQ(tree.caption("5 SITE 3"), "Iron Mine");
    EXPECT_FALSE(tree.has("5 SITE 1"));
    EXPECT_EQ(tree.expanded, std::vector<std::string>{"5 SITES"});

    // Unchecking the known box moves the site back; removing every site removes the group.
    siteInputs[1].known = false;
    CommitSites(doc, 5, false, siteInputs, nodes);
    EXPECT_EQ(p.SiteName[1], "Fire Well");
    EXPECT_TRUE(p.KnownSiteName[1].empty());
    EXPECT_TRUE(tree.has("5 SITE 1"));
    CommitSites(doc, 5, false, {}, nodes);
    EXPECT_FALSE(tree.has("5 SITES"));
    EXPECT_EQ(p.SiteIndex[0], -1);
}

TEST_F(CommanderRules, SiteGemsAndUnitsOverTheProvincesSites) {
    const ReferenceData& ref = *map.ref;
    EXPECT_EQ(SiteGemTotals(ref, {100, 101, -1, 0}), (std::array<int, 8>{1, 0, 0, 2, 0, 0, 0, 0}));
    EXPECT_EQ(SiteGemTotals(ref, {101, 101, -1, -1})[0], 2);
    EXPECT_EQ(SiteUnits(ref, {100, 101, -1, -1}, false), std::vector<int>{21}); // each unit once
    EXPECT_EQ(SiteUnits(ref, {100, 101, -1, -1}, true), std::vector<int>{13});
    // The table's -666 entry is shown once, as the picture -0666.jpg.
    map.ref->SiteData[101].summons[1] = -666;
    map.ref->SiteData[100].summons[2] = -666;
    EXPECT_EQ(SiteUnits(ref, {100, 101, -1, -1}, true), (std::vector<int>{-666, 13}));
    TempFolder program;
    program.write(QStringLiteral("TSsprites/-0666.jpg"), "jpg");
    EXPECT_EQ(UnitPicturePath(program.path(), -666), program.file(QStringLiteral("TSsprites/-0666.jpg")));
}
