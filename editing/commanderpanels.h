#pragma once

#include "clipboard.h"

#include <QObject>
#include <QString>
#include <array>
#include <functional>

class QAction;
class QLabel;
class QMenu;

namespace ts {

class CommanderDetail;
class CommanderStrip;
class HintEvents;
class Navigator;
class PanelFrames;
class SitesPanel;
class UserInterface;
struct ReferenceData;

// The commander strip, the commander detail panel and the sites panel in their frames, with the slot
// menu and the clipboard behind it. Slot clicks select through the navigator, edits mark their dirty
// flag and commit through it, and the commits it registers write the panels back. programFolder is
// kept by reference: the window learns its folder only at start-up.
class CommanderPanels : public QObject {
public:
    CommanderPanels(MapDocument& doc, const ReferenceData& ref, UserInterface& ui, Navigator& navigator,
                    PanelFrames& frames, const QString& programFolder, QObject* parent = nullptr);
    ~CommanderPanels() override;

    // The finders, opened on a slot: a picture slot takes the choice in its tag, tooltip and picture,
    // an item label in its text. Each hands back through handBack.
    std::function<void(QLabel* slot)> openUnitFinder;
    std::function<void(QLabel* slot)> openSiteFinder;
    std::function<void(QLabel* itemLabel, int unitNumber)> openItemFinder;
    // A random commander name for cmdRndName.
    std::function<QString()> randomCommanderName;
    // The reserved-slot refusal shows the start-and-owner panel with its owner list focused.
    std::function<void()> showStartAndOwner;
    // The status bar's hint for the control under the pointer.
    std::function<void(const QString& hint)> showHint;

    // A finder wrote its choice into this slot or label: mark its panel dirty and commit.
    void handBack(QLabel* slot);

    // The fillers of the province and commander frames; the province panel's own filler runs beside.
    void ShowProvinceSlots(int province);
    void ShowCommanderDetail(int province, int slot);

    // Ctrl+C, Ctrl+V and Del on the map, acting on the slot picked last. Returns whether the key was used.
    bool mapKey(int key, Qt::KeyboardModifiers modifiers);

    CommanderStrip& strip() { return *mStrip; }
    CommanderDetail& detail() { return *mDetail; }
    SitesPanel& sites() { return *mSites; }
    Clipboard& clipboard() { return mClipboard; }
    QMenu& slotMenu() { return *mMenu; }
    // The menu entry 0..3 (Cut, Copy, Paste, Delete).
    QAction* menuEntry(int i) const { return mEntries[i]; }
    int pickedKind() const { return mPickedKind; }

private:
    void commitNow();
    void changed(PanelDirtyFlag flag);
    void selectCommander(int slot, int stackKind, int stack);
    void openMenu(int kind, QLabel* near);
    void menuAction(int entry);
    // Paste or delete through the clipboard as one step of the history.
    void clipboardEdit(const char* verb, int kind, bool (Clipboard::*edit)(int));
    void afterDocumentChange();
    void commitStrip();
    void commitDetail();
    void commitSites();
    NavigatorNodeEdits nodeEdits();
    void wireStrip();
    void wireDetail();
    void wireSites();
    void describeUnit(const CommanderDataType& shown);

    MapDocument& mDoc;
    const ReferenceData& mRef;
    UserInterface& mUi;
    Navigator& mNavigator;
    HintEvents* mHints;
    CommanderStrip* mStrip;
    CommanderDetail* mDetail;
    SitesPanel* mSites;
    QMenu* mMenu;
    std::array<QAction*, 4> mEntries{};
    Clipboard mClipboard;
    int mPickedKind = ClipNone;
};

} // namespace ts
