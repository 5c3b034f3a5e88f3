#pragma once

#include <QFrame>
#include <QPoint>
#include <functional>

class QLabel;
class QVBoxLayout;

namespace ts {

// A small floating panel over the map area: dragged with the left button, hidden with the right
// button or its close button, showing its hint in the status bar while the cursor is over it.
class ToolPanel : public QFrame {
public:
    ToolPanel(QWidget* parent, const QString& objectName, const QString& caption, const QString& hint);

    // The area the panel's own controls go into.
    QWidget* body() const { return mBody; }
    QLabel* captionLabel() const { return mCaption; }

    std::function<void(const QString& hint)> showHint;
    std::function<void(const QPoint& topLeft)> moved;
    std::function<void()> hiddenByUser;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void hideByUser();

    QString mHint;
    QLabel* mCaption = nullptr;
    QWidget* mBody = nullptr;
    bool mDragging = false;
    QPoint mPressPoint;
};

} // namespace ts
