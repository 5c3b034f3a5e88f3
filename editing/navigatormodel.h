#pragma once

#include "edithistory.h"
#include "mapdocument.h"
#include "panellayout.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ts {

struct ReferenceData;

// One node of the navigator tree. Keys and captions are the document's Windows-1252 bytes.
struct NavigatorNode {
    std::string parentKey; // "" for the root
    std::string key;
    std::string caption;
    // In a tree built without the provinces' contents: whether this province node has any.
    bool hasContents = false;
    friend bool operator==(const NavigatorNode&, const NavigatorNode&) = default;
};

// Node keys and captions, for every part of the program that keeps nodes in step with the records.
std::string ProvinceNodeKey(int province);
std::string ProvinceNodeCaption(const MapDocument& doc, int province);
std::string CommandersGroupKey(int province);
std::string CommanderNodeKey(int province, int slot);
std::string CommanderNodeCaption(int slot, std::string_view unitName);
std::string SitesGroupKey(int province);
std::string NationNodeKey(int nation);

// The era node a nation belongs under: "AEA", "AMA" or "ALA" for an allowed player, else "GEA",
// "GMA" or "GLA"; "" when the nation table gives no known era, and the nation then has no node.
std::string NationEraParent(const MapDocument& doc, const ReferenceData& ref, int nation);
// Sets the nation's node strings from its era and AllowedPlayer (all empty when it has no node).
// Returns whether it has a node.
bool SetNationNodeStrings(MapDocument& doc, const ReferenceData& ref, int nation);

// The whole tree in the order it is built, parents before children. Stores every nation's,
// province's and commander slot's node strings in its record on the way, and the god's node strings
// of each nation that has a god and a special start; records without a node get empty strings.
// Without the provinces' contents only the province nodes themselves are listed (with hasContents),
// though every record's strings are still stored: a tree of a big map makes its provinces' branches
// when they are first opened.
std::vector<NavigatorNode> BuildNavigatorNodes(MapDocument& doc, const ReferenceData& ref,
                                               bool withProvinceContents = true);
// One province's part of the tree: its node, then its fort, temple, lab, sites and commanders, with
// the node strings stored as the build stores them. For refreshing a province that changed as a whole.
void AppendProvinceNodes(MapDocument& doc, const ReferenceData& ref, int province,
                         std::vector<NavigatorNode>& nodes);

// What a node key stands for. Keys are split at blanks into at most three words; the second word
// says what the first (and third) are.
struct NodeTarget {
    enum Kind {
        Unknown,   // matches no form: selects nothing, shows no panel
        Fixed,     // a one-word key such as "MAP" or "GEA"
        Province,  // n PROV, n COMMANDERS, n SITES, n SITE s, n KNOWNSITE s
        Commander, // n COM c
        Nation,    // i NATION
    };
    Kind kind = Unknown;
    std::string word; // the key itself for a fixed node
    int province = -1;
    int commander = -1;
    int nation = -1;
};
NodeTarget ParseNodeKey(std::string_view key);

// The panel a node shows. A nation node shows the group of the era node it hangs under.
Panel PanelForNode(const MapDocument& doc, const NodeTarget& target);

// What a commit of the panels may change: the province shown, the special starts its gods come
// from or go to, the nations and the header.
EditScope CommitScope(const MapDocument& doc);

// The navigator's commit-and-select step, without the tree. Every editing panel only marks its dirty
// flag; NodeClick writes all dirty panels back through the commit hooks, in a fixed order, before it
// changes the selection, then shows the chosen panel and marks the map changed.
class NavigatorModel {
public:
    // One hook per dirty flag; each reads the current selection from the document. A commit may mark
    // a later flag dirty (the commander strip marks the province) and that commit then runs too.
    struct CommitHooks {
        std::function<void()> header;
        std::function<void()> commanderStrip;
        std::function<void()> province;
        std::function<void()> sites;
        std::function<void()> startAndOwner;
        std::function<void()> victory;
        std::function<void()> commanderDetail;
        std::function<void()> nation;
        // After a start-and-owner or victory-point commit, which can change the marks.
        std::function<void()> redrawSpecialMarks;
    };
    struct Hooks {
        CommitHooks commit;
        // The commander strip's three selection frames (commander, bodyguard and unit stack).
        std::function<void()> hideSelectionFrames;
        // A different province was chosen: select it on the map and move there. chosenWithLeftButton
        // tells a mouse choice in the tree from a keyboard one.
        std::function<void(int province, bool chosenWithLeftButton)> selectProvince;
        // Nothing selected: stop the selection's flashing and redraw the last selection's mark.
        std::function<void()> stopSelection;
        std::function<void(Panel panel, int province, int commander, int nation)> showPanel;
        // The document changed: keep a recovery copy of the unsaved work.
        std::function<void()> writeRecoveryFile;
    };

    // The slot-selection flags of the commander strip: a commander, a bodyguard stack or a unit
    // stack was just picked. Cleared with the dirty flags at the end of every node click.
    struct SlotPicks {
        bool commander = false;
        bool bodyguard = false;
        bool unit = false;
    };

    NavigatorModel(MapDocument& doc, const ReferenceData& ref);

    Hooks hooks;
    // Where each commit is recorded as one step to undo; none in tests that do not undo.
    EditJournal* journal = nullptr;

    std::vector<NavigatorNode> Build(bool withProvinceContents = true) {
        return BuildNavigatorNodes(mDoc, mRef, withProvinceContents);
    }

    // A node was chosen: commit, select what the key stands for, show its panel.
    void NodeClick(std::string_view key, bool chosenWithLeftButton = false);
    // No node: commit the dirty panels, keep the selection and show the current panel again so it
    // reflects the records. This is what a panel runs after an edit.
    void NodeClick();

    // A panel control changed. While a node click fills the panels this is ignored, so filling a
    // panel never marks it dirty. Returns whether the flag was set.
    bool PanelChanged(PanelDirtyFlag flag);

    bool panelReady() const { return mPanelReady; }
    bool inNodeClick() const { return mInNodeClick; }
    Panel currentPanel() const { return mPanel; }
    SlotPicks& slotPicks() { return mPicks; }
    const SlotPicks& slotPicks() const { return mPicks; }

private:
    void commitDirtyPanels();
    void finishCommit();

    MapDocument& mDoc;
    const ReferenceData& mRef;
    bool mPanelReady = false;
    bool mInNodeClick = false;
    Panel mPanel = Panel::None;
    SlotPicks mPicks;
};

} // namespace ts
