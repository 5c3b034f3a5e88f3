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

// A stand-in program: writes its working folder, its name and each argument, a line each, to
// <folder>/<name>.txt. It runs detached, so the record turns up a moment later.
QString installRecorder(const TempFolder& folder, const QString& relative) {
    const QString path =
        folder.write(relative, "#!/bin/sh\n"
                               "out=\"${0%/*}/${0##*/}.txt\"\n"
                               "{ pwd; printf '%s\\n' \"${0##*/}\" \"$@\"; } > \"$out.part\"\n"
                               "/bin/mv \"$out.part\" \"$out\"\n");
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
    return path;
}

QStringList takeRecord(const QString& program) {
    const QString path = program + ".txt";
    QElapsedTimer clock;
    clock.start();
    while (!QFile::exists(path) && clock.elapsed() < 10000)
        QThread::msleep(20);
    QFile file(path);
    const QString text = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    file.remove();
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

TEST(EditorCommandLine, LineAndReadOnlySwitch) {
    EXPECT_EQ(editorArguments(1, true), " -n1 -ro ");
    EXPECT_EQ(editorArguments(327, false), " -n327 ");
    EXPECT_EQ(editorArguments(0, false), " -n1 "); // lines before the first open the file at its start
    EXPECT_EQ(editorArguments(-4, true), " -n1 -ro ");
}

TEST(ExternalEditor, ViewCurrentShowsTheRecoveryCopyReadOnlyEditOriginalTheMap) {
    TempFolder program;
    program.makePortable();
    FakeUserInterface ui;
    const QString map = program.write("my maps/isle.map", "x");
    EXPECT_FALSE(CodeViewCurrent(map, program.path(), ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Tessary");
    EXPECT_EQ(ui.messages[0].text, "Syntax editor not found!");

    const QString editor = installRecorder(program, "TSnpp/notepad++");
    const QString cwd = QDir(program.path()).canonicalPath();
    EXPECT_TRUE(CodeViewCurrent(map, program.path(), ui));
    EXPECT_EQ(takeRecord(editor), QStringList({cwd, "notepad++", "-n1", "-ro", map}));
    const QString ore = program.write("my maps/isle.ore", "y");
    EXPECT_TRUE(CodeViewCurrent(map, program.path(), ui));
    EXPECT_EQ(takeRecord(editor), QStringList({cwd, "notepad++", "-n1", "-ro", ore}));
    EXPECT_TRUE(CodeEditOriginal(map, program.path(), ui));
    EXPECT_EQ(takeRecord(editor), QStringList({cwd, "notepad++", "-n1", map}));
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST(EditorScript, OpensTheFileAtTheLineInWhateverEditorThereIs) {
    const struct {
        const char* programs; // on the PATH; the first one records its call
        const char* editorVariable;
        const char* arguments;
        const char* recorded;
    } cases[] = {
        {"gedit xdg-open", "", "-n42|-ro|/maps/my isle.map", "gedit|+42|/maps/my isle.map"},
        {"kate", "", "-n0|/maps/a.map", "kate|-l|1|/maps/a.map"},
        {"xdg-open", "", "-n3|/maps/a.map", "xdg-open|/maps/a.map"},
        {"xterm vim gedit", "vim", "-n7|-ro|/maps/a.map", "xterm|-e|vim|-R|+7|/maps/a.map"},
        {"", "", "-n1|/maps/a.map", ""}, // nothing to show it with: the script fails
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const QStringList programs = QString(c.programs).split(' ', Qt::SkipEmptyParts);
        TempFolder bin;
        for (const QString& name : programs)
            installRecorder(bin, name);
        QProcessEnvironment env;
        env.insert("PATH", bin.path());
        env.insert("DISPLAY", ":0");
        if (*c.editorVariable) env.insert("EDITOR", c.editorVariable);
        QProcess script;
        script.setProcessEnvironment(env);
        script.start("/bin/sh", QStringList{TESSARY_EDITOR_SCRIPT} + QString(c.arguments).split('|'));
        script.waitForFinished(10000);
        EXPECT_EQ(script.exitCode() == 0, !programs.isEmpty());
        EXPECT_EQ(programs.isEmpty() ? QString() : takeRecord(bin.file(programs[0])).mid(1).join('|'),
                  c.recorded);
    }
}
