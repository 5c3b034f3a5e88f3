#include "nationpanel.h"

#include "boxtext.h"
#include "panelhints.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace ts {

namespace {

constexpr int kNumberBoxWidth = 48;

} // namespace

NationPanel::NationPanel(QWidget* parent) : QWidget(parent), mHints(new PanelHints(this)) {
    setObjectName(QStringLiteral("pnlNation"));
    auto* form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);

    mName = new QLabel(this);
    mName->setObjectName(QStringLiteral("lblNationName"));
    QFont bold = mName->font();
    bold.setBold(true);
    mName->setFont(bold);
    form->addRow(mName);

    const QString aiHint = QStringLiteral(
        "This nation will always be controlled by the computer. Difficulty ranges from one to five. One is Easy AI. "
        "Two is Standard difficulty, followed by Difficult (3), Mighty (4) and Impossible (5) AI.");
    auto* aiRow = new QHBoxLayout;
    mAIPlayer = new QCheckBox(QStringLiteral("Computer player, difficulty"), this);
    mAIPlayer->setObjectName(QStringLiteral("chkAIPlayer"));
    mHints->add(mAIPlayer, aiHint);
    connect(mAIPlayer, &QCheckBox::clicked, this, [this](bool checked) { aiPlayerClicked(checked); });
    mDifficulty = numberBox("txtDifficulty", aiHint, kDifficultyMin, kDifficultyMax);
    aiRow->addWidget(mAIPlayer);
    aiRow->addWidget(mDifficulty);
    aiRow->addStretch(1);
    form->addRow(aiRow);

    mCannotWin = new QCheckBox(QStringLiteral("Cannot win"), this);
    mCannotWin->setObjectName(QStringLiteral("chkCannotWin"));
    mHints->add(mCannotWin, QStringLiteral("When checked, this nation will not win when they fulfill a special "
                                           "victory condition."));
    connect(mCannotWin, &QCheckBox::clicked, this, [this] {
        userEdited();
        if (finished) finished();
    });
    form->addRow(mCannotWin);

    mDominion = numberBox("txtDominion", QStringLiteral("Sets the dominion strength of a nation. <1-10>"),
                          kDominionMin, kDominionMax);
    form->addRow(QStringLiteral("Dominion strength"), mDominion);

    for (std::size_t s = 0; s < mScales.size(); ++s) {
        const ScaleBox& scale = scaleBoxes()[s];
        mScales[s] = numberBox(scale.control, scaleHint(scale), -kScaleMax, kScaleMax);
        form->addRow(scaleCaption(scale), mScales[s]);
    }

    mAllies = new QListWidget(this);
    mAllies->setObjectName(QStringLiteral("lstAllies"));
    mAllies->setSelectionMode(QAbstractItemView::MultiSelection);
    mAllies->setMinimumHeight(110);
    mHints->add(mAllies, QStringLiteral("When checked, these two players will not attack each other. This will only "
                                        "affect computer players."));
    connect(mAllies, &QListWidget::itemSelectionChanged, this, [this] {
        if (mFilling) return;
        userEdited();
        if (finished) finished();
    });
    form->addRow(QStringLiteral("Allies"), mAllies);
}

QLineEdit* NationPanel::numberBox(const char* name, const QString& hint, std::int16_t min, std::int16_t max) {
    auto* box = new QLineEdit(this);
    box->setObjectName(QString::fromLatin1(name));
    box->setFixedWidth(kNumberBoxWidth);
    mHints->add(box, hint);
    connect(box, &QLineEdit::textEdited, this, [this] { userEdited(); });
    connect(box, &QLineEdit::editingFinished, this, [this, box, min, max] {
        const QString clamped = ClampedIntText(box->text(), min, max);
        if (clamped != box->text()) {
            box->setText(clamped);
            userEdited();
        }
        if (finished) finished();
    });
    return box;
}

void NationPanel::userEdited() {
    if (!mFilling && edited) edited();
}

void NationPanel::aiPlayerClicked(bool checked) {
    const bool proposeDifficulty = checked && mDifficulty->text().trimmed().isEmpty();
    if (proposeDifficulty) mDifficulty->setText(QString::fromLatin1(kStandardDifficulty));
    userEdited();
    if (finished) finished();
    // After the commit, which fills the panel again: the proposal stays selected for typing over.
    if (proposeDifficulty) {
        mDifficulty->selectAll();
        mDifficulty->setFocus();
    }
}

void NationPanel::show(const NationFields& f) {
    mFilling = true;
    mName->setText(f.name);
    mAIPlayer->setChecked(f.aiPlayer);
    mDifficulty->setText(f.difficulty);
    mCannotWin->setChecked(f.cannotWin);
    mDominion->setText(f.dominion);
    for (std::size_t s = 0; s < mScales.size(); ++s) mScales[s]->setText(f.scales[s]);
    // The same allies as shown keep their rows, so the list does not jump back to its top after a click.
    bool sameRows = mAllies->count() == static_cast<int>(f.allies.size());
    for (int row = 0; sameRows && row < mAllies->count(); ++row) {
        const AllyEntry& ally = f.allies[static_cast<std::size_t>(row)];
        const QListWidgetItem* item = mAllies->item(row);
        sameRows = item->data(Qt::UserRole).toInt() == ally.nation && item->text() == ally.caption;
    }
    if (!sameRows) {
        mAllies->clear();
        for (const AllyEntry& ally : f.allies) new QListWidgetItem(ally.caption, mAllies);
    }
    for (int row = 0; row < mAllies->count(); ++row) {
        const AllyEntry& ally = f.allies[static_cast<std::size_t>(row)];
        mAllies->item(row)->setData(Qt::UserRole, ally.nation);
        mAllies->item(row)->setSelected(ally.selected);
    }
    mFilling = false;
}

NationFields NationPanel::fields() const {
    NationFields f;
    f.name = mName->text();
    f.aiPlayer = mAIPlayer->isChecked();
    f.difficulty = mDifficulty->text();
    f.cannotWin = mCannotWin->isChecked();
    f.dominion = mDominion->text();
    for (std::size_t s = 0; s < mScales.size(); ++s) f.scales[s] = mScales[s]->text();
    for (int row = 0; row < mAllies->count(); ++row) {
        const QListWidgetItem* item = mAllies->item(row);
        f.allies.push_back({item->data(Qt::UserRole).toInt(), item->text(), item->isSelected()});
    }
    return f;
}

} // namespace ts
