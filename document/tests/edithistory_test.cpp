#include "documenttesting.h"
#include "edithistory.h"

#include <functional>

namespace ts::testing {
namespace {

struct EditHistoryTest : DocumentTest {
    EditJournal journal{*doc};

    EditHistoryTest() {
        prov(7).LandName = "Reedfen";
        prov(8).LandName = "Ashmoor";
        prov(7).Commanders[3].UnitName = "Pale King";
        prov(7).Commanders[3].UnitIndex = 55;
        prov(7).CommanderCount = 1;
        doc->Nations[5].NationName = "Ulm";
    }

    // Runs an edit inside the journal and checks that undo gives back the records exactly as they
    // were, and redo the records as the edit left them.
    void roundTrip(const EditScope& scope, const std::function<void(MapDocument&)>& edit,
                   const std::string& text = {}) {
        const auto before = std::make_unique<MapDocument>(*doc);
        journal.begin(scope);
        edit(*doc);
        ASSERT_TRUE(journal.end(text));
        const auto after = std::make_unique<MapDocument>(*doc);
        ASSERT_TRUE(journal.undo());
        expectSameRecords(*before);
        ASSERT_TRUE(journal.redo());
        expectSameRecords(*after);
    }

    void expectSameRecords(const MapDocument& want) {
        EXPECT_TRUE(HeaderOf(*doc) == HeaderOf(want));
        for (int p = 0; p < kProvinceSlots; ++p)
            ASSERT_TRUE(doc->Provinces[p] == want.Provinces[p]) << "province " << p;
        for (int n = 0; n < kNationCount; ++n) ASSERT_TRUE(doc->Nations[n] == want.Nations[n]) << "nation " << n;
    }
};

TEST_F(EditHistoryTest, EveryKindOfRecordComesBackExactlyAndGoesForwardAgain) {
    roundTrip({.provinces = {7}}, [](MapDocument& d) {
        d.Provinces[7].Fort = 3;
        d.Provinces[7].Commanders[3].Items[2] = "Amulet";
        d.Provinces[7].KeptLines = "#later 1\n";
    });
    roundTrip({.neighbours = true}, [](MapDocument& d) {
        d.Provinces[7].Neighbours[0] = 8;
        d.Provinces[8].Neighbours[0] = 7;
    });
    roundTrip({.nations = true}, [](MapDocument& d) {
        d.Nations[5].AIDifficulty = 3;
        d.Nations[5].Allies[6] = true;
        d.Nations[6].God.UnitName = "Unit 9";
    });
    roundTrip({.header = true}, [](MapDocument& d) {
        d.MapTitle = "Caldera\xe9";
        d.MapTextColor[2] = 0.5f;
        d.WrapAround = true;
        d.TrailingKeptLines = "#future\n";
    });
    roundTrip({.everything = true}, [](MapDocument& d) {
        for (int p = 1; p <= 40; ++p) d.Provinces[p].Terrain = 4096;
        d.Provinces[9].Neighbours[3] = 10;
        d.Nations[0].NationInUse = true;
        d.MapDescription = "A\r\nB";
    });
    EXPECT_EQ(journal.history().size(), 5u);
}

TEST_F(EditHistoryTest, AStepKeepsOnlyWhatChangedAndTheMarksOfTheView) {
    // Nothing changed: no step, and the map is not marked changed.
    journal.begin({.everything = true});
    EXPECT_FALSE(journal.end("Nothing"));
    EXPECT_FALSE(doc->MapModified);

    // A whole record kept in scope whose neighbour list alone changed keeps the list only.
    journal.begin({.provinces = {7, 8}, .neighbours = true});
    doc->Provinces[7].Neighbours[0] = 8;
    journal.end();
    const EditStep& step = *journal.undo();
    EXPECT_TRUE(step.provinces().empty());
    ASSERT_EQ(step.neighbours().size(), 1u);
    EXPECT_EQ(step.neighbours()[0].province, 7);

    // Marks and the place on the picture belong to the view: undo leaves them as the view set them.
    journal.redo();
    journal.begin({.provinces = {7}});
    prov(7).Fort = 2;
    journal.end();
    prov(7).MarkerColor = 0xff00ff;
    prov(7).ProvinceX = 120;
    journal.undo();
    EXPECT_EQ(prov(7).Fort, -1);
    EXPECT_EQ(prov(7).MarkerColor, 0xff00ffu);
    EXPECT_EQ(prov(7).ProvinceX, 120);
    // ... and marks alone are no edit.
    journal.begin({.provinces = {7}});
    prov(7).Marked = true;
    EXPECT_FALSE(journal.end());
}

TEST_F(EditHistoryTest, ReachingBeyondTheScopeAndNestingStillMakeOneCompleteStep) {
    // A god moving to a province not named up front: the edit reports it before changing it.
    roundTrip({.provinces = {7}, .nations = true}, [](MapDocument& d) {
        NoteProvinceEdit(d, 300);
        d.Provinces[300].SpecStart = true;
        d.Nations[5].SpecStartProvince = 300;
        d.Provinces[7].Owner = 5;
    });

    // A commit inside a paste: one step, named by the outer edit.
    journal.begin({.provinces = {7}});
    prov(7).Fort = 1;
    journal.begin({.provinces = {8}});
    prov(8).Fort = 2;
    EXPECT_FALSE(journal.end("Inner"));
    EXPECT_TRUE(journal.end("Paste Commander in Reedfen"));
    EXPECT_EQ(journal.history().undoText(), "Paste Commander in Reedfen");
    journal.undo();
    EXPECT_EQ(prov(7).Fort, -1);
    EXPECT_EQ(prov(8).Fort, -1);
}

TEST_F(EditHistoryTest, TheSavedPointDecidesWhetherTheMapIsChanged) {
    const auto edit = [this](int fort) {
        journal.begin({.provinces = {7}});
        prov(7).Fort = static_cast<std::int16_t>(fort);
        journal.end();
    };
    edit(1);
    edit(2);
    EXPECT_TRUE(doc->MapModified);
    journal.saved();
    doc->MapModified = false;

    journal.undo();
    EXPECT_TRUE(doc->MapModified);
    journal.redo();
    EXPECT_FALSE(doc->MapModified) << "back at the saved point";
    journal.undo();
    journal.undo();
    EXPECT_TRUE(doc->MapModified);
    EXPECT_FALSE(journal.undo()) << "nothing left to undo";

    // New edits from an older point: the saved state can no longer be reached, and redo is gone. Two
    // of them bring the step count back to the saved point's without its state.
    edit(5);
    EXPECT_FALSE(journal.history().canRedo());
    edit(6);
    EXPECT_TRUE(doc->MapModified);
    EXPECT_FALSE(journal.history().isClean());
    journal.undo();
    EXPECT_TRUE(doc->MapModified);
    journal.redo();
    EXPECT_TRUE(doc->MapModified);

    journal.clear();
    EXPECT_FALSE(journal.history().canUndo());
    EXPECT_TRUE(journal.history().isClean());
}

TEST_F(EditHistoryTest, LettersTypedIntoOneBoxAreOneStep) {
    bool typing = true;
    journal.typing = [&typing] { return typing; };
    const auto type = [this](int province, const char* name) {
        journal.begin({.provinces = {province}});
        prov(province).LandName = name;
        journal.end();
    };
    type(7, "R");
    type(7, "Re");
    type(7, "Red");
    EXPECT_EQ(journal.history().size(), 1u);
    EXPECT_EQ(journal.history().undoText(), "Name in Red");
    journal.undo();
    EXPECT_EQ(prov(7).LandName, "Reedfen");
    journal.redo();
    EXPECT_EQ(prov(7).LandName, "Red");

    // Another province, a key on the map, the saved point: each starts a step of its own.
    type(8, "A");
    typing = false;
    type(8, "Ab");
    typing = true;
    type(8, "Abc");
    journal.saved();
    type(8, "Abcd");
    EXPECT_EQ(journal.history().size(), 5u);
    journal.undo();
    EXPECT_EQ(prov(8).LandName, "Abc");
}

TEST_F(EditHistoryTest, OldStepsGoWhenTheBudgetIsSpentButTheNewestStays) {
    const auto fortStep = [this](int fort) {
        EditRecorder recorder(*doc, {.provinces = {7}});
        prov(7).Fort = static_cast<std::int16_t>(fort);
        return recorder.finish({});
    };
    const std::size_t one = fortStep(0)->bytes();
    EditHistory history(2 * one + one / 2, 100);
    for (int k = 1; k <= 5; ++k) history.push(fortStep(k));
    EXPECT_EQ(history.size(), 2u);
    EXPECT_LE(history.bytes(), 2 * one + one / 2);
    EXPECT_FALSE(history.isClean()) << "the saved point was trimmed away";
    history.undo(*doc);
    history.undo(*doc);
    EXPECT_EQ(prov(7).Fort, 3);
    EXPECT_EQ(history.undo(*doc), nullptr);

    EditHistory tiny(1, 100);
    EditRecorder recorder(*doc, {.everything = true});
    for (int p = 1; p <= kMaxProvince; ++p) prov(p).Defence = 5;
    tiny.push(recorder.finish({}));
    EXPECT_TRUE(tiny.canUndo()) << "a step larger than the budget can still be undone";
}

TEST_F(EditHistoryTest, AStepKeepsTheFieldsOrTheCommanderSlotsThatChanged) {
    EditRecorder recorder(*doc, {.everything = true});
    for (int p = 1; p <= kMaxProvince; ++p) prov(p).Defence = 5;
    prov(7).Commanders[3].Xp = 40;
    prov(9).Commanders[12].UnitName = "Unit 9";
    const auto step = recorder.finish("Script");
    ASSERT_TRUE(step);
    ASSERT_EQ(step->provinces().size(), static_cast<std::size_t>(kMaxProvince));
    // Every province changed a field; two changed a slot, and only those slots are kept.
    EXPECT_LT(step->bytes(), kMaxProvince * (sizeof(ProvinceFields) + 2 * sizeof(CommanderDataType)));
    const EditStep::ProvinceRecord& seven = step->provinces()[6];
    ASSERT_EQ(seven.province, 7);
    ASSERT_EQ(seven.commanders.size(), 1u);
    EXPECT_EQ(seven.commanders[0].slot, 3);

    EditRecorder slotOnly(*doc, {.provinces = {7}});
    prov(7).Commanders[3].ComName = "Ina";
    const auto named = slotOnly.finish({});
    ASSERT_TRUE(named);
    EXPECT_FALSE(named->provinces()[0].fields) << "the province's own fields did not change";
}

TEST_F(EditHistoryTest, NeighbourListsOfTheWholeMapCostTheListsOnly) {
    EditRecorder recorder(*doc, {.neighbours = true});
    for (int p = 1; p <= kMaxProvince; ++p)
        for (int k = 0; k < kNeighbourSlots; ++k)
            prov(p).Neighbours[k] = static_cast<std::int16_t>((p + k) % kMaxProvince + 1);
    const auto step = recorder.finish("Find Neighbors");
    ASSERT_TRUE(step);
    EXPECT_EQ(step->neighbours().size(), static_cast<std::size_t>(kMaxProvince));
    EXPECT_LT(step->bytes(), std::size_t{200} * 1024);
}

TEST_F(EditHistoryTest, TheMenuNamesWhatTheStepChanged) {
    const struct {
        std::function<void(MapDocument&)> edit;
        EditScope scope;
        const char* text;
        std::function<void(MapDocument&)> before = {};
    } cases[] = {
        {[](MapDocument& d) { d.Provinces[7].Fort = 2; }, {.provinces = {7}}, "Fort in Reedfen"},
        {[](MapDocument& d) { d.Provinces[7].Fort = 2; d.Provinces[7].Terrain = 8; }, {.provinces = {7}},
         "Terrain and Fort in Reedfen"},
        {[](MapDocument& d) { d.Provinces[7].Fort = 2; d.Provinces[7].Owner = 1; d.Provinces[7].Lab = true; },
         {.provinces = {7}}, "Changes in Reedfen"},
        {[](MapDocument& d) { d.Provinces[12].Commanders[1].ComName = "Ina"; }, {.provinces = {12}},
         "Commanders in Province 12"},
        {[](MapDocument& d) { d.Provinces[7].LandName = "Newfen"; }, {.provinces = {7}}, "Name in Newfen"},
        {[](MapDocument& d) { d.Provinces[7].Neighbours[0] = 8; d.Provinces[8].Neighbours[0] = 7; },
         {.neighbours = true}, "Link Reedfen and Ashmoor"},
        {[](MapDocument& d) { d.Provinces[7].Neighbours[0] = -1; d.Provinces[8].Neighbours[0] = -1; },
         {.neighbours = true}, "Unlink Reedfen and Ashmoor",
         [](MapDocument& d) { d.Provinces[7].Neighbours[0] = 8; d.Provinces[8].Neighbours[0] = 7; }},
        {[](MapDocument& d) { for (int p = 1; p <= 3; ++p) d.Provinces[p].Neighbours[5] = 9; },
         {.neighbours = true}, "Neighbours of 3 provinces"},
        {[](MapDocument& d) { d.Nations[5].CannotWin = true; }, {.nations = true}, "Nation Ulm"},
        {[](MapDocument& d) { d.MapTitle = "X"; }, {.header = true}, "Map Settings"},
    };
    for (const auto& c : cases) {
        if (c.before) c.before(*doc);
        journal.begin(c.scope);
        c.edit(*doc);
        journal.end();
        EXPECT_EQ(journal.history().undoText(), c.text);
        journal.undo();
    }
}

} // namespace
} // namespace ts::testing
