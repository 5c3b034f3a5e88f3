#include "refdatatesting.h"

#include <gtest/gtest.h>

namespace ts {
namespace {

using testing::row;
using Strings = std::vector<std::string>;
using Ints = std::vector<int>;

class ReferenceLoaderTest : public ::testing::Test, protected testing::RefdataFixture {};

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
    std::vector<std::pair<QString, QString>> shown;
    for (const auto& b : ui.busy) {
        shown.emplace_back(b.message, b.caption);
        EXPECT_EQ(b.color, 255u);
    }
    EXPECT_EQ(shown, expected);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_GE(ui.eventRuns, 6);
}

// Columns at the seams of each table's layout land in their fields.
TEST_F(ReferenceLoaderTest, ColumnsLandInTheirFields) {
    files["UnitData.txt"] = row(133, {{0, "7"},   {1, "Hoplite"}, {6, "12"},   {14, "3"},    {20, "1"},
                                      {28, "9"},  {29, "R"},      {31, "100"}, {41, "R4"},   {43, "104"},
                                      {44, "FAW"}, {52, "40"},    {64, "5"},   {65, "t65"},  {75, "20"},
                                      {76, "Ice"}, {84, "2"},     {88, "Swamp"}, {116, "Reanimator"},
                                      {117, "300"}, {124, "3"},   {130, "44"}, {131, "Bob"}, {132, "Special text"}});
    files["SiteData.txt"] = row(59, {{0, "9"},     {1, "Forge"},  {4, "4"},    {6, "Earth"}, {14, "2"},
                                     {20, "TRUE"}, {21, "3"},     {22, "10"},  {23, "Smith"}, {31, "Last"},
                                     {32, "t32"},  {39, "77"},    {40, "Golem"}, {41, "6"},  {43, "Order"},
                                     {50, "+1 bld"}, {58, "Adv"}});
    ASSERT_TRUE(load());
    const UnitDataType& u = ref->UnitData[7];
    EXPECT_EQ((Strings{u.name, u.randomMagic[0], u.randomMagic[3], u.randomPaths[3], u.randomMagic[4], u.text65,
                       u.iceArmor, u.survivalSwamp, u.reanimator, u.uniqueName, u.special}),
              (Strings{"Hoplite", "R", "R4", "FAW", "", "t65", "Ice", "Swamp", "Reanimator", "Bob", "Special text"}));
    EXPECT_EQ((Ints{u.god, u.magicLeader, u.paths[0], u.paths[8], u.randomValueB[0], u.randomValueB[3], u.stealth,
                    u.standard, u.poisonCloud, u.voidSummoning, u.summon, u.domSummonCount, u.seaShape}),
              (Ints{12, 3, 1, 9, 100, 104, 40, 5, 20, 2, 300, 3, 44}));
    const SiteDataType& s = ref->SiteData[9];
    EXPECT_EQ((Strings{s.name, s.siteType, s.lab, s.recruitNames[0], s.recruitNames[4], s.text32, s.summonNames[2],
                       s.scales[1], s.bld, s.adventure, s.terrain.mountain}),
              (Strings{"Forge", "Earth", "TRUE", "Smith", "Last", "t32", "Golem", "Order", "+1 bld", "Adv", "Yes"}));
    EXPECT_EQ((Ints{s.gems[7], s.fort, s.recruits[0], s.summons[2], s.summonValues[2], s.summons[3]}),
              (Ints{2, 3, 10, 77, 6, 0}));
    EXPECT_EQ((Strings{ref->NationData[5].era, ref->NationData[5].name, ref->FortData[1].name,
                       ref->ItemData[1].category, ref->ItemData[1].path2}),
              (Strings{"EA", "Arcoscephale", "Palisade", "1-h wpn", "-666"}));
    EXPECT_EQ(ref->NationData[5].number, 5);
}

// Empty fields are marked "-666" and missing ones "-999", but a unit row is only short after nine
// columns, a site row after six and a nation row after three; PopData has no markers at all and
// takes its last number after the last tab.
TEST_F(ReferenceLoaderTest, MarkerStepDiffersBetweenFilesAndPopDataIsWalkedWithoutMarkers) {
    files["UnitData.txt"] = "3\t\tx\t \t\t\t\t\t*\n" + row(133, {{0, "4"}, {132, "*"}});
    files["SiteData.txt"] = "2\t \t\t\t1\t\t*\n";
    files["NationData.txt"] = "MA\t6\t*\t\n";
    files["PopData.txt"] = "2\t\t1\t2\t3\t4\t5\t6\t7\t8\tignored\t99\n3\tShort\t11\n";
    ASSERT_TRUE(load());
    const auto& u = ref->UnitData;
    EXPECT_EQ((Strings{u[3].name, u[3].mounted, u[4].special, ref->SiteData[2].name, ref->SiteData[2].siteType,
                       ref->NationData[6].text2, ref->NationData[6].name, ref->PopData[2].name}),
              (Strings{"-666", "-666", "-999", " ", "*", "-999", "-666", ""}));
    EXPECT_EQ((Ints{u[3].god, u[3].size, ref->SiteData[2].value2, ref->PopData[2].commanders[2],
                    ref->PopData[2].commanders[3], ref->PopData[3].units[0], ref->PopData[3].units[1]}),
              (Ints{-666, -999, -666, 7, 99, 11, 0}));
}

TEST_F(ReferenceLoaderTest, LaterRowsOverwriteFieldByFieldShortRowsKeepTheRestExtraColumnsAreIgnored) {
    files["ItemData.txt"] = "4\tAxe\t2-h wpn\t2\tE\t1\tF\t2\n4\tGreat Axe\t1-h wpn\n"
                            "5\tRing\tmisc\t8\tS\t3\t*\t0\textra\tx\n";
    files["FortData.txt"] = "1\tPalisade\t99\tignored\n";
    ASSERT_TRUE(load());
    const ItemDataType& axe = ref->ItemData[4];
    EXPECT_EQ((Strings{axe.name, axe.category, axe.path2, ref->ItemData[5].path2, ref->FortData[1].name}),
              (Strings{"Great Axe", "1-h wpn", "F", "-999", "Palisade"}));
    EXPECT_EQ((Ints{axe.itemLevel, axe.path2Level, ref->ItemData[5].itemLevel}), (Ints{2, 2, 8}));
}

TEST_F(ReferenceLoaderTest, AcceptsCrLfAndLfSkipsBlankLinesAndKeepsWindows1252Bytes) {
    files["FortData.txt"] = "1\tPalisade\r\n\r\n2\tWall\n\n3\tCastle";
    files["UnitData.txt"] = "1\tJ\xe4ger \x80\r\n2\tArcher\r\n";
    ASSERT_TRUE(load());
    EXPECT_EQ((Strings{ref->FortData[1].name, ref->FortData[2].name, ref->FortData[3].name, ref->UnitData[2].name}),
              (Strings{"Palisade", "Wall", "Castle", "Archer"}));
    EXPECT_EQ(ref->UnitData[1].name, "J\xe4ger \x80");
    EXPECT_EQ(lists.unitFinderUnits[1].text, QString::fromUtf8("J\xc3\xa4ger \xe2\x82\xac"));
}

TEST_F(ReferenceLoaderTest, IntegersTakeASignAndMustFitSixteenBits) {
    files["UnitData.txt"] = "1\tA\t\t\t\t\t-32768\t+32767\t007\n";
    ASSERT_TRUE(load());
    EXPECT_EQ((Ints{ref->UnitData[1].god, ref->UnitData[1].value7, ref->UnitData[1].size}), (Ints{-32768, 32767, 7}));
}

// Whatever stops a load is one message that names the file and the line (and column, for a value).
TEST(ReferenceLoaderErrors, AFaultyRowStopsTheLoadWithOneMessageNamingFileAndLine) {
    const std::pair<const char*, std::string> bad[] = {
        {"UnitData.txt", "2999\tLast\n3000\tTooFar\n"}, {"NationData.txt", "EA\t100\tx\tNowhere\n"},
        {"FortData.txt", "-1\tMinus\n"},                {"SiteData.txt", "750\tBeyond\n"},
        {"NationData.txt", "EA\n"},                     {"UnitData.txt", " \n"},
        {"SiteData.txt", "1\tOk\t0\n2\tBad\t*\n"},      {"SiteData.txt", "1\tOk\t0\n2\tBad\t \n"},
        {"PopData.txt", "2\tElves\t1\t\t3\n"},
    };
    const char* where[] = {"UnitData.txt, line 2",           "NationData.txt, line 1", "FortData.txt, line 1",
                           "SiteData.txt, line 1",           "NationData.txt, line 1", "UnitData.txt, line 1",
                           "SiteData.txt, line 2, column 2", "SiteData.txt, line 2, column 2",
                           "PopData.txt, line 1, column 3"};
    std::vector<std::pair<const char*, std::string>> cases(std::begin(bad), std::end(bad));
    std::vector<std::string> places(std::begin(where), std::end(where));
    for (const std::string number : {"32768", "-32769", "12a", "1.5", "-", "+", " 5", "99999999999999999999"}) {
        cases.emplace_back("UnitData.txt", "1\tOk\n\n2\tBad\t\t\t\t\t" + number + "\n");
        places.push_back("UnitData.txt, line 3, column 6: \"" + number + "\"");
    }
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].second);
        testing::RefdataFixture f;
        f.files[cases[i].first] = cases[i].second;
        EXPECT_FALSE(f.load());
        EXPECT_EQ(f.ui.titles(), QStringList{"Reference Data Error!"});
        EXPECT_TRUE(f.ui.messages[0].text.contains(QString::fromStdString("TSdata/" + places[i])))
            << f.ui.messages[0].text.toStdString();
    }
}

TEST_F(ReferenceLoaderTest, MissingFileStopsAtItsStepAndLeavesTheListsEmpty) {
    files.erase("FortData.txt");
    lists.owners.push_back({"stale", 1}); // what an earlier load might have left
    EXPECT_FALSE(load());
    EXPECT_EQ(ui.titles(), QStringList{"Reference Data Error!"});
    EXPECT_TRUE(ui.messages[0].text.contains("TSdata/FortData.txt")) << ui.messages[0].text.toStdString();
    EXPECT_EQ(ui.busy.back().caption, "Tessary: ANYBODY SEEN THE TONGS?");
    EXPECT_TRUE(lists.owners.empty() && lists.victoryConditions.empty() && lists.unitMisc.empty());
    EXPECT_EQ(ref->UnitData[1].name, ""); // later files are not read
}

// The site terrain mask sets a "Yes" flag per bit from the top; what is left over is kept and
// reported per site, and the load goes on. A later row replaces the flags only when it has a mask.
TEST_F(ReferenceLoaderTest, SiteTerrainMasksSetFlagsAndReportTheRemainder) {
    const std::vector<std::pair<std::string SiteTerrainFlags::*, const char*>> flags = {
        {&SiteTerrainFlags::unique, "unique"},   {&SiteTerrainFlags::flag1024, "1024"},
        {&SiteTerrainFlags::cave, "cave"},       {&SiteTerrainFlags::deepSea, "deepsea"},
        {&SiteTerrainFlags::swamp, "swamp"},     {&SiteTerrainFlags::coast, "coast"},
        {&SiteTerrainFlags::sea, "sea"},         {&SiteTerrainFlags::farm, "farm"},
        {&SiteTerrainFlags::waste, "waste"},     {&SiteTerrainFlags::mountain, "mountain"},
        {&SiteTerrainFlags::forest, "forest"},   {&SiteTerrainFlags::plains, "plains"},
        {&SiteTerrainFlags::noTerrain, "none"}};
    struct Case {
        const char* mask;
        std::int32_t remainder;
        std::string set;
    };
    const Case cases[] = {{"0", 0, "none "},         {"3", 0, "forest plains "},
                          {"2048", 2048, ""},        {"17409", 0, "unique 1024 plains "},
                          {"2052", 2048, "mountain "}, {"1008", 0, "cave deepsea swamp coast sea farm "},
                          {"70000", 69632, "deepsea coast sea farm "}, {"", -666, "none "}, {"-1", -1, "none "}};
    files["SiteData.txt"].clear();
    for (int site = 1; const Case& c : cases)
        files["SiteData.txt"] += std::to_string(site++) + "\tSite\t0\t0\t" + c.mask + "\n";
    files["SiteData.txt"] += "20\tA\t0\t0\t3\n20\tA2\t0\t0\t4\n21\tB\t0\t0\t16\n21\tB2\n";
    ASSERT_TRUE(load());
    QStringList reports;
    for (int site = 1; const Case& c : cases) {
        SCOPED_TRACE(c.mask);
        const SiteDataType& s = ref->SiteData[site];
        EXPECT_EQ(s.terrainMask, c.remainder);
        std::string set;
        for (const auto& [flag, name] : flags)
            if (!(s.terrain.*flag).empty()) set += std::string(name) + (s.terrain.*flag == "Yes" ? " " : "?");
        EXPECT_EQ(set, c.set);
        if (c.remainder != 0)
            reports << QString("Site Terrain Value <> 0! Error in site terrain value! Site# %1, Mask %2")
                           .arg(site)
                           .arg(c.remainder);
        ++site;
    }
    EXPECT_EQ(ui.titles(), QStringList(reports.size(), "Site Terrain Mask Invalid!"));
    QStringList texts;
    for (const auto& m : ui.messages)
        texts << m.text;
    EXPECT_EQ(texts, reports);
    EXPECT_EQ((Strings{ref->SiteData[20].terrain.mountain, ref->SiteData[20].terrain.plains, ref->SiteData[21].name,
                       ref->SiteData[21].terrain.farm, ref->SiteData[21].terrain.noTerrain}),
              (Strings{"Yes", "", "B2", "Yes", ""}));
}

} // namespace
} // namespace ts
