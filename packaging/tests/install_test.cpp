#include "folders.h"
#include "tempfolder.h"
#include "userenvironment.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
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

// Lays the build out under prefix as the package does; what cmake said when that failed.
QString installUnder(const QString& prefix) {
    QString log;
    const QStringList args{QStringLiteral("--install"), QStringLiteral(TESSARY_BUILD_DIR), QStringLiteral("--prefix"),
                           prefix};
    if (runProgram(QStringLiteral(CMAKE_COMMAND_PATH), args, &log) == 0) return QString();
    return QStringLiteral("cmake --install failed:\n") + log;
}

// Every picture the manual shows must lie beside it, or the page has holes.
void expectManualWithItsPictures(const QString& manual) {
    QFile page(manual);
    ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << manual.toStdString();
    const QString html = QString::fromUtf8(page.readAll());
    int pictures = 0;
    for (const auto& img : QRegularExpression(QStringLiteral("<img src=\"([^\"]+)\"")).globalMatch(html)) {
        ++pictures;
        EXPECT_TRUE(QFileInfo::exists(QFileInfo(manual).dir().filePath(img.captured(1))))
            << img.captured(1).toStdString();
    }
    EXPECT_GE(pictures, 5);
    EXPECT_TRUE(html.contains(QStringLiteral("Tessary " TESSARY_VERSION)));
}

} // namespace

// What `cmake --install` lays out is what the package holds; the installed command-line tool must
// find its data in share/ and write nothing there.
TEST(Install, LaysOutBinShareMenuEntryAndIconAndTheInstalledToolRuns) {
    TempFolder root;
    const QString prefix = root.file(QStringLiteral("usr"));
    QString log = installUnder(prefix);
    ASSERT_TRUE(log.isEmpty()) << log.toStdString();

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

// What Debian wants beside the programs, the manual in both layouts, and one version everywhere.
TEST(Install, DocumentationCompletionAndOneVersionEverywhere) {
    TempFolder root;
    const QString prefix = root.file(QStringLiteral("usr"));
    QString log = installUnder(prefix);
    ASSERT_TRUE(log.isEmpty()) << log.toStdString();
    for (const char* file : {"share/doc/tessary/copyright", "share/man/man1/tessary.1.gz",
                             "share/man/man1/tessary-cli.1.gz", "share/bash-completion/completions/tessary-cli",
                             "share/lintian/overrides/tessary"})
        EXPECT_TRUE(QFileInfo::exists(root.file(QStringLiteral("usr/") + QLatin1String(file)))) << file;

    const QString installed = manualFile(root.file(QStringLiteral("usr/bin")));
    EXPECT_EQ(installed, root.file(QStringLiteral("usr/share/doc/tessary/manual.html")));
    expectManualWithItsPictures(installed);
    expectManualWithItsPictures(manualFile(QStringLiteral(TESSARY_BUILD_DIR "/bin")));

    const QString version = QStringLiteral(TESSARY_VERSION);
    ASSERT_EQ(runProgram(QStringLiteral("gzip"), {QStringLiteral("-dc"), root.file(QStringLiteral(
                                                      "usr/share/doc/tessary/changelog.gz"))},
                         &log),
              0);
    EXPECT_TRUE(log.startsWith(QStringLiteral("tessary (%1) ").arg(version)))
        << "the changelog's newest entry is not for the project version " << TESSARY_VERSION;
    qputenv("QT_QPA_PLATFORM", "offscreen"); // the editor makes its application before it reads --version
    for (const char* program : {"tessary-cli", "tessary"}) {
        EXPECT_EQ(runProgram(root.file(QStringLiteral("usr/bin/") + QLatin1String(program)),
                             {QStringLiteral("--version")}, &log),
                  0);
        EXPECT_TRUE(log.trimmed().endsWith(QLatin1Char(' ') + version)) << log.toStdString();
    }
}
