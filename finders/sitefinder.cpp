#include "sitefinder.h"

#include "cp1252.h"
#include "finderpictures.h"
#include "sitetext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ts {

namespace {

struct FilterRow {
    const char* box;
    const char* notBox;
    const char* caption;
    SiteFilter::Term SiteFilter::*term;
    const char* list; // nullptr: the box alone is the filter
    const ListEntries ReferenceLists::*entries;
    int ReferenceLists::*selected;
};

const FilterRow kFilterRows[] = {
    {"chkSTerrain", "chkNotSTerrain", "Terrain", &SiteFilter::terrain, "cboSTerrain", &ReferenceLists::siteTerrain,
     &ReferenceLists::siteTerrainSelected},
    {"chkSType", "chkNotSType", "Type", &SiteFilter::type, "cboSType", &ReferenceLists::siteType,
     &ReferenceLists::siteTypeSelected},
    {"chkSGems", "chkNotSGems", "Gems", &SiteFilter::gems, "cboSGems", &ReferenceLists::siteGems,
     &ReferenceLists::siteGemsSelected},
    {"chkSStruct", "chkNotSStruct", "Structure", &SiteFilter::structure, "cboSStruct", &ReferenceLists::siteStructure,
     &ReferenceLists::siteStructureSelected},
    {"chkSRUnits", "chkNotSRUnits", "Recruits units", &SiteFilter::recruits, nullptr, nullptr, nullptr},
    {"chkSSUnits", "chkNotSSUnits", "Summons units", &SiteFilter::summons, nullptr, nullptr, nullptr},
    {"chkSPBonus", "chkNotSPBonus", "Research bonus", &SiteFilter::pathBonus, nullptr, nullptr, nullptr},
    {"chkSSBonus", "chkNotSSBonus", "Supply bonus", &SiteFilter::supplyBonus, nullptr, nullptr, nullptr},
    {"chkSGBonus", "chkNotSGBonus", "Gold bonus", &SiteFilter::goldBonus, nullptr, nullptr, nullptr},
    {"chkSScales", "chkNotSScales", "Scales", &SiteFilter::scales, nullptr, nullptr, nullptr},
};

constexpr int kRecruitPictures = 5;
constexpr int kSummonPictures = 3;
constexpr int kSpriteSize = 48;

// A column of unit pictures, each with its name below.
QWidget* unitRow(QWidget* parent, const char* title, const char* pictureName, const char* labelName, int count,
                 std::vector<QLabel*>& pictures, std::vector<QLabel*>& names) {
    auto* frame = new QGroupBox(QString::fromLatin1(title), parent);
    auto* grid = new QGridLayout(frame);
    for (int i = 0; i < count; ++i) {
        QLabel* picture = pictureLabel(frame, (pictureName + std::to_string(i)).c_str(), kSpriteSize, kSpriteSize);
        auto* name = new QLabel(frame);
        name->setObjectName(QString::fromLatin1(labelName) + QString::number(i));
        name->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        name->setWordWrap(true);
        name->setFixedWidth(90);
        name->setMinimumHeight(2 * name->fontMetrics().lineSpacing());
        grid->addWidget(picture, 0, i, Qt::AlignHCenter);
        grid->addWidget(name, 1, i);
        pictures.push_back(picture);
        names.push_back(name);
    }
    return frame;
}

} // namespace

SiteFinder::SiteFinder(const ReferenceData& ref, const ReferenceLists& lists, const QString& programFolder,
                       QWidget* parent)
    : FinderWindow("frmSiteFinder", QStringLiteral("Site Finder"), parent), mRef(ref), mLists(lists),
      mProgramFolder(programFolder) {
    auto* columns = new QHBoxLayout;
    columns->addWidget(buildFilters());
    columns->addWidget(buildPreview(), 1);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(columns, 1);
    outer->addLayout(buttonRow("cmdCloseSiteFinder"));
    applyFilters();
    mSites->setCurrentIndex(mLists.siteFinderSitesSelected);
    preview(0);
}

QWidget* SiteFinder::buildFilters() {
    auto* frame = new QGroupBox(QStringLiteral("Filters"), this);
    frame->setObjectName(QStringLiteral("fraSiteFilters"));
    auto* grid = new QGridLayout(frame);
    grid->addWidget(new QLabel(QStringLiteral("Not"), frame), 0, 1);
    int row = 1;
    for (const FilterRow& f : kFilterRows) {
        QComboBox* list = f.list ? listBox(frame, f.list, mLists.*(f.entries), mLists.*(f.selected)) : nullptr;
        grid->addWidget(filterBox(frame, f.box, QString::fromLatin1(f.caption), list), row, 0);
        grid->addWidget(filterBox(frame, f.notBox, QString()), row, 1);
        if (list) grid->addWidget(list, row, 2);
        ++row;
    }
    grid->addWidget(pushButton(frame, "cmdSApplyFilters", QStringLiteral("Apply Filters"), [this] { applyFilters(); }),
                    row, 0, 1, 3);
    grid->setRowStretch(row + 1, 1);
    return frame;
}

QWidget* SiteFinder::buildPreview() {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* top = new QHBoxLayout;
    mPicture = pictureLabel(column, "imgSiteFinderPicture", 40, 40);
    mSites = new QComboBox(column);
    mSites->setObjectName(QStringLiteral("cboFeature"));
    mSites->setEditable(true);
    mSites->setInsertPolicy(QComboBox::NoInsert);
    mSites->setMaxVisibleItems(25);
    connect(mSites, &QComboBox::currentIndexChanged, this,
            [this](int index) { preview(index >= 0 ? mSites->itemData(index).toInt() : 0); });
    mNumber = new QLabel(column);
    mNumber->setObjectName(QStringLiteral("lblSiteNumber"));
    mNumber->setMinimumWidth(40);
    top->addWidget(mPicture);
    top->addWidget(mSites, 1);
    top->addWidget(new QLabel(QStringLiteral("Site#"), column));
    top->addWidget(mNumber);
    layout->addLayout(top);

    mDescription = new QPlainTextEdit(column);
    mDescription->setObjectName(QStringLiteral("txtSiteFinderDescription"));
    mDescription->setReadOnly(true);
    mDescription->setMinimumSize(360, 140);
    layout->addWidget(mDescription, 1);

    auto* gems = new QGroupBox(QStringLiteral("Gems"), column);
    gems->setObjectName(QStringLiteral("fraSiteFinderGems"));
    auto* gemRow = new QGridLayout(gems);
    for (int g = 0; g < kGemRowPaths; ++g) {
        QLabel* picture = pictureLabel(gems, ("imgSiteFinderGem" + std::to_string(g)).c_str(), 24, 24);
        picture->setToolTip(QString::fromLatin1(gemPathWord(g)));
        auto* count = new QLabel(gems);
        count->setObjectName(QStringLiteral("lblSiteFinderGem%1").arg(g));
        count->setAlignment(Qt::AlignHCenter);
        gemRow->addWidget(picture, 0, g, Qt::AlignHCenter);
        gemRow->addWidget(count, 1, g);
        mGemPictures.push_back(picture);
        mGemCounts.push_back(count);
    }
    layout->addWidget(gems);
    layout->addWidget(unitRow(column, "Recruits", "imgSiteFinderRecruit", "lblSiteFinderRecruit", kRecruitPictures,
                              mRecruitPictures, mRecruitNames));
    layout->addWidget(unitRow(column, "Summons", "imgSiteFinderSummon", "lblSiteFinderSummon", kSummonPictures,
                              mSummonPictures, mSummonNames));
    return column;
}

void SiteFinder::openFor(QLabel* callerSlot) {
    openWindow(callerSlot);
    preview(mSite);
    mSites->setFocus();
}

SiteFilter SiteFinder::currentFilter() const {
    SiteFilter f;
    for (const FilterRow& row : kFilterRows) {
        SiteFilter::Term& term = f.*(row.term);
        term.on = findChild<QCheckBox*>(QString::fromLatin1(row.box))->isChecked();
        term.invert = findChild<QCheckBox*>(QString::fromLatin1(row.notBox))->isChecked();
        if (row.list) term.choice = findChild<QComboBox*>(QString::fromLatin1(row.list))->currentIndex();
    }
    return f;
}

void SiteFinder::applyFilters() {
    const QSignalBlocker quiet(mSites);
    mSites->clear();
    mSites->addItem(QStringLiteral("None"), 0);
    for (int site : FilterSites(mRef, currentFilter())) mSites->addItem(fromCp1252(mRef.SiteData[site].name), site);
    mSites->setCurrentIndex(-1);
}

void SiteFinder::preview(int site) {
    mSite = site >= 1 && site < kSiteSlots ? site : 0;
    const SiteDataType& s = mRef.SiteData[mSite];
    if (mSite >= 1) {
        mNumber->setText(QString::number(mSite));
        mNumber->setToolTip(fromCp1252(s.name));
    } else {
        mNumber->clear();
        mNumber->setToolTip(QString());
    }
    const SiteSummary summary = SiteDescriptionText(mRef, mSite);
    mDescription->setPlainText(fromCp1252(summary.text));
    for (int g = 0; g < kGemRowPaths; ++g) {
        const int count = summary.gems[static_cast<std::size_t>(g)];
        showPicture(mGemPictures[static_cast<std::size_t>(g)], gemPicturePath(mProgramFolder, g, count));
        mGemCounts[static_cast<std::size_t>(g)]->setText(count > 0 ? QString::number(count) : QString());
    }
    showPicture(mPicture, mSite >= 1 ? sitePicturePath(mProgramFolder, fromCp1252(s.siteType))
                                     : blankPicturePath(mProgramFolder));
    auto showUnits = [this](const std::int16_t* numbers, const std::string* names, std::vector<QLabel*>& pictures,
                            std::vector<QLabel*>& labels) {
        for (std::size_t i = 0; i < pictures.size(); ++i) {
            // No site shows no units at all; a site's empty entry shows the table's own "no unit" picture.
            const int number = mSite >= 1 ? numbers[i] : 0;
            showPicture(pictures[i], unitSpritePath(mProgramFolder, number));
            const bool named = number != 0 && names[i] != kEmptyMarkerText;
            labels[i]->setText(named ? fromCp1252(names[i]) : QString());
        }
    };
    showUnits(s.recruits, s.recruitNames, mRecruitPictures, mRecruitNames);
    showUnits(s.summons, s.summonNames, mSummonPictures, mSummonNames);
}

void SiteFinder::handBack(QLabel& slot) {
    if (mSite >= 1) {
        const SiteDataType& s = mRef.SiteData[mSite];
        setSlot(slot, mSite, fromCp1252(s.name), sitePicturePath(mProgramFolder, fromCp1252(s.siteType)));
    } else {
        setSlot(slot, -1, QString(), blankPicturePath(mProgramFolder));
    }
}

} // namespace ts
