#include "fakeuserinterface.h"
#include "scriptlist.h"
#include "tempfolder.h"

#include <QFile>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace ts;

namespace {

struct ScriptList : ::testing::Test {
    TempFolder home;
    FakeUserInterface ui;
    ScriptList() { home.makePortable(); }

    QStringList titles() {
        QStringList out;
        for (const ScriptEntry& e : z_ScriptBuildMenu(home.path(), ui))
            out << e.title + "|" + e.fileName;
        return out;
    }
};

TEST_F(ScriptList, TitlesComeFromTheLineAfterTool) {
    home.write(
        "TSscripts/b.tss",
        "# first a comment\r\n  :TOOL the rest is ignored\r\n  Mark the seas  \r\n:TOOL\r\nNot this\r\n");
    home.write("TSscripts/a.tss", ":SELECT ALL PROVINCES\n:THEN\nlab = TRUE\n:END\n");
    home.write("TSscripts/c.tss", ":TOOL\rS\xe6"
                                  "bj\xf6rn's guards\r");
    home.write("TSscripts/d.tss", "# the title line is missing\n:TOOL\n");
    home.write("TSscripts/notes.txt", ":TOOL\nNot a script\n");
    EXPECT_EQ(titles(),
              (QStringList{"No Title Defined|a.tss", "Mark the seas|b.tss",
                           QStringLiteral("S\u00e6bj\u00f6rn's guards|c.tss"), "No Title Defined|d.tss"}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ScriptList, AtMost151ScriptsAreListed) {
    for (int n = 0; n < 152; ++n)
        home.write(QStringLiteral("TSscripts/s%1.tss").arg(n, 3, 10, QLatin1Char('0')), ":TOOL\nT\n");
    const std::vector<ScriptEntry> entries = z_ScriptBuildMenu(home.path(), ui);
    ASSERT_EQ(entries.size(), 151u);
    EXPECT_EQ(entries.back().fileName, "s150.tss");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Error Loading Scripts");
    EXPECT_TRUE(ui.messages[0].text.startsWith("Error loading scripts: more than 151 scripts"));
}

TEST_F(ScriptList, AMissingFolderIsReported) {
    EXPECT_TRUE(titles().isEmpty());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Error Loading Scripts");
    EXPECT_EQ(ui.messages[0].text, "Error loading scripts: folder not found: " + ScriptFolder(home.path()));
}

TEST_F(ScriptList, AnUnreadableScriptIsReportedAndLeftOut) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
    home.write("TSscripts/a.tss", ":TOOL\nA\n");
    const QString locked = home.write("TSscripts/b.tss", ":TOOL\nB\n");
    QFile::setPermissions(locked, QFileDevice::Permissions());
    EXPECT_EQ(titles(), QStringList{"A|a.tss"});
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Error reading script");
    EXPECT_EQ(ui.messages[0].text, "Error reading script: b.tss");
}

} // namespace
