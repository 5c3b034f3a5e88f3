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

// tessary-cli renumber MAP OLDPICTURE OUT, after MAP has been read with its (new) picture: matches
// the provinces of OLDPICTURE with the ones located now (the same place is the same province; a
// pixel gone and a new one close by are one province moved), remaps every province number of the
// map, writes it to OUT and prints what was added, removed and moved. Returns the exit code: 0,
// 1 when the map logged errors (OUT is written all the same), 2 when it cannot run (no picture,
// an old picture that cannot be read, OUT not written).
int renumberCommand(MapDocument& doc, const ReferenceData& ref, UserInterface& ui, const MapImage& image,
                    const QString& oldPicturePath, const QString& outPath);

} // namespace ts
