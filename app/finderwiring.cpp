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

void FinderWindows::addMenuItems(QMenu* tools, std::function<FinderWindows*()> windows) {
    tools->addSeparator();
    auto item = [tools, windows](const char* name, const QString& caption, void (*open)(FinderWindows&)) {
        QAction* a = tools->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        QObject::connect(a, &QAction::triggered, tools, [windows, open] {
            if (FinderWindows* w = windows()) open(*w);
        });
    };
    item("mnuUnitFinder", QStringLiteral("Unit Finder"), [](FinderWindows& w) { w.mUnit->openFor(w.mBrowseUnit.get()); });
    item("mnuSiteFinder", QStringLiteral("Site Finder"), [](FinderWindows& w) { w.mSite->openFor(w.mBrowseSite.get()); });
    item("mnuItemFinder", QStringLiteral("Item Finder"),
         [](FinderWindows& w) { w.mItem->openFor(w.mBrowseItem.get(), 0, 0); });
}

FinderWindows* MainWindow::finders() {
    if (!mFinders && mTablesLoaded) createFinders();
    return mFinders.get();
}

void MainWindow::wireFinders() {
    FinderWindows::addMenuItems(menuBar()->findChild<QMenu*>(QStringLiteral("mnuTools")), [this] { return finders(); });
}

void MainWindow::createFinders() {
    mFinders = std::make_unique<FinderWindows>(this, referenceData(), *mLists, mProgramFolder, *this,
                                               [this] { mNavigator->NodeClick(); });
    mFinders->unitFinder().referenceBase = [this] { return mSettings.UnitReferenceAddress; };

    // The commander and sites panels open the finders from their slots; a hand-back into one of
    // their slots commits through the panel, so it lands in that slot even when another was picked
    // meanwhile. A hand-back into a browsing slot of the Tools menu only refreshes.
    for (FinderWindow* w : {static_cast<FinderWindow*>(&mFinders->unitFinder()),
                            static_cast<FinderWindow*>(&mFinders->siteFinder()),
                            static_cast<FinderWindow*>(&mFinders->itemFinder())})
        w->afterHandBack = [this, w] {
            if (mCommanderPanels) mCommanderPanels->handBack(w->callerSlot());
            mNavigator->NodeClick();
        };
}

} // namespace ts
