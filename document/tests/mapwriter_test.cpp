#include "documenttesting.h"
#include "mapreader.h"
#include "mapwriter.h"

#include <QFile>

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

struct WriterTest : ts::testing::DocumentTest {
    WriterTest() {
        ref->NationData[3].name = "Ermor";
        ref->NationData[5].name = "\xfclm";
        ref->NationData[7].name = "Mictlan";
        ref->PopData[5].name = "Highland";
        ref->FortData[3].name = "Castle";
        resetWithTables();
    }
    std::string write() {
        EXPECT_TRUE(z_WriteMapFile(*doc, *ref, ui, folder.file(QStringLiteral("out.map"))));
        return folder.read(QStringLiteral("out.map"));
    }
};

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
    // Keeping, a link only the higher province holds is written too, and reads back mutual.
    doc->KeepUnknown = true;
    EXPECT_NE(write().find("#neighbour 5 9\n#neighbour 30 29\n\n"), std::string::npos);
}

TEST(MapFloat, HasOneOrTwoDecimals) {
    const std::pair<float, std::string_view> cases[] = {
        {1.0f, "1.0"},   {0.25f, "0.25"},   {0.5f, "0.5"},    {0.1f, "0.1"},
        {0.29f, "0.29"}, {100.0f, "100.0"}, {0.125f, "0.13"}, {2.004f, "2.0"},
        {-0.5f, "-0.5"}, {-1.0f, "-1.0"},   {0.0f, "0.0"},    {1234567.0f, "1234567.0"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FormatMapFloat(value), text) << value;
}

// Every section title stands even when empty; values that are not set are left out, while 0 is a
// value like any other.
TEST_F(WriterTest, AnAlmostEmptyMapKeepsEveryTitleAndWritesValuesAtTheirEdge) {
    doc->MapTextColor[1] = 0.5f; // left out: the colour's first part is not set
    doc->VictoryConditionType = 0, doc->FeaturesFrequency = 0;
    NationDataType& n = doc->Nations[4];
    n.NationInUse = true, n.ScaleDeath = -5, n.AIDifficulty = 1, n.DominionLevel = 0;
    ProvinceDataType& p = prov(9);
    p.SetLandFlag = true;
    p.PopType = p.Fort = p.VictoryPoints = p.Owner = p.Commanders[2].RandomEquip = 0;
    p.Commanders[2].UnitIndex = 5, p.Commanders[2].UnitName = "Unit 5";
    EXPECT_EQ(write(), std::string(kFileHead) + R"(########### MAP HEADER ###########
#thx2title 
#imagefile 
#thx3version 
#description ""

#features 0

######### ALLOWED PLAYERS ########

######### ALLIED PLAYERS #########

############# STARTS #############

############# NATIONS ############
--------------------------------
-- AI 
#computerplayer 4 1
#scale_death 4 -5

########### NEIGHBOURS ###########

############# TERRAIN ############

######### PROVINCE DETAIL ########

#setland 9
--------------------------------
#owner 0

#commander 5 -- Unit 5
#randomequip 0

)");
}

TEST_F(WriterTest, ASaveCommitsDirtyPanelsAndReplacesTheOldFileOnlyWhenComplete) {
    const QString path = folder.write(QStringLiteral("keep.map"), "old contents");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    int commits = 0;
    const MapWriteOptions options{[&] {
        ++commits;
        doc->MapTitle = "New";
        doc->PanelDirty[ProvinceDirty] = false;
    }};
    ASSERT_TRUE(z_WriteMapFile(*doc, *ref, ui, path, options));
    EXPECT_EQ(commits, 0); // no panel is dirty
    doc->PanelDirty[ProvinceDirty] = true;
    ASSERT_TRUE(z_WriteMapFile(*doc, *ref, ui, path, options));
    EXPECT_EQ(commits, 1);
    EXPECT_NE(folder.read(QStringLiteral("keep.map")).find("#thx2title New\n"), std::string::npos);
    // The old file was renamed over, not truncated in place: an open reader still sees it whole.
    EXPECT_EQ(old.readAll(), QByteArray("old contents"));

    const QString bad = folder.file(QStringLiteral("keep.map/inside.map"));
    EXPECT_FALSE(z_WriteMapFile(*doc, *ref, ui, bad));
    ASSERT_EQ(ui.titles(), QStringList{QStringLiteral("Map file not saved!")});
    EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("Map file not saved! Map: ") + bad +
                                               QStringLiteral(" Error: ")))
        << ui.messages[0].text.toStdString();
}

} // namespace
