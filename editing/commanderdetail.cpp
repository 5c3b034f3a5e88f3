#include "commanderdetail.h"

#include "commanderstrip.h"
#include "cp1252.h"
#include "slotlabel.h"
#include "slotpictures.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace ts {

namespace {

const char* const kMagicBoxes[9] = {"txtFML", "txtAML", "txtWML", "txtEML", "txtSML",
                                    "txtDML", "txtNML", "txtBML", "txtHML"};
constexpr int kStackPicture = 34;

const char* const kMagicHint = "Gives the commander levels in the given magic type. <1-10>";
const char* const kXpHint = "Gives experience points to this commander. <0-900>";
const char* const kRndEquipHint =
    "Gives random magic items to this commander. Value must be between 0 and 4, 0 means small chance of getting "
    "a magic item and 4 means large chance of getting many powerful items. <0-4>";
const char* const kClearMagicHint = "Check to remove all preset magic skills from the active commander.";
const char* const kUnitsHint = "Value is how many units of this unit type the commander will receive.";
const char* const kGuardsHint = "Value is how many bodyguards of this unit type the commander will receive.";

std::int16_t CommanderDataType::*const kMagicFields[9] = {
    &CommanderDataType::MagFire,   &CommanderDataType::MagAir,    &CommanderDataType::MagWater,
    &CommanderDataType::MagEarth,  &CommanderDataType::MagAstral, &CommanderDataType::MagDeath,
    &CommanderDataType::MagNature, &CommanderDataType::MagBlood,  &CommanderDataType::MagPriest};

QString shownAbove(int value, int floor) {
    return value > floor ? QString::number(value) : QString();
}

QLineEdit* numberBox(QWidget* parent, const QString& name, int width) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setFixedWidth(width);
    return box;
}

} // namespace

CommanderDetail::CommanderDetail(const MapDocument& doc, const QString& programFolder, HintEvents& hints,
                                 QVBoxLayout* commander, QVBoxLayout* bodyguards, QVBoxLayout* units, QObject* parent)
    : QObject(parent), mDoc(doc), mFolder(programFolder), mStackEvents(new SlotEvents(this)),
      mItemEvents(new SlotEvents(this)) {
    auto* top = new QWidget;
    top->setObjectName(QStringLiteral("pnlCommanderDetail"));
    auto* grid = new QGridLayout(top);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Name"), top), 0, 0);
    mName = new QLineEdit(top);
    mName->setObjectName(QStringLiteral("txtCommanderName"));
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(mName, 1);
    mRndName = new QToolButton(top);
    mRndName->setObjectName(QStringLiteral("cmdRndName"));
    mRndName->setText(QStringLiteral("?"));
    mRndName->setToolTip(QStringLiteral("Random name"));
    nameRow->addWidget(mRndName);
    grid->addLayout(nameRow, 0, 1, 1, 5);

    const auto edited = [this] {
        if (!mFilling && changed) changed();
    };
    const auto validateOnLeave = [this](QLineEdit* box, int min, int max) {
        connect(box, &QLineEdit::editingFinished, this, [this, box, min, max] {
            if (mFilling) return;
            const QString checked = ValidatedNumberText(box->text(), min, max);
            if (checked != box->text()) {
                box->setText(checked);
                if (changed) changed();
            }
            if (std::find(std::begin(mMagic), std::end(mMagic), box) != std::end(mMagic))
                showPathIcons();
            if (editFinished) editFinished();
        });
    };

    for (int m = 0; m < 9; ++m) {
        mPathIcons[m] = new QLabel(top);
        mPathIcons[m]->setObjectName(QStringLiteral("imgPath%1").arg(m));
        mPathIcons[m]->setFixedSize(20, 20);
        mPathIcons[m]->setScaledContents(true);
        mMagic[m] = numberBox(top, QString::fromLatin1(kMagicBoxes[m]), 36);
        hints.give(mMagic[m], QString::fromLatin1(kMagicHint));
        const int row = 1 + m / 3, col = (m % 3) * 2;
        auto* cell = new QHBoxLayout;
        cell->addWidget(mPathIcons[m]);
        cell->addWidget(mMagic[m]);
        cell->addStretch(1);
        grid->addLayout(cell, row, col, 1, 2);
        connect(mMagic[m], &QLineEdit::textEdited, this, edited);
        validateOnLeave(mMagic[m], kMagicMin, kMagicMax);
    }

    auto* numbers = new QHBoxLayout;
    numbers->addWidget(new QLabel(QStringLiteral("XP"), top));
    mXp = numberBox(top, QStringLiteral("txtXP"), 44);
    numbers->addWidget(mXp);
    numbers->addWidget(new QLabel(QStringLiteral("Rnd equip"), top));
    mRndEquip = numberBox(top, QStringLiteral("txtRndEquip"), 30);
    numbers->addWidget(mRndEquip);
    mClearMagic = new QCheckBox(QStringLiteral("Clear magic"), top);
    mClearMagic->setObjectName(QStringLiteral("chkClearMagic"));
    numbers->addWidget(mClearMagic);
    numbers->addStretch(1);
    grid->addLayout(numbers, 4, 0, 1, 6);
    hints.give(mXp, QString::fromLatin1(kXpHint));
    hints.give(mRndEquip, QString::fromLatin1(kRndEquipHint));
    hints.give(mClearMagic, QString::fromLatin1(kClearMagicHint));
    for (QLineEdit* box : {mXp, mRndEquip})
        connect(box, &QLineEdit::textEdited, this, edited);
    validateOnLeave(mXp, kXpMin, kXpMax);
    validateOnLeave(mRndEquip, kRandomEquipMin, kRandomEquipMax);
    connect(mClearMagic, &QCheckBox::clicked, this, [this] {
        if (mFilling) return;
        if (changed) changed();
        if (editFinished) editFinished();
    });

    auto* castle = new QHBoxLayout;
    mInsideFort = new QCheckBox(QStringLiteral("In castle"), top);
    mInsideFort->setObjectName(QStringLiteral("chkInsideFort"));
    mInsideLabel = new QLabel(QStringLiteral("OUTSIDE"), top);
    mInsideLabel->setObjectName(QStringLiteral("lblInsideFort"));
    castle->addWidget(mInsideFort);
    castle->addWidget(mInsideLabel);
    castle->addStretch(1);
    grid->addLayout(castle, 5, 0, 1, 6);
    connect(mInsideFort, &QCheckBox::clicked, this, [this](bool on) {
        if (mFilling) return;
        setInsideLabel(on);
        if (insideCastlePressed) insideCastlePressed(on);
    });
    connect(mRndName, &QToolButton::clicked, this, [this] {
        if (randomNamePressed) randomNamePressed();
    });
    connect(mName, &QLineEdit::textEdited, this, edited);
    connect(mName, &QLineEdit::editingFinished, this, [this] {
        if (!mFilling && editFinished) editFinished();
    });

    auto* itemGrid = new QGridLayout;
    itemGrid->setSpacing(2);
    for (int i = 0; i < kItemSlotsPerCommander; ++i) {
        auto* item = new QLabel(top);
        item->setObjectName(QStringLiteral("lblItem%1").arg(i));
        item->setFrameShape(QFrame::StyledPanel);
        item->setMinimumHeight(20);
        item->setToolTip(QStringLiteral("Click to choose an item. Right click to remove it."));
        mItems[i] = item;
        mItemEvents->watch(item);
        itemGrid->addWidget(item, i / 2, i % 2);
    }
    grid->addWidget(new QLabel(QStringLiteral("Items"), top), 6, 0, 1, 6);
    grid->addLayout(itemGrid, 7, 0, 1, 6);
    mUnitText = new QPlainTextEdit(top);
    mUnitText->setObjectName(QStringLiteral("txtCommanderDescription"));
    mUnitText->setReadOnly(true);
    mUnitText->setFixedHeight(84);
    grid->addWidget(mUnitText, 8, 0, 1, 6);
    commander->addWidget(top);

    const auto stackRow = [&](QVBoxLayout* into, const char* picture, const char* box, QLabel** pics,
                              QLineEdit** counts, const char* hint) {
        auto* panel = new QWidget;
        auto* g = new QGridLayout(panel);
        g->setContentsMargins(0, 0, 0, 0);
        g->setSpacing(2);
        for (int k = 0; k < 10; ++k) {
            pics[k] = makeSlotLabel(panel, QString::fromLatin1(picture) + QString::number(k), kStackPicture);
            mStackEvents->watch(pics[k]);
            counts[k] = numberBox(panel, QString::fromLatin1(box) + QString::number(k), kStackPicture);
            hints.give(counts[k], QString::fromLatin1(hint));
            connect(counts[k], &QLineEdit::textEdited, this, edited);
            validateOnLeave(counts[k], kStackMin, kStackMax);
            g->addWidget(pics[k], (k / 5) * 2, k % 5);
            g->addWidget(counts[k], (k / 5) * 2 + 1, k % 5);
        }
        g->setColumnStretch(5, 1);
        into->addWidget(panel);
    };
    stackRow(bodyguards, "imgBodyGuard", "txtBodyGuard", mGuardPics, mGuardCounts, kGuardsHint);
    stackRow(units, "imgUnit", "txtUnit", mUnitPics, mUnitCounts, kUnitsHint);
}

void CommanderDetail::showUnitDescription(const QString& text) {
    mUnitText->setPlainText(text);
}

void CommanderDetail::setInsideLabel(bool inside) {
    mInsideLabel->setText(inside ? QStringLiteral("INSIDE") : QStringLiteral("OUTSIDE"));
}

void CommanderDetail::showPathIcons() {
    for (int m = 0; m < 9; ++m) {
        const bool set = !mMagic[m]->text().trimmed().isEmpty();
        mPathIcons[m]->setPixmap(QPixmap(PathIconPath(mFolder, m, set)));
    }
}

void CommanderDetail::ShowCommanderDetail(int province, int slot) {
    mProvince = province;
    mCommander = slot;
    mNation = -1;
    fill(CommanderShown(mDoc, province, slot), InsideCastleApplies(mDoc, province) && slot >= 0);
}

void CommanderDetail::ShowGodDetail(int nation) {
    static const CommanderDataType none;
    mProvince = mCommander = -1;
    mNation = nation >= 0 && nation < kNationCount ? nation : -1;
    fill(mNation >= 0 ? mDoc.Nations[mNation].God : none, false);
}

void CommanderDetail::fill(const CommanderDataType& c, bool castle) {
    mFilling = true;
    mName->setText(fromCp1252(c.ComName.view()));
    for (int m = 0; m < 9; ++m)
        mMagic[m]->setText(shownAbove(c.*kMagicFields[m], 0));
    mXp->setText(shownAbove(c.Xp, 0));
    mRndEquip->setText(shownAbove(c.RandomEquip, -1));
    mClearMagic->setChecked(c.ClearMagic);
    mInsideFort->setEnabled(castle);
    mInsideFort->setVisible(castle);
    mInsideLabel->setVisible(castle);
    mInsideFort->setChecked(castle && c.InsideCastle);
    setInsideLabel(castle && c.InsideCastle);
    for (int i = 0; i < kItemSlotsPerCommander; ++i)
        mItems[i]->setText(fromCp1252(c.Items[i].view()));
    const auto fillStack = [this](QLabel* pic, QLineEdit* box, const Text& name, int index, int count) {
        if (name.empty() && index < 0) {
            setSlot(pic, QStringLiteral("-1"), QString(), BlankPicturePath(mFolder));
            box->clear();
        } else {
            setSlot(pic, QString::number(index), fromCp1252(name.view()), UnitPicturePath(mFolder, index));
            box->setText(count > 0 ? QString::number(count) : QString());
        }
    };
    for (int k = 0; k < kBodyguardSlots; ++k)
        fillStack(mGuardPics[k], mGuardCounts[k], c.BodyguardName[k], c.BodyguardIndex[k], c.BodyguardCount[k]);
    for (int k = 0; k < kUnitStackSlots; ++k)
        fillStack(mUnitPics[k], mUnitCounts[k], c.UnitsName[k], c.UnitsIndex[k], c.UnitsCount[k]);
    showPathIcons();
    hideStackSelection();
    if (mDoc.CurBodyguardSlot >= 0 && mDoc.CurBodyguardSlot < kBodyguardSlots) markStack(2, mDoc.CurBodyguardSlot);
    if (mDoc.CurUnitSlot >= 0 && mDoc.CurUnitSlot < kUnitStackSlots) markStack(3, mDoc.CurUnitSlot);
    mFilling = false;
}

CommanderDetailInput CommanderDetail::input() const {
    CommanderDetailInput in;
    in.name = mName->text();
    for (int m = 0; m < 9; ++m)
        in.magic[m] = mMagic[m]->text();
    in.xp = mXp->text();
    in.randomEquip = mRndEquip->text();
    in.insideCastle = mInsideFort->isEnabled() && mInsideFort->isChecked();
    in.clearMagic = mClearMagic->isChecked();
    for (int i = 0; i < kItemSlotsPerCommander; ++i)
        in.items[i] = mItems[i]->text();
    for (int k = 0; k < kBodyguardSlots; ++k)
        in.bodyguards[k] = {slotTag(mGuardPics[k]), mGuardPics[k]->toolTip(), mGuardCounts[k]->text()};
    for (int k = 0; k < kUnitStackSlots; ++k)
        in.units[k] = {slotTag(mUnitPics[k]), mUnitPics[k]->toolTip(), mUnitCounts[k]->text()};
    return in;
}

bool CommanderDetail::stackOf(const QLabel* picture, int& kind, int& index) const {
    for (int k = 0; k < 10; ++k) {
        if (picture == mGuardPics[k] || picture == mUnitPics[k]) {
            kind = picture == mGuardPics[k] ? 2 : 3;
            index = k;
            return true;
        }
    }
    return false;
}

void CommanderDetail::markStack(int kind, int index) {
    hideStackSelection();
    if (index < 0 || index >= 10) return;
    markSelected(kind == 2 ? mGuardPics[index] : mUnitPics[index], true);
}

void CommanderDetail::hideStackSelection() {
    for (int k = 0; k < 10; ++k) {
        markSelected(mGuardPics[k], false);
        markSelected(mUnitPics[k], false);
    }
}

} // namespace ts
