// Map files and save targets a user should never have, but will: each must end in a message or a
// line of the error log, never a crash, a hang or a half-written file.
#include "documenttesting.h"
#include "mapreader.h"
#include "mapwriter.h"

#include <QDir>
#include <csignal>
#include <random>
#include <sys/resource.h>

using namespace ts;

namespace {

struct HostileMapTest : ts::testing::DocumentTest {
    void read(std::string_view bytes) {
        z_ReadMapFile(*doc, *ref, ui, folder.write(QStringLiteral("hostile.map"), bytes));
    }
};

TEST_F(HostileMapTest, BinaryGarbageIsLoggedLineByLineAndNeverShowsMoreThanTheQuoteMessage) {
    // Random bytes cut into "lines" at every control character; the '#' among them start commands
    // that the parser must refuse one by one.
    std::mt19937 random(7);
    std::string garbage;
    for (int k = 0; k < 1 << 16; ++k)
        garbage += static_cast<char>(random() & 0xFF);
    const std::string tail = "\n#setland 1\n#landname 1 \"Survivor\"\n";
    read(garbage + tail);
    EXPECT_TRUE(doc->MapErrorsFound);
    EXPECT_FALSE(errors().empty());
    for (const auto& m : ui.messages) // only an unclosed quote may ask the user anything
        EXPECT_EQ(m.title, QStringLiteral("Oops!")) << m.text.toStdString();
    EXPECT_LE(ui.messages.size(), 1u);
    EXPECT_EQ(doc->CurProvince, kNone);

    // Without a stray quote in front, what follows the garbage is still read.
    std::string unquoted;
    for (char c : garbage)
        if (c != '"') unquoted += c;
    ResetMapDocument(*doc, *ref, ui);
    read(unquoted + tail);
    EXPECT_EQ(doc->Provinces[1].LandName, "Survivor");
}

TEST_F(HostileMapTest, AFileThatCannotBeReadIsReportedOnceAndTheReadStops) {
    // A folder where the map should be cannot be read by anyone, root included, unlike a file
    // without read permission.
    QDir().mkpath(folder.file(QStringLiteral("folder.map")));
    z_ReadMapFile(*doc, *ref, ui, folder.file(QStringLiteral("folder.map")));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Oops!"));
    EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("z_ReadMapFile error: ")));
    ASSERT_EQ(errors().size(), 1u);
    EXPECT_EQ(errors()[0].rfind("z_ReadMapFile error: ", 0), 0u);
    EXPECT_TRUE(doc->MapErrorsFound);
}

TEST_F(HostileMapTest, AHundredThousandLinesAreReadToTheEndAndEveryLineIsCounted) {
    std::string map = "#thx2title Long\n#imagefile long.tga\n";
    int lines = 2;
    for (int p = 1; lines < 99'990; p = p % kMaxProvince + 1) {
        map += "#setland " + std::to_string(p) + "\n#landname " + std::to_string(p) + " \"Land " +
               std::to_string(p) + "\"\n#commander 7\n#units 12 \"Unit 9\"\n-- a comment line\n";
        lines += 5;
    }
    map.append(static_cast<std::size_t>(99'999 - lines), '\n');
    map += "#nonsense at the end\n"; // line 100,000, logged as the line after it in an LF file
    read(map);
    EXPECT_EQ(doc->Provinces[kMaxProvince].LandName, "Land 2599");
    // 19,998 passes over the provinces: the first is met eight times, the last seven.
    EXPECT_EQ(doc->Provinces[1].CommanderCount, 8);
    EXPECT_EQ(doc->Provinces[kMaxProvince].CommanderCount, 7);
    ASSERT_FALSE(doc->ErrorLog.empty());
    const std::string last = doc->ErrorLog.substr(doc->ErrorLog.rfind("Error in z_ParseCommand"));
    EXPECT_NE(last.find("Map Line# 100001 : #nonsense at the end"), std::string::npos) << last;
    EXPECT_TRUE(ui.messages.empty());
}

// Conversions that fail are the parser tests' business; here every number is well formed but
// outside the tables or past the end of its slots.
TEST_F(HostileMapTest, NumbersPastEveryLimitAreEachLoggedOnceAndNeverUsed) {
    std::string map = "#land 2600\n#setland -1\n#start 2600\n#victorypoints 9999 3\n#allowedplayer 100\n"
                      "#allies 5 100\n#cannotwin -1\n#scale_chaos 100 2\n#specstart 100 7\n#god 120 55\n"
                      "#comname \"Lost\"\n#terrain 3000 1\n#neighbour 2599 2600\n#landname 2600 \"X\"\n#setland 3\n";
    for (int c = 1; c <= 41; ++c)
        map += "#commander 5\n";
    map += "#comname \"Nobody\"\n#setland 4\n#commander 5\n";
    for (int k = 1; k <= 11; ++k)
        map += "#units 10 5\n#bodyguards 3 5\n";
    for (int k = 1; k <= 9; ++k)
        map += "#additem \"Ring\"\n";
    for (int k = 1; k <= 5; ++k)
        map += "#feature " + std::to_string(k) + "\n";
    read(map);
    // Fourteen numbers outside the tables, then commanders 40 and 41 and a name for the 41st, the
    // eleventh stack and bodyguard, the ninth item and the fifth site.
    EXPECT_EQ(errors().size(), 14u + 7u) << doc->ErrorLog;
    EXPECT_NE(doc->ErrorLog.find("Site slot 4 is outside 0..3 - Map Line# 96 : #feature 5\r\n"), std::string::npos)
        << doc->ErrorLog;
    // Changes made before the failing number stay, as for any failing command.
    EXPECT_TRUE(doc->Provinces[7].SpecStart);
    EXPECT_EQ(doc->Provinces[2599].Neighbours[0], 2600);
    EXPECT_EQ(doc->Provinces[3].CommanderCount, 39);
    EXPECT_EQ(doc->Provinces[4].Commanders[1].UnitsCount[9], 10);
    EXPECT_EQ(doc->Provinces[4].Commanders[1].BodyguardCount[9], 3);
    EXPECT_EQ(doc->Provinces[4].Commanders[1].Items[7], "Ring");
    EXPECT_TRUE(ui.messages.empty());
}

// A full disk, made by a file-size limit: the write fails part way, as it would when the disk fills,
// and the limit holds for root too.
TEST_F(HostileMapTest, AWriteThatFailsPartWayLeavesThePreviousFileWholeAndNoTemporaryFile) {
    const QString path = folder.write(QStringLiteral("full.map"), "previous contents");
    for (int p = 1; p <= kMaxProvince; ++p)
        doc->Provinces[p].LandName = "A province with a long enough name to fill the disk";

    rlimit before{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    rlimit small = before;
    small.rlim_cur = 4096;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN); // a failed write, not a killed process
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = z_WriteMapFile(*doc, *ref, ui, path);
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(saved);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Map file not saved!"));
    EXPECT_EQ(folder.read(QStringLiteral("full.map")), "previous contents");
    // Every file in the folder, so that a temporary file left behind shows.
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("full.map")});
}

} // namespace
