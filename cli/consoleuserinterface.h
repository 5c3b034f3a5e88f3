#pragma once

#include "userinterface.h"

namespace ts {

// The user of the command-line tool: every message the editor would show in a box goes to stderr
// as "title: text" and is answered OK; questions take their proposed answer, dialogs are cancelled,
// and busy messages are not shown.
class ConsoleUserInterface : public UserInterface {
  public:
    Answer messageBox(const QString& title, const QString& text, Buttons buttons) override;
    std::optional<QString> inputBox(const QString& title, const QString& prompt,
                                    const QString& proposed) override;
    std::optional<QString> openFileDialog(const QString& filter, const QString& folder,
                                          const QString& proposedFile) override;
    std::optional<QString> saveFileDialog(const QString& filter, const QString& folder,
                                          const QString& proposedFile) override;
    std::optional<Color> colorDialog(Color initial) override;
    void beep() override {}
    void busyMessage(const QString&, const QString&, Color) override {}
    void processEvents() override {}
    bool progressDue() override { return false; }

    int messageCount() const { return mMessages; }

  private:
    int mMessages = 0;
};

} // namespace ts
