#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <functional>

class QWidget;

namespace ts {

// The status-bar hints of a panel's controls: while the mouse is over a control its hint is shown.
class PanelHints : public QObject {
public:
    explicit PanelHints(QObject* parent) : QObject(parent) {}

    std::function<void(const QString& hint)> showHint;

    void add(QWidget* control, const QString& hint);
    QString hintOf(const QWidget* control) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QHash<const QObject*, QString> mHints;
};

} // namespace ts
