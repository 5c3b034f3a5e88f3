#include "floatingpanels.h"
#include "settings.h"
#include "toolpanel.h"

#include <QAction>
#include <QLabel>
#include <QToolButton>
#include <QtTest>
#include <cstdlib>

using namespace ts;

class FloatingPanelsTest : public QObject {
    Q_OBJECT

    struct Rig {
        QWidget area;
        Settings settings = Settings::defaults("/p");
        QAction navigator{"Navigator"}, terrain{"Terrain Tool"}, fort{"Fort Tool"}, bar{"Bar Tool"};
        QStringList done;
        QString hint;
        std::unique_ptr<FloatingPanels> panels;

        Rig() {
            area.resize(1000, 700);
            // As the map area the tools float over: dark.
            QPalette dark = area.palette();
            dark.setColor(QPalette::Window, QColor(24, 20, 18));
            area.setPalette(dark);
            FloatingPanels::Actions a;
            a.selectNode = [this](const QString& key) { done << "node " + key; };
            a.markProvince = [this] { done << "mark"; };
            a.markAll = [this] { done << "mark all"; };
            a.unmarkAll = [this] { done << "unmark all"; };
            a.zoom = [this](int i) { done << QString("zoom %1").arg(i); };
            a.showHint = [this](const QString& h) { hint = h; };
            a.focusMap = [this] { done << "focus"; };
            a.startingUp = [] { return false; };
            panels = std::make_unique<FloatingPanels>(&area, settings, a);
            panels->connectMenu(&navigator, &terrain, &fort, &bar);
            area.show();
        }
    };

private slots:
    void panelsFollowTheSettingsTheMenuAndTheUser() {
        Rig r;
        r.panels->applySettings();
        ToolPanel* bar = r.panels->barTool();
        QVERIFY(bar->isVisible() && !r.panels->terrainTool()->isVisible() && r.panels->navigator()->isVisible());
        QCOMPARE(bar->pos(), QPoint(680, 0));
        QVERIFY(r.bar.isChecked() && !r.terrain.isChecked() && r.navigator.isChecked());

        r.terrain.trigger();
        QCOMPARE(r.panels->terrainTool()->pos(), QPoint(400, 64));
        QVERIFY(r.panels->terrainTool()->isVisible() && r.settings.TerrainToolVisible);
        r.navigator.trigger();
        QVERIFY(!r.panels->navigator()->isVisible() && !r.settings.NavigatorVisible);
        QCOMPARE(r.panels->navigatorWidth(), 0);

        // A right click hides a panel; the setting remembers it, so a restart leaves it hidden.
        QTest::mouseClick(bar, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
        QVERIFY(!bar->isVisible() && !r.settings.BarToolVisible && !r.bar.isChecked());
        QVERIFY(r.done.contains("focus"));
        r.panels->applySettings();
        QVERIFY(!bar->isVisible());
        r.panels->terrainTool()->findChild<QToolButton*>("cmdCloseTerrainTool")->click();
        QVERIFY(!r.settings.TerrainToolVisible && !r.terrain.isChecked());
    }

    void draggingMovesThePanelAndStoresItsPlace() {
        Rig r;
        r.panels->applySettings();
        ToolPanel* bar = r.panels->barTool();
        QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, QPoint(10, 5));
        QMouseEvent move(QEvent::MouseMove, QPointF(60, 45), bar->mapToGlobal(QPointF(60, 45)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(bar, &move);
        QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, QPoint(60, 45));
        QCOMPARE(bar->pos(), QPoint(730, 40));
        QCOMPARE(r.settings.BarToolLeft, 730.0f);
        QCOMPARE(r.settings.BarToolTop, 40.0f);
        QVERIFY(r.hint.startsWith("Bar Tool: Click and drag to move, right click to hide."));
        QCOMPARE(bar->findChild<QLabel*>("lblBarTool")->text(), QStringLiteral("Mouseover for info"));
    }

    void everyToolReadsLightOrDarkButNeverDarkOnDark() {
        Rig r;
        r.panels->applySettings();
        for (QWidget* tool : {static_cast<QWidget*>(r.panels->barTool()), static_cast<QWidget*>(r.panels->terrainTool()),
                              static_cast<QWidget*>(r.panels->fortTool())}) {
            auto* caption = tool->findChildren<QLabel*>().value(0);
            QVERIFY(caption);
            const int text = caption->palette().color(QPalette::WindowText).lightness();
            const int ground = tool->palette().color(QPalette::Window).lightness();
            QVERIFY2(std::abs(text - ground) > 100, qPrintable(tool->objectName()));
        }
    }

    void theNineBarButtonsDoWhatTheyStandFor() {
        Rig r;
        r.panels->applySettings();
        for (int i = 0; i < 9; ++i) r.panels->barTool()->findChild<QToolButton*>(QString("imgBarTool%1").arg(i))->click();
        QCOMPARE(r.done, (QStringList{"node MAP", "node ALLOWEDNATIONS", "node GODSANDNATIONS", "node PROVINCES", "mark",
                                      "mark all", "unmark all", "zoom 3", "zoom 0"}));
    }
};

QTEST_MAIN(FloatingPanelsTest)
#include "floatingpanels_test.moc"
