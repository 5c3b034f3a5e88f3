#pragma once

namespace ts {

class HelpWindow;
class ProvincePanel;
class StartOwnerPanel;
class VictoryPanel;

// The province panel's three forms, as the main window wires them.
struct ProvinceEditing {
    ProvincePanel* province = nullptr;
    StartOwnerPanel* startAndOwner = nullptr;
    VictoryPanel* victory = nullptr;

    // Fills the province, start-and-owner and victory-point sections from province p.
    void ShowProvince(int province) const;
};

} // namespace ts
