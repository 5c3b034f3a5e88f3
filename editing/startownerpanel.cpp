#include "startownerpanel.h"

#include "referencelists.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ts {

StartOwnerPanel::StartOwnerPanel(QVBoxLayout* frame, MapDocument& doc, const ReferenceLists& lists,
                                 UserInterface& ui, PanelHooks hooks)
    : QObject(frame->parentWidget()), mDoc(doc), mUi(ui), mHooks(std::move(hooks)) {
    QWidget* body = frame->parentWidget();
    auto* grid = new QGridLayout;
    auto* group = new QButtonGroup(this);
    const char* const captions[] = {"None", "No start", "Start", "Special start"};
    for (int i = 0; i < 4; ++i) {
        auto* option = new QRadioButton(QString::fromLatin1(captions[i]), body);
        option->setObjectName(QStringLiteral("optStart%1").arg(i));
        mHooks.hintOn(option, StartOptionText(i));
        group->addButton(option, i);
        connect(option, &QRadioButton::clicked, this, [this, i] { optionClicked(i); });
        mOptions[static_cast<std::size_t>(i)] = option;
        grid->addWidget(option, i / 2, i % 2);
    }
    frame->addLayout(grid);

    mOwner = new QComboBox(body);
    mOwner->setObjectName(QStringLiteral("cboOwner"));
    for (const ReferenceLists::ListEntry& e : lists.owners)
        mOwner->addItem(e.text, e.value);
    mHooks.hintOn(mOwner,
                  QStringLiteral("Select the owner or special start nation for this province. Be aware "
                                 "that existing god will be moved here if previously set elsewhere."));
    connect(mOwner, &QComboBox::activated, this, [this] {
        if (mRefreshing || mShown < 1) return;
        StartOwnerChoice c = choice();
        ChooseOwner(c, mOwner->currentData().toInt());
        show(c);
        mHooks.changed(StartOwnerDirty);
    });
    frame->addWidget(mOwner);
    ShowStartAndOwner(-1);
}

void StartOwnerPanel::show(const StartOwnerChoice& c) {
    const bool was = mRefreshing;
    mRefreshing = true;
    for (int i = 0; i < 4; ++i)
        mOptions[static_cast<std::size_t>(i)]->setChecked(i == c.option);
    const int entry = mOwner->findData(c.ownerNation);
    mOwner->setCurrentIndex(entry < 0 ? 0 : entry);
    mRefreshing = was;
}

void StartOwnerPanel::ShowStartAndOwner(int province) {
    mShown = province >= 1 && province <= kMaxProvince ? province : -1;
    StartOwnerChoice c;
    if (mShown >= 1) {
        const ProvinceDataType& p = mDoc.Provinces[mShown];
        c.option = ShownStartOption(p);
        c.ownerNation = ShownOwnerNation(p);
    }
    // A radio group keeps one button checked; the blank panel has none.
    mOptions[0]->group()->setExclusive(false);
    show(c);
    mOptions[0]->group()->setExclusive(true);
}

StartOwnerChoice StartOwnerPanel::choice() const {
    StartOwnerChoice c;
    for (int i = 0; i < 4; ++i)
        if (mOptions[static_cast<std::size_t>(i)]->isChecked()) c.option = i;
    c.ownerNation = mOwner->currentIndex() <= 0 ? -1 : mOwner->currentData().toInt();
    return c;
}

void StartOwnerPanel::optionClicked(int option) {
    if (mRefreshing || mShown < 1 || (mHooks.ready && !mHooks.ready())) return;
    StartOwnerChoice c = choice();
    ChooseStartOption(c, option, mDoc.Provinces[mShown], mUi);
    show(c);
    mHooks.changed(StartOwnerDirty);
}

void StartOwnerPanel::CommitStartAndOwner(int province, const NodeEdits& nodes) {
    if (province != mShown) return;
    ts::CommitStartAndOwner(mDoc, province, choice(), nodes);
}

} // namespace ts
