#include "mainwindow.h"
#include "mapdocument.h"
#include "maplifecycle.h"
#include "refdatafixture.h"
#include "regionguess.h"
#include "regionreview.h"

#include <QAction>
#include <QFile>
#include <QPushButton>
#include <QtTest>
#include <set>

using namespace ts;

namespace {

using Pairs = std::set<std::pair<int, int>>;

Pairs listsOf(const MapDocument& doc) {
    Pairs pairs;
    for (const RegionPair& p : neighbourPairs(doc))
        pairs.insert({p.a, p.b});
    return pairs;
}

Pairs pairsOf(const RegionGuess& guess) {
    Pairs pairs;
    for (const RegionPair& p : guess.pairs)
        pairs.insert({p.a, p.b});
    return pairs;
}

} // namespace

class RegionReviewTest : public QObject {
    Q_OBJECT

private slots:
    void theGuessChangesNothingUntilAcceptedAndAcceptingIsOneEdit() {
        TempFolder home;
        home.copyTreeFrom(TESSARY_PROGRAM_DIR);
        writeDefaultConfiguration(home);
        MainWindow w;
        w.resize(1200, 800);
        w.show();
        QVERIFY(w.startUp(home.path()));
        const QString map = home.file("maps/aelfheim_painted.map");
        w.lifecycle().openMapFile(map);
        MapDocument& doc = w.document();
        QVERIFY(doc.ProvinceCount > 200);
        QVERIFY(!doc.MapModified);
        const Pairs before = listsOf(doc);

        auto* findRegions = w.findChild<QAction*>("mnuFindNeighborsRegions");
        auto* overlayItem = w.findChild<QAction*>("mnuRegionOverlay");
        auto* bar = w.findChild<QWidget*>("fraRegionReview");
        auto* overlay = w.findChild<QWidget*>("picRegionOverlay");
        QVERIFY(findRegions && overlayItem && bar && overlay);
        QCOMPARE(findRegions->text(), QStringLiteral("Find Neighbors (Regions)"));
        QVERIFY(!overlayItem->isEnabled()); // nothing guessed yet

        // Reviewing: the regions lie over the map, the lists are untouched.
        findRegions->trigger();
        QVERIFY(bar->isVisible());
        QVERIFY(overlay->isVisible());
        QVERIFY(overlayItem->isEnabled() && overlayItem->isChecked());
        QCOMPARE(overlay->size(), w.findChild<QWidget*>("pbMap")->size());
        QCOMPARE(listsOf(doc), before);
        QVERIFY(!doc.MapModified);

        // The View item hides and shows the regions while the review goes on.
        overlayItem->trigger();
        QVERIFY(!overlay->isVisible());
        overlayItem->trigger();
        QVERIFY(overlay->isVisible());

        bar->findChild<QPushButton*>("cmdDiscardRegions")->click();
        QVERIFY(!bar->isVisible() && !overlay->isVisible());
        QCOMPARE(listsOf(doc), before);
        QVERIFY(!doc.MapModified);
        QVERIFY(!QFile::exists(MapLifecycle::recoveryPath(map)));

        findRegions->trigger();
        const Pairs guessed = pairsOf(w.regionReview().lastGuess());
        QVERIFY(guessed != before);
        bar->findChild<QPushButton*>("cmdAcceptRegions")->click();
        QVERIFY(!bar->isVisible());
        QCOMPARE(listsOf(doc), guessed);
        QVERIFY(doc.MapModified);
        QVERIFY(QFile::exists(MapLifecycle::recoveryPath(map)));

        // The last regions can still be looked at after the review.
        overlayItem->setChecked(true);
        QVERIFY(overlay->isVisible());

        // Opening another map takes the regions of this one with it.
        doc.MapModified = false;
        w.lifecycle().openMapFile(home.file("maps/aelfheim.map"));
        QVERIFY(doc.MapFileTitle == "aelfheim.map");
        QVERIFY(!overlayItem->isEnabled());
        QVERIFY(!overlay->isVisible());
    }
};

QTEST_MAIN(RegionReviewTest)
#include "regionreview_test.moc"
