#include "clipboard.h"
#include "commandermap.h"
#include "fakeuserinterface.h"
#include "nodetree.h"

#include <gtest/gtest.h>

using namespace ts;

namespace {

struct ClipboardTest : ::testing::Test {
    editingtest::CommanderMap map;
    MapDocument& doc = *map.doc;
    editingtest::NodeTree tree;
    FakeUserInterface ui;
    Clipboard clip{*map.doc, ui};
    int startAndOwnerShown = 0;

    ClipboardTest() {
        tree.build(doc, *map.ref);
        clip.nodes = tree.edits();
        clip.showStartAndOwner = [this] { ++startAndOwnerShown; };
    }
    void at(int province, int commander, int bodyguard = kNone, int unit = kNone, int site = kNone) {
        doc.CurProvince = static_cast<std::int16_t>(province);
        doc.CurCommander = static_cast<std::int16_t>(commander);
        doc.CurBodyguardSlot = static_cast<std::int16_t>(bodyguard);
        doc.CurUnitSlot = static_cast<std::int16_t>(unit);
        doc.CurSiteSlot = static_cast<std::int16_t>(site);
    }
    // Opens the slot menu on the current slot and picks an entry, as the user does.
    bool choose(int kind, int entry) {
        const Clipboard::MenuState m = clip.menuOpened(kind);
        switch (entry) {
        case 0: return m.cut && (clip.cut(kind), true);
        case 1: return m.copy && (clip.copy(kind), true);
        case 2: return m.paste && clip.paste(kind);
        default: return m.del && clip.remove(kind);
        }
    }
};

bool sameCommander(const CommanderDataType& a, const CommanderDataType& b) {
    return a.UnitName == b.UnitName && a.UnitIndex == b.UnitIndex && a.ComName == b.ComName &&
           a.BodyguardCount[0] == b.BodyguardCount[0] && a.UnitsName[0] == b.UnitsName[0] &&
           a.Items[0] == b.Items[0] && a.MagAir == b.MagAir && a.MagFire == b.MagFire;
}

} // namespace

TEST_F(ClipboardTest, CopyLeavesTheSourceAndCanBePastedAgain) {
    at(5, 3);
    ASSERT_TRUE(choose(ClipCommander, 1));
    at(9, 7);
    ASSERT_TRUE(choose(ClipCommander, 2));
    const CommanderDataType& pasted = doc.Provinces[9].Commanders[7];
    EXPECT_TRUE(sameCommander(pasted, editingtest::CommanderMap::warlord()));
    EXPECT_TRUE(sameCommander(doc.Provinces[5].Commanders[3], pasted));
    EXPECT_EQ(pasted.NodeKey, "9 COM 7");
    EXPECT_EQ(tree.caption("9 COM 7"), "7 Warlord");
    EXPECT_EQ(tree.parent("9 COMMANDERS"), "9 PROV");
    EXPECT_EQ(doc.Provinces[9].CommanderCount, 1);
    EXPECT_EQ(clip.state().ClipProvince, 5);
    EXPECT_EQ(clip.state().ClipCommander, 3);

    at(9, 8);
    EXPECT_TRUE(choose(ClipCommander, 2));
    EXPECT_EQ(doc.Provinces[9].CommanderCount, 2);
    // Pasting over an occupied slot replaces the whole record, inside-castle flag included, without
    // counting it twice.
    doc.Provinces[5].Commanders[3].InsideCastle = true;
    EXPECT_TRUE(choose(ClipCommander, 2));
    EXPECT_EQ(doc.Provinces[9].CommanderCount, 2);
    EXPECT_TRUE(doc.Provinces[9].Commanders[8].InsideCastle);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ClipboardTest, CutMovesTheCommanderAndEmptiesTheClipboard) {
    at(5, 3);
    ASSERT_TRUE(choose(ClipCommander, 0));
    EXPECT_EQ(doc.Provinces[5].Commanders[3].UnitName, "Warlord"); // nothing moves before the paste
    at(9, 7);
    ASSERT_TRUE(choose(ClipCommander, 2));
    EXPECT_EQ(doc.Provinces[9].Commanders[7].UnitName, "Warlord");
    EXPECT_TRUE(doc.Provinces[5].Commanders[3].UnitName.empty());
    EXPECT_EQ(doc.Provinces[5].CommanderCount, 0);
    EXPECT_FALSE(tree.has("5 COM 3"));
    EXPECT_FALSE(tree.has("5 COMMANDERS"));
    EXPECT_EQ(clip.state().ClipProvince, -1);
    at(9, 8);
    EXPECT_FALSE(clip.menuOpened(ClipCommander).paste);

    // Cut and pasted back onto itself, a commander stays where it was.
    at(9, 7);
    ASSERT_TRUE(choose(ClipCommander, 0));
    EXPECT_FALSE(choose(ClipCommander, 2));
    EXPECT_EQ(doc.Provinces[9].Commanders[7].UnitName, "Warlord");
}

TEST_F(ClipboardTest, TheGodSlotRefusals) {
    const struct Case {
        int fromProvince, fromSlot;
        bool cut;
        int toProvince;
        const char* title;
        const char* text;
        int startAndOwner;
    } cases[] = {
        {5, 3, false, 9, "Reserved commander slot!",
         "You must set a nation and a special start before pasting to the reserved god slot.", 1},
        {5, 3, true, 9, "Reserved commander slot!",
         "You must set a nation and a special start before pasting to the reserved god slot.", 1},
        {1, 0, false, 9, "Cannot copy god to a god slot!",
         "Cannot copy god to a reserved god slot. Use cut instead to avoid duplicate special nation starts.", 0},
    };
    for (const Case& c : cases) {
        editingtest::CommanderMap fresh;
        MapDocument& d = *fresh.doc;
        FakeUserInterface user;
        Clipboard board(d, user);
        int shown = 0;
        board.showStartAndOwner = [&shown] { ++shown; };
        d.CurProvince = static_cast<std::int16_t>(c.fromProvince);
        d.CurCommander = static_cast<std::int16_t>(c.fromSlot);
        c.cut ? board.cut(ClipCommander) : board.copy(ClipCommander);
        d.CurProvince = static_cast<std::int16_t>(c.toProvince);
        d.CurCommander = 0;
        EXPECT_FALSE(board.paste(ClipCommander));
        ASSERT_EQ(user.messages.size(), 1u) << c.title;
        EXPECT_EQ(user.messages[0].title, QString::fromLatin1(c.title));
        EXPECT_EQ(user.messages[0].text, QString::fromLatin1(c.text));
        EXPECT_EQ(shown, c.startAndOwner);
        EXPECT_TRUE(d.Provinces[c.toProvince].Commanders[0].UnitName.empty());
        EXPECT_FALSE(d.Provinces[c.fromProvince].Commanders[c.fromSlot].UnitName.empty());
        EXPECT_EQ(d.Nations[5].SpecStartProvince, 1);
    }

    // Nothing was ever copied.
    at(9, 2);
    EXPECT_FALSE(clip.paste(ClipCommander));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Oops!");
    EXPECT_EQ(ui.messages[0].text, "Error .SRCcmdrID = -999, exiting sub!");
}

TEST_F(ClipboardTest, AGodCutToAnotherGodSlotTakesItsSpecialStartAlong) {
    at(1, 0);
    ASSERT_TRUE(choose(ClipCommander, 0));
    at(9, 0);
    ASSERT_TRUE(choose(ClipCommander, 2));
    const NationDataType& n = doc.Nations[5];
    EXPECT_EQ(n.SpecStartProvince, 9);
    EXPECT_TRUE(doc.Provinces[9].SpecStart);
    EXPECT_EQ(doc.Provinces[9].SpecStartNation, 5);
    EXPECT_FALSE(doc.Provinces[1].SpecStart);
    EXPECT_EQ(doc.Provinces[1].SpecStartNation, -1);
    EXPECT_TRUE(doc.Provinces[1].Commanders[0].UnitName.empty());
    // The whole god travels, not only the unit slot 0 held after reading.
    EXPECT_EQ(doc.Provinces[9].Commanders[0].ComName, "Old One");
    EXPECT_EQ(n.God.MagFire, 3);
    EXPECT_EQ(n.GodName, "Wyrm");
    EXPECT_EQ(n.God.NodeKey, "9 COM 0");
    EXPECT_EQ(tree.caption("9 COM 0"), "0 Wyrm");
    EXPECT_FALSE(tree.has("1 COMMANDERS"));

    // An ordinary commander pasted into a god slot becomes the nation's god.
    at(5, 3);
    ASSERT_TRUE(choose(ClipCommander, 1));
    at(9, 0);
    ASSERT_TRUE(choose(ClipCommander, 2));
    EXPECT_EQ(n.GodName, "Warlord");
    EXPECT_EQ(n.GodIndex, 12);
    EXPECT_EQ(n.God.UnitsCount[0], 10);
    EXPECT_EQ(tree.caption("9 COM 0"), "0 Warlord");
}

TEST_F(ClipboardTest, DeletingOrCuttingTheGodLeavesItsNationAlone) {
    const NationDataType before = doc.Nations[5];
    at(1, 0);
    ASSERT_TRUE(choose(ClipCommander, 3));
    EXPECT_TRUE(doc.Provinces[1].Commanders[0].UnitName.empty());
    EXPECT_FALSE(tree.has("1 COM 0"));
    const NationDataType& n = doc.Nations[5];
    EXPECT_EQ(n.GodName, before.GodName);
    EXPECT_EQ(n.GodIndex, before.GodIndex);
    EXPECT_TRUE(sameCommander(n.God, before.God));
    EXPECT_EQ(n.SpecStartProvince, 1);

    // Cut and pasted into an ordinary slot, the god leaves slot 0; the nation still has it.
    PlaceGodsAtStarts(doc);
    at(1, 0);
    ASSERT_TRUE(choose(ClipCommander, 0));
    at(9, 2);
    ASSERT_TRUE(choose(ClipCommander, 2));
    EXPECT_EQ(doc.Provinces[9].Commanders[2].UnitName, before.GodName);
    EXPECT_TRUE(doc.Provinces[1].Commanders[0].UnitName.empty());
    EXPECT_TRUE(sameCommander(n.God, before.God));
}

TEST_F(ClipboardTest, StacksAreCutCopiedPastedAndDeleted) {
    // Delete a unit stack: count and number -1, name empty, at once.
    at(5, 3, kNone, 0);
    ASSERT_TRUE(choose(ClipUnit, 3));
    const CommanderDataType& warlord = doc.Provinces[5].Commanders[3];
    EXPECT_EQ(warlord.UnitsCount[0], -1);
    EXPECT_EQ(warlord.UnitsIndex[0], -1);
    EXPECT_TRUE(warlord.UnitsName[0].empty());
    EXPECT_EQ(clip.state().ClipProvince, -1);
    // An empty stack offers only paste.
    const Clipboard::MenuState empty = clip.menuOpened(ClipUnit);
    EXPECT_FALSE(empty.cut || empty.copy || empty.del);

    // A bodyguard cut from the warlord into the god's stack 3 goes into the nation's god as well.
    at(5, 3, 0);
    ASSERT_TRUE(choose(ClipBodyguard, 0));
    at(1, 0, 3);
    ASSERT_TRUE(choose(ClipBodyguard, 2));
    EXPECT_EQ(doc.Nations[5].God.BodyguardName[3], "Spearman");
    EXPECT_EQ(doc.Nations[5].God.BodyguardCount[3], 5);
    EXPECT_EQ(doc.Provinces[1].Commanders[0].BodyguardIndex[3], 20);
    EXPECT_EQ(warlord.BodyguardCount[0], -1);
    EXPECT_TRUE(warlord.BodyguardName[0].empty());

    // Copied from the god's own stack, read from the nation.
    at(1, 0, 0);
    ASSERT_TRUE(choose(ClipBodyguard, 1));
    at(9, 2, 1);
    ASSERT_TRUE(choose(ClipBodyguard, 2));
    EXPECT_EQ(doc.Provinces[9].Commanders[2].BodyguardCount[1], 2);
    EXPECT_EQ(doc.Nations[5].God.BodyguardCount[0], 2);
}

TEST_F(ClipboardTest, SitesMoveBetweenSlotsWithTheirKnownFlagAndNodes) {
    at(5, kNone, kNone, kNone, 0);
    ASSERT_TRUE(choose(ClipSite, 0));
    EXPECT_EQ(clip.state().ClipSiteNumber, 100);
    EXPECT_EQ(clip.state().ClipName, "Iron Mine");
    at(9, kNone, kNone, kNone, 2);
    ASSERT_TRUE(choose(ClipSite, 2));
    EXPECT_EQ(doc.Provinces[9].SiteName[2], "Iron Mine");
    EXPECT_EQ(doc.Provinces[9].SiteIndex[2], 100);
    EXPECT_EQ(tree.parent("9 SITE 2"), "9 SITES");
    EXPECT_TRUE(doc.Provinces[5].SiteName[0].empty());
    EXPECT_FALSE(tree.has("5 SITES"));

    // A known site stays known when copied.
    doc.Provinces[9].KnownSiteName[2] = doc.Provinces[9].SiteName[2];
    doc.Provinces[9].KnownSiteIndex[2] = 100;
    doc.Provinces[9].SiteName[2].clear();
    doc.Provinces[9].SiteIndex[2] = -1;
    ASSERT_TRUE(choose(ClipSite, 1));
    at(5, kNone, kNone, kNone, 3);
    ASSERT_TRUE(choose(ClipSite, 2));
    EXPECT_EQ(doc.Provinces[5].KnownSiteIndex[3], 100);
    EXPECT_EQ(tree.parent("5 KNOWNSITE 3"), "5 SITES");
    EXPECT_EQ(doc.Provinces[9].KnownSiteIndex[2], 100);

    ASSERT_TRUE(choose(ClipSite, 3));
    EXPECT_EQ(doc.Provinces[5].KnownSiteIndex[3], -1);
    EXPECT_FALSE(tree.has("5 SITES"));
}

TEST_F(ClipboardTest, PasteIsOfferedByTheKindOfTheMenusLastOpening) {
    at(5, 3, kNone, kNone, 0);
    EXPECT_FALSE(clip.menuOpened(ClipCommander).paste); // no source yet
    ASSERT_TRUE(choose(ClipCommander, 1));
    EXPECT_FALSE(clip.menuOpened(ClipSite).paste);
    EXPECT_EQ(clip.state().ClipKind, ClipSite);
    // The previous opening was on a site: a commander menu offers no paste, the one after it does.
    EXPECT_FALSE(clip.menuOpened(ClipCommander).paste);
    const Clipboard::MenuState full = clip.menuOpened(ClipCommander);
    EXPECT_TRUE(full.paste && full.cut && full.copy && full.del);
    at(9, 4);
    const Clipboard::MenuState empty = clip.menuOpened(ClipCommander);
    EXPECT_FALSE(empty.cut || empty.copy || empty.del);
    EXPECT_TRUE(empty.paste);

    // Another map opened: the clipboard names a place, and that place of the new map is pasted.
    doc.MapFilePath = "/maps/other.map";
    doc.Provinces[5].Commanders[3].UnitName = "Sorceress";
    EXPECT_TRUE(choose(ClipCommander, 2));
    EXPECT_EQ(doc.Provinces[9].Commanders[4].UnitName, "Sorceress");
    EXPECT_TRUE(ui.messages.empty());
}
