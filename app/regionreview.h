#pragma once

#include "neighbourreview.h"
#include "regionguess.h"

#include <QObject>

class QAction;

namespace ts {

class MainWindow;
class RegionOverlay;
class RegionReviewBar;

// Wires Tools > "Find Neighbors (Regions)" to its review: the guess runs on the open map's picture,
// the overlay shows what it would change and the bar takes or leaves it. Nothing changes in the map
// until the user accepts; accepting is one undo step that marks the map as changed. View >
// "Regions Overlay" shows or hides the regions of the last guess.
class RegionReview : public QObject {
public:
    explicit RegionReview(MainWindow& window);

    // Runs the guess on the open map's picture and starts the review.
    void guess();
    // The reviewed pairs become the neighbour lists.
    void accept();
    // The guess is dropped; the lists stay as they were.
    void discard();
    // The map is closed: whatever was guessed belongs to it and goes with it.
    void forget();

    bool reviewing() const;
    const RegionGuess& lastGuess() const { return mGuess; }
    const NeighbourReview& review() const { return mReview; }
    RegionOverlay& overlay() { return *mOverlay; }

private:
    void endReview();
    void showOverlay(bool on);

    MainWindow& mWindow;
    RegionOverlay* mOverlay;
    RegionReviewBar* mBar;
    QAction* mOverlayItem;
    RegionGuess mGuess;
    NeighbourReview mReview;
    qint64 mPictureKey = 0; // the picture the guess was made on
};

} // namespace ts
