#pragma once

#include <QDialog>

namespace ts {

// The shortcut help (Help > "Shortcuts", F1): the keys of the map and the keys that edit, as two
// fixed lists.
class HelpWindow : public QDialog {
  public:
    explicit HelpWindow(QWidget* parent = nullptr);
};

} // namespace ts
