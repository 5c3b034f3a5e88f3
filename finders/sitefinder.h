#pragma once

#include "finderwindow.h"
#include "sitefilter.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;

namespace ts {

// The site finder (frmSiteFinder): the named sites narrowed by ten invertible filters, the chosen
// site's text with its gem row, its picture and the pictures of the units it lets a province
// recruit and summon. OK hands the site back into the site slot it was opened for.
class SiteFinder : public FinderWindow {
public:
    SiteFinder(const ReferenceData& ref, const ReferenceLists& lists, const QString& programFolder,
               QWidget* parent = nullptr);

    // Shows the finder for a site picture (tag: site number, tooltip: name, pixmap: picture).
    void openFor(QLabel* callerSlot);

    // Rebuilds the site list from the ticked filters (cmdSApplyFilters).
    void applyFilters();
    SiteFilter currentFilter() const;
    // The site in the preview, 0 for none.
    int currentSite() const { return mSite; }

protected:
    void handBack(QLabel& callerSlot) override;

private:
    QWidget* buildFilters();
    QWidget* buildPreview();
    void preview(int site);

    const ReferenceData& mRef;
    const ReferenceLists& mLists;
    QString mProgramFolder;

    QComboBox* mSites = nullptr;
    QLabel* mNumber = nullptr;
    QLabel* mPicture = nullptr;
    QPlainTextEdit* mDescription = nullptr;
    std::vector<QLabel*> mGemPictures, mGemCounts;
    std::vector<QLabel*> mRecruitPictures, mRecruitNames;
    std::vector<QLabel*> mSummonPictures, mSummonNames;
    int mSite = 0;
};

} // namespace ts
