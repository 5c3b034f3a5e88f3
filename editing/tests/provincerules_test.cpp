#include "fakeuserinterface.h"
#include "provincerules.h"
#include "smallmap.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

using namespace ts;

namespace {

// Records what a commit does to the navigator, and keeps the keys that exist.
struct RecordedNodes {
    std::vector<std::string> ops;
    NodeEdits edits() {
        NodeEdits e;
        e.add = [this](std::string_view parent, std::string_view key, std::string_view caption) {
            ops.push_back("add " + std::string(key) + " < " + std::string(parent) + " : " +
                          std::string(caption));
        };
        e.remove = [this](std::string_view key) { ops.push_back("remove " + std::string(key)); };
        e.setCaption = [this](std::string_view key, std::string_view caption) {
            ops.push_back("caption " + std::string(key) + " : " + std::string(caption));
        };
        return e;
    }
};

TerrainBoxes boxes(std::initializer_list<int> checked) {
    TerrainBoxes b{};
    for (int i : checked)
        b[static_cast<std::size_t>(i)] = true;
    return b;
}

} // namespace

TEST(TerrainRules, InterlocksOfTheTerrainBoxes) {
    const struct {
        const char* what;
        TerrainBoxes after; // the boxes as the click left them
        int clicked;
        TerrainBoxes expected;
    } cases[] = {
        {"plains clears the ten others", boxes({0, 1, 2, 5, 8, 10}), 0, boxes({0})},
        {"unchecking plains changes nothing", boxes({3}), 0, boxes({3})},
        {"deep sea checks sea", boxes({2}), 2, boxes({1, 2})},
        {"deep sea with sea already", boxes({1, 2}), 2, boxes({1, 2})},
        {"border mountains clear mountains", boxes({4, 5}), 4, boxes({4})},
        {"mountains clear border mountains", boxes({4, 5}), 5, boxes({5})},
        {"any terrain clears plains", boxes({0, 8}), 8, boxes({8})},
        {"deep sea clears plains too", boxes({0, 2}), 2, boxes({1, 2})},
        {"unchecking a box leaves plains alone", boxes({0}), 9, boxes({0})},
        {"unchecking sea leaves deep sea", boxes({2}), 1, boxes({2})},
    };
    for (const auto& c : cases) {
        TerrainBoxes b = c.after;
        ApplyTerrainRule(b, c.clicked);
        EXPECT_EQ(b, c.expected) << c.what;
    }

    const struct {
        bool changed, other, expectedOther;
    } sizes[] = {{true, true, false}, {true, false, false}, {false, true, true}};
    for (const auto& s : sizes) {
        bool changed = s.changed, other = s.other;
        ApplySizeRule(changed, other);
        EXPECT_EQ(other, s.expectedOther);
        EXPECT_EQ(changed, s.changed);
    }

    EXPECT_EQ(TerrainBoxHint(4),
              "Terrain Tool: Province contains numerous mountains, but incur no movement penalty.");
    EXPECT_EQ(
        SiteTerrainBoxHint(5),
        "Terrain Tool: Sites are more likely to be of type astral when placed randomly in this province.");
    EXPECT_EQ(SiteTerrainBoxHint(0), "Terrain Tool: Magic sites are more common in this province.");
}

struct CommitTest : ::testing::Test {
    editingtest::SmallMap map;
    MapDocument& doc = *map.doc;
    RecordedNodes nodes;

    ProvinceForm formOf(int p) { return ProvinceFormOf(doc, p); }
    void commit(int p, const ProvinceForm& f) { CommitProvince(doc, *map.ref, p, f, nodes.edits()); }
};

TEST_F(CommitTest, TerrainBoxesBecomeTheMaskBits) {
    ProvinceForm f = formOf(2);
    f.terrain[1] = f.terrain[2] = f.terrain[4] = true; // sea, deep sea, border mountains
    commit(2, f);
    ComputeTerrainMask(doc, 2);
    EXPECT_EQ(doc.Provinces[2].Terrain, 4 + 2048 + 4194304);
    EXPECT_EQ(doc.Provinces[2].Terrain, 4196356);

    // Each box on its bit as the file format numbers them, box by box, and shown back on that box.
    const int terrainBit[] = {-1, 2, 11, 12, 22, 4, 6, 5, 7, 8, 3};
    const int siteBit[] = {10, 13, 14, 15, 16, 17, 18, 19, 20, 21};
    for (int i = 1; i < 11 + 10; ++i) {
        f = ProvinceForm{};
        const bool site = i >= 11;
        (site ? f.siteTerrain[static_cast<std::size_t>(i - 11)] : f.terrain[static_cast<std::size_t>(i)]) = true;
        commit(2, f);
        const int bit = site ? siteBit[i - 11] : terrainBit[i];
        EXPECT_TRUE(doc.Provinces[2].TerrainBit[bit]) << "box " << i << " bit " << bit;
        EXPECT_EQ(site ? formOf(2).siteTerrain[static_cast<std::size_t>(i - 11)] : formOf(2).terrain[static_cast<std::size_t>(i)], true);
    }

    f = ProvinceForm{};
    f.terrain[0] = true;
    commit(2, f);
    ComputeTerrainMask(doc, 2);
    EXPECT_EQ(doc.Provinces[2].Terrain, 0);
    EXPECT_TRUE(doc.Provinces[2].TerrainPlain); // written as "#terrain 2 0"
    EXPECT_FALSE(doc.Provinces[2].NoStart);
}

TEST_F(CommitTest, NumbersAreClampedAndEmptyBoxesStoreNotSet) {
    const struct {
        QString population, unrest, defence;
        std::int32_t expectedPopulation;
        std::int16_t expectedUnrest, expectedDefence;
    } cases[] = {
        {"60000", "abc", "200", 50000, 0, 125},
        {"", "", "", -1, -1, -1},
        {"1200", "15", "-4", 1200, 15, 0},
        {" 7 ", "12.4", "x1", 7, 12, 0},
    };
    for (const auto& c : cases) {
        ProvinceForm f = formOf(2);
        f.population = c.population;
        f.unrest = c.unrest;
        f.defence = c.defence;
        commit(2, f);
        const ProvinceDataType& p = doc.Provinces[2];
        EXPECT_EQ(p.Population, c.expectedPopulation) << c.population.toStdString();
        EXPECT_EQ(p.Unrest, c.expectedUnrest) << c.unrest.toStdString();
        EXPECT_EQ(p.Defence, c.expectedDefence) << c.defence.toStdString();
    }
}

TEST_F(CommitTest, NameBecomesTheNodeCaption) {
    doc.Provinces[2].NodeKey = "2 PROV";
    ProvinceForm f = formOf(2);
    f.landName = QStringLiteral("S\u00E9verin");
    commit(2, f);
    EXPECT_EQ(doc.Provinces[2].LandName, "S\xE9verin");
    f.landName.clear();
    commit(2, f);
    EXPECT_EQ(nodes.ops,
              (std::vector<std::string>{"caption 2 PROV : 2 S\xE9verin", "caption 2 PROV : 2 Prov"}));
    EXPECT_EQ(doc.Provinces[2].NodeText, "2 Prov");
}

TEST_F(CommitTest, FortLabAndTempleNodesFollowTheIcons) {
    map.ref->FortData[5] = {5, "Citadel"};
    const struct {
        const char* what;
        int fort;
        bool lab, temple;
        std::vector<std::string> ops;
    } steps[] = {
        // Province 1 starts with fort 2, a lab and a temple.
        {"nothing changed", 2, true, true, {}},
        {"temple removed", 2, true, false, {"remove 1 TEMPLE"}},
        {"fort replaced", 5, true, false, {"remove 1 FORT", "add 1 FORT < 1 PROV : Citadel"}},
        {"fort and lab removed", -1, false, false, {"remove 1 FORT", "remove 1 LAB"}},
        {"all added again",
         2,
         true,
         true,
         {"add 1 FORT < 1 PROV : Palisade", "add 1 LAB < 1 PROV : Lab", "add 1 TEMPLE < 1 PROV : Temple"}},
        {"a fort beyond the table is named by its number",
         60,
         true,
         true,
         {"remove 1 FORT", "add 1 FORT < 1 PROV : 60"}},
    };
    for (const auto& s : steps) {
        nodes.ops.clear();
        ProvinceForm f = formOf(1);
        f.fort = s.fort;
        f.lab = s.lab;
        f.temple = s.temple;
        commit(1, f);
        EXPECT_EQ(nodes.ops, s.ops) << s.what;
        EXPECT_EQ(doc.Provinces[1].Fort, s.fort) << s.what;
        EXPECT_EQ(doc.Provinces[1].Lab, s.lab) << s.what;
        EXPECT_EQ(doc.Provinces[1].Temple, s.temple) << s.what;
    }
}

TEST_F(CommitTest, SetLandFlagIsWorkedOutUnlessTheProvinceIsCleared) {
    ProvinceDataType& p = doc.Provinces[2];
    p.SetLandFlag = true; // as read from a file
    ProvinceForm f = formOf(2);
    commit(2, f);
    EXPECT_FALSE(p.SetLandFlag) << "no detail at all: no detail block";

    const struct {
        const char* what;
        void (*set)(ProvinceForm&, ProvinceDataType&);
    } details[] = {
        {"population", [](ProvinceForm& form, ProvinceDataType&) { form.population = "0"; }},
        {"defence", [](ProvinceForm& form, ProvinceDataType&) { form.defence = "3"; }},
        {"population type", [](ProvinceForm& form, ProvinceDataType&) { form.popType = 30; }},
        {"lab", [](ProvinceForm& form, ProvinceDataType&) { form.lab = true; }},
        {"owner", [](ProvinceForm& form, ProvinceDataType&) { form.owner = 0; }},
        {"fog", [](ProvinceForm& form, ProvinceDataType&) { form.fog = Color(0x102030); }},
        {"battleground", [](ProvinceForm& form, ProvinceDataType&) { form.batMap = "empty"; }},
        {"kill features", [](ProvinceForm&, ProvinceDataType& q) { q.KillFeatures = true; }},
        {"a known site", [](ProvinceForm&, ProvinceDataType& q) { q.KnownSiteIndex[3] = 0; }},
        {"a commander", [](ProvinceForm&, ProvinceDataType& q) { q.Commanders[9].UnitIndex = 4; }},
    };
    for (const auto& d : details) {
        ProvinceDataType& q = doc.Provinces[3];
        q = ProvinceDataType{};
        ProvinceForm g = formOf(3);
        d.set(g, q);
        commit(3, g);
        EXPECT_TRUE(q.SetLandFlag) << d.what;
    }

    // A cleared province keeps whatever SetLandFlag it had.
    f.clearProvince = true;
    f.population = "100";
    commit(2, f);
    EXPECT_TRUE(p.LandFlag);
    EXPECT_FALSE(p.SetLandFlag);
}

TEST_F(CommitTest, ColoursAndFilesRoundTripThroughTheForm) {
    ProvinceForm f = formOf(2);
    EXPECT_FALSE(f.ground.has_value());
    f.ground = Color(0x0000FF); // pure red
    f.rock = Color(0x804020);
    f.skyBox = "./sky.tga";
    f.popType = 41;
    commit(2, f);
    const ProvinceDataType& p = doc.Provinces[2];
    EXPECT_EQ(std::vector<int>(std::begin(p.GroundCol), std::end(p.GroundCol)),
              (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(std::vector<int>(std::begin(p.RockCol), std::end(p.RockCol)), (std::vector<int>{32, 64, 128}));
    EXPECT_EQ(std::vector<int>(std::begin(p.FogCol), std::end(p.FogCol)), (std::vector<int>{-1, -1, -1}));
    const ProvinceForm back = formOf(2);
    EXPECT_EQ(back.rock, f.rock);
    EXPECT_EQ(back.skyBox, "./sky.tga");
    EXPECT_EQ(back.popType, 41);
    f.ground.reset();
    commit(2, f);
    EXPECT_EQ(p.GroundCol[0], -1);
}

struct StartOwnerTest : ::testing::Test {
    editingtest::SmallMap map;
    MapDocument& doc = *map.doc;
    RecordedNodes nodes;
    FakeUserInterface ui;

    StartOwnerTest() {
        // Nation 10 has a god that stands in province 3; it was never made an allowed player.
        doc.ProvinceCount = 9;
        NationDataType& osk = doc.Nations[10];
        osk.GodName = osk.God.UnitName = "Sphinx";
        osk.GodIndex = osk.God.UnitIndex = 77;
        osk.God.Xp = 40;
        osk.God.ComName = "Ahket";
        osk.SpecStartProvince = 3;
        osk.NationInUse = true;
        osk.NodeParentKey = "GMA";
        osk.NodeKey = "10 NATION";
        osk.NodeText = "MA Osk";
        doc.Provinces[3].SpecStart = true;
        doc.Provinces[3].SpecStartNation = 10;
        PlaceGod(doc, 10, 3, {});
    }
    void commit(int p, int option, int owner) { CommitStartAndOwner(doc, p, {option, owner}, nodes.edits()); }
};

TEST_F(StartOwnerTest, AGodMovesBetweenSpecialStarts) {
    ASSERT_EQ(doc.Provinces[3].CommanderCount, 1);
    doc.Nations[10].God.NodeKey = "3 COM 0";
    commit(7, SpecialStart, 10);

    const ProvinceDataType& from = doc.Provinces[3];
    const ProvinceDataType& to = doc.Provinces[7];
    EXPECT_TRUE(from.Commanders[0].UnitName.empty());
    EXPECT_EQ(from.CommanderCount, 0);
    EXPECT_FALSE(from.SpecStart);
    EXPECT_EQ(from.SpecStartNation, -1);
    EXPECT_EQ(to.Commanders[0].UnitName, "Sphinx");
    EXPECT_EQ(to.Commanders[0].ComName, "Ahket");
    EXPECT_EQ(to.Commanders[0].Xp, 40);
    EXPECT_EQ(to.CommanderCount, 1);
    EXPECT_TRUE(to.SpecStart);
    EXPECT_EQ(to.SpecStartNation, 10);
    EXPECT_EQ(to.Owner, -1);
    const NationDataType& osk = doc.Nations[10];
    EXPECT_EQ(osk.SpecStartProvince, 7);
    EXPECT_TRUE(osk.AllowedPlayer);
    EXPECT_EQ(osk.NodeParentKey, "AMA");
    EXPECT_EQ(osk.God.NodeKey, "7 COM 0");
    EXPECT_EQ(nodes.ops, (std::vector<std::string>{
                             "remove 3 COM 0",
                             "remove 3 COMMANDERS",
                             "remove 10 NATION",
                             "add 10 NATION < AMA : MA Osk",
                             "add 7 COMMANDERS < 7 PROV : Commanders",
                             "add 7 COM 0 < 7 COMMANDERS : 0 Sphinx",
                         }));

    // Choosing the same special start again refreshes the god without counting it twice.
    nodes.ops.clear();
    commit(7, SpecialStart, 10);
    EXPECT_EQ(doc.Provinces[7].CommanderCount, 1);

    // Giving the province up sends the nation back among the gods and leaves no owner.
    nodes.ops.clear();
    commit(7, NoStartOption, 10);
    EXPECT_EQ(osk.NodeParentKey, "GMA");
    EXPECT_FALSE(osk.AllowedPlayer);
    EXPECT_FALSE(osk.NationInUse);
    EXPECT_EQ(osk.SpecStartProvince, -1);
    EXPECT_TRUE(doc.Provinces[7].Commanders[0].UnitName.empty());
    EXPECT_EQ(doc.Provinces[7].Owner, -1);
    EXPECT_TRUE(doc.Provinces[7].NoStart);
    // The god was the province's only commander, so its "Commanders" node goes with it.
    EXPECT_EQ(nodes.ops, (std::vector<std::string>{"remove 10 NATION", "add 10 NATION < GMA : MA Osk",
                                                   "remove 7 COM 0", "remove 7 COMMANDERS"}));
}

TEST_F(StartOwnerTest, StartOptionsSetTheFlagsAndTheOwner) {
    const struct {
        int option, owner;
        bool start, noStart;
        int expectedOwner;
    } cases[] = {
        {NoStartOption, 20, false, true, 20}, {NoStartOption, -1, false, true, -1},
        {StartLocation, -1, true, false, -1}, {DefaultStart, -1, false, false, -1},
        {DefaultStart, 20, false, false, 20}, {SpecialStart, -1, false, false, -1},
    };
    for (const auto& c : cases) {
        commit(5, c.option, c.owner);
        const ProvinceDataType& p = doc.Provinces[5];
        EXPECT_EQ(p.Start, c.start) << c.option;
        EXPECT_EQ(p.NoStart, c.noStart) << c.option;
        EXPECT_EQ(p.TerrainBit[9], c.noStart) << c.option;
        EXPECT_FALSE(p.SpecStart);
        EXPECT_EQ(p.Owner, c.expectedOwner) << c.option;
        EXPECT_EQ(ShownStartOption(p), c.option == SpecialStart ? DefaultStart : c.option);
    }
}

TEST_F(StartOwnerTest, TheUserRulesOfTheStartOptions) {
    ProvinceDataType& owned = doc.Provinces[5];
    // The question guards owners above 0 only: owner 0 is not asked about, owner 1 is.
    owned.Owner = 0;
    StartOwnerChoice c{NoStartOption, 0};
    ChooseStartOption(c, StartLocation, owned, ui);
    EXPECT_EQ(c.option, StartLocation);
    EXPECT_TRUE(ui.messages.empty());

    owned.Owner = 1;
    c = {NoStartOption, 1};
    ui.answers = {Answer::Cancel};
    ChooseStartOption(c, StartLocation, owned, ui);
    EXPECT_EQ(c.option, NoStartOption);
    EXPECT_EQ(c.ownerNation, 1);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Warning!");
    EXPECT_EQ(ui.messages[0].text,
              "This province has an owner! OK to remove ownership or CANCEL to retain ownership.");
    EXPECT_EQ(ui.messages[0].buttons, Buttons::OkCancel);

    ui.answers = {Answer::Cancel};
    ChooseStartOption(c, StartLocation, doc.Provinces[3], ui); // a special start, no owner: no question
    EXPECT_EQ(c.option, StartLocation);
    EXPECT_EQ(ui.messages.size(), 1u);

    doc.Provinces[3].Owner = 4;
    ui.answers = {Answer::Cancel};
    ChooseStartOption(c, StartLocation, doc.Provinces[3], ui);
    EXPECT_EQ(c.option, SpecialStart);

    ui.answers = {Answer::Ok};
    ChooseStartOption(c, StartLocation, owned, ui);
    EXPECT_EQ(c.option, StartLocation);
    EXPECT_EQ(c.ownerNation, -1);

    // An owner makes the province a no-start unless it is a special start.
    ChooseOwner(c, 20);
    EXPECT_EQ(c.option, NoStartOption);
    c.option = SpecialStart;
    ChooseOwner(c, 5);
    EXPECT_EQ(c.option, SpecialStart);
    c.option = DefaultStart;
    ChooseOwner(c, -1);
    EXPECT_EQ(c.option, DefaultStart);

    EXPECT_EQ(ShownOwnerNation(doc.Provinces[3]), 4);
    doc.Provinces[3].Owner = -1;
    EXPECT_EQ(ShownOwnerNation(doc.Provinces[3]), 10);
    EXPECT_EQ(ShownStartOption(doc.Provinces[3]), SpecialStart);
}

TEST(VictoryRules, ConditionValueAndCommit) {
    const struct {
        int index;
        QString before, after;
    } cases[] = {{2, "", "1"}, {2, "0", "1"}, {2, "x", "1"}, {3, "40", "40"}, {0, "40", ""}, {1, "-3", "1"}};
    for (const auto& c : cases)
        EXPECT_EQ(VictoryValueAfterChoice(c.index, c.before), c.after) << c.index;

    editingtest::SmallMap map;
    // "Dominion" chosen with an empty box shows and stores 1.
    CommitVictory(*map.doc, 2, 2, VictoryValueAfterChoice(2, ""), "");
    EXPECT_EQ(map.doc->VictoryConditionType, 2);
    EXPECT_EQ(map.doc->VictoryConditionValue, 1);
    EXPECT_EQ(map.doc->Provinces[2].VictoryPoints, -1);
    CommitVictory(*map.doc, 2, 0, "", "5");
    EXPECT_EQ(map.doc->VictoryConditionType, 0);
    EXPECT_EQ(map.doc->VictoryConditionValue, -1);
    EXPECT_EQ(map.doc->Provinces[2].VictoryPoints, 5);
    EXPECT_EQ(VictoryConditionNames().size(), 6);
    EXPECT_EQ(VictoryConditionNames()[5], "VPs (cumulative)");
}

TEST(TerrainDisplay, IconsInTheirOrderWithTheSpecialSiteTip) {
    ProvinceDataType p;
    for (int bit : {0, 2, 11, 4, 7, 14, 21, 13})
        p.TerrainBit[bit] = true;
    p.NoStart = true;
    TerrainIcons icons = TerrainIconsOf(p);
    EXPECT_EQ(icons.files, QStringList({"nostart.bmp", "small.bmp", "deepsea.bmp", "mountain.bmp",
                                        "forest.bmp", "specialsite.bmp"}));
    EXPECT_EQ(icons.specialSiteTip, "special site: air fire holy");

    ProvinceDataType busy;
    for (int bit : {1, 2, 3, 22, 5, 6, 7, 8, 12, 10})
        busy.TerrainBit[bit] = true;
    icons = TerrainIconsOf(busy);
    EXPECT_EQ(icons.files, QStringList({"large.bmp", "sea.bmp", "somewater.bmp", "mountain.bmp", "swamp.bmp",
                                        "waste.bmp", "forest.bmp", "farm.bmp", "cave.bmp", "manysites.bmp"}));
    EXPECT_TRUE(icons.specialSiteTip.isEmpty());
}

TEST(Browsers, FoldersAndPathsOfTheBattlegroundAndSkyBox) {
    EXPECT_EQ(BattleMapFolder("/home/ann/.thraxis3/maps/"), "/home/ann/.thraxis3/battlemaps/");
    const struct {
        QString folder, box, preset, chosen, value;
    } cases[] = {
        {"/g/maps/", "./sky.tga", "/g/maps/sky.tga", "/g/maps/sky2.tga", "./sky2.tga"},
        {"/g/maps", "", "", "/g/maps/sub/a.rgb", "./sub/a.rgb"},
        {"/g/battlemaps/", "./arena/pit.t3m", "/g/battlemaps/arena/pit.t3m", "/elsewhere/pit.t3m",
         "/elsewhere/pit.t3m"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BrowsePreset(c.folder, c.box), c.preset);
        EXPECT_EQ(BrowsedValue(c.folder, c.chosen), c.value);
    }
}
