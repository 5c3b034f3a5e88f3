#pragma once

#include <functional>
#include <string_view>

namespace ts {

// How the widget-free editing rules keep the navigator tree in step with the records they change.
// The tree answers with its own nodes; tests record the calls. Every member may be left empty.
struct NavigatorNodeEdits {
    std::function<void(std::string_view parentKey, std::string_view key, std::string_view caption)> add;
    std::function<void(std::string_view key)> remove;
    std::function<void(std::string_view key)> expand;
    // The nation's era node may have changed (it gained or lost its special start).
    std::function<void(int nation)> refreshNation;

    void addNode(std::string_view parentKey, std::string_view key, std::string_view caption) const {
        if (add) add(parentKey, key, caption);
    }
    void removeNode(std::string_view key) const {
        if (remove && !key.empty()) remove(key);
    }
    void expandNode(std::string_view key) const {
        if (expand) expand(key);
    }
    void nationChanged(int nation) const {
        if (refreshNation) refreshNation(nation);
    }
};

} // namespace ts
