#include "scriptprocess.h"
#include "scripttesting.h"

#include <random>

using namespace ts;
using ts::testing::ScriptFixture;

namespace {

struct ScriptProcess : ScriptFixture {
    ScriptRunResult run(const std::string& script) {
        return RunScript(*doc, *ref, ui, script, "test.tss", hooks);
    }
    std::vector<int> temples() const {
        std::vector<int> out;
        for (int p = 1; p <= doc->ProvinceCount; ++p)
            if (doc->Provinces[p].Temple) out.push_back(p);
        return out;
    }
    static std::string blocks(int count) {
        std::string s;
        for (int k = 0; k < count; ++k)
            s += ":SELECT ALL PROVINCES\n:THEN\nunrest = " + std::to_string(k) + "\n:END\n";
        return s;
    }
};

TEST_F(ScriptProcess, LinesEndAtLfCrLfOrALoneCrAndLoseOnlyTheirBlanks) {
    EXPECT_EQ(ScriptLines("a\nb\r\nc\rd"), (std::vector<std::string_view>{"a", "b", "c", "d"}));
    EXPECT_EQ(ScriptLines("  a b  \r\n\r\n"), (std::vector<std::string_view>{"a b", ""}));
    EXPECT_EQ(ScriptLines("\ta\t"), (std::vector<std::string_view>{"\ta\t"}));
    for (const char* end : {"\n", "\r\n", "\r"}) {
        resetWithTables();
        doc->ProvinceCount = 12;
        prov(3).Owner = 5;
        const std::string e = end;
        EXPECT_TRUE(run("  :SELECT PROVINCES WHERE  " + e + " owner = 5 " + e + ":THEN" + e +
                        "temple = TRUE" + e + ":END")
                        .completed);
        EXPECT_EQ(temples(), std::vector<int>{3}) << "line end " << int(end[0]);
    }
}

TEST_F(ScriptProcess, DirectivesAreKnownByTheirBeginningAndOutsideLinesAreIgnored) {
    prov(2).Owner = 5;
    prov(4).Owner = 5;
    const ScriptRunResult r = run(":TOOL\n"
                                  "owner = 5\n"     // the title, ignored
                                  "temple = TRUE\n" // after the title, ignored
                                  ":SELECT PROVINCES WHERE this part is ignored\n"
                                  "# a comment between tests\n"
                                  "owner = 5\n"
                                  "\n"
                                  ":THEN\n"
                                  "#temple = FALSE\n"
                                  "temple = TRUE\n"
                                  ":ENDING counts as the end\n"
                                  "lab = TRUE\n"            // after the end, ignored
                                  ":select all provinces\n" // letter case matters: a line outside a block
                                  ":THEN\n"
                                  "victorypoints = 3\n"
                                  ":END\n"
                                  "fort = 2\n");
    EXPECT_TRUE(r.completed);
    EXPECT_EQ(r.blocksRun, 2);
    EXPECT_EQ(temples(), (std::vector<int>{2, 4}));
    for (int p = 1; p <= 12; ++p) {
        EXPECT_FALSE(prov(p).Lab);
        EXPECT_EQ(prov(p).Fort, -1);
        // The second block has no select directive and no tests: it keeps WHERE and selects nothing.
        EXPECT_EQ(prov(p).VictoryPoints, -1);
    }
}

TEST_F(ScriptProcess, SeveralTestsMustAllHold) {
    prov(1).Owner = 5;
    prov(2).Owner = 5;
    prov(2).TerrainBit[2] = true;
    prov(3).TerrainBit[2] = true;
    run(":SELECT PROVINCES WHERE\nowner = 5\ntsea = TRUE\n:THEN\ntemple = TRUE\n:END\n");
    EXPECT_EQ(temples(), std::vector<int>{2});
}

TEST_F(ScriptProcess, TheSelectAllFlagCarriesIntoABlockWithoutItsOwnSelect) {
    EXPECT_TRUE(
        run(":SELECT ALL PROVINCES\nowner = 99\n:THEN\nunrest = 1\n:END\n:THEN\ntemple = TRUE\n:END\n")
            .completed);
    EXPECT_EQ(temples().size(), 12u);
    EXPECT_EQ(prov(12).Unrest, 1);
}

TEST_F(ScriptProcess, FiftyOneBlocksRunAndAnyDirectiveOfAFiftySecondStopsTheRun) {
    for (const char* directive : {":SELECT ALL PROVINCES\n", ":THEN\n", ":END\n"}) {
        resetWithTables();
        doc->ProvinceCount = 12;
        const ScriptRunResult r =
            run(blocks(51) + "# a comment and a stray line need no block\nlab = TRUE\n" + directive +
                ":THEN\nunrest = 99\n:END\n");
        EXPECT_FALSE(r.completed) << directive;
        EXPECT_EQ(r.blocksRun, 51);
        EXPECT_EQ(prov(1).Unrest, 50);
        EXPECT_EQ(ui.titles(), QStringList{"Error processing script"});
    }
    resetWithTables();
    doc->ProvinceCount = 12;
    EXPECT_TRUE(run(blocks(51) + "# lines after the last block\n:TOOL\nTitle\n").completed);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ScriptProcess, AHundredAndOneTestOrApplyLinesFitInABlockAndOneMoreStopsTheRun) {
    auto script = [](int tests, int applies) {
        std::string s = ":SELECT PROVINCES WHERE\n";
        for (int k = 0; k < tests; ++k)
            s += "owner = -1\n";
        s += ":THEN\n";
        for (int k = 0; k < applies; ++k)
            s += "unrest = " + std::to_string(k) + "\n";
        return s + ":END\n";
    };
    EXPECT_TRUE(run(script(101, 101)).completed);
    EXPECT_EQ(prov(7).Unrest, 100);
    EXPECT_FALSE(run(script(102, 1)).completed);
    EXPECT_FALSE(run(script(1, 102)).completed);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text,
              "Error processing test.tss Error: more than 101 test lines in one block (line 103)");
    EXPECT_EQ(ui.messages[1].text,
              "Error processing test.tss Error: more than 101 apply lines in one block (line 105)");
}

TEST_F(ScriptProcess, AMissingFileIsReportedAndChangesNothing) {
    const QString path = folder.file("TSscripts/none.tss");
    const ScriptRunResult r = z_ScriptProcess(*doc, *ref, ui, path, hooks);
    EXPECT_FALSE(r.completed);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.startsWith("Error processing none.tss Error: ")) << ui.messages[0].text.toStdString();
}

TEST_F(ScriptProcess, ProgressPerProvinceAndTheSelectedProvinceIsShownAgain) {
    doc->CurProvince = 4;
    std::vector<int> seen;
    hooks.progress = [&](int p, int count) {
        EXPECT_EQ(count, 12);
        seen.push_back(p);
    };
    const ScriptRunResult r = run(":SELECT ALL PROVINCES\n:THEN\nowner = 3\nfort = x\n:END\n"
                                  ":SELECT PROVINCES WHERE\nowner = 9\n:THEN\nowner = 1\n:END\n");
    EXPECT_TRUE(r.changed);
    EXPECT_EQ(seen.size(), 24u);
    EXPECT_EQ(seen.back(), 12);
    EXPECT_GE(ui.eventRuns, 24);
    EXPECT_EQ(events, std::vector<std::string>{"4 current"});

    events.clear();
    EXPECT_FALSE(run(":SELECT ALL PROVINCES\n:THEN\nfort = x\n:END\n").changed);
    EXPECT_TRUE(events.empty());
}

} // namespace

// Scripts put together from the language's own pieces in random order, with stray quotes, blanks and
// line ends: none may crash, and each ends either completed or with exactly one message.
TEST_F(ScriptProcess, ScrambledScriptsNeverCrash) {
    const std::vector<std::string> pieces = {":SELECT PROVINCES WHERE",
                                             ":SELECT ALL PROVINCES",
                                             ":THEN",
                                             ":END",
                                             ":TOOL",
                                             "#",
                                             "",
                                             " ",
                                             "\"",
                                             "  ",
                                             "owner > 5",
                                             "item = \"A B\"",
                                             "comtype = 8",
                                             "comtype = -1",
                                             "unit = 32767",
                                             "unitcount = -32768",
                                             "bodyguard = 3",
                                             "item = \"\"",
                                             "comname = \"",
                                             "feature = 749",
                                             "knownfeature = 99999",
                                             "groundcol = -1",
                                             "tdeep = TRUE",
                                             "terrain = 2147483647",
                                             "population = -2147483648",
                                             "fort = 43",
                                             "landname = \"x\"y\"",
                                             "x",
                                             "= =",
                                             "mag_priest = 5",
                                             "xp >= ",
                                             "\t",
                                             "\xff\xfe",
                                             "lab = 1",
                                             "kill = FALSE"};
    const char* const ends[] = {"\n", "\r\n", "\r", " "};
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::string script;
        const int length = static_cast<int>(random() % 60);
        for (int k = 0; k < length; ++k)
            script += pieces[random() % pieces.size()] + ends[random() % 4];
        ui.messages.clear();
        const ScriptRunResult r = run(script);
        EXPECT_EQ(ui.messages.size(), r.completed ? 0u : 1u) << script;
        for (int p = 1; p <= 12; ++p)
            EXPECT_LE(prov(p).CommanderCount, 39);
    }
}
