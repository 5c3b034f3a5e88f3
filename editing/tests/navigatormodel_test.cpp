#include "navigatormodel.h"
#include "smallmap.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace ts;

namespace {

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
        {"GLA", "20 NATION", "LA Tirn"}, // 30's era is unknown: no node
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
    doc.Nations[30].NodeKey = "30 NATION";                           // left over from an earlier build
    doc.Nations[10].GodName = doc.Nations[10].God.UnitName = "Lich"; // a god without a special start
    EXPECT_EQ(BuildNavigatorNodes(doc, ref), expected);

    // Each record keeps its node strings; a god only with a special start.
    const CommanderDataType& god = doc.Nations[5].God;
    EXPECT_EQ(std::tie(god.NodeParentKey, god.NodeKey, god.NodeText),
              std::tie("1 COMMANDERS", "1 COM 0", "0 Wyrm"));
    EXPECT_EQ(doc.Provinces[1].Commanders[3].NodeText, "3 Warlord");
    EXPECT_EQ(doc.Nations[10].NodeParentKey, "GMA");
    EXPECT_TRUE(doc.Nations[10].God.NodeKey.empty());
    EXPECT_TRUE(doc.Nations[30].NodeKey.empty());
}

TEST_F(NavigatorBuildTest, AnAllowedPlayerHangsUnderTheAllowedEra) {
    doc.Nations[5].AllowedPlayer = true;
    doc.Nations[20].AllowedPlayer = true;
    const auto nodes = BuildNavigatorNodes(doc, ref);
    EXPECT_EQ(find(nodes, "5 NATION")->parentKey, "AEA");
    EXPECT_EQ(find(nodes, "20 NATION")->parentKey, "ALA");

    doc.Nations[30].AllowedPlayer = true; // an unknown era stays without a node either way
    EXPECT_FALSE(SetNationNodeStrings(doc, ref, 30));
    EXPECT_EQ(NationEraParent(doc, ref, 30), "");
}

TEST(NodeKeyParsing, SplitsIntoAtMostThreeWordsAndReadsTheSecond) {
    const struct {
        const char* key;
        NodeTarget::Kind kind;
        int province, commander, nation;
    } cases[] = {
        {"12 PROV", NodeTarget::Province, 12, -1, -1},
        {"12 KNOWNSITE 0", NodeTarget::Province, 12, -1, -1},
        {"2599 COM 39", NodeTarget::Commander, 2599, 39, -1},
        {"0 NATION", NodeTarget::Nation, -1, -1, 0},
        {"GEA", NodeTarget::Fixed, -1, -1, -1},
        {"12 FORT", NodeTarget::Unknown, -1, -1, -1},
        {"12 COM 40", NodeTarget::Unknown, -1, -1, -1},
        {"12 COM 3 4", NodeTarget::Unknown, -1, -1, -1},
        {"0 PROV", NodeTarget::Unknown, -1, -1, -1},
        {"2600 PROV", NodeTarget::Unknown, -1, -1, -1},
        {"100 NATION", NodeTarget::Unknown, -1, -1, -1},
        {"x PROV", NodeTarget::Unknown, -1, -1, -1},
    };
    for (const auto& c : cases) {
        const NodeTarget t = ParseNodeKey(c.key);
        EXPECT_EQ(std::tie(t.kind, t.province, t.commander, t.nation),
                  std::tie(c.kind, c.province, c.commander, c.nation))
            << c.key;
    }
}

namespace {

struct Shown {
    Panel panel;
    int province, commander, nation;
    bool operator==(const Shown&) const = default;
};
using Selected = std::vector<std::pair<int, bool>>;

struct NodeClickTest : ::testing::Test {
    editingtest::SmallMap map;
    MapDocument& doc = *map.doc;
    NavigatorModel model{*map.doc, *map.ref};
    std::vector<std::string> calls;
    std::vector<Shown> shown;
    Selected selected;
    int stopped = 0;

    NodeClickTest() {
        doc.ProvinceCount = 20;
        doc.Provinces[12].Commanders[3].UnitName = "Warlord";
        BuildNavigatorNodes(doc, *map.ref);
        auto& h = model.hooks;
        const auto rec = [this](const char* name) { return [this, name] { calls.push_back(name); }; };
        h.hideSelectionFrames = rec("hideSelectionFrames");
        h.writeRecoveryFile = rec("recovery");
        h.selectProvince = [this](int p, bool left) { selected.emplace_back(p, left); };
        h.stopSelection = [this] { ++stopped; };
        h.showPanel = [this](Panel panel, int p, int c, int n) { shown.push_back({panel, p, c, n}); };
        auto& c = h.commit;
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
    model.NodeClick("12 COM 3", true);
    EXPECT_EQ(doc.CurProvince, 12);
    EXPECT_EQ(doc.CurCommander, 3);
    EXPECT_EQ(doc.CurBodyguardSlot, kNone);
    EXPECT_EQ(shown, (std::vector<Shown>{{Panel::Commanders, 12, 3, kNone}}));
    EXPECT_EQ(selected, (Selected{{12, true}}));
    EXPECT_EQ(model.currentPanel(), Panel::Commanders);

    // Province forms reset the slots; the map only moves when the province changes.
    for (const char* key : {"7 PROV", "7 SITE 1", "7 COMMANDERS"}) {
        doc.CurCommander = doc.CurSiteSlot = doc.CurGodNation = 5;
        model.NodeClick(key);
        EXPECT_EQ(std::tie(doc.CurProvince, doc.CurCommander, doc.CurSiteSlot, doc.CurGodNation),
                  std::make_tuple(7, kNone, kNone, kNone))
            << key;
        EXPECT_EQ(shown.back(), (Shown{Panel::Provinces, 7, kNone, kNone})) << key;
    }
    EXPECT_EQ(selected, (Selected{{12, true}, {7, false}}));
}

TEST_F(NodeClickTest, ANationSelectsItsGodsProvinceOnlyWithASpecialStart) {
    model.NodeClick("10 NATION");
    EXPECT_EQ(std::tie(doc.CurGodNation, doc.CurProvince, doc.CurCommander),
              std::make_tuple(10, kNone, kNone));
    EXPECT_EQ(stopped, 1);
    EXPECT_EQ(shown.back(), (Shown{Panel::GodsAndNations, kNone, kNone, 10}));

    model.NodeClick("5 NATION", true);
    EXPECT_EQ(std::tie(doc.CurGodNation, doc.CurProvince, doc.CurCommander), std::make_tuple(5, 1, 0));
    EXPECT_EQ(selected, (Selected{{1, true}}));
    EXPECT_EQ(stopped, 1);
    EXPECT_EQ(shown.back(), (Shown{Panel::GodsAndNations, 1, 0, 5}));
}

TEST_F(NodeClickTest, FixedNodesChooseTheirPanelsWithNothingSelected) {
    const std::pair<const char*, Panel> cases[] = {
        {"MAP", Panel::Map},
        {"AEA", Panel::AllowedNations},
        {"GLA", Panel::GodsAndNations},
        {"PROVINCES", Panel::Provinces},
        {"NEIGHBOURS", Panel::Neighbours},
        {"12 FORT", Panel::None},
    };
    for (const auto& [key, panel] : cases) {
        model.NodeClick("3 PROV");
        model.NodeClick(key);
        EXPECT_EQ(shown.back(), (Shown{panel, kNone, kNone, kNone})) << key;
        EXPECT_EQ(doc.CurProvince, kNone) << key;
    }
}

TEST_F(NodeClickTest, CommitsDirtyPanelsInTheirFixedOrderWithTheOldSelection) {
    model.NodeClick("7 PROV");
    EXPECT_EQ(calls, std::vector<std::string>{"hideSelectionFrames"}); // nothing dirty: no recovery copy
    EXPECT_FALSE(doc.MapModified);
    calls.clear();
    std::vector<int> provinceDuringCommit;
    model.hooks.commit.header = [&] {
        calls.push_back("header");
        provinceDuringCommit.push_back(doc.CurProvince);
    };
    bool modifiedBeforeWrite = false;
    model.hooks.writeRecoveryFile = [&] {
        calls.push_back("recovery");
        modifiedBeforeWrite = doc.MapModified;
    };
    for (bool& d : doc.PanelDirty)
        d = true;
    model.NodeClick("12 COM 3");

    EXPECT_EQ(calls, (std::vector<std::string>{"hideSelectionFrames", "header", "commanderStrip", "province",
                                               "sites", "startAndOwner", "redraw", "victory", "redraw",
                                               "commanderDetail", "nation", "recovery"}));
    EXPECT_EQ(provinceDuringCommit, std::vector<int>{7});
    EXPECT_TRUE(modifiedBeforeWrite);
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
    };
    model.NodeClick("1 PROV");
    EXPECT_FALSE(readyWhileShown);
    EXPECT_FALSE(doc.PanelDirty[ProvinceDirty]);
    EXPECT_TRUE(model.PanelChanged(ProvinceDirty));
    EXPECT_TRUE(doc.PanelDirty[ProvinceDirty]);
}
