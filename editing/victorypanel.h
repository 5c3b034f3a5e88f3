#pragma once

#include "panelwidgets.h"
#include "provincerules.h"

#include <QObject>

class QComboBox;
class QLineEdit;
class QVBoxLayout;

namespace ts {

// The victory-points section (fraVictoryPoints): the shown province's victory points and the map's
// victory condition with its value.
class VictoryPanel : public QObject {
  public:
    VictoryPanel(QVBoxLayout* frame, MapDocument& doc, PanelHooks hooks);

    void ShowVictoryPoints(int province);
    // The commit hook: the map's condition and the province's points.
    void CommitVictory(int province);

  private:
    MapDocument& mDoc;
    PanelHooks mHooks;
    int mShown = -1;
    bool mRefreshing = false;
    QLineEdit* mProvinceValue = nullptr;
    QComboBox* mCondition = nullptr;
    QLineEdit* mConditionValue = nullptr;
};

} // namespace ts
