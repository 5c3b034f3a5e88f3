#pragma once

#include "mapdocument.h"
#include "randomnames.h"

#include <QString>
#include <functional>
#include <initializer_list>
#include <memory>

class QKeyEvent;
class QLabel;

namespace ts {

class MapView;
class Navigator;
class ProvinceTemplates;
class ToolPanel;
class UserInterface;

// Province templates and random names as the user reaches them: F2, F3 and F4 on the map and the
// template buttons of the bar tool; Shift+R on the map and the commander name button. The work is
// done by the widget-free tools; this keeps the tree, the marks and the panels in step afterwards.
class TemplateNameTools {
public:
    struct Window {
        std::function<QString()> programFolder; // where TStemplates and TSnames are
        std::function<bool()> startingUp;
        std::function<void(const QString& hint)> showHint;
    };
    TemplateNameTools(MapDocument& doc, UserInterface& ui, Navigator& navigator, MapView& map, ToolPanel& barTool,
                      Window window);
    ~TemplateNameTools();

    // F2, F3, F4: save the current province as a template, choose the active template, apply it.
    void saveTemplate();
    void chooseTemplate();
    void applyTemplate();
    // Shift+R: a random name suiting the current province's terrain.
    void randomProvinceName();
    // A random commander name, for cmdRndName. keep is given back when the chosen name file is
    // damaged (pass the box's text, so a failed draw leaves it as it was).
    QString randomCommanderName(const QString& keep = QString());

    // The keys above, asked by the map view. Returns whether the key was one of them.
    bool mapKey(QKeyEvent* event);

    // Puts a name into the province panel's name box (txtLandName), whose change commits it. Until the
    // window connects it, the name goes straight into the record and is committed as an edit.
    std::function<void(const QString& name)> setProvinceName;

    ProvinceTemplates& templates() { return *mTemplates; }
    QLabel* activeLabel() const { return mLabel; }
    // The random source of the names; tests put a fixed one here.
    UniformSource uniform = systemUniformSource();

private:
    void addButtons(ToolPanel& barTool);
    void showActive();
    void focusMap();
    void nameIntoRecord(const QString& name);
    // The current province's record changed behind the panels: its nodes follow, the panels are
    // refilled and then committed with these flags, as if the user had made the change there.
    void commitRecordChange(std::initializer_list<PanelDirtyFlag> panels);

    MapDocument& mDoc;
    UserInterface& mUi;
    Navigator& mNavigator;
    MapView& mMap;
    Window mWindow;
    std::unique_ptr<ProvinceTemplates> mTemplates;
    QLabel* mLabel = nullptr;
};

} // namespace ts
