#pragma once

#include <QPoint>
#include <vector>

namespace ts {

struct MapDocument;
class MapImage;
class UserInterface;

// Before the map is written: the pixels the province tools touched are written into the picture the
// map names, beside the map (see patchTarga, patchSgi). A picture whose own file cannot take them
// (two bytes per channel, a colour table without white) is saved whole as a Targa beside it, the
// map's #imagefile follows and the user is told. False when the picture could not be written: the user was told, and the map is
// not to be written either, so that map and picture never disagree on disk.
bool SaveChangedPicture(MapDocument& doc, const MapImage& image, const std::vector<QPoint>& touched, UserInterface& ui);

} // namespace ts
