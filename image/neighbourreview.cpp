#include "neighbourreview.h"

#include <algorithm>
#include <map>
#include <utility>

namespace ts {

NeighbourReview::NeighbourReview(const std::vector<RegionPair>& lists, const std::vector<RegionPair>& guess,
                                 bool keepLists) {
    std::map<std::pair<int, int>, std::size_t> index;
    auto entry = [&](const RegionPair& p) -> Pair& {
        const std::pair<int, int> key{std::min(p.a, p.b), std::max(p.a, p.b)};
        const auto [it, added] = index.try_emplace(key, mPairs.size());
        if (added) mPairs.push_back(Pair{key.first, key.second});
        return mPairs[it->second];
    };
    for (const RegionPair& p : guess)
        entry(p).guessed = true;
    for (const RegionPair& p : lists)
        entry(p).inLists = true;
    for (Pair& p : mPairs)
        p.taken = p.guessed;
    setKeepLists(keepLists);
}

void NeighbourReview::setKeepLists(bool keep) {
    mKeepLists = keep;
    for (Pair& p : mPairs)
        if (p.inLists && !p.guessed) p.taken = keep;
}

void NeighbourReview::toggle(std::size_t index) {
    if (index < mPairs.size()) mPairs[index].taken = !mPairs[index].taken;
}

NeighbourReview::Change NeighbourReview::change(const Pair& pair) {
    if (pair.taken) return pair.inLists ? Change::Keep : Change::Add;
    return pair.inLists ? Change::Drop : Change::Leave;
}

NeighbourReview::Counts NeighbourReview::counts() const {
    Counts counts;
    for (const Pair& p : mPairs)
        switch (change(p)) {
        case Change::Add: ++counts.added; break;
        case Change::Drop: ++counts.dropped; break;
        case Change::Keep: ++counts.kept; break;
        case Change::Leave: break;
        }
    return counts;
}

std::vector<RegionPair> NeighbourReview::result() const {
    std::vector<RegionPair> taken;
    for (const bool fromLists : {true, false})
        for (const Pair& p : mPairs)
            if (p.taken && p.inLists == fromLists) taken.push_back({p.a, p.b, 0});
    return taken;
}

} // namespace ts
