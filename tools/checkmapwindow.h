#pragma once

#include "mapcheck.h"

#include <QDialog>
#include <functional>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

namespace ts {

// Tools > "Check Map": the findings of the map check (lstFindings), Fix (cmdFix) for the one chosen
// when it has a certain fix, Check Again (cmdCheckAgain) and Close (cmdClose). It stays open beside
// the map, and checks again whenever the user comes back to it, so the list follows edits made on
// the map meanwhile (or another map opened). What it does to the map is left to the callbacks the
// main window sets.
class CheckMapWindow : public QDialog {
  public:
    explicit CheckMapWindow(QWidget* parent = nullptr);

    // Runs the check on the open map.
    std::function<std::vector<MapFinding>()> check;
    // A double click: the province is selected on the map and its panel shown.
    std::function<void(int province)> showProvince;
    // Fix: mends the map; the list is checked again afterwards.
    std::function<void(const MapFinding&)> applyFix;

    // Checks again and lists the findings, keeping the chosen row where the list still reaches.
    void checkAgain();
    const std::vector<MapFinding>& findings() const { return mFindings; }

  protected:
    void changeEvent(QEvent* event) override;

  private:
    const MapFinding* chosen() const;
    void fix();
    void open(int row);

    std::vector<MapFinding> mFindings;
    QLabel* mCount = nullptr;
    QListWidget* mList = nullptr;
    QPushButton* mFix = nullptr;
};

} // namespace ts
