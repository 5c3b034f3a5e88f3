#include "slotlabel.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPixmap>

namespace ts {

void SlotEvents::watch(QLabel* slot) {
    slot->installEventFilter(this);
}

bool SlotEvents::eventFilter(QObject* watched, QEvent* event) {
    auto* slot = qobject_cast<QLabel*>(watched);
    if (!slot) return false;
    const auto fire = [slot](const Handler& h) {
        if (h) h(slot);
        return true;
    };
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto button = static_cast<QMouseEvent*>(event)->button();
        if (button == Qt::LeftButton) return fire(clicked);
        if (button == Qt::RightButton) return fire(rightClicked);
        break;
    }
    case QEvent::MouseButtonRelease:
        return true; // the press did the work
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) return fire(doubleClicked);
        break;
    case QEvent::Enter:
        if (entered) entered(slot);
        break;
    case QEvent::Leave:
        if (left) left(slot);
        break;
    default:
        break;
    }
    return false;
}

void HintEvents::give(QWidget* control, const QString& hint) {
    control->setProperty("hint", hint);
    control->installEventFilter(this);
}

bool HintEvents::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter && show) show(watched->property("hint").toString());
    return false;
}

QLabel* makeSlotLabel(QWidget* parent, const QString& objectName, int size) {
    auto* slot = new QLabel(parent);
    slot->setObjectName(objectName);
    slot->setFixedSize(size, size);
    slot->setScaledContents(true);
    slot->setFrameShape(QFrame::Box);
    slot->setLineWidth(1);
    slot->setProperty("tag", QStringLiteral("-1"));
    slot->setMouseTracking(true);
    return slot;
}

void setSlot(QLabel* slot, const QString& tag, const QString& name, const QString& picture) {
    slot->setProperty("tag", tag);
    slot->setToolTip(name);
    slot->setPixmap(QPixmap(picture));
}

QString slotTag(const QLabel* slot) {
    return slot->property("tag").toString();
}

int slotIndex(const QLabel* slot, const QString& baseName) {
    const QString name = slot->objectName();
    if (!name.startsWith(baseName)) return -1;
    bool ok = false;
    const int i = QStringView(name).mid(baseName.size()).toInt(&ok);
    return ok ? i : -1;
}

} // namespace ts
