#include "neighbourpairs.h"

#include "mapdocument.h"

#include <algorithm>
#include <set>
#include <utility>

namespace ts {

void applyNeighbourPairs(MapDocument& doc, const std::vector<RegionPair>& pairs) {
    const int count = std::clamp<int>(doc.ProvinceCount, 0, kMaxProvince);
    for (int n = 1; n <= count; ++n)
        for (std::int16_t& slot : doc.Provinces[n].Neighbours)
            slot = -1;
    auto add = [](ProvinceDataType& province, int partner) {
        for (std::int16_t& slot : province.Neighbours)
            if (slot < 1) {
                slot = static_cast<std::int16_t>(partner);
                return;
            }
    };
    for (const RegionPair& pair : pairs) {
        if (pair.a < 1 || pair.b < 1 || pair.a > count || pair.b > count || pair.a == pair.b) continue;
        add(doc.Provinces[pair.a], pair.b);
        add(doc.Provinces[pair.b], pair.a);
    }
}

std::vector<RegionPair> neighbourPairs(const MapDocument& doc) {
    const int count = std::clamp<int>(doc.ProvinceCount, 0, kMaxProvince);
    std::set<std::pair<int, int>> seen;
    for (int p = 1; p <= count; ++p)
        for (const std::int16_t q : doc.Provinces[p].Neighbours)
            if (q >= 1 && q <= count && q != p) seen.insert({std::min<int>(p, q), std::max<int>(p, q)});
    std::vector<RegionPair> pairs;
    pairs.reserve(seen.size());
    for (const auto& [a, b] : seen)
        pairs.push_back({a, b, 0});
    return pairs;
}

} // namespace ts
