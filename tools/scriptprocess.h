#pragma once

#include "scriptlanguage.h"

#include <QString>
#include <string_view>
#include <vector>

namespace ts {

class UserInterface;

inline constexpr int kScriptBlocks = 51;        // blocks 0..50
inline constexpr int kScriptLinesPerPart = 101; // test lines, and apply lines, per block

struct ScriptRunResult {
    bool completed = false; // false: the run stopped on an error, which the user has seen
    int blocksRun = 0;
    bool changed = false; // some apply line set a target
};

// z_ScriptProcess: reads the script file and runs it block by block against the open map. A failure
// shows "Error processing script" and ends the run; what the blocks before it changed stays.
ScriptRunResult z_ScriptProcess(MapDocument& doc, const ReferenceData& ref, UserInterface& ui,
                                const QString& path, const ScriptHooks& hooks = {});

// The same for a script already in memory (its Windows-1252 bytes); name is what messages call it.
ScriptRunResult RunScript(MapDocument& doc, const ReferenceData& ref, UserInterface& ui,
                          std::string_view bytes, const QString& name, const ScriptHooks& hooks = {});

// Splits a script into lines at LF, CR LF or a lone CR, each trimmed of blanks at both ends.
std::vector<std::string_view> ScriptLines(std::string_view bytes);

} // namespace ts
