#pragma once

#include "referencedata.h"

#include <string>

namespace ts {

// Short summaries of one unit type, in the game's own abbreviations, for the commander panel
// (UnitDescriptionText) and for the unit finder and its palettes (UnitFinderText). Both are
// Windows-1252 bytes with CR LF line ends, ready for a text box after fromCp1252.

// For a number outside the unit table the text says so instead of describing a unit.
std::string UnitDescriptionText(const ReferenceData& ref, int number);
// "NO UNIT SELECTED." for a number below 1 (the "None" entry) or beyond the table.
std::string UnitFinderText(const ReferenceData& ref, int number);

} // namespace ts
