#include "provincepanel.h"

#include "keeping.h"

#include "referencedata.h"
#include "referencelists.h"
#include "valuerules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace ts {

namespace {

constexpr int kIconSize = 32;
constexpr int kSpriteSize = 42;

const char* const kTerrainCaptions[kTerrainBoxes] = {
    "Plains",    "Sea",       "Deep sea (d)", "Cave (c)", "Border mountain (b)", "Mountain (m)",
    "Waste (w)", "Swamp (s)", "Forest (f)",   "Farm (a)", "Lake or river (r)"};
const char* const kSiteTerrainCaptions[kSiteTerrainBoxes] = {
    "Many sites (y)", "Fire", "Air", "Water", "Earth", "Astral", "Death", "Nature", "Blood", "Holy"};

QString blank() {
    return QStringLiteral("blank.bmp");
}

QLabel* caption(QWidget* parent, const QString& text) {
    return new QLabel(text, parent);
}

// A row of pictures named prefix0, prefix1, ...
void addPictureRow(QWidget* parent, QHBoxLayout* row, const QString& prefix, int size,
                   std::array<PictureLabel*, 8>& pictures) {
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        pictures[i] = new PictureLabel(parent, prefix + QString::number(i), size);
        row->addWidget(pictures[i]);
    }
}

} // namespace

ProvincePanel::ProvincePanel(QVBoxLayout* frame, QWidget* terrainTool, QWidget* fortTool, MapDocument& doc,
                             const ReferenceData& ref, const ReferenceLists& lists, UserInterface& ui,
                             PanelHooks hooks)
    : QObject(frame->parentWidget()), mDoc(doc), mRef(ref), mLists(lists), mUi(ui), mHooks(std::move(hooks)) {
    buildProvinceFrame(frame);
    buildTerrainTool(terrainTool);
    buildFortTool(fortTool);
    ShowProvince(-1);
}

QLineEdit* ProvincePanel::addNumberBox(QWidget* parent, const char* name, const QString& hint, int min,
                                       int max, bool longValue) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setMaximumWidth(70);
    mHooks.hintOn(box, hint);
    connect(box, &QLineEdit::textChanged, this, [this] {
        if (!mRefreshing) changed();
    });
    // An empty box means not set and stays empty; anything else is brought into the range.
    connect(box, &QLineEdit::editingFinished, this, [box, min, max, longValue] {
        if (box->text().trimmed().isEmpty()) return;
        const QString valid =
            QString::number(longValue ? ClampLong(box->text(), min, max)
                                      : ClampInt(box->text(), static_cast<std::int16_t>(min),
                                                 static_cast<std::int16_t>(max)));
        if (box->text() != valid) box->setText(valid);
    });
    return box;
}

void ProvincePanel::buildProvinceFrame(QVBoxLayout* frame) {
    QWidget* body = frame->parentWidget();

    auto* nameRow = new QHBoxLayout;
    mNumber = new QLabel(body);
    mNumber->setObjectName(QStringLiteral("lblProvinceNumber"));
    mNumber->setMinimumWidth(36);
    QFont bold = mNumber->font();
    bold.setBold(true);
    mNumber->setFont(bold);
    mName = new QLineEdit(body);
    mName->setObjectName(QStringLiteral("txtLandName"));
    mHooks.hintOn(mName, QStringLiteral("Sets the name of this province."));
    connect(mName, &QLineEdit::textChanged, this, [this] {
        if (!mRefreshing) changed();
    });
    nameRow->addWidget(mNumber);
    nameRow->addWidget(mName, 1);
    frame->addLayout(nameRow);

    auto* numbers = new QHBoxLayout;
    mPopulation = addNumberBox(body, "txtPopulation",
                               QStringLiteral("Sets the population number of this province. <0-50000>"), 0,
                               50000, true);
    mUnrest = addNumberBox(body, "txtUnrest",
                           QStringLiteral("Sets the unrest level of this province. <0-500>"), 0, 500, false);
    mDefence = addNumberBox(body, "txtDefence",
                            QStringLiteral("Sets the province defence of this province. Cannot be used for "
                                           "independent provinces. <0-125>"),
                            0, 125, false);
    numbers->addWidget(caption(body, QStringLiteral("Population")));
    numbers->addWidget(mPopulation);
    numbers->addWidget(caption(body, QStringLiteral("Unrest")));
    numbers->addWidget(mUnrest);
    numbers->addWidget(caption(body, QStringLiteral("Defence")));
    numbers->addWidget(mDefence);
    frame->addLayout(numbers);

    auto* popFrame = new QFrame(body);
    popFrame->setObjectName(QStringLiteral("fraPopulationType"));
    popFrame->setFrameShape(QFrame::StyledPanel);
    auto* popLayout = new QVBoxLayout(popFrame);
    popLayout->setContentsMargins(4, 4, 4, 4);
    mPopType = new QComboBox(popFrame);
    mPopType->setObjectName(QStringLiteral("cboPopType"));
    for (const ReferenceLists::ListEntry& e : mLists.popTypes)
        mPopType->addItem(e.text, e.value);
    mHooks.hintOn(mPopType,
                  QStringLiteral("Sets the population type of this province; the pictures show what it "
                                 "can recruit."));
    connect(mPopType, &QComboBox::currentIndexChanged, this, [this] {
        if (mRefreshing) return;
        showRecruitables(mPopType->currentData().toInt());
        changed();
    });
    popLayout->addWidget(mPopType);
    auto* recruits = new QHBoxLayout;
    recruits->setSpacing(2);
    addPictureRow(popFrame, recruits, QStringLiteral("imgRecruit"), kSpriteSize, mRecruits);
    recruits->addStretch(1);
    popLayout->addLayout(recruits);
    frame->addWidget(popFrame);

    auto* files = new QGridLayout;
    const struct {
        QLineEdit** box;
        const char* name;
        const char* button;
        const char* label;
        QString hint;
        QString filter;
        bool battleMap;
    } browsers[] = {
        {&mSkyBox, "txtSkyBox", "cmdBrowseSkyBox", "Sky box",
         QStringLiteral("Sets the sky box picture for battles in this province."),
         QStringLiteral("Skybox Image (*.tga;*.rgb)|*.tga;*.rgb"), false},
        {&mBattleMap, "txtBattleMap", "cmdBrowseBattleMap", "Battleground",
         QStringLiteral(
             "Sets the battleground for this province. You can use the special name 'empty' for no "
             "battleground. This will affect fights both outside and inside castles."),
         QStringLiteral("Battlemap Image (*.t3m)|*.t3m"), true},
    };
    int row = 0;
    for (const auto& b : browsers) {
        auto* box = new QLineEdit(body);
        box->setObjectName(QString::fromLatin1(b.name));
        mHooks.hintOn(box, b.hint);
        connect(box, &QLineEdit::textChanged, this, [this] {
            if (!mRefreshing) changed();
        });
        auto* button = new QToolButton(body);
        button->setObjectName(QString::fromLatin1(b.button));
        button->setText(QStringLiteral("..."));
        mHooks.hintOn(button, b.hint);
        const QString filter = b.filter;
        const bool battleMap = b.battleMap;
        connect(button, &QToolButton::clicked, this,
                [this, box, filter, battleMap] { browse(box, filter, battleMap); });
        *b.box = box;
        files->addWidget(caption(body, QString::fromLatin1(b.label)), row, 0);
        files->addWidget(box, row, 1);
        files->addWidget(button, row, 2);
        ++row;
    }
    frame->addLayout(files);

    auto* colours = new QHBoxLayout;
    const struct {
        ColourSwatch** swatch;
        const char* name;
        const char* label;
    } swatches[] = {{&mGround, "lblGround", "Ground"}, {&mRock, "lblRock", "Rock"}, {&mFog, "lblFog", "Fog"}};
    for (const auto& s : swatches) {
        auto* swatch = new ColourSwatch(body, QString::fromLatin1(s.name), mUi);
        mHooks.hintOn(swatch,
                      QStringLiteral("Sets the %1 colour of this province's battles. Left click to choose, "
                                     "right click to unset.")
                          .arg(QString::fromLatin1(s.label).toLower()));
        swatch->changed = [this] { changed(); };
        *s.swatch = swatch;
        colours->addWidget(caption(body, QString::fromLatin1(s.label)));
        colours->addWidget(swatch);
    }
    colours->addStretch(1);
    frame->addLayout(colours);

    auto* features = new QHBoxLayout;
    mFort = new PictureLabel(body, QStringLiteral("imgFort"), kIconSize);
    mHooks.hintOn(mFort, QStringLiteral("Click to choose the fort of this province in the fort tool."));
    mFort->clicked = [this] {
        if (showFortTool) showFortTool();
    };
    mLab = new PictureLabel(body, QStringLiteral("imgLab"), kIconSize);
    mHooks.hintOn(mLab, QStringLiteral("Click to add or remove the laboratory of this province."));
    mLab->clicked = [this] { toggleTag(mLab, QStringLiteral("lab.bmp")); };
    mTemple = new PictureLabel(body, QStringLiteral("imgTemple"), kIconSize);
    mHooks.hintOn(mTemple, QStringLiteral("Click to add or remove the temple of this province."));
    mTemple->clicked = [this] { toggleTag(mTemple, QStringLiteral("temple.bmp")); };
    mVictoryPoint = new PictureLabel(body, QStringLiteral("imgVictoryPoint"), kIconSize);
    mOwner = new PictureLabel(body, QStringLiteral("imgOwner"), 42);
    for (QLabel* l : {static_cast<QLabel*>(mFort), static_cast<QLabel*>(mLab), static_cast<QLabel*>(mTemple),
                      static_cast<QLabel*>(mVictoryPoint), static_cast<QLabel*>(mOwner)})
        features->addWidget(l);
    features->addStretch(1);
    mClear = new QCheckBox(QStringLiteral("Clear Province"), body);
    mClear->setObjectName(QStringLiteral("chkClearProvince"));
    mHooks.hintOn(mClear,
                  QStringLiteral("Check to kill the random inhabitants placed by the game. Uncheck to add "
                                 "units to existing inhabitants of this province."));
    connect(mClear, &QCheckBox::clicked, this, [this] { changed(); });
    features->addWidget(mClear);
    frame->addLayout(features);

    auto* terrain = new QHBoxLayout;
    terrain->setSpacing(1);
    addPictureRow(body, terrain, QStringLiteral("imgTerrain"), kIconSize, mTerrainIcons);
    mTooMany = new QLabel(QStringLiteral("+"), body);
    mTooMany->setObjectName(QStringLiteral("lblTooManySites"));
    mTooMany->setStyleSheet(QStringLiteral("color: red; font-weight: bold; font-size: 16px;"));
    mTooMany->setToolTip(QStringLiteral("More terrain flags are set than can be shown."));
    terrain->addWidget(mTooMany);
    // Terrain bits of later game versions, kept apart from the flags this panel edits.
    mOtherTerrain = new QLabel(body);
    mOtherTerrain->setObjectName(QStringLiteral("lblOtherTerrainBits"));
    terrain->addWidget(mOtherTerrain);
    mProposal = new QLabel(body);
    mProposal->setObjectName(QStringLiteral("lblTerrainProposal"));
    mProposal->setStyleSheet(QStringLiteral("color: #1a5fb4; font-style: italic;"));
    mProposal->hide();
    terrain->addStretch(1);
    frame->addLayout(terrain);
    // On a line of its own: the icon row has no room left beside eight icons.
    frame->addWidget(mProposal);
}

void ProvincePanel::buildTerrainTool(QWidget* tool) {
    auto* grid = new QGridLayout(tool);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(0);
    const auto box = [this, tool](const QString& name, const QString& text, const QString& hint) {
        auto* b = new QCheckBox(text, tool);
        b->setObjectName(name);
        b->setFocusPolicy(Qt::NoFocus);
        mHooks.hintOn(b, hint);
        return b;
    };
    for (int i = 0; i < kTerrainBoxes; ++i) {
        QCheckBox* b = box(QStringLiteral("chkTerrain%1").arg(i), QString::fromLatin1(kTerrainCaptions[i]),
                           TerrainBoxHint(i));
        connect(b, &QCheckBox::clicked, this, [this, i] { terrainClicked(i); });
        mTerrain[static_cast<std::size_t>(i)] = b;
        grid->addWidget(b, i, 0);
    }
    mSmall = box(QStringLiteral("chkTSmall"), QStringLiteral("Small (1)"),
                 QStringLiteral("Terrain Tool: Province is small and has fewer inhabitants."));
    mLarge = box(QStringLiteral("chkTLarge"), QStringLiteral("Large (2)"),
                 QStringLiteral("Terrain Tool: Province is large and has more inhabitants."));
    mNoStart =
        box(QStringLiteral("chkTNoStart"), QStringLiteral("No start (n)"),
            QStringLiteral("Terrain Tool: When checked, tags this province as nonstartable. No player will "
                           "start here."));
    connect(mSmall, &QCheckBox::clicked, this, [this] {
        bool small = mSmall->isChecked(), large = mLarge->isChecked();
        ApplySizeRule(small, large);
        mLarge->setChecked(large);
        changed();
    });
    connect(mLarge, &QCheckBox::clicked, this, [this] {
        bool small = mSmall->isChecked(), large = mLarge->isChecked();
        ApplySizeRule(large, small);
        mSmall->setChecked(small);
        changed();
    });
    connect(mNoStart, &QCheckBox::clicked, this, [this] { changed(); });
    grid->addWidget(mSmall, 0, 1);
    grid->addWidget(mLarge, 1, 1);
    grid->addWidget(mNoStart, 2, 1);
    for (int i = 0; i < kSiteTerrainBoxes; ++i) {
        QCheckBox* b = box(QStringLiteral("chkSiteTerrain%1").arg(i),
                           QString::fromLatin1(kSiteTerrainCaptions[i]), SiteTerrainBoxHint(i));
        connect(b, &QCheckBox::clicked, this, [this] { changed(); });
        mSiteTerrain[static_cast<std::size_t>(i)] = b;
        grid->addWidget(b, i + 3, 1);
    }
}

void ProvincePanel::buildFortTool(QWidget* tool) {
    auto* layout = new QVBoxLayout(tool);
    layout->setContentsMargins(0, 0, 0, 0);
    mForts = new QListWidget(tool);
    mForts->setObjectName(QStringLiteral("lstForts"));
    mForts->setMinimumSize(170, 220);
    for (const ReferenceLists::ListEntry& e : mLists.forts) {
        auto* item = new QListWidgetItem(e.text, mForts);
        item->setData(Qt::UserRole, e.value);
    }
    mHooks.hintOn(mForts,
                  QStringLiteral("Fort Tool: Click a fort to build it in this province, \"none\" to remove "
                                 "the fort."));
    connect(mForts, &QListWidget::currentRowChanged, this, [this](int row) {
        if (mRefreshing || row < 0) return;
        const int fort = mForts->item(row)->data(Qt::UserRole).toInt();
        mFort->setProperty("tag", fort > 0 ? QString::number(fort) : QString());
        mFort->showPicture(IconPath(mHooks.programFolder, fort > 0 ? QStringLiteral("fort.bmp") : blank()),
                           fort > 0 ? mForts->item(row)->text() : QString());
        changed();
    });
    layout->addWidget(mForts);
}

void ProvincePanel::setBoxText(QLineEdit* box, const QString& text) {
    // While the user types, each keystroke commits and the panel is shown again; the box being typed
    // in keeps its own text until it is left.
    if (mRefreshing && mSameProvince && box->hasFocus()) return;
    if (box->text() != text) box->setText(text);
}

void ProvincePanel::ShowProvince(int province) {
    const bool valid = province >= 1 && province <= kMaxProvince;
    mSameProvince = valid && province == mShown;
    mShown = valid ? province : -1;
    mRefreshing = true;
    const ProvinceForm f = ProvinceFormOf(mDoc, mShown);

    mNumber->setText(valid ? QString::number(province) : QString());
    setBoxText(mName, f.landName);
    setBoxText(mPopulation, f.population);
    setBoxText(mUnrest, f.unrest);
    setBoxText(mDefence, f.defence);
    selectPopType(f.popType);
    showRecruitables(valid ? f.popType : 0);
    setBoxText(mSkyBox, f.skyBox);
    setBoxText(mBattleMap, f.batMap);
    mGround->setValue(f.ground);
    mRock->setValue(f.rock);
    mFog->setValue(f.fog);
    mFort->setProperty("tag", f.fort > 0 ? QString::number(f.fort) : QString());
    mLab->setProperty("tag", f.lab);
    mTemple->setProperty("tag", f.temple);
    mOwner->setProperty("tag", f.owner);
    for (int i = 0; i < kTerrainBoxes; ++i)
        mTerrain[static_cast<std::size_t>(i)]->setChecked(f.terrain[static_cast<std::size_t>(i)]);
    for (int i = 0; i < kSiteTerrainBoxes; ++i)
        mSiteTerrain[static_cast<std::size_t>(i)]->setChecked(f.siteTerrain[static_cast<std::size_t>(i)]);
    mSmall->setChecked(f.small);
    mLarge->setChecked(f.large);
    mNoStart->setChecked(f.noStart);
    mClear->setChecked(f.clearProvince);
    int fortRow = 0;
    for (int r = 0; r < mForts->count(); ++r)
        if (mForts->item(r)->data(Qt::UserRole).toInt() == f.fort) fortRow = r;
    mForts->setCurrentRow(fortRow);
    showIcons(mShown);
    mRefreshing = false;
}

void ProvincePanel::selectPopType(int popType) {
    // A population type the table does not name keeps its number rather than becoming "None".
    const int extra = mPopType->findData(QStringLiteral("unlisted"), Qt::UserRole + 1);
    if (extra >= 0) mPopType->removeItem(extra);
    int index = mPopType->findData(popType);
    if (index < 0) {
        mPopType->addItem(QStringLiteral("%1 (not in the table)").arg(popType), popType);
        index = mPopType->count() - 1;
        mPopType->setItemData(index, QStringLiteral("unlisted"), Qt::UserRole + 1);
    }
    mPopType->setCurrentIndex(index);
}

void ProvincePanel::showRecruitables(int popType) {
    std::vector<int> units;
    if (popType >= 1 && popType < kPopSlots) {
        const PopDataType& pop = mRef.PopData[popType];
        for (int k = 0; k < 4; ++k)
            if (pop.commanders[k] > 0) units.push_back(pop.commanders[k]);
        for (int k = 0; k < 4; ++k)
            if (pop.units[k] > 0) units.push_back(pop.units[k]);
    }
    for (std::size_t i = 0; i < mRecruits.size(); ++i) {
        PictureLabel* img = mRecruits[i];
        if (i < units.size()) {
            const int unit = units[i];
            const QString name =
                unit < kUnitSlots ? QString::fromLatin1(mRef.UnitData[unit].name.c_str()) : QString();
            img->showPicture(UnitPicturePath(mHooks.programFolder, unit), name);
        } else if (i == 0 && popType >= 1) {
            img->showPicture(IconPath(mHooks.programFolder, QStringLiteral("norecruitables.bmp")),
                             QStringLiteral("Not Recruitable"));
        } else {
            img->showPicture(QString());
        }
    }
}

void ProvincePanel::showIcons(int province) {
    const QString& folder = mHooks.programFolder;
    const auto icon = [&folder](PictureLabel* img, bool on, const QString& file,
                                const QString& tip = QString()) {
        img->showPicture(IconPath(folder, on ? file : blank()), on ? tip : QString());
    };
    const bool valid = province >= 1;
    const ProvinceDataType empty;
    const ProvinceDataType& p = valid ? mDoc.Provinces[province] : empty;
    const QString fortName = p.Fort > 0 && p.Fort < kFortSlots
                                 ? QString::fromLatin1(mRef.FortData[p.Fort].name.c_str())
                                 : QString();
    icon(mFort, p.Fort > 0, QStringLiteral("fort.bmp"), fortName);
    icon(mLab, p.Lab, QStringLiteral("lab.bmp"), QStringLiteral("Lab"));
    icon(mTemple, p.Temple, QStringLiteral("temple.bmp"), QStringLiteral("Temple"));
    icon(mVictoryPoint, p.VictoryPoints >= 1, QStringLiteral("victorypoint.bmp"),
         QStringLiteral("VP: %1").arg(p.VictoryPoints));
    const int nation = valid ? ShownOwnerNation(p) : -1;
    if (nation >= 0) {
        const NationRefType& n = mRef.NationData[nation];
        mOwner->showPicture(FlagPath(folder, n.era, n.name),
                            QString::fromLatin1((n.era + " " + n.name).c_str()));
    } else {
        mOwner->showPicture(IconPath(folder, blank()));
    }

    const TerrainIcons terrain = valid ? TerrainIconsOf(p) : TerrainIcons{};
    for (int i = 0; i < 8; ++i) {
        const bool on = i < terrain.files.size();
        const QString file = on ? terrain.files[i] : blank();
        const QString tip =
            file == QLatin1String("specialsite.bmp") ? terrain.specialSiteTip : QString(file).remove(".bmp");
        mTerrainIcons[static_cast<std::size_t>(i)]->showPicture(IconPath(folder, file), on ? tip : QString());
    }
    mTooMany->setVisible(terrain.files.size() > 8);
    mOtherTerrain->setText(valid ? OtherTerrainBitsText(p) : QString());
    mOtherTerrain->setVisible(!mOtherTerrain->text().isEmpty());
    showTerrainProposal();
}

void ProvincePanel::showTerrainProposal() {
    const QString text = terrainProposal && mShown >= 1 ? terrainProposal(mShown) : QString();
    mProposal->setText(text);
    mProposal->setVisible(!text.isEmpty());
}

void ProvincePanel::toggleTag(PictureLabel* icon, const QString& picture) {
    const bool on = !icon->property("tag").toBool();
    icon->setProperty("tag", on);
    icon->showPicture(IconPath(mHooks.programFolder, on ? picture : blank()));
    changed();
    mHooks.returnFocus();
}

void ProvincePanel::browse(QLineEdit* box, const QString& filter, bool battleMap) {
    const QString maps = mapsFolder ? mapsFolder() : QString();
    const QString folder = battleMap ? BattleMapFolder(maps) : maps;
    if (const std::optional<QString> chosen =
            mUi.openFileDialog(filter, folder, BrowsePreset(folder, box->text())))
        box->setText(BrowsedValue(folder, *chosen));
    mHooks.returnFocus();
}

void ProvincePanel::terrainClicked(int box) {
    TerrainBoxes boxes{};
    for (int i = 0; i < kTerrainBoxes; ++i)
        boxes[static_cast<std::size_t>(i)] = mTerrain[static_cast<std::size_t>(i)]->isChecked();
    ApplyTerrainRule(boxes, box);
    for (int i = 0; i < kTerrainBoxes; ++i)
        mTerrain[static_cast<std::size_t>(i)]->setChecked(boxes[static_cast<std::size_t>(i)]);
    changed();
}

ProvinceForm ProvincePanel::form() const {
    ProvinceForm f;
    f.landName = mName->text();
    f.population = mPopulation->text();
    f.unrest = mUnrest->text();
    f.defence = mDefence->text();
    f.popType = mPopType->currentData().toInt();
    f.skyBox = mSkyBox->text();
    f.batMap = mBattleMap->text();
    f.ground = mGround->value();
    f.rock = mRock->value();
    f.fog = mFog->value();
    f.owner = mOwner->property("tag").toInt();
    const QString fort = mFort->property("tag").toString();
    f.fort = fort.isEmpty() ? -1 : fort.toInt();
    f.lab = mLab->property("tag").toBool();
    f.temple = mTemple->property("tag").toBool();
    for (int i = 0; i < kTerrainBoxes; ++i)
        f.terrain[static_cast<std::size_t>(i)] = mTerrain[static_cast<std::size_t>(i)]->isChecked();
    for (int i = 0; i < kSiteTerrainBoxes; ++i)
        f.siteTerrain[static_cast<std::size_t>(i)] = mSiteTerrain[static_cast<std::size_t>(i)]->isChecked();
    f.small = mSmall->isChecked();
    f.large = mLarge->isChecked();
    f.noStart = mNoStart->isChecked();
    f.clearProvince = mClear->isChecked();
    return f;
}

void ProvincePanel::CommitProvince(int province, const NodeEdits& nodes) {
    if (province != mShown) return;
    ts::CommitProvince(mDoc, mRef, province, form(), nodes);
}

bool ProvincePanel::keysApply() const {
    // The panel keeps the last province it showed while another panel is up; the keys are for the
    // province the user has chosen now.
    return mShown >= 1 && mDoc.CurProvince == mShown;
}

void ProvincePanel::toggleTerrain(int box) {
    if (keysApply() && box >= 0 && box < kTerrainBoxes) mTerrain[static_cast<std::size_t>(box)]->click();
}

void ProvincePanel::toggleSmall() {
    if (keysApply()) mSmall->click();
}

void ProvincePanel::toggleLarge() {
    if (keysApply()) mLarge->click();
}

void ProvincePanel::toggleNoStart() {
    if (keysApply()) mNoStart->click();
}

void ProvincePanel::toggleSiteTerrain(int box) {
    if (keysApply() && box >= 0 && box < kSiteTerrainBoxes)
        mSiteTerrain[static_cast<std::size_t>(box)]->click();
}

} // namespace ts
