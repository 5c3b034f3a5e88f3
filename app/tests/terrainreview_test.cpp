#include "editorfixture.h"
#include "terrainreview.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

using namespace ts;

class TerrainReviewTest : public QObject {
    Q_OBJECT

private slots:
    void theReviewedGuessIsTakenAsOneStepWithTheSkippedProvincesLeftAlone() {
        Editor e;
        e.map = e.home.file("maps/aelfheim_painted.map");
        QVERIFY(e.open());
        MapDocument& doc = e.w->document();
        // The map maker has set the terrain of every province but the first forty.
        for (int n = 1; n <= 40; ++n) {
            ProvinceDataType& p = doc.Provinces[n];
            std::fill(std::begin(p.TerrainBit), std::end(p.TerrainBit), false);
            p.Terrain = -1;
            p.TerrainPlain = false;
        }
        const std::vector<std::int32_t> before = knownTerrain(doc);

        auto* guess = e.w->findChild<QAction*>("mnuGuessTerrain");
        QVERIFY(guess);
        QCOMPARE(guess->text(), QStringLiteral("Guess Terrain"));
        auto* bar = e.get<QWidget>("fraTerrainReview");
        auto* overlay = e.get<QWidget>("picTerrainOverlay");
        auto* proposal = e.get<QLabel>("lblTerrainProposal");
        TerrainReview& review = e.w->terrainReview();

        guess->trigger();
        QVERIFY(bar->isVisible() && overlay->isVisible());
        QCOMPARE(review.lastGuess().proposals.size(), std::size_t(40));
        QVERIFY(e.get<QLabel>("lblTerrainReview")->text().startsWith(QStringLiteral("Terrain for 40 provinces")));
        QCOMPARE(knownTerrain(doc), before);
        QVERIFY(!doc.MapModified);

        // The selected province's panel shows its proposal beside its terrain.
        e.rightClick(5);
        QVERIFY(proposal->isVisible());
        QVERIFY(proposal->text().startsWith(QStringLiteral("Guess: ")));
#ifdef TESSARY_SCREENSHOT_DIR
        shoot(*e.w, "tessary-terrain-review.png");
#endif

        // A left click skips a province and takes it again; skipped ones stay as they are.
        const ProvinceDataType& skip = doc.Provinces[5];
        const QPoint at(skip.ProvinceX, skip.ProvinceY);
        QTest::mouseClick(overlay, Qt::LeftButton, Qt::NoModifier, at);
        QVERIFY(!review.taken(5));
        QVERIFY(proposal->text().endsWith(QStringLiteral(", skipped")));
        QTest::mouseClick(overlay, Qt::LeftButton, Qt::NoModifier, at);
        QVERIFY(review.taken(5));
        QTest::mouseClick(overlay, Qt::LeftButton, Qt::NoModifier, at);

        e.get<QPushButton>("cmdAcceptTerrain")->click();
        QVERIFY(!bar->isVisible() && !overlay->isVisible() && !proposal->isVisible());
        QVERIFY(doc.MapModified);
        const std::vector<std::int32_t> after = knownTerrain(doc);
        QCOMPARE(after[4], -1);
        for (int n = 1; n <= doc.ProvinceCount; ++n) {
            const auto i = static_cast<std::size_t>(n) - 1;
            if (n > 40) QCOMPARE(after[i], before[i]);
            else if (n != 5) QVERIFY(after[i] >= 0);
        }

        // The whole guess is one step back.
        e.get<QAction>("mnuUndo")->trigger();
        QCOMPARE(knownTerrain(doc), before);
        e.get<QAction>("mnuRedo")->trigger();
        QCOMPARE(knownTerrain(doc), after);

        // Discarding leaves the map as it is.
        guess->trigger();
        QCOMPARE(review.lastGuess().proposals.size(), std::size_t(1));
        e.get<QPushButton>("cmdDiscardTerrain")->click();
        QVERIFY(!bar->isVisible());
        QCOMPARE(knownTerrain(doc), after);
    }
};

QTEST_MAIN(TerrainReviewTest)
#include "terrainreview_test.moc"
