// The commander strip, commander detail and sites panels with the slot menu, wired into the window.
#include "commanderpanels.h"
#include "cp1252.h"
#include "finderwiring.h"
#include "itemfinder.h"
#include "mainwindow.h"
#include "mapview.h"
#include "navigator.h"
#include "panelframes.h"
#include "referencedata.h"
#include "sitespanel.h"
#include "sitefinder.h"
#include "sitetext.h"
#include "templatenametools.h"
#include "unitfinder.h"

#include <QKeyEvent>
#include <QLineEdit>

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
    // A failed draw gives the box's own text back, so the name stays as it was.
    panels.randomCommanderName = [this] {
        const auto* box = findChild<QLineEdit*>(QStringLiteral("txtCommanderName"));
        return mTemplateNames->randomCommanderName(box ? box->text() : QString());
    };
    panels.sites().sitesSummaryText = [](const std::array<int, 4>& sites) {
        return fromCp1252(SitesSummaryText(referenceData(), sites).text);
    };
    panels.sites().siteDescriptionText = [](int site) {
        return fromCp1252(SiteDescriptionText(referenceData(), site).text);
    };
    // The finders come with the tables, which are loaded before any map is.
    panels.openUnitFinder = [this](QLabel* slot) { finders()->unitFinder().openFor(slot); };
    panels.openSiteFinder = [this](QLabel* slot) { finders()->siteFinder().openFor(slot); };
    panels.openItemFinder = [this](QLabel* label, int unit) { finders()->itemFinder().openFor(label, unit); };
    mMapView->keyHandlers.push_back(
        [this](QKeyEvent* event) { return mCommanderPanels->mapKey(event->key(), event->modifiers()); });
}

} // namespace ts
