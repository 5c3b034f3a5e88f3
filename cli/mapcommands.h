#pragma once

#include <QString>

namespace ts {

struct MapDocument;

// The short summary check prints before the error log, one "name: value" per line. pictureLoaded
// tells whether the map's picture was found and loaded (see picturecommands.h).
QString checkSummary(const MapDocument& doc, bool pictureLoaded);

} // namespace ts
