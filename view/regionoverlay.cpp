#include "regionoverlay.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace ts {

namespace {
// How near (shown pixels) a click must come to a line to switch its pair.
constexpr double kHitDistance = 5.0;

double distanceToSegment(QPointF p, QPointF a, QPointF b) {
    const QPointF ab = b - a;
    const double length = QPointF::dotProduct(ab, ab);
    const double t = length > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length, 0.0, 1.0) : 0.0;
    const QPointF d = p - (a + t * ab);
    return std::hypot(d.x(), d.y());
}
} // namespace

RegionOverlay::RegionOverlay(QWidget* mapPicture) : QWidget(mapPicture) {
    setObjectName(QStringLiteral("picRegionOverlay"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    // The map picture changes size with every zoom; the overlay follows it. Its clicks are looked at
    // here, so that the map keeps its own for everything but a review.
    mapPicture->installEventFilter(this);
    setGeometry(mapPicture->rect());
    hide();
}

void RegionOverlay::setRegions(QImage overlay) {
    mOverlay = std::move(overlay);
    updateVisibility();
    update();
}

void RegionOverlay::setRegionsShown(bool shown) {
    mShowRegions = shown;
    updateVisibility();
    update();
}

void RegionOverlay::updateVisibility() {
    setVisible((mShowRegions && hasRegions()) || mReview);
    if (isVisible()) raise();
}

void RegionOverlay::startReview(const NeighbourReview* review, std::vector<QPoint> positions, QSize picture,
                                bool wrapAround) {
    mReview = review;
    mPositions = std::move(positions);
    mPicture = picture;
    mWrap = wrapAround;
    updateVisibility();
    update();
}

void RegionOverlay::endReview() {
    mReview = nullptr;
    updateVisibility();
    update();
}

std::vector<RegionOverlay::Segment> RegionOverlay::segments(std::size_t index) const {
    if (!mReview || mPicture.isEmpty() || index >= mReview->pairs().size()) return {};
    const NeighbourReview::Pair& pair = mReview->pairs()[index];
    auto at = [this](int province) {
        const auto n = static_cast<std::size_t>(province - 1);
        return n < mPositions.size() ? QPointF(mPositions[n]) + QPointF(0.5, 0.5) : QPointF(-1, -1);
    };
    const QPointF a = at(pair.a), b = at(pair.b);
    QPointF d = b - a;
    const double w = mPicture.width(), h = mPicture.height();
    if (mWrap) {
        if (d.x() > w / 2) d.rx() -= w;
        if (d.x() < -w / 2) d.rx() += w;
        if (d.y() > h / 2) d.ry() -= h;
        if (d.y() < -h / 2) d.ry() += h;
    }
    const double sx = width() / w, sy = height() / h;
    auto shown = [sx, sy](QPointF p) { return QPointF(p.x() * sx, p.y() * sy); };
    if (a + d == b) return {{shown(a), shown(b)}};
    return {{shown(a), shown(a + d)}, {shown(b - d), shown(b)}};
}

int RegionOverlay::pairAt(QPointF shown) const {
    if (!mReview) return -1;
    int best = -1;
    double nearest = kHitDistance;
    for (std::size_t i = 0; i < mReview->pairs().size(); ++i)
        for (const Segment& s : segments(i)) {
            const double d = distanceToSegment(shown, s.from, s.to);
            if (d <= nearest) {
                nearest = d;
                best = static_cast<int>(i);
            }
        }
    return best;
}

QPointF RegionOverlay::pairMiddle(std::size_t index) const {
    const std::vector<Segment> pieces = segments(index);
    return pieces.empty() ? QPointF() : (pieces[0].from + pieces[0].to) / 2;
}

bool RegionOverlay::eventFilter(QObject* watched, QEvent* event) {
    if (watched != parentWidget()) return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
    if (event->type() == QEvent::MouseButtonPress && mReview) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            const int hit = pairAt(mouse->position());
            if (hit >= 0 && pairClicked) pairClicked(hit);
            return true; // no linking while the guess is under review
        }
    }
    return QWidget::eventFilter(watched, event);
}

void RegionOverlay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (mShowRegions && !mOverlay.isNull()) {
        // Cells stay sharp when zoomed in: a blurred boundary would hide where two regions meet.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(rect(), mOverlay);
    }
    if (!mReview) return;
    painter.setRenderHint(QPainter::Antialiasing, true);
    using Change = NeighbourReview::Change;
    auto pen = [](Change change) {
        switch (change) {
        case Change::Add: return QPen(QColor(40, 230, 60), 3);
        case Change::Drop: return QPen(QColor(240, 40, 40), 3);
        case Change::Keep: return QPen(QColor(255, 255, 255, 110), 1);
        case Change::Leave: break;
        }
        return QPen(QColor(40, 230, 60, 170), 1.5, Qt::DotLine);
    };
    // Faint lines first, so the changes stand on top of them.
    for (const Change layer : {Change::Keep, Change::Leave, Change::Drop, Change::Add}) {
        painter.setPen(pen(layer));
        for (std::size_t i = 0; i < mReview->pairs().size(); ++i) {
            if (NeighbourReview::change(mReview->pairs()[i]) != layer) continue;
            for (const Segment& s : segments(i))
                painter.drawLine(s.from, s.to);
        }
    }
}

} // namespace ts
