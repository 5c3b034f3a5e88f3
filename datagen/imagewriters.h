#pragma once

#include <QImage>
#include <QString>

namespace ts {

// Writers for the two picture formats the game reads for a map. Both keep every pixel exactly
// (no colour conversion beyond dropping alpha when it is not asked for), so a pure white province
// pixel stays pure white.

// Truevision Targa, 24 bit (BGR) or 32 bit (BGRA), uncompressed (type 2) or run-length (type 10).
// Rows are stored bottom row first with descriptor bit 5 clear: the standard origin at the
// bottom left, which every reader honours.
bool writeTarga(const QImage& image, const QString& path, bool rle, bool alpha32);

// SGI image (.rgb), 8 bits per channel, 3 channels (RGB) or 4 (RGBA), verbatim or RLE. Scanlines
// run bottom to top as the format requires.
bool writeSgi(const QImage& image, const QString& path, bool rle, bool alpha);

} // namespace ts
