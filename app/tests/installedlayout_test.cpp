#include "fakeuserinterface.h"
#include "folders.h"
#include "mainwindow.h"
#include "mapdocument.h"
#include "maperrorlog.h"
#include "maplifecycle.h"
#include "modalwatcher.h"
#include "palettes.h"
#include "paths.h"
#include "tempfolder.h"
#include "userenvironment.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDirIterator>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <map>
#include <memory>

using namespace ts;

namespace {

// Answers the first-run welcome and the options dialog with OK, as a new user would.
class FirstRunAnswerer {
    static void answer(QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            QTimer::singleShot(0, box, [box] { box->button(QMessageBox::Ok)->click(); });
        else if (auto* ok = modal->findChild<QPushButton*>(QStringLiteral("cmdOk")))
            QTimer::singleShot(0, ok, [ok] { ok->click(); });
    }
    ModalWatcher mWatcher{[](QWidget* modal) { answer(modal); }};
};

// Every file below folder with its size and modification time, to see that nothing was written there.
std::map<QString, std::pair<qint64, qint64>> snapshot(const QString& folder) {
    std::map<QString, std::pair<qint64, qint64>> files;
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        files[info.filePath()] = {info.size(), info.lastModified().toMSecsSinceEpoch()};
    }
    return files;
}

} // namespace

class InstalledLayoutTest : public QObject {
    Q_OBJECT

private slots:
    // A system install: the programs in usr/bin, the shipped data in usr/share/tessary, nothing of
    // either writable by the user. The editor must start, open the shipped sample map and keep all it
    // writes in the user's folders.
    void theEditorReadsShareAndWritesOnlyTheUsersFolders() {
        TempFolder root;
        for (const char* sub : {"TSdata", "TSicons", "TSsprites", "TSflags", "TSpalettes", "maps"}) {
            QDirIterator it(joinPath(QStringLiteral(TESSARY_PROGRAM_DIR), QString::fromLatin1(sub)), QDir::Files,
                            QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString from = it.next();
                const QString to = root.file(QStringLiteral("usr/share/tessary/") +
                                             QDir(QStringLiteral(TESSARY_PROGRAM_DIR)).relativeFilePath(from));
                QDir().mkpath(QFileInfo(to).absolutePath());
                QVERIFY(QFile::copy(from, to));
            }
        }
        QDir().mkpath(root.file("usr/bin"));
        const QString bin = root.file("usr/bin");
        UserEnvironment env(root.file("home/.config"), QString(), root.file("home"));
        const auto shareBefore = snapshot(root.file("usr"));

        FirstRunAnswerer answerer;
        auto w = std::make_unique<MainWindow>();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QVERIFY(w->startUp(bin)); // the reference tables came from share
        QVERIFY(QFileInfo::exists(root.file("home/.config/tessary/Tessary.cfg")));

        const QString map = root.file("usr/share/tessary/maps/aelfheim.map");
        w->lifecycle().openMapFile(map);
        QVERIFY(w->document().ProvinceCount > 200);
        QVERIFY(QFileInfo::exists(root.file("home/.config/tessary/Tessary.recent")));
        QVERIFY(WriteMapErrorLogFile(w->document(), bin));
        QVERIFY(QFileInfo::exists(root.file("home/.config/tessary/MapErrorLog.txt")));
        QVERIFY(w->close());
        w.reset();

        QVERIFY(snapshot(root.file("usr")) == shareBefore);
        // XDG_DATA_HOME was unset: a palette the user makes goes to the documented default and is
        // listed beside the shipped ones.
        FakeUserInterface ui;
        UnitPalettes palettes(paletteFolder(bin), ui, shippedPaletteFolder(bin));
        const QStringList shipped = palettes.list();
        QVERIFY(!shipped.isEmpty());
        QVERIFY(palettes.write(QStringLiteral("Mine.upa"), {6, 14}));
        QVERIFY(QFileInfo::exists(root.file("home/.local/share/tessary/TSpalettes/Mine.upa")));
        QCOMPARE(palettes.list().size(), shipped.size() + 1);
        QVERIFY(snapshot(root.file("usr")) == shareBefore);
    }
};

QTEST_MAIN(InstalledLayoutTest)
#include "installedlayout_test.moc"
