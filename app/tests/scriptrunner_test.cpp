// The script menu in the editor: a script run on the open sample map shows its changes in the
// navigator and leaves the map modified with a recovery copy.
#include "mainwindow.h"
#include "mapdocument.h"
#include "maplifecycle.h"
#include "navigator.h"
#include "refdatafixture.h"
#include "scriptrunner.h"
#include "tempfolder.h"

#include <QAction>
#include <QApplication>
#include <QDirIterator>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

using namespace ts;

namespace {

// The tables, the sample map with its picture and the example scripts, nothing else.
void copyProgramParts(const TempFolder& home) {
    for (const char* sub : {"TSdata", "TSscripts", "maps"}) {
        const QString from = QStringLiteral(TESSARY_PROGRAM_DIR "/") + QLatin1String(sub);
        QDirIterator it(from, QDir::Files);
        while (it.hasNext()) {
            const QString file = it.next();
            QFile source(file);
            QVERIFY(source.open(QIODevice::ReadOnly));
            const QByteArray bytes = source.readAll();
            home.write(QLatin1String(sub) + QLatin1Char('/') + QFileInfo(file).fileName(),
                       std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        }
    }
    writeDefaultConfiguration(home);
}

int firstProvince(const MapDocument& doc, bool (*wanted)(const ProvinceDataType&)) {
    for (int p = 1; p <= doc.ProvinceCount; ++p)
        if (wanted(doc.Provinces[p])) return p;
    return 0;
}

} // namespace

class ScriptRunnerTest : public QObject {
    Q_OBJECT

    TempFolder home;
    std::unique_ptr<MainWindow> w;
    QString map;

  private slots:
    void init() {
        copyProgramParts(home);
        w = std::make_unique<MainWindow>();
        // The document outlives the window: the last test's unsaved run must not be asked about.
        w->document().MapModified = false;
        QVERIFY(w->startUp(home.path()));
        map = home.file("maps/aelfheim.map");
        QFile::remove(MapLifecycle::recoveryPath(map));
        w->lifecycle().openMapFile(map);
        QVERIFY(w->document().ProvinceCount > 200);
        QVERIFY(!w->document().MapModified);
    }
    void cleanup() { w.reset(); }

    void aRunShowsItsChangesInTheNavigatorAndKeepsARecoveryCopy() {
        MapDocument& doc = w->document();
        const int farm =
            firstProvince(doc, [](const ProvinceDataType& p) { return p.TerrainBit[8] && !p.Temple; });
        QVERIFY(farm > 0);
        const std::string key = std::to_string(farm) + " PROV";
        w->navigator().NodeClick(key);
        QVERIFY(!w->navigator().node(std::to_string(farm) + " TEMPLE"));

        const ScriptRunResult r = runScriptInEditor(*w, home.file("TSscripts/farmtemples.tss"));
        QVERIFY(r.completed && r.changed);
        QVERIFY(doc.Provinces[farm].Temple);
        QTreeWidgetItem* temple = w->navigator().node(std::to_string(farm) + " TEMPLE");
        QVERIFY(temple);
        QCOMPARE(temple->text(0), QStringLiteral("Temple"));
        QCOMPARE(Navigator::keyOf(w->navigator().currentItem()), QString::fromStdString(key));
        QCOMPARE(int(doc.CurProvince), farm);
        QVERIFY(doc.MapModified);
        QVERIFY(QFile::exists(MapLifecycle::recoveryPath(map)));
    }

    void theMenuRunsTheChosenScriptWithProgress() {
        MapDocument& doc = w->document();
        const int empty = firstProvince(
            doc, [](const ProvinceDataType& p) { return !p.TerrainBit[2] && p.CommanderCount == 0; });
        QVERIFY(empty > 0);
        int progress = -1;
        int maximum = -1;
        QTimer::singleShot(0, this, [&] {
            QWidget* menu = QApplication::activeModalWidget();
            QVERIFY(menu && menu->objectName() == "frmScriptMenu");
            auto* list = menu->findChild<QListWidget*>("lstScripts");
            QCOMPARE(list->currentRow(), 0);
            const auto found = list->findItems("Add independents to empty land", Qt::MatchExactly);
            QCOMPARE(found.size(), 1);
            list->setCurrentItem(found.front());
            menu->findChild<QPushButton*>("cmdRun")->click();
            progress = menu->findChild<QProgressBar*>("pbScript")->value();
            maximum = menu->findChild<QProgressBar*>("pbScript")->maximum();
        });
        w->findChild<QAction*>("mnuCustomTools")->trigger();
        QCOMPARE(maximum, int(doc.ProvinceCount));
        QCOMPARE(progress, maximum);
        QVERIFY(w->navigator().node(std::to_string(empty) + " COM 1"));
        QCOMPARE(doc.Provinces[empty].Commanders[1].UnitsCount[0], std::int16_t(15));
    }
};

QTEST_MAIN(ScriptRunnerTest)
#include "scriptrunner_test.moc"
