#pragma once

#include <QImage>
#include <QPoint>
#include <QString>
#include <vector>

namespace ts {

// A decoded map picture, or why there is none.
struct DecodedImage {
    QImage image;  // Format_RGB32, top row first; null on failure
    QString error; // empty on success
    bool ok() const { return !image.isNull(); }
};

// The rule for SGI pictures: ".rgb" found, case-sensitively, after the first character of
// the name as given. "map.RGB" and ".rgb" alone are not SGI by this rule.
bool isSgiName(const QString& imageFileName);

// Decodes a picture file with FreeImage into an opaque RGB32 image. sgi forces the SGI decoder;
// otherwise the format comes from the file's extension. Any bit depth FreeImage can bring to 32 bits
// is accepted; the alpha channel is dropped because the game ignores it.
DecodedImage decodeMapImage(const QString& path, bool sgi);

// The pure white pixels of a picture file, found straight in the decoded rows without making a
// displayable copy: the way to list the provinces of a large picture in little memory. Numbered as
// the editor numbers them (bottom row first, left to right), each as (column, ProvinceY), at most
// limit of them; tooMany tells that there were more.
struct LocatedPixels {
    std::vector<QPoint> pixels;
    bool tooMany = false;
    QString error; // empty when the picture was read
};
LocatedPixels locatePictureFile(const QString& path, bool sgi, int limit);

} // namespace ts
