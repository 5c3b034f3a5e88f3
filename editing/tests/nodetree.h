#pragma once

#include "navigatormodel.h"
#include "navigatornodes.h"

#include <map>
#include <string>

namespace ts::editingtest {

// The navigator's nodes without the widget: keys with their parent and caption, children removed
// with their parent, an add under a missing parent or of a present key ignored, as the tree does.
struct NodeTree {
    struct Node {
        std::string parent, caption;
    };
    std::map<std::string, Node> nodes;
    std::vector<std::string> expanded;
    std::vector<int> refreshedNations;

    void build(MapDocument& doc, const ReferenceData& ref) {
        nodes.clear();
        for (const NavigatorNode& n : BuildNavigatorNodes(doc, ref))
            nodes[n.key] = {n.parentKey, n.caption};
    }
    bool has(const std::string& key) const { return nodes.count(key) != 0; }
    std::string caption(const std::string& key) const { return has(key) ? nodes.at(key).caption : "<none>"; }
    std::string parent(const std::string& key) const { return has(key) ? nodes.at(key).parent : "<none>"; }

    void remove(const std::string& key) {
        if (!nodes.erase(key)) return;
        for (auto it = nodes.begin(); it != nodes.end();) {
            if (it->second.parent == key) {
                const std::string child = it->first;
                remove(child);
                it = nodes.begin();
            } else {
                ++it;
            }
        }
    }

    NavigatorNodeEdits edits() {
        NavigatorNodeEdits e;
        e.add = [this](std::string_view parent, std::string_view key, std::string_view caption) {
            if (has(std::string(key)) || (!parent.empty() && !has(std::string(parent)))) return;
            nodes[std::string(key)] = {std::string(parent), std::string(caption)};
        };
        e.remove = [this](std::string_view key) { remove(std::string(key)); };
        e.expand = [this](std::string_view key) { expanded.emplace_back(key); };
        e.refreshNation = [this](int nation) { refreshedNations.push_back(nation); };
        return e;
    }
};

} // namespace ts::editingtest
