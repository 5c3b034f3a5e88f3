#pragma once

#include "userinterface.h"

#include <QString>
#include <cstddef>
#include <cstdint>

namespace ts::fuzz {

// Answers every question at once and keeps nothing, so a long run does not grow with each input.
class QuietUserInterface : public UserInterface {
  public:
    Answer messageBox(const QString&, const QString&, Buttons) override { return Answer::Ok; }
    std::optional<QString> inputBox(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<QString> openFileDialog(const QString&, const QString&, const QString&) override {
        return {};
    }
    std::optional<QString> saveFileDialog(const QString&, const QString&, const QString&) override {
        return {};
    }
    std::optional<Color> colorDialog(Color) override { return {}; }
    void beep() override {}
    void busyMessage(const QString&, const QString&, Color) override {}
    void processEvents() override {}
};

// A folder of this process's own that lives until the process ends; the readers under test only
// take paths, so every input goes through a file in it.
QString scratchFolder();

// Writes the bytes to <scratchFolder>/<relative>, creating sub-folders; returns the full path.
QString writeScratch(const QString& relative, const std::uint8_t* data, std::size_t size);

} // namespace ts::fuzz
