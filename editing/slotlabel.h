#pragma once

#include <QLabel>
#include <QObject>
#include <QString>
#include <functional>

namespace ts {

// The mouse on the picture slots of the commander, stack and site panels, reported per label.
class SlotEvents : public QObject {
public:
    using Handler = std::function<void(QLabel* slot)>;
    Handler clicked, doubleClicked, rightClicked, entered, left;

    explicit SlotEvents(QObject* parent = nullptr) : QObject(parent) {}
    void watch(QLabel* slot);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Shows the hint of the control under the mouse (its "hint" property) through one function.
class HintEvents : public QObject {
public:
    std::function<void(const QString& hint)> show;

    explicit HintEvents(QObject* parent = nullptr) : QObject(parent) {}
    void give(QWidget* control, const QString& hint);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// A picture slot: the "tag" property holds the unit or site number ("-1" for none), the tooltip its
// name, the pixmap its picture. The finders hand their choice back the same way.
QLabel* makeSlotLabel(QWidget* parent, const QString& objectName, int size);
void setSlot(QLabel* slot, const QString& tag, const QString& name, const QString& picture);
QString slotTag(const QLabel* slot);
// Which of the numbered labels (name0, name1, ...) this is, or -1.
int slotIndex(const QLabel* slot, const QString& baseName);

} // namespace ts
