#pragma once

#include "mapdocument.h"
#include "navigatornodes.h"

namespace ts {

// The nation whose special start the province is, or -1. The province's own SpecStartNation
// decides; a nation that still names the province as its start counts too, so a half-finished
// edit never hides a god.
int SpecialStartNationOf(const MapDocument& doc, int province);

// Puts a copy of nation N's god into slot 0 of province p, with its navigator node and the
// province's commanders group when that is missing. Does nothing when the god has no unit.
void PlaceGod(MapDocument& doc, int nation, int province, const NavigatorNodeEdits& nodes);

// The province stops being a special start and its slot 0 is emptied, node and all.
void RemoveGod(MapDocument& doc, int province, const NavigatorNodeEdits& nodes);

// Empties one commander slot as RemoveGod empties slot 0: node removed, every field reset, one
// commander fewer when the slot held one, and the commanders group gone with the last one. Does not
// touch the province's special start.
void EmptyCommanderSlot(MapDocument& doc, int province, int slot, const NavigatorNodeEdits& nodes);

} // namespace ts
