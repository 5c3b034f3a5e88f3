#include "sitespanel.h"

#include "commanderrules.h"
#include "cp1252.h"
#include "referencedata.h"
#include "slotlabel.h"
#include "slotpictures.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace ts {

namespace {

constexpr int kSitePicture = 40;
constexpr int kUnitPicture = 30;

const char* const kSiteHint =
    "Click to open site finder. Right click for cut/copy/paste/delete menu. Displays magic sites in this province.";
const char* const kKnownHint =
    "Check to define this site as already found at the start of the game. Using this command prevents special "
    "features of the site that depend on its discovery from activating.";
const char* const kKillHint =
    "Removes all magic sites from the active province. Use to insure that placed sites are not preempted by "
    "random sites placed at game creation.";
const char* const kDescriptionHint = "Displays some combined attributes of all sites in this province. Hover the "
                                     "cursor over a particular site to see only its attributes.";
const char* const kGemHint = "Displays the combined gem income of all sites in this province. Hover the cursor "
                             "over a particular site to see only its gem income.";
const char* const kRecruitHint = "Displays units that are recruitable from this site.";
const char* const kSummonHint = "Displays units that are summonable from this site.";

} // namespace

SitesPanel::SitesPanel(const MapDocument& doc, const ReferenceData& ref, const QString& programFolder,
                       HintEvents& hints, QWidget* parent)
    : QWidget(parent), mDoc(doc), mRef(ref), mFolder(programFolder), mEvents(new SlotEvents(this)) {
    setObjectName(QStringLiteral("pnlSites"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);

    auto* slotRow = new QHBoxLayout;
    for (int s = 0; s < 4; ++s) {
        auto* cell = new QVBoxLayout;
        mSites[s] = makeSlotLabel(this, QStringLiteral("imgSite%1").arg(s), kSitePicture);
        mEvents->watch(mSites[s]);
        hints.give(mSites[s], QString::fromLatin1(kSiteHint));
        mKnown[s] = new QCheckBox(QStringLiteral("Known"), this);
        mKnown[s]->setObjectName(QStringLiteral("chkKnownFeature%1").arg(s));
        hints.give(mKnown[s], QString::fromLatin1(kKnownHint));
        cell->addWidget(mSites[s], 0, Qt::AlignHCenter);
        cell->addWidget(mKnown[s]);
        slotRow->addLayout(cell);
        connect(mKnown[s], &QCheckBox::clicked, this, [this] {
            if (!mFilling && changed) changed();
        });
    }
    slotRow->addStretch(1);
    mKill = new QCheckBox(QStringLiteral("Kill Features"), this);
    mKill->setObjectName(QStringLiteral("chkKillFeatures"));
    hints.give(mKill, QString::fromLatin1(kKillHint));
    connect(mKill, &QCheckBox::clicked, this, [this] {
        if (!mFilling && changed) changed();
    });
    slotRow->addWidget(mKill, 0, Qt::AlignTop);
    column->addLayout(slotRow);

    mDescription = new QPlainTextEdit(this);
    mDescription->setObjectName(QStringLiteral("txtSiteDescription"));
    mDescription->setReadOnly(true);
    mDescription->setFixedHeight(80);
    hints.give(mDescription, QString::fromLatin1(kDescriptionHint));
    column->addWidget(mDescription);

    auto* gems = new QFrame(this);
    gems->setObjectName(QStringLiteral("fraSiteGemSummary"));
    hints.give(gems, QString::fromLatin1(kGemHint));
    auto* gemRow = new QGridLayout(gems);
    gemRow->setContentsMargins(0, 0, 0, 0);
    gemRow->setSpacing(1);
    for (int g = 0; g < 9; ++g) {
        mGemPics[g] = new QLabel(gems);
        mGemPics[g]->setObjectName(QStringLiteral("imgSiteGem%1").arg(g));
        mGemPics[g]->setFixedSize(20, 20);
        mGemPics[g]->setScaledContents(true);
        mGemCounts[g] = new QLabel(gems);
        mGemCounts[g]->setObjectName(QStringLiteral("lblSiteGem%1").arg(g));
        mGemCounts[g]->setAlignment(Qt::AlignCenter);
        gemRow->addWidget(mGemPics[g], 0, g, Qt::AlignHCenter);
        gemRow->addWidget(mGemCounts[g], 1, g);
    }
    column->addWidget(gems);

    const auto unitRow = [&](const char* caption, const char* name, QLabel** pictures, const char* hint) {
        auto* row = new QHBoxLayout;
        auto* label = new QLabel(QString::fromLatin1(caption), this);
        label->setFixedWidth(56);
        row->addWidget(label);
        for (int i = 0; i < kUnitPictures; ++i) {
            pictures[i] = makeSlotLabel(this, QString::fromLatin1(name) + QString::number(i), kUnitPicture);
            hints.give(pictures[i], QString::fromLatin1(hint));
            row->addWidget(pictures[i]);
        }
        row->addStretch(1);
        column->addLayout(row);
    };
    unitRow("Recruit", "imgSiteRecruit", mRecruits, kRecruitHint);
    unitRow("Summon", "imgSiteSummon", mSummons, kSummonHint);

    mEvents->entered = [this](QLabel* slot) { showOneSite(slotOf(slot)); };
    mEvents->left = [this](QLabel*) { showSummary(); };
}

int SitesPanel::slotOf(const QLabel* label) const {
    for (int s = 0; s < 4; ++s)
        if (mSites[s] == label) return s;
    return -1;
}

void SitesPanel::setSite(int slot, int site, const QString& name, bool known) {
    if (slot < 0 || slot >= 4) return;
    if (name.isEmpty() || site < 0)
        setSlot(mSites[slot], QStringLiteral("-1"), QString(), BlankPicturePath(mFolder));
    else
        setSlot(mSites[slot], QString::number(site), name, SitePicturePath(mFolder, mRef, site));
    mKnown[slot]->setChecked(known && !name.isEmpty());
}

void SitesPanel::ShowSites(int province) {
    mFilling = true;
    mProvince = province;
    for (int s = 0; s < 4; ++s) {
        const SiteSlotInput in = SiteSlotOf(mDoc, province, s);
        setSite(s, SlotTagNumber(in.tag), in.name, in.known);
    }
    mKill->setChecked(province >= 1 && province <= kMaxProvince && mDoc.Provinces[province].KillFeatures);
    const std::array<int, 4> sites = siteNumbers();
    showUnits(mRecruits, SiteUnits(mRef, sites, false));
    showUnits(mSummons, SiteUnits(mRef, sites, true));
    showSummary();
    mFilling = false;
}

std::array<int, 4> SitesPanel::siteNumbers() const {
    std::array<int, 4> sites{};
    for (int s = 0; s < 4; ++s)
        sites[s] = SlotTagNumber(slotTag(mSites[s]));
    return sites;
}

std::array<SiteSlotInput, 4> SitesPanel::slotInputs() const {
    std::array<SiteSlotInput, 4> out;
    for (int s = 0; s < 4; ++s)
        out[s] = {slotTag(mSites[s]), mSites[s]->toolTip(), mKnown[s]->isChecked()};
    return out;
}

bool SitesPanel::killFeatures() const {
    return mKill->isChecked();
}

void SitesPanel::showSummary() {
    const std::array<int, 4> sites = siteNumbers();
    mDescription->setPlainText(sitesSummaryText ? sitesSummaryText(sites) : QString());
    showGems(SiteGemTotals(mRef, sites));
}

void SitesPanel::showOneSite(int s) {
    if (s < 0 || s >= 4) return;
    const int site = SlotTagNumber(slotTag(mSites[s]));
    mDescription->setPlainText(siteDescriptionText ? siteDescriptionText(site) : QString());
    showGems(SiteGemTotals(mRef, {site, -1, -1, -1}));
}

void SitesPanel::showGems(const std::array<int, 8>& gems) {
    for (int g = 0; g < 9; ++g) {
        const int count = g < 8 ? gems[g] : 0;
        mGemPics[g]->setPixmap(QPixmap(PathIconPath(mFolder, g, count > 0)));
        mGemCounts[g]->setText(count > 0 ? QString::number(count) : QString());
    }
}

void SitesPanel::showUnits(QLabel* const* pictures, const std::vector<int>& units) {
    for (int i = 0; i < kUnitPictures; ++i) {
        if (i < static_cast<int>(units.size())) {
            const int u = units[i];
            const QString name = u >= 0 && u < kUnitSlots ? fromCp1252(mRef.UnitData[u].name) : QString();
            setSlot(pictures[i], QString::number(u), name, UnitPicturePath(mFolder, u));
        } else {
            setSlot(pictures[i], QStringLiteral("-1"), QString(), BlankPicturePath(mFolder));
        }
    }
}

} // namespace ts
