#pragma once

#include <string_view>

namespace ts {

class MapKeeper;
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
// With a keeper, what the editor does not understand is kept instead (see keeping.h): unknown
// commands and lines failing on a number beyond its limits are kept whole, and a unit or site
// missing from the tables, or terrain bits above 22, go into the records as the map gives them.
void z_ParseCommand(MapDocument& doc, const ReferenceData& ref, UserInterface& ui, std::string_view command,
                    std::string_view line, MapKeeper* keeper = nullptr);

} // namespace ts
