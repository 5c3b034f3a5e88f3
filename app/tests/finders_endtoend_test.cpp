// The finders as a map maker meets them from the Tools menu with the sample map open: narrowing the
// unit table to a few units and picking one, choosing a site and browsing the items. The pictures
// taken on the way are what scripts/screenshots keeps.
#include "finderwiring.h"
#include "itemfinder.h"
#include "mainwindow.h"
#include "mapdocument.h"
#include "maplifecycle.h"
#include "refdatafixture.h"
#include "referencedata.h"
#include "sitefinder.h"
#include "tempfolder.h"
#include "unitfinder.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include <memory>

using namespace ts;

namespace {

void shoot(QWidget& w, const char* name) {
    QDir().mkpath(TESSARY_SCREENSHOT_DIR);
    w.grab().save(QStringLiteral(TESSARY_SCREENSHOT_DIR "/") + QLatin1String(name));
}

template <typename T>
T* child(QWidget& w, const char* name) {
    T* found = w.findChild<T*>(QString::fromLatin1(name));
    if (!found) qFatal("no child %s", name);
    return found;
}

void tick(QWidget& w, const char* box) { QTest::mouseClick(child<QCheckBox>(w, box), Qt::LeftButton, {}, QPoint(6, 6)); }
void press(QWidget& w, const char* button) { QTest::mouseClick(child<QPushButton>(w, button), Qt::LeftButton); }
// Moves a list's choice down by steps, as the arrow keys do.
void down(QWidget& w, const char* list, int steps) {
    QComboBox* box = child<QComboBox>(w, list);
    box->setFocus();
    for (int i = 0; i < steps; ++i) QTest::keyClick(box, Qt::Key_Down);
}

} // namespace

class FindersEndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void browseTheFindersFromTheToolsMenu() {
        TempFolder home;
        home.copyTreeFrom(TESSARY_PROGRAM_DIR);
        writeDefaultConfiguration(home);
        QFile::remove(home.file("Tessary.recent"));

        auto w = std::make_unique<MainWindow>();
        w->resize(1400, 900);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QVERIFY(w->startUp(home.path()));
        QVERIFY(w->finders());
        w->lifecycle().openMapFile(home.file("maps/aelfheim.map"));
        QVERIFY(w->document().ProvinceCount > 200);

        // Units: the size 6 units that are no heroes, and the first of them (past "None").
        w->findChild<QAction*>("mnuUnitFinder")->trigger();
        UnitFinder& units = w->finders()->unitFinder();
        QVERIFY(QTest::qWaitForWindowExposed(&units));
        tick(units, "chkUSize");
        down(units, "cboUSize", 5);
        tick(units, "chkUHero");
        press(units, "cmdUApplyFilters");
        QComboBox* found = child<QComboBox>(units, "cboUnitFound");
        QVERIFY(found->count() > 2);
        QVERIFY(found->count() < 30);
        down(units, "cboUnitFound", 2);
        const int unit = found->currentData().toInt();
        QCOMPARE(referenceData().UnitData[unit].size, std::int16_t(6));
        QTest::mouseClick(child<QLabel>(units, "lblUnitNumber"), Qt::LeftButton);
        QVERIFY(child<QLabel>(units, "lblUnitLink")->text().isEmpty()); // no reference address set
        shoot(units, "finder-unit.png");
        press(units, "cmdOk");
        QVERIFY(!units.isVisible());
        QCOMPARE(units.callerSlot()->property("tag").toString(), QString::number(unit));
        QCOMPARE(units.callerSlot()->toolTip(), found->itemText(found->findData(unit)));

        // Sites: those with Fire gems, the first of them (past "None").
        w->findChild<QAction*>("mnuSiteFinder")->trigger();
        SiteFinder& sites = w->finders()->siteFinder();
        QVERIFY(QTest::qWaitForWindowExposed(&sites));
        tick(sites, "chkSGems");
        press(sites, "cmdSApplyFilters");
        down(sites, "cboFeature", 2);
        const int site = sites.currentSite();
        QVERIFY(site >= 1);
        QVERIFY(referenceData().SiteData[site].gems[0] >= 1);
        shoot(sites, "finder-site.png");
        press(sites, "cmdOk");
        QCOMPARE(sites.callerSlot()->property("tag").toString(), QString::number(site));

        // Items: the helmets that are artifacts, looked at and left.
        w->findChild<QAction*>("mnuItemFinder")->trigger();
        ItemFinder& items = w->finders()->itemFinder();
        QVERIFY(QTest::qWaitForWindowExposed(&items));
        down(items, "cboItemCategory", 4);
        QCOMPARE(child<QComboBox>(items, "cboItemCategory")->currentText(), QStringLiteral("helm"));
        tick(items, "chkINoSpecial");
        down(items, "cboItem", 1);
        shoot(items, "finder-item.png");
        press(items, "cmdCancel");
        QVERIFY(!items.isVisible());
        QCOMPARE(items.callerSlot()->text(), QString());

        w->document().MapModified = false;
        QVERIFY(w->close());
    }
};

QTEST_MAIN(FindersEndToEndTest)
#include "finders_endtoend_test.moc"
