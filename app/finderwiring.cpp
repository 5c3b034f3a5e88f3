#include "finderwiring.h"

#include "commanderpanels.h"
#include "itemfinder.h"
#include "mainwindow.h"
#include "navigator.h"
#include "paths.h"
#include "referencedata.h"
#include "settings.h"
#include "sitefinder.h"
#include "unitfinder.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

namespace ts {

FinderWindows::FinderWindows(QWidget* owner, const ReferenceData& ref, const ReferenceLists& lists,
                             const QString& programFolder, UserInterface& ui, std::function<void()> afterHandBack)
    : mUnit(new UnitFinder(ref, lists, programFolder, ui, owner)),
      mSite(new SiteFinder(ref, lists, programFolder, owner)), mItem(new ItemFinder(ref, lists, owner)),
      mBrowseUnit(std::make_unique<QLabel>()), mBrowseSite(std::make_unique<QLabel>()),
      mBrowseItem(std::make_unique<QLabel>()) {
    for (FinderWindow* w : {static_cast<FinderWindow*>(mUnit), static_cast<FinderWindow*>(mSite),
                            static_cast<FinderWindow*>(mItem)}) {
        w->afterHandBack = afterHandBack;
        w->hide();
    }
    mBrowseUnit->setProperty("tag", QStringLiteral("-1"));
    mBrowseSite->setProperty("tag", QStringLiteral("-1"));
}

FinderWindows::~FinderWindows() = default;

void FinderWindows::addMenuItems(QMenu* tools) {
    tools->addSeparator();
    auto item = [tools](const char* name, const QString& caption, std::function<void()> open) {
        QAction* a = tools->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        QObject::connect(a, &QAction::triggered, tools, std::move(open));
    };
    item("mnuUnitFinder", QStringLiteral("Unit Finder"), [this] { mUnit->openFor(mBrowseUnit.get()); });
    item("mnuSiteFinder", QStringLiteral("Site Finder"), [this] { mSite->openFor(mBrowseSite.get()); });
    item("mnuItemFinder", QStringLiteral("Item Finder"), [this] { mItem->openFor(mBrowseItem.get(), 0, 0); });
}

void MainWindow::createFinders() {
    if (mFinders) return;
    mFinders = std::make_unique<FinderWindows>(this, referenceData(), *mLists, mProgramFolder, *this,
                                               [this] { mNavigator->NodeClick(); });
    mFinders->addMenuItems(menuBar()->findChild<QMenu*>(QStringLiteral("mnuTools")));
    mFinders->unitFinder().referenceBase = [this] { return mSettings.UnitReferenceAddress; };

    // The commander and sites panels open the finders from their slots; a hand-back into one of
    // their slots commits through the panel, so it lands in that slot even when another was picked
    // meanwhile. A hand-back into a browsing slot of the Tools menu only refreshes.
    CommanderPanels& panels = *mCommanderPanels;
    panels.openUnitFinder = [this](QLabel* slot) { mFinders->unitFinder().openFor(slot); };
    panels.openSiteFinder = [this](QLabel* slot) { mFinders->siteFinder().openFor(slot); };
    panels.openItemFinder = [this](QLabel* label, int unit) { mFinders->itemFinder().openFor(label, unit); };
    for (FinderWindow* w : {static_cast<FinderWindow*>(&mFinders->unitFinder()),
                            static_cast<FinderWindow*>(&mFinders->siteFinder()),
                            static_cast<FinderWindow*>(&mFinders->itemFinder())})
        w->afterHandBack = [this, w] {
            mCommanderPanels->handBack(w->callerSlot());
            mNavigator->NodeClick();
        };
}

} // namespace ts
