#pragma once

#include "neighbourreview.h"

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <functional>
#include <vector>

namespace ts {

// The regions of the last region guess, laid translucently over the map picture, and while a review
// runs the pairs under review as lines between the province pixels: pairs to add green, pairs to
// drop red, pairs kept faint, guessed pairs turned down dotted. It covers the picture at every zoom
// (its cells are stretched to the shown size) and is hidden until there is something to show.
// During a review a left click on the map switches the pair under the mouse instead of linking
// provinces; every other click goes to the map as usual.
class RegionOverlay : public QWidget {
public:
    explicit RegionOverlay(QWidget* mapPicture);

    // The overlay picture, one pixel per region cell; a null picture hides the overlay for good.
    void setRegions(QImage overlay);
    bool hasRegions() const { return !mOverlay.isNull(); }
    const QImage& regions() const { return mOverlay; }
    // View > "Regions Overlay": whether the regions are drawn (the pairs of a review always are).
    void setRegionsShown(bool shown);
    bool regionsShown() const { return mShowRegions; }

    // Draws the pairs of the review and takes left clicks until endReview. positions[n - 1] is the
    // pixel of province n on the unscaled picture of the given size.
    void startReview(const NeighbourReview* review, std::vector<QPoint> positions, QSize picture, bool wrapAround);
    void endReview();
    bool reviewing() const { return mReview != nullptr; }
    // The index of the reviewed pair whose line passes within a few shown pixels of the point on
    // the map picture (nearest first), -1 for none.
    int pairAt(QPointF shown) const;
    // The shown middle of a reviewed pair's line (on a wrapped map, of its piece beside province a).
    QPointF pairMiddle(std::size_t index) const;
    std::function<void(int index)> pairClicked;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    struct Segment {
        QPointF from, to;
    };
    // A pair's line in shown coordinates; on a wrapped map one that is shorter across the edges
    // is drawn in two pieces, each leaving the picture towards the other province.
    std::vector<Segment> segments(std::size_t index) const;
    void updateVisibility();

    QImage mOverlay;
    const NeighbourReview* mReview = nullptr;
    std::vector<QPoint> mPositions;
    QSize mPicture;
    bool mWrap = false;
    bool mShowRegions = false;
};

} // namespace ts
