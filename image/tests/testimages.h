#pragma once

#include <QImage>
#include <QString>

namespace ts::testing {

// Small map pictures written the way map makers save them, so the decoder is tried on real files.
// Rows are written as the formats want them (bottom-up); the colours are taken from image's RGB and,
// with alpha, its alpha channel.
bool saveTarga(const QImage& image, const QString& path, bool rle, bool alpha32);
bool saveSgi(const QImage& image, const QString& path, bool rle, bool alpha);

// A picture of one colour, opaque unless argb says otherwise.
QImage filledPicture(int width, int height, QRgb argb = qRgb(0, 0, 0));

// Tile art: 16x24 tiles of grass tufts, trees and peaks in turn, each of its own colour.
QImage tileArt(int width, int height);

} // namespace ts::testing
