#pragma once

#include <QString>

namespace ts {

struct MapDocument;
class MapImage;
struct ReferenceData;
class UserInterface;

// The short summary check prints before the error log, one "name: value" per line. image is the
// map's picture when it was found and loaded, null otherwise.
QString checkSummary(const MapDocument& doc, const MapImage* image);

// The findings of the map check, after the summary: "findings: N", then one indented line each.
QString checkFindings(const MapDocument& doc, const ReferenceData& ref, const MapImage* image);

// Loads the picture the map names, when it names one that exists; otherwise leaves image empty.
// A picture that exists but cannot be decoded is reported through ui like any failed load.
void loadNamedPicture(MapDocument& doc, MapImage& image, UserInterface& ui);

// Replaces every neighbour list of the map by a guess from its loaded picture: the exact guess at
// 100% with every marker drawn in its base look, or, with regions, the region guess. Returns the
// number of pairs the lists then hold.
int guessNeighbours(MapDocument& doc, MapImage& image, UserInterface& ui, bool regions);

} // namespace ts
