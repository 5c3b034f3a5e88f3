#include "regionreview.h"
#include "edithistory.h"

#include "mainwindow.h"
#include "mapimage.h"
#include "mapview.h"
#include "regionoverlay.h"
#include "regionreviewbar.h"

#include <QAction>

namespace ts {

namespace {
constexpr Color kBusyRed = 255;
} // namespace

RegionReview::RegionReview(MainWindow& window)
    : QObject(&window), mWindow(window), mOverlay(new RegionOverlay(&window.mapView())),
      mBar(new RegionReviewBar(window.mapView().parentWidget())),
      mOverlayItem(window.findChild<QAction*>(QStringLiteral("mnuRegionOverlay"))) {
    MapView& view = window.mapView();
    mBar->navigatorWidth = [&view] { return view.navigatorWidth ? view.navigatorWidth() : 0; };
    mBar->accepted = [this] { accept(); };
    mBar->discarded = [this] { discard(); };
    mBar->keepListsChanged = [this](bool keep) {
        mReview.setKeepLists(keep);
        mBar->showCounts(mReview);
        mOverlay->update();
    };
    mOverlay->pairClicked = [this](int index) {
        mReview.toggle(static_cast<std::size_t>(index));
        mBar->showCounts(mReview);
        mOverlay->update();
    };

    if (QAction* item = window.findChild<QAction*>(QStringLiteral("mnuFindNeighborsRegions")))
        connect(item, &QAction::triggered, this, [this] { guess(); });
    if (mOverlayItem) {
        mOverlayItem->setCheckable(true);
        mOverlayItem->setEnabled(false);
        connect(mOverlayItem, &QAction::toggled, this, [this](bool on) { mOverlay->setRegionsShown(on); });
    }
}

bool RegionReview::reviewing() const { return mOverlay->reviewing(); }

void RegionReview::guess() {
    MapImage& image = mWindow.mapImage();
    if (!image.isLoaded()) return;
    MapDocument& doc = mWindow.document();
    const QString caption = mWindow.windowTitle();
    mWindow.busyMessage(QStringLiteral("Finding Neighbors by Regions..."), caption, kBusyRed);
    mWindow.processEvents();
    mGuess = guessRegions(doc, image.source());
    mPictureKey = image.sourceKey();
    mWindow.busyMessage(QString(), caption, kBusyRed);

    // A map linked partly by hand keeps those links unless the user says otherwise.
    const std::vector<RegionPair> lists = neighbourPairs(doc);
    mReview = NeighbourReview(lists, mGuess.pairs, !lists.empty());
    mBar->setKeepLists(mReview.keepLists());
    mOverlay->setRegions(regionOverlay(mGuess.regions));
    mOverlay->startReview(&mReview, provincePixels(doc), image.sourceSize(), doc.WrapAround);
    showOverlay(true);
    mBar->show();
    mBar->showCounts(mReview);
}

void RegionReview::accept() {
    endReview();
    // A guess made on another picture (the map was closed or its picture changed) is not applied.
    if (mGuess.regions.isEmpty() || mWindow.mapImage().sourceKey() != mPictureKey) return;
    MapView& view = mWindow.mapView();
    const EditBracket bracket(&mWindow.journal(), {.neighbours = true}, "Find Neighbors (Regions)");
    if (view.onNeighboursChanging) view.onNeighboursChanging();
    applyNeighbourPairs(mWindow.document(), mReview.result());
    if (view.lastActiveProv() >= 1) view.selectProvince(view.lastActiveProv(), false); // its lines anew
    if (view.onNeighboursChanged) view.onNeighboursChanged();
}

void RegionReview::discard() { endReview(); }

void RegionReview::endReview() {
    mBar->hide();
    mOverlay->endReview();
    showOverlay(false);
}

void RegionReview::forget() {
    endReview();
    mGuess = RegionGuess();
    mReview = NeighbourReview();
    mPictureKey = 0;
    mOverlay->setRegions(QImage());
    if (mOverlayItem) mOverlayItem->setEnabled(false);
}

void RegionReview::showOverlay(bool on) {
    if (!mOverlayItem) {
        mOverlay->setRegionsShown(on);
        return;
    }
    mOverlayItem->setEnabled(mOverlay->hasRegions());
    if (mOverlayItem->isChecked() == on) mOverlay->setRegionsShown(on);
    else mOverlayItem->setChecked(on);
}

} // namespace ts
