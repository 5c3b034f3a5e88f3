#pragma once

#include "mapdocument.h"
#include "siterules.h"

#include <QString>
#include <QWidget>
#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QPlainTextEdit;

namespace ts {

class HintEvents;
class SlotEvents;
struct ReferenceData;

// The sites of a province (fraSites): four site slots each with its known-site box, the kill-features
// switch, the summary of the sites with their gem income, and the units the sites recruit and summon.
class SitesPanel : public QWidget {
public:
    static constexpr int kUnitPictures = 8;

    SitesPanel(const MapDocument& doc, const ReferenceData& ref, const QString& programFolder, HintEvents& hints,
               QWidget* parent = nullptr);

    // The description texts: the summary of the four slots' site numbers, and one site's own text.
    std::function<QString(const std::array<int, 4>& sites)> sitesSummaryText;
    std::function<QString(int site)> siteDescriptionText;
    // A box was pressed by the user.
    std::function<void()> changed;

    void ShowSites(int province);
    int shownProvince() const { return mProvince; }
    std::array<SiteSlotInput, 4> slotInputs() const;
    bool killFeatures() const;
    // Puts a site into a slot the way the site finder hands one back.
    void setSite(int slot, int site, const QString& name, bool known);

    SlotEvents& events() { return *mEvents; }
    QLabel* site(int s) const { return mSites[s]; }
    QCheckBox* known(int s) const { return mKnown[s]; }
    int slotOf(const QLabel* label) const;
    // The summary (or one site's text, while the pointer rests on its picture) and its gem row.
    void showSummary();
    void showOneSite(int s);

private:
    void showGems(const std::array<int, 8>& gems);
    void showUnits(QLabel* const* pictures, const std::vector<int>& units);
    std::array<int, 4> siteNumbers() const;

    const MapDocument& mDoc;
    const ReferenceData& mRef;
    const QString& mFolder; // the window's, which may move to another folder at start-up
    SlotEvents* mEvents;
    QLabel* mSites[4] = {};
    QCheckBox* mKnown[4] = {};
    QCheckBox* mKill = nullptr;
    QPlainTextEdit* mDescription = nullptr;
    QLabel* mGemPics[9] = {};
    QLabel* mGemCounts[9] = {};
    QLabel* mRecruits[kUnitPictures] = {};
    QLabel* mSummons[kUnitPictures] = {};
    int mProvince = -1;
    bool mFilling = false;
};

} // namespace ts
