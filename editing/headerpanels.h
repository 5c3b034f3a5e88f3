#pragma once

#include <QString>
#include <functional>

namespace ts {

class MapHeaderPanel;
class Navigator;
class NationPanel;
class PanelFrames;
class UserInterface;
struct MapDocument;
struct ReferenceData;

// The map header and nation panels, put into their frames and bound to the navigator: the frames
// fill them, an edit marks HeaderDirty or NationDirty and runs the commit step, and the commit step
// writes them back. A nation with a special start has its province filled too, so its god can be
// edited in commander slot 0.
struct HeaderPanels {
    MapHeaderPanel* header = nullptr;
    NationPanel* nation = nullptr;
};
HeaderPanels AddHeaderPanels(PanelFrames& frames, Navigator& navigator, MapDocument& doc, const ReferenceData& ref,
                             UserInterface& ui);

} // namespace ts
