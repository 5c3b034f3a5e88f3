#pragma once

#include "scriptlist.h"

#include <QDialog>
#include <functional>
#include <vector>

class QListWidget;
class QProgressBar;
class QPushButton;

namespace ts {

class UserInterface;

// The script menu: the titles of the scripts in TSscripts (lstScripts), Run (cmdRun), Cancel
// (cmdCancel) and the run's progress (pbScript). Running is left to runScript, which the main
// window connects to the language with the navigator and the map view; the menu closes after it.
class ScriptMenu : public QDialog {
  public:
    ScriptMenu(const QString& programFolder, UserInterface& ui, QWidget* parent = nullptr);

    // Given the chosen script's full path.
    std::function<void(const QString& path)> runScript;

    // Lists the scripts again, selects the first and sets the progress to 0 of provinceCount.
    void fill(int provinceCount);
    void setProgress(int value, int maximum);
    const std::vector<ScriptEntry>& entries() const { return mEntries; }

  private:
    void run();

    QString mProgramFolder;
    UserInterface& mUi;
    std::vector<ScriptEntry> mEntries;
    QListWidget* mList = nullptr;
    QPushButton* mRun = nullptr;
    QPushButton* mCancel = nullptr;
    QProgressBar* mProgress = nullptr;
};

} // namespace ts
