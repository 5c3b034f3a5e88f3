#include "tempfolder.h"
#include "userenvironment.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>
#include <map>

using namespace ts;

namespace {

int runProgram(const QString& program, const QStringList& args, QString* output = nullptr) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    if (!process.waitForFinished(120000)) return -1;
    if (output) *output = QString::fromLocal8Bit(process.readAll());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

std::map<QString, qint64> snapshot(const QString& folder) {
    std::map<QString, qint64> files;
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        files[info.filePath()] = info.lastModified().toMSecsSinceEpoch() ^ info.size();
    }
    return files;
}

} // namespace

// What `cmake --install` lays out is what the package holds; the installed command-line tool must
// find its data in share/ and write nothing there.
TEST(Install, LaysOutBinShareMenuEntryAndIconAndTheInstalledToolRuns) {
    TempFolder root;
    const QString prefix = root.file(QStringLiteral("usr"));
    QString log;
    ASSERT_EQ(runProgram(QStringLiteral(CMAKE_COMMAND_PATH),
                         {QStringLiteral("--install"), QStringLiteral(TESSARY_BUILD_DIR), QStringLiteral("--prefix"),
                          prefix},
                         &log),
              0)
        << log.toStdString();

    for (const char* file : {"bin/tessary", "bin/tessary-cli", "share/tessary/TSdata/UnitData.txt",
                             "share/tessary/TSicons/blank.bmp",
                             "share/tessary/maps/aelfheim.map",
                             "share/applications/tessary.desktop", "share/icons/hicolor/scalable/apps/tessary.svg"})
        EXPECT_TRUE(QFileInfo::exists(root.file(QStringLiteral("usr/") + QLatin1String(file)))) << file;
    EXPECT_TRUE(QFileInfo(root.file(QStringLiteral("usr/share/tessary/TSnpp/notepad++"))).isExecutable());
    // No data beside the programs: that is what tells the installed layout from the portable one.
    EXPECT_FALSE(QFileInfo::exists(root.file(QStringLiteral("usr/bin/TSdata"))));

    const std::string desktop = root.read(QStringLiteral("usr/share/applications/tessary.desktop"));
    EXPECT_NE(desktop.find("\nExec=tessary %f\n"), std::string::npos);
    EXPECT_NE(desktop.find("\nIcon=tessary\n"), std::string::npos);

    UserEnvironment env(root.file(QStringLiteral("config")), root.file(QStringLiteral("data")),
                        root.file(QStringLiteral("home")));
    const auto before = snapshot(prefix);
    ASSERT_EQ(runProgram(root.file(QStringLiteral("usr/bin/tessary-cli")),
                         {QStringLiteral("check"), root.file(QStringLiteral("usr/share/tessary/maps/aelfheim.map"))},
                         &log),
              0)
        << log.toStdString();
    EXPECT_TRUE(snapshot(prefix) == before);
}
