#pragma once

#include <QString>
#include <functional>
#include <memory>

class QLabel;
class QMenu;
class QWidget;

namespace ts {

class ItemFinder;
class SiteFinder;
class UnitFinder;
class UserInterface;
struct ReferenceData;
struct ReferenceLists;

// The three finder windows, made the first time one is wanted (they fill lists of every unit, site
// and item, which the start of the editor does not need) and kept hidden until a slot opens them. The Tools menu opens each on a slot of its own, so the tables can be browsed without
// a panel to fill.
class FinderWindows {
public:
    // afterHandBack runs after any finder handed a choice back (the navigator's commit step).
    FinderWindows(QWidget* owner, const ReferenceData& ref, const ReferenceLists& lists, const QString& programFolder,
                  UserInterface& ui, std::function<void()> afterHandBack);
    ~FinderWindows();

    UnitFinder& unitFinder() { return *mUnit; }
    SiteFinder& siteFinder() { return *mSite; }
    ItemFinder& itemFinder() { return *mItem; }

    // Tools > "Unit Finder", "Site Finder", "Item Finder", which make the finders through
    // windows when first chosen.
    static void addMenuItems(QMenu* tools, std::function<FinderWindows*()> windows);

private:
    UnitFinder* mUnit;
    SiteFinder* mSite;
    ItemFinder* mItem;
    // Where a choice made while browsing lands.
    std::unique_ptr<QLabel> mBrowseUnit, mBrowseSite, mBrowseItem;
};

} // namespace ts
