#include "regionoverlay.h"

#include <QEvent>
#include <QPainter>

namespace ts {

RegionOverlay::RegionOverlay(QWidget* mapPicture) : QWidget(mapPicture) {
    setObjectName(QStringLiteral("picRegionOverlay"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    // The map picture changes size with every zoom; the overlay follows it.
    mapPicture->installEventFilter(this);
    setGeometry(mapPicture->rect());
    hide();
}

void RegionOverlay::setRegions(QImage overlay) {
    mOverlay = std::move(overlay);
    if (mOverlay.isNull()) hide();
    update();
}

bool RegionOverlay::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

void RegionOverlay::paintEvent(QPaintEvent*) {
    if (mOverlay.isNull()) return;
    QPainter painter(this);
    // Cells stay sharp when zoomed in: a blurred boundary would hide where two regions meet.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(rect(), mOverlay);
}

} // namespace ts
