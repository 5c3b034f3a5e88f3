#pragma once

#include "referencedata.h"

#include <array>
#include <string>

namespace ts {

// A site summary: the text (Windows-1252, CR LF) and the gem counts of the row of nine path
// pictures, in the order Fire, Air, Water, Earth, Astral, Death, Nature, Blood, Holy.
struct SiteSummary {
    std::string text;
    std::array<int, 9> gems{};
};

inline constexpr int kGemRowPaths = 9;
inline constexpr int kProvinceSiteSlots = 4;

// One site, as its own picture's tooltip and the site finder show it: "NO SITE SELECTED." and no
// gems for a number below 1.
SiteSummary SiteDescriptionText(const ReferenceData& ref, int number);

// The four site slots of a province together: totals first, then each site's own items. A slot
// holds a site number, or -1 (or anything below 1) when it is empty.
SiteSummary SitesSummaryText(const ReferenceData& ref, const std::array<int, kProvinceSiteSlots>& sites);

// The path word of a gem-row position, "Fire" .. "Holy", as the gem pictures are named.
const char* gemPathWord(int position);

} // namespace ts
