#include "edithistory.h"

#include <algorithm>
#include <utility>

namespace ts {

MapHeaderRecord HeaderOf(const MapDocument& doc) {
    MapHeaderRecord h;
    h.MapTitle = doc.MapTitle;
    h.ImageFileName = doc.ImageFileName;
    h.GameVersion = doc.GameVersion;
    h.ScenarioFlag = doc.ScenarioFlag;
    h.MapDescription = doc.MapDescription;
    std::copy(std::begin(doc.MapTextColor), std::end(doc.MapTextColor), h.MapTextColor.begin());
    h.DefaultMapZoom = doc.DefaultMapZoom;
    h.FeaturesFrequency = doc.FeaturesFrequency;
    h.NoHomelandNames = doc.NoHomelandNames;
    h.VictoryConditionType = doc.VictoryConditionType;
    h.VictoryConditionValue = doc.VictoryConditionValue;
    h.WrapAround = doc.WrapAround;
    h.HeaderKeptLines = doc.HeaderKeptLines;
    h.TrailingKeptLines = doc.TrailingKeptLines;
    return h;
}

void SetHeader(MapDocument& doc, const MapHeaderRecord& h) {
    doc.MapTitle = h.MapTitle;
    doc.ImageFileName = h.ImageFileName;
    doc.GameVersion = h.GameVersion;
    doc.ScenarioFlag = h.ScenarioFlag;
    doc.MapDescription = h.MapDescription;
    std::copy(h.MapTextColor.begin(), h.MapTextColor.end(), std::begin(doc.MapTextColor));
    doc.DefaultMapZoom = h.DefaultMapZoom;
    doc.FeaturesFrequency = h.FeaturesFrequency;
    doc.NoHomelandNames = h.NoHomelandNames;
    doc.VictoryConditionType = h.VictoryConditionType;
    doc.VictoryConditionValue = h.VictoryConditionValue;
    doc.WrapAround = h.WrapAround;
    doc.HeaderKeptLines = h.HeaderKeptLines;
    doc.TrailingKeptLines = h.TrailingKeptLines;
}

namespace {

bool validProvince(int p) { return p >= 1 && p <= kMaxProvince; }

NeighbourList neighboursOf(const ProvinceDataType& p) {
    NeighbourList list;
    std::copy(std::begin(p.Neighbours), std::end(p.Neighbours), list.begin());
    return list;
}

void setNeighbours(ProvinceDataType& p, const NeighbourList& list) {
    std::copy(list.begin(), list.end(), std::begin(p.Neighbours));
}

// The fields that belong to the view: where the province was found on the picture and its marks.
void copyViewState(const ProvinceFields& from, ProvinceFields& to) {
    to.ProvinceX = from.ProvinceX;
    to.ProvinceY = from.ProvinceY;
    to.MarkerFlag = from.MarkerFlag;
    to.MarkerColor = from.MarkerColor;
    to.MarkerColor2 = from.MarkerColor2;
    to.Visited = from.Visited;
    to.Marked = from.Marked;
}

std::size_t textBytes(const Text& t) { return t.empty() ? 0 : t.size() + 24; }

std::size_t commanderTextBytes(const CommanderDataType& c) {
    std::size_t n = textBytes(c.NodeParentKey) + textBytes(c.NodeKey) + textBytes(c.NodeText) +
                    textBytes(c.UnitName) + textBytes(c.ComName) + textBytes(c.KeptLines);
    for (const Text& t : c.BodyguardName) n += textBytes(t);
    for (const Text& t : c.UnitsName) n += textBytes(t);
    for (const Text& t : c.Items) n += textBytes(t);
    return n;
}

std::size_t fieldsBytes(const ProvinceFields& p) {
    std::size_t n = sizeof(ProvinceFields) + textBytes(p.NodeParentKey) + textBytes(p.NodeKey) +
                    textBytes(p.NodeText) + textBytes(p.LandName) + textBytes(p.SkyBox) + textBytes(p.BatMap) +
                    textBytes(p.KeptLines);
    for (const Text& t : p.SiteName) n += textBytes(t);
    for (const Text& t : p.KnownSiteName) n += textBytes(t);
    return n;
}

std::size_t nationBytes(const NationDataType& n) {
    return sizeof(NationDataType) + textBytes(n.NationName) + textBytes(n.GodName) + textBytes(n.KeptLines) +
           commanderTextBytes(n.God);
}

} // namespace

void EditStep::exchange(MapDocument& doc) {
    for (ProvinceRecord& r : mProvinces) {
        ProvinceDataType& live = doc.Provinces[r.province];
        if (r.fields) {
            std::swap(static_cast<ProvinceFields&>(live), *r.fields);
            copyViewState(*r.fields, live);
        }
        for (SlotRecord& slot : r.commanders) std::swap(live.Commanders[slot.slot], slot.record);
    }
    for (NeighbourRecord& r : mNeighbours) {
        const NeighbourList now = neighboursOf(doc.Provinces[r.province]);
        setNeighbours(doc.Provinces[r.province], r.list);
        r.list = now;
    }
    for (NationRecord& r : mNations)
        std::swap(doc.Nations[r.nation], *r.record);
    if (mHeader) {
        MapHeaderRecord now = HeaderOf(doc);
        SetHeader(doc, *mHeader);
        *mHeader = std::move(now);
    }
    if (mChange) mChange->exchange(doc);
}

std::unique_ptr<EditStep> EditStep::of(std::unique_ptr<StepChange> change, std::string text) {
    auto step = std::make_unique<EditStep>();
    step->mChange = std::move(change);
    step->mText = std::move(text);
    return step;
}

std::size_t EditStep::bytes() const {
    std::size_t n = sizeof(EditStep) + mText.size();
    for (const ProvinceRecord& r : mProvinces) {
        n += sizeof(r) + (r.fields ? fieldsBytes(*r.fields) : 0);
        for (const SlotRecord& slot : r.commanders) n += sizeof(slot) + commanderTextBytes(slot.record);
    }
    n += mNeighbours.size() * sizeof(NeighbourRecord);
    for (const NationRecord& r : mNations) n += sizeof(r) + nationBytes(*r.record);
    if (mHeader) n += sizeof(MapHeaderRecord) + textBytes(mHeader->MapDescription) + textBytes(mHeader->MapTitle);
    if (mChange) n += mChange->bytes();
    return n;
}

bool EditStep::continuedBy(const EditStep& next) const {
    return mPartsOf >= 0 && next.mPartsOf == mPartsOf && next.mParts.size() == 1 &&
           std::find(mParts.begin(), mParts.end(), next.mParts.front()) != mParts.end();
}

bool EditStep::changesImage(const MapDocument& doc) const {
    return mHeader && mHeader->ImageFileName != doc.ImageFileName;
}

namespace {

// The parts of a province a user tells apart, in the order the menu names them.
std::vector<std::string> changedParts(const ProvinceDataType& a, const ProvinceDataType& b) {
    std::vector<std::string> parts;
    const auto part = [&parts](bool changed, const char* name) {
        if (changed) parts.emplace_back(name);
    };
    const auto same = [](const auto& x, const auto& y) { return std::equal(std::begin(x), std::end(x), std::begin(y)); };
    part(a.LandName != b.LandName, "Name");
    part(a.Terrain != b.Terrain || a.TerrainPlain != b.TerrainPlain || !same(a.TerrainBit, b.TerrainBit) ||
             a.TerrainExtraBits != b.TerrainExtraBits,
         "Terrain");
    part(a.Fort != b.Fort, "Fort");
    part(a.Temple != b.Temple, "Temple");
    part(a.Lab != b.Lab, "Lab");
    part(a.Start != b.Start || a.NoStart != b.NoStart || a.SpecStart != b.SpecStart ||
             a.SpecStartNation != b.SpecStartNation,
         "Start");
    part(a.Owner != b.Owner, "Owner");
    part(a.VictoryPoints != b.VictoryPoints, "Victory Points");
    // A population type below 1 is none, however it is held.
    part(a.Population != b.Population || std::max<int>(a.PopType, 0) != std::max<int>(b.PopType, 0), "Population");
    part(a.Unrest != b.Unrest, "Unrest");
    part(a.Defence != b.Defence, "Defence");
    part(!same(a.SiteName, b.SiteName) || !same(a.SiteIndex, b.SiteIndex) || !same(a.KnownSiteName, b.KnownSiteName) ||
             !same(a.KnownSiteIndex, b.KnownSiteIndex) || a.KillFeatures != b.KillFeatures,
         "Sites");
    part(a.CommanderCount != b.CommanderCount || !(a.Commanders == b.Commanders), "Commanders");
    part(!same(a.Neighbours, b.Neighbours), "Neighbours");
    // SetLandFlag follows from the other fields; the user sets only the clearing of the province.
    part(a.LandFlag != b.LandFlag, "Clearing");
    part(a.SkyBox != b.SkyBox || a.BatMap != b.BatMap || !same(a.GroundCol, b.GroundCol) ||
             !same(a.RockCol, b.RockCol) || !same(a.FogCol, b.FogCol),
         "Battlefield");
    return parts;
}

std::string joinParts(const std::vector<std::string>& parts) {
    if (parts.size() == 1) return parts[0];
    if (parts.size() == 2) return parts[0] + " and " + parts[1];
    return "Changes";
}

bool lists(const NeighbourList& list, int province) {
    return std::find(list.begin(), list.end(), province) != list.end();
}

using ChangedProvinces = std::vector<std::pair<int, std::unique_ptr<ProvinceDataType>>>;

std::string describeEdit(const ChangedProvinces& provinces, const EditStep& step, const MapDocument& doc) {
    const auto& neighbours = step.neighbours();
    if (!provinces.empty()) {
        // The province the user works on names the step; a god leaving another start is part of it.
        const auto* main = &provinces.front();
        for (const auto& r : provinces)
            if (r.first == doc.CurProvince) main = &r;
        std::vector<std::string> parts = changedParts(*main->second, doc.Provinces[main->first]);
        if (parts.empty()) parts.emplace_back("Changes");
        return joinParts(parts) + " in " + ProvinceTitle(doc, main->first);
    }
    if (neighbours.size() == 2) {
        const int a = neighbours[0].province, b = neighbours[1].province;
        const bool linked = lists(neighboursOf(doc.Provinces[a]), b) && !lists(neighbours[0].list, b);
        const bool unlinked = !lists(neighboursOf(doc.Provinces[a]), b) && lists(neighbours[0].list, b);
        if (linked || unlinked)
            return std::string(linked ? "Link " : "Unlink ") + ProvinceTitle(doc, a) + " and " + ProvinceTitle(doc, b);
    }
    if (!neighbours.empty()) return "Neighbours of " + std::to_string(neighbours.size()) + " provinces";
    if (step.nations().size() == 1) return "Nation " + doc.Nations[step.nations().front().nation].NationName.str();
    if (!step.nations().empty()) return "Nations";
    return "Map Settings";
}

} // namespace

EditRecorder::EditRecorder(const MapDocument& doc, const EditScope& scope)
    : mDoc(doc), mProvinces(kProvinceSlots), mNations(kNationCount) {
    addScope(scope);
}

void EditRecorder::keepProvince(int province) {
    if (province < 0 || province >= kProvinceSlots || mProvinces[province]) return;
    mProvinces[province] = std::make_unique<ProvinceDataType>(mDoc.Provinces[province]);
}

void EditRecorder::addScope(const EditScope& scope) {
    if (scope.everything) {
        for (int p = 1; p <= kMaxProvince; ++p) keepProvince(p);
    }
    for (const int p : scope.provinces)
        if (validProvince(p)) keepProvince(p);
    if (scope.startProvinces) {
        for (int p = 1; p <= kMaxProvince; ++p) {
            const ProvinceDataType& r = mDoc.Provinces[p];
            if (r.SpecStart || r.SpecStartNation >= 0) keepProvince(p);
        }
        for (const NationDataType& n : mDoc.Nations)
            if (validProvince(n.SpecStartProvince)) keepProvince(n.SpecStartProvince);
    }
    if (scope.nations || scope.everything) {
        for (int n = 0; n < kNationCount; ++n)
            if (!mNations[n]) mNations[n] = std::make_unique<NationDataType>(mDoc.Nations[n]);
    }
    if ((scope.header || scope.everything) && !mHeader) mHeader = std::make_unique<MapHeaderRecord>(HeaderOf(mDoc));
    if (scope.neighbours && mNeighbours.empty()) {
        mNeighbours.resize(kProvinceSlots);
        for (int p = 0; p < kProvinceSlots; ++p) mNeighbours[p] = neighboursOf(mDoc.Provinces[p]);
    }
}

std::unique_ptr<EditStep> EditRecorder::finish(const std::string& text) {
    auto step = std::make_unique<EditStep>();
    ChangedProvinces changed; // whole records as they were, until the step is named
    for (int p = 0; p < kProvinceSlots; ++p) {
        const ProvinceDataType& live = mDoc.Provinces[p];
        if (std::unique_ptr<ProvinceDataType>& kept = mProvinces[p]) {
            copyViewState(live, *kept);
            if (*kept == live) continue;
            // A change of the neighbour list alone keeps the list, not the record.
            const NeighbourList before = neighboursOf(*kept);
            setNeighbours(*kept, neighboursOf(live));
            if (*kept == live) {
                step->mNeighbours.push_back({p, before});
            } else {
                setNeighbours(*kept, before);
                changed.push_back({p, std::move(kept)});
            }
        } else if (!mNeighbours.empty() && mNeighbours[p] != neighboursOf(live)) {
            step->mNeighbours.push_back({p, mNeighbours[p]});
        }
    }
    for (int n = 0; n < kNationCount; ++n)
        if (mNations[n] && !(*mNations[n] == mDoc.Nations[n])) step->mNations.push_back({n, std::move(mNations[n])});
    if (mHeader && !(*mHeader == HeaderOf(mDoc))) step->mHeader = std::move(mHeader);
    if (changed.empty() && step->empty()) return nullptr;

    step->mText = text.empty() ? describeEdit(changed, *step, mDoc) : text;
    if (changed.size() == 1 && step->empty()) {
        step->mPartsOf = changed.front().first;
        step->mParts = changedParts(*changed.front().second, mDoc.Provinces[step->mPartsOf]);
    }
    // The step keeps of each province only the fields or the commander slots that changed.
    for (auto& [p, before] : changed) {
        const ProvinceDataType& live = mDoc.Provinces[p];
        EditStep::ProvinceRecord r{p, nullptr, {}};
        if (!(static_cast<const ProvinceFields&>(*before) == static_cast<const ProvinceFields&>(live)))
            r.fields = std::make_unique<ProvinceFields>(std::move(static_cast<ProvinceFields&>(*before)));
        for (int slot = 0; slot < kCommanderSlots; ++slot)
            if (!(before->Commanders[slot] == live.Commanders[slot]))
                r.commanders.push_back({slot, std::move(before->Commanders[slot])});
        step->mProvinces.push_back(std::move(r));
    }
    return step;
}

std::string ProvinceTitle(const MapDocument& doc, int province) {
    if (validProvince(province) && !doc.Provinces[province].LandName.empty())
        return doc.Provinces[province].LandName.str();
    return "Province " + std::to_string(province);
}


EditHistory::EditHistory(std::size_t budgetBytes, std::size_t maxSteps) : mBudget(budgetBytes), mMaxSteps(maxSteps) {}

void EditHistory::push(std::unique_ptr<EditStep> step, bool typed) {
    if (!step) return;
    while (mSteps.size() > mIndex) {
        mBytes -= mSteps.back()->bytes();
        mSteps.pop_back();
        mLastTyped = false;
    }
    if (mClean > static_cast<std::ptrdiff_t>(mIndex)) mClean = -1;
    const bool joins = typed && mLastTyped && mIndex > 0 && mClean != static_cast<std::ptrdiff_t>(mIndex) &&
                       mSteps.back()->continuedBy(*step);
    mLastTyped = typed;
    if (joins) {
        // The last step holds the records from before the first letter; the document has the rest.
        if (mSteps.back()->parts() == step->parts()) mSteps.back()->setText(step->text());
        return;
    }
    mBytes += step->bytes();
    mSteps.push_back(std::move(step));
    ++mIndex;
    trim();
}

void EditHistory::trim() {
    // The newest step always stays, however large: the user can undo what was just done.
    while ((mBytes > mBudget || mSteps.size() > mMaxSteps) && mSteps.size() > 1) {
        mBytes -= mSteps.front()->bytes();
        mSteps.erase(mSteps.begin());
        --mIndex;
        mClean = mClean > 0 ? mClean - 1 : -1;
    }
}

const EditStep* EditHistory::undo(MapDocument& doc) {
    if (!canUndo()) return nullptr;
    mLastTyped = false;
    EditStep& step = *mSteps[--mIndex];
    // The sizes of the records held change with the exchange.
    mBytes -= step.bytes();
    step.exchange(doc);
    mBytes += step.bytes();
    return &step;
}

const EditStep* EditHistory::redo(MapDocument& doc) {
    if (!canRedo()) return nullptr;
    mLastTyped = false;
    EditStep& step = *mSteps[mIndex++];
    mBytes -= step.bytes();
    step.exchange(doc);
    mBytes += step.bytes();
    return &step;
}

std::string EditHistory::undoText() const { return canUndo() ? mSteps[mIndex - 1]->text() : std::string(); }

std::string EditHistory::redoText() const { return canRedo() ? mSteps[mIndex]->text() : std::string(); }

void EditHistory::clear() {
    mSteps.clear();
    mIndex = 0;
    mClean = 0;
    mBytes = 0;
    mLastTyped = false;
}

void EditHistory::setClean() {
    mClean = static_cast<std::ptrdiff_t>(mIndex);
    mLastTyped = false;
}

EditJournal::EditJournal(MapDocument& doc) : mDoc(doc) {
    mDoc.BeforeProvinceEdit = [this](int province) {
        if (mRecorder) mRecorder->keepProvince(province);
    };
}

EditJournal::~EditJournal() { mDoc.BeforeProvinceEdit = nullptr; }

void EditJournal::begin(const EditScope& scope) {
    // An edit inside another can only add records kept from now on; the outer edit names what it
    // changes itself before it changes it.
    if (mDepth++ == 0) mRecorder = std::make_unique<EditRecorder>(mDoc, scope);
    else mRecorder->addScope(scope);
}

bool EditJournal::end(const std::string& text) {
    if (mDepth == 0) return false;
    if (--mDepth > 0) {
        // The outer edit names the step; an inner name serves when it gives none.
        if (mText.empty()) mText = text;
        return false;
    }
    std::unique_ptr<EditStep> step = mRecorder->finish(text.empty() ? mText : text);
    mRecorder.reset();
    mText.clear();
    if (!step) return false;
    mHistory.push(std::move(step), typing && typing());
    mDoc.MapModified = true;
    notify();
    return true;
}

const EditStep* EditJournal::move(const EditStep* (EditHistory::*direction)(MapDocument&)) {
    if (open()) return nullptr;
    const EditStep* step = (mHistory.*direction)(mDoc);
    if (step) mDoc.MapModified = !mHistory.isClean();
    notify();
    return step;
}

const EditStep* EditJournal::undo() { return move(&EditHistory::undo); }

const EditStep* EditJournal::redo() { return move(&EditHistory::redo); }

void EditJournal::saved() {
    mHistory.setClean();
    notify();
}

bool EditJournal::record(std::unique_ptr<EditStep> step) {
    if (open() || !step) return false;
    mHistory.push(std::move(step));
    mDoc.MapModified = true;
    notify();
    return true;
}

void EditJournal::clear() {
    mHistory.clear();
    mRecorder.reset();
    mDepth = 0;
    mText.clear();
    notify();
}

EditBracket::EditBracket(EditJournal* journal, const EditScope& scope, std::string text)
    : mJournal(journal), mText(std::move(text)) {
    if (mJournal) mJournal->begin(scope);
}

EditBracket::~EditBracket() {
    if (mJournal) mJournal->end(mText);
}

} // namespace ts
