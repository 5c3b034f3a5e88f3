#pragma once

#include "userinterface.h"

#include <deque>
#include <vector>

namespace ts {

// A scripted user for headless tests: every question is recorded in order and answered from the
// queues below; an empty queue answers OK, accepts the proposed text and cancels dialogs.
class FakeUserInterface : public UserInterface {
public:
    struct Message {
        QString title;
        QString text;
        Buttons buttons;
    };
    struct Busy {
        QString message;
        QString caption;
        Color color;
    };

    std::deque<Answer> answers;
    std::deque<std::optional<QString>> inputs;
    std::deque<std::optional<QString>> files;
    std::deque<std::optional<Color>> colors;

    std::vector<Message> messages;
    std::vector<QString> inputPrompts;
    std::vector<QString> fileRequests; // "open|filter|folder|proposed" or "save|..."
    std::vector<Busy> busy;
    std::vector<QString> captions; // each distinct caption, in the order it was set
    int beeps = 0;
    int eventRuns = 0;
    int progressEvery = 1; // progress is due on every this many-th ask
    int progressAsks = 0;

    Answer messageBox(const QString& title, const QString& text, Buttons buttons) override;
    std::optional<QString> inputBox(const QString& title, const QString& prompt,
                                    const QString& proposed) override;
    std::optional<QString> openFileDialog(const QString& filter, const QString& folder,
                                          const QString& proposedFile) override;
    std::optional<QString> saveFileDialog(const QString& filter, const QString& folder,
                                          const QString& proposedFile) override;
    std::optional<Color> colorDialog(Color initial) override;
    void beep() override { ++beeps; }
    void busyMessage(const QString& message, const QString& caption, Color color) override;
    void processEvents() override { ++eventRuns; }
    bool progressDue() override { return ++progressAsks % progressEvery == 0; }

    // Titles of all message boxes so far, for compact assertions.
    QStringList titles() const;
};

} // namespace ts
