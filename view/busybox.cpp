#include "busybox.h"

#include <QFont>

namespace ts {

BusyBox::BusyBox(QWidget* mapArea) : QLabel(mapArea) {
    setObjectName(QStringLiteral("lblBusy"));
    QFont f = font();
    f.setPointSize(f.pointSize() + 10);
    f.setBold(true);
    setFont(f);
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
    setMargin(8);
    hide();
    mShowWaiting.setSingleShot(true);
    connect(&mShowWaiting, &QTimer::timeout, this, [this] {
        if (isVisible()) setText(mWaiting);
    });
}

bool BusyBox::show(const QString& message, unsigned color, bool force) {
    if (message.isEmpty()) {
        mShowWaiting.stop();
        hide();
        return true;
    }
    if (!force && mSincePaint.isValid() && mSincePaint.elapsed() < kRepaintMs) {
        // Copied into the box's own buffer: shared, the caller's next message would need a new one.
        mWaiting.resize(0);
        mWaiting.append(message.constData(), message.size());
        if (!mShowWaiting.isActive()) mShowWaiting.start(kRepaintMs);
        return false;
    }
    mShowWaiting.stop();
    mSincePaint.start();
    const int r = static_cast<int>(color & 0xFF);
    const int g = static_cast<int>((color >> 8) & 0xFF);
    const int b = static_cast<int>((color >> 16) & 0xFF);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, QColor(r, g, b));
    pal.setColor(QPalette::Window, QColor(16, 16, 16));
    setPalette(pal);
    setText(message);
    adjustSize();
    recentre();
    raise();
    QLabel::show();
    return true;
}

void BusyBox::recentre() {
    const QWidget* area = parentWidget();
    if (!area) return;
    move(area->width() / 2 - width() / 2, area->height() / 2 - height() / 2);
}

} // namespace ts
