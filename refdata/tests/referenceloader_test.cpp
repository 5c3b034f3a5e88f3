#include "refdatatesting.h"

#include "lookups.h"

#include <QFile>
#include <array>
#include <gtest/gtest.h>

namespace ts {
namespace {

using testing::row;
using Strings = std::vector<std::string>;
using Ints = std::vector<int>;

class ReferenceLoaderTest : public ::testing::Test, protected testing::RefdataFixture {};

TEST_F(ReferenceLoaderTest, ShowsEachStepBeforeItsFileAndEndsWaitingForTheMaster) {
    ASSERT_TRUE(load());
    QStringList shown;
    for (const auto& b : ui.busy)
        shown << b.message + "|" + b.caption + "|" + QString::number(b.color);
    EXPECT_EQ(shown, (QStringList{"Petitioning Nations...|Tessary: PETITIONING NATIONS|255",
                                  "Polishing the Hammer|Tessary: POLISHING THE HAMMER|255",
                                  "Warming the Coals...|Tessary: WARMING THE COALS...|255",
                                  "Where are those damn Tongs!|Tessary: ANYBODY SEEN THE TONGS?|255",
                                  "Nevermind, found the Tongs|Tessary: FOUND THE TONGS! :)|255",
                                  "Gathering the armies...|Tessary: GATHERING THE ARMIES...|255",
                                  "|Tessary: Awaiting the master...|255"}));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_GE(ui.eventRuns, 6);
}

// Columns at the seams of each table's layout land in their fields; integers take a sign and must
// fit sixteen bits.
TEST_F(ReferenceLoaderTest, ColumnsLandInTheirFields) {
    files["UnitData.txt"] = row(133, {{0, "7"}, {1, "Hoplite"}, {6, "-32768"}, {7, "+32767"}, {8, "007"}, {14, "3"},
        {20, "1"}, {28, "9"}, {29, "R"}, {31, "100"}, {41, "R4"}, {43, "104"}, {44, "FAW"}, {52, "40"}, {64, "5"},
        {65, "t65"}, {75, "20"}, {76, "Ice"}, {84, "2"}, {88, "Swamp"}, {116, "Reanimator"}, {117, "300"},
        {124, "3"}, {130, "44"}, {131, "Bob"}, {132, "Special text"}});
    files["SiteData.txt"] = row(59, {{0, "9"}, {1, "Forge"}, {4, "4"}, {6, "Earth"}, {14, "2"}, {20, "TRUE"},
        {21, "3"}, {22, "10"}, {23, "Smith"}, {31, "Last"}, {32, "t32"}, {39, "77"}, {40, "Golem"}, {41, "6"},
        {43, "Order"}, {50, "+1 bld"}, {58, "Adv"}});
    ASSERT_TRUE(load());
    const UnitDataType& u = ref->UnitData[7];
    EXPECT_EQ((Strings{u.name, u.randomMagic[0], u.randomMagic[3], u.randomPaths[3], u.randomMagic[4], u.text65,
                       u.iceArmor, u.survivalSwamp, u.reanimator, u.uniqueName, u.special}),
              (Strings{"Hoplite", "R", "R4", "FAW", "", "t65", "Ice", "Swamp", "Reanimator", "Bob", "Special text"}));
    EXPECT_EQ((Ints{u.god, u.value7, u.size, u.magicLeader, u.paths[0], u.paths[8], u.randomValueB[0],
                    u.randomValueB[3], u.stealth, u.standard, u.poisonCloud, u.voidSummoning, u.summon,
                    u.domSummonCount, u.seaShape}),
              (Ints{-32768, 32767, 7, 3, 1, 9, 100, 104, 40, 5, 20, 2, 300, 3, 44}));
    const SiteDataType& s = ref->SiteData[9];
    EXPECT_EQ((Strings{s.name, s.siteType, s.lab, s.recruitNames[0], s.recruitNames[4], s.text32, s.summonNames[2],
                       s.scales[1], s.bld, s.adventure, s.terrain.mountain}),
              (Strings{"Forge", "Earth", "TRUE", "Smith", "Last", "t32", "Golem", "Order", "+1 bld", "Adv", "Yes"}));
    EXPECT_EQ((Ints{s.gems[7], s.fort, s.recruits[0], s.summons[2], s.summonValues[2], s.summons[3]}),
              (Ints{2, 3, 10, 77, 6, 0}));
}

// Empty fields are marked "-666" and missing ones "-999", but a unit row is only short after nine
// columns, a site row after six and a nation row after three; PopData has no markers at all and
// takes its last number after the last tab. Later rows overwrite field by field, extra columns are
// ignored, CR LF, LF and blank lines are read alike and Windows-1252 bytes are kept.
TEST_F(ReferenceLoaderTest, RowsFillFieldByFieldWithEachFilesMarkers) {
    files["UnitData.txt"] = "1\tJ\xe4ger \x80\r\n2\tArcher\r\n3\t\tx\t \t\t\t\t\t*\n" + row(133, {{0, "4"}, {132, "*"}});
    files["SiteData.txt"] = "2\t \t\t\t1\t\t*\n";
    files["NationData.txt"] = "MA\t6\t*\t\n";
    files["PopData.txt"] = "2\t\t1\t2\t3\t4\t5\t6\t7\t8\tignored\t99\n3\tShort\t11\n";
    files["ItemData.txt"] = "4\tAxe\t2-h wpn\t2\tE\t1\tF\t2\n4\tGreat Axe\t1-h wpn\n"
                            "5\tRing\tmisc\t8\tS\t3\t*\t0\textra\tx\n";
    files["FortData.txt"] = "1\tPalisade\t99\tignored\r\n\r\n2\tWall\n\n3\tCastle";
    ASSERT_TRUE(load());
    const auto& u = ref->UnitData;
    const ItemDataType& axe = ref->ItemData[4];
    EXPECT_EQ((Strings{u[3].name, u[3].mounted, u[4].special, ref->SiteData[2].name, ref->SiteData[2].siteType,
                       ref->NationData[6].text2, ref->NationData[6].name, ref->PopData[2].name}),
              (Strings{"-666", "-666", "-999", " ", "*", "-999", "-666", ""}));
    EXPECT_EQ((Ints{u[3].god, u[3].size, ref->SiteData[2].value2, ref->PopData[2].commanders[2],
                    ref->PopData[2].commanders[3], ref->PopData[3].units[0], ref->PopData[3].units[1]}),
              (Ints{-666, -999, -666, 7, 99, 11, 0}));
    EXPECT_EQ((Strings{axe.name, axe.category, axe.path2, ref->ItemData[5].path2, ref->FortData[1].name,
                       ref->FortData[2].name, ref->FortData[3].name, u[1].name, u[2].name}),
              (Strings{"Great Axe", "1-h wpn", "F", "-999", "Palisade", "Wall", "Castle", "J\xe4ger \x80", "Archer"}));
    EXPECT_EQ((Ints{axe.itemLevel, axe.path2Level, ref->ItemData[5].itemLevel}), (Ints{2, 2, 8}));
    EXPECT_EQ(lists.unitFinderUnits[1].text, QString::fromUtf8("J\xc3\xa4ger \xe2\x82\xac"));
}

// Whatever stops a load is one message that names the file and the line (and column, for a value).
TEST(ReferenceLoaderErrors, AFaultyRowStopsTheLoadWithOneMessageNamingFileAndLine) {
    // The file, its content and where the message must point.
    std::vector<std::array<std::string, 3>> cases = {
        {"UnitData.txt", "2999\tLast\n3000\tTooFar\n", "UnitData.txt, line 2"},
        {"NationData.txt", "EA\t100\tx\tNowhere\n", "NationData.txt, line 1"},
        {"FortData.txt", "-1\tMinus\n", "FortData.txt, line 1"}, {"SiteData.txt", "750\tBeyond\n", "SiteData.txt, line 1"},
        {"NationData.txt", "EA\n", "NationData.txt, line 1"}, {"UnitData.txt", " \n", "UnitData.txt, line 1"},
        {"SiteData.txt", "1\tOk\t0\n2\tBad\t*\n", "SiteData.txt, line 2, column 2"},
        {"SiteData.txt", "1\tOk\t0\n2\tBad\t \n", "SiteData.txt, line 2, column 2"},
        {"PopData.txt", "2\tElves\t1\t\t3\n", "PopData.txt, line 1, column 3"}};
    for (const std::string number : {"32768", "-32769", "12a", "1.5", "-", "+", " 5", "99999999999999999999"})
        cases.push_back({"UnitData.txt", "1\tOk\n\n2\tBad\t\t\t\t\t" + number + "\n",
                         "UnitData.txt, line 3, column 6: \"" + number + "\""});
    for (const auto& [file, content, where] : cases) {
        SCOPED_TRACE(content);
        testing::RefdataFixture f;
        f.files[file] = content;
        EXPECT_FALSE(f.load());
        EXPECT_EQ(f.ui.titles(), QStringList{"Reference Data Error!"});
        EXPECT_TRUE(f.ui.messages[0].text.contains(QString::fromStdString("TSdata/" + where)))
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

// A caller may put the reading off: the files are looked for at once, with the load's own message
// for the first one missing, and read on the first lookup, once.
TEST_F(ReferenceLoaderTest, ReadingPutOffTillTheFirstLookupHappensOnce) {
    ASSERT_TRUE(load());
    ui.messages.clear();
    EXPECT_TRUE(ReferenceFilesPresent(folder.path(), ui));
    EXPECT_TRUE(ui.messages.empty());

    ref = std::make_unique<ReferenceData>();
    int loads = 0;
    ref->deferredLoad = [&] {
        ++loads;
        EXPECT_TRUE(LoadReferenceData(*ref, lists, folder.path(), ui));
    };
    EXPECT_EQ(ref->UnitData[1].name, "");
    EXPECT_EQ(DataNumberOf(*ref, "MILITIA", kUnitTableKey), 1);
    EXPECT_EQ(DataNameOf(*ref, 1, kSiteTableKey), "Fountain");
    LoadDeferredTables(*ref);
    EXPECT_EQ(loads, 1);

    // A load made directly leaves nothing pending.
    ref->deferredLoad = [&] { ++loads; };
    ASSERT_TRUE(LoadReferenceData(*ref, lists, folder.path(), ui));
    LoadDeferredTables(*ref);
    EXPECT_EQ(loads, 1);

    ASSERT_TRUE(QFile::remove(folder.file(QStringLiteral("TSdata/ItemData.txt"))));
    EXPECT_FALSE(ReferenceFilesPresent(folder.path(), ui));
    EXPECT_EQ(ui.titles(), QStringList{"Reference Data Error!"});
    EXPECT_TRUE(ui.messages[0].text.startsWith("TSdata/ItemData.txt is missing.")) << ui.messages[0].text.toStdString();
}

// The site terrain mask sets a "Yes" flag per bit from the top; what is left over is kept and
// reported per site, and the load goes on. A later row replaces the flags only when it has a mask.
TEST_F(ReferenceLoaderTest, SiteTerrainMasksSetFlagsAndReportTheRemainder) {
    using F = SiteTerrainFlags;
    const std::vector<std::pair<std::string F::*, const char*>> flags = {
        {&F::unique, "unique"}, {&F::flag1024, "1024"}, {&F::cave, "cave"}, {&F::deepSea, "deepsea"},
        {&F::swamp, "swamp"},   {&F::coast, "coast"},   {&F::sea, "sea"},   {&F::farm, "farm"},
        {&F::waste, "waste"},   {&F::mountain, "mountain"}, {&F::forest, "forest"}, {&F::plains, "plains"},
        {&F::noTerrain, "none"}};
    // The mask, what is left of it and the flags set; site numbers count from 1.
    const std::tuple<const char*, std::int32_t, std::string> cases[] = {
        {"0", 0, "none "}, {"3", 0, "forest plains "}, {"2048", 2048, ""}, {"17409", 0, "unique 1024 plains "},
        {"2052", 2048, "mountain "}, {"1008", 0, "cave deepsea swamp coast sea farm "},
        {"70000", 69632, "deepsea coast sea farm "}, {"", -666, "none "}, {"-1", -1, "none "}};
    files["SiteData.txt"] = "20\tA\t0\t0\t3\n20\tA2\t0\t0\t4\n21\tB\t0\t0\t16\n21\tB2\n";
    for (int site = 1; const auto& [mask, remainder, set] : cases)
        files["SiteData.txt"] += std::to_string(site++) + "\tSite\t0\t0\t" + mask + "\n";
    ASSERT_TRUE(load());
    QStringList reports;
    for (int site = 1; const auto& [mask, remainder, set] : cases) {
        SCOPED_TRACE(mask);
        const SiteDataType& s = ref->SiteData[site];
        EXPECT_EQ(s.terrainMask, remainder);
        std::string shown;
        for (const auto& [flag, name] : flags)
            if (!(s.terrain.*flag).empty()) shown += std::string(name) + (s.terrain.*flag == "Yes" ? " " : "?");
        EXPECT_EQ(shown, set);
        if (remainder != 0)
            reports << QString("Site Terrain Mask Invalid!|Site Terrain Value <> 0! Error in site terrain value! "
                               "Site# %1, Mask %2").arg(site).arg(remainder);
        ++site;
    }
    QStringList shown;
    for (const auto& m : ui.messages)
        shown << m.title + "|" + m.text;
    EXPECT_EQ(shown, reports);
    EXPECT_EQ((Strings{ref->SiteData[20].terrain.mountain, ref->SiteData[20].terrain.plains, ref->SiteData[21].name,
                       ref->SiteData[21].terrain.farm, ref->SiteData[21].terrain.noTerrain}),
              (Strings{"Yes", "", "B2", "Yes", ""}));
}

} // namespace
} // namespace ts
