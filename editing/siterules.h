#pragma once

#include "mapdocument.h"
#include "navigatornodes.h"

#include <QString>
#include <array>
#include <string>
#include <vector>

namespace ts {

struct ReferenceData;

// One site slot of the sites panel: the picture's tag and tooltip and its known-site box.
struct SiteSlotInput {
    QString tag;  // site number, "-1" or empty for none
    QString name; // the tooltip; empty means the slot is empty
    bool known = false;
};

// The sites panel written back into province p: the kill-features switch and the four slots, each
// either a site or a known site, never both. The province's site nodes are rebuilt.
void CommitSites(MapDocument& doc, int province, bool killFeatures, const std::array<SiteSlotInput, 4>& slotInputs,
                 const NavigatorNodeEdits& nodes);

// What slot s of province p holds, as the panel shows it: the site or, failing that, the known site.
SiteSlotInput SiteSlotOf(const MapDocument& doc, int province, int slot);

std::string SiteNodeKey(int province, int slot, bool known);

// The gem income of the sites numbered (below 1 is no site), per path Fire .. Blood.
std::array<int, 8> SiteGemTotals(const ReferenceData& ref, const std::array<int, 4>& sites);

// The units the sites let the owner recruit (or summon), in slot order, each unit once.
std::vector<int> SiteUnits(const ReferenceData& ref, const std::array<int, 4>& sites, bool summons);

} // namespace ts
