#pragma once

#include "settings.h"
#include "userinterface.h"

#include <QString>
#include <functional>

namespace ts {

// What the user is told when the editor starts without a configuration file.
QString welcomeTitle();
QString welcomeText();

// The settings step of start-up. With a configuration file beside the program it is read into s
// (a read error is reported by the reader) and true is returned. Without one, every setting is set
// to its first-run value, showBackground runs so the window looks right behind the message, the
// welcome message is shown and openOptions runs; it is expected to show the options dialog modally,
// and start-up goes on once it returns, whether the dialog was confirmed or cancelled. Returns false
// on that first run.
bool LoadOrWelcome(Settings& s, const QString& programFolder, UserInterface& ui,
                   const std::function<void()>& openOptions,
                   const std::function<void()>& showBackground = {});

} // namespace ts
