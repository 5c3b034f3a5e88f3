#include "checkmapwindow.h"
#include "mapdocument.h"
#include "referencedata.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>
#include <memory>

using namespace ts;

namespace {

// Four provinces: 1-2 and 2-3 linked both ways, 1 lists 3 alone, 4 has no neighbour.
struct SmallMap {
    std::unique_ptr<MapDocument> doc = std::make_unique<MapDocument>();
    std::unique_ptr<ReferenceData> ref = std::make_unique<ReferenceData>();
    std::vector<int> shown;
    CheckMapWindow window;

    SmallMap() {
        doc->ProvinceCount = 4;
        for (int p = 1; p <= 4; ++p)
            doc->Provinces[p].ProvinceX = doc->Provinces[p].ProvinceY = 50 * p;
        const std::int16_t lists[][3] = {{2, 3, -1}, {1, 3, -1}, {2, -1, -1}, {-1, -1, -1}};
        for (int p = 1; p <= 4; ++p)
            std::copy(std::begin(lists[p - 1]), std::end(lists[p - 1]), doc->Provinces[p].Neighbours);
        window.check = [this] { return CheckMap(*doc, *ref, QSize(400, 400)); };
        window.showProvince = [this](int province) { shown.push_back(province); };
        window.applyFix = [this](const MapFinding& f) { FixFinding(*doc, f); };
        window.checkAgain();
        window.show();
    }
    QListWidget* list() { return window.findChild<QListWidget*>("lstFindings"); }
    QPushButton* fix() { return window.findChild<QPushButton*>("cmdFix"); }
};

} // namespace

class CheckMapWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void listsTheFindings() {
        SmallMap map;
        QCOMPARE(map.window.objectName(), QStringLiteral("frmCheckMap"));
        QCOMPARE(map.window.windowTitle(), QStringLiteral("Check Map"));
        QVERIFY(map.list() && map.fix() && map.window.findChild<QPushButton*>("cmdCheckAgain") &&
                map.window.findChild<QPushButton*>("cmdClose"));
        QCOMPARE(map.list()->count(), 2);
        QCOMPARE(map.window.findChild<QLabel*>("lblFindings")->text(), QStringLiteral("2 findings"));
        QCOMPARE(map.list()->item(0)->text(), QStringLiteral("Province 1 lists 3 as a neighbour, but 3 does not list 1"));
        QCOMPARE(map.list()->item(1)->text(), QStringLiteral("Province 4 has no neighbour"));
    }

    void fixIsOfferedOnlyWhereTheFixIsCertain_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("one-sided link") << 0 << true;
        QTest::newRow("no neighbour") << 1 << false;
    }
    void fixIsOfferedOnlyWhereTheFixIsCertain() {
        QFETCH(int, row);
        QFETCH(bool, enabled);
        SmallMap map;
        map.list()->setCurrentRow(row);
        QCOMPARE(map.fix()->isEnabled(), enabled);
    }

    void doubleClickShowsTheProvince() {
        SmallMap map;
        QListWidget* list = map.list();
        QVERIFY(QTest::qWaitForWindowExposed(&map.window));
        const QRect row = list->visualItemRect(list->item(1));
        // A double click arrives after the click of its first press.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(map.shown, std::vector<int>{4});
    }

    void fixMendsTheMapAndTheListIsCheckedAgain() {
        SmallMap map;
        map.list()->setCurrentRow(0);
        QTest::mouseClick(map.fix(), Qt::LeftButton);
        QCOMPARE(map.doc->Provinces[3].Neighbours[1], std::int16_t{1});
        QCOMPARE(map.list()->count(), 1);
        QCOMPARE(map.list()->item(0)->text(), QStringLiteral("Province 4 has no neighbour"));
        QCOMPARE(map.window.findChild<QLabel*>("lblFindings")->text(), QStringLiteral("1 finding"));
        QVERIFY(!map.fix()->isEnabled());
        QVERIFY(map.shown.empty());
    }

    void comingBackToTheWindowChecksAgain() {
        SmallMap map;
        QWidget elsewhere;
        elsewhere.show();
        elsewhere.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
        map.doc->Provinces[4].Neighbours[0] = 2;
        map.doc->Provinces[2].Neighbours[2] = 4;
        QCOMPARE(map.list()->count(), 2);
        map.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&map.window));
        QCOMPARE(map.list()->count(), 1);
    }
};

QTEST_MAIN(CheckMapWindowTest)
#include "checkmapwindow_test.moc"
