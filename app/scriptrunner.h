#pragma once

#include "scriptprocess.h"

#include <QString>

namespace ts {

class MainWindow;
class ScriptMenu;

// Tools > "Custom Tools": opens the script menu over the open map.
void connectScriptMenu(MainWindow& window);

// Runs a script on the editor's map as the script menu's Run does: pending panel edits are committed
// first, the run advances the menu's progress bar (when a menu is given), and afterwards the
// navigator, the selected province's panels and the marks show what the script changed. A run that
// changed something leaves the map modified with a recovery copy.
ScriptRunResult runScriptInEditor(MainWindow& window, const QString& path, ScriptMenu* menu = nullptr);

} // namespace ts
