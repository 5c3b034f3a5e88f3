#include "panellayout.h"

namespace ts {

std::string_view panelKey(Panel panel) {
    switch (panel) {
    case Panel::Map:
        return "MAP";
    case Panel::AllowedNations:
        return "ALLOWEDNATIONS";
    case Panel::GodsAndNations:
        return "GODSANDNATIONS";
    case Panel::Provinces:
        return "PROVINCES";
    case Panel::Commanders:
        return "COMMANDERS";
    case Panel::Neighbours:
        return "NEIGHBOURS";
    case Panel::None:
        break;
    }
    return "";
}

const std::vector<std::string_view>& editingFrameNames() {
    static const std::vector<std::string_view> names = {
        kFraMap,           kFraGodAndNation,        kFraProvince,       kFraProvinceCommanders1,
        kFraCommander,     kFraCommanderBodyGuards, kFraCommanderUnits, kFraSites,
        kFraStartAndOwner, kFraVictoryPoints};
    return names;
}

namespace {

const std::vector<std::string_view> kProvinceFrames = {kFraProvince, kFraProvinceCommanders1, kFraSites,
                                                       kFraStartAndOwner, kFraVictoryPoints};
const std::vector<std::string_view> kCommanderFrames = {kFraCommander, kFraCommanderBodyGuards,
                                                        kFraCommanderUnits};

void append(std::vector<std::string_view>& to, const std::vector<std::string_view>& from) {
    to.insert(to.end(), from.begin(), from.end());
}

} // namespace

PanelLayout ChoosePanelLayout(Panel panel, int province, int nation) {
    PanelLayout layout;
    const bool nationPanel = panel == Panel::AllowedNations || panel == Panel::GodsAndNations;
    if (panel == Panel::Map || (nationPanel && nation < 0)) {
        layout.frames = {kFraMap};
        layout.fillMapHeader = true;
        return layout;
    }
    switch (panel) {
    case Panel::Provinces:
    case Panel::Commanders:
        layout.frames = kProvinceFrames;
        if (panel == Panel::Commanders) append(layout.frames, kCommanderFrames);
        layout.tools = {ToolRule::Show, ToolRule::Show, ToolRule::Show};
        layout.fillProvince = true;
        layout.fillCommanderDetail = panel == Panel::Commanders;
        return layout;
    case Panel::AllowedNations:
    case Panel::GodsAndNations:
        layout.fillNation = true;
        if (panel == Panel::GodsAndNations && province >= 1) {
            // The god stands in its start province, so the province is edited alongside the nation.
            layout.frames = kProvinceFrames;
            append(layout.frames, kCommanderFrames);
            layout.frames.push_back(kFraGodAndNation);
            layout.tools = {ToolRule::Show, ToolRule::Show, ToolRule::Keep};
            layout.fillProvince = true;
            return layout;
        }
        layout.frames = {kFraGodAndNation};
        append(layout.frames, kCommanderFrames);
        if (panel == Panel::GodsAndNations) layout.tools = {ToolRule::Hide, ToolRule::Hide, ToolRule::Hide};
        return layout;
    default:
        layout.tools = {ToolRule::Hide, ToolRule::Hide, ToolRule::Hide};
        return layout;
    }
}

} // namespace ts
