#include "externaleditor.h"
#include "fakeuserinterface.h"
#include "tempfolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>
#include <gtest/gtest.h>

using namespace ts;

// Argument lists read better as text when a comparison fails.
void PrintTo(const QStringList& list, std::ostream* os) {
    *os << '[' << list.join("] [").toStdString() << ']';
}

namespace {
// Stands in for the editor: records its working folder and each argument on a line of its own.
constexpr std::string_view kRecorder =
    "#!/bin/sh\n"
    "out=\"$(dirname \"$0\")/../args.txt\"\n"
    "{ pwd; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > \"$out.part\"\n"
    "mv \"$out.part\" \"$out\"\n";

void installRecorder(const TempFolder& program) {
    const QString path = program.write("TSnpp/notepad++", kRecorder);
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeUser);
}

// The editor runs detached, so its record turns up a moment later.
QStringList recorded(const TempFolder& program) {
    const QString path = program.file("args.txt");
    QElapsedTimer clock;
    clock.start();
    while (!QFile::exists(path) && clock.elapsed() < 10000)
        QThread::msleep(20);
    const QString text = QString::fromStdString(program.read("args.txt"));
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
} // namespace

TEST(EditorCommandLine, LineAndReadOnlySwitch) {
    EXPECT_EQ(editorArguments(1, true), " -n1 -ro ");
    EXPECT_EQ(editorArguments(1, false), " -n1 ");
    EXPECT_EQ(editorArguments(327, false), " -n327 ");
    // Lines before the first open the file at its start.
    EXPECT_EQ(editorArguments(0, false), " -n1 ");
    EXPECT_EQ(editorArguments(-4, true), " -n1 -ro ");

    EXPECT_EQ(editorArgumentList(0, true, "/maps/my world.map"),
              QStringList({"-n1", "-ro", "/maps/my world.map"}));
    EXPECT_EQ(editorProgram("/opt/tessary/"), "/opt/tessary/TSnpp/notepad++");
}

TEST(EditorCommandLine, TheRecoveryCopyIsViewedWhenThereIsOne) {
    TempFolder maps;
    const QString map = maps.write("isle.map", "#dom2title isle\n");
    EXPECT_EQ(currentMapFileForViewing(map), map);
    const QString ore = maps.write("isle.ore", "#dom2title isle\n");
    EXPECT_EQ(currentMapFileForViewing(map), ore);
}

TEST(ExternalEditor, AMissingEditorIsReported) {
    TempFolder program;
    FakeUserInterface ui;
    EXPECT_FALSE(StartExternalEditor(program.file("a.map"), 1, false, program.path(), ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Syntax editor not found!");
    EXPECT_EQ(ui.messages[0].title, "Tessary");

    // Present but not allowed to run is no better.
    const QString path = program.write("TSnpp/notepad++", kRecorder);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_FALSE(CodeEditOriginal(program.file("a.map"), program.path(), ui));
    EXPECT_EQ(ui.messages.size(), 2u);
}

TEST(ExternalEditor, StartsInTheProgramFolderWithTheFileAsItsOwnArgument) {
    TempFolder program;
    installRecorder(program);
    FakeUserInterface ui;
    const QString map = program.write("my maps/old isle.map", "x");
    EXPECT_TRUE(StartExternalEditor(map, 0, true, program.path(), ui));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_GE(ui.eventRuns, 1);
    EXPECT_EQ(recorded(program), QStringList({QDir(program.path()).canonicalPath(), "-n1", "-ro", map}));
}

TEST(ExternalEditor, ViewCurrentIsTheRecoveryCopyReadOnlyAndEditOriginalTheMapFile) {
    TempFolder program;
    installRecorder(program);
    FakeUserInterface ui;
    const QString map = program.write("maps/isle.map", "x");
    const QString ore = program.write("maps/isle.ore", "y");
    EXPECT_TRUE(CodeViewCurrent(map, program.path(), ui));
    EXPECT_EQ(recorded(program).mid(1), QStringList({"-n1", "-ro", ore}));
    QFile::remove(program.file("args.txt"));
    EXPECT_TRUE(CodeEditOriginal(map, program.path(), ui));
    EXPECT_EQ(recorded(program).mid(1), QStringList({"-n1", map}));
}

TEST(ExternalEditor, EditOtherAsksInTheMapsDirectory) {
    TempFolder program;
    installRecorder(program);
    FakeUserInterface ui;
    const QString map = program.write("maps/isle.map", "x");
    const QString other = program.write("maps/other.map", "z");
    const QString mapsDir = program.file("maps") + "/";

    ui.files.push_back(std::nullopt);
    EXPECT_FALSE(CodeEditOther(map, mapsDir, program.path(), ui));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(QFile::exists(program.file("args.txt")));

    ui.files.push_back(other);
    EXPECT_TRUE(CodeEditOther(map, mapsDir, program.path(), ui));
    EXPECT_EQ(recorded(program).mid(1), QStringList({"-n1", other}));
    ASSERT_EQ(ui.fileRequests.size(), 2u);
    EXPECT_EQ(ui.fileRequests[1], "open|Map file (*.map)|*.map|" + mapsDir + "|" + map);
}

namespace {
// Runs the shipped script with only the given stand-in programs on the PATH; each stand-in records
// its name and arguments in <its name>.txt.
struct ScriptRun {
    TempFolder bin;
    QProcessEnvironment env;

    explicit ScriptRun(const QStringList& programs) {
        for (const QString& p : programs) {
            const QString path = bin.write(
                p, "#!/bin/sh\n"
                   "out=\"${0%/*}/${0##*/}.txt\"\n"
                   "{ printf '%s\\n' \"${0##*/}\"; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } "
                   "> \"$out.part\"\n"
                   "/bin/mv \"$out.part\" \"$out\"\n");
            QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
        }
        env.insert("PATH", bin.path());
        env.insert("DISPLAY", ":0");
    }

    int run(const QStringList& args) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start("/bin/sh", QStringList{TESSARY_EDITOR_SCRIPT} + args);
        p.waitForFinished(10000);
        return p.exitCode();
    }

    QStringList recorded(const QString& program) const {
        const QString path = bin.file(program + ".txt");
        QElapsedTimer clock;
        clock.start();
        while (!QFile::exists(path) && clock.elapsed() < 10000)
            QThread::msleep(20);
        return QString::fromStdString(bin.read(program + ".txt")).split('\n', Qt::SkipEmptyParts);
    }
};
} // namespace

TEST(EditorScript, OpensTheFileAtTheLineInADesktopEditor) {
    ScriptRun gedit({"gedit", "xdg-open"});
    EXPECT_EQ(gedit.run({"-n42", "-ro", "/maps/my isle.map"}), 0);
    EXPECT_EQ(gedit.recorded("gedit"), QStringList({"gedit", "+42", "/maps/my isle.map"}));

    ScriptRun kate({"kate"});
    EXPECT_EQ(kate.run({"-n0", "/maps/a.map"}), 0);
    EXPECT_EQ(kate.recorded("kate"), QStringList({"kate", "-l", "1", "/maps/a.map"}));

    ScriptRun other({"xdg-open"});
    EXPECT_EQ(other.run({"-n3", "/maps/a.map"}), 0);
    EXPECT_EQ(other.recorded("xdg-open"), QStringList({"xdg-open", "/maps/a.map"}));
}

TEST(EditorScript, TheUsersOwnEditorRunsInATerminalReadOnly) {
    ScriptRun run({"xterm", "vim", "gedit"});
    run.env.insert("EDITOR", "vim");
    EXPECT_EQ(run.run({"-n7", "-ro", "/maps/a.map"}), 0);
    EXPECT_EQ(run.recorded("xterm"), QStringList({"xterm", "-e", "vim", "-R", "+7", "/maps/a.map"}));
}

TEST(EditorScript, FailsWhenNothingCanShowTheFile) {
    ScriptRun none({});
    EXPECT_NE(none.run({"-n1", "/maps/a.map"}), 0);
    ScriptRun noDisplay({"gedit"});
    noDisplay.env.remove("DISPLAY");
    EXPECT_NE(noDisplay.run({"-n1", "/maps/a.map"}), 0);
    EXPECT_NE(noDisplay.run({"-n1"}), 0);
}
