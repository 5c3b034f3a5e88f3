#pragma once

#include "mapdocument.h"
#include "navigatornodes.h"

#include <QString>
#include <functional>

namespace ts {

class UserInterface;

// The kinds of slot the slot menu opens on.
enum ClipKindValue { ClipNone = 0, ClipCommander = 1, ClipBodyguard = 2, ClipUnit = 3, ClipSite = 4 };

// Where the copied thing lives; the clipboard holds no copy of it.
struct ClipboardState {
    int ClipKind = ClipNone; // kind of the slot the menu last opened on
    bool ClipIsCut = false;
    int ClipProvince = -1;
    int ClipCommander = -1;
    int ClipBodyguard = -1;
    int ClipUnit = -1;
    int ClipSite = -1;
    int ClipSiteNumber = -1;
    QString ClipName;
    bool ClipSiteKnown = false;
};

// Cut, copy, paste and delete of commanders, bodyguard stacks, unit stacks and sites over the map
// document. The current slot is the document's selection (CurProvince, CurCommander, CurBodyguardSlot,
// CurUnitSlot, CurSiteSlot); callers commit pending panel edits first and refresh the panels after
// an operation that returns true (the document changed).
class Clipboard {
public:
    struct MenuState {
        bool cut = false, copy = false, paste = false, del = false;
    };

    Clipboard(MapDocument& doc, UserInterface& ui);

    NavigatorNodeEdits nodes;
    // After the reserved-slot refusal: show the start-and-owner panel and focus its owner list.
    std::function<void()> showStartAndOwner;

    // The slot menu opens on a slot of this kind: what it offers. Paste needs the menu's previous
    // opening to have been on the same kind and a source province; an empty slot offers nothing else.
    MenuState menuOpened(int kind);
    // Whether the current slot of this kind holds nothing (no unit or site name).
    bool currentSlotEmpty(int kind) const;
    bool canPaste(int kind) const;

    // Remembers the current slot of this kind; nothing in the document changes.
    void cut(int kind) { take(kind, true); }
    void copy(int kind) { take(kind, false); }
    // Copies the remembered slot into the current one; a cut then empties its source.
    bool paste(int kind);
    // Empties the current slot at once.
    bool remove(int kind);

    void reset();
    const ClipboardState& state() const { return mState; }

private:
    void take(int kind, bool cut);
    bool pasteCommander();
    bool pasteStack(int kind);
    bool pasteSite();
    void removeCommander(bool godMoved);
    void removeStack(int kind);
    void removeSite();
    bool sourceIsDestination(int kind) const;

    MapDocument& mDoc;
    UserInterface& mUi;
    ClipboardState mState;
};

} // namespace ts
