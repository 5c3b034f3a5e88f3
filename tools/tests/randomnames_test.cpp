#include "randomnames.h"

#include "cp1252.h"
#include "fakeuserinterface.h"
#include "mapdocument.h"
#include "tempfolder.h"

#include <QDir>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <random>

using namespace ts;

namespace {

// The same draws on every run, so a tolerance that holds once holds always.
UniformSource seeded(unsigned seed) {
    auto engine = std::make_shared<std::mt19937_64>(seed);
    return [engine] { return static_cast<double>((*engine)() >> 11) * 0x1.0p-53; };
}

UniformSource fixed(double u) {
    return [u] { return u; };
}

NameFile parsed(const std::string& text) {
    std::string error;
    auto file = ParseNameFile(text, error);
    EXPECT_TRUE(file) << error;
    return file ? *file : NameFile();
}

std::map<QString, double> shares(const NameFile& file, int draws) {
    std::map<QString, double> seen;
    const UniformSource u = seeded(7);
    for (int i = 0; i < draws; ++i) seen[BuildName(file, u)] += 1.0 / draws;
    return seen;
}

} // namespace

TEST(TrueRnd, RoundsHalfToEvenAndCapsAtN) {
    const struct {
        int n;
        double u;
        int expected;
    } cases[] = {
        {4, 0.0, 1},   {4, 0.124, 1}, {4, 0.125, 2}, // 1.5 goes to the even 2
        {4, 0.375, 2},                               // 2.5 goes to the even 2
        {4, 0.376, 3}, {4, 0.625, 4},                // 3.5 goes to the even 4
        {4, 0.874, 4}, {4, 0.875, 4},                // 4.5 goes to the even 4
        {4, 0.9, 4},   {4, 0.999999, 4},             // 5 is capped
        {1, 0.0, 1},   {1, 0.7, 1},   {0, 0.5, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(TrueRnd(c.n, fixed(c.u)), c.expected) << c.n << " " << c.u;
}

TEST(TrueRnd, FirstValueHalfAndLastOneAndAHalfTimesAsLikely) {
    constexpr int kN = 5;
    constexpr int kDraws = 200000;
    std::array<int, kN + 1> counts{};
    const UniformSource u = seeded(1);
    for (int i = 0; i < kDraws; ++i) ++counts[static_cast<std::size_t>(TrueRnd(kN, u))];
    EXPECT_EQ(counts[0], 0);
    const double expected[kN + 1] = {0, 0.5 / kN, 1.0 / kN, 1.0 / kN, 1.0 / kN, 1.5 / kN};
    for (int v = 1; v <= kN; ++v) EXPECT_NEAR(double(counts[v]) / kDraws, expected[v], 0.006) << v;
}

TEST(NameFiles, ARangeFillsRowsAndWeighsTheDraw) {
    const NameFile file = parsed("ANYLAND\r\n:templates\r\n1,[syl]\r\n\r\n:syl\r\n1-3,ka\r\n4,ro\r\n");
    ASSERT_EQ(file.lists.size(), 2u);
    const NameList& syl = file.lists[1];
    EXPECT_EQ(syl.name, ":syl");
    EXPECT_EQ(syl.count, 4);
    EXPECT_EQ(syl.row(1), "ka");
    EXPECT_EQ(syl.row(3), "ka");
    EXPECT_EQ(syl.row(4), "ro");

    const auto seen = shares(file, 40000);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_NEAR(seen.at(QStringLiteral("Ka")), 2.5 / 4, 0.01);
    EXPECT_NEAR(seen.at(QStringLiteral("Ro")), 1.5 / 4, 0.01);
}

TEST(NameFiles, ListsRowsAndCountsFollowTheEntries) {
    // Entries before the first list line belong to list 0, which that line then names; a single
    // entry takes the next row whatever its weight says; a range ending below the next row sets the
    // count back without filling anything.
    const NameFile file = parsed("COMMANDER\n7,[a]\n# a comment\n:t\n9,[a][b]\n:a\n1-2,x\n5,y\n:b\n1-4,p\n2-3,q\n");
    ASSERT_EQ(file.lists.size(), 3u);
    EXPECT_EQ(file.lists[0].name, ":t");
    EXPECT_EQ(file.lists[0].count, 2);
    EXPECT_EQ(file.lists[0].row(2), "[a][b]");
    EXPECT_EQ(file.lists[1].count, 3);
    EXPECT_EQ(file.lists[1].row(3), "y");
    EXPECT_EQ(file.lists[2].count, 3);
    EXPECT_EQ(file.lists[2].row(3), "p");
    EXPECT_EQ(file.tags, std::vector<std::string>{"COMMANDER"});
}

TEST(NameFiles, TemplatesJoinReferencedWordsInProperCase) {
    const struct {
        const char* name;
        const char* file;
        const char* expected;
    } cases[] = {
        {"two lists", ":t\n1,[pre][post]\n:pre\n1,AEL\n:post\n1,fHEIM\n", "Aelfheim"},
        {"a typo adds nothing", ":t\n1,[pre][psot]\n:pre\n1,ael\n:post\n1,fheim\n", "Ael"},
        {"only typos", ":t\n1,[nope]\n:pre\n1,ael\n", ""},
        {"words with blanks", ":t\n1,[a][b]\n:a\n1,the OLD \n:b\n1,mill\n", "The Old Mill"},
        {"code page letters", ":t\n1,[a]\n:a\n1,\xDE\xD3R \xFEing\n", "\xDE\xF3r \xDEing"},
        {"two lists of one name", ":t\n1,[a]\n:a\n1,x\n:a\n1,y\n", "Xy"},
        {"empty list", ":t\n1,[a]\n:a\n", ""},
        {"no templates", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(BuildName(parsed(std::string("TAGS\n") + c.file), seeded(3)), fromCp1252(c.expected));
    }
}

TEST(NameFiles, ListFiftyCannotBeReferred) {
    std::string text = "T\n:t\n1,[l49][l50]\n";
    for (int l = 1; l <= 50; ++l) text += ":l" + std::to_string(l) + "\n1,w" + std::to_string(l) + "\n";
    EXPECT_EQ(BuildName(parsed(text), seeded(1)), QStringLiteral("W49"));
}

TEST(NameFiles, DamagedFilesAreRefusedWithTheLine) {
    std::string tooManyLists = "T\n:t\n";
    for (int l = 1; l <= 51; ++l) tooManyLists += ":l" + std::to_string(l) + "\n";
    const struct {
        const char* name;
        std::string text;
        const char* error;
    } cases[] = {
        {"lists", tooManyLists, "Line 53 (:l51) starts list 51; a name file holds lists 0 to 50."},
        {"range", "T\n:a\n1-1001,x\n", "Line 3 (1-1001,x) reaches row 1001; a list holds rows 0 to 1000."},
        {"rows", "T\n:a\n1-1000,x\n1,y\n", "Line 4 (1,y) reaches row 1001; a list holds rows 0 to 1000."},
        {"no comma", "T\n:a\nword\n", "Line 3 (word) is not an entry of the form weight,word."},
        {"no row", "T\n:a\n1-x,word\n", "Line 3 (1-x,word) has no row number after the \"-\"."},
        {"negative row", "T\n:a\n1--2,word\n", "Line 3 (1--2,word) reaches row -2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error;
        EXPECT_FALSE(ParseNameFile(c.text, error));
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
        // Skipping, an entry line costs only itself; too many lists still fail the file.
        std::vector<std::string> skipped;
        error.clear();
        const auto kept = ParseNameFile(c.text + ":b\n1,ok\n", error, &skipped);
        EXPECT_EQ(kept.has_value(), std::string(c.name) != "lists");
        if (!kept) continue;
        ASSERT_EQ(skipped.size(), 1u);
        EXPECT_EQ(skipped[0].rfind(c.error, 0), 0u) << skipped[0];
        EXPECT_EQ(kept->lists.back().row(kept->lists.back().count), "ok");
    }
    std::string error;
    EXPECT_TRUE(ParseNameFile("T\n:a\n1-1000,x\n", error));
}

TEST(NameFiles, TagsMatchTheProvinceTerrainExactly) {
    auto doc = std::make_unique<MapDocument>();
    ProvinceDataType& deepSea = doc->Provinces[1];
    deepSea.TerrainBit[2] = deepSea.TerrainBit[11] = true;
    ProvinceDataType& forest = doc->Provinces[2];
    forest.TerrainBit[7] = forest.TerrainBit[19] = forest.TerrainBit[22] = true;
    doc->Provinces[3].TerrainPlain = true;
    doc->Provinces[4].TerrainBit[2] = true;

    const struct {
        const char* tag;
        int province;
        bool fits;
    } cases[] = {
        {"ANYSEA", 1, true},      {"DEEPSEA", 1, true},     {"SEA", 1, false},         {"ANYLAND", 1, false},
        {"SEA", 4, true},         {"ANYSEA", 4, true},      {"DEEPSEA", 4, false},     {"ANYLAND", 2, true},
        {"FOREST", 2, true},      {"NATURESITE", 2, true},  {"BORDERMOUNT", 2, true},  {"MOUNTAIN", 2, false},
        {"PLAIN", 3, true},       {"PLAIN", 2, false},      {"forest", 2, false},      {" FOREST", 2, false},
        {"COMMANDER", 2, false},  {"ANYLAND", kNone, false}, {"HOLYSITE", 2, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NameFileQualifies({"X", c.tag}, "PROVINCE", *doc, c.province), c.fits) << c.tag << " " << c.province;
    EXPECT_TRUE(NameFileQualifies({"FOREST", "COMMANDER"}, "COMMANDER", *doc, kNone));
    EXPECT_FALSE(NameFileQualifies({"FOREST"}, "COMMANDER", *doc, 2));
}

class NameFolder : public ::testing::Test {
protected:
    QStringList folder() const { return {home.file("TSnames")}; }

    TempFolder home;
    FakeUserInterface ui;
    std::unique_ptr<MapDocument> doc = std::make_unique<MapDocument>();
};

TEST_F(NameFolder, APickedFileFitsTheCategoryAndTheTerrain) {
    home.write("TSnames/sea.nam", "ANYSEA\r\n:t\r\n1,[w]\r\n:w\r\n1,wave\r\n");
    home.write("TSnames/land.NAM", "ANYLAND\r\n:t\r\n1,[w]\r\n:w\r\n1,field\r\n");
    home.write("TSnames/people.nam", "COMMANDER\r\n:t\r\n1,[w]\r\n:w\r\n1,bran\r\n");
    home.write("TSnames/notes.txt", "ANYSEA\r\n:t\r\n1,[w]\r\n:w\r\n1,wrong\r\n");
    doc->CurProvince = 6;
    doc->Provinces[6].TerrainBit[2] = true;
    const UniformSource u = seeded(5);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(RandomName("PROVINCE", *doc, ui, u, folder()), QStringLiteral("Wave"));
    doc->Provinces[6].TerrainBit[2] = false;
    EXPECT_EQ(RandomName("PROVINCE", *doc, ui, u, folder()), QStringLiteral("Field"));
    EXPECT_EQ(RandomName("COMMANDER", *doc, ui, u, folder()), QStringLiteral("Bran"));
    doc->Provinces[6].TerrainBit[11] = true; // deep sea alone is a sea too
    EXPECT_EQ(RandomName("PROVINCE", *doc, ui, u, folder()), QStringLiteral("Wave"));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(NameFolder, TheUsersFileHidesTheShippedOneOfTheSameName) {
    home.write("mine/TSnames/land.nam", "ANYLAND\n:t\n1,[w]\n:w\n1,own\n");
    home.write("TSnames/land.nam", "ANYLAND\n:t\n1,[w]\n:w\n1,shipped\n");
    doc->CurProvince = 2;
    const QStringList both{home.file("mine/TSnames"), home.file("TSnames")};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(RandomName("PROVINCE", *doc, ui, seeded(i), both), QStringLiteral("Own"));
    // A user folder that does not exist yet is no error while the shipped one does.
    EXPECT_EQ(RandomName("PROVINCE", *doc, ui, seeded(1), {home.file("none"), home.file("TSnames")}),
              QStringLiteral("Shipped"));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(NameFolder, NoFittingFileGivesAnEmptyName) {
    QDir().mkpath(folder().first());
    doc->CurProvince = 1;
    EXPECT_EQ(RandomName("PROVINCE", *doc, ui, seeded(1), folder()), QString());
    home.write("TSnames/people.nam", "COMMANDER\n:t\n1,[w]\n:w\n1,bran\n");
    EXPECT_EQ(RandomName("PROVINCE", *doc, ui, seeded(1), folder()), QString());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(NameFolder, AMissingFolderOrTooManyFilesIsReported) {
    doc->CurProvince = 1;
    doc->Provinces[1].TerrainPlain = true;
    EXPECT_EQ(RandomName("PROVINCE", *doc, ui, seeded(1), folder()), QString());
    for (int i = 0; i < kMaxNameFiles + 1; ++i)
        home.write(QStringLiteral("TSnames/n%1.nam").arg(i), "PLAIN\n:t\n1,[w]\n:w\n1,x\n");
    EXPECT_EQ(RandomName("PROVINCE", *doc, ui, seeded(1), folder()), QString());
    ASSERT_EQ(ui.messages.size(), 2u);
    for (const auto& m : ui.messages) {
        EXPECT_EQ(m.title, QStringLiteral("RndName error!"));
        EXPECT_TRUE(m.text.startsWith(QStringLiteral("Name file not found or file count exceeded.  Error: ")));
    }
    EXPECT_TRUE(ui.messages[0].text.endsWith(QStringLiteral(" does not exist.")));
    EXPECT_TRUE(ui.messages[1].text.endsWith(QStringLiteral("More than 151 name files fit.")));
    // 151 fit.
    QFile::remove(home.file("TSnames/n0.nam"));
    EXPECT_EQ(RandomName("PROVINCE", *doc, ui, seeded(1), folder()), QStringLiteral("X"));
}

TEST_F(NameFolder, ADamagedChosenFileIsReportedAndGivesNothing) {
    home.write("TSnames/bad.nam", "COMMANDER\n:t\n1,[w]\n:w\nno comma here\n");
    EXPECT_EQ(RandomName("COMMANDER", *doc, ui, seeded(1), folder()), std::nullopt);
    home.write("TSnames/bad.nam", "COMMANDER\n" + std::string(5 << 20, 'x'));
    EXPECT_EQ(RandomName("COMMANDER", *doc, ui, seeded(1), folder()), std::nullopt);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("RndName error!"));
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("The name file bad.nam cannot be used.  Error: Line 5 (no comma "
                                                  "here) is not an entry of the form weight,word."));
    EXPECT_TRUE(ui.messages[1].text.contains(QStringLiteral("bytes such a file can hold")));
}

TEST(NameSamples, EveryShippedFileMakesNames) {
    const QDir dir(QStringLiteral(TESSARY_DATA_DIR "/TSnames"));
    const QStringList files = dir.entryList({QStringLiteral("*.nam")}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    int twoWords = 0;
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const NameFile file = parsed(f.readAll().toStdString());
        EXPECT_FALSE(file.tags.empty());
        const UniformSource u = seeded(11);
        for (int i = 0; i < 20; ++i) {
            const QString drawn = BuildName(file, u);
            EXPECT_FALSE(drawn.isEmpty());
            if (drawn.contains(QLatin1Char(' '))) ++twoWords;
        }
    }
    // Patterns hold only list references; the words carry the blanks of longer names.
    EXPECT_GT(twoWords, 0);
}
