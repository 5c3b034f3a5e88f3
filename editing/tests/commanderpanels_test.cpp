// The commander strip, detail and sites panels as the user works them, with the finders played by
// writing into the slot the way they hand a choice back.
#include "commanderdetail.h"
#include "commandermap.h"
#include "commanderpanels.h"
#include "commanderstrip.h"
#include "fakeuserinterface.h"
#include "mapparser.h"
#include "mapreader.h"
#include "mapwriter.h"
#include "navigator.h"
#include "panelframes.h"
#include "sitespanel.h"
#include "slotlabel.h"
#include "tempfolder.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QtTest>

using namespace ts;

namespace {

// The window around the panels: the navigator, the frames and the panels wired as the main window does.
struct Editor {
    editingtest::CommanderMap map;
    MapDocument& doc = *map.doc;
    FakeUserInterface ui;
    QString folder;
    PanelFrames frames;
    Navigator nav{*map.doc, *map.ref};
    CommanderPanels panels{*map.doc, *map.ref, ui, nav, frames, folder};
    std::vector<QLabel*> unitFinder, siteFinder;
    std::vector<std::pair<QLabel*, int>> itemFinder;

    Editor() {
        nav.model().hooks.showPanel = [this](Panel panel, int p, int c, int n) { frames.ShowPanel(panel, p, c, n); };
        panels.openUnitFinder = [this](QLabel* slot) { unitFinder.push_back(slot); };
        panels.openSiteFinder = [this](QLabel* slot) { siteFinder.push_back(slot); };
        panels.openItemFinder = [this](QLabel* label, int unit) { itemFinder.emplace_back(label, unit); };
        nav.BuildNavigator();
        frames.resize(420, 900);
        frames.show();
    }
    template <typename T>
    T* find(const QString& name) {
        T* w = frames.findChild<T*>(name);
        if (!w) qWarning("no control %s", qPrintable(name));
        return w;
    }
    QLabel* label(const QString& name) { return find<QLabel>(name); }
    // The finder's OK: number, name and picture into the slot, then its hand-back.
    void chooseUnit(QLabel* slot, int unit, const char* name) {
        setSlot(slot, QString::number(unit), QString::fromLatin1(name), QString());
        panels.handBack(slot);
    }
    void rightClickAndChoose(QLabel* slot, int entry) {
        QTest::mouseClick(slot, Qt::RightButton);
        QVERIFY(panels.slotMenu().isVisible());
        QVERIFY(panels.menuEntry(entry)->isEnabled());
        panels.menuEntry(entry)->trigger();
        panels.slotMenu().close();
    }
};

std::string text(const Text& t) { return t.str(); }

} // namespace

class CommanderPanelsTest : public QObject {
    Q_OBJECT

private slots:
    void theStripShowsAndPicksSlotsAndTakesTheUnitFindersChoice() {
        Editor e;
        e.nav.NodeClick("5 PROV");
        QLabel* warlord = e.label("imgCommander3");
        QCOMPARE(slotTag(warlord), QStringLiteral("12"));
        QCOMPARE(warlord->toolTip(), QStringLiteral("Warlord"));
        QCOMPARE(slotTag(e.label("imgCommander0")), QStringLiteral("-1"));

        QTest::mouseClick(warlord, Qt::LeftButton);
        QCOMPARE(int(e.doc.CurCommander), 3);
        QCOMPARE(e.nav.currentItem(), e.nav.node("5 COM 3"));
        QVERIFY(warlord->property("selected").toBool());
        QCOMPARE(e.find<QLineEdit>("txtCommanderName")->text(), QStringLiteral("Aldo"));
        QCOMPARE(e.find<QLineEdit>("txtAML")->text(), QStringLiteral("2"));
        QCOMPARE(e.find<QLineEdit>("txtFML")->text(), QString()); // level 0 shows nothing
        QCOMPARE(e.find<QLineEdit>("txtUnit0")->text(), QStringLiteral("10"));
        QCOMPARE(e.label("lblItem0")->text(), QStringLiteral("Sword"));
        // The description box tells of the commander's unit, then of the stack picked.
        const auto described = [&e] {
            return e.find<QPlainTextEdit>("txtCommanderDescription")->toPlainText().section(QLatin1Char('\n'), 0, 0);
        };
        QCOMPARE(described(), QStringLiteral("Unit# 12"));
        QTest::mouseClick(e.label("imgBodyGuard0"), Qt::LeftButton);
        QCOMPARE(described(), QStringLiteral("Unit# 20"));
        QTest::mouseClick(e.label("imgUnit0"), Qt::LeftButton);
        QCOMPARE(described(), QStringLiteral("Unit# 21"));
        QTest::mouseClick(e.label("imgUnit4"), Qt::LeftButton); // an empty stack
        QCOMPARE(described(), QString());

        QTest::mouseDClick(e.label("imgCommander0"), Qt::LeftButton); // reserved for a god
        QVERIFY(e.unitFinder.empty());
        QCOMPARE(e.ui.beeps, 1);
        QTest::mouseDClick(e.label("imgCommander7"), Qt::LeftButton);
        QCOMPARE(e.unitFinder, std::vector<QLabel*>{e.label("imgCommander7")});
        e.chooseUnit(e.label("imgCommander7"), 13, "Sorceress");
        QCOMPARE(text(e.doc.Provinces[5].Commanders[7].UnitName), std::string("Sorceress"));
        QCOMPARE(e.doc.Provinces[5].CommanderCount, std::int16_t{2});
        QCOMPARE(e.nav.node("5 COM 7")->text(0), QStringLiteral("7 Sorceress"));
        QVERIFY(e.doc.MapModified);

        // A hand-back that arrives after another slot was picked still lands in its own slot.
        QTest::mouseDClick(e.label("imgCommander8"), Qt::LeftButton);
        QTest::mouseClick(warlord, Qt::LeftButton);
        e.chooseUnit(e.label("imgCommander8"), 12, "Warlord");
        QCOMPARE(e.doc.Provinces[5].Commanders[8].UnitIndex, std::int16_t{12});
        QCOMPARE(text(e.doc.Provinces[5].Commanders[3].UnitName), std::string("Warlord"));
    }

    void theDetailPanelChecksItsBoxesAndCommitsStacksAndItems() {
        Editor e;
        e.nav.NodeClick("5 COM 3");
        auto* fire = e.find<QLineEdit>("txtFML");
        fire->setFocus();
        QTest::keyClicks(fire, "15");
        QTest::keyClick(fire, Qt::Key_Return);
        QCOMPARE(fire->text(), QStringLiteral("10"));
        QCOMPARE(e.doc.Provinces[5].Commanders[3].MagFire, std::int16_t{10});
        auto* xp = e.find<QLineEdit>("txtXP");
        xp->setFocus();
        QTest::keyClicks(xp, "1000");
        QTest::keyClick(xp, Qt::Key_Return);
        QCOMPARE(e.doc.Provinces[5].Commanders[3].Xp, std::int16_t{900});

        // A double click on an empty unit stack asks for a unit; the choice becomes a stack of one.
        QTest::mouseDClick(e.label("imgUnit1"), Qt::LeftButton);
        QCOMPARE(int(e.doc.CurUnitSlot), 1);
        QCOMPARE(e.find<QLineEdit>("txtUnit1")->text(), QStringLiteral("0"));
        QCOMPARE(e.unitFinder.back(), e.label("imgUnit1"));
        e.chooseUnit(e.label("imgUnit1"), 21, "Archer");
        const CommanderDataType& c = e.doc.Provinces[5].Commanders[3];
        QCOMPARE(c.UnitsCount[1], std::int16_t{1});
        QCOMPARE(c.UnitsIndex[1], std::int16_t{21});
        QCOMPARE(e.find<QLineEdit>("txtUnit1")->text(), QStringLiteral("1"));

        // Items: the finder is told the commander's unit; a right click empties the item.
        QTest::mouseClick(e.label("lblItem2"), Qt::LeftButton);
        QCOMPARE(e.itemFinder.back(), (std::pair<QLabel*, int>{e.label("lblItem2"), 12}));
        e.label("lblItem2")->setText("Shield");
        e.panels.handBack(e.label("lblItem2"));
        QCOMPARE(text(c.Items[2]), std::string("Shield"));
        QTest::mouseClick(e.label("lblItem0"), Qt::RightButton);
        QVERIFY(c.Items[0].empty());

        e.panels.randomCommanderName = [] { return QStringLiteral("Brannoc"); };
        e.find<QWidget>("cmdRndName")->setFocus();
        QTest::mouseClick(e.find<QWidget>("cmdRndName"), Qt::LeftButton);
        QCOMPARE(text(c.ComName), std::string("Brannoc"));
    }

    void aNationShowsItsGodAndEditsGoToTheGodAndItsStartSlot() {
        Editor e;
        e.nav.NodeClick("10 NATION"); // no start: the god alone
        auto* name = e.find<QLineEdit>("txtCommanderName");
        QCOMPARE(name->text(), QString());
        name->setFocus();
        QTest::keyClicks(name, "Pale King");
        QTest::keyClick(name, Qt::Key_Return);
        QCOMPARE(text(e.doc.Nations[10].God.ComName), std::string("Pale King"));

        e.nav.NodeClick("5 NATION"); // with its start province 1
        QCOMPARE(name->text(), QStringLiteral("Old One"));
        QCOMPARE(e.find<QLineEdit>("txtFML")->text(), QStringLiteral("3"));
        auto* air = e.find<QLineEdit>("txtAML");
        air->setFocus();
        QTest::keyClicks(air, "4");
        QTest::keyClick(air, Qt::Key_Return);
        QCOMPARE(e.doc.Nations[5].God.MagAir, std::int16_t{4});
        QCOMPARE(e.doc.Provinces[1].Commanders[0].MagAir, std::int16_t{4});
        QCOMPARE(e.doc.Nations[10].God.MagAir, std::int16_t{0});
    }

    void theInsideCastleBoxOnlyForAMonsterFort() {
        Editor e;
        e.nav.NodeClick("5 COM 3");
        auto* inside = e.find<QCheckBox>("chkInsideFort");
        QVERIFY(inside->isHidden());
        e.doc.Provinces[5].Owner = 23;
        e.doc.Provinces[5].Fort = 2;
        e.nav.NodeClick("5 COM 3");
        QVERIFY(!inside->isHidden() && inside->isEnabled());
        QCOMPARE(e.label("lblInsideFort")->text(), QStringLiteral("OUTSIDE"));
        inside->click();
        QCOMPARE(e.label("lblInsideFort")->text(), QStringLiteral("INSIDE"));
        for (int s = 1; s < kCommanderSlots; ++s)
            QCOMPARE(e.doc.Provinces[5].Commanders[s].InsideCastle, s >= 3);
    }

    void theSlotMenuMovesACommanderAndTheMapKeysCopyAndDelete() {
        Editor e;
        e.nav.NodeClick("5 PROV");
        e.rightClickAndChoose(e.label("imgCommander3"), 0); // Cut
        e.nav.NodeClick("9 PROV");
        // Slot 0 of a province without a special start is refused, and nothing moves.
        QTest::mouseClick(e.label("imgCommander0"), Qt::RightButton);
        e.panels.menuEntry(2)->trigger();
        e.panels.slotMenu().close();
        QCOMPARE(e.ui.titles(), QStringList{"Reserved commander slot!"});
        e.rightClickAndChoose(e.label("imgCommander2"), 2); // Paste
        QCOMPARE(text(e.doc.Provinces[9].Commanders[2].UnitName), std::string("Warlord"));
        QVERIFY(e.doc.Provinces[5].Commanders[3].UnitName.empty());
        QVERIFY(!e.nav.node("5 COM 3"));
        QCOMPARE(e.nav.node("9 COM 2")->text(0), QStringLiteral("2 Warlord"));
        QCOMPARE(slotTag(e.label("imgCommander2")), QStringLiteral("12"));
        QTest::mouseClick(e.label("imgCommander4"), Qt::RightButton);
        QVERIFY(!e.panels.menuEntry(2)->isEnabled()); // the cut is used up
        QVERIFY(!e.panels.menuEntry(0)->isEnabled()); // an empty slot
        e.panels.slotMenu().close();

        // Ctrl+C and Ctrl+V and Del act on the slot picked last.
        QTest::mouseClick(e.label("imgCommander2"), Qt::LeftButton);
        QVERIFY(e.panels.mapKey(Qt::Key_C, Qt::ControlModifier));
        QTest::mouseClick(e.label("imgCommander5"), Qt::LeftButton);
        QVERIFY(e.panels.mapKey(Qt::Key_V, Qt::ControlModifier));
        QCOMPARE(text(e.doc.Provinces[9].Commanders[5].ComName), std::string("Aldo"));
        QVERIFY(e.panels.mapKey(Qt::Key_Delete, Qt::NoModifier));
        QVERIFY(e.doc.Provinces[9].Commanders[5].UnitName.empty());
        QCOMPARE(e.doc.Provinces[9].CommanderCount, std::int16_t{1});
        QVERIFY(!e.panels.mapKey(Qt::Key_D, Qt::NoModifier)); // not ours
    }

    void theSitesPanelTakesTheSiteFindersChoiceAndTheKnownBox() {
        Editor e;
        e.panels.sites().sitesSummaryText = [](const std::array<int, 4>& s) {
            return QStringLiteral("sites %1 %2 %3 %4").arg(s[0]).arg(s[1]).arg(s[2]).arg(s[3]);
        };
        e.nav.NodeClick("5 PROV");
        auto* description = e.find<QPlainTextEdit>("txtSiteDescription");
        QCOMPARE(description->toPlainText(), QStringLiteral("sites 100 -1 -1 -1"));
        QCOMPARE(e.label("lblSiteGem3")->text(), QStringLiteral("2"));
        QCOMPARE(slotTag(e.label("imgSiteRecruit0")), QStringLiteral("21"));

        QTest::mouseClick(e.label("imgSite1"), Qt::LeftButton);
        QCOMPARE(e.siteFinder.back(), e.label("imgSite1"));
        setSlot(e.label("imgSite1"), "101", "Fire Well", QString());
        e.panels.handBack(e.label("imgSite1"));
        QCOMPARE(text(e.doc.Provinces[5].SiteName[1]), std::string("Fire Well"));
        QCOMPARE(e.nav.node("5 SITE 1")->parent(), e.nav.node("5 SITES"));
        QCOMPARE(description->toPlainText(), QStringLiteral("sites 100 101 -1 -1"));
        QCOMPARE(e.label("lblSiteGem0")->text(), QStringLiteral("1"));
        QCOMPARE(slotTag(e.label("imgSiteSummon0")), QStringLiteral("13"));

        e.find<QCheckBox>("chkKnownFeature1")->click();
        QCOMPARE(text(e.doc.Provinces[5].KnownSiteName[1]), std::string("Fire Well"));
        QVERIFY(e.doc.Provinces[5].SiteName[1].empty());
        QVERIFY(e.nav.node("5 KNOWNSITE 1"));
        e.find<QCheckBox>("chkKillFeatures")->click();
        QVERIFY(e.doc.Provinces[5].KillFeatures);

        // Cut from the menu into another province, where the known flag stays.
        e.rightClickAndChoose(e.label("imgSite1"), 0);
        e.nav.NodeClick("9 PROV");
        e.rightClickAndChoose(e.label("imgSite3"), 2);
        QCOMPARE(e.doc.Provinces[9].KnownSiteIndex[3], std::int16_t{101});
        QCOMPARE(e.doc.Provinces[5].KnownSiteIndex[1], std::int16_t{-1});
        QVERIFY(e.find<QCheckBox>("chkKnownFeature3")->isChecked());
    }

    void aProvinceBuiltThroughThePanelsIsSavedAndReadBack() {
        Editor e;
        e.nav.NodeClick("9 PROV");
        QTest::mouseDClick(e.label("imgCommander1"), Qt::LeftButton);
        e.chooseUnit(e.label("imgCommander1"), 12, "Warlord");
        QTest::mouseDClick(e.label("imgCommander2"), Qt::LeftButton);
        e.chooseUnit(e.label("imgCommander2"), 13, "Sorceress");
        QTest::mouseClick(e.label("imgCommander1"), Qt::LeftButton);
        for (const auto& [box, value] : {std::pair{"txtCommanderName", "Aldo"}, {"txtEML", "3"}, {"txtHML", "2"},
                                         {"txtXP", "40"}, {"txtRndEquip", "2"}}) {
            auto* edit = e.find<QLineEdit>(box);
            edit->setFocus();
            QTest::keyClicks(edit, value);
            QTest::keyClick(edit, Qt::Key_Return);
        }
        e.find<QCheckBox>("chkClearMagic")->click();
        QTest::mouseDClick(e.label("imgBodyGuard0"), Qt::LeftButton);
        e.chooseUnit(e.label("imgBodyGuard0"), 20, "Spearman");
        auto* guards = e.find<QLineEdit>("txtBodyGuard0");
        guards->selectAll();
        guards->setFocus();
        QTest::keyClicks(guards, "7");
        QTest::keyClick(guards, Qt::Key_Return);
        QTest::mouseDClick(e.label("imgUnit0"), Qt::LeftButton);
        e.chooseUnit(e.label("imgUnit0"), 21, "Archer");
        QTest::mouseClick(e.label("lblItem0"), Qt::LeftButton);
        e.label("lblItem0")->setText("Sword");
        e.panels.handBack(e.label("lblItem0"));
        QTest::mouseClick(e.label("imgSite0"), Qt::LeftButton);
        setSlot(e.label("imgSite0"), "101", "Fire Well", QString());
        e.panels.handBack(e.label("imgSite0"));
        e.nav.NodeClick("MAP");

        const CommanderDataType& built = e.doc.Provinces[9].Commanders[1];
        QCOMPARE(built.BodyguardCount[0], std::int16_t{7});
        QCOMPARE(built.UnitsCount[0], std::int16_t{1});
        e.doc.Provinces[9].SetLandFlag = true; // the province panel works this out on its commit
        e.doc.MapTitle = "Built";
        e.doc.ImageFileName = "built.tga";
        e.doc.GameVersion = kSupportedGameVersion;

        TempFolder dir;
        const QString path = dir.write("built.map", MapFileText(e.doc, *e.map.ref));
        auto back = std::make_unique<MapDocument>();
        FakeUserInterface ui;
        z_ReadMapFile(*back, *e.map.ref, ui, path);
        QVERIFY2(!back->MapErrorsFound, back->ErrorLog.c_str());
        const ProvinceDataType& p = back->Provinces[9];
        QCOMPARE(p.CommanderCount, std::int16_t{2});
        const CommanderDataType& c = p.Commanders[1];
        QCOMPARE(text(c.UnitName), std::string("Warlord"));
        QCOMPARE(c.UnitIndex, std::int16_t{12});
        QCOMPARE(text(c.ComName), std::string("Aldo"));
        QCOMPARE(c.MagEarth, std::int16_t{3});
        QCOMPARE(c.MagPriest, std::int16_t{2});
        QCOMPARE(c.Xp, std::int16_t{40});
        QCOMPARE(c.RandomEquip, std::int16_t{2});
        QVERIFY(c.ClearMagic);
        QCOMPARE(text(c.BodyguardName[0]), std::string("Spearman"));
        QCOMPARE(c.BodyguardCount[0], std::int16_t{7});
        QCOMPARE(text(c.UnitsName[0]), std::string("Archer"));
        QCOMPARE(c.UnitsCount[0], std::int16_t{1});
        QCOMPARE(text(c.Items[0]), std::string("Sword"));
        QCOMPARE(text(p.Commanders[2].UnitName), std::string("Sorceress"));
        QCOMPARE(p.SiteIndex[0], std::int16_t{101});
        QCOMPARE(text(p.SiteName[0]), std::string("Fire Well"));
        // Everything else of the map too: the file written again is the same.
        back->ProvinceCount = e.doc.ProvinceCount;
        QCOMPARE(MapFileText(*back, *e.map.ref), MapFileText(e.doc, *e.map.ref));
    }
};

QTEST_MAIN(CommanderPanelsTest)
#include "commanderpanels_test.moc"
