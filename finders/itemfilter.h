#pragma once

#include "referencedata.h"

#include <optional>
#include <string>
#include <vector>

namespace ts {

// The item finder's filters, widget-free. An empty category is "None"; a path or level takes part
// while it holds a value.
struct ItemFilter {
    std::string category; // "1-h wpn", "2-h wpn", "shield", "helm", "armor", "boots", "misc"
    bool noArtifacts = false;
    bool artifacts = false;
    bool noSpecial = false;
    bool special = false;
    std::optional<std::string> path1; // "F" .. "B"
    std::optional<int> level1;        // at most this level in the first path
    std::optional<std::string> path2;
    std::optional<int> level2;
};

inline constexpr int kArtifactLevel = 8;
inline constexpr int kSpecialItemLevel = 12;

bool ItemPasses(const ItemDataType& item, const ItemFilter& filter);

// The item slots 0..349 kept, in slot order. Slots the item file never filled pass the filters that
// do not look at them, so with no filter they are all listed.
std::vector<int> FilterItems(const ReferenceData& ref, const ItemFilter& filter);

// The category position (0 "None" .. 7 "misc") that fits item slot `slot` of a commander of this
// unit type: its hand slots come first, then head, body, foot and misc. "2-h wpn" and "shield" are
// never guessed: a hand slot could hold either.
int PreselectItemCategory(const UnitDataType& unit, int slot);

} // namespace ts
