#include "fakeuserinterface.h"
#include "mapdocument.h"
#include "mapwriter.h"
#include "referencedata.h"
#include "tempfolder.h"

#include <QFile>
#include <gtest/gtest.h>
#include <memory>
#include <string>

using namespace ts;

namespace {

constexpr std::string_view kFileHead = "--\n"
                                       "--Map file for Thraxis 3\n"
                                       "--\n"
                                       "--Ravelstone Game Design\n"
                                       "--www.ravelstone-games.example/thraxis3\n"
                                       "--\n"
                                       "\n"
                                       "--Edited with Quorvath's Tessary\n"
                                       "\n";

struct WriterTest : ::testing::Test {
    std::unique_ptr<MapDocument> doc = std::make_unique<MapDocument>();
    std::unique_ptr<ReferenceData> ref = std::make_unique<ReferenceData>();
    FakeUserInterface ui;
    TempFolder folder;

    WriterTest() {
        ref->NationData[3].name = "Ermor";
        ref->NationData[5].name = "\xfclm";
        ref->NationData[7].name = "Mictlan";
        ref->PopData[5].name = "Highland";
        ref->FortData[3].name = "Castle";
        ref->SiteData[7].name = "Site 7";
        ref->SiteData[12].name = "Well of Ash";
        ResetMapDocument(*doc, *ref, ui);
    }

    std::string write() {
        const QString path = folder.file(QStringLiteral("out.map"));
        EXPECT_TRUE(z_WriteMapFile(*doc, *ref, ui, path));
        return folder.read(QStringLiteral("out.map"));
    }
    ProvinceDataType& prov(int p) { return doc->Provinces[p]; }
    static void setCommander(CommanderDataType& c, int unit) {
        c.UnitIndex = static_cast<std::int16_t>(unit);
        c.UnitName = "Unit " + std::to_string(unit);
    }
};

TEST_F(WriterTest, AnEmptyMapHasEverySectionTitle) {
    EXPECT_EQ(write(), std::string(kFileHead) + "########### MAP HEADER ###########\n"
                                                "#thx2title \n"
                                                "#imagefile \n"
                                                "#thx3version \n"
                                                "#description \"\"\n"
                                                "\n"
                                                "\n"
                                                "######### ALLOWED PLAYERS ########\n"
                                                "\n"
                                                "######### ALLIED PLAYERS #########\n"
                                                "\n"
                                                "############# STARTS #############\n"
                                                "\n"
                                                "############# NATIONS ############\n"
                                                "\n"
                                                "########### NEIGHBOURS ###########\n"
                                                "\n"
                                                "############# TERRAIN ############\n"
                                                "\n"
                                                "######### PROVINCE DETAIL ########\n"
                                                "\n");
}

TEST_F(WriterTest, AFullMapIsWrittenInTheFixedLayout) {
    MapDocument& d = *doc;
    d.MapTitle = "Isle of Ash";
    d.ImageFileName = "isle.tga";
    d.GameVersion = "3.17";
    d.MapDescription = "Line one\r\nLine two";
    d.WrapAround = d.ScenarioFlag = true;
    d.VictoryConditionType = 1;
    d.VictoryConditionValue = 50;
    const float colour[4] = {1.0f, 0.5f, 0.25f, 1.0f};
    std::copy(colour, colour + 4, d.MapTextColor);
    d.DefaultMapZoom = 0.5f;
    d.FeaturesFrequency = 20;
    d.Nations[3].AllowedPlayer = d.Nations[5].AllowedPlayer = true;
    d.Nations[3].Allies[7] = d.Nations[7].Allies[3] = true;
    prov(4).Start = true;

    NationDataType& ermor = d.Nations[3];
    ermor.NationInUse = true;
    ermor.AIDifficulty = 2;
    ermor.SpecStartProvince = 12;
    prov(12).SpecStart = true;
    prov(12).SpecStartNation = 3;
    ermor.GodName = ermor.God.UnitName = "Pale King";
    ermor.GodIndex = ermor.God.UnitIndex = 55;
    ermor.CannotWin = true;
    ermor.God.ComName = "Ashur";
    ermor.God.MagFire = 2;
    ermor.God.MagWater = 1;
    ermor.God.MagPriest = 3;
    ermor.God.Xp = 5;
    ermor.God.Items[2] = "Crown";
    ermor.God.RandomEquip = 0;
    ermor.DominionLevel = 3;
    ermor.ScaleChaos = -2;
    ermor.ScaleCold = 0;
    ermor.ScaleLazy = 1;
    ermor.God.BodyguardCount[1] = 4;
    ermor.God.BodyguardIndex[1] = 7;
    ermor.God.BodyguardName[1] = "Unit 7";
    ermor.God.UnitsCount[0] = 10;
    ermor.God.UnitsIndex[0] = 8;
    ermor.God.UnitsName[0] = "Unit 8";
    prov(12).LandName = "Ashgate";
    prov(12).Owner = 3;
    setCommander(prov(12).Commanders[1], 9);
    // The god's slot is filled when a map is read, but it is written only as the god.
    prov(12).Commanders[0] = ermor.God;

    d.Nations[5].NationInUse = true;
    d.Nations[5].SpecStartProvince = 20;
    prov(20).SpecStart = true;
    prov(20).LandName = "Ulmhold";
    d.Nations[7].NationInUse = true;
    d.Nations[7].GodName = d.Nations[7].God.UnitName = "Unit 3";
    d.Nations[7].GodIndex = d.Nations[7].God.UnitIndex = 3;

    prov(1).Neighbours[0] = 2;
    prov(2).Neighbours[0] = 1;
    prov(2).Neighbours[3] = 12;
    prov(12).Neighbours[0] = 2;
    prov(5).Neighbours[0] = 9; // one-sided links are written from the lower province only
    prov(30).Neighbours[0] = 29;

    prov(1).TerrainBit[0] = prov(1).TerrainBit[1] = true;
    prov(2).TerrainPlain = true;
    prov(3).Terrain = 0;

    prov(1).LandFlag = true;
    prov(1).LandName = "First";
    ProvinceDataType& p2 = prov(2);
    p2.SetLandFlag = true;
    p2.SkyBox = "sky.tga";
    p2.BatMap = "bat.tga";
    p2.GroundCol[0] = 10, p2.GroundCol[1] = 20, p2.GroundCol[2] = 30;
    p2.RockCol[1] = 5;
    p2.FogCol[0] = p2.FogCol[1] = p2.FogCol[2] = 0;
    p2.Owner = 23;
    p2.PopType = 5;
    p2.Population = 12000;
    p2.Unrest = 0;
    p2.Defence = 10;
    p2.VictoryPoints = 2;
    p2.Fort = 3;
    p2.Lab = p2.Temple = p2.KillFeatures = true;
    p2.SiteName[0] = "as stored";
    p2.SiteIndex[0] = 12;
    p2.KnownSiteName[1] = "x";
    p2.KnownSiteIndex[1] = 7;
    setCommander(p2.Commanders[1], 4);
    p2.Commanders[1].ComName = "Guard Captain";
    setCommander(p2.Commanders[3], 5);
    CommanderDataType& inside = p2.Commanders[3];
    inside.InsideCastle = true;
    inside.BodyguardName[0] = "Unit 1"; // no count: not written
    inside.BodyguardCount[2] = 2;
    inside.BodyguardIndex[2] = 6;
    inside.BodyguardName[2] = "Unit 6";
    inside.ClearMagic = true;
    inside.MagAstral = 1;
    inside.MagWater = 2;
    inside.MagPriest = 1;
    inside.Xp = 30;
    inside.RandomEquip = 1;
    inside.Items[0] = "Ring";
    inside.Items[5] = "Staff";
    setCommander(p2.Commanders[4], 6);
    p2.Commanders[4].InsideCastle = true;
    prov(40).Owner = 5; // content without #land or #setland gets a #setland

    EXPECT_EQ(write(), std::string(kFileHead) + R"(########### MAP HEADER ###########
#thx2title Isle of Ash
#imagefile isle.tga
#thx3version 3.17
#description "Line one
Line two"

#wraparound
#scenario
#victorycondition 1 50
#maptextcol 1.0 0.5 0.25 1.0
#defaultmapzoom 0.5
#features 20

######### ALLOWED PLAYERS ########
#allowedplayer 3 -- Ermor
#allowedplayer 5 -- )" + "\xfclm" +
                           R"(

######### ALLIED PLAYERS #########
#allies 3 7 -- Ermor <-> Mictlan

############# STARTS #############
#start 4

############# NATIONS ############
--------------------------------
-- AI ERMOR
#computerplayer 3 2
#specstart 3 12
#setland 12
#god 3 55 -- Pale King
#cannotwin 3
#comname "Ashur"
#mag_fire 2
#mag_priest 3
#mag_water 1
#xp 5
#additem "Crown"
#randomequip 0
#dominionstr 3 3
#scale_chaos 3 -2
#scale_lazy 3 1
#bodyguards 4 7 -- Unit 7
#units 10 8 -- Unit 8
#landname 12 "Ashgate"
#owner 3

#commander 9 -- Unit 9
--------------------------------
-- OPEN )" + "\xdcLM" + R"(
#specstart 5 20
#setland 20
#landname 20 "Ulmhold"
--------------------------------
-- OPEN MICTLAN
#god 7 3 -- Unit 3

########### NEIGHBOURS ###########
#neighbour 1 2
#neighbour 2 12
#neighbour 5 9

############# TERRAIN ############
#terrain 1 3
#terrain 2 0

######### PROVINCE DETAIL ########

#land 1
--------------------------------
#landname 1 "First"

#setland 2
--------------------------------
#skybox "sky.tga"
#batmap "bat.tga"
#groundcol 10 20 30
#fogcol 0 0 0
#poptype 5 -- Highland
#population 12000
#unrest 0
#defence 10
#victorypoints 2 2
#fort 3 -- Castle
#lab
#temple
#killfeatures
#feature 12 -- Well of Ash
#knownfeature 7 -- Site 7

#commander 4 -- Unit 4
#comname "Guard Captain"

--|  OUTSIDE THE CASTLE  |
----------------------------------
#owner 23  --  after this, units are owned by special monsters
----------------------------------
--|   INSIDE THE CASTLE  |

#commander 5 -- Unit 5
#bodyguards 2 6 -- Unit 6
#clearmagic
#mag_astral 1
#mag_water 2
#mag_priest 1
#xp 30
#randomequip 1
#additem "Ring"
#additem "Staff"

#commander 6 -- Unit 6

#setland 40
--------------------------------
#owner 5

)");
    // The masks are rebuilt from the flags before writing.
    EXPECT_EQ(prov(1).Terrain, 3);
    EXPECT_EQ(prov(3).Terrain, 0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(MapFloat, HasOneOrTwoDecimals) {
    const std::pair<float, std::string_view> cases[] = {
        {1.0f, "1.0"},   {0.25f, "0.25"},   {0.5f, "0.5"},    {0.1f, "0.1"},
        {0.29f, "0.29"}, {100.0f, "100.0"}, {0.125f, "0.13"}, {2.004f, "2.0"},
        {-0.5f, "-0.5"}, {-1.0f, "-1.0"},   {0.0f, "0.0"},    {1234567.0f, "1234567.0"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FormatMapFloat(value), text) << value;
}

TEST_F(WriterTest, ValuesAtTheEdgeOfBeingWritten) {
    doc->DefaultMapZoom = -1.0f;
    doc->MapTextColor[0] = -1.0f;
    doc->MapTextColor[1] = 0.5f;
    doc->VictoryConditionType = 0;
    doc->FeaturesFrequency = 0;
    doc->Nations[4].NationInUse = true;
    doc->Nations[4].ScaleDeath = -5;
    doc->Nations[4].AIDifficulty = 1;
    doc->Nations[4].DominionLevel = 0;
    doc->Nations[4].God.RandomEquip = -1;
    prov(9).SetLandFlag = true;
    setCommander(prov(9).Commanders[2], 5);
    prov(9).Commanders[2].RandomEquip = 0;
    prov(9).PopType = 0;
    prov(9).Fort = 0;
    prov(9).VictoryPoints = 0;
    prov(9).Owner = 0;
    const std::string text = write();
    EXPECT_EQ(text.find("#defaultmapzoom"), std::string::npos);
    EXPECT_EQ(text.find("#maptextcol"), std::string::npos);
    EXPECT_EQ(text.find("#victorycondition"), std::string::npos);
    EXPECT_NE(text.find("#features 0\n\n######### ALLOWED"), std::string::npos);
    EXPECT_NE(text.find("-- AI \n#computerplayer 4 1\n#scale_death 4 -5\n"), std::string::npos) << text;
    EXPECT_NE(text.find("#setland 9\n--------------------------------\n#owner 0\n\n#commander 5 -- Unit 5\n"
                        "#randomequip 0\n"),
              std::string::npos)
        << text;
}

TEST_F(WriterTest, PanelsCommitOnlyWhenDirty) {
    int commits = 0;
    const MapWriteOptions options{[&] {
        ++commits;
        doc->MapTitle = "Committed";
        doc->PanelDirty[ProvinceDirty] = false;
    }};
    z_WriteMapFile(*doc, *ref, ui, folder.file(QStringLiteral("a.map")), options);
    EXPECT_EQ(commits, 0);
    doc->PanelDirty[ProvinceDirty] = true;
    z_WriteMapFile(*doc, *ref, ui, folder.file(QStringLiteral("a.map")), options);
    EXPECT_EQ(commits, 1);
    EXPECT_NE(folder.read(QStringLiteral("a.map")).find("#thx2title Committed\n"), std::string::npos);
}

TEST_F(WriterTest, ASaveReplacesTheOldFileOnlyWhenComplete) {
    const QString path = folder.write(QStringLiteral("keep.map"), "old contents");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    doc->MapTitle = "New";
    ASSERT_TRUE(z_WriteMapFile(*doc, *ref, ui, path));
    // The old file was renamed over, not truncated in place: an open reader still sees it whole.
    EXPECT_EQ(old.readAll(), QByteArray("old contents"));
    EXPECT_NE(folder.read(QStringLiteral("keep.map")).find("#thx2title New\n"), std::string::npos);

    const QString bad = folder.file(QStringLiteral("keep.map/inside.map"));
    EXPECT_FALSE(z_WriteMapFile(*doc, *ref, ui, bad));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Map file not saved!"));
    EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("Map file not saved! Map: ") + bad +
                                               QStringLiteral(" Error: ")))
        << ui.messages[0].text.toStdString();
    EXPECT_NE(folder.read(QStringLiteral("keep.map")).find("#thx2title New\n"), std::string::npos);
}

} // namespace
