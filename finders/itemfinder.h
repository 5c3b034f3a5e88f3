#pragma once

#include "finderwindow.h"
#include "itemfilter.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace ts {

// The item finder (frmItemFinder): the magic items narrowed at once by category, artifact and
// special flags and two magic paths with their levels. Opened for an item slot of a commander, it
// preselects the category that fits the slot; OK writes the item's name into the slot's label.
class ItemFinder : public FinderWindow {
public:
    ItemFinder(const ReferenceData& ref, const ReferenceLists& lists, QWidget* parent = nullptr);

    // Shows the finder for an item label of a commander of unit type unitNumber. The item slot
    // (0..7) is the label's "itemSlot" property, or else the number its objectName ends in
    // (lblItem3 is slot 3).
    void openFor(QLabel* itemLabel, int unitNumber);
    void openFor(QLabel* itemLabel, int unitNumber, int itemSlot);

    ItemFilter currentFilter() const;
    void refilter();
    // The chosen item's name, empty for "No Item" or no choice.
    QString currentItemName() const;

protected:
    void handBack(QLabel& callerSlot) override;

private:
    const ReferenceData& mRef;
    QComboBox* mItems = nullptr;
    QComboBox* mCategory = nullptr;
    QCheckBox* mArtifacts = nullptr;
    QCheckBox* mNoArtifacts = nullptr;
    QCheckBox* mSpecial = nullptr;
    QCheckBox* mNoSpecial = nullptr;
    struct PathRow {
        QCheckBox* pathBox;
        QComboBox* path;
        QCheckBox* levelBox;
        QComboBox* level;
    };
    PathRow mPaths[2] = {};
};

} // namespace ts
