#include "renumber.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_map>

namespace ts {

namespace {

bool numbered(int p) { return p >= 1 && p <= kMaxProvince; }

std::int64_t placeKey(const ProvincePlace& p) { return (std::int64_t(p.x) << 32) ^ std::uint32_t(p.y); }

// Numbers beyond the picture's provinces keep their distance from the last one.
void numberBeyond(Renumbering& r) {
    const int shift = r.newCount - r.oldCount;
    for (int p = r.oldCount + 1; p <= kMaxProvince; ++p) {
        const int to = p + shift;
        r.newNumber[p] = static_cast<std::int16_t>(to > r.newCount && to <= kMaxProvince ? to : 0);
    }
}

// The record moves as a permutation of all slots 1..2599: a record dropped goes to a slot no
// record comes to (one is there for each), which is then emptied. One record at a time is held
// aside, so the document is never copied.
void moveRecords(MapDocument& doc, const std::vector<std::int16_t>& newNumber,
                 std::vector<int>& fromOf /* out: the number before of each slot after */) {
    std::vector<int> target(kProvinceSlots, 0);
    fromOf.assign(kProvinceSlots, 0);
    for (int p = 1; p <= kMaxProvince; ++p)
        if (numbered(newNumber[p])) {
            target[p] = newNumber[p];
            fromOf[newNumber[p]] = p;
        }
    std::vector<int> freeSlots;
    for (int p = kMaxProvince; p >= 1; --p)
        if (fromOf[p] == 0) freeSlots.push_back(p);
    for (int p = 1; p <= kMaxProvince; ++p)
        if (target[p] == 0) {
            target[p] = freeSlots.back();
            freeSlots.pop_back();
            fromOf[target[p]] = p;
        }

    std::vector<char> done(kProvinceSlots, 0);
    ProvinceDataType aside;
    for (int start = 1; start <= kMaxProvince; ++start) {
        if (done[start] || target[start] == start) continue;
        aside = std::move(doc.Provinces[start]);
        int slot = start;
        for (;;) {
            done[slot] = 1;
            const int from = fromOf[slot];
            if (from == start) {
                doc.Provinces[slot] = std::move(aside);
                break;
            }
            doc.Provinces[slot] = std::move(doc.Provinces[from]);
            slot = from;
        }
    }
}

void setPlaces(MapDocument& doc, const std::vector<ProvincePlace>& places) {
    for (std::size_t k = 0; k < places.size() && k < static_cast<std::size_t>(kMaxProvince); ++k) {
        doc.Provinces[k + 1].ProvinceX = places[k].x;
        doc.Provinces[k + 1].ProvinceY = places[k].y;
    }
    doc.ProvinceCount = static_cast<std::int16_t>(std::min<std::size_t>(places.size(), kMaxProvince));
}

} // namespace

std::vector<ProvincePlace> PlacesOf(const MapDocument& doc) {
    std::vector<ProvincePlace> places;
    for (int p = 1; p <= doc.ProvinceCount && p <= kMaxProvince; ++p)
        places.push_back({doc.Provinces[p].ProvinceX, doc.Provinces[p].ProvinceY});
    return places;
}

bool Renumbering::changesNothing() const {
    if (oldCount != newCount) return false;
    for (int p = 1; p <= kMaxProvince; ++p)
        if (newNumber[p] != p) return false;
    return true;
}

Renumbering Renumbering::inverse() const {
    Renumbering r;
    r.oldCount = newCount;
    r.newCount = oldCount;
    for (int p = 1; p <= kMaxProvince; ++p)
        if (numbered(newNumber[p])) r.newNumber[newNumber[p]] = static_cast<std::int16_t>(p);
    r.added = removed;
    r.removed = added;
    for (const auto& [from, to] : moved) r.moved.emplace_back(to, from);
    return r;
}

Renumbering MatchPlaces(const std::vector<ProvincePlace>& before, const std::vector<ProvincePlace>& after,
                        int movedDistance) {
    Renumbering r;
    r.oldCount = static_cast<int>(std::min<std::size_t>(before.size(), kMaxProvince));
    r.newCount = static_cast<int>(std::min<std::size_t>(after.size(), kMaxProvince));
    std::unordered_map<std::int64_t, int> afterAt;
    for (int k = 0; k < r.newCount; ++k) afterAt.emplace(placeKey(after[k]), k + 1);

    std::vector<char> taken(r.newCount + 1, 0);
    std::vector<int> gone;
    for (int p = 1; p <= r.oldCount; ++p) {
        const auto hit = afterAt.find(placeKey(before[p - 1]));
        if (hit != afterAt.end() && !taken[hit->second]) {
            r.newNumber[p] = static_cast<std::int16_t>(hit->second);
            taken[hit->second] = 1;
        } else {
            gone.push_back(p);
        }
    }
    std::vector<int> fresh;
    for (int n = 1; n <= r.newCount; ++n)
        if (!taken[n]) fresh.push_back(n);

    struct Pair {
        int distance, from, to;
    };
    std::vector<Pair> pairs;
    for (const int from : gone)
        for (const int to : fresh) {
            const ProvincePlace& a = before[from - 1];
            const ProvincePlace& b = after[to - 1];
            const int d = std::max(std::abs(a.x - b.x), std::abs(a.y - b.y));
            if (d <= movedDistance) pairs.push_back({d, from, to});
        }
    std::stable_sort(pairs.begin(), pairs.end(), [](const Pair& a, const Pair& b) { return a.distance < b.distance; });
    std::vector<char> paired(r.newCount + 1, 0);
    for (const Pair& pair : pairs) {
        if (r.newNumber[pair.from] != 0 || paired[pair.to]) continue;
        r.newNumber[pair.from] = static_cast<std::int16_t>(pair.to);
        paired[pair.to] = 1;
        r.moved.emplace_back(pair.from, pair.to);
    }
    std::sort(r.moved.begin(), r.moved.end());
    for (const int from : gone)
        if (r.newNumber[from] == 0) r.removed.push_back(from);
    for (const int to : fresh)
        if (!paired[to]) r.added.push_back(to);
    numberBeyond(r);
    return r;
}

std::string DescribeRenumbering(const Renumbering& r) {
    std::vector<std::string> parts;
    if (!r.added.empty())
        parts.push_back(std::to_string(r.added.size()) + (r.added.size() == 1 ? " province added" : " provinces added"));
    const auto part = [&parts](std::size_t n, const char* what) {
        if (n == 0) return;
        // The first part names the provinces; the others only say what became of them.
        parts.push_back(std::to_string(n) + (parts.empty() ? (n == 1 ? " province " : " provinces ") : " ") + what);
    };
    part(r.removed.size(), "removed");
    part(r.moved.size(), "moved");
    std::string text;
    for (const std::string& p : parts) text += (text.empty() ? "" : ", ") + p;
    return text;
}

RenumberDrops ApplyRenumbering(MapDocument& doc, const Renumbering& r, const std::vector<ProvincePlace>& after) {
    RenumberDrops drops;
    for (int p = 1; p <= kMaxProvince; ++p)
        if (!numbered(r.newNumber[p]) && !(doc.Provinces[p] == ProvinceDataType{}))
            drops.records.emplace_back(p, std::make_unique<ProvinceDataType>(std::move(doc.Provinces[p])));

    std::vector<int> fromOf;
    moveRecords(doc, r.newNumber, fromOf);
    for (int p = 1; p <= kMaxProvince; ++p)
        if (!numbered(r.newNumber[fromOf[p]])) ResetProvince(doc.Provinces[p]);

    for (int p = 1; p <= kMaxProvince; ++p) {
        std::int16_t* slots = doc.Provinces[p].Neighbours;
        for (int s = 0; s < kNeighbourSlots; ++s) {
            if (!numbered(slots[s])) continue;
            const std::int16_t to = r.newNumber[slots[s]];
            if (to == 0) drops.links.push_back({fromOf[p], s, slots[s]});
            slots[s] = to == 0 ? std::int16_t(-1) : to;
        }
    }
    for (int n = 0; n < kNationCount; ++n) {
        std::int16_t& start = doc.Nations[n].SpecStartProvince;
        if (!numbered(start)) continue;
        if (r.newNumber[start] == 0) {
            drops.specStarts.emplace_back(n, start);
            start = -1;
        } else {
            start = r.newNumber[start];
        }
    }
    drops.curProvince = doc.CurProvince;
    if (numbered(doc.CurProvince))
        doc.CurProvince = r.newNumber[doc.CurProvince] == 0 ? kNone : r.newNumber[doc.CurProvince];
    setPlaces(doc, after);
    return drops;
}

void RevertRenumbering(MapDocument& doc, const Renumbering& r, RenumberDrops drops,
                       const std::vector<ProvincePlace>& before) {
    const std::int16_t current = drops.curProvince;
    ApplyRenumbering(doc, r.inverse(), before);
    for (auto& [p, record] : drops.records) doc.Provinces[p] = std::move(*record);
    for (const RenumberDrops::Link& link : drops.links) doc.Provinces[link.province].Neighbours[link.slot] = link.value;
    for (const auto& [nation, start] : drops.specStarts) doc.Nations[nation].SpecStartProvince = start;
    doc.CurProvince = current;
    setPlaces(doc, before);
}

RenumberChange::RenumberChange(Renumbering r, std::vector<ProvincePlace> before, std::vector<ProvincePlace> after,
                               std::vector<PixelEdit> pixels, PixelSetter setPixel)
    : mRenumbering(std::move(r)), mBefore(std::move(before)), mAfter(std::move(after)), mPixels(std::move(pixels)),
      mSetPixel(std::move(setPixel)) {}

void RenumberChange::setPixels(bool after) const {
    if (!mSetPixel) return;
    for (const PixelEdit& p : mPixels) mSetPixel(p.x, p.y, after ? p.after : p.before);
}

void RenumberChange::apply(MapDocument& doc) {
    setPixels(true);
    mDrops = ApplyRenumbering(doc, mRenumbering, mAfter);
    mDone = true;
}

void RenumberChange::exchange(MapDocument& doc) {
    if (mDone) {
        setPixels(false);
        RevertRenumbering(doc, mRenumbering, std::move(mDrops), mBefore);
        mDrops = RenumberDrops();
        mDone = false;
    } else {
        apply(doc);
    }
}

std::size_t RenumberChange::bytes() const {
    std::size_t n = sizeof(*this) + mRenumbering.newNumber.size() * sizeof(std::int16_t) +
                    (mBefore.size() + mAfter.size()) * sizeof(ProvincePlace) + mPixels.size() * sizeof(PixelEdit);
    n += mDrops.records.size() * sizeof(ProvinceDataType) + mDrops.links.size() * sizeof(RenumberDrops::Link);
    return n;
}

} // namespace ts
