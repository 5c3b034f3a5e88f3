#pragma once

#include <QSize>
#include <QString>

namespace ts {

struct MapDocument;
struct ReferenceData;

// The short summary check prints before the error log, one "name: value" per line. pictureLoaded
// tells whether the map's picture was found and loaded (see picturecommands.h).
QString checkSummary(const MapDocument& doc, bool pictureLoaded);

// The findings of the map check, after the summary: "findings: N", then one indented line each.
// picture is the size of the map's loaded picture, empty without one. The tables are read first
// when the map has anything to look up in them.
QString checkFindings(const MapDocument& doc, const ReferenceData& ref, QSize picture);

} // namespace ts
