// The province panel as a user meets it: the sample map opened, a province picked with a right click,
// a name typed, terrain set with the map's keys, a fort chosen in the fort tool, the map saved and
// read back. The picture taken on the way is what scripts/screenshots keeps.
#include "cp1252.h"
#include "editorfixture.h"
#include "floatingpanels.h"
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
#include "settings.h"
#include "tempfolder.h"
#include "toolpanel.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>
#include <memory>

using namespace ts;

class ProvinceEndToEndTest : public QObject {
    Q_OBJECT

  private slots:
    void nameTerrainKeysAndFortSurviveTheSave() {
        Editor e;
        QVERIFY(e.open());
        MapDocument& doc = e.w->document();
        MapView& view = e.w->mapView();

        // A province with no forest, farm or fort of its own, so the edits show.
        int province = 0;
        for (int p = 1; p <= doc.ProvinceCount && !province; ++p) {
            const ProvinceDataType& q = doc.Provinces[p];
            if (!q.TerrainBit[7] && !q.TerrainBit[8] && !q.TerrainBit[2] && q.Fort < 1 && !q.SpecStart)
                province = p;
        }
        QVERIFY(province > 0);
        e.rightClick(province);
        QCOMPARE(int(doc.CurProvince), province);
        QVERIFY(e.get<QFrame>("fraProvince")->isVisible());
        QCOMPARE(e.get<QLabel>("lblProvinceNumber")->text(), QString::number(province));

        auto* name = e.get<QLineEdit>("txtLandName");
        name->setFocus();
        name->selectAll();
        QTest::keyClicks(name, "Brightwater Vale");
        QCOMPARE(fromCp1252(doc.Provinces[province].LandName.view()), QStringLiteral("Brightwater Vale"));
        QCOMPARE(e.w->navigator().node(std::to_string(province) + " PROV")->text(0),
                 QString::number(province) + " Brightwater Vale");
        QVERIFY(doc.MapModified);
        QVERIFY(QFile::exists(MapLifecycle::recoveryPath(e.map)));

        view.setFocus();
        QTest::keyClick(&view, 'f');
        QTest::keyClick(&view, 'a');
        QVERIFY(doc.Provinces[province].TerrainBit[7] && doc.Provinces[province].TerrainBit[8]);
        QVERIFY(e.get<QCheckBox>("chkTerrain8")->isChecked());
        // A small m is the mountain key, a capital M the map header.
        QTest::keyClick(&view, 'm');
        QVERIFY(doc.Provinces[province].TerrainBit[4]);
        QTest::keyClick(&view, 'm');
        QVERIFY(!doc.Provinces[province].TerrainBit[4]);
        QCOMPARE(int(doc.CurProvince), province);

        settings().TerrainToolLeft = 270;
        settings().TerrainToolTop = 40;
        settings().FortToolLeft = 270;
        settings().FortToolTop = 420;
        e.w->findChild<QAction*>("mnuTerrainTool")->trigger();
        QTest::mouseClick(e.get<QWidget>("imgFort"), Qt::LeftButton);
        QVERIFY(e.w->toolPanels().fortTool()->isVisible());
        auto* forts = e.get<QListWidget>("lstForts");
        QListWidgetItem* fort = forts->item(3);
        QTest::mouseClick(forts->viewport(), Qt::LeftButton, Qt::NoModifier,
                          forts->visualItemRect(fort).center());
        const int fortNumber = fort->data(Qt::UserRole).toInt();
        QCOMPARE(int(doc.Provinces[province].Fort), fortNumber);
        QVERIFY(e.w->navigator().node(std::to_string(province) + " FORT"));
        QCoreApplication::processEvents();
        shoot(*e.w, "tessary-province.png");

        e.w->findChild<QAction*>("mnuSave")->trigger();
        QVERIFY(!doc.MapModified);
        const auto back = e.readBack();
        QVERIFY2(!back->MapErrorsFound, back->ErrorLog.c_str());
        const ProvinceDataType& saved = back->Provinces[province];
        QCOMPARE(saved.LandName.str(), std::string("Brightwater Vale"));
        QVERIFY(saved.TerrainBit[7] && saved.TerrainBit[8] && !saved.TerrainBit[4]);
        QCOMPARE(int(saved.Fort), fortNumber);
        e.w->close();
    }

    void everyPanelEditIsSavedAndReadBack() {
        Editor e;
        QVERIFY(e.open());
        MapDocument& doc = e.w->document();
        int province = 0;
        for (int p = 1; p <= doc.ProvinceCount && !province; ++p)
            if (!doc.Provinces[p].SpecStart && doc.Provinces[p].Owner < 0) province = p;
        e.rightClick(province);
        const auto type = [&e](const char* box, const char* text) {
            auto* b = e.get<QLineEdit>(box);
            b->setFocus();
            b->setText(QString::fromLatin1(text));
            b->clearFocus();
        };
        type("txtPopulation", "60000");
        type("txtUnrest", "45");
        type("txtDefence", "12");
        type("txtSkyBox", "./storm.tga");
        type("txtBattleMap", "empty");
        type("txtVictoryPointValue", "4");
        auto* pop = e.get<QComboBox>("cboPopType");
        pop->setCurrentIndex(pop->findData(30));
        QTest::mouseClick(e.get<QWidget>("imgLab"), Qt::LeftButton);
        QTest::mouseClick(e.get<QWidget>("imgTemple"), Qt::LeftButton);
        QTest::mouseClick(e.get<QWidget>("lblRock"), Qt::RightButton);
        e.get<QCheckBox>("chkSiteTerrain3")->click();
        e.get<QCheckBox>("chkTSmall")->click();
        auto* owner = e.get<QComboBox>("cboOwner");
        owner->setCurrentIndex(owner->findData(7));
        Q_EMIT owner->activated(owner->currentIndex());
        QVERIFY(e.get<QRadioButton>("optStart1")->isChecked());
        auto* condition = e.get<QComboBox>("cboVictoryCondition");
        for (int index : {0, 2}) { // "Standard" empties the value, "Dominion" then starts it at 1
            condition->setCurrentIndex(index);
            Q_EMIT condition->activated(index);
        }
        QCOMPARE(e.get<QLineEdit>("txtVictoryPoints")->text(), QStringLiteral("1"));

        e.w->findChild<QAction*>("mnuSave")->trigger();
        const auto back = e.readBack();
        QVERIFY2(!back->MapErrorsFound, back->ErrorLog.c_str());
        const ProvinceDataType& p = back->Provinces[province];
        QCOMPARE(p.Population, 50000);
        QCOMPARE(int(p.Unrest), 45);
        QCOMPARE(int(p.Defence), 12);
        QCOMPARE(p.SkyBox.str(), std::string("./storm.tga"));
        QCOMPARE(p.BatMap.str(), std::string("empty"));
        QCOMPARE(int(p.VictoryPoints), 4);
        QCOMPARE(int(p.PopType), 30);
        QVERIFY(p.Lab && p.Temple);
        QCOMPARE(int(p.RockCol[0]), -1);
        QVERIFY(p.TerrainBit[15] && p.TerrainBit[0] && p.NoStart);
        QCOMPARE(int(p.Owner), 7);
        QCOMPARE(int(back->VictoryConditionType), 2);
        QCOMPARE(int(back->VictoryConditionValue), 1);
        e.w->close();
    }

    // Every key of the map, sent to the map view as the keyboard sends it; the bits and panels are
    // the file format's and the menu's, written out here rather than read from the code.
    void everyMapKeyActsByTheCharacterTypedAndOnlyOnTheMap() {
        Editor e;
        QVERIFY(e.open());
        MapDocument& doc = e.w->document();
        MapView& view = e.w->mapView();
        int province = 0, withCommander = 0;
        for (int p = 1; p <= doc.ProvinceCount; ++p) {
            const ProvinceDataType& q = doc.Provinces[p];
            if (!province && !q.SpecStart && !q.TerrainBit[0] && !q.TerrainBit[1]) province = p;
            if (!withCommander && !q.SpecStart && !q.Commanders[1].UnitName.empty() && q.Commanders[9].UnitName.empty())
                withCommander = p;
        }
        QVERIFY(province > 0 && withCommander > 0);
        e.rightClick(province);
        const ProvinceDataType& p = doc.Provinces[province];
        const struct {
            char typed;
            int bit;
        } terrain[] = {{'1', 0}, {'2', 1}, {'d', 11}, {'r', 3},  {'m', 4}, {'b', 22}, {'c', 12},
                       {'s', 5}, {'w', 6}, {'f', 7},  {'a', 8}, {'n', 9}, {'y', 10}};
        for (const auto& k : terrain) {
            const bool before = p.TerrainBit[k.bit];
            view.setFocus();
            QTest::keyClick(&view, k.typed);
            QVERIFY2(p.TerrainBit[k.bit] != before, std::string(1, k.typed).c_str());
            QTest::keyClick(&view, k.typed);
            QVERIFY2(p.TerrainBit[k.bit] == before, std::string(1, k.typed).c_str());
        }

        // The capitals, typed with Shift or with Caps Lock (a capital without Shift), and elsewhere.
        const std::pair<char, const char*> panels[] = {
            {'M', "MAP"}, {'A', "ALLOWEDNATIONS"}, {'G', "GODSANDNATIONS"}, {'P', "PROVINCES"}};
        for (const auto& [typed, node] : panels) {
            for (const Qt::KeyboardModifiers how : {Qt::KeyboardModifiers(Qt::ShiftModifier), Qt::KeyboardModifiers()}) {
                e.rightClick(province);
                view.setFocus();
                QTest::keyClick(&view, typed, how);
                QCOMPARE(e.w->navigator().currentItem(), e.w->navigator().node(node));
            }
            e.rightClick(province);
            auto* box = e.get<QCheckBox>("chkTSmall");
            box->setFocus();
            QTest::keyClick(box, typed, Qt::ShiftModifier);
            QCOMPARE(e.w->navigator().currentItem(), e.w->navigator().node(std::to_string(province) + " PROV"));
        }

        // Ctrl+C, Ctrl+V and Del through the map's own keys, on the commander slot picked last.
        e.rightClick(withCommander);
        const ProvinceDataType& q = doc.Provinces[withCommander];
        QTest::mouseClick(e.get<QLabel>("imgCommander1"), Qt::LeftButton);
        view.setFocus();
        QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
        QTest::mouseClick(e.get<QLabel>("imgCommander9"), Qt::LeftButton);
        view.setFocus();
        QTest::keyClick(&view, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(q.Commanders[9].UnitName.str(), q.Commanders[1].UnitName.str());
        QTest::keyClick(&view, Qt::Key_Delete);
        QVERIFY(q.Commanders[9].UnitName.empty());
        QVERIFY(!q.Commanders[1].UnitName.empty());
    }

    void helpKeysAndTheItemsThatDoNothing() {
        Editor e;
        QVERIFY(e.open());
        MapDocument& doc = e.w->document();
        e.rightClick(12);
        doc.MapModified = false;

        e.w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(e.w.get()));
        e.w->mapView().setFocus();
        QTest::keyClick(&e.w->mapView(), Qt::Key_F1);
        auto* help = e.w->findChild<QDialog*>("frmHelp");
        QVERIFY(help && help->isVisible());
        auto* mapKeys = help->findChild<QTableWidget*>("lstMapKeys");
        auto* editKeys = help->findChild<QTableWidget*>("lstEditingKeys");
        QVERIFY(mapKeys && editKeys);
        QStringList keys;
        for (int r = 0; r < editKeys->rowCount(); ++r)
            keys << editKeys->item(r, 0)->text();
        for (const char* k : {"1", "2", "d", "r",       "m",  "b",  "c",  "s",      "w",      "f",
                              "a", "n", "y", "Shift+R", "F2", "F3", "F4", "Ctrl+C", "Ctrl+V", "Del", "Ctrl+Z", "Ctrl+Y"})
            QVERIFY2(keys.contains(QLatin1String(k)), k);
        help->hide();

        // The province tools and the local help have their own tests; Online Help has nowhere to go.
        QAction* online = e.w->findChild<QAction*>("mnuOnlineHelp");
        QVERIFY(online);
        online->trigger();
        QVERIFY(!doc.MapModified);
        QCOMPARE(int(doc.CurProvince), 12);

        e.w->mapView().setFocus();
        QTest::keyClick(&e.w->mapView(), 'M', Qt::ShiftModifier);
        QVERIFY(e.get<QFrame>("fraMap")->isVisible());
        QVERIFY(!e.get<QFrame>("fraProvince")->isVisible());
        QTest::keyClick(&e.w->mapView(), 'P', Qt::ShiftModifier);
        QVERIFY(e.get<QFrame>("fraProvince")->isVisible());
        // With no province chosen the terrain keys change nothing.
        QTest::keyClick(&e.w->mapView(), 'f');
        QVERIFY(!doc.MapModified);
        e.w->close();
    }
};

QTEST_MAIN(ProvinceEndToEndTest)
#include "provinceendtoend_test.moc"
