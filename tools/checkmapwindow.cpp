#include "checkmapwindow.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace ts {

CheckMapWindow::CheckMapWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmCheckMap"));
    setWindowTitle(QStringLiteral("Check Map"));
    mCount = new QLabel(this);
    mCount->setObjectName(QStringLiteral("lblFindings"));
    mList = new QListWidget(this);
    mList->setObjectName(QStringLiteral("lstFindings"));
    mFix = new QPushButton(QStringLiteral("Fix"), this);
    mFix->setObjectName(QStringLiteral("cmdFix"));
    mFix->setEnabled(false);
    auto* again = new QPushButton(QStringLiteral("Check Again"), this);
    again->setObjectName(QStringLiteral("cmdCheckAgain"));
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(mFix);
    buttons->addWidget(again);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mCount);
    layout->addWidget(mList, 1);
    layout->addLayout(buttons);
    resize(620, 380);

    connect(mList, &QListWidget::currentRowChanged, this,
            [this] { mFix->setEnabled(chosen() && chosen()->fixable); });
    connect(mList, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { open(mList->row(item)); });
    connect(mFix, &QPushButton::clicked, this, [this] { fix(); });
    connect(again, &QPushButton::clicked, this, [this] { checkAgain(); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
}

void CheckMapWindow::checkAgain() {
    const int row = mList->currentRow();
    mFindings = check ? check() : std::vector<MapFinding>();
    mList->clear();
    for (const MapFinding& f : mFindings) {
        mList->addItem(f.text);
        if (f.fixable) mList->item(mList->count() - 1)->setToolTip(QStringLiteral("Fix can mend this."));
    }
    const auto count = mFindings.size();
    mCount->setText(count == 0   ? QStringLiteral("Nothing found.")
                    : count == 1 ? QStringLiteral("1 finding")
                                 : QStringLiteral("%1 findings").arg(count));
    if (!mFindings.empty()) mList->setCurrentRow(std::clamp(row, 0, static_cast<int>(mFindings.size()) - 1));
    mFix->setEnabled(chosen() && chosen()->fixable);
}

void CheckMapWindow::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) checkAgain();
}

const MapFinding* CheckMapWindow::chosen() const {
    const int row = mList->currentRow();
    return row >= 0 && row < static_cast<int>(mFindings.size()) ? &mFindings[static_cast<std::size_t>(row)]
                                                                : nullptr;
}

void CheckMapWindow::fix() {
    const MapFinding* f = chosen();
    if (!f || !f->fixable) return;
    if (applyFix) applyFix(*f);
    checkAgain();
}

void CheckMapWindow::open(int row) {
    if (row < 0 || row >= static_cast<int>(mFindings.size())) return;
    const int province = mFindings[static_cast<std::size_t>(row)].province;
    if (province >= 1 && showProvince) showProvince(province);
}

} // namespace ts
