// The map header and nation panels in the window: the picture button loads a new map picture and
// the wrap-around switch shows or hides the copies around the map at once.
#include "mainwindow.h"

#include "headerpanels.h"
#include "headerrules.h"
#include "mapheaderpanel.h"
#include "mapimage.h"
#include "mapview.h"
#include "navigator.h"
#include "referencedata.h"
#include "settings.h"

namespace ts {

void MainWindow::wireHeaderPanels() {
    const HeaderPanels panels = AddHeaderPanels(*mFrames, *mNavigator, mDoc, referenceData(), *this);
    MapHeaderPanel* header = panels.header;
    header->wrapAroundChanged = [this] { mMapView->placeWrapCopies(); };
    header->browseImage = [this, header] {
        const QString previous = header->fields().imageFile;
        const auto chosen = BrowseMapImage(*this, mSettings.MapsDirectory, previous);
        if (!chosen) return;
        header->setImageFile(*chosen);
        mMapView->hide();
        mMapView->placeWrapCopies();
        if (!loadImage(*chosen)) {
            // The map keeps the picture it shows.
            header->setImageFile(previous);
            mMapView->show();
            mMapView->placeWrapCopies();
            return;
        }
        mMapView->moveMap((mMapArea->width() - mMapView->width()) / 2, (mMapArea->height() - mMapView->height()) / 2);
        mMapView->show();
        mMapView->placeWrapCopies();
        // The provinces were located again: the tree lists them anew, and the new name is committed.
        mNavigator->BuildNavigator();
        mNavigator->NodeClick("MAP");
        if (!mStartingUp) mMapView->setFocus();
    };
}

} // namespace ts
