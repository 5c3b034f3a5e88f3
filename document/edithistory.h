#pragma once

#include "mapdocument.h"

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ts {

// The header of the map: every field of MapDocument above the records that a user edits.
struct MapHeaderRecord {
    Text MapTitle, ImageFileName, GameVersion;
    bool ScenarioFlag = false;
    Text MapDescription;
    std::array<float, 4> MapTextColor{};
    float DefaultMapZoom = -1.0f;
    std::int16_t FeaturesFrequency = -1;
    bool NoHomelandNames = false;
    std::int16_t VictoryConditionType = -1, VictoryConditionValue = -1;
    bool WrapAround = false;
    Text HeaderKeptLines, TrailingKeptLines;

    bool operator==(const MapHeaderRecord&) const = default;
};
MapHeaderRecord HeaderOf(const MapDocument& doc);
void SetHeader(MapDocument& doc, const MapHeaderRecord& header);

using NeighbourList = std::array<std::int16_t, kNeighbourSlots>;

// What a step changes besides the records it keeps (the provinces renumbered with the picture's
// pixels). Like the records, it is exchanged: the first call undoes it, the next redoes it.
class StepChange {
public:
    virtual ~StepChange() = default;
    virtual void exchange(MapDocument& doc) = 0;
    virtual std::size_t bytes() const = 0;
};

// One step of the history: the records an edit changed, as they were before it. Undo and redo are
// the same move, an exchange of the kept records with the document's, so one copy serves both ways
// and a step costs what it changed, never a copy of the document.
//
// Where a province stands on the picture and how it is marked belong to the view, not to the edit:
// they stay as they are when a step is undone.
class EditStep {
public:
    // The kinds of record a step can hold; an edit keeps the smallest kind that covers its change.
    struct SlotRecord {
        int slot;
        CommanderDataType record;
    };
    // What changed of one province: its fields (null when they did not change) and the commander
    // slots that did.
    struct ProvinceRecord {
        int province;
        std::unique_ptr<ProvinceFields> fields;
        std::vector<SlotRecord> commanders;
    };
    struct NeighbourRecord {
        int province;
        NeighbourList list;
    };
    struct NationRecord {
        int nation;
        std::unique_ptr<NationDataType> record;
    };

    const std::string& text() const { return mText; }
    void setText(std::string text) { mText = std::move(text); }
    // The parts of the one province the step changes ("Name", "Fort"), when it changes one province
    // and nothing else.
    const std::vector<std::string>& parts() const { return mParts; }
    // Whether next goes on typing what this step began: one part of the same province, among this
    // step's parts (the first letter of a box may also set what follows from it).
    bool continuedBy(const EditStep& next) const;

    // Exchanges the kept records with the document's: the first call undoes the edit, the next
    // redoes it.
    void exchange(MapDocument& doc);

    bool empty() const { return mProvinces.empty() && mNeighbours.empty() && mNations.empty() && !mHeader && !mChange; }
    std::size_t bytes() const;
    // Whether the step changes the picture the map names, so the window loads it again.
    bool changesImage(const MapDocument& doc) const;

    const std::vector<ProvinceRecord>& provinces() const { return mProvinces; }
    const std::vector<NeighbourRecord>& neighbours() const { return mNeighbours; }
    const std::vector<NationRecord>& nations() const { return mNations; }
    const MapHeaderRecord* header() const { return mHeader.get(); }
    // A step made of a change alone, already done.
    static std::unique_ptr<EditStep> of(std::unique_ptr<StepChange> change, std::string text);
    const StepChange* change() const { return mChange.get(); }

private:
    friend class EditRecorder;
    std::string mText;
    int mPartsOf = -1;
    std::vector<std::string> mParts;
    std::vector<ProvinceRecord> mProvinces;
    std::vector<NeighbourRecord> mNeighbours;
    std::vector<NationRecord> mNations;
    std::unique_ptr<MapHeaderRecord> mHeader;
    std::unique_ptr<StepChange> mChange;
};

// What an edit may change, named before it runs. Records outside it that the edit reaches must be
// reported through MapDocument::BeforeProvinceEdit.
struct EditScope {
    std::vector<int> provinces{};
    bool startProvinces = false; // every special start, where gods come and go
    bool nations = false;
    bool header = false;
    bool neighbours = false; // every province's neighbour list
    bool everything = false;
};

// Keeps the records in scope as they are, then, when the edit is done, makes a step of those that
// changed.
class EditRecorder {
public:
    EditRecorder(const MapDocument& doc, const EditScope& scope);
    void addScope(const EditScope& scope);
    void keepProvince(int province);
    // The step of what changed, named text, or when text is empty after what changed ("Fort in
    // Reedfen", "Link Reedfen and Ashmoor", "Neighbours of 12 provinces", "Map Settings"); null when
    // nothing changed.
    std::unique_ptr<EditStep> finish(const std::string& text);

private:
    const MapDocument& mDoc;
    std::vector<std::unique_ptr<ProvinceDataType>> mProvinces; // by province number, null = not kept
    std::vector<NeighbourList> mNeighbours;                   // empty = not kept
    std::vector<std::unique_ptr<NationDataType>> mNations;
    std::unique_ptr<MapHeaderRecord> mHeader;
};

// The province as the user knows it: its name, or "Province 12".
std::string ProvinceTitle(const MapDocument& doc, int province);

// The steps that can be undone and redone, with the point where the map was last saved.
class EditHistory {
public:
    // Old steps go first when the steps together would hold more than budgetBytes.
    explicit EditHistory(std::size_t budgetBytes = std::size_t{256} << 20, std::size_t maxSteps = 1000);

    // A new step drops the steps that could be redone. A typed step joins the last step when that
    // was typed too and the new one goes on with it (EditStep::continuedBy), so a name typed letter
    // by letter is one step; never across the saved point.
    void push(std::unique_ptr<EditStep> step, bool typed = false);
    // The step undone or redone, or null when there is none.
    const EditStep* undo(MapDocument& doc);
    const EditStep* redo(MapDocument& doc);

    bool canUndo() const { return mIndex > 0; }
    bool canRedo() const { return mIndex < mSteps.size(); }
    std::string undoText() const;
    std::string redoText() const;

    void clear();
    // The document is as saved now; undoing or redoing back here makes it unchanged again.
    void setClean();
    bool isClean() const { return mClean == static_cast<std::ptrdiff_t>(mIndex); }

    std::size_t size() const { return mSteps.size(); }
    std::size_t bytes() const { return mBytes; }

private:
    void trim();

    std::vector<std::unique_ptr<EditStep>> mSteps;
    std::size_t mIndex = 0; // steps before it are done
    std::ptrdiff_t mClean = 0; // -1: the saved state can no longer be reached
    std::size_t mBytes = 0;
    bool mLastTyped = false;
    std::size_t mBudget;
    std::size_t mMaxSteps;
};

// The history with the edit that is open: every change of the document runs between begin and end.
// Edits run inside another (a commit inside a paste) join the outer one, so one user action is one
// step.
class EditJournal {
public:
    explicit EditJournal(MapDocument& doc);
    ~EditJournal();
    EditJournal(const EditJournal&) = delete;
    EditJournal& operator=(const EditJournal&) = delete;

    void begin(const EditScope& scope);
    // Closes the edit; the outermost end records the step. Returns whether it did.
    bool end(const std::string& text = {});
    bool open() const { return mDepth > 0; }

    EditHistory& history() { return mHistory; }
    const EditHistory& history() const { return mHistory; }

    // Undo and redo, with the unsaved-changes flag following the saved point.
    const EditStep* undo();
    const EditStep* redo();
    void saved();
    void clear();
    // Records a step made outside an edit (a change already done); refused while an edit is open.
    bool record(std::unique_ptr<EditStep> step);

    // After every step recorded, undone or redone, and when the history is cleared.
    std::function<void()> changed;
    // Whether the edit ending now comes from typing into a text box.
    std::function<bool()> typing;

private:
    const EditStep* move(const EditStep* (EditHistory::*direction)(MapDocument&));
    void notify() const {
        if (changed) changed();
    }

    MapDocument& mDoc;
    EditHistory mHistory;
    std::unique_ptr<EditRecorder> mRecorder;
    int mDepth = 0;
    std::string mText;
};

// Opens an edit for as long as it lives; a null journal records nothing.
class EditBracket {
public:
    EditBracket(EditJournal* journal, const EditScope& scope, std::string text = {});
    ~EditBracket();
    EditBracket(const EditBracket&) = delete;
    EditBracket& operator=(const EditBracket&) = delete;
    void setText(std::string text) { mText = std::move(text); }

private:
    EditJournal* mJournal;
    std::string mText;
};

} // namespace ts
