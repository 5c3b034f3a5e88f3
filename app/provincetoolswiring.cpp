// Tools > Insert, Remove and Move Province, File > Follow Changed Picture..., and the picture's part
// of saving and opening a map.
#include "cp1252.h"
#include "edithistory.h"
#include "imagedecoder.h"
#include "mainwindow.h"

#include "commanderpanels.h"
#include "mapimage.h"
#include "maplifecycle.h"
#include "mapview.h"
#include "navigator.h"
#include "navigatormodel.h"
#include "picturesave.h"
#include "provincememory.h"
#include "provincetools.h"
#include "regionreview.h"

#include <QAction>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace ts {

void MainWindow::wireProvinceTools() {
    mProvinceTools = std::make_unique<ProvinceTools>(*mMapView, *mImage, mDoc, *mJournal, *this);
    // A panel edit still waiting belongs to the province as numbered now; a region guess waiting
    // for its answer pairs provinces by the old numbers.
    mProvinceTools->beforeEdit = [this] {
        if (mDoc.anyPanelDirty()) mNavigator->NodeClick();
        if (mRegionReview) mRegionReview->forget();
    };
    mProvinceTools->renumbered = [this] { showRenumbered(); };
    mProvinceTools->setStatus = [this](const QString& key, const QString& text) { setStatus(key, text); };
    connect(action("mnuInsertProvince"), &QAction::triggered, this, [this] { mProvinceTools->armInsert(); });
    connect(action("mnuRemoveProvince"), &QAction::triggered, this, [this] { mProvinceTools->removeSelected(); });
    connect(action("mnuMoveProvince"), &QAction::triggered, this, [this] { mProvinceTools->armMove(); });
    connect(action("mnuFollowChangedPicture"), &QAction::triggered, this, [this] { followChangedPicture(); });
}

void MainWindow::showRenumbered() {
    // A copied slot is remembered by its province's number, which may now be another province's.
    if (mCommanderPanels) mCommanderPanels->clipboard().reset();
    mMapView->setLastActiveProv(mDoc.CurProvince >= 1 ? mDoc.CurProvince : 0);
    mMapView->zoom(mImage->zoomIndex());
    mNavigator->BuildNavigator();
    if (mDoc.CurProvince >= 1) mNavigator->NodeClick(ProvinceNodeKey(mDoc.CurProvince));
    else mNavigator->NodeClick("MAP");
    mMapView->markSpecial();
    mLife->WriteRecoveryFile();
    // The recovery copy is numbered for the picture as it is now, which is on disk only once saved.
    if (mImage->isLoaded()) RememberPlaces(MapLifecycle::recoveryPath(mapFilePath()), PlacesOf(mDoc));
}

bool MainWindow::writeChangedPicture() {
    if (mDoc.anyPanelDirty()) mNavigator->NodeClick();
    const Text named = mDoc.ImageFileName;
    if (!SaveChangedPicture(mDoc, *mImage, mProvinceTools->touchedPixels(), *this)) return false;
    mProvinceTools->pictureWritten();
    // The map now names the Targa copy: the panel showing the header shows it too.
    if (mDoc.ImageFileName != named) mNavigator->NodeClick(toCp1252(Navigator::keyOf(mNavigator->currentItem())));
    return true;
}

void MainWindow::rememberPlaces() {
    ForgetPlaces(MapLifecycle::recoveryPath(mapFilePath()));
    if (mImage->isLoaded()) RememberPlaces(mapFilePath(), PlacesOf(mDoc));
}

void MainWindow::followRememberedPlaces(bool fromRecovery) {
    if (!mImage->isLoaded()) return;
    const QString recovery = MapLifecycle::recoveryPath(mapFilePath());
    // Work recovered after the province tools is numbered for a picture that was never saved.
    if (fromRecovery) {
        if (const auto before = RememberedPlaces(recovery)) {
            followPicture(*before, QStringLiteral("in the picture on disk compared with the recovered work, whose "
                                                  "picture changes were never saved"));
            return;
        }
    } else {
        ForgetPlaces(recovery);
    }
    if (const auto before = RememberedPlaces(mapFilePath()))
        followPicture(*before, QStringLiteral("since this map was last saved in Tessary"));
}

void MainWindow::followChangedPicture() {
    if (!mImage->isLoaded()) return;
    const auto chosen = openFileDialog(QStringLiteral("Old Map Image (*.tga;*.rgb)|*.tga;*.rgb"),
                                       QFileInfo(mapFilePath()).absolutePath(), QString());
    if (!chosen) return;
    const LocatedPixels old = locatePictureFile(*chosen, isSgiName(QFileInfo(*chosen).fileName()), kMaxProvince);
    if (!old.error.isEmpty()) {
        reportUnloadableImage(*this, *chosen, old.error);
        return;
    }
    std::vector<ProvincePlace> before;
    for (const QPoint& p : old.pixels) before.push_back({p.x(), p.y()});
    if (MatchPlaces(before, PlacesOf(mDoc)).changesNothing()) {
        messageBox(QStringLiteral("Follow Changed Picture"),
                   QStringLiteral("The provinces of the old picture are numbered as on this one; nothing to renumber."),
                   Buttons::Ok);
        return;
    }
    followPicture(before, QStringLiteral("compared with the old picture"));
}

void MainWindow::followPicture(const std::vector<ProvincePlace>& before, const QString& since) {
    if (mDoc.anyPanelDirty()) mNavigator->NodeClick();
    const std::vector<ProvincePlace> now = PlacesOf(mDoc);
    const auto renumbering = AskToFollowPicture(before, now, since, *this);
    if (!renumbering) return;
    // The records are numbered for the old picture, but stand on the new one: undo gives back
    // exactly that.
    auto change = std::make_unique<RenumberChange>(*renumbering, now, now, std::vector<PixelEdit>{}, nullptr);
    change->apply(mDoc);
    mJournal->record(EditStep::of(std::move(change), "Renumber for Changed Picture"));
    showRenumbered();
}

bool MainWindow::choose(const QString& title, const QString& text, const QString& first, const QString& second) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, this);
    QPushButton* yes = box.addButton(first, QMessageBox::AcceptRole);
    box.addButton(second, QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.exec();
    return box.clickedButton() == yes;
}

} // namespace ts
