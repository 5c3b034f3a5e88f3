#pragma once

#include "mapdocument.h"
#include "navigatornodes.h"

#include <QString>

namespace ts {

// What the commander strip and the commander detail panel write back, without their widgets. The
// panels hand in what their controls hold; tests hand in the same texts.

// A slot picture's tag as a unit number: "-1", empty or no number is no unit.
int SlotTagNumber(const QString& tag);

// The slot a panel shows for (p, c): slot 0 of a special start shows the nation's god, which is
// what the map file keeps; any other slot shows itself.
const CommanderDataType& CommanderShown(const MapDocument& doc, int province, int slot);

// The strip slot c of province p now shows unit tag/name (the finder's hand-back). Keeps the slot's
// navigator node and the province's commander count in step, mirrors slot 0 of a special start into
// the nation's god, and marks the province panel dirty. Slot 0 of a province that is no special
// start takes no unit.
void CommitCommanderSlot(MapDocument& doc, int province, int slot, const QString& tag, const QString& name,
                         const NavigatorNodeEdits& nodes);

// One bodyguard or unit stack as its picture and count box show it.
struct StackInput {
    QString tag;   // unit number, "-1" or empty for none
    QString name;  // the picture's tooltip
    QString count; // the count box
};

// The detail panel's controls, in the order the record keeps them.
struct CommanderDetailInput {
    QString name;
    QString magic[9]; // fire, air, water, earth, astral, death, nature, blood, priest
    QString xp;
    QString randomEquip;
    bool insideCastle = false;
    bool clearMagic = false;
    QString items[kItemSlotsPerCommander];
    StackInput bodyguards[kBodyguardSlots];
    StackInput units[kUnitStackSlots];
};

// Writes the detail panel into slot c of province p, and into the nation's god for slot 0 of a
// special start.
void CommitCommanderDetail(MapDocument& doc, int province, int slot, const CommanderDetailInput& input);

// The same for a nation's god shown on its own (the nation panels), mirrored into slot 0 of the
// nation's special start when it has one.
void CommitGodDetail(MapDocument& doc, int nation, const CommanderDetailInput& input);

// A stack's count as the commit reads its box: "0" means one when the stack shows a unit (the
// finder was opened on an empty stack), an empty box none; anything else is checked as leaving the
// box checks it.
int StackCount(const StackInput& stack);

// The inside-castle box was pressed on slot `slot`. Inside commanders must follow all outside ones
// in the file, so checking marks this slot and every later one inside, unchecking marks slots 1 up
// to this one outside.
void ApplyInsideCastle(MapDocument& doc, int province, int slot, bool inside);

// Whether the inside-castle box applies: the province belongs to the special monsters and has a fort.
bool InsideCastleApplies(const MapDocument& doc, int province);

// A typed number after leaving its box: empty stays empty, anything else is clamped into range
// (a non-number becomes the minimum).
QString ValidatedNumberText(const QString& text, int min, int max);

// The ranges of the detail panel's boxes.
inline constexpr int kMagicMin = 1, kMagicMax = 10;
inline constexpr int kXpMin = 0, kXpMax = 900;
inline constexpr int kRandomEquipMin = 0, kRandomEquipMax = 4;
inline constexpr int kStackMin = 1, kStackMax = 999;

} // namespace ts
