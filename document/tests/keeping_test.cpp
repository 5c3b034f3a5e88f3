#include "documenttesting.h"
#include "keeping.h"
#include "mapreader.h"
#include "mapwriter.h"

#include <QFile>
#include <set>

using namespace ts;

namespace {

std::string fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

QString keepingCase(const char* name) {
    return QStringLiteral(KEEPING_CASES "/") + QString::fromLatin1(name);
}

struct KeepingTest : ts::testing::DocumentTest {
    KeepingTest() {
        ref->NationData[5].name = "Ashen Realm";
        resetWithTables();
    }
    // Reads the map afresh with keeping on or off and returns what the writer makes of it.
    std::string readAndWrite(const QString& path, bool keep) {
        ResetMapDocument(*doc, *ref, ui);
        doc->KeepUnknown = keep;
        z_ReadMapFile(*doc, *ref, ui, path);
        const QString out = folder.file(QStringLiteral("written.map"));
        EXPECT_TRUE(z_WriteMapFile(*doc, *ref, ui, out));
        return fileBytes(out);
    }
    std::string readAndWrite(std::string_view mapText, bool keep) {
        return readAndWrite(folder.write(QStringLiteral("in.map"), std::string(mapText)), keep);
    }
    // The kept-line kinds of the log: its lines up to the line number.
    std::set<std::string> keptKinds() const {
        std::set<std::string> kinds;
        for (const std::string& e : errors())
            if (e.starts_with("Kept ")) kinds.insert(e.substr(0, e.find(" - first at")));
        return kinds;
    }
};

TEST_F(KeepingTest, AMapOfEveryKeptCaseWritesTheHandWrittenFileAndLogsOneLinePerKind) {
    EXPECT_EQ(readAndWrite(keepingCase("everything.map"), true), fileBytes(keepingCase("everything.expected.map")));
    EXPECT_TRUE(ui.messages.empty()) << "no terrain message box while keeping";
    const std::vector<std::string> expected = {
        "Kept 1 line of the unknown command '#mapfoo' - first at Map Line# 5 : #mapfoo 1 2 -- a command of a "
        "later version",
        "Kept 1 line '#allowedplayer' with a number beyond Tessary's limits - first at Map Line# 10 : "
        "#allowedplayer 120",
        "Kept 1 line of the unknown command '#neighbourspec' - first at Map Line# 12 : #neighbourspec 1 3 5",
        "Kept the terrain bits above 22 of 1 line '#terrain' - first at Map Line# 13 : #terrain 3 33554498",
        "Kept 1 line of the unknown command '#godpower' - first at Map Line# 19 : #godpower 9",
        "Kept 1 line '#specstart' with a number beyond Tessary's limits - first at Map Line# 20 : #specstart 101 5",
        "Kept 1 line '#god' with a number beyond Tessary's limits - first at Map Line# 21 : #god 101 55",
        "Kept 1 line '#comname' of a kept #god or #commander - first at Map Line# 22 : #comname \"Hundred\"",
        "Kept 1 line '#mag_fire' of a kept #god or #commander - first at Map Line# 23 : #mag_fire 3",
        "Kept 1 line of the unknown command '#pb' - first at Map Line# 26 : #pb 7",
        "Kept the site of 1 line '#feature' as the map names it, not in the reference tables - first at Map "
        "Line# 27 : #feature \"Lost Spring\"",
        "Kept 1 line of the unknown command '#mysteryskill' - first at Map Line# 31 : #mysteryskill 3",
        "Kept the unit of 1 line '#units' as the map names it, not in the reference tables - first at Map Line# "
        "32 : #units 12 2999",
        "Kept the unit of 2 lines '#commander' as the map names it, not in the reference tables - first at Map "
        "Line# 33 : #commander \"Ghost Lord\"",
        "Kept the unit of 1 line '#bodyguards' as the map names it, not in the reference tables - first at Map "
        "Line# 34 : #bodyguards 4 \"Shade\"",
    };
    EXPECT_EQ(errors(), expected);
    EXPECT_EQ(doc->FirstErrorLine, 5);
    // The commanders whose units the tables lack count as placed, the province panel shows the bits.
    EXPECT_EQ(prov(3).CommanderCount, 3);
    EXPECT_EQ(OtherTerrainBitsText(prov(3)), QStringLiteral("other terrain bits: 33554432"));
    EXPECT_EQ(OtherTerrainBitsText(prov(4)), QString());
    EXPECT_FALSE(prov(5).SpecStart) << "the kept #specstart 101 5 left province 5 alone";
}

TEST_F(KeepingTest, WhatWasWrittenReadsBackToTheSameBytesAndLogsNoNewKind) {
    readAndWrite(keepingCase("everything.map"), true);
    const std::set<std::string> first = keptKinds();
    const std::string once = fileBytes(folder.file(QStringLiteral("written.map")));
    const std::string twice = readAndWrite(folder.write(QStringLiteral("once.map"), once), true);
    EXPECT_EQ(twice, once);
    const std::set<std::string> second = keptKinds();
    EXPECT_TRUE(std::includes(first.begin(), first.end(), second.begin(), second.end()));
    EXPECT_FALSE(second.empty());
}

TEST_F(KeepingTest, KeepingOffWritesWhatTheFormatAloneKeeps) {
    EXPECT_EQ(readAndWrite(keepingCase("everything.map"), false), fileBytes(keepingCase("everything.strict.map")));
    EXPECT_EQ(ui.titles(), QStringList{QStringLiteral("Terrain Mask Invalid!")});
    for (const std::string& e : errors()) EXPECT_FALSE(e.starts_with("Kept")) << e;
}

TEST_F(KeepingTest, TerrainBitsAboveTwentyTwoStayApartFromTheFlags) {
    const struct {
        std::int32_t mask;
        std::uint32_t other;
        std::int32_t flags; // the mask the 23 flags rebuild
        bool plain;
    } cases[] = {
        {33554498, 33554432, 66, false},
        {8388608, 8388608, 0, true},
        {8389120, 8388608, 512, false},
        {-5, 0xFF800000u, 0x7FFFFB, false},
        {static_cast<std::int32_t>(0x80000001u), 0x80000000u, 1, true},
        {4194305, 0, 4194305, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mask);
        ResetMapDocument(*doc, *ref, ui);
        EXPECT_EQ(DecodeTerrainMaskKeeping(*doc, 7, c.mask, ui), c.other != 0);
        EXPECT_EQ(OtherTerrainBits(prov(7)), c.other);
        EXPECT_EQ(prov(7).TerrainPlain, c.plain);
        EXPECT_EQ(prov(7).NoStart, (c.flags & 512) != 0);
        ComputeTerrainMask(*doc, 7);
        EXPECT_EQ(prov(7).Terrain, c.flags);
        EXPECT_TRUE(ui.messages.empty());
        // The whole mask goes back into the file, however the flags were reached.
        const std::string text = "#terrain 7 " + std::to_string(c.mask) + "\n";
        const std::string written = readAndWrite(text, true);
        EXPECT_NE(written.find("\n#terrain 7 " + std::to_string(c.mask) + "\n"), std::string::npos) << written;
    }
}

TEST_F(KeepingTest, KeptLinesFollowTheirRecordAndLinesOfNoRecordGoLast) {
    const struct {
        const char* input;
        const char* written; // a run of lines the output must hold
    } cases[] = {
        // A header line kept before the title still belongs to the header.
        {"#newcmd 1\n#thx2title T\n", "#thx2title T\n#imagefile \n#thx3version 3.17\n#description \"\"\n\n#newcmd 1\n\n"},
        // The nation's own lines come first; a start without god keeps them before its #setland.
        {"#specstart 7 4\n#natfoo 1\n#setland 4\n#landname 4 \"Four\"\n#provfoo\n",
         "#specstart 7 4\n#natfoo 1\n#setland 4\n#landname 4 \"Four\"\n#provfoo\n"},
        // A nation without start or god has no block: its kept line goes last.
        {"#scale_cold 9 2\n#coldfoo\n", "######### OTHER COMMANDS #########\n#coldfoo\n"},
        // Slot limits: a fifth site and an eleventh troop line stay in their records.
        {"#land 2\n#feature 1\n#feature 2\n#feature 3\n#feature 4\n#feature 5\n",
         "#feature 4 -- Site 4\n#feature 5\n"},
        // A number too large for the record is kept as a line of its province.
        {"#land 2\n#population 3000000000\n#unrest 7\n", "#unrest 7\n#population 3000000000\n"},
        // A link to a province beyond 2599 is made on neither side and kept at the end.
        {"#neighbour 1 2\n#neighbour 2 4000\n", "######### OTHER COMMANDS #########\n#neighbour 2 4000\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        // The version line makes the first write equal to the next ones.
        const std::string written = readAndWrite("#thx3version 1\n" + std::string(c.input), true);
        EXPECT_NE(written.find(c.written), std::string::npos) << written;
        // And a second round changes nothing.
        EXPECT_EQ(readAndWrite(written, true), written);
    }
    EXPECT_EQ(prov(2).Neighbours[1], -1);
}

TEST_F(KeepingTest, AFortiethCommanderIsKeptWithItsLines) {
    std::string map = "#thx3version 1\n#land 2\n";
    for (int c = 1; c <= 39; ++c) map += "#commander 1\n";
    map += "#commander 2\n#comname \"Fortieth\"\n#xp 5\n#land 3\n#owner 4\n";
    const std::string written = readAndWrite(map, true);
    EXPECT_NE(written.find("#commander 1 -- Unit 1\n#commander 2\n#comname \"Fortieth\"\n#xp 5\n"), std::string::npos)
        << written;
    EXPECT_EQ(prov(3).Owner, 4);
    EXPECT_EQ(readAndWrite(written, true), written);
}

// The kept lines' summary is logged at the end, yet the editor is pointed at the earliest line logged.
TEST_F(KeepingTest, TheFirstErrorLineIsTheEarliestWhetherKeptOrFailing) {
    readAndWrite(std::string_view("#thx2title T\n#newcmd 1\n#land 2\n#fort x\n#newcmd 2\n"), true);
    EXPECT_EQ(doc->FirstErrorLine, 3) << doc->ErrorLog; // the kept line; the failing one is line 5
    readAndWrite(std::string_view("#thx2title T\n#land 2\n#fort x\n#newcmd 1\n"), true);
    EXPECT_EQ(doc->FirstErrorLine, 4) << doc->ErrorLog; // the failing line; the kept one is line 5
}

TEST_F(KeepingTest, ALineWhoseQuoteRunsToTheEndIsNotKept) {
    const std::string written = readAndWrite(std::string_view("#thx2title T\n#newcmd \"open\n#land 2\n"), true);
    EXPECT_EQ(written.find("#newcmd"), std::string::npos);
    EXPECT_NE(errors().back().find("Unrecognized map command '#newcmd'"), std::string::npos);
}

TEST_F(KeepingTest, EditsWinOverWhatWasRead) {
    readAndWrite(keepingCase("everything.map"), true);
    prov(3).Owner = 6;
    prov(4).Commanders[1] = prov(3).Commanders[1]; // a paste carries the commander's kept line along
    prov(4).SetLandFlag = true;
    prov(3).Commanders[1] = CommanderDataType{}; // and a delete drops it
    const QString out = folder.file(QStringLiteral("edited.map"));
    ASSERT_TRUE(z_WriteMapFile(*doc, *ref, ui, out));
    const std::string written = fileBytes(out);
    EXPECT_NE(written.find("#land 3\n--------------------------------\n#owner 6\n"), std::string::npos);
    EXPECT_NE(written.find("#setland 4\n--------------------------------\n\n#commander 10 -- Unit 10\n"
                           "#comname \"Bob\"\n#units 12 2999\n#mysteryskill 3\n"),
              std::string::npos)
        << written;
    EXPECT_EQ(written.find("#mysteryskill"), written.rfind("#mysteryskill"));
}

} // namespace
