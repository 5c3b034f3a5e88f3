#pragma once

#include <vector>

namespace ts {

struct MapDocument;

// Neighbour lists as pairs, with no picture involved: what tessary-cli check counts without loading
// any picture library.
struct RegionPair {
    int a = 0, b = 0; // province numbers, a < b
    int shared = 0;   // boundary length in cells
};

// Replaces every neighbour list of provinces 1..ProvinceCount by the pairs, each list in the
// order given. One step, so that it can be undone as one.
void applyNeighbourPairs(MapDocument& doc, const std::vector<RegionPair>& pairs);

// Every pair the lists of provinces 1..ProvinceCount hold, a < b, each once.
std::vector<RegionPair> neighbourPairs(const MapDocument& doc);

} // namespace ts
