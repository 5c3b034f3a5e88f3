#include "scripttesting.h"

#include <functional>

using namespace ts;
using ts::testing::ScriptFixture;

namespace {

struct ScriptLanguage : ScriptFixture {
    // Province 1 as the test rows below expect it.
    void prepareProvince() {
        ProvinceDataType& p = prov(1);
        p.Owner = 7;
        p.Population = 500;
        p.TerrainBit[2] = true; // sea
        p.LandName = "Gath";
        p.Neighbours[0] = 2;
        p.Neighbours[5] = 3;
        p.GroundCol[0] = 10;
        p.GroundCol[1] = 20;
        p.GroundCol[2] = 30;
        p.SiteIndex[1] = 12;
        p.MarkerColor = 16711680;
        CommanderDataType& c = commander(1, 3, 55);
        c.ComName = "Olaf";
        c.MagFire = 2;
        c.UnitsIndex[2] = 15;
        c.UnitsCount[2] = 12;
        c.Items[5] = "Axe";
        // The god is never examined.
        prov(1).Commanders[0].UnitIndex = 99;
        prov(1).Commanders[0].Items[0] = "Crown";
    }
};

TEST_F(ScriptLanguage, TestsCompareTextsByCharacterCodeForEveryKeywordGroup) {
    prepareProvince();
    const struct {
        const char* line;
        bool holds;
    } rows[] = {
        {"owner = 7", true},
        {"owner > 5", true},
        {"owner < 10", false},       // "7" sorts after "10"
        {"population > 1000", true}, // and "500" after "1000"
        {"population >= 500", true},
        {"population <= 499", false},
        {"owner != 7", false},
        {"owner <> 7", false}, // not an operator
        {"tsea = TRUE", true},
        {"tsea = FALSE", false},
        {"tsea = True", true},
        {"tsea = \"TRUE\"", false}, // quoted: stays the text TRUE
        {"tmountain = FALSE", true},
        {"tsea  = TRUE", false}, // two blanks: the operator is the empty word
        {"tsea =", false},       // fewer than three words
        {"landname = Gath extra words", true},
        {"landname = \"Gath\"", true},
        {"neighborcount = 2", true},
        {"groundcol = 20", true},
        {"groundcol = 40", false},
        {"markprovcol = 16711680", true},
        {"feature = 12", true},
        {"feature = -1", true}, // the free slots
        {"knownfeature = 12", false},
        {"comtype = 55", true},
        {"comtype = 99", false}, // the god in slot 0
        {"comname = Olaf", true},
        {"mag_fire >= 2", true},
        {"mag_water > 0", false},
        {"xp = 0", true}, // empty slots are examined too
        {"unit = 15", true},
        {"unitcount = 12", true},
        {"item = Axe", true},
        {"item = Crown", false},
        {"comndrcount = 1", true}, // the god was not counted by hand here
        {"markuser = FALSE", true},
        {"nosuchword != x", true}, // reads an empty text
        {"nosuchword = x", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ScriptTestHolds(*doc, 1, ParseScriptTest(row.line)), row.holds) << row.line;
}

TEST_F(ScriptLanguage, OneEvaluationLooksAtTheGivenSlotsOnly) {
    prepareProvince();
    EXPECT_TRUE(EvaluateScriptTest(*doc, 1, "item = Axe", 3, 5));
    EXPECT_FALSE(EvaluateScriptTest(*doc, 1, "item = Axe", 3, 4));
    EXPECT_FALSE(EvaluateScriptTest(*doc, 1, "item = Axe", 40, 5)); // out of range: false
    EXPECT_FALSE(EvaluateScriptTest(*doc, 1, "groundcol = 10", 0, 3));
    EXPECT_TRUE(EvaluateScriptTest(*doc, 1, "groundcol = 10", 0, 0));
}

TEST_F(ScriptLanguage, ApplyLinesConvertTheValueOrChangeNothing) {
    using Check = std::function<void(const ProvinceDataType&)>;
    const struct {
        std::vector<const char*> lines;
        Check check;
    } rows[] = {
        {{"terrain = 4"},
         [](auto& p) {
             EXPECT_EQ(p.Terrain, 4);
             EXPECT_FALSE(p.TerrainBit[2]);
         }},
        {{"tdeep = TRUE"},
         [](auto& p) {
             EXPECT_TRUE(p.TerrainBit[11]);
             EXPECT_TRUE(p.TerrainBit[2]);
             EXPECT_EQ(p.Terrain, -1);
         }},
        {{"tdeep = \"TRUE\""}, [](auto& p) { EXPECT_TRUE(p.TerrainBit[11]); }},
        {{"tsea = TRUE", "tdeep = 0"}, [](auto& p) { EXPECT_FALSE(p.TerrainBit[2]); }},
        {{"tsea = yes"}, [](auto& p) { EXPECT_FALSE(p.TerrainBit[2]); }},
        {{"lab = -3"}, [](auto& p) { EXPECT_TRUE(p.Lab); }},
        {{"temple = True", "temple = 00"}, [](auto& p) { EXPECT_FALSE(p.Temple); }},
        {{"owner = 70000"}, [](auto& p) { EXPECT_EQ(p.Owner, -1); }},
        {{"owner = +5"}, [](auto& p) { EXPECT_EQ(p.Owner, -1); }},
        {{"owner = 5x"}, [](auto& p) { EXPECT_EQ(p.Owner, -1); }},
        {{"owner = -32768"}, [](auto& p) { EXPECT_EQ(p.Owner, -32768); }},
        {{"population = 70000"}, [](auto& p) { EXPECT_EQ(p.Population, 70000); }},
        {{"population = 3000000000"}, [](auto& p) { EXPECT_EQ(p.Population, -1); }},
        {{"groundcol = 258"},
         [](auto& p) {
             EXPECT_EQ(p.GroundCol[0], 2);
             EXPECT_EQ(p.GroundCol[1], 1);
             EXPECT_EQ(p.GroundCol[2], 0);
         }},
        {{"fogcol = -65794"},
         [](auto& p) {
             EXPECT_EQ(p.FogCol[0], -2);
             EXPECT_EQ(p.FogCol[1], -1);
             EXPECT_EQ(p.FogCol[2], -1);
         }},
        {{"rockcol = 16777215"}, [](auto& p) { EXPECT_EQ(p.RockCol[2], 255); }},
        {{"markprovcol = 16711680", "markprovringcol = -1"},
         [](auto& p) {
             EXPECT_EQ(p.MarkerColor, 16711680u);
             EXPECT_EQ(p.MarkerColor2, 0xFFFFFFFFu);
         }},
        {{"landname = \"New Haven\""}, [](auto& p) { EXPECT_EQ(p.LandName, "New Haven"); }},
        {{"landname = New Haven"}, [](auto& p) { EXPECT_EQ(p.LandName, "New"); }},
        {{"landname"}, [](auto& p) { EXPECT_TRUE(p.LandName.empty()); }},
        {{"setland = TRUE", "kill = TRUE"},
         [](auto& p) {
             EXPECT_TRUE(p.LandFlag);
             EXPECT_FALSE(p.SetLandFlag);
         }},
        {{"markuser = TRUE", "markvisited = 1", "markprov = TRUE"},
         [](auto& p) {
             EXPECT_TRUE(p.Marked);
             EXPECT_TRUE(p.Visited);
             EXPECT_TRUE(p.MarkerFlag);
         }},
        {{"x = 5", "neighborcount = 3", "comndrcount = 4"},
         [](auto& p) {
             EXPECT_EQ(p.ProvinceX, -1);
             EXPECT_EQ(p.CommanderCount, 0);
         }},
        {{"knownfeature = 12"},
         [](auto& p) {
             EXPECT_EQ(p.KnownSiteIndex[0], 12);
             EXPECT_EQ(p.KnownSiteName[0], "Well of Ash");
         }},
        {{"xp = 5", "comname = Olaf", "unit = 3", "item = Axe"},
         [](auto& p) {
             for (int c = 0; c < ts::kCommanderSlots; ++c)
                 EXPECT_EQ(p.Commanders[c].Xp, 0);
         }},
    };
    for (const auto& row : rows) {
        resetWithTables();
        for (const char* line : row.lines)
            ApplyScriptLine(*doc, *ref, 1, line);
        SCOPED_TRACE(row.lines.front());
        row.check(prov(1));
    }
}

TEST_F(ScriptLanguage, FeatureFillsTheFirstFreeSlotAndNothingWhenAllAreTaken) {
    for (int s = 0; s < 4; ++s)
        prov(1).SiteIndex[s] = static_cast<std::int16_t>(20 + s);
    EXPECT_FALSE(ApplyScriptLine(*doc, *ref, 1, "feature = 12", hooks));
    for (int s = 0; s < 4; ++s)
        EXPECT_EQ(prov(1).SiteIndex[s], 20 + s);

    prov(2).SiteIndex[0] = 20;
    prov(2).SiteName[0] = "Site 20";
    prov(2).KnownSiteIndex[1] = 30;
    prov(2).KnownSiteName[1] = "Site 30";
    EXPECT_TRUE(ApplyScriptLine(*doc, *ref, 2, "feature = 12", hooks));
    EXPECT_EQ(prov(2).SiteIndex[1], 12);
    EXPECT_EQ(prov(2).SiteName[1], "Well of Ash");
    // Strict: only the known site's number goes; its name stays for the writer's "-1 --" line.
    EXPECT_EQ(prov(2).KnownSiteIndex[1], -1);
    EXPECT_EQ(prov(2).KnownSiteName[1], "Site 30");
    EXPECT_EQ(events, std::vector<std::string>{"2 sites"});

    // Keeping: the name goes too, so the replaced site cannot come back from kept text.
    doc->KeepUnknown = true;
    prov(3).SiteIndex[0] = 20;
    prov(3).SiteName[0] = "Site 20";
    EXPECT_TRUE(ApplyScriptLine(*doc, *ref, 3, "knownfeature = 12", hooks));
    EXPECT_EQ(prov(3).KnownSiteIndex[0], 12);
    EXPECT_EQ(prov(3).SiteIndex[0], -1);
    EXPECT_TRUE(prov(3).SiteName[0].empty());
}

TEST_F(ScriptLanguage, CommanderAppliesReachTheLastCommander) {
    // Two new commanders, then magic: only the second gets it.
    for (const char* line : {"comtype = 8", "comtype = 9", "mag_fire = 3", "comname = Hrolf", "xp = 10"})
        ApplyScriptLine(*doc, *ref, 1, line, hooks);
    const ProvinceDataType& p = prov(1);
    EXPECT_EQ(p.CommanderCount, 2);
    EXPECT_EQ(p.Commanders[1].UnitName, "Unit 8");
    EXPECT_EQ(p.Commanders[1].MagFire, 0);
    EXPECT_EQ(p.Commanders[2].UnitIndex, 9);
    EXPECT_EQ(p.Commanders[2].MagFire, 3);
    EXPECT_EQ(p.Commanders[2].ComName, "Hrolf");
    EXPECT_EQ(p.Commanders[2].Xp, 10);
    EXPECT_EQ(events, (std::vector<std::string>{"1 commander 1", "1 commander 2"}));
}

TEST_F(ScriptLanguage, ComnameNamesTheHighestUnnamedCommander) {
    commander(1, 2, 10).ComName = "Named";
    commander(1, 5, 11);
    commander(1, 7, 12).ComName = "Also named";
    ApplyScriptLine(*doc, *ref, 1, "comname = \"Eirik the Red\"");
    EXPECT_EQ(prov(1).Commanders[5].ComName, "Eirik the Red");
    ApplyScriptLine(*doc, *ref, 1, "comname = Second");
    EXPECT_EQ(prov(1).Commanders[2].ComName, "Named");
    EXPECT_TRUE(prov(1).Commanders[6].ComName.empty()); // no commander there
}

TEST_F(ScriptLanguage, StackAndItemSearchesGoDownFromTheLastCommanderToTheLowestFreeSlot) {
    commander(1, 2, 10);
    CommanderDataType& top = commander(1, 6, 11);
    for (int s = 0; s < 10; ++s) {
        top.UnitsIndex[s] = 1;
        top.UnitsCount[s] = 1;
    }
    top.BodyguardIndex[0] = 4;
    top.Items[0] = "Ring";
    prov(1).Commanders[2].UnitsIndex[0] = 3;
    for (const char* line :
         {"unit = 15", "unitcount = 12", "bodyguard = 20", "bodyguardcount = 5", "item = Axe"})
        EXPECT_TRUE(ApplyScriptLine(*doc, *ref, 1, line)) << line;
    const CommanderDataType& low = prov(1).Commanders[2];
    EXPECT_EQ(low.UnitsIndex[1], 15);
    EXPECT_EQ(low.UnitsName[1], "Unit 15");
    EXPECT_EQ(low.UnitsCount[0], 12);
    EXPECT_EQ(low.BodyguardIndex[0], 20);
    EXPECT_EQ(low.BodyguardName[0], "Unit 20");
    EXPECT_EQ(top.BodyguardCount[0], 5);
    EXPECT_EQ(top.Items[1], "Axe");

    // A bodyguard goes into the first entry only.
    prov(1).Commanders[2].BodyguardIndex[0] = 20;
    EXPECT_FALSE(ApplyScriptLine(*doc, *ref, 1, "bodyguard = 21"));
}

TEST_F(ScriptLanguage, ComtypeCountsTheGodAndNeedsAFreeSlot) {
    prov(1).Commanders[0].UnitIndex = 55; // a god
    prov(1).CommanderCount = 1;
    for (int c = 1; c <= 38; ++c)
        commander(1, c, 10);
    ASSERT_EQ(prov(1).CommanderCount, 39);
    EXPECT_FALSE(ApplyScriptLine(*doc, *ref, 1, "comtype = 8")); // slot 39 is free, the count is full
    EXPECT_EQ(prov(1).Commanders[39].UnitIndex, -1);

    prov(2).CommanderCount = 0;
    for (int c = 1; c <= 38; ++c)
        commander(2, c, 10);
    EXPECT_TRUE(ApplyScriptLine(*doc, *ref, 2, "comtype = 8"));
    EXPECT_EQ(prov(2).Commanders[39].UnitIndex, 8);
    EXPECT_EQ(prov(2).CommanderCount, 39);
}

TEST_F(ScriptLanguage, NavigatorHearsOfEveryChangeItShows) {
    for (const char* line : {"fort = 2", "temple = TRUE", "lab = FALSE", "landname = Gath",
                             "knownfeature = 3", "comtype = 8", "owner = 4", "fort = x"})
        ApplyScriptLine(*doc, *ref, 4, line, hooks);
    EXPECT_EQ(events, (std::vector<std::string>{"4 fort", "4 temple", "4 lab", "4 name", "4 sites",
                                                "4 commander 1"}));
}

} // namespace
