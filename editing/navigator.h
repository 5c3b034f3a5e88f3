#pragma once

#include "navigatormodel.h"

#include <QHash>
#include <QString>
#include <QTreeWidget>
#include <functional>
#include <string_view>

namespace ts {

// The navigator tree (trvNavigator): the map, its nations by era, its provinces with their forts,
// temples, labs, sites and commanders, and the neighbours entry. Nodes are found by key through an
// index, so records that keep their node strings can remove and re-add their node without a search.
// Choosing a node runs the model's commit-and-select step. A big map has tens of thousands of nodes
// under its provinces, so a built tree makes a province's branch only when something reaches into
// it: the branch opened, or one of its keys looked up or added to.
class Navigator : public QTreeWidget {
public:
    static constexpr const char* kStatusText = "Use to quickly find and select provinces, nations and gods.";

    Navigator(MapDocument& doc, const ReferenceData& ref, QWidget* parent = nullptr);

    NavigatorModel& model() { return mModel; }

    // z_SetStatus, for the hint shown while the mouse moves over the tree.
    std::function<void(const QString& key, const QString& text)> setStatus;

    // Clears the tree, adds every node from the document and expands "MAP".
    void BuildNavigator();
    // Opens every branch, making those of the provinces first (it hides QTreeView::expandAll).
    void expandAll();
    // Adds a child of parentKey ("" for the root) at the end of its children. Keys are unique: a key
    // already present, or a parent that is not, adds nothing and returns null.
    QTreeWidgetItem* AddNavigatorNode(std::string_view parentKey, std::string_view key,
                                      std::string_view caption);
    // Removes the node and everything under it. Returns whether it was there.
    bool RemoveNavigatorNode(std::string_view key);
    // Removes a nation's node and adds it again under the era node its AllowedPlayer now calls for
    // (or not at all when its era is unknown).
    void RefreshNationNode(int nation);
    // Brings a province's node and everything under it in line with its record, when many of its
    // values changed at once. Branches that were open stay open; the chosen node stays chosen.
    void RefreshProvinceNodes(int province);

    QTreeWidgetItem* node(std::string_view key);
    static QString keyOf(const QTreeWidgetItem* item);
    // Makes the node the selected one without running NodeClick. Returns whether it exists.
    bool selectNode(std::string_view key);

    // Commit only: the panels write back and show the current selection again.
    void NodeClick();
    // Selects the node (when the tree has it) and runs the commit-and-select step for the key.
    void NodeClick(std::string_view key);
    // The map input picked a province.
    void z_trvNavigatorNodeClick(int province);

    // Whether the latest choice in the tree was a left mouse click (not a key or another button).
    bool lastChoiceWithLeftButton() const { return mLeftButton; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void forget(QTreeWidgetItem* item);
    // Makes the branch of a province built without it; nothing for any other number.
    void fillProvince(int province);
    void runNodeClick(QTreeWidgetItem* item);

    NavigatorModel mModel;
    MapDocument& mDoc;
    const ReferenceData& mRef;
    QHash<QString, QTreeWidgetItem*> mNodes;
    std::vector<bool> mUnfilled = std::vector<bool>(kProvinceSlots, false);
    bool mLeftButton = false;
};

} // namespace ts
