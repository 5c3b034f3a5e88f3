#pragma once

#include "referencedata.h"

#include <optional>
#include <string>
#include <vector>

namespace ts {

// The unit finder's filters, widget-free. A filter takes part while it holds a value (its box is
// ticked); the value is the position chosen in its list, or, for the filters that compare the
// unit's own words with the list's, the chosen text (Windows-1252) itself.
struct UnitFilter {
    std::optional<int> god;           // 0 "Not", 1 "Is"
    std::optional<int> size;          // position; size = position + 1
    std::optional<int> magic;         // path position F A W E S D N B H
    std::optional<int> randomMagic;   // path position
    std::optional<int> leader;        // 0 "Normal", 1 "Magic", 2 "Undead"
    std::optional<std::string> commanderType; // "Normal", "Undead", "Demon", "Magic being", "Animal"
    std::optional<std::string> stealth;       // "None", "Spy", "Assassin", "Glamour", "Stealthy"
    std::optional<int> resist;        // 0 Fire, 1 Cold, 2 Lightning, 3 Poison
    bool mounted = false;
    bool unique = false;
    bool holy = false;
    bool female = false;
    std::optional<int> misc;          // position in the 51 ability words
    std::optional<std::string> survival; // "Forest", "Mountain", "Waste", "Swamp"
    std::optional<std::string> move;     // "Aquatic", "Amphibian", ...
    std::optional<int> hero;          // 0 "Not", 1 "Is"
};

inline constexpr int kUnitAbilityWords = 51;

// Whether the unit passes every active filter, run in the list's order. A slot whose number is
// below 1 is no unit and never passes.
bool UnitPasses(const UnitDataType& unit, const UnitFilter& filter);

// The numbers of every unit slot 0..2999 that passes, in slot order.
std::vector<int> FilterUnits(const ReferenceData& ref, const UnitFilter& filter);

} // namespace ts
