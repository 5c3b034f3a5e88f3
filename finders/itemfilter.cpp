#include "itemfilter.h"

namespace ts {

bool ItemPasses(const ItemDataType& item, const ItemFilter& f) {
    if (!f.category.empty() && item.category != f.category) return false;
    if (f.noArtifacts && item.itemLevel == kArtifactLevel) return false;
    if (f.artifacts && item.itemLevel != kArtifactLevel) return false;
    if (f.noSpecial && item.itemLevel == kSpecialItemLevel) return false;
    if (f.special && item.itemLevel != kSpecialItemLevel) return false;
    if (f.path1 && item.path1 != *f.path1) return false;
    if (f.level1 && item.path1Level > *f.level1) return false;
    if (f.path2 && item.path2 != *f.path2) return false;
    if (f.level2 && item.path2Level > *f.level2) return false;
    return true;
}

std::vector<int> FilterItems(const ReferenceData& ref, const ItemFilter& filter) {
    std::vector<int> out;
    out.reserve(kItemSlots);
    for (int i = 0; i < kItemSlots; ++i)
        if (ItemPasses(ref.ItemData[i], filter)) out.push_back(i);
    return out;
}

int PreselectItemCategory(const UnitDataType& u, int slot) {
    // A count the table leaves empty (-666) holds no slots rather than taking slots away.
    auto count = [](std::int16_t n) { return n > 0 ? int(n) : 0; };
    const int hand = count(u.slotHand);
    const int head = hand + count(u.slotHead);
    const int body = head + count(u.slotBody);
    const int foot = body + count(u.slotFoot);
    const int misc = foot + count(u.slotMisc);
    if (slot < hand) return 1;
    if (slot < head) return 4;
    if (slot < body) return 5;
    if (slot < foot) return 6;
    if (slot < misc) return 7;
    return 0;
}

} // namespace ts
