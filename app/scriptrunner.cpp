#include "scriptrunner.h"

#include "cp1252.h"
#include "edithistory.h"
#include "mainwindow.h"
#include "mapdocument.h"
#include "maplifecycle.h"
#include "mapview.h"
#include "navigator.h"
#include "referencedata.h"
#include "scriptmenu.h"

#include <QAction>
#include <QFileInfo>

namespace ts {

void connectScriptMenu(MainWindow& window) {
    QAction* item = window.findChild<QAction*>(QStringLiteral("mnuCustomTools"));
    if (!item) return;
    QObject::connect(item, &QAction::triggered, &window, [&window] {
        ScriptMenu menu(window.programFolderPath(), window, &window);
        menu.runScript = [&](const QString& path) { runScriptInEditor(window, path, &menu); };
        menu.fill(window.document().ProvinceCount);
        menu.exec();
    });
}

ScriptRunResult runScriptInEditor(MainWindow& window, const QString& path, ScriptMenu* menu) {
    MapDocument& doc = window.document();
    Navigator& navigator = window.navigator();
    // An edit still in a panel would be committed later over what the script set.
    if (doc.anyPanelDirty()) navigator.NodeClick();
    // A script may change any record; the step keeps only those it did change.
    const EditBracket bracket(&window.journal(), {.everything = true},
                              "Script " + toCp1252(QFileInfo(path).completeBaseName()));

    bool treeChanged = false;
    bool currentChanged = false;
    ScriptHooks hooks;
    hooks.navigatorChanged = [&](int, NavigatorEntry, int) { treeChanged = true; };
    hooks.currentProvinceChanged = [&](int) { currentChanged = true; };
    if (menu) hooks.progress = [menu](int province, int count) { menu->setProgress(province, count); };
    const ScriptRunResult result = z_ScriptProcess(doc, referenceData(), window, path, hooks);

    // A script may touch thousands of provinces: the tree is built once afterwards, not node by node.
    if (treeChanged) {
        const std::string current = toCp1252(Navigator::keyOf(navigator.currentItem()));
        navigator.BuildNavigator();
        navigator.selectNode(current);
    }
    if (currentChanged) navigator.NodeClick(); // the selected province's panels show the new values
    if (result.changed) {
        doc.MapModified = true;
        window.mapView().markSpecial();
        window.lifecycle().WriteRecoveryFile();
    }
    return result;
}

} // namespace ts
