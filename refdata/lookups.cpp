#include "lookups.h"

#include <unordered_map>
#include <utility>

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
        std::unordered_map<int, int> slotByNumber;       // number -> last slot
    };
    Table units;
    Table sites;
};

namespace {

template <typename Record> LookupIndex::Table indexTable(const Record* records, int count) {
    LookupIndex::Table t;
    t.slotByName.reserve(static_cast<std::size_t>(count));
    t.slotByNumber.reserve(static_cast<std::size_t>(count));
    // Ascending order, so a later slot replaces an earlier one: the last match wins, as in a scan.
    for (int i = 0; i < count; ++i) {
        t.slotByNumber[records[i].number] = i;
        if (!records[i].name.empty()) t.slotByName[upperCased(records[i].name)] = i;
    }
    return t;
}

template <typename Record>
std::string nameOf(const Record* records, int count, const LookupIndex::Table* index, int number) {
    if (index) {
        const auto it = index->slotByNumber.find(number);
        if (it == index->slotByNumber.end()) return std::string(kIndexNotFound);
        if (records[it->second].number == number) return records[it->second].name;
        // The table changed since the index was built: fall through to the scan.
    }
    for (int i = count - 1; i >= 0; --i)
        if (records[i].number == number) return records[i].name;
    return std::string(kIndexNotFound);
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
    LoadDeferredTables(ref);
    const LookupIndex* index = ref.lookupIndex.get();
    if (tableKey == kUnitTableKey)
        return nameOf(ref.UnitData, kUnitSlots, index ? &index->units : nullptr, number);
    if (tableKey == kSiteTableKey)
        return nameOf(ref.SiteData, kSiteSlots, index ? &index->sites : nullptr, number);
    return std::string(kIndexNotFound);
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
