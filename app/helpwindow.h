#pragma once

#include <QDialog>

class QString;

namespace ts {

// The shortcut help (Help > "Shortcuts", F1): the keys of the map and the keys that edit, as two
// fixed lists.
class HelpWindow : public QDialog {
  public:
    explicit HelpWindow(QWidget* parent = nullptr);
};

class UserInterface;

// Help > "Local Help": the user manual of this layout in the desktop's browser. A manual that is not
// there, or no browser to show it, is said in a message.
void openManual(const QString& programFolder, UserInterface& ui);

} // namespace ts
