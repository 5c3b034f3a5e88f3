#pragma once

#include "neighbourreview.h"

#include <QFrame>
#include <functional>

class QCheckBox;
class QLabel;

namespace ts {

// The bar of a neighbour review, inside the map area along its bottom edge, beside the navigator:
// what the guess would add, drop and keep, the choice to keep the pairs the lists already hold,
// Accept and Discard. It stays above the floating tools while it is shown.
class RegionReviewBar : public QFrame {
public:
    explicit RegionReviewBar(QWidget* mapArea);

    std::function<void()> accepted, discarded;
    std::function<void(bool keep)> keepListsChanged;
    // Width the navigator takes at the left of the map area (0 when it is hidden).
    std::function<int()> navigatorWidth;

    void showCounts(const NeighbourReview& review);
    void setKeepLists(bool keep);
    void place();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void watchSiblings();

    QLabel* mText;
    QCheckBox* mKeep;
    bool mPlacing = false;
};

} // namespace ts
