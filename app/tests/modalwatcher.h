#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QtTest>
#include <functional>

namespace ts {

// Plays the user at the dialogs a test opens: every 20 ms it looks for a new modal dialog and hands
// it to answer, which types and clicks as the user would. A dialog still open long after its answer
// did not take it: it is failed and rejected then, so that the test stops at once with the reason
// rather than waiting for the test runner to kill it minutes later.
class ModalWatcher : public QObject {
public:
    explicit ModalWatcher(std::function<void(QWidget* modal)> answer) : mAnswer(std::move(answer)) {
        connect(&mTimer, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) return;
            // A mark on the dialog itself, not its address: the next dialog may be allocated where
            // the last one was.
            if (!modal->property("tessaryAnswered").toBool()) {
                modal->setProperty("tessaryAnswered", true);
                mAnswered = modal;
                mPatience.setRemainingTime(kPatienceMs);
                mAnswer(modal);
            } else if (modal == mAnswered && mPatience.hasExpired()) {
                mAnswered = nullptr;
                QTest::qFail(qPrintable(QStringLiteral("the dialog \"%1\" stayed open after its answer")
                                            .arg(modal->windowTitle())),
                             __FILE__, __LINE__);
                if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
                else modal->close();
            }
        });
        mTimer.start(20);
    }

private:
    static constexpr int kPatienceMs = 10000;
    std::function<void(QWidget* modal)> mAnswer;
    QTimer mTimer;
    QPointer<QWidget> mAnswered;
    QDeadlineTimer mPatience;
};

} // namespace ts
