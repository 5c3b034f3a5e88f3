#include "unitfinder.h"

#include "cp1252.h"
#include "finderpictures.h"
#include "unittext.h"
#include "userinterface.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QVBoxLayout>

namespace ts {

namespace {

constexpr int kPreviewSize = 128;

struct FilterRow {
    const char* box;
    const char* caption;
    const char* list; // nullptr: the box alone is the filter
    const ListEntries ReferenceLists::*entries;
    int ReferenceLists::*selected;
};

const FilterRow kFilterRows[] = {
    {"chkUGod", "God", "cboUGod", &ReferenceLists::unitGod, &ReferenceLists::unitGodSelected},
    {"chkUSize", "Size", "cboUSize", &ReferenceLists::unitSize, &ReferenceLists::unitSizeSelected},
    {"chkUMagic", "Magic", "cboUMagic", &ReferenceLists::unitMagic, &ReferenceLists::unitMagicSelected},
    {"chkURMagic", "Random magic", "cboURMagic", &ReferenceLists::unitRandomMagic,
     &ReferenceLists::unitRandomMagicSelected},
    {"chkULead", "Leader", "cboULead", &ReferenceLists::unitLeader, &ReferenceLists::unitLeaderSelected},
    {"chkUCType", "Commander type", "cboUCType", &ReferenceLists::unitCommanderType,
     &ReferenceLists::unitCommanderTypeSelected},
    {"chkUStealth", "Stealth", "cboUStealth", &ReferenceLists::unitStealth, &ReferenceLists::unitStealthSelected},
    {"chkUResist", "Resist", "cboUResist", &ReferenceLists::unitResist, &ReferenceLists::unitResistSelected},
    {"chkUMisc", "Ability", "cboUMisc", &ReferenceLists::unitMisc, &ReferenceLists::unitMiscSelected},
    {"chkUSurvival", "Survival", "cboUSurvival", &ReferenceLists::unitSurvival,
     &ReferenceLists::unitSurvivalSelected},
    {"chkUMove", "Movement", "cboUMove", &ReferenceLists::unitMove, &ReferenceLists::unitMoveSelected},
    {"chkUHero", "Hero", "cboUHero", &ReferenceLists::unitHero, &ReferenceLists::unitHeroSelected},
    {"chkUMounted", "Mounted", nullptr, nullptr, nullptr},
    {"chkUUnique", "Unique", nullptr, nullptr, nullptr},
    {"chkUHoly", "Sacred", nullptr, nullptr, nullptr},
    {"chkUFemale", "Female", nullptr, nullptr, nullptr},
};

} // namespace

UnitFinder::UnitFinder(const ReferenceData& ref, const ReferenceLists& lists, const QString& programFolder,
                       UserInterface& ui, QWidget* parent)
    : FinderWindow("frmUnitFinder", QStringLiteral("Unit Finder"), parent), mRef(ref), mLists(lists),
      mProgramFolder(programFolder), mUi(ui), mPalettes(paletteFolder(programFolder), ui, shippedPaletteFolder(programFolder)),
      mNames(kUnitSlots) {
    openUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    for (const auto& e : lists.unitFinderUnits)
        if (e.value > 0 && e.value < kUnitSlots) mNames[static_cast<std::size_t>(e.value)] = e.text;

    auto* columns = new QHBoxLayout;
    columns->addWidget(buildFilters());
    columns->addWidget(buildChoice(), 1);
    columns->addWidget(buildPalettes());
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(columns, 1);
    outer->addLayout(buttonRow());

    // The list as start-up filled it: every unit, nothing chosen yet.
    applyFilters();
    preview(0);
    refreshPalettes();
}

UnitFinder::~UnitFinder() = default;

QWidget* UnitFinder::buildFilters() {
    auto* frame = new QGroupBox(QStringLiteral("Filters"), this);
    frame->setObjectName(QStringLiteral("fraUnitFilters"));
    auto* grid = new QGridLayout(frame);
    int row = 0;
    for (const FilterRow& f : kFilterRows) {
        QComboBox* list = f.list ? listBox(frame, f.list, mLists.*(f.entries), mLists.*(f.selected)) : nullptr;
        grid->addWidget(filterBox(frame, f.box, QString::fromLatin1(f.caption), list), row, 0);
        if (list) grid->addWidget(list, row, 1);
        ++row;
    }
    grid->addWidget(pushButton(frame, "cmdUApplyFilters", QStringLiteral("Apply Filters"), [this] { applyFilters(); }),
                    row, 0, 1, 2);
    grid->setRowStretch(row + 1, 1);
    return frame;
}

QWidget* UnitFinder::buildChoice() {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    mUnits = new QComboBox(column);
    mUnits->setObjectName(QStringLiteral("cboUnitFound"));
    mUnitModel = new QStandardItemModel(mUnits);
    mUnits->setModel(mUnitModel);
    // Typing a name jumps to it; nothing typed is ever added to the list.
    mUnits->setEditable(true);
    mUnits->setInsertPolicy(QComboBox::NoInsert);
    mUnits->setMaxVisibleItems(25);
    connect(mUnits, &QComboBox::currentIndexChanged, this, [this](int index) { unitChosen(index); });
    layout->addWidget(mUnits);

    auto* numberRow = new QHBoxLayout;
    mNumber = new QLabel(column);
    mNumber->setObjectName(QStringLiteral("lblUnitNumber"));
    mNumber->setMinimumWidth(60);
    onLabelClick(mNumber, [this] { showLink(); });
    mLink = new QLabel(column);
    mLink->setObjectName(QStringLiteral("lblUnitLink"));
    onLabelClick(mLink, [this] {
        if (!mLink->text().isEmpty()) openUrl(QUrl(mLink->text()));
    });
    numberRow->addWidget(new QLabel(QStringLiteral("Unit#"), column));
    numberRow->addWidget(mNumber, 1);
    layout->addLayout(numberRow);
    // A long address is cut rather than widening the window; the whole of it is in the tooltip.
    mLink->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    mLink->setStyleSheet(QStringLiteral("color: palette(link); text-decoration: underline;"));
    layout->addWidget(mLink);

    mPreviewFrame = new QGroupBox(column);
    mPreviewFrame->setObjectName(QStringLiteral("fraUnitPreview"));
    auto* frameLayout = new QHBoxLayout(mPreviewFrame);
    mPicture = pictureLabel(mPreviewFrame, "imgUnitPreview", kPreviewSize, kPreviewSize);
    frameLayout->addWidget(mPicture, 0, Qt::AlignCenter);
    layout->addWidget(mPreviewFrame);

    mDescription = new QPlainTextEdit(column);
    mDescription->setObjectName(QStringLiteral("txtUnitDescription"));
    mDescription->setReadOnly(true);
    mDescription->setMinimumWidth(380);
    layout->addWidget(mDescription, 1);
    return column;
}

QWidget* UnitFinder::buildPalettes() {
    auto* frame = new QGroupBox(QStringLiteral("Unit Palettes"), this);
    frame->setObjectName(QStringLiteral("fraPalettes"));
    auto* layout = new QVBoxLayout(frame);
    mPaletteList = new QListWidget(frame);
    mPaletteList->setObjectName(QStringLiteral("lstPalettes"));
    // Arrow keys choose a palette as well as the mouse does.
    connect(mPaletteList, &QListWidget::currentRowChanged, this, [this] { paletteChosen(); });
    layout->addWidget(mPaletteList);
    layout->addLayout(buttonPair(pushButton(frame, "cmdNewPalette", QStringLiteral("New"), [this] { newPalette(); }),
                                 pushButton(frame, "cmdDeletePalette", QStringLiteral("Delete"),
                                            [this] { deletePalette(); })));

    mPaletteUnits = new QListWidget(frame);
    mPaletteUnits->setObjectName(QStringLiteral("lstPaletteUnits"));
    connect(mPaletteUnits, &QListWidget::itemClicked, this, [this] { paletteUnitChosen(); });
    connect(mPaletteUnits, &QListWidget::itemActivated, this, [this] { paletteUnitChosen(); });
    layout->addWidget(mPaletteUnits, 1);
    layout->addLayout(buttonPair(pushButton(frame, "cmdAddUnit", QStringLiteral("Add Unit"), [this] { addUnit(); }),
                                 pushButton(frame, "cmdRemoveUnit", QStringLiteral("Remove Unit"),
                                            [this] { removeUnit(); })));

    mPaletteDescription = new QPlainTextEdit(frame);
    mPaletteDescription->setObjectName(QStringLiteral("txtPaletteUnitDescription"));
    mPaletteDescription->setReadOnly(true);
    mPaletteDescription->setMaximumHeight(120);
    layout->addWidget(mPaletteDescription);
    frame->setMinimumWidth(220);
    return frame;
}

void UnitFinder::openFor(QLabel* callerSlot) {
    openWindow(callerSlot);
    preview(mPreviewUnit);
    mUnits->setFocus();
}

QString UnitFinder::unitName(int number) const {
    if (number < 1 || number >= kUnitSlots) return QString();
    const QString& cached = mNames[static_cast<std::size_t>(number)];
    return cached.isEmpty() ? fromCp1252(mRef.UnitData[number].name) : cached;
}

UnitFilter UnitFinder::currentFilter() const {
    auto ticked = [this](const char* box) { return findChild<QCheckBox*>(QString::fromLatin1(box))->isChecked(); };
    auto position = [this, &ticked](const char* box, const char* list) -> std::optional<int> {
        if (!ticked(box)) return std::nullopt;
        return findChild<QComboBox*>(QString::fromLatin1(list))->currentIndex();
    };
    auto word = [this, &ticked](const char* box, const char* list) -> std::optional<std::string> {
        if (!ticked(box)) return std::nullopt;
        return toCp1252(findChild<QComboBox*>(QString::fromLatin1(list))->currentText());
    };
    UnitFilter f;
    f.god = position("chkUGod", "cboUGod");
    f.size = position("chkUSize", "cboUSize");
    f.magic = position("chkUMagic", "cboUMagic");
    f.randomMagic = position("chkURMagic", "cboURMagic");
    f.leader = position("chkULead", "cboULead");
    f.commanderType = word("chkUCType", "cboUCType");
    f.stealth = word("chkUStealth", "cboUStealth");
    f.resist = position("chkUResist", "cboUResist");
    f.mounted = ticked("chkUMounted");
    f.unique = ticked("chkUUnique");
    f.holy = ticked("chkUHoly");
    f.female = ticked("chkUFemale");
    f.misc = position("chkUMisc", "cboUMisc");
    f.survival = word("chkUSurvival", "cboUSurvival");
    f.move = word("chkUMove", "cboUMove");
    f.hero = position("chkUHero", "cboUHero");
    return f;
}

void UnitFinder::applyFilters() {
    const std::vector<int> kept = FilterUnits(mRef, currentFilter());
    QList<QStandardItem*> rows;
    rows.reserve(static_cast<qsizetype>(kept.size()) + 1);
    auto entry = [](const QString& text, int number) {
        auto* item = new QStandardItem(text);
        item->setData(number, Qt::UserRole);
        return item;
    };
    rows.append(entry(QStringLiteral("None"), 0));
    for (int number : kept) rows.append(entry(unitName(number), number));
    // One model reset instead of a signal per row keeps typing in the list smooth.
    const QSignalBlocker quiet(mUnits);
    mUnitModel->clear();
    mUnitModel->appendColumn(rows);
    mUnits->setCurrentIndex(-1);
}

void UnitFinder::unitChosen(int index) {
    const int number = index >= 0 ? mUnits->itemData(index).toInt() : 0;
    if (number >= 1) {
        mNumber->setText(QString::number(number));
        mNumber->setToolTip(unitName(number));
    } else {
        mNumber->clear();
        mNumber->setToolTip(QString());
    }
    mLink->clear();
    preview(number);
}

void UnitFinder::preview(int unitNumber) {
    mPreviewUnit = unitNumber >= 1 && unitNumber < kUnitSlots ? unitNumber : 0;
    mPreviewFrame->setTitle(unitName(mPreviewUnit));
    const QString sprite = mPreviewUnit >= 1 ? unitSpriteFile(mProgramFolder, mPreviewUnit) : QString();
    if (sprite.isEmpty()) mPicture->clear();
    else showPicture(mPicture, sprite);
    mDescription->setPlainText(fromCp1252(UnitFinderText(mRef, mPreviewUnit)));
}

QUrl UnitFinder::referenceAddress(const QString& base, int unitNumber) {
    return QUrl(base + QStringLiteral("%1.png").arg(unitNumber, 5, 10, QLatin1Char('0')));
}

void UnitFinder::showLink() {
    bool ok = false;
    const int number = mNumber->text().toInt(&ok);
    const QString base = referenceBase ? referenceBase().trimmed() : QString();
    if (!ok || number < 1 || base.isEmpty()) {
        mLink->clear();
        return;
    }
    const QString address = referenceAddress(base, number).toString();
    mLink->setText(address);
    mLink->setToolTip(address);
}

void UnitFinder::handBack(QLabel& slot) {
    if (mPreviewUnit >= 1) setSlot(slot, mPreviewUnit, unitName(mPreviewUnit), unitSpritePath(mProgramFolder, mPreviewUnit));
    else setSlot(slot, -1, QString(), blankPicturePath(mProgramFolder));
}

// ---- palettes ----

void UnitFinder::refreshPalettes() {
    mPaletteList->clear();
    mPaletteUnits->clear();
    for (const QString& file : mPalettes.list()) {
        auto* item = new QListWidgetItem(file.chopped(4), mPaletteList);
        item->setData(Qt::UserRole, file);
    }
}

QString UnitFinder::selectedPalette() const {
    const QListWidgetItem* item = mPaletteList->currentItem();
    return item && item->isSelected() ? item->data(Qt::UserRole).toString() : QString();
}

std::vector<int> UnitFinder::paletteUnits() const {
    std::vector<int> units;
    for (int i = 0; i < mPaletteUnits->count(); ++i) units.push_back(mPaletteUnits->item(i)->data(Qt::UserRole).toInt());
    return units;
}

void UnitFinder::paletteChosen() {
    mPaletteUnits->clear();
    mPaletteDescription->clear();
    const QString file = selectedPalette();
    if (file.isEmpty()) return;
    const std::optional<std::vector<int>> units = mPalettes.read(file);
    if (!units) return;
    for (int number : *units) {
        auto* item = new QListWidgetItem(unitName(number), mPaletteUnits);
        item->setData(Qt::UserRole, number);
    }
}

void UnitFinder::paletteUnitChosen() {
    const QListWidgetItem* item = mPaletteUnits->currentItem();
    if (!item) return;
    const int number = item->data(Qt::UserRole).toInt();
    mPaletteDescription->setPlainText(fromCp1252(UnitFinderText(mRef, number)));
    preview(number);
}

void UnitFinder::newPalette() {
    const std::optional<QString> file = mPalettes.create();
    if (!file) return;
    refreshPalettes();
    // The new palette is chosen, ready for its first unit.
    for (int i = 0; i < mPaletteList->count(); ++i)
        if (mPaletteList->item(i)->data(Qt::UserRole).toString() == *file) mPaletteList->setCurrentRow(i);
}

void UnitFinder::deletePalette() {
    const QString file = selectedPalette();
    if (file.isEmpty() || !mPalettes.remove(file)) return;
    refreshPalettes();
}

void UnitFinder::addUnit() {
    const QString file = selectedPalette();
    if (file.isEmpty()) {
        mUi.messageBox(QStringLiteral("No Palette Selected!"),
                       QStringLiteral("You must select a Palette before adding units."), Buttons::Ok);
        return;
    }
    if (mPreviewUnit < 1) return;
    std::vector<int> units = paletteUnits();
    units.push_back(mPreviewUnit);
    // The list only shows what the file holds: a palette that cannot be written stays as it was.
    if (!mPalettes.write(file, units)) return;
    auto* item = new QListWidgetItem(unitName(mPreviewUnit), mPaletteUnits);
    item->setData(Qt::UserRole, mPreviewUnit);
    mPaletteUnits->setCurrentItem(item);
}

void UnitFinder::removeUnit() {
    const QString file = selectedPalette();
    if (file.isEmpty()) {
        mUi.messageBox(QStringLiteral("No Palette Selected!"),
                       QStringLiteral("You must select a palette before removing units."), Buttons::Ok);
        return;
    }
    const int row = mPaletteUnits->currentRow();
    if (row < 0) return;
    std::vector<int> units = paletteUnits();
    units.erase(units.begin() + row);
    if (!mPalettes.write(file, units)) return;
    delete mPaletteUnits->takeItem(row);
}

} // namespace ts
