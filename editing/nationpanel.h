#pragma once

#include "nationrules.h"

#include <QWidget>
#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace ts {

class PanelHints;

// The controls of the nation frame (fraGodAndNation): the nation's name, computer player with its
// difficulty, cannot-win, allies, dominion strength and the six dominion scales. It copies
// NationFields to and from its controls and reports edits; the rules live in nationrules.
class NationPanel : public QWidget {
public:
    explicit NationPanel(QWidget* parent = nullptr);

    // A control changed: the nation holds edits the records do not have yet.
    std::function<void()> edited;
    // An edit is complete (a box was left, a switch clicked, an ally chosen): time to commit it.
    std::function<void()> finished;

    void show(const NationFields& fields);
    NationFields fields() const;

    PanelHints& hints() { return *mHints; }

private:
    QLineEdit* numberBox(const char* name, const QString& hint, std::int16_t min, std::int16_t max);
    void userEdited();
    void aiPlayerClicked(bool checked);

    PanelHints* mHints;
    QLabel* mName;
    QCheckBox* mAIPlayer;
    QLineEdit* mDifficulty;
    QCheckBox* mCannotWin;
    QLineEdit* mDominion;
    std::array<QLineEdit*, kScaleBoxes> mScales{};
    QListWidget* mAllies;
    bool mFilling = false;
};

} // namespace ts
