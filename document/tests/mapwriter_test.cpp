#include "fakeuserinterface.h"
#include "lookups.h"
#include "mapdocument.h"
#include "mapreader.h"
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
        for (int n = 1; n <= 100; ++n) {
            ref->UnitData[n].number = static_cast<std::int16_t>(n);
            ref->UnitData[n].name = "Unit " + std::to_string(n);
        }
        ref->UnitData[55].name = "Pale King";
        ref->NationData[3].name = "Ermor";
        ref->NationData[5].name = "\xfclm";
        ref->NationData[7].name = "Mictlan";
        ref->PopData[5].name = "Highland";
        ref->FortData[3].name = "Castle";
        for (const auto& [n, name] : {std::pair{7, "Site 7"}, std::pair{12, "Well of Ash"}}) {
            ref->SiteData[n].number = static_cast<std::int16_t>(n);
            ref->SiteData[n].name = name;
        }
        BuildLookupIndex(*ref);
        ResetMapDocument(*doc, *ref, ui);
    }

    std::string write() {
        EXPECT_TRUE(z_WriteMapFile(*doc, *ref, ui, folder.file(QStringLiteral("out.map"))));
        return folder.read(QStringLiteral("out.map"));
    }
    ProvinceDataType& prov(int p) { return doc->Provinces[p]; }
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

// The document is read from the expected file itself, then given what a file cannot say (links
// from one side only, names that differ from the tables, content without a #land or #setland);
// the writer must give back the expected bytes.
TEST_F(WriterTest, AFullMapIsWrittenInTheFixedLayout) {
    const std::string expected = std::string(kFileHead) + R"(########### MAP HEADER ###########
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

)";
    z_ReadMapFile(*doc, *ref, ui, folder.write(QStringLiteral("in.map"), expected));
    ASSERT_FALSE(doc->MapErrorsFound) << doc->ErrorLog;
    ASSERT_EQ(prov(12).Commanders[0].UnitName, "Pale King"); // the god's slot is written only as the god
    prov(9).Neighbours[0] = -1; // one-sided links are written from the lower province only
    prov(30).Neighbours[0] = 29;
    prov(1).Terrain = 7; // masks are rebuilt from the flags
    prov(3).Terrain = 0; // a mask of 0 without the plain flag is left out
    prov(2).RockCol[1] = 5; // a colour without its first part is left out
    prov(2).SiteName[0] = "as stored"; // the name comes from the table
    prov(2).Commanders[3].BodyguardName[0] = "Unit 1"; // no count: not written
    prov(40).SetLandFlag = false; // content without #land or #setland gets a #setland

    EXPECT_EQ(write(), expected);
    EXPECT_EQ(prov(1).Terrain, 3);
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
    doc->MapTextColor[1] = 0.5f; // left out: the colour's first part is not set
    doc->VictoryConditionType = 0;
    doc->FeaturesFrequency = 0;
    NationDataType& n = doc->Nations[4];
    n.NationInUse = true;
    n.ScaleDeath = -5;
    n.AIDifficulty = 1;
    n.DominionLevel = 0;
    ProvinceDataType& p = prov(9);
    p.SetLandFlag = true;
    p.PopType = p.Fort = p.VictoryPoints = p.Owner = 0;
    p.Commanders[2].UnitIndex = 5;
    p.Commanders[2].UnitName = "Unit 5";
    p.Commanders[2].RandomEquip = 0;
    const std::string text = write();
    for (const char* absent : {"#defaultmapzoom", "#maptextcol", "#victorycondition"})
        EXPECT_EQ(text.find(absent), std::string::npos) << absent;
    for (const char* present : {"#features 0\n\n######### ALLOWED", "-- AI \n#computerplayer 4 1\n#scale_death 4 -5\n",
                                "#setland 9\n--------------------------------\n#owner 0\n\n#commander 5 -- Unit 5\n"
                                "#randomequip 0\n"})
        EXPECT_NE(text.find(present), std::string::npos) << present << "\nin\n" << text;
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
