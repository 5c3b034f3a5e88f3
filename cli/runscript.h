#pragma once

#include <QString>

namespace ts {

class MapImage;
class UserInterface;
struct MapDocument;
struct ReferenceData;

// tessary-cli run-script MAP SCRIPT OUT, after MAP has been read with its image: runs the script as
// the script menu would and writes the map to OUT, also when the script stopped on an error. Returns
// the exit code: 0 the script ran to its end, 1 it stopped on an error, 2 the map has no located
// provinces or OUT could not be written.
int runScriptCommand(MapDocument& doc, const ReferenceData& ref, UserInterface& ui, const MapImage& image,
                     const QString& scriptPath, const QString& outPath);

} // namespace ts
