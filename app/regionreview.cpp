#include "regionreview.h"
#include "edithistory.h"

#include "mainwindow.h"
#include "mapimage.h"
#include "mapview.h"
#include "regionoverlay.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <set>

namespace ts {

namespace {
constexpr Color kBusyRed = 255;
constexpr int kBarMargin = 8;
} // namespace

RegionReview::RegionReview(MainWindow& window)
    : QFrame(window.mapView().parentWidget()), mWindow(window),
      mOverlay(new RegionOverlay(&window.mapView())),
      mOverlayItem(window.findChild<QAction*>(QStringLiteral("mnuRegionOverlay"))), mText(new QLabel(this)) {
    setObjectName(QStringLiteral("fraRegionReview"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    mText->setObjectName(QStringLiteral("lblRegionReview"));
    auto* accept = new QPushButton(QStringLiteral("Accept"), this);
    accept->setObjectName(QStringLiteral("cmdAcceptRegions"));
    auto* discard = new QPushButton(QStringLiteral("Discard"), this);
    discard->setObjectName(QStringLiteral("cmdDiscardRegions"));
    auto* row = new QHBoxLayout(this);
    row->addWidget(mText, 1);
    row->addWidget(accept);
    row->addWidget(discard);
    connect(accept, &QPushButton::clicked, this, [this] { this->accept(); });
    connect(discard, &QPushButton::clicked, this, [this] { this->discard(); });
    hide();

    if (QAction* item = window.findChild<QAction*>(QStringLiteral("mnuFindNeighborsRegions")))
        connect(item, &QAction::triggered, this, [this] { guess(); });
    if (mOverlayItem) {
        mOverlayItem->setCheckable(true);
        mOverlayItem->setEnabled(false);
        connect(mOverlayItem, &QAction::toggled, this, [this](bool on) { mOverlay->setVisible(on && mOverlay->hasRegions()); });
    }
}

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

    std::set<std::pair<int, int>> current;
    for (const RegionPair& p : neighbourPairs(doc))
        current.insert({p.a, p.b});
    int same = 0;
    for (const RegionPair& p : mGuess.pairs)
        same += static_cast<int>(current.count({p.a, p.b}));
    mText->setText(QStringLiteral("The regions give %1 neighbour pairs; the lists now hold %2, %3 of them the same. "
                                  "Accept to replace every neighbour list.")
                       .arg(mGuess.pairs.size())
                       .arg(current.size())
                       .arg(same));
    mOverlay->setRegions(regionOverlay(mGuess.regions));
    showOverlay(true);
    placeBar();
    show();
    raise();
}

void RegionReview::accept() {
    hide();
    showOverlay(false);
    // A guess made on another picture (the map was closed or its picture changed) is not applied.
    if (mGuess.pairs.empty() && mGuess.regions.isEmpty()) return;
    if (mWindow.mapImage().sourceKey() != mPictureKey) return;
    MapView& view = mWindow.mapView();
    const EditBracket bracket(&mWindow.journal(), {.neighbours = true}, "Find Neighbors (Regions)");
    if (view.onNeighboursChanging) view.onNeighboursChanging();
    applyNeighbourPairs(mWindow.document(), mGuess.pairs);
    if (view.lastActiveProv() >= 1) view.selectProvince(view.lastActiveProv(), false); // its lines anew
    if (view.onNeighboursChanged) view.onNeighboursChanged();
}

void RegionReview::discard() {
    hide();
    showOverlay(false);
}

void RegionReview::forget() {
    discard();
    mGuess = RegionGuess();
    mPictureKey = 0;
    mOverlay->setRegions(QImage());
    if (mOverlayItem) mOverlayItem->setEnabled(false);
}

void RegionReview::showOverlay(bool on) {
    if (!mOverlayItem) {
        mOverlay->setVisible(on && mOverlay->hasRegions());
        return;
    }
    mOverlayItem->setEnabled(mOverlay->hasRegions());
    if (mOverlayItem->isChecked() == on) mOverlay->setVisible(on && mOverlay->hasRegions());
    else mOverlayItem->setChecked(on);
}

void RegionReview::placeBar() {
    const QWidget* area = parentWidget();
    const int width = std::min(area->width() - 2 * kBarMargin, 760);
    resize(width, sizeHint().height());
    move((area->width() - width) / 2, kBarMargin);
}

} // namespace ts
