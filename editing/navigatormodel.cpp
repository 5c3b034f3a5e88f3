#include "navigatormodel.h"

#include "referencedata.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace ts {

namespace {

std::string number(int n) {
    return std::to_string(n);
}

std::string join(int n, std::string_view suffix) {
    std::string s = number(n);
    s += suffix;
    return s;
}

void clearNodeStrings(Text& parent, Text& key, Text& caption) {
    parent.clear();
    key.clear();
    caption.clear();
}

// Only plain decimal words count: a key with anything else in it matches no form.
std::optional<int> parseNumber(std::string_view word) {
    int value = 0;
    if (word.empty()) return std::nullopt;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size()) return std::nullopt;
    return value;
}

std::vector<std::string_view> splitKey(std::string_view key) {
    std::vector<std::string_view> words;
    while (words.size() < 2) {
        const auto blank = key.find(' ');
        if (blank == std::string_view::npos) break;
        words.push_back(key.substr(0, blank));
        key.remove_prefix(blank + 1);
    }
    words.push_back(key); // the third word keeps whatever follows, as a split limited to three does
    return words;
}

} // namespace

std::string ProvinceNodeKey(int province) {
    return join(province, " PROV");
}

std::string ProvinceNodeCaption(const MapDocument& doc, int province) {
    const Text& name = doc.Provinces[province].LandName;
    return number(province) + " " + (name.empty() ? std::string("Prov") : name.str());
}

std::string CommandersGroupKey(int province) {
    return join(province, " COMMANDERS");
}

std::string CommanderNodeKey(int province, int slot) {
    return join(province, " COM ") + number(slot);
}

std::string CommanderNodeCaption(int slot, std::string_view unitName) {
    return number(slot) + " " + std::string(unitName);
}

std::string SitesGroupKey(int province) {
    return join(province, " SITES");
}

std::string NationNodeKey(int nation) {
    return join(nation, " NATION");
}

std::string NationEraParent(const MapDocument& doc, const ReferenceData& ref, int nation) {
    const std::string& era = ref.NationData[nation].era;
    if (era != "EA" && era != "MA" && era != "LA") return {};
    return (doc.Nations[nation].AllowedPlayer ? "A" : "G") + era;
}

bool SetNationNodeStrings(MapDocument& doc, const ReferenceData& ref, int nation) {
    NationDataType& n = doc.Nations[nation];
    const std::string parent = NationEraParent(doc, ref, nation);
    if (parent.empty()) {
        clearNodeStrings(n.NodeParentKey, n.NodeKey, n.NodeText);
        return false;
    }
    n.NodeParentKey = parent;
    n.NodeKey = NationNodeKey(nation);
    n.NodeText = ref.NationData[nation].era + " " + ref.NationData[nation].name;
    return true;
}

void AppendProvinceNodes(MapDocument& doc, const ReferenceData& ref, int p, std::vector<NavigatorNode>& nodes) {
    ProvinceDataType& prov = doc.Provinces[p];
    prov.NodeParentKey = "PROVINCES";
    prov.NodeKey = ProvinceNodeKey(p);
    prov.NodeText = ProvinceNodeCaption(doc, p);
    const std::string provKey = prov.NodeKey.str();
    nodes.push_back({"PROVINCES", provKey, prov.NodeText.str()});

    if (prov.Fort > 0) {
        // A fort number beyond the fort table still gets a node, captioned with its number.
        const std::string caption =
            prov.Fort < kFortSlots ? ref.FortData[prov.Fort].name : number(prov.Fort);
        nodes.push_back({provKey, join(p, " FORT"), caption});
    }
    if (prov.Temple) nodes.push_back({provKey, join(p, " TEMPLE"), "Temple"});
    if (prov.Lab) nodes.push_back({provKey, join(p, " LAB"), "Lab"});

    const bool anySite = std::any_of(std::begin(prov.SiteName), std::end(prov.SiteName),
                                     [](const Text& t) { return !t.empty(); }) ||
                         std::any_of(std::begin(prov.KnownSiteName), std::end(prov.KnownSiteName),
                                     [](const Text& t) { return !t.empty(); });
    if (anySite) {
        const std::string sitesKey = SitesGroupKey(p);
        nodes.push_back({provKey, sitesKey, "Sites"});
        for (int s = 0; s < kSiteSlotsPerProvince; ++s)
            if (!prov.SiteName[s].empty())
                nodes.push_back({sitesKey, join(p, " SITE ") + number(s), prov.SiteName[s].str()});
        for (int s = 0; s < kSiteSlotsPerProvince; ++s)
            if (!prov.KnownSiteName[s].empty())
                nodes.push_back(
                    {sitesKey, join(p, " KNOWNSITE ") + number(s), prov.KnownSiteName[s].str()});
    }

    bool groupAdded = false;
    const std::string groupKey = CommandersGroupKey(p);
    for (int c = 0; c < kCommanderSlots; ++c) {
        // Looked at first: reaching an empty slot for writing would build it for nothing.
        const CommanderDataType& seen = std::as_const(prov.Commanders)[c];
        if (seen.UnitName.empty()) {
            if (!seen.NodeParentKey.empty() || !seen.NodeKey.empty() || !seen.NodeText.empty()) {
                CommanderDataType& com = prov.Commanders[c];
                clearNodeStrings(com.NodeParentKey, com.NodeKey, com.NodeText);
            }
            continue;
        }
        CommanderDataType& com = prov.Commanders[c];
        if (!groupAdded) {
            nodes.push_back({provKey, groupKey, "Commanders"});
            groupAdded = true;
        }
        com.NodeParentKey = groupKey;
        com.NodeKey = CommanderNodeKey(p, c);
        com.NodeText = CommanderNodeCaption(c, com.UnitName);
        nodes.push_back({groupKey, com.NodeKey.str(), com.NodeText.str()});
    }
}

std::vector<NavigatorNode> BuildNavigatorNodes(MapDocument& doc, const ReferenceData& ref,
                                               bool withProvinceContents) {
    std::vector<NavigatorNode> nodes = {
        {"", "MAP", "Map"},
        {"MAP", "ALLOWEDNATIONS", "Allowed Nations"},
        {"ALLOWEDNATIONS", "AEA", "Early"},
        {"ALLOWEDNATIONS", "AMA", "Mid"},
        {"ALLOWEDNATIONS", "ALA", "Late"},
        {"MAP", "GODSANDNATIONS", "Gods and Nations"},
        {"GODSANDNATIONS", "GEA", "Early"},
        {"GODSANDNATIONS", "GMA", "Mid"},
        {"GODSANDNATIONS", "GLA", "Late"},
        {"MAP", "PROVINCES", "Provinces"},
        {"MAP", "NEIGHBOURS", "Neighbours"},
    };

    for (int i = 0; i < kNationCount; ++i) {
        NationDataType& n = doc.Nations[i];
        if (SetNationNodeStrings(doc, ref, i))
            nodes.push_back({n.NodeParentKey.str(), n.NodeKey.str(), n.NodeText.str()});
        CommanderDataType& god = n.God;
        const int start = n.SpecStartProvince;
        if (!n.GodName.empty() && start > 0 && start < kProvinceSlots) {
            // The god's own node is added with the commanders of its start province (slot 0).
            god.NodeParentKey = CommandersGroupKey(start);
            god.NodeKey = CommanderNodeKey(start, 0);
            god.NodeText = CommanderNodeCaption(0, god.UnitName);
        } else {
            clearNodeStrings(god.NodeParentKey, god.NodeKey, god.NodeText);
        }
    }

    const int count = std::clamp<int>(doc.ProvinceCount, 0, kMaxProvince);
    std::vector<NavigatorNode> province;
    for (int p = 1; p <= count; ++p) {
        if (withProvinceContents) {
            AppendProvinceNodes(doc, ref, p, nodes);
            continue;
        }
        province.clear();
        AppendProvinceNodes(doc, ref, p, province);
        province.front().hasContents = province.size() > 1;
        nodes.push_back(std::move(province.front()));
    }
    return nodes;
}

NodeTarget ParseNodeKey(std::string_view key) {
    NodeTarget target;
    const std::vector<std::string_view> words = splitKey(key);
    if (words.size() == 1) {
        if (!key.empty()) {
            target.kind = NodeTarget::Fixed;
            target.word = std::string(key);
        }
        return target;
    }
    const std::optional<int> first = parseNumber(words[0]);
    if (!first) return target;
    const std::string_view what = words[1];
    if (what == "PROV" || what == "COMMANDERS" || what == "SITES" || what == "SITE" || what == "KNOWNSITE") {
        if (*first < 1 || *first > kMaxProvince) return target;
        target.kind = NodeTarget::Province;
        target.province = *first;
    } else if (what == "COM") {
        const std::optional<int> slot = words.size() == 3 ? parseNumber(words[2]) : std::nullopt;
        if (*first < 1 || *first > kMaxProvince || !slot || *slot < 0 || *slot >= kCommanderSlots)
            return target;
        target.kind = NodeTarget::Commander;
        target.province = *first;
        target.commander = *slot;
    } else if (what == "NATION") {
        if (*first < 0 || *first >= kNationCount) return target;
        target.kind = NodeTarget::Nation;
        target.nation = *first;
    }
    return target;
}

Panel PanelForNode(const MapDocument& doc, const NodeTarget& target) {
    switch (target.kind) {
    case NodeTarget::Fixed: {
        const std::string& w = target.word;
        if (w == "MAP") return Panel::Map;
        if (w == "ALLOWEDNATIONS" || w == "AEA" || w == "AMA" || w == "ALA") return Panel::AllowedNations;
        if (w == "GODSANDNATIONS" || w == "GEA" || w == "GMA" || w == "GLA") return Panel::GodsAndNations;
        if (w == "PROVINCES") return Panel::Provinces;
        if (w == "NEIGHBOURS") return Panel::Neighbours;
        return Panel::None;
    }
    case NodeTarget::Province:
        return Panel::Provinces;
    case NodeTarget::Commander:
        return Panel::Commanders;
    case NodeTarget::Nation: {
        const std::string_view parent = doc.Nations[target.nation].NodeParentKey.view();
        if (parent == "AEA" || parent == "AMA" || parent == "ALA") return Panel::AllowedNations;
        if (parent == "GEA" || parent == "GMA" || parent == "GLA") return Panel::GodsAndNations;
        return Panel::None;
    }
    case NodeTarget::Unknown:
        break;
    }
    return Panel::None;
}

NavigatorModel::NavigatorModel(MapDocument& doc, const ReferenceData& ref) : mDoc(doc), mRef(ref) {}

bool NavigatorModel::PanelChanged(PanelDirtyFlag flag) {
    if (!mPanelReady) return false;
    mDoc.PanelDirty[flag] = true;
    return true;
}

EditScope CommitScope(const MapDocument& doc) {
    return {.provinces = {doc.CurProvince}, .startProvinces = true, .nations = true, .header = true};
}

void NavigatorModel::commitDirtyPanels() {
    const CommitHooks& c = hooks.commit;
    // Whatever panels a commit writes, it is one step of the history.
    const EditBracket bracket(mDoc.anyPanelDirty() ? journal : nullptr, CommitScope(mDoc));
    // The flags are read one by one, not up front: an earlier commit may dirty a later panel.
    const auto commit = [this](PanelDirtyFlag flag, const std::function<void()>& hook,
                               const std::function<void()>& after = {}) {
        if (!mDoc.PanelDirty[flag]) return;
        if (hook) hook();
        if (after) after();
    };
    commit(HeaderDirty, c.header);
    commit(CommanderDirty, c.commanderStrip);
    commit(ProvinceDirty, c.province);
    commit(SitesDirty, c.sites);
    commit(StartOwnerDirty, c.startAndOwner, c.redrawSpecialMarks);
    commit(VictoryDirty, c.victory, c.redrawSpecialMarks);
    commit(CommanderDetailDirty, c.commanderDetail);
    commit(NationDirty, c.nation);
}

void NavigatorModel::finishCommit() {
    if (mDoc.anyPanelDirty()) {
        mDoc.MapModified = true;
        if (hooks.writeRecoveryFile) hooks.writeRecoveryFile();
    }
    std::fill(std::begin(mDoc.PanelDirty), std::end(mDoc.PanelDirty), false);
    mPicks = {};
    mPanelReady = true;
}

void NavigatorModel::NodeClick() {
    // A panel filled during a node click raises change events; they must not start another one.
    if (mInNodeClick) return;
    mInNodeClick = true;
    mPanelReady = false;
    if (hooks.hideSelectionFrames) hooks.hideSelectionFrames();
    commitDirtyPanels();
    if (hooks.showPanel) hooks.showPanel(mPanel, mDoc.CurProvince, mDoc.CurCommander, mDoc.CurGodNation);
    finishCommit();
    mInNodeClick = false;
}

void NavigatorModel::NodeClick(std::string_view key, bool chosenWithLeftButton) {
    if (mInNodeClick) return;
    mInNodeClick = true;
    mPanelReady = false;
    if (hooks.hideSelectionFrames) hooks.hideSelectionFrames();
    commitDirtyPanels();

    const int previous = mDoc.CurProvince;
    mDoc.CurProvince = kNone;
    mDoc.CurSiteSlot = kNone;
    mDoc.CurKnownSiteSlot = kNone;
    mDoc.CurCommander = kNone;
    mDoc.CurItemSlot = kNone;
    mDoc.CurGodNation = kNone;

    const NodeTarget target = ParseNodeKey(key);
    switch (target.kind) {
    case NodeTarget::Province:
        mDoc.CurProvince = static_cast<std::int16_t>(target.province);
        mDoc.CurBodyguardSlot = kNone;
        mDoc.CurUnitSlot = kNone;
        break;
    case NodeTarget::Commander:
        mDoc.CurProvince = static_cast<std::int16_t>(target.province);
        mDoc.CurCommander = static_cast<std::int16_t>(target.commander);
        // A click on a bodyguard or unit image selects its commander's node; that stack stays chosen.
        if (!mPicks.bodyguard && !mPicks.unit) {
            mPicks.commander = true;
            mDoc.CurBodyguardSlot = kNone;
            mDoc.CurUnitSlot = kNone;
        }
        break;
    case NodeTarget::Nation: {
        mDoc.CurGodNation = static_cast<std::int16_t>(target.nation);
        const int start = mDoc.Nations[target.nation].SpecStartProvince;
        if (start >= 0 && start < kProvinceSlots) {
            mDoc.CurProvince = static_cast<std::int16_t>(start);
            mDoc.CurCommander = 0;
        }
        break;
    }
    case NodeTarget::Fixed:
    case NodeTarget::Unknown:
        break;
    }

    if (mDoc.CurProvince >= 1) {
        if (mDoc.CurProvince != previous && hooks.selectProvince)
            hooks.selectProvince(mDoc.CurProvince, chosenWithLeftButton);
    } else if (hooks.stopSelection) {
        hooks.stopSelection();
    }

    mPanel = PanelForNode(mDoc, target);
    if (hooks.showPanel) hooks.showPanel(mPanel, mDoc.CurProvince, mDoc.CurCommander, mDoc.CurGodNation);
    finishCommit();
    mInNodeClick = false;
}

} // namespace ts
