#pragma once

#include "neighbourpairs.h"

#include <cstddef>
#include <vector>

namespace ts {

// A guess of neighbour pairs weighed against the lists the map holds, pair by pair, before any of it
// is taken: the user sees what the guess would add and drop, switches single pairs and then takes
// the result as a whole.
class NeighbourReview {
public:
    struct Pair {
        int a = 0, b = 0;
        bool inLists = false; // the map's lists hold it now
        bool guessed = false; // the guess found it
        bool taken = false;   // it stands in the lists after the review is accepted
    };
    enum class Change { Add, Drop, Keep, Leave }; // Leave: a guessed pair the user turned down
    struct Counts {
        int added = 0, dropped = 0, kept = 0;
    };

    NeighbourReview() = default;
    // Pairs in the lists that the guess did not find are kept when keepLists is set, else dropped.
    NeighbourReview(const std::vector<RegionPair>& lists, const std::vector<RegionPair>& guess, bool keepLists);

    // Takes or drops, at once, every pair the lists hold and the guess did not find.
    void setKeepLists(bool keep);
    bool keepLists() const { return mKeepLists; }
    void toggle(std::size_t index);

    const std::vector<Pair>& pairs() const { return mPairs; }
    static Change change(const Pair& pair);
    Counts counts() const;
    // The pairs taken: those the lists hold first, so that a full list keeps its hand-made links,
    // then the guessed ones in the guess's own order.
    std::vector<RegionPair> result() const;

private:
    std::vector<Pair> mPairs;
    bool mKeepLists = false;
};

} // namespace ts
