#pragma once

#include <QString>

namespace ts {

// Where the finders and panels find their pictures beside the program. Each falls back to a picture
// that exists in the shipped folders, so a missing file never leaves a hole the user cannot explain.

// TSsprites/<number as four digits>.jpg ("-0666.jpg" for the empty marker), TSsprites/NOIMAGE.jpg
// when that file is missing, and TSicons/blank.bmp for 0 (a slot no table row filled).
QString unitSpritePath(const QString& programFolder, int unitNumber);
// The unit's own sprite file, or nothing when it is missing (the finder's preview then stays empty).
QString unitSpriteFile(const QString& programFolder, int unitNumber);
// TSicons/site<type>.bmp, or TSicons/blank.bmp when there is no site or no such picture.
QString sitePicturePath(const QString& programFolder, const QString& siteType);
QString blankPicturePath(const QString& programFolder);
// TSicons/path<Word>.bmp when the count is above 0 and such a picture exists, else bpath<Word>.bmp.
QString gemPicturePath(const QString& programFolder, int position, int count);

} // namespace ts
