#include "refdatatesting.h"

#include <gtest/gtest.h>

namespace ts {
namespace {

using testing::paddedRow;
using testing::row;

class ReferenceLoaderTest : public ::testing::Test, protected testing::RefdataFixture {
  protected:
    // The single error box of a failed load.
    QString errorText() const {
        EXPECT_EQ(ui.messages.size(), 1u);
        return ui.messages.empty() ? QString() : ui.messages.front().text;
    }
};

TEST_F(ReferenceLoaderTest, ShowsEachStepBeforeItsFileAndEndsWaitingForTheMaster) {
    ASSERT_TRUE(load());
    const std::vector<std::pair<QString, QString>> expected = {
        {"Petitioning Nations...", "Tessary: PETITIONING NATIONS"},
        {"Polishing the Hammer", "Tessary: POLISHING THE HAMMER"},
        {"Warming the Coals...", "Tessary: WARMING THE COALS..."},
        {"Where are those damn Tongs!", "Tessary: ANYBODY SEEN THE TONGS?"},
        {"Nevermind, found the Tongs", "Tessary: FOUND THE TONGS! :)"},
        {"Gathering the armies...", "Tessary: GATHERING THE ARMIES..."},
        {"", "Tessary: Awaiting the master..."},
    };
    ASSERT_EQ(ui.busy.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(ui.busy[i].message, expected[i].first) << i;
        EXPECT_EQ(ui.busy[i].caption, expected[i].second) << i;
        EXPECT_EQ(ui.busy[i].color, 255u) << i;
    }
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_GE(ui.eventRuns, 6);
}

TEST_F(ReferenceLoaderTest, FillsEveryTableFromItsKeyColumn) {
    ASSERT_TRUE(load());
    EXPECT_EQ(ref->NationData[5].era, "EA");
    EXPECT_EQ(ref->NationData[5].number, 5);
    EXPECT_EQ(ref->NationData[5].name, "Arcoscephale");
    EXPECT_EQ(ref->PopData[1].name, "Humans");
    EXPECT_EQ(ref->PopData[1].units[3], 4);
    EXPECT_EQ(ref->PopData[1].commanders[0], 5);
    EXPECT_EQ(ref->PopData[1].commanders[3], 8);
    EXPECT_EQ(ref->PopData[1].commanders[4], 0);
    EXPECT_EQ(ref->SiteData[1].siteType, "Fire");
    EXPECT_EQ(ref->FortData[1].name, "Palisade");
    EXPECT_EQ(ref->ItemData[1].category, "1-h wpn");
    EXPECT_EQ(ref->ItemData[1].path2, "-666");
    EXPECT_EQ(ref->UnitData[1].name, "Militia");
    EXPECT_EQ(ref->UnitData[2].number, 0);
}

TEST_F(ReferenceLoaderTest, UnitColumnsLandInTheirFieldsAcrossTheWholeRow) {
    files["UnitData.txt"] =
        paddedRow(133, {{0, "7"},    {1, "Hoplite"}, {6, "12"},           {14, "3"},
                        {20, "1"},   {28, "9"},      {29, "R"},           {31, "100"},
                        {44, "FAW"}, {41, "R4"},     {43, "104"},         {52, "40"},
                        {64, "5"},   {65, "t65"},    {75, "20"},          {76, "Ice"},
                        {84, "2"},   {88, "Swamp"},  {116, "Reanimator"}, {117, "300"},
                        {124, "3"},  {130, "44"},    {131, "Bob"},        {132, "Special text"}}) +
        "\n";
    ASSERT_TRUE(load());
    const UnitDataType& u = ref->UnitData[7];
    EXPECT_EQ(u.name, "Hoplite");
    EXPECT_EQ(u.god, 12);
    EXPECT_EQ(u.magicLeader, 3);
    EXPECT_EQ(u.paths[0], 1);
    EXPECT_EQ(u.paths[8], 9);
    EXPECT_EQ(u.randomMagic[0], "R");
    EXPECT_EQ(u.randomValueB[0], 100);
    EXPECT_EQ(u.randomMagic[3], "R4");
    EXPECT_EQ(u.randomValueB[3], 104);
    EXPECT_EQ(u.randomPaths[3], "FAW");
    EXPECT_EQ(u.randomMagic[4], "");
    EXPECT_EQ(u.stealth, 40);
    EXPECT_EQ(u.standard, 5);
    EXPECT_EQ(u.text65, "t65");
    EXPECT_EQ(u.poisonCloud, 20);
    EXPECT_EQ(u.iceArmor, "Ice");
    EXPECT_EQ(u.voidSummoning, 2);
    EXPECT_EQ(u.survivalSwamp, "Swamp");
    EXPECT_EQ(u.reanimator, "Reanimator");
    EXPECT_EQ(u.summon, 300);
    EXPECT_EQ(u.domSummonCount, 3);
    EXPECT_EQ(u.seaShape, 44);
    EXPECT_EQ(u.uniqueName, "Bob");
    EXPECT_EQ(u.special, "Special text");
}

TEST_F(ReferenceLoaderTest, SiteColumnsLandInTheirFieldsAcrossTheWholeRow) {
    files["SiteData.txt"] = paddedRow(59, {{0, "9"},
                                           {1, "Forge"},
                                           {4, "4"},
                                           {6, "Earth"},
                                           {14, "2"},
                                           {20, "TRUE"},
                                           {21, "3"},
                                           {22, "10"},
                                           {23, "Smith"},
                                           {31, "Last"},
                                           {32, "t32"},
                                           {39, "77"},
                                           {40, "Golem"},
                                           {41, "6"},
                                           {43, "Order"},
                                           {50, "+1 bld"},
                                           {58, "Adv"}}) +
                            "\n";
    ASSERT_TRUE(load());
    const SiteDataType& s = ref->SiteData[9];
    EXPECT_EQ(s.name, "Forge");
    EXPECT_EQ(s.siteType, "Earth");
    EXPECT_EQ(s.gems[7], 2);
    EXPECT_EQ(s.lab, "TRUE");
    EXPECT_EQ(s.fort, 3);
    EXPECT_EQ(s.recruits[0], 10);
    EXPECT_EQ(s.recruitNames[0], "Smith");
    EXPECT_EQ(s.recruitNames[4], "Last");
    EXPECT_EQ(s.text32, "t32");
    EXPECT_EQ(s.summons[2], 77);
    EXPECT_EQ(s.summonNames[2], "Golem");
    EXPECT_EQ(s.summonValues[2], 6);
    EXPECT_EQ(s.summons[3], 0);
    EXPECT_EQ(s.scales[1], "Order");
    EXPECT_EQ(s.bld, "+1 bld");
    EXPECT_EQ(s.adventure, "Adv");
    EXPECT_EQ(s.terrain.mountain, "Yes");
}

TEST_F(ReferenceLoaderTest, MarkerStepDiffersBetweenUnitsAndSites) {
    files["UnitData.txt"] =
        row({"3", "", "x", " ", "", "", "", "", "*"}) + "\n" + paddedRow(133, {{0, "4"}, {132, "*"}}) + "\n";
    files["SiteData.txt"] = row({"2", " ", "", "", "1", "", "*"}) + "\n";
    files["NationData.txt"] = row({"MA", "6", "*", ""}) + "\n";
    ASSERT_TRUE(load());
    EXPECT_EQ(ref->UnitData[3].name, "-666");
    EXPECT_EQ(ref->UnitData[3].mounted, "-666");
    EXPECT_EQ(ref->UnitData[3].god, -666);
    EXPECT_EQ(ref->UnitData[3].size, -999);
    EXPECT_EQ(ref->UnitData[4].special, "-999");
    EXPECT_EQ(ref->SiteData[2].name, " ");
    EXPECT_EQ(ref->SiteData[2].value2, -666);
    EXPECT_EQ(ref->SiteData[2].siteType, "*");
    EXPECT_EQ(ref->NationData[6].text2, "-999");
    EXPECT_EQ(ref->NationData[6].name, "-666");
}

TEST_F(ReferenceLoaderTest, StarOrBlankInASiteIntegerColumnStopsTheLoad) {
    for (const std::string bad : {"*", " "}) {
        testing::RefdataFixture f;
        f.files["SiteData.txt"] = "1\tOk\t0\n" + row({"2", "Bad", bad}) + "\n";
        EXPECT_FALSE(f.load()) << bad;
        ASSERT_EQ(f.ui.messages.size(), 1u);
        EXPECT_EQ(f.ui.messages[0].title, "Reference Data Error!");
        EXPECT_TRUE(f.ui.messages[0].text.contains("TSdata/SiteData.txt, line 2, column 2"))
            << f.ui.messages[0].text.toStdString();
    }
}

TEST_F(ReferenceLoaderTest, PopDataIsWalkedWithoutMarkersAndTakesItsLastColumnAfterTheLastTab) {
    files["PopData.txt"] = row({"2", "", "1", "2", "3", "4", "5", "6", "7", "8", "ignored", "99"}) + "\n" +
                           row({"3", "Short", "11"}) + "\n";
    ASSERT_TRUE(load());
    EXPECT_EQ(ref->PopData[2].name, "");
    EXPECT_EQ(ref->PopData[2].commanders[2], 7);
    EXPECT_EQ(ref->PopData[2].commanders[3], 99);
    EXPECT_EQ(ref->PopData[3].units[0], 11);
    EXPECT_EQ(ref->PopData[3].units[1], 0);
}

TEST_F(ReferenceLoaderTest, EmptyPopDataIntegerIsAnError) {
    files["PopData.txt"] = row({"2", "Elves", "1", "", "3"}) + "\n";
    EXPECT_FALSE(load());
    EXPECT_TRUE(errorText().contains("TSdata/PopData.txt, line 1, column 3")) << errorText().toStdString();
    EXPECT_EQ(ui.busy.back().caption, "Tessary: POLISHING THE HAMMER");
}

TEST_F(ReferenceLoaderTest, LaterRowsOverwriteFieldByFieldAndShortRowsKeepTheRest) {
    files["ItemData.txt"] = row({"4", "Axe", "2-h wpn", "2", "E", "1", "F", "2"}) + "\n" +
                            row({"4", "Great Axe", "1-h wpn"}) + "\n" +
                            row({"5", "Ring", "misc", "8", "S", "3", "*", "0", "extra", "x"}) + "\n";
    files["FortData.txt"] = "1\tPalisade\t99\tignored\n";
    ASSERT_TRUE(load());
    const ItemDataType& axe = ref->ItemData[4];
    EXPECT_EQ(axe.name, "Great Axe");
    EXPECT_EQ(axe.category, "1-h wpn");
    EXPECT_EQ(axe.itemLevel, 2);
    EXPECT_EQ(axe.path2, "F");
    EXPECT_EQ(axe.path2Level, 2);
    EXPECT_EQ(ref->ItemData[5].path2, "-999");
    EXPECT_EQ(ref->ItemData[5].itemLevel, 8);
    EXPECT_EQ(ref->FortData[1].name, "Palisade");
}

TEST_F(ReferenceLoaderTest, AcceptsCrLfAndLfAndSkipsBlankLines) {
    files["FortData.txt"] = "1\tPalisade\r\n\r\n2\tWall\n\n3\tCastle";
    files["UnitData.txt"] = "1\tMilitia\r\n2\tArcher\r\n";
    ASSERT_TRUE(load());
    EXPECT_EQ(ref->FortData[1].name, "Palisade");
    EXPECT_EQ(ref->FortData[2].name, "Wall");
    EXPECT_EQ(ref->FortData[3].name, "Castle");
    EXPECT_EQ(ref->UnitData[2].name, "Archer");
}

TEST_F(ReferenceLoaderTest, KeepsWindows1252BytesAsTheyAre) {
    files["UnitData.txt"] = "1\tJ\xe4ger \x80\n";
    ASSERT_TRUE(load());
    EXPECT_EQ(ref->UnitData[1].name, "J\xe4ger \x80");
    EXPECT_EQ(lists.unitFinderUnits[1].text, QString::fromUtf8("J\xc3\xa4ger \xe2\x82\xac"));
}

TEST_F(ReferenceLoaderTest, IntegersTakeASignAndMustFitSixteenBits) {
    files["UnitData.txt"] = row({"1", "A", "", "", "", "", "-32768", "+32767", "007"}) + "\n";
    ASSERT_TRUE(load());
    EXPECT_EQ(ref->UnitData[1].god, -32768);
    EXPECT_EQ(ref->UnitData[1].value7, 32767);
    EXPECT_EQ(ref->UnitData[1].size, 7);

    for (const std::string bad : {"32768", "-32769", "12a", "1.5", "-", "+", " 5", "99999999999999999999"}) {
        testing::RefdataFixture f;
        f.files["UnitData.txt"] = "1\tOk\n\n" + row({"2", "Bad", "", "", "", "", bad}) + "\n";
        EXPECT_FALSE(f.load()) << bad;
        ASSERT_EQ(f.ui.messages.size(), 1u) << bad;
        const QString text = f.ui.messages[0].text;
        EXPECT_TRUE(text.contains("TSdata/UnitData.txt, line 3, column 6")) << text.toStdString();
        EXPECT_TRUE(text.contains(QString::fromStdString("\"" + bad + "\""))) << text.toStdString();
    }
}

TEST_F(ReferenceLoaderTest, KeyOutsideTheTableStopsTheLoad) {
    struct Case {
        const char* file;
        std::string content;
        const char* expected;
    };
    const Case cases[] = {
        {"UnitData.txt", "2999\tLast\n3000\tTooFar\n", "TSdata/UnitData.txt, line 2"},
        {"NationData.txt", "EA\t100\tx\tNowhere\n", "TSdata/NationData.txt, line 1"},
        {"FortData.txt", "-1\tMinus\n", "TSdata/FortData.txt, line 1"},
        {"SiteData.txt", "750\tBeyond\n", "TSdata/SiteData.txt, line 1"},
        {"NationData.txt", "EA\n", "TSdata/NationData.txt, line 1"},
        {"UnitData.txt", " \n", "TSdata/UnitData.txt, line 1"},
    };
    for (const Case& c : cases) {
        testing::RefdataFixture f;
        f.files[c.file] = c.content;
        EXPECT_FALSE(f.load()) << c.content;
        ASSERT_EQ(f.ui.messages.size(), 1u) << c.content;
        EXPECT_EQ(f.ui.messages[0].title, "Reference Data Error!");
        EXPECT_TRUE(f.ui.messages[0].text.contains(c.expected)) << f.ui.messages[0].text.toStdString();
    }
}

TEST_F(ReferenceLoaderTest, MissingFileStopsAtItsStepAndLeavesTheListsEmpty) {
    files.erase("FortData.txt");
    lists.owners.push_back({"stale", 1}); // what an earlier load might have left
    EXPECT_FALSE(load());
    EXPECT_TRUE(errorText().contains("TSdata/FortData.txt")) << errorText().toStdString();
    EXPECT_EQ(ui.messages[0].title, "Reference Data Error!");
    EXPECT_EQ(ui.busy.back().caption, "Tessary: ANYBODY SEEN THE TONGS?");
    EXPECT_TRUE(lists.owners.empty());
    EXPECT_TRUE(lists.victoryConditions.empty());
    EXPECT_TRUE(lists.unitMisc.empty());
    EXPECT_EQ(ref->UnitData[1].name, ""); // later files are not read
}

struct MaskCase {
    std::string column;
    std::int32_t remainder;
    std::vector<std::string SiteTerrainFlags::*> set;
};

void PrintTo(const MaskCase& c, std::ostream* os) {
    *os << "mask \"" << c.column << "\"";
}

class SiteTerrainMaskTest : public ::testing::TestWithParam<MaskCase>, protected testing::RefdataFixture {};

TEST_P(SiteTerrainMaskTest, DecodesBitsThatAreSetAndReportsTheRemainder) {
    const MaskCase& c = GetParam();
    files["SiteData.txt"] = row({"12", "Site", "0", "0", c.column}) + "\n";
    ASSERT_TRUE(load());
    const SiteDataType& s = ref->SiteData[12];
    EXPECT_EQ(s.terrainMask, c.remainder);
    const std::vector<std::string SiteTerrainFlags::*> all = {
        &SiteTerrainFlags::unique,   &SiteTerrainFlags::flag1024, &SiteTerrainFlags::cave,
        &SiteTerrainFlags::deepSea,  &SiteTerrainFlags::swamp,    &SiteTerrainFlags::coast,
        &SiteTerrainFlags::sea,      &SiteTerrainFlags::farm,     &SiteTerrainFlags::waste,
        &SiteTerrainFlags::mountain, &SiteTerrainFlags::forest,   &SiteTerrainFlags::plains,
        &SiteTerrainFlags::noTerrain};
    for (std::size_t i = 0; i < all.size(); ++i) {
        const bool expected = std::find(c.set.begin(), c.set.end(), all[i]) != c.set.end();
        EXPECT_EQ(s.terrain.*all[i], expected ? "Yes" : "") << "flag " << i << " mask " << c.column;
    }
    if (c.remainder == 0) {
        EXPECT_TRUE(ui.messages.empty());
    } else {
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].title, "Site Terrain Mask Invalid!");
        EXPECT_EQ(ui.messages[0].text,
                  QString("Site Terrain Value <> 0! Error in site terrain value! Site# 12, Mask %1")
                      .arg(c.remainder));
    }
}

using F = SiteTerrainFlags;
INSTANTIATE_TEST_SUITE_P(
    Masks, SiteTerrainMaskTest,
    ::testing::Values(MaskCase{"0", 0, {&F::noTerrain}}, MaskCase{"3", 0, {&F::plains, &F::forest}},
                      MaskCase{"2048", 2048, {}},
                      MaskCase{"17409", 0, {&F::unique, &F::flag1024, &F::plains}},
                      MaskCase{"2052", 2048, {&F::mountain}}, MaskCase{"14336", 14336, {}},
                      MaskCase{"1008", 0, {&F::cave, &F::deepSea, &F::swamp, &F::coast, &F::sea, &F::farm}},
                      MaskCase{"70000", 69632, {&F::deepSea, &F::coast, &F::sea, &F::farm}},
                      MaskCase{"", -666, {&F::noTerrain}}, MaskCase{"-1", -1, {&F::noTerrain}}));

TEST_F(ReferenceLoaderTest, BadMasksAreReportedPerSiteAndTheLoadGoesOn) {
    files["SiteData.txt"] = "1\tA\t0\t0\t2048\n2\tB\t0\t0\t8\n3\tC\t0\t0\t4096\n";
    ASSERT_TRUE(load());
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_TRUE(ui.messages[0].text.endsWith("Site# 1, Mask 2048"));
    EXPECT_TRUE(ui.messages[1].text.endsWith("Site# 3, Mask 4096"));
    EXPECT_EQ(ref->SiteData[2].terrain.waste, "Yes");
    EXPECT_EQ(ref->UnitData[1].name, "Militia");
}

TEST_F(ReferenceLoaderTest, LaterSiteRowReplacesTheTerrainOnlyWhenItReachesTheMask) {
    files["SiteData.txt"] = "1\tA\t0\t0\t3\n1\tA2\t0\t0\t4\n2\tB\t0\t0\t16\n2\tB2\n";
    ASSERT_TRUE(load());
    EXPECT_EQ(ref->SiteData[1].terrain.mountain, "Yes");
    EXPECT_EQ(ref->SiteData[1].terrain.plains, "");
    EXPECT_EQ(ref->SiteData[2].name, "B2");
    EXPECT_EQ(ref->SiteData[2].terrain.farm, "Yes");
    EXPECT_EQ(ref->SiteData[2].terrain.noTerrain, "");
}

} // namespace
} // namespace ts
