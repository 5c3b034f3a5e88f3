#pragma once

#include <QString>

namespace ts {

struct ReferenceData;

// The pictures of the commander, stack and site slots, as files beside the program.

// A unit's sprite, TSsprites/<number in four digits>.jpg (-666 gives -0666.jpg); NOIMAGE.jpg when
// the file is missing.
QString UnitPicturePath(const QString& programFolder, int unit);
// The picture of an empty slot.
QString BlankPicturePath(const QString& programFolder);
// TSicons/site<picture code>.bmp, or the blank picture for no site.
QString SitePicturePath(const QString& programFolder, const ReferenceData& ref, int site);
// The magic path icon 0..8 (Fire .. Holy), coloured when set, grey when not.
QString PathIconPath(const QString& programFolder, int path, bool set);

} // namespace ts
