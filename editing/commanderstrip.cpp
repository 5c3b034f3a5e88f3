#include "commanderstrip.h"

#include "commanderrules.h"
#include "cp1252.h"
#include "slotlabel.h"
#include "slotpictures.h"

#include <QGridLayout>

namespace ts {

namespace {
constexpr int kSlotSize = 34;
constexpr int kSlotsPerRow = 10;
} // namespace

void markSelected(QLabel* slot, bool selected) {
    slot->setProperty("selected", selected);
    slot->setStyleSheet(selected ? QStringLiteral("QLabel { border: 2px solid #e02020; }") : QString());
}

CommanderStrip::CommanderStrip(const MapDocument& doc, const QString& programFolder, HintEvents& hints,
                               QWidget* parent)
    : QWidget(parent), mDoc(doc), mFolder(programFolder), mEvents(new SlotEvents(this)) {
    setObjectName(QStringLiteral("pnlCommanderStrip"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(2);
    for (int c = 0; c < kCommanderSlots; ++c) {
        QLabel* s = makeSlotLabel(this, QStringLiteral("imgCommander%1").arg(c), kSlotSize);
        mSlots[c] = s;
        mEvents->watch(s);
        hints.give(s, QString::fromLatin1(kStatusText));
        grid->addWidget(s, c / kSlotsPerRow, c % kSlotsPerRow);
    }
}

int CommanderStrip::slotOf(const QLabel* label) const {
    for (int c = 0; c < kCommanderSlots; ++c)
        if (mSlots[c] == label) return c;
    return -1;
}

void CommanderStrip::ShowCommanderStrip(int province) {
    mProvince = province;
    for (int c = 0; c < kCommanderSlots; ++c) {
        const CommanderDataType& com = CommanderShown(mDoc, province, c);
        if (com.UnitName.empty() && com.UnitIndex < 1)
            setSlot(mSlots[c], QStringLiteral("-1"), QString(), BlankPicturePath(mFolder));
        else
            setSlot(mSlots[c], QString::number(com.UnitIndex), fromCp1252(com.UnitName.view()),
                    UnitPicturePath(mFolder, com.UnitIndex));
    }
    hideSelection();
    if (mDoc.CurCommander >= 0 && mDoc.CurCommander < kCommanderSlots) select(mDoc.CurCommander);
}

void CommanderStrip::select(int c) {
    hideSelection();
    if (c < 0 || c >= kCommanderSlots) return;
    markSelected(mSlots[c], true);
    mSelected = c;
}

void CommanderStrip::hideSelection() {
    if (mSelected >= 0) markSelected(mSlots[mSelected], false);
    mSelected = -1;
}

} // namespace ts
