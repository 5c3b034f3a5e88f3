#include "navigator.h"
#include "panelframes.h"
#include "smallmap.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>
#include <QToolButton>
#include <QtTest>

using namespace ts;

namespace {

QStringList childKeys(QTreeWidgetItem* item) {
    QStringList keys;
    for (int i = 0; item && i < item->childCount(); ++i)
        keys << Navigator::keyOf(item->child(i));
    return keys;
}

QStringList visibleFrames(const PanelFrames& frames) {
    QStringList names;
    for (std::string_view n : editingFrameNames()) {
        const QString name = QString::fromLatin1(n.data(), static_cast<qsizetype>(n.size()));
        if (!frames.frame(name)->isHidden()) names << name;
    }
    names.sort();
    return names;
}

QStringList sorted(QStringList l) {
    l.sort();
    return l;
}

} // namespace

class NavigatorTest : public QObject {
    Q_OBJECT

  private slots:
    void buildMirrorsTheDocumentWithMapExpanded() {
        editingtest::SmallMap map;
        map.doc->Provinces[2].LandName = "S\xE9verin"; // Windows-1252 e acute
        Navigator nav(*map.doc, *map.ref);
        nav.BuildNavigator();

        QCOMPARE(nav.objectName(), QStringLiteral("trvNavigator"));
        QCOMPARE(nav.topLevelItemCount(), 1);
        QTreeWidgetItem* root = nav.topLevelItem(0);
        QCOMPARE(Navigator::keyOf(root), QStringLiteral("MAP"));
        QVERIFY(root->isExpanded());
        QCOMPARE(childKeys(root),
                 (QStringList{"ALLOWEDNATIONS", "GODSANDNATIONS", "PROVINCES", "NEIGHBOURS"}));
        QCOMPARE(childKeys(nav.node("1 PROV")),
                 (QStringList{"1 FORT", "1 TEMPLE", "1 LAB", "1 SITES", "1 COMMANDERS"}));
        QCOMPARE(nav.node("1 COM 3")->text(0), QStringLiteral("3 Warlord"));
        QCOMPARE(nav.node("2 PROV")->text(0), QStringLiteral("2 S\u00E9verin"));
        QCOMPARE(nav.node("5 NATION")->parent(), nav.node("GEA"));

        // A second build starts from nothing.
        map.doc->ProvinceCount = 1;
        nav.BuildNavigator();
        QVERIFY(!nav.node("2 PROV"));
        QCOMPARE(nav.node("PROVINCES")->childCount(), 1);
    }

    void removeAndAddKeepTheKeyIndexRight() {
        editingtest::SmallMap map;
        Navigator nav(*map.doc, *map.ref);
        nav.BuildNavigator();

        QVERIFY(nav.RemoveNavigatorNode("1 SITES"));
        QVERIFY(!nav.node("1 SITES"));
        QVERIFY(!nav.node("1 SITE 0")); // children go with their parent
        QVERIFY(!nav.node("1 KNOWNSITE 1"));
        QVERIFY(!nav.RemoveNavigatorNode("1 SITES"));

        QTreeWidgetItem* again = nav.AddNavigatorNode("1 PROV", "1 SITES", "Sites");
        QVERIFY(again);
        QCOMPARE(nav.node("1 SITES"), again);
        QVERIFY(nav.AddNavigatorNode("1 SITES", "1 SITE 0", "Iron Mine"));
        QCOMPARE(nav.node("1 SITE 0")->parent(), again);

        // Keys stay unique and parents must exist.
        QVERIFY(!nav.AddNavigatorNode("1 PROV", "1 SITES", "Sites"));
        QVERIFY(!nav.AddNavigatorNode("9 PROV", "9 FORT", "Palisade"));
        QCOMPARE(nav.node("1 PROV")->childCount(), 5);

        // A renamed province: remove and re-add from its node strings.
        QVERIFY(nav.RemoveNavigatorNode("2 PROV"));
        QVERIFY(nav.AddNavigatorNode("PROVINCES", "2 PROV", "2 Tor"));
        QCOMPARE(nav.node("2 PROV")->text(0), QStringLiteral("2 Tor"));
    }

    void aNationMovesBetweenAllowedAndGodEras() {
        editingtest::SmallMap map;
        Navigator nav(*map.doc, *map.ref);
        nav.BuildNavigator();

        map.doc->Nations[5].AllowedPlayer = true;
        nav.RefreshNationNode(5);
        QCOMPARE(nav.node("5 NATION")->parent(), nav.node("AEA"));
        QCOMPARE(childKeys(nav.node("GEA")), QStringList{});

        map.doc->Nations[5].AllowedPlayer = false;
        nav.RefreshNationNode(5);
        QCOMPARE(nav.node("5 NATION")->parent(), nav.node("GEA"));
        QCOMPARE(nav.node("5 NATION")->text(0), QStringLiteral("EA Valdren"));

        nav.RefreshNationNode(30); // unknown era: still no node
        QVERIFY(!nav.node("30 NATION"));
    }

    void aClickInTheTreeChoosesTheNodeAndRemembersTheButton() {
        editingtest::SmallMap map;
        map.doc->ProvinceCount = 2;
        Navigator nav(*map.doc, *map.ref);
        nav.resize(300, 600);
        nav.BuildNavigator();
        nav.expandAll();
        nav.show();
        QVERIFY(QTest::qWaitForWindowExposed(&nav));
        std::vector<std::pair<int, bool>> selected;
        nav.model().hooks.selectProvince = [&](int p, bool left) { selected.emplace_back(p, left); };

        QTreeWidgetItem* com = nav.node("1 COM 3");
        QTest::mouseClick(nav.viewport(), Qt::LeftButton, {}, nav.visualItemRect(com).center());
        QVERIFY(nav.lastChoiceWithLeftButton());
        QCOMPARE(nav.currentItem(), com);
        QCOMPARE(map.doc->CurProvince, std::int16_t{1});
        QCOMPARE(map.doc->CurCommander, std::int16_t{3});
        QCOMPARE(nav.model().currentPanel(), Panel::Commanders);

        // Down from "1 COM 3" is "2 PROV", chosen from the keyboard.
        QTest::keyClick(&nav, Qt::Key_Down);
        QCOMPARE(Navigator::keyOf(nav.currentItem()), QStringLiteral("2 PROV"));
        QVERIFY(!nav.lastChoiceWithLeftButton());
        QCOMPARE(map.doc->CurProvince, std::int16_t{2});
        QCOMPARE(selected, (std::vector<std::pair<int, bool>>{{1, true}, {2, false}}));

        QTest::mouseClick(nav.viewport(), Qt::RightButton, {}, nav.visualItemRect(nav.node("MAP")).center());
        QVERIFY(!nav.lastChoiceWithLeftButton());
        QCOMPARE(nav.model().currentPanel(), Panel::Map);
    }

    void theMapInputAndThePanelsRunTheNodeClickByKey() {
        editingtest::SmallMap map;
        Navigator nav(*map.doc, *map.ref);
        nav.BuildNavigator();
        int recovery = 0;
        nav.model().hooks.writeRecoveryFile = [&] { ++recovery; };

        nav.z_trvNavigatorNodeClick(2);
        QCOMPARE(Navigator::keyOf(nav.currentItem()), QStringLiteral("2 PROV"));
        QCOMPARE(map.doc->CurProvince, std::int16_t{2});
        QVERIFY(nav.model().panelReady());

        nav.model().PanelChanged(ProvinceDirty);
        nav.NodeClick(); // commit only
        QCOMPARE(recovery, 1);
        QCOMPARE(map.doc->CurProvince, std::int16_t{2});
        QVERIFY(map.doc->MapModified);

        QVERIFY(nav.selectNode("5 NATION")); // selecting alone runs nothing
        QCOMPARE(map.doc->CurGodNation, ts::kNone);
        nav.NodeClick("5 NATION");
        QCOMPARE(map.doc->CurGodNation, std::int16_t{5});
        QCOMPARE(map.doc->CurProvince, std::int16_t{1});
    }

    void movingTheMouseOverTheTreeShowsItsHint() {
        editingtest::SmallMap map;
        Navigator nav(*map.doc, *map.ref);
        nav.BuildNavigator();
        nav.show();
        QVERIFY(QTest::qWaitForWindowExposed(&nav));
        QString key, text;
        nav.setStatus = [&](const QString& k, const QString& t) {
            key = k;
            text = t;
        };
        QTest::mouseMove(nav.viewport(), QPoint(10, 10));
        QTest::mouseMove(nav.viewport(), QPoint(20, 12));
        QTRY_COMPARE(text, QStringLiteral("Use to quickly find and select provinces, nations and gods."));
        QCOMPARE(key, QStringLiteral("MESSAGE"));
    }

    void everyFrameHasItsNameATitleAndALayout() {
        PanelFrames frames;
        for (std::string_view n : editingFrameNames()) {
            const QString name = QString::fromLatin1(n.data(), static_cast<qsizetype>(n.size()));
            QFrame* f = frames.findChild<QFrame*>(name);
            QVERIFY2(f, qPrintable(name));
            QVERIFY(frames.frameLayout(name));
            QVERIFY(!f->findChild<QLabel*>()->text().isEmpty());
            QVERIFY(f->isHidden());
        }
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
        QVERIFY(toggle);
        QVERIFY(frames.sectionOpen("fraSites"));
        toggle->click();
        QVERIFY(!frames.sectionOpen("fraSites"));
        QCOMPARE(toggle->text(), QStringLiteral("+"));
        toggle->click();
        QCOMPARE(toggled, (QStringList{"fraSites closed", "fraSites open"}));
        // Restoring the state from the settings is not a user's toggle.
        frames.setSectionOpen("fraVictoryPoints", false);
        QCOMPARE(toggled.size(), 2);
        QVERIFY(!frames.sectionOpen("fraVictoryPoints"));
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(frames.findChild<QToolButton*>("cmdToggleStartAndOwner"), &enter);
        QCOMPARE(hint, QStringLiteral("Hide/show the 'Start & Owner' panel."));
        QVERIFY(!frames.findChild<QToolButton*>("cmdToggleProvince"));
    }

    void showPanelShowsExactlyTheChosenFramesAndFillsThem() {
        PanelFrames frames;
        QStringList filled;
        std::vector<ToolPanels> tools;
        frames.hooks.fill.mapHeader = [&] { filled << "map"; };
        frames.hooks.fill.nation = [&](int n) { filled << QString("nation %1").arg(n); };
        frames.hooks.fill.province = [&](int p) { filled << QString("province %1").arg(p); };
        frames.hooks.fill.commanderDetail = [&](int p, int c) {
            filled << QString("commander %1 %2").arg(p).arg(c);
        };
        frames.hooks.applyToolPanels = [&](const ToolPanels& t) { tools.push_back(t); };
        const QStringList province = {"fraProvince", "fraProvinceCommanders1", "fraSites", "fraStartAndOwner",
                                      "fraVictoryPoints"};
        const QStringList commander = {"fraCommander", "fraCommanderBodyGuards", "fraCommanderUnits"};

        frames.ShowPanel(Panel::Commanders, 12, 3, ts::kNone);
        QCOMPARE(visibleFrames(frames), sorted(province + commander));
        QCOMPARE(filled, (QStringList{"province 12", "commander 12 3"}));

        frames.ShowPanel(Panel::Neighbours, ts::kNone, ts::kNone, ts::kNone);
        QCOMPARE(visibleFrames(frames), QStringList{});
        QCOMPARE(tools.back(), (ToolPanels{ToolRule::Hide, ToolRule::Hide, ToolRule::Hide}));
        QCOMPARE(frames.shownPanel(), Panel::Neighbours);
    }
};

QTEST_MAIN(NavigatorTest)
#include "navigator_test.moc"
