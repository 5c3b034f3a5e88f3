#include "sitetext.h"

#include <string_view>

namespace ts {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

bool has(const std::string& text) { return text != kEmptyMarkerText; }

bool validSite(int number) { return number >= 1 && number < kSiteSlots; }

void appendLine(std::string& out, std::string_view text) {
    out += text;
    out += kLineEnd;
}

// Labs, forts, scales and the research and other effects of one site, a line each.
void appendSiteItems(std::string& out, const ReferenceData& ref, const SiteDataType& s) {
    if (s.lab == "TRUE") appendLine(out, " lab");
    if (s.fort != kEmptyMarker) {
        const std::string fortName = s.fort >= 0 && s.fort < kFortSlots ? ref.FortData[s.fort].name : std::string();
        appendLine(out, " " + fortName);
    }
    for (const std::string& scale : s.scales)
        if (has(scale)) appendLine(out, scale);
    const struct {
        const char* label;
        const std::string SiteDataType::*field;
    } effects[] = {{" conj:", &SiteDataType::conj},         {" alt:", &SiteDataType::alt},
                   {" evo:", &SiteDataType::evo},           {" cons:", &SiteDataType::cons},
                   {" ench:", &SiteDataType::ench},         {" thau:", &SiteDataType::thau},
                   {" bld:", &SiteDataType::bld},           {" heal:", &SiteDataType::heal},
                   {" disease:", &SiteDataType::disease},   {" curse:", &SiteDataType::curse},
                   {" horror:", &SiteDataType::horror},     {" holyfire:", &SiteDataType::holyfire},
                   {" holypow:", &SiteDataType::holypow},   {" scry:", &SiteDataType::scry},
                   {" adventure:", &SiteDataType::adventure}};
    for (const auto& e : effects)
        if (has(s.*(e.field))) appendLine(out, e.label + s.*(e.field));
}

struct Bonus {
    const char* label;
    std::int16_t SiteDataType::*field;
};
constexpr Bonus kBonuses[] = {{" gld:", &SiteDataType::gold},
                              {" res:", &SiteDataType::resources},
                              {" sup:", &SiteDataType::supply},
                              {" unr:", &SiteDataType::unrest},
                              {" exp:", &SiteDataType::experience}};

} // namespace

const char* gemPathWord(int position) {
    static const char* const words[kGemRowPaths] = {"Fire",  "Air",    "Water", "Earth", "Astral",
                                                    "Death", "Nature", "Blood", "Holy"};
    return position >= 0 && position < kGemRowPaths ? words[position] : "";
}

SiteSummary SiteDescriptionText(const ReferenceData& ref, int number) {
    SiteSummary out;
    if (!validSite(number)) {
        out.text = "NO SITE SELECTED.";
        return out;
    }
    const SiteDataType& s = ref.SiteData[number];
    appendLine(out.text, std::to_string(s.number) + " " + s.name);
    for (const Bonus& b : kBonuses)
        if (s.*(b.field) != kEmptyMarker) appendLine(out.text, b.label + std::to_string(s.*(b.field)));
    appendSiteItems(out.text, ref, s);
    for (int g = 0; g < 8; ++g)
        if (s.gems[g] > 0) out.gems[g] = s.gems[g];
    return out;
}

SiteSummary SitesSummaryText(const ReferenceData& ref, const std::array<int, kProvinceSiteSlots>& sites) {
    SiteSummary out;
    int totals[std::size(kBonuses)] = {};
    for (int number : sites) {
        if (!validSite(number)) continue;
        const SiteDataType& s = ref.SiteData[number];
        for (std::size_t b = 0; b < std::size(kBonuses); ++b)
            if (s.*(kBonuses[b].field) != kEmptyMarker) totals[b] += s.*(kBonuses[b].field);
        for (int g = 0; g < 8; ++g)
            if (s.gems[g] != kEmptyMarker) out.gems[g] += s.gems[g];
    }
    for (std::size_t b = 0; b < std::size(kBonuses); ++b)
        if (totals[b] != 0) appendLine(out.text, kBonuses[b].label + std::to_string(totals[b]));
    for (int number : sites)
        if (validSite(number)) appendSiteItems(out.text, ref, ref.SiteData[number]);
    return out;
}

} // namespace ts
