// A map maker gives a province a commander through the unit finder, adds a unit stack and an item,
// moves the commander to another province with cut and paste, adds a site through the site finder
// and saves: the file holds it all. Each choice is made in the real finder window the slot opens.
// The screenshots taken on the way are what scripts/screenshots
// keeps.
#include "commanderpanels.h"
#include "cp1252.h"
#include "editorfixture.h"
#include "mainwindow.h"
#include "mapdocument.h"
#include "maplifecycle.h"
#include "mapreader.h"
#include "mapview.h"
#include "navigator.h"
#include "panelframes.h"
#include "paths.h"
#include "refdatafixture.h"
#include "referencedata.h"
#include "slotlabel.h"
#include "slotpictures.h"
#include "tempfolder.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QPushButton>

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QtTest>
#include <memory>

using namespace ts;

namespace {

// The first province from `from` on with no commander and no site, so what the test adds stands alone.
int emptyProvince(const MapDocument& doc, int from) {
    for (int p = from; p <= doc.ProvinceCount; ++p) {
        const ProvinceDataType& prov = doc.Provinces[p];
        bool sites = false;
        for (int s = 0; s < kSiteSlotsPerProvince; ++s)
            sites = sites || !prov.SiteName[s].empty() || !prov.KnownSiteName[s].empty();
        if (prov.CommanderCount == 0 && !prov.SpecStart && !sites && prov.Owner != 23) return p;
    }
    return -1;
}

// A unit of the tables that has its own sprite, so the pictures show something.
int unitWithPicture(const QString& folder, int from) {
    const ReferenceData& ref = referenceData();
    for (int u = from; u < kUnitSlots; ++u)
        if (!ref.UnitData[u].name.empty() && ref.UnitData[u].number == u &&
            !UnitPicturePath(folder, u).endsWith(QLatin1String("NOIMAGE.jpg")))
            return u;
    return -1;
}

} // namespace

class CommandersEndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void aCommanderWithTroopsAndAnItemIsMovedAndASiteAddedAndSaved() {
        Editor e;
        QVERIFY(e.open());
        MainWindow& w = *e.w;
        const TempFolder& home = e.home;
        const QString& map = e.map;
        MapDocument& doc = w.document();
        const ReferenceData& ref = referenceData();
        CommanderPanels& panels = w.commanderPanels();
        PanelFrames& frames = w.panelFrames();
        const auto label = [&](const char* name) { return frames.findChild<QLabel*>(QString::fromLatin1(name)); };

        // The finders, as the user's choice comes back from them.
        const int leader = unitWithPicture(home.path(), 1);
        const int troop = unitWithPicture(home.path(), leader + 1);
        int site = 1;
        while (site < kSiteSlots && ref.SiteData[site].name.empty()) ++site;
        QVERIFY(leader > 0 && troop > 0 && site < kSiteSlots);
        const auto unitName = [&](int u) { return fromCp1252(ref.UnitData[u].name); };
        // The real finder windows, opened by the slots: choose an entry of the list and press OK.
        const auto choose = [&](const char* window, const char* list, int value) {
            auto* finder = w.findChild<QWidget*>(QString::fromLatin1(window));
            QVERIFY(finder && finder->isVisible());
            auto* box = finder->findChild<QComboBox*>(QString::fromLatin1(list));
            QVERIFY(box);
            const int index = value < 0 ? 1 : box->findData(value);
            QVERIFY(index >= 1 && index < box->count());
            box->setCurrentIndex(index);
            QTest::mouseClick(finder->findChild<QPushButton*>(QStringLiteral("cmdOk")), Qt::LeftButton);
            QVERIFY(!finder->isVisible());
        };

        const int from = emptyProvince(doc, 2);
        const int to = emptyProvince(doc, from + 1);
        QVERIFY(from > 0 && to > 0);
        MapView& view = w.mapView();
        const auto pick = [&](int p) {
            QTest::mouseClick(&view, Qt::RightButton, Qt::NoModifier,
                              QPoint(doc.Provinces[p].ProvinceX, doc.Provinces[p].ProvinceY));
            QCOMPARE(int(doc.CurProvince), p);
        };
        pick(from);

        QTest::mouseDClick(label("imgCommander1"), Qt::LeftButton);
        choose("frmUnitFinder", "cboUnitFound", leader);
        QCOMPARE(doc.Provinces[from].Commanders[1].UnitIndex, std::int16_t(leader));
        QTest::mouseClick(label("imgCommander1"), Qt::LeftButton);
        QTest::mouseDClick(label("imgUnit0"), Qt::LeftButton);
        choose("frmUnitFinder", "cboUnitFound", troop);
        auto* count = frames.findChild<QLineEdit*>("txtUnit0");
        count->selectAll();
        count->setFocus();
        QTest::keyClicks(count, "12");
        QTest::keyClick(count, Qt::Key_Return);
        QTest::mouseClick(label("lblItem0"), Qt::LeftButton);
        const QString itemName = w.findChild<QWidget*>("frmItemFinder")->findChild<QComboBox*>("cboItem")->itemText(1);
        choose("frmItemFinder", "cboItem", -1); // the first item the unit's slots can hold
        const CommanderDataType& built = doc.Provinces[from].Commanders[1];
        QCOMPARE(built.UnitsCount[0], std::int16_t{12});
        QCOMPARE(fromCp1252(built.Items[0].view()), itemName);
        // A random name from the commander name files, committed like a typed one.
        QTest::mouseClick(frames.findChild<QAbstractButton*>("cmdRndName"), Qt::LeftButton);
        const QString randomName = frames.findChild<QLineEdit*>("txtCommanderName")->text();
        QVERIFY(!randomName.isEmpty());
        QCOMPARE(fromCp1252(doc.Provinces[from].Commanders[1].ComName.view()), randomName);
        shoot(*frames.frame("fraProvinceCommanders1"), "tessary-commanders.png");
        shoot(*frames.widget(), "tessary-commander-detail.png");

        // Cut through the slot menu, pasted into the other province.
        const auto menu = [&](const char* slot, int entry) {
            QTest::mouseClick(label(slot), Qt::RightButton);
            QVERIFY(panels.slotMenu().isVisible());
            QVERIFY(panels.menuEntry(entry)->isEnabled());
            panels.menuEntry(entry)->trigger();
            panels.slotMenu().close();
        };
        menu("imgCommander1", 0);
        pick(to);
        menu("imgCommander2", 2);
        QVERIFY(doc.Provinces[from].Commanders[1].UnitName.empty());
        QVERIFY(!w.navigator().node(std::to_string(from) + " COMMANDERS"));
        QCOMPARE(w.navigator().node(std::to_string(to) + " COM 2")->text(0), "2 " + unitName(leader));

        QTest::mouseClick(label("imgSite0"), Qt::LeftButton);
        choose("frmSiteFinder", "cboFeature", site);
        QCOMPARE(int(doc.Provinces[to].SiteIndex[0]), site);
        shoot(*frames.frame("fraSites"), "tessary-sites.png");
        shoot(w, "tessary-commander-moved.png");

        w.findChild<QAction*>("mnuSave")->trigger();
        QVERIFY(!doc.MapModified);

        auto back = std::make_unique<MapDocument>();
        back->MapFilePath = pathToText(map);
        back->MapFileTitle = "aelfheim.map";
        z_ReadMapFile(*back, ref, w, map);
        QVERIFY2(!back->MapErrorsFound, back->ErrorLog.c_str());
        const ProvinceDataType& moved = back->Provinces[to];
        QCOMPARE(moved.CommanderCount, std::int16_t{1});
        const CommanderDataType& c = moved.Commanders[1]; // the file keeps commanders in order
        QCOMPARE(c.UnitIndex, std::int16_t(leader));
        QCOMPARE(c.UnitsIndex[0], std::int16_t(troop));
        QCOMPARE(c.UnitsCount[0], std::int16_t{12});
        QCOMPARE(fromCp1252(c.Items[0].view()), itemName);
        QCOMPARE(int(moved.SiteIndex[0]), site);
        QCOMPARE(back->Provinces[from].CommanderCount, std::int16_t{0});
        QVERIFY(w.close());
    }
};

QTEST_MAIN(CommandersEndToEndTest)
#include "commanders_endtoend_test.moc"
