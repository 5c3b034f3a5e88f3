#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace ts {

// Colours are 32-bit values with red in the lowest byte, then green, then blue.
using Color = std::uint32_t;

enum class Buttons { Ok, OkCancel };
enum class Answer { Ok, Cancel };

// The one way the core reaches the user. The main window answers with real dialogs; tests answer
// from a script and record what was asked, so every flow that shows a message box runs headless.
class UserInterface {
public:
    virtual ~UserInterface() = default;

    virtual Answer messageBox(const QString& title, const QString& text, Buttons buttons = Buttons::Ok) = 0;
    // A question answered by one of two named buttons ("Renumber", "Keep Numbers"): true for the
    // first. Where named buttons cannot be shown, OK stands for the first and Cancel for the second.
    virtual bool choose(const QString& title, const QString& text, const QString& first, const QString& second) {
        (void)first;
        (void)second;
        return messageBox(title, text, Buttons::OkCancel) == Answer::Ok;
    }
    // Returns nothing when the user cancels.
    virtual std::optional<QString> inputBox(const QString& title, const QString& prompt,
                                            const QString& proposed) = 0;
    // filter is in the form "Map Files (*.map)|*.map"; the first filter is selected.
    virtual std::optional<QString> openFileDialog(const QString& filter, const QString& folder,
                                                  const QString& proposedFile) = 0;
    virtual std::optional<QString> saveFileDialog(const QString& filter, const QString& folder,
                                                  const QString& proposedFile) = 0;
    virtual std::optional<Color> colorDialog(Color initial) = 0;
    virtual void beep() = 0;
    // The busy box in the middle of the map area; an empty message hides it but still sets the caption.
    virtual void busyMessage(const QString& message, const QString& caption, Color color) = 0;
    // Lets pending window events run during a long operation.
    virtual void processEvents() = 0;
    // Whether a progress message sent now would reach the screen. A loop that reports every step
    // (a big map has hundreds of thousands of lines) asks first, and composes the message only then.
    virtual bool progressDue() { return true; }
};

} // namespace ts
