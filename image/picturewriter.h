#pragma once

#include <QImage>
#include <QPoint>
#include <QString>
#include <vector>

namespace ts {

// Writes the map picture back after province pixels were changed. The file read is taken as it
// is and only the given pixels are replaced (by their colour in picture), so every other byte of a
// pixel stays as the map maker saved it: the same kind of Targa, bit depth, origin, compression,
// identification, colour table and extension area. The target is replaced only once the new file is
// complete. Returns "" or why the picture could not be written (nothing is then changed on disk).
QString patchTarga(const QString& sourcePath, const QString& targetPath, const QImage& picture,
                   const std::vector<QPoint>& pixels);

// The same for an SGI picture of one byte per channel, plain or run-length; a run-length row that
// changed is packed anew at the end of the file and its table entry pointed there, so the other
// rows stay byte for byte. Returns "" or why not (two bytes per channel, a damaged file).
QString patchSgi(const QString& sourcePath, const QString& targetPath, const QImage& picture,
                 const std::vector<QPoint>& pixels);

// One row of SGI run-length packets: a count byte with the high bit set copies that many bytes,
// without it repeats the next byte; a zero count ends the row. Runs of three or more repeat.
QByteArray sgiRunLengthRow(const QByteArray& row);

// Whether patchTarga can write this file's kind of Targa (and the colours it must hold, for a picture
// with a colour table); "" when it can, else why not.
QString targaPatchRefusal(const QString& sourcePath, const QImage& picture, const std::vector<QPoint>& pixels);

// The whole picture as a run-length 24-bit Targa, bottom row first: for a picture whose own file
// cannot take the change. Returns "" or why it could not be written.
QString writeTarga24(const QImage& picture, const QString& targetPath);

// Where the Targa copy of a picture that cannot be written in its own format goes: beside it, with
// the same name ending in ".tga", or with a number added when that name is taken.
QString targaBeside(const QString& picturePath);

} // namespace ts
