#include "lookups.h"

#include <unordered_map>
#include <utility>
#include <vector>

namespace ts {

namespace {

char upperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string upperCased(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = upperAscii(c);
    return out;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upperAscii(a[i]) != upperAscii(b[i])) return false;
    return true;
}

} // namespace

struct LookupIndex {
    struct Table {
        std::unordered_map<std::string, int> slotByName; // upper-cased name -> last slot
        // Numbers are 16-bit, so every one has its place: a big map asks tens of thousands of times.
        std::vector<std::int16_t> slotByNumber = std::vector<std::int16_t>(kNumberRange, -1); // last slot, or -1
        int slotOf(int number) const {
            const int at = number + kNumberOffset;
            return at >= 0 && at < kNumberRange ? slotByNumber[static_cast<std::size_t>(at)] : -1;
        }
    };
    static constexpr int kNumberOffset = 32768, kNumberRange = 65536;
    Table units;
    Table sites;
};

namespace {

template <typename Record> LookupIndex::Table indexTable(const Record* records, int count) {
    LookupIndex::Table t;
    t.slotByName.reserve(static_cast<std::size_t>(count));
    // Ascending order, so a later slot replaces an earlier one: the last match wins, as in a scan.
    for (int i = 0; i < count; ++i) {
        t.slotByNumber[static_cast<std::size_t>(records[i].number + LookupIndex::kNumberOffset)] =
            static_cast<std::int16_t>(i);
        if (!records[i].name.empty()) t.slotByName[upperCased(records[i].name)] = i;
    }
    return t;
}

template <typename Record>
std::string_view nameOf(const Record* records, int count, const LookupIndex::Table* index, int number) {
    if (index) {
        const int slot = index->slotOf(number);
        if (slot < 0) return kIndexNotFound;
        if (records[slot].number == number) return records[slot].name;
        // The table changed since the index was built: fall through to the scan.
    }
    for (int i = count - 1; i >= 0; --i)
        if (records[i].number == number) return records[i].name;
    return kIndexNotFound;
}

template <typename Record>
int numberOf(const Record* records, int count, const LookupIndex::Table* index, std::string_view name) {
    if (name.empty()) return -1;
    if (index) {
        const auto it = index->slotByName.find(upperCased(name));
        if (it == index->slotByName.end()) return -1;
        if (equalIgnoringCase(records[it->second].name, name)) return records[it->second].number;
    }
    for (int i = count - 1; i >= 0; --i)
        if (equalIgnoringCase(records[i].name, name)) return records[i].number;
    return -1;
}

} // namespace

void LoadDeferredTables(const ReferenceData& ref) {
    // Taken out before it runs, so a load that looks something up does not start itself again.
    if (ref.deferredLoad) std::exchange(ref.deferredLoad, {})();
}

std::string DataNameOf(const ReferenceData& ref, int number, std::string_view tableKey) {
    return std::string(DataNameView(ref, number, tableKey));
}

std::string_view DataNameView(const ReferenceData& ref, int number, std::string_view tableKey) {
    LoadDeferredTables(ref);
    const LookupIndex* index = ref.lookupIndex.get();
    if (tableKey == kUnitTableKey)
        return nameOf(ref.UnitData, kUnitSlots, index ? &index->units : nullptr, number);
    if (tableKey == kSiteTableKey)
        return nameOf(ref.SiteData, kSiteSlots, index ? &index->sites : nullptr, number);
    return kIndexNotFound;
}

int DataNumberOf(const ReferenceData& ref, std::string_view name, std::string_view tableKey) {
    LoadDeferredTables(ref);
    const LookupIndex* index = ref.lookupIndex.get();
    if (tableKey == kUnitTableKey)
        return numberOf(ref.UnitData, kUnitSlots, index ? &index->units : nullptr, name);
    if (tableKey == kSiteTableKey)
        return numberOf(ref.SiteData, kSiteSlots, index ? &index->sites : nullptr, name);
    return -1;
}

void BuildLookupIndex(ReferenceData& ref) {
    auto index = std::make_shared<LookupIndex>();
    index->units = indexTable(ref.UnitData, kUnitSlots);
    index->sites = indexTable(ref.SiteData, kSiteSlots);
    ref.lookupIndex = std::move(index);
}

} // namespace ts
