#pragma once

#include <string_view>
#include <vector>

namespace ts {

// The editing panels a navigator choice can show. Their keys are the words the navigator uses.
enum class Panel { Map, AllowedNations, GodsAndNations, Provinces, Commanders, Neighbours, None };

std::string_view panelKey(Panel panel);

// The editing frames by objectName, in the order they stand in the panel column.
inline constexpr std::string_view kFraMap = "fraMap";
inline constexpr std::string_view kFraGodAndNation = "fraGodAndNation";
inline constexpr std::string_view kFraProvince = "fraProvince";
inline constexpr std::string_view kFraProvinceCommanders1 = "fraProvinceCommanders1";
inline constexpr std::string_view kFraCommander = "fraCommander";
inline constexpr std::string_view kFraCommanderBodyGuards = "fraCommanderBodyGuards";
inline constexpr std::string_view kFraCommanderUnits = "fraCommanderUnits";
inline constexpr std::string_view kFraSites = "fraSites";
inline constexpr std::string_view kFraStartAndOwner = "fraStartAndOwner";
inline constexpr std::string_view kFraVictoryPoints = "fraVictoryPoints";

const std::vector<std::string_view>& editingFrameNames();

// What a panel choice does to a floating tool panel. Show means "as the user wants it": the terrain
// and fort tools appear when switched on, the bar tool unless the user hid it.
enum class ToolRule { Keep, Show, Hide };

struct ToolPanels {
    ToolRule terrain = ToolRule::Keep;
    ToolRule fort = ToolRule::Keep;
    ToolRule bar = ToolRule::Keep;
    friend bool operator==(const ToolPanels&, const ToolPanels&) = default;
};

// Everything ShowPanel does for one choice, worked out without a window: the frames to show (all
// others are hidden), what happens to the tool panels, and which panel fillers run, in this order:
// map header, nation, province, commander detail.
struct PanelLayout {
    std::vector<std::string_view> frames;
    ToolPanels tools;
    bool fillMapHeader = false;
    bool fillNation = false;
    bool fillProvince = false;
    bool fillCommanderDetail = false;
};

// province, commander and nation are the current selection; below 0 (or below 1 for a province)
// means none. A nation group with no nation chosen shows the map header.
PanelLayout ChoosePanelLayout(Panel panel, int province, int nation);

} // namespace ts
