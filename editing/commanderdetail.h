#pragma once

#include "commanderrules.h"
#include "mapdocument.h"

#include <QObject>
#include <QString>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;
class QVBoxLayout;

namespace ts {

class HintEvents;
class SlotEvents;

// The commander detail panel: name, magic levels with their path icons, experience, random
// equipment, clear magic, inside-castle, the eight items (fraCommander), and the ten bodyguard and ten
// unit stacks with their counts (fraCommanderBodyGuards, fraCommanderUnits). It remembers which
// commander it shows, so a commit always writes back to that one.
class CommanderDetail : public QObject {
public:
    CommanderDetail(const MapDocument& doc, const QString& programFolder, HintEvents& hints, QVBoxLayout* commander,
                    QVBoxLayout* bodyguards, QVBoxLayout* units, QObject* parent = nullptr);

    // A control was changed by the user; editFinished after a box was left and its value checked.
    std::function<void()> changed;
    std::function<void()> editFinished;
    // chkInsideFort was pressed: now checked or not.
    std::function<void(bool inside)> insideCastlePressed;
    // cmdRndName was pressed.
    std::function<void()> randomNamePressed;

    void ShowCommanderDetail(int province, int slot);
    // A nation's god on its own, as the nation panels show it.
    void ShowGodDetail(int nation);
    CommanderDetailInput input() const;
    int shownProvince() const { return mProvince; }
    int shownCommander() const { return mCommander; }
    int shownNation() const { return mNation; }

    SlotEvents& stackEvents() { return *mStackEvents; }
    SlotEvents& itemEvents() { return *mItemEvents; }
    QLabel* bodyguardPicture(int k) const { return mGuardPics[k]; }
    QLabel* unitPicture(int k) const { return mUnitPics[k]; }
    QLineEdit* bodyguardCount(int k) const { return mGuardCounts[k]; }
    QLineEdit* unitCount(int k) const { return mUnitCounts[k]; }
    QLabel* item(int i) const { return mItems[i]; }
    QLineEdit* nameBox() const { return mName; }
    QLabel* insideLabel() const { return mInsideLabel; }
    // The stack a picture is: kind 2 bodyguard or 3 unit (as the clipboard counts) and its index.
    bool stackOf(const QLabel* picture, int& kind, int& index) const;
    void markStack(int kind, int index);
    void hideStackSelection();
    void setInsideLabel(bool inside);
    // The description box: the unit of the chosen commander, bodyguard or unit stack.
    void showUnitDescription(const QString& text);
    QPlainTextEdit* unitDescription() const { return mUnitText; }

private:
    void showPathIcons();
    void fill(const CommanderDataType& c, bool castle);

    const MapDocument& mDoc;
    const QString& mFolder; // the window's, which may move to another folder at start-up
    SlotEvents* mStackEvents;
    SlotEvents* mItemEvents;
    QLineEdit* mName = nullptr;
    QToolButton* mRndName = nullptr;
    QLineEdit* mMagic[9] = {};
    QLabel* mPathIcons[9] = {};
    QLineEdit* mXp = nullptr;
    QLineEdit* mRndEquip = nullptr;
    QCheckBox* mClearMagic = nullptr;
    QCheckBox* mInsideFort = nullptr;
    QLabel* mInsideLabel = nullptr;
    QLabel* mItems[kItemSlotsPerCommander] = {};
    QLabel* mGuardPics[kBodyguardSlots] = {};
    QLineEdit* mGuardCounts[kBodyguardSlots] = {};
    QLabel* mUnitPics[kUnitStackSlots] = {};
    QLineEdit* mUnitCounts[kUnitStackSlots] = {};
    QPlainTextEdit* mUnitText = nullptr;
    int mProvince = -1;
    int mCommander = -1;
    int mNation = -1;
    bool mFilling = false;
};

} // namespace ts
