#include "navigator.h"
#include "panelframes.h"
#include "smallmap.h"

#include <QToolButton>
#include <QtTest>

using namespace ts;

class NavigatorTest : public QObject {
    Q_OBJECT

  private slots:
    void buildMirrorsTheDocumentAndAddAndRemoveKeepTheKeyIndexRight() {
        editingtest::SmallMap map;
        map.doc->Provinces[2].LandName = "S\xE9verin"; // Windows-1252 e acute
        Navigator nav(*map.doc, *map.ref);
        nav.BuildNavigator();
        QVERIFY(nav.topLevelItem(0)->isExpanded());
        QCOMPARE(nav.node("2 PROV")->text(0), QStringLiteral("2 S\u00E9verin"));

        QVERIFY(nav.RemoveNavigatorNode("1 SITES"));
        QVERIFY(!nav.node("1 SITE 0")); // children go with their parent
        QVERIFY(!nav.RemoveNavigatorNode("1 SITES"));
        QTreeWidgetItem* again = nav.AddNavigatorNode("1 PROV", "1 SITES", "Sites");
        QVERIFY(nav.AddNavigatorNode("1 SITES", "1 SITE 0", "Iron Mine"));
        QCOMPARE(nav.node("1 SITE 0")->parent(), again);
        // Keys stay unique and parents must exist.
        QVERIFY(!nav.AddNavigatorNode("1 PROV", "1 SITES", "Sites"));
        QVERIFY(!nav.AddNavigatorNode("9 PROV", "9 FORT", "Palisade"));
        QCOMPARE(nav.node("1 PROV")->childCount(), 5);

        // A nation moves between its allowed and its god era; an unknown era gets no node.
        for (const auto& [n, allowed, gods] :
             {std::tuple{5, "AEA", "GEA"}, {10, "AMA", "GMA"}, {20, "ALA", "GLA"}})
            for (bool player : {true, false}) {
                map.doc->Nations[n].AllowedPlayer = player;
                nav.RefreshNationNode(n);
                QCOMPARE(nav.node(std::to_string(n) + " NATION")->parent(),
                         nav.node(player ? allowed : gods));
                QCOMPARE(nav.node(gods)->childCount(), player ? 0 : 1);
            }
        map.doc->Nations[30].AllowedPlayer = true;
        nav.RefreshNationNode(30);
        QVERIFY(!nav.node("30 NATION"));

        // A second build starts from nothing.
        map.doc->ProvinceCount = 1;
        nav.BuildNavigator();
        QVERIFY(!nav.node("2 PROV"));
        QCOMPARE(nav.node("PROVINCES")->childCount(), 1);
    }

    void aProvinceBranchIsMadeWhenFirstReachedAndThenAsTheBuildWouldMakeIt() {
        editingtest::SmallMap map;
        Navigator nav(*map.doc, *map.ref);
        nav.BuildNavigator();
        QTreeWidgetItem* provinces = nav.topLevelItem(0)->child(2);
        QCOMPARE(Navigator::keyOf(provinces), QStringLiteral("PROVINCES"));
        QTreeWidgetItem* first = provinces->child(0);
        QTreeWidgetItem* second = provinces->child(1);
        QCOMPARE(first->childCount(), 0);
        QCOMPARE(first->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
        QCOMPARE(second->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicatorWhenChildless);

        // A refresh of an unmade branch names the province and leaves the branch for later.
        map.doc->Provinces[1].LandName = "Gath Mor";
        nav.RefreshProvinceNodes(1);
        QCOMPARE(first->text(0), QStringLiteral("1 Gath Mor"));
        QCOMPARE(first->childCount(), 0);

        // Adding under it makes the whole branch first, in the build's order.
        QVERIFY(nav.AddNavigatorNode("1 COMMANDERS", "1 COM 9", "9 Scout"));
        QStringList children;
        for (int i = 0; i < first->childCount(); ++i)
            children << Navigator::keyOf(first->child(i));
        QCOMPARE(children, (QStringList{"1 FORT", "1 TEMPLE", "1 LAB", "1 SITES", "1 COMMANDERS"}));

        // Opening a branch makes it; a province removed and added again is made by its adder.
        map.doc->Provinces[2].Temple = true;
        nav.BuildNavigator();
        nav.topLevelItem(0)->child(2)->child(1)->setExpanded(true);
        QCOMPARE(nav.topLevelItem(0)->child(2)->child(1)->childCount(), 1);
        QVERIFY(nav.RemoveNavigatorNode("1 PROV"));
        QVERIFY(nav.AddNavigatorNode("PROVINCES", "1 PROV", "1 Prov"));
        QVERIFY(nav.AddNavigatorNode("1 PROV", "1 LAB", "Lab"));
        QCOMPARE(nav.node("1 PROV")->childCount(), 1);
    }

    void aProvinceRefreshFollowsItsRecordAndKeepsOpenBranchesAndTheChoice() {
        editingtest::SmallMap map;
        Navigator nav(*map.doc, *map.ref);
        nav.BuildNavigator();
        nav.node("1 COMMANDERS")->setExpanded(true);
        nav.selectNode("1 COM 3");
        ProvinceDataType& p1 = map.doc->Provinces[1];
        p1.LandName = "Gath Mor";
        p1.Lab = false;
        p1.SiteName[0].clear();
        p1.Commanders[4].UnitName = "Scout";

        nav.RefreshProvinceNodes(1);
        QCOMPARE(nav.node("1 PROV")->text(0), QStringLiteral("1 Gath Mor"));
        QVERIFY(!nav.node("1 LAB") && !nav.node("1 SITE 0"));
        QCOMPARE(nav.node("1 COM 4")->text(0), QStringLiteral("4 Scout"));
        QCOMPARE(p1.Commanders[4].NodeKey, "1 COM 4");
        QStringList children;
        for (int i = 0; i < nav.node("1 PROV")->childCount(); ++i)
            children << Navigator::keyOf(nav.node("1 PROV")->child(i));
        QCOMPARE(children, (QStringList{"1 FORT", "1 TEMPLE", "1 SITES", "1 COMMANDERS"}));
        QVERIFY(nav.node("1 COMMANDERS")->isExpanded());
        QCOMPARE(Navigator::keyOf(nav.currentItem()), QStringLiteral("1 COM 3"));
        // The province keeps its place among the others.
        QCOMPARE(nav.node("PROVINCES")->indexOfChild(nav.node("1 PROV")), 0);

        // A chosen node that is gone leaves the province itself chosen.
        p1.Commanders[3].UnitName.clear();
        nav.RefreshProvinceNodes(1);
        QCOMPARE(Navigator::keyOf(nav.currentItem()), QStringLiteral("1 PROV"));
    }

    void aClickInTheTreeChoosesTheNodeAndRemembersTheButton() {
        editingtest::SmallMap map;
        Navigator nav(*map.doc, *map.ref);
        nav.BuildNavigator();
        nav.expandAll();
        nav.show();
        QVERIFY(QTest::qWaitForWindowExposed(&nav));
        std::vector<std::pair<int, bool>> selected;
        nav.model().hooks.selectProvince = [&](int p, bool left) { selected.emplace_back(p, left); };

        QTest::mouseClick(nav.viewport(), Qt::LeftButton, {},
                          nav.visualItemRect(nav.node("1 COM 3")).center());
        QCOMPARE(map.doc->CurCommander, std::int16_t{3});
        QTest::keyClick(&nav, Qt::Key_Down); // "2 PROV", chosen from the keyboard
        QCOMPARE(selected, (std::vector<std::pair<int, bool>>{{1, true}, {2, false}}));
    }

    void sectionTogglesCollapseToTheTitleAndReportTheirState() {
        PanelFrames frames;
        QStringList toggled;
        QString hint;
        frames.sectionToggled = [&](const QString& name, bool open) {
            toggled << name + (open ? " open" : " closed");
        };
        frames.showHint = [&](const QString& h) { hint = h; };
        auto* toggle = frames.findChild<QToolButton*>("cmdToggleSites");
        toggle->click();
        QVERIFY(!frames.sectionOpen("fraSites"));
        QCOMPARE(toggle->text(), QStringLiteral("+"));
        toggle->click();
        QVERIFY(frames.sectionOpen("fraSites"));
        QCOMPARE(toggled, (QStringList{"fraSites closed", "fraSites open"}));
        // Restoring the state from the settings is not a user's toggle.
        frames.setSectionOpen("fraVictoryPoints", false);
        QCOMPARE(toggled.size(), 2);
        QVERIFY(!frames.sectionOpen("fraVictoryPoints"));
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(frames.findChild<QToolButton*>("cmdToggleStartAndOwner"), &enter);
        QCOMPARE(hint, QStringLiteral("Hide/show the 'Start & Owner' panel."));
    }

    void showPanelShowsExactlyTheChosenFramesAndFillsThem() {
        PanelFrames frames;
        QStringList filled;
        std::vector<ToolPanels> tools;
        frames.hooks.fill.province = [&](int p) { filled << QString("province %1").arg(p); };
        frames.hooks.fill.commanderDetail = [&](int p, int c) {
            filled << QString("commander %1 %2").arg(p).arg(c);
        };
        frames.hooks.applyToolPanels = [&](const ToolPanels& t) { tools.push_back(t); };
        const auto visible = [&] {
            QStringList names;
            for (std::string_view n : editingFrameNames())
                if (!frames.frame(QString::fromLatin1(n))->isHidden()) names << QString::fromLatin1(n);
            return names.join(' ');
        };
        frames.ShowPanel(Panel::Commanders, 12, 3, ts::kNone);
        QCOMPARE(visible(),
                 QStringLiteral("fraProvince fraProvinceCommanders1 fraCommander fraCommanderBodyGuards "
                                "fraCommanderUnits fraSites fraStartAndOwner fraVictoryPoints"));
        QCOMPARE(filled, (QStringList{"province 12", "commander 12 3"}));
        frames.ShowPanel(Panel::Neighbours, ts::kNone, ts::kNone, ts::kNone);
        QCOMPARE(visible(), QString());
        QCOMPARE(tools.back(), (ToolPanels{ToolRule::Hide, ToolRule::Hide, ToolRule::Hide}));
    }
};

QTEST_MAIN(NavigatorTest)
#include "navigator_test.moc"
