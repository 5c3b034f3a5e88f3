#include "clipboard.h"

#include "commanderrules.h"
#include "godplacement.h"
#include "navigatormodel.h"
#include "siterules.h"
#include "userinterface.h"

#include <array>

namespace ts {

namespace {

bool validProvince(int p) { return p >= 1 && p <= kMaxProvince; }
bool validCommander(int c) { return c >= 0 && c < kCommanderSlots; }
bool validStack(int k) { return k >= 0 && k < kUnitStackSlots; }
bool validSiteSlot(int s) { return s >= 0 && s < kSiteSlotsPerProvince; }

struct StackRef {
    Text* name;
    std::int16_t* index;
    std::int16_t* count;
};

StackRef stackOf(CommanderDataType& c, int kind, int k) {
    if (kind == ClipBodyguard) return {&c.BodyguardName[k], &c.BodyguardIndex[k], &c.BodyguardCount[k]};
    return {&c.UnitsName[k], &c.UnitsIndex[k], &c.UnitsCount[k]};
}

// The commander slot and, for slot 0 of a special start, the nation's god: edits go to both.
std::vector<CommanderDataType*> commanderRecords(MapDocument& doc, int province, int slot) {
    std::vector<CommanderDataType*> records{&doc.Provinces[province].Commanders[slot]};
    const int nation = slot == 0 ? SpecialStartNationOf(doc, province) : -1;
    if (nation >= 0) records.push_back(&doc.Nations[nation].God);
    return records;
}

void setNodeStrings(CommanderDataType& c, int province, int slot) {
    c.NodeParentKey = CommandersGroupKey(province);
    c.NodeKey = CommanderNodeKey(province, slot);
    c.NodeText = CommanderNodeCaption(slot, c.UnitName);
}

void setGod(NationDataType& n, const CommanderDataType& god) {
    n.God = god;
    n.GodName = god.UnitName;
    n.GodIndex = god.UnitIndex;
}

} // namespace

Clipboard::Clipboard(MapDocument& doc, UserInterface& ui) : mDoc(doc), mUi(ui) {}

void Clipboard::reset() {
    const int kind = mState.ClipKind;
    mState = {};
    mState.ClipKind = kind;
}

bool Clipboard::currentSlotEmpty(int kind) const {
    const int p = mDoc.CurProvince;
    if (!validProvince(p)) return true;
    if (kind == ClipSite) {
        const int s = mDoc.CurSiteSlot;
        return !validSiteSlot(s) || SiteSlotOf(mDoc, p, s).name.isEmpty();
    }
    const int c = mDoc.CurCommander;
    if (!validCommander(c)) return true;
    const CommanderDataType& com = CommanderShown(mDoc, p, c);
    if (kind == ClipCommander) return com.UnitName.empty();
    const int k = kind == ClipBodyguard ? mDoc.CurBodyguardSlot : mDoc.CurUnitSlot;
    if (!validStack(k)) return true;
    return (kind == ClipBodyguard ? com.BodyguardName[k] : com.UnitsName[k]).empty();
}

bool Clipboard::canPaste(int kind) const {
    // The clipboard names a place, not a map: after another map is opened it still offers that place.
    return kind != ClipNone && mState.ClipKind == kind && mState.ClipProvince >= 1;
}

Clipboard::MenuState Clipboard::menuOpened(int kind) {
    MenuState m;
    m.paste = canPaste(kind);
    const bool empty = currentSlotEmpty(kind);
    m.cut = m.copy = m.del = !empty;
    mState.ClipKind = kind;
    return m;
}

void Clipboard::take(int kind, bool cut) {
    mState.ClipKind = kind;
    mState.ClipIsCut = cut;
    mState.ClipProvince = mDoc.CurProvince;
    mState.ClipCommander = mState.ClipBodyguard = mState.ClipUnit = mState.ClipSite = -1;
    mState.ClipSiteNumber = -1;
    mState.ClipName.clear();
    mState.ClipSiteKnown = false;
    switch (kind) {
    case ClipCommander:
        mState.ClipCommander = mDoc.CurCommander;
        break;
    case ClipBodyguard:
        mState.ClipCommander = mDoc.CurCommander;
        mState.ClipBodyguard = mDoc.CurBodyguardSlot;
        break;
    case ClipUnit:
        mState.ClipCommander = mDoc.CurCommander;
        mState.ClipUnit = mDoc.CurUnitSlot;
        break;
    case ClipSite: {
        mState.ClipSite = mDoc.CurSiteSlot;
        const SiteSlotInput slot = SiteSlotOf(mDoc, mDoc.CurProvince, mDoc.CurSiteSlot);
        mState.ClipSiteNumber = SlotTagNumber(slot.tag);
        mState.ClipName = slot.name;
        mState.ClipSiteKnown = slot.known;
        break;
    }
    default:
        break;
    }
}

bool Clipboard::sourceIsDestination(int kind) const {
    if (mState.ClipProvince != mDoc.CurProvince) return false;
    switch (kind) {
    case ClipCommander:
        return mState.ClipCommander == mDoc.CurCommander;
    case ClipBodyguard:
        return mState.ClipCommander == mDoc.CurCommander && mState.ClipBodyguard == mDoc.CurBodyguardSlot;
    case ClipUnit:
        return mState.ClipCommander == mDoc.CurCommander && mState.ClipUnit == mDoc.CurUnitSlot;
    case ClipSite:
        return mState.ClipSite == mDoc.CurSiteSlot;
    default:
        return false;
    }
}

bool Clipboard::paste(int kind) {
    if (kind == ClipCommander) return pasteCommander();
    if (!canPaste(kind) || !validProvince(mDoc.CurProvince)) return false;
    // A cut pasted back where it came from would copy the slot onto itself and then empty it.
    if (sourceIsDestination(kind)) {
        if (mState.ClipIsCut) reset();
        return false;
    }
    if (kind == ClipSite) return pasteSite();
    return pasteStack(kind);
}

bool Clipboard::pasteCommander() {
    const int p = mDoc.CurProvince, d = mDoc.CurCommander;
    const int q = mState.ClipProvince, s = mState.ClipCommander;
    if (s < 0) {
        mUi.messageBox(QStringLiteral("Oops!"), QStringLiteral("Error .SRCcmdrID = -999, exiting sub!"));
        return false;
    }
    if (!validProvince(p) || !validCommander(d) || !validProvince(q) || !validCommander(s)) return false;
    const int destNation = SpecialStartNationOf(mDoc, p);
    if (d == 0 && s != 0 && destNation < 0) {
        mUi.messageBox(QStringLiteral("Reserved commander slot!"),
                       QStringLiteral("You must set a nation and a special start before pasting to the reserved "
                                      "god slot."));
        if (showStartAndOwner) showStartAndOwner();
        return false;
    }
    if (d == 0 && s == 0 && !mState.ClipIsCut) {
        mUi.messageBox(QStringLiteral("Cannot copy god to a god slot!"),
                       QStringLiteral("Cannot copy god to a reserved god slot. Use cut instead to avoid duplicate "
                                      "special nation starts."));
        return false;
    }
    if (sourceIsDestination(ClipCommander)) {
        if (mState.ClipIsCut) reset();
        return false;
    }

    // The god of a special start lives in its nation; slot 0 may hold only its unit.
    CommanderDataType record = CommanderShown(mDoc, q, s);
    const int sourceNation = s == 0 ? SpecialStartNationOf(mDoc, q) : -1;
    const bool godMoves = d == 0 && s == 0 && mState.ClipIsCut && sourceNation >= 0;
    ProvinceDataType& dest = mDoc.Provinces[p];

    if (dest.CommanderCount < 1) nodes.addNode(ProvinceNodeKey(p), CommandersGroupKey(p), "Commanders");
    setNodeStrings(record, p, d);

    if (d == 0 && destNation >= 0) {
        if (godMoves && destNation != sourceNation) {
            // The arriving god takes the start over: the nation that started here has none now.
            NationDataType& loser = mDoc.Nations[destNation];
            loser.SpecStartProvince = -1;
            loser.AllowedPlayer = false;
            loser.NationInUse = false;
            nodes.nationChanged(destNation);
        } else {
            setGod(mDoc.Nations[destNation], record);
        }
    }

    CommanderDataType& slot = dest.Commanders[d];
    const bool had = !slot.UnitName.empty();
    if (had) nodes.removeNode(slot.NodeKey.empty() ? std::string_view(record.NodeKey) : slot.NodeKey.view());
    slot = record;
    nodes.addNode(slot.NodeParentKey, slot.NodeKey, slot.NodeText);
    if (!had) ++dest.CommanderCount;

    if (godMoves) {
        dest.SpecStart = true;
        dest.SpecStartNation = static_cast<std::int16_t>(sourceNation);
        NationDataType& n = mDoc.Nations[sourceNation];
        n.SpecStartProvince = static_cast<std::int16_t>(p);
        setGod(n, record);
    }
    if (mState.ClipIsCut) removeCommander(d == 0);
    return true;
}

void Clipboard::removeCommander(bool godMoved) {
    const int q = mState.ClipProvince, s = mState.ClipCommander;
    if (validProvince(q) && validCommander(s)) {
        ProvinceDataType& src = mDoc.Provinces[q];
        // Only the slot is emptied; the nation's own god record stays as it is.
        if (s == 0 && godMoved && (src.SpecStart || src.SpecStartNation >= 0)) {
            src.SpecStart = false;
            src.SpecStartNation = -1;
        }
        EmptyCommanderSlot(mDoc, q, s, nodes);
    }
    reset();
}

bool Clipboard::pasteStack(int kind) {
    const int p = mDoc.CurProvince, c = mDoc.CurCommander;
    const int k = kind == ClipBodyguard ? mDoc.CurBodyguardSlot : mDoc.CurUnitSlot;
    const int q = mState.ClipProvince, s = mState.ClipCommander;
    const int from = kind == ClipBodyguard ? mState.ClipBodyguard : mState.ClipUnit;
    if (!validCommander(c) || !validStack(k) || !validProvince(q) || !validCommander(s) || !validStack(from))
        return false;
    CommanderDataType source = CommanderShown(mDoc, q, s);
    const StackRef in = stackOf(source, kind, from);
    for (CommanderDataType* record : commanderRecords(mDoc, p, c)) {
        const StackRef out = stackOf(*record, kind, k);
        *out.name = *in.name;
        *out.index = *in.index;
        *out.count = *in.count;
    }
    if (mState.ClipIsCut) removeStack(kind);
    return true;
}

void Clipboard::removeStack(int kind) {
    const int q = mState.ClipProvince, s = mState.ClipCommander;
    const int k = kind == ClipBodyguard ? mState.ClipBodyguard : mState.ClipUnit;
    if (validProvince(q) && validCommander(s) && validStack(k)) {
        for (CommanderDataType* record : commanderRecords(mDoc, q, s)) {
            const StackRef out = stackOf(*record, kind, k);
            out.name->clear();
            *out.index = -1;
            *out.count = -1;
        }
    }
    reset();
}

namespace {

std::array<SiteSlotInput, 4> siteSlots(const MapDocument& doc, int province) {
    std::array<SiteSlotInput, 4> slotInputs;
    for (int s = 0; s < kSiteSlotsPerProvince; ++s)
        slotInputs[s] = SiteSlotOf(doc, province, s);
    return slotInputs;
}

} // namespace

bool Clipboard::pasteSite() {
    const int p = mDoc.CurProvince, s = mDoc.CurSiteSlot;
    if (!validSiteSlot(s)) return false;
    std::array<SiteSlotInput, 4> slotInputs = siteSlots(mDoc, p);
    slotInputs[s] = {QString::number(mState.ClipSiteNumber), mState.ClipName, mState.ClipSiteKnown};
    CommitSites(mDoc, p, mDoc.Provinces[p].KillFeatures, slotInputs, nodes);
    if (mState.ClipIsCut) removeSite();
    return true;
}

void Clipboard::removeSite() {
    const int q = mState.ClipProvince, s = mState.ClipSite;
    if (validProvince(q) && validSiteSlot(s)) {
        std::array<SiteSlotInput, 4> slotInputs = siteSlots(mDoc, q);
        slotInputs[s] = {QStringLiteral("-1"), QString(), false};
        CommitSites(mDoc, q, mDoc.Provinces[q].KillFeatures, slotInputs, nodes);
    }
    reset();
}

bool Clipboard::remove(int kind) {
    if (currentSlotEmpty(kind)) return false;
    take(kind, true);
    switch (kind) {
    case ClipCommander:
        removeCommander(false);
        break;
    case ClipBodyguard:
    case ClipUnit:
        removeStack(kind);
        break;
    case ClipSite:
        removeSite();
        break;
    default:
        return false;
    }
    return true;
}

} // namespace ts
