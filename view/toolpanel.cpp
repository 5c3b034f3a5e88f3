#include "toolpanel.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace ts {

ToolPanel::ToolPanel(QWidget* parent, const QString& objectName, const QString& caption, const QString& hint)
    : QFrame(parent), mHint(hint) {
    setObjectName(objectName);
    // The tools float over the dark map area, whose colours they would otherwise inherit: dark text
    // on a dark panel. Setting each colour marks it as the tool's own; the plain application palette
    // would not.
    QPalette own = QApplication::palette(this);
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::WindowText, QPalette::Text, QPalette::Base,
                                     QPalette::Button, QPalette::ButtonText})
        own.setColor(role, own.color(role));
    setPalette(own);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setAutoFillBackground(true);
    setMouseTracking(true);

    mCaption = new QLabel(caption, this);
    mCaption->setObjectName(QStringLiteral("lbl") + objectName.mid(3));
    mCaption->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* close = new QToolButton(this);
    close->setObjectName(QStringLiteral("cmdClose") + objectName.mid(3));
    close->setText(QStringLiteral("x"));
    close->setAutoRaise(true);
    close->setToolTip(QStringLiteral("Hide"));
    connect(close, &QToolButton::clicked, this, [this] { hideByUser(); });

    auto* title = new QHBoxLayout;
    title->setContentsMargins(0, 0, 0, 0);
    title->addWidget(mCaption, 1);
    title->addWidget(close);

    mBody = new QWidget(this);
    mBody->setMouseTracking(true);
    mBody->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->setSpacing(2);
    layout->addLayout(title);
    layout->addWidget(mBody);
}

void ToolPanel::hideByUser() {
    hide();
    if (hiddenByUser) hiddenByUser();
}

void ToolPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        mDragging = true;
        mPressPoint = event->position().toPoint();
    } else if (event->button() == Qt::RightButton) {
        hideByUser();
    }
}

void ToolPanel::mouseMoveEvent(QMouseEvent* event) {
    if (showHint) showHint(mHint);
    if (!mDragging) return;
    const QPoint topLeft = mapToParent(event->position().toPoint()) - mPressPoint;
    move(topLeft);
    if (moved) moved(topLeft);
}

void ToolPanel::mouseReleaseEvent(QMouseEvent*) { mDragging = false; }

bool ToolPanel::eventFilter(QObject* watched, QEvent* event) {
    // The body passes its empty space through, so the whole panel drags and shows its hint.
    if (watched == mBody && event->type() == QEvent::MouseMove && showHint) showHint(mHint);
    return QFrame::eventFilter(watched, event);
}

} // namespace ts
