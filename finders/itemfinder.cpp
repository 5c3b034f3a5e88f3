#include "itemfinder.h"

#include "cp1252.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace ts {

namespace {
// Ticking one box of a pair clears the other.
void excludeEachOther(QCheckBox* a, QCheckBox* b) {
    QObject::connect(a, &QCheckBox::toggled, b, [b](bool on) {
        if (on) b->setChecked(false);
    });
    QObject::connect(b, &QCheckBox::toggled, a, [a](bool on) {
        if (on) a->setChecked(false);
    });
}
} // namespace

ItemFinder::ItemFinder(const ReferenceData& ref, const ReferenceLists& lists, QWidget* parent)
    : FinderWindow("frmItemFinder", QStringLiteral("Item Finder"), parent), mRef(ref) {
    auto* grid = new QGridLayout;
    int row = 0;
    mItems = new QComboBox(this);
    mItems->setObjectName(QStringLiteral("cboItem"));
    mItems->setEditable(true);
    mItems->setInsertPolicy(QComboBox::NoInsert);
    mItems->setMaxVisibleItems(25);
    mItems->setMinimumWidth(260);
    grid->addWidget(new QLabel(QStringLiteral("Item"), this), row, 0);
    grid->addWidget(mItems, row++, 1, 1, 3);

    mCategory = listBox(this, "cboItemCategory", lists.itemCategory, lists.itemCategorySelected);
    grid->addWidget(new QLabel(QStringLiteral("Category"), this), row, 0);
    grid->addWidget(mCategory, row++, 1, 1, 3);

    mArtifacts = filterBox(this, "chkIArtifacts", QStringLiteral("Artifacts"));
    mNoArtifacts = filterBox(this, "chkINoArtifacts", QStringLiteral("No artifacts"));
    mSpecial = filterBox(this, "chkISpecial", QStringLiteral("Special"));
    mNoSpecial = filterBox(this, "chkINoSpecial", QStringLiteral("No special"));
    excludeEachOther(mArtifacts, mNoArtifacts);
    excludeEachOther(mSpecial, mNoSpecial);
    grid->addWidget(mArtifacts, row, 0, 1, 2);
    grid->addWidget(mNoArtifacts, row++, 2, 1, 2);
    grid->addWidget(mSpecial, row, 0, 1, 2);
    grid->addWidget(mNoSpecial, row++, 2, 1, 2);

    const struct {
        const char *pathBox, *path, *levelBox, *level, *caption;
        const ListEntries ReferenceLists::*paths;
        const ListEntries ReferenceLists::*levels;
    } paths[2] = {{"chkIP1", "cboIP1", "chkIL1", "cboIL1", "First path", &ReferenceLists::itemPath1,
                   &ReferenceLists::itemLevel1},
                  {"chkIP2", "cboIP2", "chkIL2", "cboIL2", "Second path", &ReferenceLists::itemPath2,
                   &ReferenceLists::itemLevel2}};
    for (int i = 0; i < 2; ++i) {
        PathRow& r = mPaths[i];
        r.path = listBox(this, paths[i].path, lists.*(paths[i].paths), 0);
        r.level = listBox(this, paths[i].level, lists.*(paths[i].levels), 0);
        r.pathBox = filterBox(this, paths[i].pathBox, QString::fromLatin1(paths[i].caption), r.path);
        r.levelBox = filterBox(this, paths[i].levelBox, QStringLiteral("level at most"), r.level);
        grid->addWidget(r.pathBox, row, 0);
        grid->addWidget(r.path, row, 1);
        grid->addWidget(r.levelBox, row, 2);
        grid->addWidget(r.level, row++, 3);
    }

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(grid);
    outer->addStretch(1);
    outer->addLayout(buttonRow("cmdCloseItemFinder"));

    // Every change narrows the list at once.
    auto again = [this] { refilter(); };
    connect(mCategory, &QComboBox::currentIndexChanged, this, again);
    for (QCheckBox* box : {mArtifacts, mNoArtifacts, mSpecial, mNoSpecial}) connect(box, &QCheckBox::toggled, this, again);
    for (const PathRow& r : mPaths) {
        connect(r.pathBox, &QCheckBox::toggled, this, again);
        connect(r.levelBox, &QCheckBox::toggled, this, again);
        connect(r.path, &QComboBox::currentIndexChanged, this, again);
        connect(r.level, &QComboBox::currentIndexChanged, this, again);
    }
    refilter();
}

void ItemFinder::openFor(QLabel* itemLabel, int unitNumber) {
    int slot = 0;
    if (itemLabel) {
        const QVariant given = itemLabel->property("itemSlot");
        if (given.isValid()) {
            slot = given.toInt();
        } else {
            const auto match = QRegularExpression(QStringLiteral("(\\d+)$")).match(itemLabel->objectName());
            if (match.hasMatch()) slot = match.captured(1).toInt();
        }
    }
    openFor(itemLabel, unitNumber, slot);
}

void ItemFinder::openFor(QLabel* itemLabel, int unitNumber, int itemSlot) {
    openWindow(itemLabel);
    const int category =
        unitNumber >= 1 && unitNumber < kUnitSlots ? PreselectItemCategory(mRef.UnitData[unitNumber], itemSlot) : 0;
    if (mCategory->currentIndex() == category) refilter();
    else mCategory->setCurrentIndex(category);
    mCategory->setFocus();
}

ItemFilter ItemFinder::currentFilter() const {
    ItemFilter f;
    if (mCategory->currentIndex() > 0) f.category = toCp1252(mCategory->currentText());
    f.artifacts = mArtifacts->isChecked();
    f.noArtifacts = mNoArtifacts->isChecked();
    f.special = mSpecial->isChecked();
    f.noSpecial = mNoSpecial->isChecked();
    const PathRow& first = mPaths[0];
    const PathRow& second = mPaths[1];
    if (first.pathBox->isChecked()) f.path1 = toCp1252(first.path->currentText());
    if (first.levelBox->isChecked()) f.level1 = first.level->currentData().toInt();
    if (second.pathBox->isChecked()) f.path2 = toCp1252(second.path->currentText());
    if (second.levelBox->isChecked()) f.level2 = second.level->currentData().toInt();
    return f;
}

void ItemFinder::refilter() {
    const QSignalBlocker quiet(mItems);
    mItems->clear();
    mItems->addItem(QStringLiteral("No Item"), -1);
    // Slots the item table never filled are no items; listing them would only add blank lines.
    for (int slot : FilterItems(mRef, currentFilter())) {
        const ItemDataType& item = mRef.ItemData[slot];
        if (!item.name.empty()) mItems->addItem(fromCp1252(item.name), int(item.number));
    }
    mItems->setCurrentIndex(0);
}

QString ItemFinder::currentItemName() const {
    const int index = mItems->currentIndex();
    if (index < 0 || mItems->itemData(index).toInt() < 0) return QString();
    return mItems->itemText(index);
}

void ItemFinder::handBack(QLabel& slot) { slot.setText(currentItemName()); }

} // namespace ts
