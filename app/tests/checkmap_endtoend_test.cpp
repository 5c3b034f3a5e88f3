// Tools > Check Map on the sample map after a few slips: a link drawn across the map, a link that
// lost its other half, a link to a province the picture does not have. The picture of the window
// taken on the way is what scripts/screenshots keeps.
#include "checkmapwindow.h"
#include "mainwindow.h"
#include "mapdocument.h"
#include "mapinput.h"
#include "maplifecycle.h"
#include "refdatafixture.h"

#include <QAction>
#include <QFile>
#include <QFrame>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>
#include <memory>

using namespace ts;

namespace {

void shoot(QWidget& w, const char* name) {
    QDir().mkpath(TESSARY_SCREENSHOT_DIR);
    w.grab().save(QStringLiteral(TESSARY_SCREENSHOT_DIR "/") + QLatin1String(name));
}

void dropLink(ProvinceDataType& p, int other) {
    for (std::int16_t& slot : p.Neighbours)
        if (slot == other) slot = -1;
}

void addLink(ProvinceDataType& p, int other) {
    *std::find_if(std::begin(p.Neighbours), std::end(p.Neighbours), [](std::int16_t n) { return n < 1; }) =
        static_cast<std::int16_t>(other);
}

} // namespace

class CheckMapEndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void findingsAreShownAndTheCertainOnesFixed() {
        TempFolder home;
        home.copyTreeFrom(TESSARY_PROGRAM_DIR);
        writeDefaultConfiguration(home);
        auto w = std::make_unique<MainWindow>();
        w->resize(1200, 800);
        w->show();
        QVERIFY(w->startUp(home.path()));
        const QString map = home.file("maps/aelfheim.map");
        w->lifecycle().openMapFile(map);
        MapDocument& doc = w->document();
        QCOMPARE(doc.ProvinceCount, std::int16_t{266});

        // 1 and 2 lie on one row 922 px apart, 678 across the edge of this wrapping map.
        QVERIFY(toggleNeighbourLink(doc, 1, 2));
        const int partner = doc.Provinces[3].Neighbours[0];
        QVERIFY(partner >= 1);
        dropLink(doc.Provinces[partner], 3);
        addLink(doc.Provinces[3], 400);
        addLink(doc.Provinces[400], 3);
        doc.MapModified = false;

        auto* item = w->findChild<QAction*>("mnuCheckMap");
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("Check Map"));
        item->trigger();
        auto* check = w->findChild<CheckMapWindow*>("frmCheckMap");
        QVERIFY(check && check->isVisible());
        QCOMPARE(check->windowTitle(), QStringLiteral("Check Map"));
        auto* list = check->findChild<QListWidget*>("lstFindings");
        auto* fix = check->findChild<QPushButton*>("cmdFix");
        const QStringList expected = {
            QStringLiteral("Province 3 (Salt Abyss) lists %1 as a neighbour, but %1 does not list 3").arg(partner),
            QStringLiteral("Province 3 (Salt Abyss) lists 400 as a neighbour, which is not on the picture"),
            QStringLiteral("Province 400 is in the map file, but the picture has 266 provinces"),
        };
        QStringList shown;
        for (int row = 0; row < list->count(); ++row)
            shown << list->item(row)->text();
        QVERIFY(shown.value(0).startsWith(QLatin1String("Province 1 ")) &&
                shown.value(0).endsWith(QLatin1String(" and province 2 are neighbours 678 px apart")));
        QCOMPARE(shown.mid(1), expected);

        // A double click chooses the province as the navigator would.
        QVERIFY(QTest::qWaitForWindowExposed(check));
        const QPoint at = list->visualItemRect(list->item(1)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(doc.CurProvince, std::int16_t{3});
        QVERIFY(w->findChild<QFrame*>("fraProvince")->isVisible());
        shoot(*check, "tessary-check-map.png");

        list->setCurrentRow(0);
        QVERIFY(!fix->isEnabled());
        list->setCurrentRow(1);
        QVERIFY(fix->isEnabled());
        QTest::mouseClick(fix, Qt::LeftButton);
        QCOMPARE(std::count(std::begin(doc.Provinces[partner].Neighbours), std::end(doc.Provinces[partner].Neighbours), 3), 1);
        QVERIFY(doc.MapModified);
        QVERIFY(QFile::exists(MapLifecycle::recoveryPath(map)));
        QCOMPARE(list->count(), 3);

        // The dropped link takes the province beyond the picture out of the file with it.
        list->setCurrentRow(1);
        QTest::mouseClick(fix, Qt::LeftButton);
        QCOMPARE(list->count(), 1);
        QVERIFY(!fix->isEnabled());
        QCOMPARE(std::count(std::begin(doc.Provinces[3].Neighbours), std::end(doc.Provinces[3].Neighbours), 400), 0);

        QTest::mouseClick(check->findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
        QVERIFY(!check->isVisible());
    }
};

QTEST_MAIN(CheckMapEndToEndTest)
#include "checkmap_endtoend_test.moc"
