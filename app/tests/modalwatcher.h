#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace ts {

// Plays the user at the dialogs a test opens: every 20 ms it looks for a new modal dialog and hands
// it to answer, which types and clicks as the user would.
class ModalWatcher : public QObject {
public:
    explicit ModalWatcher(std::function<void(QWidget* modal)> answer) : mAnswer(std::move(answer)) {
        connect(&mTimer, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            // A mark on the dialog itself, not its address: the next dialog may be allocated where
            // the last one was.
            if (!modal || modal->property("tessaryAnswered").toBool()) return;
            modal->setProperty("tessaryAnswered", true);
            mAnswer(modal);
        });
        mTimer.start(20);
    }

private:
    std::function<void(QWidget* modal)> mAnswer;
    QTimer mTimer;
};

} // namespace ts
