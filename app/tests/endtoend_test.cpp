// The editor as a user meets it: a first start without a configuration, the sample map opened as the
// command line opens it, a province picked with the mouse, neighbours guessed, the map zoomed, saved
// and the window closed. Real dialogs are answered by clicking their buttons, as a user would; the
// screenshots taken on the way are what scripts/screenshots keeps.
#include "mainwindow.h"
#include "mapdocument.h"
#include "maplifecycle.h"
#include "mapreader.h"
#include "cp1252.h"
#include "mapview.h"
#include "modalwatcher.h"
#include "navigator.h"
#include "paths.h"
#include "referencedata.h"
#include "refdatafixture.h"
#include "settings.h"
#include "tempfolder.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidgetItemIterator>
#include <QtTest>
#include <algorithm>
#include <memory>
#include <set>

using namespace ts;

namespace {


// Keeps a picture of what the user sees in the build folder (screenshots/), to be checked by eye.
void shoot(QWidget& w, const char* name) {
    QDir().mkpath(TESSARY_SCREENSHOT_DIR);
    w.grab().save(QStringLiteral(TESSARY_SCREENSHOT_DIR "/") + QLatin1String(name));
}

// The navigator mirrors the map: every province under "PROVINCES" with its number and name,
// commanders as "c UnitName" under "n COMMANDERS".
void checkNavigatorMirrors(Navigator& nav, const MapDocument& doc) {
    QCOMPARE(nav.node("PROVINCES")->childCount(), int(doc.ProvinceCount));
    QVERIFY(nav.node("MAP")->isExpanded());
    for (int p = 1; p <= doc.ProvinceCount; ++p) {
        const Text& name = doc.Provinces[p].LandName;
        QCOMPARE(nav.node(QString("%1 PROV").arg(p).toStdString())->text(0),
                 QString::number(p) + " " + (name.empty() ? QStringLiteral("Prov") : fromCp1252(name.view())));
        for (int c = 0; c < kCommanderSlots; ++c) {
            const Text& unit = doc.Provinces[p].Commanders[c].UnitName;
            if (unit.empty()) continue;
            QTreeWidgetItem* com = nav.node(QString("%1 COM %2").arg(p).arg(c).toStdString());
            QVERIFY(com);
            QCOMPARE(Navigator::keyOf(com->parent()), QString("%1 COMMANDERS").arg(p));
            QCOMPARE(com->text(0), QString::number(c) + " " + fromCp1252(unit.view()));
        }
    }
}

// Watches for modal dialogs and answers them with OK, keeping what they said and a picture of them.
class DialogAnswerer {
public:
    QStringList seen;

private:
    void answer(QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            seen << box->windowTitle() + "|" + box->text();
            QTimer::singleShot(0, box, [box] { box->button(QMessageBox::Ok)->click(); });
        } else if (modal->objectName() == "frmOptions") {
            seen << "frmOptions";
            shoot(*modal, "tessary-options.png");
            auto* ok = modal->findChild<QPushButton*>("cmdOk");
            QTimer::singleShot(0, ok, [ok] { ok->click(); });
        }
    }

    ModalWatcher mWatcher{[this](QWidget* modal) { answer(modal); }};
};

std::set<std::pair<int, int>> neighbourPairs(const MapDocument& doc, int count) {
    std::set<std::pair<int, int>> pairs;
    for (int p = 1; p <= count; ++p)
        for (auto n : doc.Provinces[p].Neighbours)
            if (n > 0) pairs.insert({std::min<int>(p, n), std::max<int>(p, n)});
    return pairs;
}

// Counts the navigator's nodes at the moment the map error log window is shown.
class ShowWatcher : public QObject {
public:
    explicit ShowWatcher(MainWindow& w) : mWindow(w) {}
    int navigatorNodesWhenLogShown = -1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->objectName() == "frmMapErrorLog") {
            int nodes = 0;
            for (QTreeWidgetItemIterator it(&mWindow.navigator()); *it; ++it) ++nodes;
            navigatorNodesWhenLogShown = nodes;
        }
        return false;
    }

private:
    MainWindow& mWindow;
};

} // namespace

class EndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void firstStartOpenSelectGuessSaveAndClose() {
        TempFolder home;
        home.copyTreeFrom(TESSARY_PROGRAM_DIR);
        QFile::remove(home.file("Tessary.cfg"));
        QFile::remove(home.file("Tessary.recent"));
        DialogAnswerer answerer;

        auto w = std::make_unique<MainWindow>();
        w->resize(1400, 900);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QVERIFY(w->startUp(home.path()));
        QCOMPARE(answerer.seen.value(0).section('|', 0, 0), QStringLiteral("Welcome to Tessary!"));
        QCOMPARE(answerer.seen.value(1), QStringLiteral("frmOptions"));
        QVERIFY(QFile::exists(home.file("Tessary.cfg"))); // OK in the options wrote it

        const QString map = home.file("maps/aelfheim.map");
        auto fileDoc = std::make_unique<MapDocument>();
        z_ReadMapFile(*fileDoc, referenceData(), *w, map);
        w->lifecycle().openMapFile(map);
        MapDocument& doc = w->document();
        QVERIFY(doc.ProvinceCount > 200);
        QVERIFY2(!doc.MapErrorsFound, doc.ErrorLog.c_str());
        QCOMPARE(w->windowTitle(), QStringLiteral("Tessary: aelfheim.map"));
        QCOMPARE(w->recentMaps().paths().value(0), QFileInfo(map).canonicalFilePath());
        checkNavigatorMirrors(w->navigator(), doc);

        const int province = 40;
        MapView& view = w->mapView();
        const QPoint shown(doc.Provinces[province].ProvinceX, doc.Provinces[province].ProvinceY);
        QTest::mouseClick(&view, Qt::RightButton, Qt::NoModifier, shown);
        QCOMPARE(int(doc.CurProvince), province);
        QVERIFY(w->navigator().currentItem());
        QCOMPARE(Navigator::keyOf(w->navigator().currentItem()), QStringLiteral("40 PROV"));

        w->findChild<QAction*>("mnuFindNeighbors")->trigger();
        QVERIFY(doc.MapModified);
        const auto guessed = neighbourPairs(doc, doc.ProvinceCount);
        QVERIFY(guessed.size() > neighbourPairs(*fileDoc, doc.ProvinceCount).size() / 2);
        // The guess reads the picture as drawn, and the selected province's ring is pure red, a border
        // colour: the selection itself gets no partners in its own pass. Another province does, and
        // its links are drawn over the picture.
        QTest::mouseClick(&view, Qt::RightButton, Qt::NoModifier,
                          QPoint(doc.Provinces[41].ProvinceX, doc.Provinces[41].ProvinceY));
        QVERIFY(std::any_of(view.neighbourLines().begin(), view.neighbourLines().end(),
                            [](const MapView::NeighbourLine& l) { return l.visible; }));
        shoot(*w, "tessary-main.png");
        w->findChild<QAction*>("mnuZoomPercent2")->trigger();
        QCOMPARE(view.lastActiveProv(), 41);
        shoot(*w, "tessary-50.png");

        w->findChild<QAction*>("mnuSave")->trigger();
        QVERIFY(!doc.MapModified);
        QVERIFY(!QFile::exists(MapLifecycle::recoveryPath(map)));
        const auto answeredBeforeClose = answerer.seen.size();
        QVERIFY(w->close());
        QCOMPARE(answerer.seen.size(), answeredBeforeClose); // nothing asked: the map was saved

        // What was saved reads back to the same neighbours and names.
        auto back = std::make_unique<MapDocument>();
        back->MapFilePath = pathToText(map);
        back->MapFileTitle = "aelfheim.map";
        z_ReadMapFile(*back, referenceData(), *w, map);
        QVERIFY2(!back->MapErrorsFound, back->ErrorLog.c_str());
        QCOMPARE(neighbourPairs(*back, doc.ProvinceCount), guessed);
        for (int p = 1; p <= doc.ProvinceCount; ++p) {
            QCOMPARE(back->Provinces[p].LandName.str(), doc.Provinces[p].LandName.str());
            QCOMPARE(back->Provinces[p].Owner, doc.Provinces[p].Owner);
        }
        Settings written;
        QVERIFY(ReadConfiguration(written, configurationPath(home.path()), *w));
        QCOMPARE(written.MapsDirectory, Settings::defaultMapsDirectory());
    }

    void theErrorLogOpensOnceAfterTheNavigatorIsBuilt() {
        TempFolder home;
        home.copyTreeFrom(TESSARY_PROGRAM_DIR);
        writeDefaultConfiguration(home);
        DialogAnswerer answerer;
        MainWindow w;
        w.show();
        QVERIFY(w.startUp(home.path()));
        QFile::copy(home.file("maps/aelfheim.map"), home.file("maps/broken.map"));
        QFile broken(home.file("maps/broken.map"));
        QVERIFY(broken.open(QIODevice::Append));
        broken.write("#owner 7 x\n#nosuchcommand 1\n");
        broken.close();

        ShowWatcher watcher(w);
        qApp->installEventFilter(&watcher);
        w.lifecycle().openMapFile(home.file("maps/broken.map"));
        qApp->removeEventFilter(&watcher);
        QVERIFY(w.document().MapErrorsFound);
        const auto logs = w.findChildren<QDialog*>("frmMapErrorLog");
        QCOMPARE(logs.size(), qsizetype{1});
        // When the log appeared, the navigator already held the map.
        QVERIFY(watcher.navigatorNodesWhenLogShown > 1);
        auto* text = logs[0]->findChild<QWidget*>("rtbLog");
        QVERIFY(text && logs[0]->findChild<QWidget*>("cmdOpenMapFile") && logs[0]->findChild<QWidget*>("cmdOk"));
        logs[0]->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(logs[0]));
        QTRY_VERIFY(QFile::exists(home.file("MapErrorLog.txt")));
        QVERIFY(home.read("MapErrorLog.txt").find("Map error log for: \r\n") == 0);
        w.document().MapModified = false;
    }
};

QTEST_MAIN(EndToEndTest)
#include "endtoend_test.moc"
