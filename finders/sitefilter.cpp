#include "sitefilter.h"

#include "sitetext.h"

namespace ts {

namespace {

bool set(const std::string& text) { return text != kEmptyMarkerText; }

bool hasTerrain(const SiteDataType& s, int position) {
    // In the order of the finder's terrain words.
    const std::string SiteTerrainFlags::*flags[] = {
        &SiteTerrainFlags::plains, &SiteTerrainFlags::forest, &SiteTerrainFlags::mountain,
        &SiteTerrainFlags::waste,  &SiteTerrainFlags::farm,   &SiteTerrainFlags::sea,
        &SiteTerrainFlags::coast,  &SiteTerrainFlags::swamp,  &SiteTerrainFlags::deepSea,
        &SiteTerrainFlags::cave,   &SiteTerrainFlags::unique};
    if (position < 0 || position >= static_cast<int>(std::size(flags))) return false;
    return s.terrain.*(flags[position]) == "Yes";
}

bool hasStructure(const SiteDataType& s, int position) {
    if (position == 0) return s.lab == "TRUE";
    if (position == 1) return s.fort >= 1;
    return false;
}

bool hasPathBonus(const SiteDataType& s) {
    return set(s.conj) || set(s.alt) || set(s.evo) || set(s.cons) || set(s.ench) || set(s.thau) || set(s.bld);
}

} // namespace

bool SitePasses(const SiteDataType& s, const SiteFilter& f) {
    if (s.name.empty()) return false;
    bool keep = true;
    if (f.terrain.on) keep = hasTerrain(s, f.terrain.choice) != f.terrain.invert;
    auto must = [&keep](const SiteFilter::Term& term, auto condition) {
        if (keep && term.on && condition() == term.invert) keep = false;
    };
    must(f.type, [&] { return s.siteType == gemPathWord(f.type.choice); });
    must(f.gems, [&] { return f.gems.choice >= 0 && f.gems.choice < 8 && s.gems[f.gems.choice] >= 1; });
    must(f.structure, [&] { return hasStructure(s, f.structure.choice); });
    must(f.recruits, [&] { return s.recruits[0] >= 1; });
    must(f.summons, [&] { return s.summons[0] >= 1; });
    must(f.pathBonus, [&] { return hasPathBonus(s); });
    must(f.supplyBonus, [&] { return s.supply >= 1; });
    must(f.goldBonus, [&] { return s.gold >= 1; });
    must(f.scales, [&] { return set(s.scales[0]) || set(s.scales[1]); });
    return keep;
}

std::vector<int> FilterSites(const ReferenceData& ref, const SiteFilter& filter) {
    std::vector<int> out;
    for (int i = 0; i < kSiteSlots; ++i)
        if (SitePasses(ref.SiteData[i], filter)) out.push_back(i);
    return out;
}

} // namespace ts
