#pragma once

#include "regionguess.h"

#include <QFrame>

class QAction;
class QLabel;

namespace ts {

class MainWindow;
class RegionOverlay;

// Tools > "Find Neighbors (Regions)" and the review that follows it: the regions are laid over the
// map and a bar asks whether their pairs should become the neighbour lists. Nothing changes in the
// map until the user accepts; accepting is one step that replaces every list and marks the map as
// changed. View > "Regions Overlay" shows or hides the regions of the last guess.
class RegionReview : public QFrame {
public:
    explicit RegionReview(MainWindow& window);

    // Runs the guess on the open map's picture and starts the review.
    void guess();
    // The pairs of the guess become the neighbour lists.
    void accept();
    // The guess is dropped; the lists stay as they were.
    void discard();
    // The map is closed: whatever was guessed belongs to it and goes with it.
    void forget();

    bool reviewing() const { return isVisible(); }
    const RegionGuess& lastGuess() const { return mGuess; }

private:
    void showOverlay(bool on);
    void placeBar();

    MainWindow& mWindow;
    RegionOverlay* mOverlay;
    QAction* mOverlayItem;
    QLabel* mText;
    RegionGuess mGuess;
    qint64 mPictureKey = 0; // the picture the guess was made on
};

} // namespace ts
