// Map files and save targets a user should never have, but will: each must end in a message or a
// line of the error log, never a crash, a hang or a half-written file.
#include "fakeuserinterface.h"
#include "lookups.h"
#include "mapdocument.h"
#include "mapreader.h"
#include "mapwriter.h"
#include "referencedata.h"
#include "tempfolder.h"

#include <QDir>
#include <QFile>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

using namespace ts;

namespace {

struct HostileMapTest : ::testing::Test {
    std::unique_ptr<MapDocument> doc = std::make_unique<MapDocument>();
    std::unique_ptr<ReferenceData> ref = std::make_unique<ReferenceData>();
    FakeUserInterface ui;
    TempFolder folder;

    HostileMapTest() {
        for (int n = 1; n <= 100; ++n) {
            ref->UnitData[n].number = static_cast<std::int16_t>(n);
            ref->UnitData[n].name = "Unit " + std::to_string(n);
        }
        for (int n = 1; n <= 5; ++n) {
            ref->SiteData[n].number = static_cast<std::int16_t>(n);
            ref->SiteData[n].name = "Site " + std::to_string(n);
        }
        BuildLookupIndex(*ref);
        ResetMapDocument(*doc, *ref, ui);
        ui = FakeUserInterface{};
    }

    void read(std::string_view bytes) {
        z_ReadMapFile(*doc, *ref, ui, folder.write(QStringLiteral("hostile.map"), bytes));
    }
    int errorLines() const {
        int lines = 0;
        for (std::size_t at = doc->ErrorLog.find("\r\n"); at != std::string::npos;
             at = doc->ErrorLog.find("\r\n", at + 2))
            ++lines;
        return lines - 2; // the two header lines
    }
    // Every file in the folder, so that a temporary file left behind shows.
    QStringList filesInFolder() const { return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden); }
};

bool runningAsRoot() {
    return ::geteuid() == 0;
}

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
    EXPECT_GT(errorLines(), 0);
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

TEST_F(HostileMapTest, AHundredThousandLinesAreReadToTheEndAndEveryLineIsCounted) {
    std::string map = "#thx2title Long\n#imagefile long.tga\n";
    int lines = 2;
    for (int p = 1; lines < 99'990; p = p % kMaxProvince + 1) {
        map += "#setland " + std::to_string(p) + "\n#landname " + std::to_string(p) + " \"Land " +
               std::to_string(p) + "\"\n#commander 7\n#units 12 \"Unit 9\"\n-- a comment line\n";
        lines += 5;
    }
    while (lines < 99'999) {
        map += "\n";
        ++lines;
    }
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

TEST_F(HostileMapTest, NumbersPastEveryLimitInOneFileAreEachLoggedOnce) {
    std::string map =
        "#setland 2600\n#specstart 100 5\n#features 32768\n#setland 3\n#population 99999999999\n";
    for (int c = 1; c <= 41; ++c)
        map += "#commander 5\n";
    map += "#setland 4\n#commander 5\n";
    for (int k = 1; k <= 11; ++k)
        map += "#units 10 5\n";
    map += "#bodyguards 32768 5\n";
    for (int k = 1; k <= 9; ++k)
        map += "#additem \"Ring\"\n";
    for (int k = 1; k <= 5; ++k)
        map += "#feature " + std::to_string(k) + "\n";
    read(map);
    // 2600, nation 100, 32768, the 32-bit overflow, commanders 40 and 41, the eleventh stack, the
    // bodyguards past 32767, the ninth item and the fifth site.
    EXPECT_EQ(errorLines(), 10) << doc->ErrorLog;
    EXPECT_EQ(doc->Provinces[3].CommanderCount, 39);
    EXPECT_EQ(doc->Provinces[4].Commanders[1].UnitsCount[9], 10);
    EXPECT_TRUE(ui.messages.empty());
}

// Permissions do not hold for root, who reads and writes through them; the test says so and skips.
TEST_F(HostileMapTest, AnUnreadableMapOrAReadOnlyFolderIsReportedAndKeepsThePreviousFile) {
    if (runningAsRoot()) GTEST_SKIP() << "root ignores file permissions";
    const QString map = folder.write(QStringLiteral("locked.map"), "#setland 1\n");
    ASSERT_TRUE(QFile::setPermissions(map, QFileDevice::Permissions()));
    z_ReadMapFile(*doc, *ref, ui, map);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Oops!"));
    EXPECT_TRUE(doc->MapErrorsFound);
    QFile::setPermissions(map, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    const QString kept = folder.write(QStringLiteral("shut/kept.map"), "previous contents");
    const QString shut = folder.file(QStringLiteral("shut"));
    ASSERT_TRUE(QFile::setPermissions(shut, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    EXPECT_FALSE(z_WriteMapFile(*doc, *ref, ui, kept));
    QFile::setPermissions(shut, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(ui.messages.back().title, QStringLiteral("Map file not saved!"));
    EXPECT_EQ(folder.read(QStringLiteral("shut/kept.map")), "previous contents");
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
    EXPECT_EQ(filesInFolder(), QStringList{QStringLiteral("full.map")});
}

} // namespace
