#include "scriptmenu.h"

#include "paths.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace ts {

ScriptMenu::ScriptMenu(const QString& programFolder, UserInterface& ui, QWidget* parent)
    : QDialog(parent), mProgramFolder(programFolder), mUi(ui) {
    setObjectName(QStringLiteral("frmScriptMenu"));
    setWindowTitle(QStringLiteral("Custom Tools"));
    mList = new QListWidget(this);
    mList->setObjectName(QStringLiteral("lstScripts"));
    mRun = new QPushButton(QStringLiteral("Run"), this);
    mRun->setObjectName(QStringLiteral("cmdRun"));
    mRun->setDefault(true);
    mCancel = new QPushButton(QStringLiteral("Cancel"), this);
    mCancel->setObjectName(QStringLiteral("cmdCancel"));
    mProgress = new QProgressBar(this);
    mProgress->setObjectName(QStringLiteral("pbScript"));
    mProgress->setTextVisible(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(mProgress, 1);
    buttons->addWidget(mRun);
    buttons->addWidget(mCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mList, 1);
    layout->addLayout(buttons);
    resize(420, 320);

    connect(mRun, &QPushButton::clicked, this, [this] { run(); });
    connect(mList, &QListWidget::itemDoubleClicked, this, [this] { run(); });
    connect(mCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ScriptMenu::fill(int provinceCount) {
    mList->clear();
    mEntries = z_ScriptBuildMenu(mProgramFolder, mUi);
    for (const ScriptEntry& e : mEntries)
        mList->addItem(e.title);
    if (!mEntries.empty()) mList->setCurrentRow(0);
    setProgress(0, provinceCount);
}

void ScriptMenu::setProgress(int value, int maximum) {
    if (mProgress->maximum() != maximum) mProgress->setRange(0, maximum);
    mProgress->setValue(value);
}

void ScriptMenu::run() {
    const int row = mList->currentRow();
    if (row < 0 || row >= static_cast<int>(mEntries.size())) return;
    // The run lets window events through; a second click must not start it again.
    mRun->setEnabled(false);
    mCancel->setEnabled(false);
    mList->setEnabled(false);
    if (runScript)
        runScript(ScriptPath(mProgramFolder, mEntries[static_cast<std::size_t>(row)].fileName));
    accept();
}

} // namespace ts
