#pragma once

#include "referencedata.h"

#include <string>
#include <vector>

namespace ts {

// The site finder's ten filters, widget-free. Each takes part while `on`; `invert` turns its
// condition round. `choice` is the position in the filter's list where it has one.
struct SiteFilter {
    struct Term {
        bool on = false;
        bool invert = false;
        int choice = 0;
    };
    Term terrain;   // "Plains" .. "Unique"
    Term type;      // "Fire" .. "Holy", compared with the site type word
    Term gems;      // "Fire" .. "Blood"
    Term structure; // 0 "Lab", 1 "Fort"
    Term recruits;
    Term summons;
    Term pathBonus;
    Term supplyBonus;
    Term goldBonus;
    Term scales;
};

// Whether a site slot is kept. The terrain filter decides first; the others can only drop. A slot
// without a name is never kept.
bool SitePasses(const SiteDataType& site, const SiteFilter& filter);

// The site numbers (slot indices) kept, in slot order.
std::vector<int> FilterSites(const ReferenceData& ref, const SiteFilter& filter);

} // namespace ts
