#include "navigatormodel.h"
#include "smallmap.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

using namespace ts;

TEST(NavigatorBuild, FixedNodesThenNationsThenProvincesWithTheirChildrenInOrder) {
    editingtest::SmallMap map;
    MapDocument& doc = *map.doc;
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
    EXPECT_EQ(BuildNavigatorNodes(doc, *map.ref), expected);
    // Looking at the empty slots builds none of them (a big map would take all their memory).
    EXPECT_FALSE(doc.Provinces[1].Commanders.built(1) || doc.Provinces[2].Commanders.built(0));

    // The records keep their node strings, which the tree later refreshes from.
    const CommanderDataType& god = doc.Nations[5].God;
    EXPECT_EQ(std::tie(god.NodeParentKey, god.NodeKey, god.NodeText),
              std::tie("1 COMMANDERS", "1 COM 0", "0 Wyrm"));
    EXPECT_EQ(doc.Provinces[1].Commanders[3].NodeText, "3 Warlord");
    EXPECT_TRUE(doc.Nations[10].God.NodeKey.empty());
    EXPECT_TRUE(doc.Nations[30].NodeKey.empty());
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
        auto& c = h.commit;
        for (auto [hook, name] : {std::pair{&h.hideSelectionFrames, "hideSelectionFrames"},
                                  {&h.writeRecoveryFile, "recovery"},
                                  {&c.header, "header"},
                                  {&c.commanderStrip, "commanderStrip"},
                                  {&c.province, "province"},
                                  {&c.sites, "sites"},
                                  {&c.startAndOwner, "startAndOwner"},
                                  {&c.victory, "victory"},
                                  {&c.commanderDetail, "commanderDetail"},
                                  {&c.nation, "nation"},
                                  {&c.redrawSpecialMarks, "redraw"}})
            *hook = rec(name);
        h.selectProvince = [this](int p, bool left) { selected.emplace_back(p, left); };
        h.stopSelection = [this] { ++stopped; };
        h.showPanel = [this](Panel panel, int p, int cm, int n) { shown.push_back({panel, p, cm, n}); };
    }
};

} // namespace

TEST_F(NodeClickTest, EachKeySelectsWhatItStandsForAndShowsItsPanel) {
    const struct {
        const char* key;
        Shown want; // also the selection afterwards
    } cases[] = {
        {"12 COM 3", {Panel::Commanders, 12, 3, kNone}},
        {"2599 COM 39", {Panel::Commanders, 2599, 39, kNone}},
        {"7 SITE 1", {Panel::Provinces, 7, kNone, kNone}},
        {"7 KNOWNSITE 0", {Panel::Provinces, 7, kNone, kNone}},
        {"3 COMMANDERS", {Panel::Provinces, 3, kNone, kNone}}, // the same province: the map stays
        {"5 NATION", {Panel::GodsAndNations, 1, 0, 5}},        // the god at its special start
        {"10 NATION", {Panel::GodsAndNations, kNone, kNone, 10}},
        {"MAP", {Panel::Map, kNone, kNone, kNone}},
        {"AEA", {Panel::AllowedNations, kNone, kNone, kNone}},
        {"GLA", {Panel::GodsAndNations, kNone, kNone, kNone}},
        {"PROVINCES", {Panel::Provinces, kNone, kNone, kNone}},
        {"NEIGHBOURS", {Panel::Neighbours, kNone, kNone, kNone}},
        // Keys of no known form, or out of range, choose nothing.
        {"12 FORT", {Panel::None, kNone, kNone, kNone}},
        {"12 COM 40", {Panel::None, kNone, kNone, kNone}},
        {"12 COM 3 4", {Panel::None, kNone, kNone, kNone}},
        {"0 PROV", {Panel::None, kNone, kNone, kNone}},
        {"2600 PROV", {Panel::None, kNone, kNone, kNone}},
        {"100 NATION", {Panel::None, kNone, kNone, kNone}},
        {"x PROV", {Panel::None, kNone, kNone, kNone}},
    };
    for (const auto& [key, want] : cases) {
        model.NodeClick("3 PROV");
        doc.CurCommander = doc.CurGodNation = 5;
        shown.clear();
        selected.clear();
        stopped = 0;
        model.NodeClick(key, true);
        EXPECT_EQ(shown, std::vector<Shown>{want}) << key;
        EXPECT_EQ(model.currentPanel(), want.panel) << key;
        EXPECT_EQ((std::tuple<int, int, int>(doc.CurProvince, doc.CurCommander, doc.CurGodNation)),
                  std::tie(want.province, want.commander, want.nation))
            << key;
        const bool moved = want.province != kNone && want.province != 3;
        EXPECT_EQ(selected, (moved ? Selected{{want.province, true}} : Selected{})) << key;
        EXPECT_EQ(stopped, want.province == kNone ? 1 : 0) << key;
    }
}

TEST_F(NodeClickTest, CommitsDirtyPanelsInTheirFixedOrderWithTheOldSelection) {
    model.NodeClick("7 PROV");
    EXPECT_EQ(calls, std::vector<std::string>{"hideSelectionFrames"}); // nothing dirty: no recovery copy
    EXPECT_FALSE(doc.MapModified);
    calls.clear();
    // The commits still see the old selection, and the recovery copy the changed map.
    model.hooks.commit.header = [&] { calls.push_back("header of " + std::to_string(doc.CurProvince)); };
    model.hooks.writeRecoveryFile = [&] { calls.push_back(doc.MapModified ? "recovery" : "unmodified"); };
    std::ranges::fill(doc.PanelDirty, true);
    model.NodeClick("12 COM 3");
    EXPECT_EQ(calls, (std::vector<std::string>{"hideSelectionFrames", "header of 7", "commanderStrip",
                                               "province", "sites", "startAndOwner", "redraw", "victory",
                                               "redraw", "commanderDetail", "nation", "recovery"}));
    EXPECT_TRUE(std::ranges::none_of(doc.PanelDirty, std::identity{}));
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

TEST(PanelLayout, EachChoiceShowsItsFramesFillsItsPartsAndSetsTheTools) {
    using Frames = std::set<std::string_view>;
    const Frames province = {"fraProvince", "fraProvinceCommanders1", "fraSites", "fraStartAndOwner",
                             "fraVictoryPoints"};
    const Frames commander = {"fraCommander", "fraCommanderBodyGuards", "fraCommanderUnits"};
    const auto unite = [](Frames a, const Frames& b) {
        a.insert(b.begin(), b.end());
        return a;
    };
    const Frames nation = unite({"fraGodAndNation"}, commander);
    constexpr ToolRule S = ToolRule::Show, H = ToolRule::Hide, K = ToolRule::Keep;
    const struct {
        Panel panel;
        int province, nation;
        Frames frames;
        ToolPanels tools;
        const char* fills; // map header, nation, province, commander detail
    } cases[] = {
        {Panel::Map, -999, -999, {"fraMap"}, {}, "M..."},
        {Panel::AllowedNations, -999, -999, {"fraMap"}, {}, "M..."},
        {Panel::GodsAndNations, -999, -999, {"fraMap"}, {}, "M..."},
        {Panel::Provinces, 12, -999, province, {S, S, S}, "..P."},
        {Panel::Commanders, 12, -999, unite(province, commander), {S, S, S}, "..PC"},
        {Panel::AllowedNations, 1, 5, nation, {}, ".N.."}, // special start or not
        {Panel::GodsAndNations, -999, 5, nation, {H, H, H}, ".N.."},
        // A god with a special start is edited along with its province; province 0 is never a start.
        {Panel::GodsAndNations,
         1,
         5,
         unite(unite(province, commander), {"fraGodAndNation"}),
         {S, S, K},
         ".NP."},
        {Panel::GodsAndNations, 0, 5, nation, {H, H, H}, ".N.."},
        {Panel::Neighbours, 3, 4, {}, {H, H, H}, "...."},
        {Panel::None, 3, 4, {}, {H, H, H}, "...."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << static_cast<int>(c.panel) << " " << c.province << " " << c.nation);
        const PanelLayout l = ChoosePanelLayout(c.panel, c.province, c.nation);
        EXPECT_EQ(Frames(l.frames.begin(), l.frames.end()), c.frames);
        EXPECT_EQ(l.tools, c.tools);
        const bool fills[] = {l.fillMapHeader, l.fillNation, l.fillProvince, l.fillCommanderDetail};
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(fills[k], c.fills[k] != '.') << "fill " << k;
    }
}
