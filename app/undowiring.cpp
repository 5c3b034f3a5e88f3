// Edit > Undo and Redo: the journal's history moved back and forth, and the window brought up to
// date with the records it gave back.
#include "cp1252.h"
#include "edithistory.h"
#include "mainwindow.h"
#include "mapimage.h"
#include "maplifecycle.h"
#include "mapview.h"
#include "navigator.h"
#include "navigatormodel.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>

namespace ts {

void MainWindow::wireUndo() {
    mNavigator->model().journal = mJournal.get();
    mJournal->changed = [this] { updateUndoMenu(); };
    // The panels commit as the user types; the letters typed into one box make one step.
    mJournal->typing = [this] {
        // The window's own focus child, which it keeps also while another window is active.
        QWidget* focus = focusWidget();
        return qobject_cast<QLineEdit*>(focus) || qobject_cast<QPlainTextEdit*>(focus) ||
               qobject_cast<QAbstractSpinBox*>(focus);
    };

    QMenu* edit = menuBar()->findChild<QMenu*>(QStringLiteral("mnuEdit"));
    QAction* first = edit->actions().value(0);
    auto* undo = new QAction(QStringLiteral("Undo"), edit);
    undo->setObjectName(QStringLiteral("mnuUndo"));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    auto* redo = new QAction(QStringLiteral("Redo"), edit);
    redo->setObjectName(QStringLiteral("mnuRedo"));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    edit->insertAction(first, undo);
    edit->insertAction(first, redo);
    edit->insertSeparator(first);
    connect(undo, &QAction::triggered, this, [this] { moveInHistory(true); });
    connect(redo, &QAction::triggered, this, [this] { moveInHistory(false); });
    updateUndoMenu();
}

void MainWindow::updateUndoMenu() {
    const EditHistory& history = mJournal->history();
    const auto name = [](const char* verb, const std::string& text) {
        return text.empty() ? QString::fromLatin1(verb) : QString::fromLatin1(verb) + QLatin1Char(' ') + fromCp1252(text);
    };
    if (QAction* undo = action("mnuUndo")) {
        undo->setText(name("Undo", history.undoText()));
        undo->setEnabled(history.canUndo());
    }
    if (QAction* redo = action("mnuRedo")) {
        redo->setText(name("Redo", history.redoText()));
        redo->setEnabled(history.canRedo());
    }
}

void MainWindow::moveInHistory(bool back) {
    if (mJournal->open() || mNavigator->model().inNodeClick()) return;
    // An edit still waiting in a panel is the latest one: it becomes a step first, so Undo takes
    // back what the user sees.
    if (back && mDoc.anyPanelDirty()) mNavigator->NodeClick();
    const EditStep* step = back ? mJournal->undo() : mJournal->redo();
    if (step) showHistoryStep(*step);
}

void MainWindow::showHistoryStep(const EditStep& step) {
    if (step.change()) {
        showRenumbered();
        return;
    }
    const std::string chosen = toCp1252(Navigator::keyOf(mNavigator->currentItem()));
    // The picture the map names came back with the header: it is the picture the records belong to.
    const bool reload = step.changesImage(mDoc);
    if (reload && loadImage(fromCp1252(mDoc.ImageFileName.view()))) {
        mMapView->show();
        mMapView->placeWrapCopies();
    }
    // The tree follows the records; what was chosen stays chosen while it exists, and choosing it
    // again shows the records in the panels (nothing is dirty, so nothing is committed).
    // A few provinces are refreshed in place, keeping the branches the user opened; a change of
    // nations, of the picture or of many provinces builds the tree anew.
    const bool fewProvinces = step.provinces().size() <= 50 && step.nations().empty();
    if (!reload && fewProvinces) {
        for (const EditStep::ProvinceRecord& r : step.provinces()) mNavigator->RefreshProvinceNodes(r.province);
    } else if (reload || !step.provinces().empty() || !step.nations().empty()) {
        mNavigator->BuildNavigator();
    }
    if (!chosen.empty() && mNavigator->selectNode(chosen)) mNavigator->NodeClick(chosen);
    else if (mDoc.CurProvince >= 1) mNavigator->NodeClick(ProvinceNodeKey(mDoc.CurProvince));
    else mNavigator->NodeClick();
    mMapView->markSpecial();
    if (mMapView->lastActiveProv() >= 1) mMapView->selectProvince(mMapView->lastActiveProv(), false);
    mLife->WriteRecoveryFile();
}

} // namespace ts
