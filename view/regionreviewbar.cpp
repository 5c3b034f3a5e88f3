#include "regionreviewbar.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace ts {

namespace {
constexpr int kMargin = 8;
constexpr int kMaxWidth = 900;
} // namespace

RegionReviewBar::RegionReviewBar(QWidget* mapArea)
    : QFrame(mapArea), mText(new QLabel(this)), mKeep(new QCheckBox(QStringLiteral("Keep pairs already in the lists"), this)) {
    setObjectName(QStringLiteral("fraRegionReview"));
    setFrameShape(QFrame::StyledPanel);
    // The map area's dark ground would leave the text unreadable; the bar reads like a dialog.
    const QPalette application = QApplication::palette();
    QPalette own = palette();
    for (const auto role : {QPalette::Window, QPalette::WindowText, QPalette::Button, QPalette::ButtonText,
                            QPalette::Base, QPalette::Text})
        own.setColor(role, application.color(role));
    setPalette(own);
    setAutoFillBackground(true);
    mText->setObjectName(QStringLiteral("lblRegionReview"));
    mText->setWordWrap(true);
    mKeep->setObjectName(QStringLiteral("chkKeepNeighbours"));
    auto* accept = new QPushButton(QStringLiteral("Accept"), this);
    accept->setObjectName(QStringLiteral("cmdAcceptRegions"));
    auto* discard = new QPushButton(QStringLiteral("Discard"), this);
    discard->setObjectName(QStringLiteral("cmdDiscardRegions"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, 6, 8, 6);
    column->addWidget(mText);
    auto* row = new QHBoxLayout;
    row->addWidget(mKeep);
    row->addStretch(1);
    row->addWidget(accept);
    row->addWidget(discard);
    column->addLayout(row);
    connect(accept, &QPushButton::clicked, this, [this] {
        if (accepted) accepted();
    });
    connect(discard, &QPushButton::clicked, this, [this] {
        if (discarded) discarded();
    });
    connect(mKeep, &QCheckBox::toggled, this, [this](bool on) {
        if (keepListsChanged) keepListsChanged(on);
    });
    mapArea->installEventFilter(this);
    hide();
}

void RegionReviewBar::showCounts(const NeighbourReview& review) {
    const NeighbourReview::Counts c = review.counts();
    mText->setText(QStringLiteral("The regions guess would add %1 pairs (green) and drop %2 (red); %3 stay as they "
                                  "are (faint). Click a line on the map to switch its pair, then Accept to take the "
                                  "result as one step.")
                       .arg(c.added)
                       .arg(c.dropped)
                       .arg(c.kept));
    place();
}

void RegionReviewBar::setKeepLists(bool keep) {
    const QSignalBlocker quiet(mKeep);
    mKeep->setChecked(keep);
}

void RegionReviewBar::place() {
    const QWidget* area = parentWidget();
    const int left = (navigatorWidth ? navigatorWidth() : 0) + kMargin;
    const int width = std::min(area->width() - left - kMargin, kMaxWidth);
    if (width <= 0) return;
    const int height = layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width) : sizeHint().height();
    mPlacing = true;
    setGeometry(left + (area->width() - left - kMargin - width) / 2, area->height() - height - kMargin, width, height);
    raise();
    mPlacing = false;
}

void RegionReviewBar::showEvent(QShowEvent* event) {
    watchSiblings();
    place();
    QFrame::showEvent(event);
}

// Floating tools and the navigator are siblings in the map area: whenever one moves, appears or is
// raised, the bar takes its place again on top and beside the navigator.
void RegionReviewBar::watchSiblings() {
    for (QObject* child : parentWidget()->children())
        if (child != this && child->isWidgetType()) {
            child->removeEventFilter(this);
            child->installEventFilter(this);
        }
}

bool RegionReviewBar::eventFilter(QObject* watched, QEvent* event) {
    if (!isVisible() || mPlacing) return QFrame::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::ZOrderChange:
        if (watched == parentWidget() || watched->parent() == parentWidget())
            QTimer::singleShot(0, this, [this] {
                if (isVisible()) place();
            });
        break;
    default:
        break;
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace ts
