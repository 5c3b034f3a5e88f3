#include "panelhints.h"

#include <QEvent>
#include <QWidget>

namespace ts {

void PanelHints::add(QWidget* control, const QString& hint) {
    mHints.insert(control, hint);
    control->setMouseTracking(true);
    control->installEventFilter(this);
    connect(control, &QObject::destroyed, this, [this, control] { mHints.remove(control); });
}

QString PanelHints::hintOf(const QWidget* control) const { return mHints.value(control); }

bool PanelHints::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) && showHint) {
        const auto it = mHints.constFind(watched);
        if (it != mHints.cend()) showHint(*it);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace ts
