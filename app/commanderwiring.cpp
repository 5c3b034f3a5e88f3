// The commander strip, commander detail and sites panels with the slot menu, wired into the window.
#include "commanderpanels.h"
#include "mainwindow.h"
#include "mapview.h"
#include "navigator.h"
#include "panelframes.h"
#include "referencedata.h"

namespace ts {

void MainWindow::wireCommanderPanels() {
    mCommanderPanels = new CommanderPanels(mDoc, referenceData(), *this, *mNavigator, *mFrames, mProgramFolder, this);
    CommanderPanels& panels = *mCommanderPanels;
    panels.showHint = [this](const QString& hint) { setStatus(QStringLiteral("MESSAGE"), hint); };
    panels.showStartAndOwner = [this] {
        if (QFrame* frame = mFrames->frame(QString::fromLatin1(kFraStartAndOwner.data()))) {
            frame->show();
            mFrames->ensureWidgetVisible(frame);
        }
        if (auto* owner = findChild<QWidget*>(QStringLiteral("cboOwner"))) owner->setFocus();
    };
    mMapView->keyHooks.push_back(
        [this](int key, Qt::KeyboardModifiers modifiers) { return mCommanderPanels->mapKey(key, modifiers); });
}

} // namespace ts
