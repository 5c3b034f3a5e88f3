#include "siterules.h"

#include "commanderrules.h"
#include "cp1252.h"
#include "navigatormodel.h"
#include "referencedata.h"

#include <algorithm>

namespace ts {

namespace {

bool validSite(int site) { return site >= 1 && site < kSiteSlots; }

} // namespace

std::string SiteNodeKey(int province, int slot, bool known) {
    return std::to_string(province) + (known ? " KNOWNSITE " : " SITE ") + std::to_string(slot);
}

SiteSlotInput SiteSlotOf(const MapDocument& doc, int province, int slot) {
    if (province < 1 || province > kMaxProvince || slot < 0 || slot >= kSiteSlotsPerProvince) return {"-1", {}, false};
    const ProvinceDataType& p = doc.Provinces[province];
    if (!p.SiteName[slot].empty())
        return {QString::number(p.SiteIndex[slot]), fromCp1252(p.SiteName[slot].view()), false};
    if (!p.KnownSiteName[slot].empty())
        return {QString::number(p.KnownSiteIndex[slot]), fromCp1252(p.KnownSiteName[slot].view()), true};
    return {"-1", {}, false};
}

void CommitSites(MapDocument& doc, int province, bool killFeatures, const std::array<SiteSlotInput, 4>& slotInputs,
                 const NavigatorNodeEdits& nodes) {
    if (province < 1 || province > kMaxProvince) return;
    ProvinceDataType& p = doc.Provinces[province];
    p.KillFeatures = killFeatures;
    nodes.removeNode(SitesGroupKey(province));
    for (int s = 0; s < kSiteSlotsPerProvince; ++s) {
        const SiteSlotInput& in = slotInputs[s];
        p.SiteName[s].clear();
        p.SiteIndex[s] = -1;
        p.KnownSiteName[s].clear();
        p.KnownSiteIndex[s] = -1;
        if (in.name.isEmpty()) continue;
        const auto number = static_cast<std::int16_t>(SlotTagNumber(in.tag));
        if (in.known) {
            p.KnownSiteIndex[s] = number;
            p.KnownSiteName[s] = toCp1252(in.name);
        } else {
            p.SiteIndex[s] = number;
            p.SiteName[s] = toCp1252(in.name);
        }
    }

    bool groupAdded = false;
    const std::string group = SitesGroupKey(province);
    for (bool known : {false, true}) {
        for (int s = 0; s < kSiteSlotsPerProvince; ++s) {
            const Text& name = known ? p.KnownSiteName[s] : p.SiteName[s];
            if (name.empty()) continue;
            if (!groupAdded) nodes.addNode(ProvinceNodeKey(province), group, "Sites");
            groupAdded = true;
            nodes.addNode(group, SiteNodeKey(province, s, known), name.view());
        }
    }
    if (groupAdded) nodes.expandNode(group);
}

std::array<int, 8> SiteGemTotals(const ReferenceData& ref, const std::array<int, 4>& sites) {
    std::array<int, 8> totals{};
    for (int site : sites) {
        if (!validSite(site)) continue;
        for (int g = 0; g < 8; ++g) {
            const int gems = ref.SiteData[site].gems[g];
            if (gems != kEmptyMarker) totals[g] += gems;
        }
    }
    return totals;
}

std::vector<int> SiteUnits(const ReferenceData& ref, const std::array<int, 4>& sites, bool summons) {
    std::vector<int> units;
    for (int site : sites) {
        if (!validSite(site)) continue;
        const SiteDataType& d = ref.SiteData[site];
        const std::int16_t* first = summons ? d.summons : d.recruits;
        const std::int16_t* last = first + (summons ? std::size(d.summons) : std::size(d.recruits));
        for (const std::int16_t* u = first; u != last; ++u)
            // The table's -666 entry has a picture of its own, so it is shown like a unit.
            if ((*u >= 1 || *u == kEmptyMarker) && std::find(units.begin(), units.end(), *u) == units.end())
                units.push_back(*u);
    }
    return units;
}

} // namespace ts
