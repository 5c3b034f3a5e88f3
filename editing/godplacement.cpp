#include "godplacement.h"

#include "navigatormodel.h"

namespace ts {

namespace {

bool validProvince(int p) { return p >= 1 && p <= kMaxProvince; }

bool holdsUnit(const CommanderDataType& c) { return c.UnitIndex >= 1; }

} // namespace

int SpecialStartNationOf(const MapDocument& doc, int province) {
    if (!validProvince(province)) return -1;
    const ProvinceDataType& p = doc.Provinces[province];
    if (p.SpecStartNation >= 0 && p.SpecStartNation < kNationCount) return p.SpecStartNation;
    for (int n = 0; n < kNationCount; ++n)
        if (doc.Nations[n].SpecStartProvince == province) return n;
    return -1;
}

void PlaceGod(MapDocument& doc, int nation, int province, const NavigatorNodeEdits& nodes) {
    if (!validProvince(province) || nation < 0 || nation >= kNationCount) return;
    CommanderDataType& god = doc.Nations[nation].God;
    if (god.UnitName.empty() || god.UnitIndex < 0) return;
    NoteProvinceEdit(doc, province);
    ProvinceDataType& p = doc.Provinces[province];
    if (!holdsUnit(p.Commanders[0]) && !holdsUnit(p.Commanders[1]))
        nodes.addNode(ProvinceNodeKey(province), CommandersGroupKey(province), "Commanders");
    god.NodeParentKey = CommandersGroupKey(province);
    god.NodeKey = CommanderNodeKey(province, 0);
    god.NodeText = CommanderNodeCaption(0, god.UnitName);
    CommanderDataType& slot = p.Commanders[0];
    // Placing the god where it already stands refreshes it; it must not be counted twice.
    const bool wasEmpty = slot.UnitName.empty();
    if (!wasEmpty) nodes.removeNode(slot.NodeKey);
    slot = god;
    slot.InsideCastle = false;
    nodes.addNode(god.NodeParentKey, god.NodeKey, god.NodeText);
    if (wasEmpty) ++p.CommanderCount;
}

void EmptyCommanderSlot(MapDocument& doc, int province, int slot, const NavigatorNodeEdits& nodes) {
    if (!validProvince(province) || slot < 0 || slot >= kCommanderSlots) return;
    NoteProvinceEdit(doc, province);
    ProvinceDataType& p = doc.Provinces[province];
    CommanderDataType& c = p.Commanders[slot];
    nodes.removeNode(c.NodeKey);
    const bool held = !c.UnitName.empty() || c.UnitIndex >= 1;
    c = CommanderDataType{};
    if (held && p.CommanderCount > 0) --p.CommanderCount;
    // An empty group would stay in the tree; the next commander placed here adds it again.
    if (p.CommanderCount < 1) nodes.removeNode(CommandersGroupKey(province));
}

void RemoveGod(MapDocument& doc, int province, const NavigatorNodeEdits& nodes) {
    if (!validProvince(province)) return;
    NoteProvinceEdit(doc, province);
    ProvinceDataType& p = doc.Provinces[province];
    p.SpecStart = false;
    p.Owner = -1;
    p.SpecStartNation = -1;
    EmptyCommanderSlot(doc, province, 0, nodes);
}

} // namespace ts
