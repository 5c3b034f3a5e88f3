#pragma once

#include "mapreport.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QTableWidget;
class QTabWidget;

namespace ts {

// Tools > "Map Report": the balance report of the open map. The starts in a table (lstStarts) with
// their figures and flags, the map's make-up and graph above it (lblSummary), and one chart per
// figure group (tabCharts: the per-start charts have a group of bars per start, the degree chart is
// a histogram). Clicking a start, in the table or on its bars, selects its province on the map;
// "Show Shares" (chkShowShares) shades the map by nearest start. Refresh (cmdRefresh) reports
// again, Save HTML (cmdSaveHtml) writes the report as one page. The window reports again whenever
// the user comes back to it. What it does to the map is left to the callbacks the main window sets.
class MapReportWindow : public QDialog {
  public:
    explicit MapReportWindow(QWidget* parent = nullptr);

    std::function<MapReport()> compute;
    std::function<QString()> mapTitle;
    std::function<void(int province)> showProvince;
    // The switch changed, or the report did while it is on: shade by this report, or stop shading.
    std::function<void(bool on, const MapReport& report)> showShares;
    // The map picture with the report's shares shaded, as PNG, for the HTML page; empty without one.
    std::function<QByteArray(const MapReport& report)> sharesPicture;
    // Where Save HTML writes; nothing when the user cancels.
    std::function<std::optional<QString>()> askHtmlPath;
    std::function<void(const QString& error)> reportSaveError;

    void refresh();
    const MapReport& report() const { return mReport; }
    void saveHtml();

  protected:
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void fillCharts();
    void chooseStart(int index);

    MapReport mReport;
    QLabel* mSummary = nullptr;
    QTableWidget* mStarts = nullptr;
    QTabWidget* mCharts = nullptr;
    QCheckBox* mShowShares = nullptr;
};

} // namespace ts
