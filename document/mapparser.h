#pragma once

#include <string_view>

namespace ts {

struct MapDocument;
struct ReferenceData;
class UserInterface;

// The game version every version command stores, whatever the file says.
inline constexpr std::string_view kSupportedGameVersion = "3.17";

// Applies one command line of a map file to the document. command is the line's first word, line
// the whole line with comments cut and spaces trimmed. The current province, commander, god and
// slot indices of the document say what a command applies to. A command that fails stops where it
// failed and becomes one line of the document's error log; nothing is shown to the user except the
// invalid terrain mask report.
void z_ParseCommand(MapDocument& doc, const ReferenceData& ref, UserInterface& ui, std::string_view command,
                    std::string_view line);

} // namespace ts
