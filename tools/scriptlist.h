#pragma once

#include <QString>
#include <optional>
#include <vector>

namespace ts {

class UserInterface;

inline constexpr int kMaxListedScripts = 151;
inline constexpr char kNoScriptTitle[] = "No Title Defined";

struct ScriptEntry {
    QString title;
    QString fileName; // without the folder
};

// The line after the first ":TOOL" line, trimmed; "No Title Defined" when there is none. Nothing
// when the file cannot be read.
std::optional<QString> ScriptTitle(const QString& path);

// z_ScriptBuildMenu without the list box: every TSscripts/*.tss of the program folder by file name, at
// most 151, each with its title. A script whose title cannot be read is reported and left out; a
// folder that cannot be listed is reported and gives what was found so far.
std::vector<ScriptEntry> z_ScriptBuildMenu(const QString& programFolder, UserInterface& ui);

// The shipped scripts' folder, and where a listed script is read from (the user's copy first).
QString ScriptFolder(const QString& programFolder);
QString ScriptPath(const QString& programFolder, const QString& fileName);

} // namespace ts
