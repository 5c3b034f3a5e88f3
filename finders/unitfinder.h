#pragma once

#include "finderwindow.h"
#include "palettes.h"
#include "unitfilter.h"

#include <QUrl>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QStandardItemModel;

namespace ts {

class UserInterface;

// The unit finder (frmUnitFinder): the unit table narrowed by up to sixteen filters, the chosen
// unit's text and picture, the link to its page in the outside unit reference, and the user's unit
// palettes beside them. OK hands the unit back into the slot it was opened for.
class UnitFinder : public FinderWindow {
public:
    UnitFinder(const ReferenceData& ref, const ReferenceLists& lists, const QString& programFolder,
               UserInterface& ui, QWidget* parent = nullptr);
    ~UnitFinder() override;

    // Shows the finder for a slot picture (tag: unit number, tooltip: name, pixmap: picture).
    void openFor(QLabel* callerSlot);

    // Rebuilds the unit list from the ticked filters (cmdUApplyFilters).
    void applyFilters();
    // The filters as the boxes and lists stand.
    UnitFilter currentFilter() const;
    // The unit in the preview, 0 for none; OK hands this one back.
    int currentUnit() const { return mPreviewUnit; }
    // Opens a unit's page in the outside reference; the desktop's handler unless replaced (tests).
    std::function<void(const QUrl&)> openUrl;
    // The outside reference's base address as the settings hold it now; empty (or unset): no link.
    std::function<QString()> referenceBase;
    // A unit's page: the base, the unit number with five digits and ".png".
    static QUrl referenceAddress(const QString& base, int unitNumber);

    void refreshPalettes();

protected:
    void handBack(QLabel& callerSlot) override;

private:
    QWidget* buildFilters();
    QWidget* buildChoice();
    QWidget* buildPalettes();
    void unitChosen(int index);
    void preview(int unitNumber);
    void showLink();
    void paletteChosen();
    void paletteUnitChosen();
    void newPalette();
    void deletePalette();
    void addUnit();
    void removeUnit();
    QString selectedPalette() const;
    std::vector<int> paletteUnits() const;
    QString unitName(int number) const;

    const ReferenceData& mRef;
    const ReferenceLists& mLists;
    QString mProgramFolder;
    UserInterface& mUi;
    UnitPalettes mPalettes;
    std::vector<QString> mNames; // by unit number, converted once

    QStandardItemModel* mUnitModel = nullptr;
    QComboBox* mUnits = nullptr;
    QLabel* mNumber = nullptr;
    QLabel* mLink = nullptr;
    QGroupBox* mPreviewFrame = nullptr;
    QLabel* mPicture = nullptr;
    QPlainTextEdit* mDescription = nullptr;
    QListWidget* mPaletteList = nullptr;
    QListWidget* mPaletteUnits = nullptr;
    QPlainTextEdit* mPaletteDescription = nullptr;
    int mPreviewUnit = 0;
};

} // namespace ts
