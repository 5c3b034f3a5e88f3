#pragma once

#include <QObject>
#include <functional>

class QAction;
class QFrame;
class QWidget;

namespace ts {

class ToolPanel;
struct Settings;

// The navigator panel and the three floating tool panels (bar, terrain, fort): their visibility and
// positions follow the settings, and the View menu items follow them.
class FloatingPanels {
public:
    struct Actions {
        std::function<void(const QString& key)> selectNode; // "MAP", "ALLOWEDNATIONS", ...
        std::function<void()> markProvince;
        std::function<void()> markAll;
        std::function<void()> unmarkAll;
        std::function<void(int zoomIndex)> zoom;
        std::function<void(const QString& hint)> showHint;
        std::function<void()> focusMap;
        std::function<bool()> startingUp;
    };

    FloatingPanels(QWidget* mapArea, Settings& settings, Actions actions);

    // Wires the View menu items (mnuNavigator, mnuTerrainTool, mnuFortTool, mnuBarTool).
    void connectMenu(QAction* navigator, QAction* terrain, QAction* fort, QAction* bar);
    // Shows each panel as its setting says, as a map is opened.
    void applySettings();
    void hideAll();

    QFrame* navigator() const { return mNavigator; }
    ToolPanel* barTool() const { return mBar; }
    ToolPanel* terrainTool() const { return mTerrain; }
    ToolPanel* fortTool() const { return mFort; }
    int navigatorWidth() const;
    // Keeps the navigator as tall as the map area.
    void fitNavigator();

private:
    void setUp(ToolPanel* panel, bool Settings::*visible, float Settings::*left, float Settings::*top, QAction* item);
    void buildBarTool();

    QWidget* mArea;
    Settings& mSettings;
    Actions mActions;
    QFrame* mNavigator = nullptr;
    ToolPanel* mBar = nullptr;
    ToolPanel* mTerrain = nullptr;
    ToolPanel* mFort = nullptr;
    QAction* mNavigatorItem = nullptr;
    QAction* mTerrainItem = nullptr;
    QAction* mFortItem = nullptr;
    QAction* mBarItem = nullptr;
};

} // namespace ts
