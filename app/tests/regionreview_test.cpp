#include "editorfixture.h"
#include "regionguess.h"
#include "regionoverlay.h"
#include "regionreview.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
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

Pairs pairsOf(const std::vector<RegionPair>& list) {
    Pairs pairs;
    for (const RegionPair& p : list)
        pairs.insert({p.a, p.b});
    return pairs;
}

// The first reviewed pair of the given change whose line can be clicked on its own.
int clickablePair(RegionReview& review, NeighbourReview::Change change) {
    const auto& pairs = review.review().pairs();
    for (std::size_t i = 0; i < pairs.size(); ++i)
        if (NeighbourReview::change(pairs[i]) == change &&
            review.overlay().pairAt(review.overlay().pairMiddle(i)) == static_cast<int>(i))
            return static_cast<int>(i);
    return -1;
}

} // namespace

class RegionReviewTest : public QObject {
    Q_OBJECT

private slots:
    void theReviewShowsTheChangesAndTakesThemAsOneUndoStep() {
        Editor e;
        e.map = e.home.file("maps/aelfheim_painted.map");
        QVERIFY(e.open());
        MainWindow& w = *e.w;
        QCOMPARE(w.size(), QSize(1400, 900)); // the window as it first opens
        MapDocument& doc = w.document();
        const Pairs before = listsOf(doc);
        QVERIFY(!before.empty());
        // The floating tools stand where the bar will be, and the navigator is open.
        for (const char* tool : {"mnuTerrainTool", "mnuBarTool"})
            if (!e.get<QAction>(tool)->isChecked()) e.get<QAction>(tool)->trigger();
        auto* area = e.get<QWidget>("picMapArea");
        for (const char* tool : {"fraTerrainTool", "fraBarTool"})
            e.get<QWidget>(tool)->move(300, area->height() - 60);
        if (!e.get<QAction>("mnuNavigator")->isChecked()) e.get<QAction>("mnuNavigator")->trigger();

        e.get<QAction>("mnuFindNeighborsRegions")->trigger();
        RegionReview& review = w.regionReview();
        auto* bar = e.get<QWidget>("fraRegionReview");
        auto* text = e.get<QLabel>("lblRegionReview");
        auto* keep = e.get<QCheckBox>("chkKeepNeighbours");
        QVERIFY(bar->isVisible() && review.reviewing());
        QCOMPARE(listsOf(doc), before); // nothing is taken yet
        QVERIFY(!doc.MapModified);

        // The bar lies in the map area beside the navigator, above the tools, its text whole.
        QVERIFY(area->rect().contains(bar->geometry()));
        QVERIFY(!bar->geometry().intersects(e.get<QWidget>("fraNavigator")->geometry()));
        for (const char* tool : {"fraTerrainTool", "fraBarTool"}) {
            QWidget* panel = e.get<QWidget>(tool);
            panel->raise(); // as a click on the tool does
            QTest::qWait(10);
            const QRect overlap = panel->geometry() & bar->geometry();
            QVERIFY(!overlap.isEmpty());
            QWidget* top = area->childAt(overlap.center());
            QVERIFY(top == bar || bar->isAncestorOf(top));
        }
        QVERIFY(text->heightForWidth(text->width()) <= text->height());
        QVERIFY(keep->isChecked()); // the map has lists of its own

        auto shows = [&](const NeighbourReview::Counts& c) {
            return text->text().contains(QStringLiteral("add %1 pairs").arg(c.added)) &&
                   text->text().contains(QStringLiteral("drop %1 ").arg(c.dropped)) &&
                   text->text().contains(QStringLiteral("%1 stay").arg(c.kept));
        };
        const NeighbourReview::Counts first = review.review().counts();
        QVERIFY(first.added > 0);
        QCOMPARE(first.dropped, 0); // kept, every one of them
        QCOMPARE(first.kept, static_cast<int>(before.size()));
        QVERIFY(shows(first));

        // Without the lists' own pairs, those the guess did not find would go.
        keep->click();
        const NeighbourReview::Counts unkept = review.review().counts();
        QVERIFY(unkept.dropped > 0);
        QCOMPARE(unkept.dropped + unkept.kept, first.kept);
        QVERIFY(shows(unkept));

        // A click on a line switches its pair: an addition is turned down, a drop is kept.
        for (const auto change : {NeighbourReview::Change::Add, NeighbourReview::Change::Drop}) {
            const int pair = clickablePair(review, change);
            QVERIFY(pair >= 0);
            QTest::mouseClick(&w.mapView(), Qt::LeftButton, Qt::NoModifier,
                              review.overlay().pairMiddle(static_cast<std::size_t>(pair)).toPoint());
            QVERIFY(NeighbourReview::change(review.review().pairs()[static_cast<std::size_t>(pair)]) != change);
        }
        const NeighbourReview::Counts switched = review.review().counts();
        QCOMPARE(switched.added, unkept.added - 1);
        QCOMPARE(switched.dropped, unkept.dropped - 1);
        QVERIFY(shows(switched));
        QCOMPARE(listsOf(doc), before);
#ifdef TESSARY_SCREENSHOT_DIR
        shoot(w, "tessary-region-review.png");
#endif

        const Pairs reviewed = pairsOf(review.review().result());
        e.get<QPushButton>("cmdAcceptRegions")->click();
        QVERIFY(!bar->isVisible() && !review.reviewing());
        QCOMPARE(listsOf(doc), reviewed);
        QVERIFY(doc.MapModified);
        e.get<QAction>("mnuUndo")->trigger();
        QCOMPARE(listsOf(doc), before);
        e.get<QAction>("mnuRedo")->trigger();
        QCOMPARE(listsOf(doc), reviewed);

        // Discard leaves the lists; the regions of the last guess can still be looked at.
        e.get<QAction>("mnuFindNeighborsRegions")->trigger();
        e.get<QPushButton>("cmdDiscardRegions")->click();
        QCOMPARE(listsOf(doc), reviewed);
        auto* overlayItem = e.get<QAction>("mnuRegionOverlay");
        auto* overlay = e.get<QWidget>("picRegionOverlay");
        QVERIFY(!overlay->isVisible() && overlayItem->isEnabled());
        overlayItem->setChecked(true);
        QVERIFY(overlay->isVisible());
        QCOMPARE(overlay->size(), w.mapView().size());

        // The exact guess takes its lists at once, as it always did.
        e.get<QAction>("mnuFindNeighbors")->trigger();
        QVERIFY(!bar->isVisible());
        QVERIFY(listsOf(doc) != reviewed);

        // Opening another map takes the regions of this one with it.
        doc.MapModified = false;
        w.lifecycle().openMapFile(e.home.file("maps/aelfheim.map"));
        QVERIFY(!overlayItem->isEnabled());
        QVERIFY(!overlay->isVisible());
    }
};

QTEST_MAIN(RegionReviewTest)
#include "regionreview_test.moc"
