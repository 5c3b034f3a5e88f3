#include "documenttesting.h"
#include "mapparser.h"

using namespace ts;

namespace {

struct ParserTest : ts::testing::DocumentTest {
    // Feeds lines as the reader would, each on its own map line.
    void parse(std::initializer_list<std::string_view> lines) {
        for (std::string_view line : lines) {
            z_ParseCommand(*doc, *ref, ui, line.substr(0, line.find(' ')), line);
            ++doc->MapLineNumber;
        }
    }
};

TEST_F(ParserTest, LogLinesHaveTheirTwoExactForms) {
    doc->MapLineNumber = 7;
    parse({"#LAND 5", "#fort 3"});
    EXPECT_EQ(errors(),
              (std::vector<std::string>{
                  "Error in z_ParseCommand: Unrecognized map command '#LAND'  - Map Line# 7 : #LAND 5",
                  "Error in z_ParseCommand: No province addressed yet (#land or #setland missing) - "
                  "Map Line# 8 : #fort 3"}));
    EXPECT_TRUE(doc->MapErrorsFound);
    EXPECT_EQ(doc->FirstErrorLine, 7);
    EXPECT_EQ(doc->CurProvince, kNone);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ParserTest, ArgumentsAreSplitAsEachCommandTakesThem) {
    parse({"#thx2title The  Long War", "#imagefile isle map.tga", "#thx3version 500", "#nohomelandnames",
           "#description \"First\r\nSecond\nThird -- still here\"", "#maptextcol 0.5 1 0.25 1.0",
           "#victorycondition 2 150", "#land 12", "#batmap \"bat map.tga\"", "#landname 40 \"Far Reach\"",
           "#victorypoints 13 4", "#start 4", "#nostart 5", "#computerplayer 7 -3", "#cannotwin 2",
           "#owner 4", "#unrest 10", "#population 25000", "#defence 15", "#fort 2", "#poptype 90",
           "#groundcol 10 20 30", "#rockcol 1 2 3", "#fogcol 4 5 6", "#killfeatures", "#lab", "#dominionstr 2 5",
           "#scale_chaos 2 -1", "#scale_lazy 2 1", "#scale_cold 2 2", "#scale_death 2 3", "#scale_unluck 2 -2",
           "#scale_unmagic 2 0", "#terrain 5 514", "#terrain 6 1", "#terrain 7 8388608"});
    EXPECT_TRUE(errors().empty()) << doc->ErrorLog; // a bad terrain mask shows a message instead
    EXPECT_EQ(ui.titles(), QStringList{QStringLiteral("Terrain Mask Invalid!")});
    const ProvinceDataType& p = prov(12);
    const NationDataType& n = doc->Nations[2];
    EXPECT_EQ(std::vector<int>({p.Owner, p.Unrest, p.Population, p.Defence, p.Fort, p.PopType, p.GroundCol[2],
                                p.RockCol[0], p.FogCol[1], p.KillFeatures, p.Temple, p.Lab, n.DominionLevel,
                                n.ScaleChaos, n.ScaleLazy, n.ScaleCold, n.ScaleDeath, n.ScaleUnluck, n.ScaleUnmagic}),
              std::vector<int>({4, 10, 25000, 15, 2, 90, 30, 1, 5, 1, 0, 1, 5, -1, 1, 2, 3, -2, 0}));
    EXPECT_EQ(doc->MapTitle, "The  Long War");
    EXPECT_EQ(doc->ImageFileName, "isle map.tga");
    EXPECT_EQ(doc->GameVersion, "3.17");
    EXPECT_TRUE(doc->NoHomelandNames);
    EXPECT_EQ(doc->MapDescription, "First\r\nSecond\r\nThird -- still here");
    EXPECT_FLOAT_EQ(doc->MapTextColor[2], 0.25f);
    EXPECT_EQ(doc->VictoryConditionValue, 150);
    EXPECT_EQ(prov(12).BatMap, "bat map.tga");
    // Commands that name their province neither address it nor change the current one.
    EXPECT_EQ(prov(40).LandName, "Far Reach");
    EXPECT_FALSE(prov(40).LandFlag || prov(40).SetLandFlag || prov(13).LandFlag);
    EXPECT_EQ(prov(13).VictoryPoints, 4);
    EXPECT_EQ(doc->CurProvince, 12);
    EXPECT_TRUE(prov(4).Start && prov(5).NoStart && prov(5).TerrainBit[9] && prov(5).TerrainBit[1]);
    EXPECT_EQ(prov(5).Terrain, 514);
    EXPECT_TRUE(prov(6).TerrainPlain);
    EXPECT_EQ(doc->Nations[7].AIDifficulty, -3);
    EXPECT_TRUE(doc->Nations[2].CannotWin);
    EXPECT_FALSE(doc->Nations[2].NationInUse);
}

TEST_F(ParserTest, ValuesThatDoNotConvertOrFitAreLoggedAndLeaveTheFieldAlone) {
    doc->MapTitle = "Kept";
    parse({"#land 3", "#features 40000", "#population 40000", "#unrest 12x", "#defence  5",
           "#population 3000000000", "#defaultmapzoom nan", "#maptextcol 0.5 0.5 x 1", "#thx2title", "#fort",
           "#skybox x", "#defence +7"});
    EXPECT_EQ(doc->FeaturesFrequency, -1);
    EXPECT_EQ(prov(3).Population, 40000);
    EXPECT_EQ(prov(3).Unrest, -1);
    EXPECT_EQ(prov(3).Defence, 7);
    EXPECT_FLOAT_EQ(doc->DefaultMapZoom, -1.0f);
    // The colour parts are taken one by one: those before the bad one stay.
    EXPECT_FLOAT_EQ(doc->MapTextColor[1], 0.5f);
    EXPECT_FLOAT_EQ(doc->MapTextColor[2], -1.0f);
    EXPECT_EQ(doc->MapTitle, "Kept");
    EXPECT_TRUE(prov(3).SkyBox.empty());
    EXPECT_EQ(errors().size(), 9u) << doc->ErrorLog;
}

// Each limit from its own side and one past it; the values are the file format's, not the code's.
TEST_F(ParserTest, EveryLimitHoldsAtItsValueAndFailsOnePast) {
    parse({"#land 2599", "#poptype 90", "#land 2598", "#poptype 91", "#land 2597", "#poptype 89", "#land 2600"});
    EXPECT_EQ(std::vector<int>({prov(2599).PopType, prov(2598).PopType, prov(2597).PopType}),
              std::vector<int>({90, 90, 89}));
    EXPECT_EQ(errors().size(), 1u) << doc->ErrorLog; // province 2600
    doc->ErrorLog.clear();

    parse({"#allowedplayer 99", "#allowedplayer 100"});
    EXPECT_TRUE(doc->Nations[99].AllowedPlayer);
    EXPECT_EQ(errors().size(), 1u) << doc->ErrorLog;
    doc->ErrorLog.clear();

    // 39 commanders, 10 bodyguard and unit stacks and 8 items fit; one more of each does not.
    parse({"#land 40"});
    for (int c = 1; c <= 39; ++c)
        parse({"#commander 1"});
    for (int k = 0; k < 10; ++k)
        parse({"#bodyguards 1 2", "#units 1 3"});
    for (int i = 0; i < 8; ++i)
        parse({"#additem \"Ring\""});
    EXPECT_TRUE(errors().empty()) << doc->ErrorLog;
    const CommanderDataType& last = prov(40).Commanders[39];
    EXPECT_EQ(std::vector<int>({prov(40).CommanderCount, last.BodyguardIndex[9], last.UnitsIndex[9]}),
              std::vector<int>({39, 2, 3}));
    EXPECT_EQ(last.Items[7], "Ring");
    parse({"#bodyguards 1 2", "#units 1 3", "#additem \"Ring\"", "#commander 1"});
    EXPECT_EQ(errors().size(), 4u) << doc->ErrorLog;
    EXPECT_EQ(prov(40).CommanderCount, 39);
}

TEST_F(ParserTest, SitesFillFourSlotsByNumberOrName) {
    parse({"#land 8", "#feature 3", "#feature \"well of ash\"", "#knownfeature 999", "#knownfeature \"Nowhere\"",
           "#knownfeature 7", "#land 9", "#feature 6"});
    const ProvinceDataType& p = prov(8);
    EXPECT_EQ(p.SiteName[0], "Site 3");
    EXPECT_EQ(p.SiteIndex[1], 12);
    EXPECT_EQ(p.SiteName[1], "well of ash"); // the name as written; only the number is looked up
    // A failed lookup leaves what was stored before it and still uses up the slot.
    EXPECT_EQ(std::vector<int>({p.KnownSiteIndex[0], p.KnownSiteIndex[1], p.KnownSiteIndex[2]}),
              std::vector<int>({999, -1, 7}));
    EXPECT_TRUE(p.KnownSiteName[0].empty());
    EXPECT_EQ(p.KnownSiteName[1], "Nowhere");
    EXPECT_EQ(prov(9).SiteName[0], "Site 6");
    const auto e = errors();
    ASSERT_EQ(e.size(), 2u);
    EXPECT_NE(e[0].find(": Unit index not found in data. - "), std::string::npos);
    EXPECT_NE(e[1].find(": Site name not in data or mispelled. - "), std::string::npos);
}

TEST_F(ParserTest, NeighboursFillFreeSlotsWithoutSearching) {
    prov(3).Neighbours[0] = 9;
    prov(3).Neighbours[1] = -5;
    std::fill(std::begin(prov(20).Neighbours), std::end(prov(20).Neighbours), 1);
    parse({"#neighbour 3 7", "#neighbour 3 7", "#neighbour 20 21"});
    EXPECT_EQ(std::vector<int>(prov(3).Neighbours, prov(3).Neighbours + 4), (std::vector<int>{9, 7, 7, -1}));
    EXPECT_EQ(std::vector<int>(prov(7).Neighbours, prov(7).Neighbours + 3), (std::vector<int>{3, 3, -1}));
    EXPECT_EQ(prov(21).Neighbours[0], 20);
    EXPECT_TRUE(errors().empty());
}

// A god's lines go to the nation's god and, once its start is known, to slot 0 of the start; an
// unknown god keeps what was stored before the lookup and leaves its nation out of use.
TEST_F(ParserTest, GodsByNumberOrNameMirrorIntoSlotZeroOnceTheStartIsKnown) {
    parse({"#god 4 55", "#xp 7", "#specstart 4 12", "#god 5 \"pale king\"", "#setland 12", "#god 4 55",
           "#comname \"Ashur\"", "#mag_fire 3", "#units 20 8", "#commander 9", "#comname \"Captain\"",
           "#god 6 \"Nobody\"", "#god 7 2999"});
    const NationDataType& n = doc->Nations[4];
    const CommanderDataType& slot0 = prov(12).Commanders[0];
    EXPECT_EQ(n.GodName, "Pale King");
    EXPECT_EQ(doc->Nations[5].GodName, "pale king"); // the name as written
    EXPECT_EQ(doc->Nations[5].God.UnitIndex, 55);
    EXPECT_TRUE(n.NationInUse && doc->Nations[5].NationInUse);
    EXPECT_EQ(n.God.Xp, 7);
    EXPECT_EQ(slot0.Xp, 0); // given before the start was known
    EXPECT_EQ(n.God.ComName, "Ashur");
    EXPECT_EQ(slot0.ComName, "Ashur");
    EXPECT_EQ(slot0.MagFire, 3);
    EXPECT_EQ(slot0.UnitsName[0], "Unit 8");
    EXPECT_TRUE(slot0.UnitName.empty()); // the god's own type comes when the read places the gods
    // #commander ends the god block: what follows is the commander's.
    EXPECT_EQ(prov(12).Commanders[1].ComName, "Captain");
    EXPECT_EQ(prov(12).CommanderCount, 1);
    EXPECT_EQ(doc->Nations[6].GodName, "Nobody");
    EXPECT_EQ(doc->Nations[6].GodIndex, -1);
    EXPECT_EQ(doc->Nations[7].GodIndex, 2999);
    EXPECT_FALSE(doc->Nations[6].NationInUse || doc->Nations[7].NationInUse);
    const auto e = errors();
    ASSERT_EQ(e.size(), 2u) << doc->ErrorLog;
    EXPECT_NE(e[0].find(": Unit name not in data or mispelled. - "), std::string::npos);
    EXPECT_NE(e[1].find(": Unit index not found in data. - "), std::string::npos);
    EXPECT_EQ(doc->CurGodNation, 7);
}

TEST_F(ParserTest, CommandersFillTheirSlotsAndFields) {
    parse({"#commander 5"});
    ASSERT_EQ(errors().size(), 1u); // no province yet
    EXPECT_EQ(prov(0).CommanderCount, 0);
    // Only a known unit counts; an unknown one still takes its slot and the lines after it.
    parse({"#land 31", "#commander 999", "#comname \"Ghost\"", "#commander \"Pale King\"", "#commander 1",
           "#bodyguards 3 4", "#units 10 \"Unit 5\"", "#bodyguards 2 \"Unknown\"", "#additem \"Ring\"",
           "#additem Sword", "#mag_fire 1", "#mag_air 2", "#mag_water 3", "#mag_earth 4", "#mag_astral 5",
           "#mag_death 6", "#mag_nature 7", "#mag_blood 8", "#mag_priest 9", "#xp 10", "#randomequip 2",
           "#clearmagic"});
    EXPECT_EQ(errors().size(), 3u) << doc->ErrorLog; // the unknown unit and the unknown bodyguards
    EXPECT_EQ(prov(31).Commanders[1].UnitIndex, 999);
    EXPECT_EQ(prov(31).Commanders[1].ComName, "Ghost");
    EXPECT_EQ(prov(31).Commanders[2].UnitName, "Pale King");
    EXPECT_EQ(prov(31).Commanders[2].UnitIndex, 55);
    EXPECT_EQ(prov(31).CommanderCount, 2);
    const CommanderDataType& c = prov(31).Commanders[3];
    EXPECT_EQ(std::vector<int>({c.BodyguardCount[0], c.BodyguardIndex[0], c.UnitsCount[0], c.UnitsIndex[0],
                                c.BodyguardCount[1], c.BodyguardIndex[1]}),
              std::vector<int>({3, 4, 10, 5, 2, -1}));
    EXPECT_EQ(c.BodyguardName[1], "Unknown");
    // Item names are taken on trust: without quotes the first and last letters go.
    EXPECT_EQ(c.Items[0], "Ring");
    EXPECT_EQ(c.Items[1], "wor");
    EXPECT_EQ(std::vector<int>({c.MagFire, c.MagAir, c.MagWater, c.MagEarth, c.MagAstral, c.MagDeath,
                                c.MagNature, c.MagBlood, c.MagPriest, c.Xp, c.RandomEquip, c.ClearMagic}),
              std::vector<int>({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 2, 1}));
}

TEST_F(ParserTest, CastleGarrisonNeedsAFort) {
    parse({"#land 6", "#owner 23", "#commander 1", "#fort 3", "#commander 2", "#owner 23", "#commander 3",
           "#owner 5", "#commander 4", "#land 7", "#commander 5", "#land 8", "#fort 0", "#owner 23",
           "#commander 1"});
    std::vector<bool> inside;
    for (const CommanderDataType* c : {&prov(6).Commanders[1], &prov(6).Commanders[2], &prov(6).Commanders[3],
                                       &prov(6).Commanders[4], &prov(7).Commanders[1], &prov(8).Commanders[1]})
        inside.push_back(c->InsideCastle);
    // Another owner does not end the garrison; a new province does; a fort of type 0 is a fort too.
    EXPECT_EQ(inside, (std::vector<bool>{false, false, true, true, false, true}));
    EXPECT_EQ(prov(6).Owner, 5);
}

} // namespace
