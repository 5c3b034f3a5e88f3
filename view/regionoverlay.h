#pragma once

#include <QImage>
#include <QWidget>

namespace ts {

// The regions of the last region guess, laid translucently over the map picture. It covers the
// picture at every zoom (its cells are stretched to the shown size), takes no input and is hidden
// until there is something to show.
class RegionOverlay : public QWidget {
public:
    explicit RegionOverlay(QWidget* mapPicture);

    // The overlay picture, one pixel per region cell; a null picture hides the overlay for good.
    void setRegions(QImage overlay);
    bool hasRegions() const { return !mOverlay.isNull(); }
    const QImage& regions() const { return mOverlay; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QImage mOverlay;
};

} // namespace ts
