#include "commanderrules.h"

#include "cp1252.h"
#include "godplacement.h"
#include "navigatormodel.h"
#include "valuerules.h"

namespace ts {

namespace {

bool validSlot(int p, int c) { return p >= 1 && p <= kMaxProvince && c >= 0 && c < kCommanderSlots; }

std::int16_t CommanderDataType::*const kMagic[9] = {
    &CommanderDataType::MagFire,   &CommanderDataType::MagAir,    &CommanderDataType::MagWater,
    &CommanderDataType::MagEarth,  &CommanderDataType::MagAstral, &CommanderDataType::MagDeath,
    &CommanderDataType::MagNature, &CommanderDataType::MagBlood,  &CommanderDataType::MagPriest};

void setUnit(CommanderDataType& c, int number, const QString& name) {
    c.UnitIndex = static_cast<std::int16_t>(number);
    c.UnitName = number < 0 ? std::string() : toCp1252(name);
}

// A count below 1 empties the stack; any other count is stored with whatever unit the stack shows,
// none included, so a count typed before the unit is chosen is not lost.
void storeStack(const StackInput& in, Text& name, std::int16_t& index, std::int16_t& count) {
    const int n = StackCount(in);
    if (n < 1) {
        index = -1;
        name.clear();
        count = 0;
        return;
    }
    const int unit = SlotTagNumber(in.tag);
    index = static_cast<std::int16_t>(unit);
    name = unit < 0 ? std::string() : toCp1252(in.name);
    count = static_cast<std::int16_t>(n);
}

// A box's number as leaving it would have made it: a commit can come before the box is left.
std::int16_t boxValue(const QString& text, int min, int max, std::int16_t empty) {
    const QString checked = ValidatedNumberText(text, min, max);
    return checked.isEmpty() ? empty : IntOrDefault(checked, empty);
}

// Everything of the detail panel but the inside-castle flag, which only the province's own slots keep.
void storeDetail(CommanderDataType& c, const CommanderDetailInput& in) {
    c.ComName = toCp1252(in.name);
    for (int m = 0; m < 9; ++m)
        c.*kMagic[m] = boxValue(in.magic[m], kMagicMin, kMagicMax, 0);
    c.Xp = boxValue(in.xp, kXpMin, kXpMax, 0);
    c.RandomEquip = boxValue(in.randomEquip, kRandomEquipMin, kRandomEquipMax, 0);
    c.ClearMagic = in.clearMagic;
    for (int i = 0; i < kItemSlotsPerCommander; ++i)
        c.Items[i] = toCp1252(in.items[i]);
    for (int k = 0; k < kUnitStackSlots; ++k)
        storeStack(in.units[k], c.UnitsName[k], c.UnitsIndex[k], c.UnitsCount[k]);
    for (int k = 0; k < kBodyguardSlots; ++k)
        storeStack(in.bodyguards[k], c.BodyguardName[k], c.BodyguardIndex[k], c.BodyguardCount[k]);
}

} // namespace

int SlotTagNumber(const QString& tag) {
    bool ok = false;
    const int n = tag.trimmed().toInt(&ok);
    return ok && n >= 0 ? n : -1;
}

const CommanderDataType& CommanderShown(const MapDocument& doc, int province, int slot) {
    static const CommanderDataType empty;
    if (!validSlot(province, slot)) return empty;
    if (slot == 0) {
        const int nation = SpecialStartNationOf(doc, province);
        if (nation >= 0) return doc.Nations[nation].God;
    }
    return doc.Provinces[province].Commanders[slot];
}

void CommitCommanderSlot(MapDocument& doc, int province, int slot, const QString& tag, const QString& name,
                         const NavigatorNodeEdits& nodes) {
    if (!validSlot(province, slot)) return;
    ProvinceDataType& p = doc.Provinces[province];
    CommanderDataType& c = p.Commanders[slot];
    const int unit = SlotTagNumber(tag);
    const bool had = !c.UnitName.empty();
    // Slot 0 belongs to the god of a special start; elsewhere it only ever loses what it holds.
    if (slot == 0 && unit >= 0 && SpecialStartNationOf(doc, province) < 0) return;
    const std::string key = CommanderNodeKey(province, slot);
    const std::string caption = CommanderNodeCaption(slot, toCp1252(name));

    if (had && unit < 0) {
        // Only the unit and its node go; the rest of the record stays for a unit chosen again.
        NoteProvinceEdit(doc, province);
        nodes.removeNode(c.NodeKey.empty() ? std::string_view(key) : c.NodeKey.view());
        c.NodeParentKey.clear();
        c.NodeKey.clear();
        c.NodeText.clear();
        if (p.CommanderCount > 0) --p.CommanderCount;
        // An empty group would stay in the tree; the next commander placed here adds it again.
        if (p.CommanderCount < 1) nodes.removeNode(CommandersGroupKey(province));
    } else if (had) {
        nodes.removeNode(c.NodeKey.empty() ? std::string_view(key) : c.NodeKey.view());
        c.NodeParentKey = CommandersGroupKey(province);
        c.NodeKey = key;
        c.NodeText = caption;
        nodes.addNode(c.NodeParentKey, c.NodeKey, c.NodeText);
    } else if (unit >= 0) {
        if (p.CommanderCount < 1) nodes.addNode(ProvinceNodeKey(province), CommandersGroupKey(province), "Commanders");
        c.NodeParentKey = CommandersGroupKey(province);
        c.NodeKey = key;
        c.NodeText = caption;
        nodes.addNode(c.NodeParentKey, c.NodeKey, c.NodeText);
        ++p.CommanderCount;
    }
    setUnit(c, unit, name);

    const int nation = slot == 0 ? SpecialStartNationOf(doc, province) : -1;
    if (nation >= 0) {
        NationDataType& n = doc.Nations[nation];
        setUnit(n.God, unit, name);
        n.God.NodeParentKey = c.NodeParentKey;
        n.God.NodeKey = c.NodeKey;
        n.God.NodeText = c.NodeText;
        n.GodIndex = n.God.UnitIndex;
        n.GodName = n.God.UnitName;
    }
    doc.PanelDirty[ProvinceDirty] = true;
}

int StackCount(const StackInput& stack) {
    const QString t = stack.count.trimmed();
    if (t == QLatin1String("0")) return SlotTagNumber(stack.tag) >= 0 ? 1 : 0;
    return boxValue(t, kStackMin, kStackMax, 0);
}

void CommitCommanderDetail(MapDocument& doc, int province, int slot, const CommanderDetailInput& input) {
    if (!validSlot(province, slot)) return;
    CommanderDataType& c = doc.Provinces[province].Commanders[slot];
    storeDetail(c, input);
    c.InsideCastle = input.insideCastle;
    const int nation = slot == 0 ? SpecialStartNationOf(doc, province) : -1;
    if (nation >= 0) storeDetail(doc.Nations[nation].God, input);
}

void CommitGodDetail(MapDocument& doc, int nation, const CommanderDetailInput& input) {
    if (nation < 0 || nation >= kNationCount) return;
    NationDataType& n = doc.Nations[nation];
    storeDetail(n.God, input);
    const int start = n.SpecStartProvince;
    if (start >= 1 && start <= kMaxProvince && !doc.Provinces[start].Commanders[0].UnitName.empty())
        storeDetail(doc.Provinces[start].Commanders[0], input);
}

void ApplyInsideCastle(MapDocument& doc, int province, int slot, bool inside) {
    if (!validSlot(province, slot)) return;
    auto& slotInputs = doc.Provinces[province].Commanders;
    if (inside) {
        for (int c = slot; c < kCommanderSlots; ++c)
            slotInputs[c].InsideCastle = true;
    } else {
        for (int c = 1; c <= slot; ++c)
            slotInputs[c].InsideCastle = false;
    }
}

bool InsideCastleApplies(const MapDocument& doc, int province) {
    if (province < 1 || province > kMaxProvince) return false;
    const ProvinceDataType& p = doc.Provinces[province];
    return p.Owner == 23 && p.Fort >= 0;
}

QString ValidatedNumberText(const QString& text, int min, int max) {
    if (text.trimmed().isEmpty()) return {};
    return QString::number(ClampInt(text, static_cast<std::int16_t>(min), static_cast<std::int16_t>(max)));
}

} // namespace ts
