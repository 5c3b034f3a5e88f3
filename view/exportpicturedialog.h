#pragma once

#include "renderoptions.h"

#include <QSize>
#include <optional>

class QWidget;

namespace ts {

// File > "Export Picture...": asks the scale (spnScale) and what to draw over the map (chkNumbers,
// chkNames, chkLinks, chkStarts) in the window frmExportPicture, showing the size the picture will
// have (lblSize). pictureSize is the map picture at 100%; proposed holds the last choices. Nothing
// when the user cancels.
std::optional<RenderOptions> askRenderOptions(QWidget* parent, QSize pictureSize, const RenderOptions& proposed);

} // namespace ts
