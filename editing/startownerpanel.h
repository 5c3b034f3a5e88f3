#pragma once

#include "panelwidgets.h"
#include "provincerules.h"

#include <QObject>
#include <array>

class QComboBox;
class QRadioButton;
class QVBoxLayout;

namespace ts {

struct ReferenceLists;

// The start-and-owner section (fraStartAndOwner): the four start options and the owner or
// special-start nation of the shown province.
class StartOwnerPanel : public QObject {
  public:
    StartOwnerPanel(QVBoxLayout* frame, MapDocument& doc, const ReferenceLists& lists, UserInterface& ui,
                    PanelHooks hooks);

    void ShowStartAndOwner(int province);
    StartOwnerChoice choice() const;
    // The commit hook: applies the choice to the shown province.
    void CommitStartAndOwner(int province, const NodeEdits& nodes);

  private:
    void show(const StartOwnerChoice& choice);
    void optionClicked(int option);

    MapDocument& mDoc;
    UserInterface& mUi;
    PanelHooks mHooks;
    int mShown = -1;
    bool mRefreshing = false;
    std::array<QRadioButton*, 4> mOptions{};
    QComboBox* mOwner = nullptr;
};

} // namespace ts
