// Drives the whole editor on the sample map as a user would, and leaves screenshots of what the
// user sees in the build folder (screenshots/), so the look can be checked by eye.
#include "mainwindow.h"
#include "mapdocument.h"
#include "mapimage.h"
#include "maplifecycle.h"
#include "mapview.h"
#include "navigator.h"
#include "cp1252.h"
#include "refdatafixture.h"
#include "tempfolder.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTreeWidgetItem>
#include <QtTest>

using namespace ts;

namespace {

int countNeighbourPairs(const MapDocument& doc) {
    int pairs = 0;
    for (int p = 1; p <= doc.ProvinceCount; ++p)
        for (auto n : doc.Provinces[p].Neighbours)
            if (n > p) ++pairs;
    return pairs;
}
} // namespace

class TourTest : public QObject {
    Q_OBJECT

    void shoot(QWidget& w, const QString& name) {
        QDir().mkpath(TESSARY_SCREENSHOT_DIR);
        QVERIFY(w.grab().save(QStringLiteral(TESSARY_SCREENSHOT_DIR) + "/" + name));
    }

private slots:
    void openSelectGuessZoomAndSave() {
        TempFolder home;
        home.copyTreeFrom(TESSARY_PROGRAM_DIR);
        writeDefaultConfiguration(home);
        QVERIFY(QFile::exists(home.file("maps/aelfheim.map")));

        MainWindow w;
        w.resize(1400, 900);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.startUp(home.path()));
        w.lifecycle().openMapFile(home.file("maps/aelfheim.map"));

        MapDocument& doc = w.document();
        QVERIFY(doc.ProvinceCount > 200);
        QVERIFY2(!doc.MapErrorsFound, doc.ErrorLog.c_str());
        QCOMPARE(w.windowTitle(), QStringLiteral("Tessary: aelfheim.map"));
        QVERIFY(w.findChild<QAction*>("mnuSave")->isEnabled());
        const int filePairs = countNeighbourPairs(doc);

        // The navigator mirrors the sample map: every province under "PROVINCES" with its number and
        // name, commanders as "c UnitName" under "n COMMANDERS".
        Navigator& nav = w.navigator();
        QTreeWidgetItem* provinces = nav.node("PROVINCES");
        QVERIFY(provinces);
        QCOMPARE(provinces->childCount(), int(doc.ProvinceCount));
        for (int p = 1; p <= doc.ProvinceCount; ++p) {
            const QString expected = QString::number(p) + " " +
                                     (doc.Provinces[p].LandName.empty() ? QStringLiteral("Prov")
                                                                        : fromCp1252(doc.Provinces[p].LandName.view()));
            QTreeWidgetItem* item = nav.node(QString("%1 PROV").arg(p).toStdString());
            QVERIFY(item);
            QCOMPARE(item->text(0), expected);
            for (int c = 0; c < kCommanderSlots; ++c) {
                const CommanderDataType& slot = doc.Provinces[p].Commanders[c];
                if (slot.UnitName.empty()) continue;
                QTreeWidgetItem* com = nav.node(QString("%1 COM %2").arg(p).arg(c).toStdString());
                QVERIFY(com);
                QCOMPARE(Navigator::keyOf(com->parent()), QString("%1 COMMANDERS").arg(p));
                QCOMPARE(com->text(0), QString::number(c) + " " + fromCp1252(slot.UnitName.view()));
            }
        }
        QVERIFY(nav.node("MAP")->isExpanded());

        // A right click where province 40 is shown selects it.
        MapView& view = w.mapView();
        const QPoint at(doc.Provinces[40].ProvinceX, doc.Provinces[40].ProvinceY);
        QTest::mouseClick(&view, Qt::RightButton, Qt::NoModifier, at);
        QCOMPARE(int(doc.CurProvince), 40);
        shoot(w, "tessary-selected.png");

        w.findChild<QAction*>("mnuFindNeighbors")->trigger();
        const int guessedPairs = countNeighbourPairs(doc);
        QVERIFY(guessedPairs > filePairs / 2);
        // The guess reads the picture as drawn, and the selected province's ring is pure red, a border
        // colour: the selection itself gets no partners in its own pass. Another province does.
        const QPoint other(doc.Provinces[41].ProvinceX, doc.Provinces[41].ProvinceY);
        QTest::mouseClick(&view, Qt::RightButton, Qt::NoModifier, other);
        int shownLines = 0;
        for (const auto& line : view.neighbourLines()) shownLines += line.visible ? 1 : 0;
        QVERIFY(shownLines > 0); // the selection's links are drawn over the picture
        shoot(w, "tessary-neighbours-100.png");

        w.findChild<QAction*>("mnuZoomPercent2")->trigger();
        QCOMPARE(w.mapImage().ZoomScale(), 0.5f);
        QCOMPARE(view.lastActiveProv(), 41);
        shoot(w, "tessary-neighbours-50.png");
        qInfo("neighbour pairs: %d in the file, %d guessed", filePairs, guessedPairs);
    }
};

QTEST_MAIN(TourTest)
#include "tour_test.moc"
