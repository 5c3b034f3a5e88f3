#include "navigatormodel.h"
#include "smallmap.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace ts;

namespace {

std::vector<NavigatorNode> childrenOf(const std::vector<NavigatorNode>& nodes, const std::string& parent) {
    std::vector<NavigatorNode> out;
    for (const NavigatorNode& n : nodes)
        if (n.parentKey == parent) out.push_back(n);
    return out;
}

const NavigatorNode* find(const std::vector<NavigatorNode>& nodes, const std::string& key) {
    for (const NavigatorNode& n : nodes)
        if (n.key == key) return &n;
    return nullptr;
}

struct NavigatorBuildTest : ::testing::Test {
    editingtest::SmallMap map;
    MapDocument& doc = *map.doc;
    ReferenceData& ref = *map.ref;
};

} // namespace

TEST_F(NavigatorBuildTest, BuildsFixedNodesThenNationsThenProvincesWithTheirChildrenInOrder) {
    const std::vector<NavigatorNode> expected = {
        {"", "MAP", "Map"},
        {"MAP", "ALLOWEDNATIONS", "Allowed Nations"},
        {"ALLOWEDNATIONS", "AEA", "Early"},
        {"ALLOWEDNATIONS", "AMA", "Mid"},
        {"ALLOWEDNATIONS", "ALA", "Late"},
        {"MAP", "GODSANDNATIONS", "Gods and Nations"},
        {"GODSANDNATIONS", "GEA", "Early"},
        {"GODSANDNATIONS", "GMA", "Mid"},
        {"GODSANDNATIONS", "GLA", "Late"},
        {"MAP", "PROVINCES", "Provinces"},
        {"MAP", "NEIGHBOURS", "Neighbours"},
        {"GEA", "5 NATION", "EA Valdren"},
        {"GMA", "10 NATION", "MA Osk"},
        {"GLA", "20 NATION", "LA Tirn"},
        {"PROVINCES", "1 PROV", "1 Gath"},
        {"1 PROV", "1 FORT", "Palisade"},
        {"1 PROV", "1 TEMPLE", "Temple"},
        {"1 PROV", "1 LAB", "Lab"},
        {"1 PROV", "1 SITES", "Sites"},
        {"1 SITES", "1 SITE 0", "Iron Mine"},
        {"1 SITES", "1 SITE 2", "Forest of Ash"},
        {"1 SITES", "1 KNOWNSITE 1", "Hidden Grove"},
        {"1 PROV", "1 COMMANDERS", "Commanders"},
        {"1 COMMANDERS", "1 COM 0", "0 Wyrm"},
        {"1 COMMANDERS", "1 COM 3", "3 Warlord"},
        {"PROVINCES", "2 PROV", "2 Prov"},
    };
    EXPECT_EQ(BuildNavigatorNodes(doc, ref), expected);
}

TEST_F(NavigatorBuildTest, TwoSitesAndOneKnownSiteMakeOneSitesNodeWithThreeChildren) {
    doc.Provinces[2].KnownSiteName[3] = "Lone Shrine";
    const auto nodes = BuildNavigatorNodes(doc, ref);
    EXPECT_EQ(childrenOf(nodes, "1 SITES").size(), 3u);
    // A known site alone is enough for the group.
    ASSERT_EQ(childrenOf(nodes, "2 SITES").size(), 1u);
    EXPECT_EQ(childrenOf(nodes, "2 SITES")[0].key, "2 KNOWNSITE 3");
    EXPECT_EQ(find(nodes, "2 SITES")->parentKey, "2 PROV");
}

TEST_F(NavigatorBuildTest, EmptyProvincesHaveNoGroupsAndUnsetFortsNoNode) {
    doc.Provinces[2].Fort = 0;
    doc.Provinces[1].Fort = 60; // beyond the fort table
    const auto nodes = BuildNavigatorNodes(doc, ref);
    EXPECT_TRUE(childrenOf(nodes, "2 PROV").empty());
    ASSERT_NE(find(nodes, "1 FORT"), nullptr);
    EXPECT_EQ(find(nodes, "1 FORT")->caption, "60");
}

TEST_F(NavigatorBuildTest, StoresEachRecordsNodeStringsAndClearsThoseWithoutANode) {
    doc.Provinces[1].Commanders[7].NodeKey = "1 COM 7"; // left over from an earlier build
    doc.Nations[30].NodeKey = "30 NATION";
    BuildNavigatorNodes(doc, ref);

    const ProvinceDataType& p1 = doc.Provinces[1];
    EXPECT_EQ(p1.NodeParentKey, "PROVINCES");
    EXPECT_EQ(p1.NodeKey, "1 PROV");
    EXPECT_EQ(p1.NodeText, "1 Gath");
    EXPECT_EQ(p1.Commanders[3].NodeParentKey, "1 COMMANDERS");
    EXPECT_EQ(p1.Commanders[3].NodeKey, "1 COM 3");
    EXPECT_EQ(p1.Commanders[3].NodeText, "3 Warlord");
    EXPECT_TRUE(p1.Commanders[7].NodeKey.empty());

    EXPECT_EQ(doc.Nations[10].NodeParentKey, "GMA");
    EXPECT_EQ(doc.Nations[10].NodeKey, "10 NATION");
    EXPECT_EQ(doc.Nations[10].NodeText, "MA Osk");
    EXPECT_TRUE(doc.Nations[30].NodeKey.empty());
    EXPECT_TRUE(doc.Nations[30].NodeParentKey.empty());
    EXPECT_TRUE(doc.Nations[0].NodeKey.empty());
}

TEST_F(NavigatorBuildTest, GodNodeStringsOnlyForAGodWithASpecialStart) {
    doc.Nations[10].GodName = "Lich";
    doc.Nations[10].God.UnitName = "Lich"; // no special start
    doc.Nations[20].SpecStartProvince = 2; // a start but no god
    BuildNavigatorNodes(doc, ref);

    const CommanderDataType& god = doc.Nations[5].God;
    EXPECT_EQ(god.NodeParentKey, "1 COMMANDERS");
    EXPECT_EQ(god.NodeKey, "1 COM 0");
    EXPECT_EQ(god.NodeText, "0 Wyrm");
    EXPECT_TRUE(doc.Nations[10].God.NodeKey.empty());
    EXPECT_TRUE(doc.Nations[20].God.NodeKey.empty());
}

TEST_F(NavigatorBuildTest, AnAllowedPlayerHangsUnderTheAllowedEraAndMovesBack) {
    EXPECT_EQ(NationEraParent(doc, ref, 5), "GEA");
    doc.Nations[5].AllowedPlayer = true;
    doc.Nations[20].AllowedPlayer = true;
    auto nodes = BuildNavigatorNodes(doc, ref);
    EXPECT_EQ(find(nodes, "5 NATION")->parentKey, "AEA");
    EXPECT_EQ(find(nodes, "20 NATION")->parentKey, "ALA");
    EXPECT_TRUE(childrenOf(nodes, "GEA").empty());

    doc.Nations[5].AllowedPlayer = false;
    EXPECT_TRUE(SetNationNodeStrings(doc, ref, 5));
    EXPECT_EQ(doc.Nations[5].NodeParentKey, "GEA");
    EXPECT_EQ(doc.Nations[5].NodeKey, "5 NATION");

    doc.Nations[30].AllowedPlayer = true; // an unknown era stays without a node either way
    EXPECT_FALSE(SetNationNodeStrings(doc, ref, 30));
    EXPECT_EQ(NationEraParent(doc, ref, 30), "");
}

TEST_F(NavigatorBuildTest, ProvincesBeyondTheLocatedCountAreLeftOut) {
    doc.Provinces[3].LandName = "Beyond";
    EXPECT_EQ(find(BuildNavigatorNodes(doc, ref), "3 PROV"), nullptr);
    doc.ProvinceCount = 0;
    EXPECT_EQ(BuildNavigatorNodes(doc, ref).size(), 14u); // fixed nodes and nations only
}

TEST(NodeKeyParsing, SplitsIntoAtMostThreeWordsAndReadsTheSecond) {
    struct Case {
        const char* key;
        NodeTarget::Kind kind;
        int province, commander, nation;
    };
    const Case cases[] = {
        {"12 PROV", NodeTarget::Province, 12, -1, -1},
        {"12 SITES", NodeTarget::Province, 12, -1, -1},
        {"12 SITE 3", NodeTarget::Province, 12, -1, -1},
        {"12 KNOWNSITE 0", NodeTarget::Province, 12, -1, -1},
        {"12 COM 3", NodeTarget::Commander, 12, 3, -1},
        {"2599 COM 39", NodeTarget::Commander, 2599, 39, -1},
        {"7 NATION", NodeTarget::Nation, -1, -1, 7},
        {"0 NATION", NodeTarget::Nation, -1, -1, 0},
        {"MAP", NodeTarget::Fixed, -1, -1, -1},
        {"GEA", NodeTarget::Fixed, -1, -1, -1},
        // Forms the navigator does not know select nothing.
        {"12 FORT", NodeTarget::Unknown, -1, -1, -1},
        {"12 COM", NodeTarget::Unknown, -1, -1, -1},
        {"12 COM 40", NodeTarget::Unknown, -1, -1, -1},
        {"12 COM 3 4", NodeTarget::Unknown, -1, -1, -1},
        {"x PROV", NodeTarget::Unknown, -1, -1, -1},
        {"0 PROV", NodeTarget::Unknown, -1, -1, -1},
        {"2600 PROV", NodeTarget::Unknown, -1, -1, -1},
        {"100 NATION", NodeTarget::Unknown, -1, -1, -1},
        {"", NodeTarget::Unknown, -1, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        const NodeTarget t = ParseNodeKey(c.key);
        EXPECT_EQ(t.kind, c.kind);
        EXPECT_EQ(t.province, c.province);
        EXPECT_EQ(t.commander, c.commander);
        EXPECT_EQ(t.nation, c.nation);
    }
}

namespace {

struct Shown {
    Panel panel;
    int province, commander, nation;
    bool operator==(const Shown&) const = default;
};

struct NodeClickTest : ::testing::Test {
    editingtest::SmallMap map;
    MapDocument& doc = *map.doc;
    NavigatorModel model{*map.doc, *map.ref};
    std::vector<std::string> calls;
    std::vector<Shown> shown;
    std::vector<std::pair<int, bool>> selected;
    int stopped = 0;
    int recoveryWrites = 0;

    NodeClickTest() {
        doc.ProvinceCount = 20;
        doc.Provinces[12].Commanders[3].UnitName = "Warlord";
        BuildNavigatorNodes(doc, *map.ref);
        auto& h = model.hooks;
        h.hideSelectionFrames = [this] { calls.push_back("hideSelectionFrames"); };
        h.selectProvince = [this](int p, bool left) { selected.emplace_back(p, left); };
        h.stopSelection = [this] { ++stopped; };
        h.showPanel = [this](Panel panel, int p, int c, int n) { shown.push_back({panel, p, c, n}); };
        h.writeRecoveryFile = [this] {
            ++recoveryWrites;
            calls.push_back("recovery");
        };
    }

    void recordCommits() {
        auto& c = model.hooks.commit;
        const auto rec = [this](const char* name) { return [this, name] { calls.push_back(name); }; };
        c.header = rec("header");
        c.commanderStrip = rec("commanderStrip");
        c.province = rec("province");
        c.sites = rec("sites");
        c.startAndOwner = rec("startAndOwner");
        c.victory = rec("victory");
        c.commanderDetail = rec("commanderDetail");
        c.nation = rec("nation");
        c.redrawSpecialMarks = rec("redraw");
    }
};

} // namespace

TEST_F(NodeClickTest, ACommanderNodeSelectsItsProvinceAndSlotAndShowsTheCommanderPanels) {
    doc.CurBodyguardSlot = 4;
    bool commanderPickedWhileShown = false;
    model.hooks.showPanel = [&](Panel panel, int p, int c, int n) {
        shown.push_back({panel, p, c, n});
        commanderPickedWhileShown = model.slotPicks().commander;
    };
    model.NodeClick("12 COM 3", true);

    EXPECT_EQ(doc.CurProvince, 12);
    EXPECT_EQ(doc.CurCommander, 3);
    EXPECT_EQ(doc.CurBodyguardSlot, kNone);
    EXPECT_EQ(shown, (std::vector<Shown>{{Panel::Commanders, 12, 3, kNone}}));
    EXPECT_EQ(selected, (std::vector<std::pair<int, bool>>{{12, true}}));
    EXPECT_TRUE(commanderPickedWhileShown);
    EXPECT_FALSE(model.slotPicks().commander); // cleared with the dirty flags
    EXPECT_EQ(model.currentPanel(), Panel::Commanders);
}

TEST_F(NodeClickTest, APickedBodyguardStackSurvivesTheSelectionOfItsCommander) {
    model.slotPicks().bodyguard = true;
    doc.CurBodyguardSlot = 4;
    model.NodeClick("12 COM 3");
    EXPECT_EQ(doc.CurBodyguardSlot, 4);
    EXPECT_FALSE(model.slotPicks().bodyguard);
}

TEST_F(NodeClickTest, ProvinceFormsSelectTheProvinceAndResetTheSlots) {
    for (const char* key : {"7 PROV", "7 SITES", "7 SITE 1", "7 KNOWNSITE 2", "7 COMMANDERS"}) {
        SCOPED_TRACE(key);
        doc.CurCommander = 5;
        doc.CurSiteSlot = 1;
        doc.CurKnownSiteSlot = 1;
        doc.CurItemSlot = 2;
        doc.CurUnitSlot = 3;
        doc.CurGodNation = 8;
        shown.clear();
        model.NodeClick(key);
        EXPECT_EQ(doc.CurProvince, 7);
        EXPECT_EQ(doc.CurCommander, kNone);
        EXPECT_EQ(doc.CurSiteSlot, kNone);
        EXPECT_EQ(doc.CurKnownSiteSlot, kNone);
        EXPECT_EQ(doc.CurItemSlot, kNone);
        EXPECT_EQ(doc.CurUnitSlot, kNone);
        EXPECT_EQ(doc.CurGodNation, kNone);
        EXPECT_EQ(shown, (std::vector<Shown>{{Panel::Provinces, 7, kNone, kNone}}));
    }
    // The map only moves when the province changes.
    EXPECT_EQ(selected, (std::vector<std::pair<int, bool>>{{7, false}}));
}

TEST_F(NodeClickTest, ANationWithoutSpecialStartSelectsOnlyTheNation) {
    model.NodeClick("7 PROV");
    model.NodeClick("10 NATION");
    EXPECT_EQ(doc.CurGodNation, 10);
    EXPECT_EQ(doc.CurProvince, kNone);
    EXPECT_EQ(doc.CurCommander, kNone);
    EXPECT_EQ(stopped, 1);
    EXPECT_EQ(shown.back(), (Shown{Panel::GodsAndNations, kNone, kNone, 10}));
}

TEST_F(NodeClickTest, ANationWithSpecialStartAlsoSelectsItsGodsProvinceAndSlot) {
    model.NodeClick("5 NATION", true);
    EXPECT_EQ(doc.CurGodNation, 5);
    EXPECT_EQ(doc.CurProvince, 1);
    EXPECT_EQ(doc.CurCommander, 0);
    EXPECT_EQ(selected, (std::vector<std::pair<int, bool>>{{1, true}}));
    EXPECT_EQ(stopped, 0);
    EXPECT_EQ(shown.back(), (Shown{Panel::GodsAndNations, 1, 0, 5}));
}

TEST_F(NodeClickTest, ANationShowsTheGroupOfTheEraNodeItHangsUnder) {
    doc.Nations[20].AllowedPlayer = true;
    SetNationNodeStrings(doc, *map.ref, 20);
    model.NodeClick("20 NATION");
    EXPECT_EQ(shown.back().panel, Panel::AllowedNations);
}

TEST_F(NodeClickTest, FixedNodesChooseTheirPanelsWithNothingSelected) {
    const std::pair<const char*, Panel> cases[] = {
        {"MAP", Panel::Map},
        {"AEA", Panel::AllowedNations},
        {"GODSANDNATIONS", Panel::GodsAndNations},
        {"GLA", Panel::GodsAndNations},
        {"PROVINCES", Panel::Provinces},
        {"NEIGHBOURS", Panel::Neighbours},
        {"12 FORT", Panel::None},
        {"NOWHERE", Panel::None},
    };
    for (const auto& [key, panel] : cases) {
        SCOPED_TRACE(key);
        model.NodeClick("3 PROV");
        model.NodeClick(key);
        EXPECT_EQ(shown.back(), (Shown{panel, kNone, kNone, kNone}));
        EXPECT_EQ(doc.CurProvince, kNone);
    }
}

TEST_F(NodeClickTest, CommitsDirtyPanelsInTheirFixedOrderBeforeTheSelectionChanges) {
    recordCommits();
    std::vector<int> provinceDuringCommit;
    model.hooks.commit.header = [&] {
        calls.push_back("header");
        provinceDuringCommit.push_back(doc.CurProvince);
    };
    model.NodeClick("7 PROV");
    calls.clear();
    for (bool& d : doc.PanelDirty)
        d = true;
    model.NodeClick("12 COM 3");

    const std::vector<std::string> expected = {"hideSelectionFrames",
                                               "header",
                                               "commanderStrip",
                                               "province",
                                               "sites",
                                               "startAndOwner",
                                               "redraw",
                                               "victory",
                                               "redraw",
                                               "commanderDetail",
                                               "nation",
                                               "recovery"};
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(provinceDuringCommit, std::vector<int>{7}); // committed with the old selection
}

TEST_F(NodeClickTest, ACommitThatDirtiesALaterPanelHasThatPanelCommittedToo) {
    recordCommits();
    model.hooks.commit.commanderStrip = [&] {
        calls.push_back("commanderStrip");
        doc.PanelDirty[ProvinceDirty] = true; // as the strip's commit does
    };
    doc.PanelDirty[CommanderDirty] = true;
    model.NodeClick("1 PROV");
    EXPECT_EQ(calls,
              (std::vector<std::string>{"hideSelectionFrames", "commanderStrip", "province", "recovery"}));
}

TEST_F(NodeClickTest, OnlyACommitMarksTheMapChangedAndWritesTheRecoveryCopy) {
    model.NodeClick("1 PROV");
    EXPECT_FALSE(doc.MapModified);
    EXPECT_EQ(recoveryWrites, 0);

    doc.PanelDirty[NationDirty] = true;
    doc.PanelDirty[PanelDirty8] = true; // no panel sets it, but it counts like the others
    bool modifiedBeforeWrite = false;
    model.hooks.writeRecoveryFile = [&] {
        ++recoveryWrites;
        modifiedBeforeWrite = doc.MapModified;
    };
    model.NodeClick("2 PROV");
    EXPECT_TRUE(doc.MapModified);
    EXPECT_TRUE(modifiedBeforeWrite);
    EXPECT_EQ(recoveryWrites, 1);
    for (bool d : doc.PanelDirty)
        EXPECT_FALSE(d);
    EXPECT_TRUE(model.panelReady());
}

TEST_F(NodeClickTest, PanelsAreNotReadyWhileTheyAreFilledSoFillingMarksNothingDirty) {
    EXPECT_FALSE(model.PanelChanged(ProvinceDirty)); // nothing chosen yet
    bool readyWhileShown = true;
    model.hooks.showPanel = [&](Panel, int, int, int) {
        readyWhileShown = model.panelReady();
        model.PanelChanged(ProvinceDirty); // a control raising its change event while being filled
        model.NodeClick("2 PROV");         // and a selection arriving from the map meanwhile
    };
    model.NodeClick("1 PROV");
    EXPECT_FALSE(readyWhileShown);
    EXPECT_FALSE(doc.MapModified);
    EXPECT_EQ(doc.CurProvince, 1);

    EXPECT_TRUE(model.PanelChanged(ProvinceDirty));
    EXPECT_TRUE(doc.PanelDirty[ProvinceDirty]);
}

TEST_F(NodeClickTest, CommitOnlyKeepsTheSelectionAndShowsTheSamePanelAgain) {
    recordCommits();
    model.NodeClick("12 COM 3");
    calls.clear();
    shown.clear();
    selected.clear();
    model.PanelChanged(CommanderDetailDirty);

    model.NodeClick();

    EXPECT_EQ(calls, (std::vector<std::string>{"hideSelectionFrames", "commanderDetail", "recovery"}));
    EXPECT_EQ(shown, (std::vector<Shown>{{Panel::Commanders, 12, 3, kNone}}));
    EXPECT_TRUE(selected.empty());
    EXPECT_EQ(doc.CurProvince, 12);
    EXPECT_TRUE(doc.MapModified);
    EXPECT_FALSE(doc.PanelDirty[CommanderDetailDirty]);
    EXPECT_TRUE(model.panelReady());
}
