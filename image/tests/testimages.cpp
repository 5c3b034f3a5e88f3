#include "testimages.h"

#include "picturewriter.h"

#include <FreeImage.h>
#include <QFile>
#include <QPainter>

namespace ts::testing {

namespace {

void putBigEndian(QByteArray& out, quint32 value, int bytes) {
    for (int b = bytes - 1; b >= 0; --b)
        out.append(static_cast<char>((value >> (8 * b)) & 0xFF));
}

} // namespace

QImage filledPicture(int width, int height, QRgb argb) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(argb);
    return image;
}

bool saveTarga(const QImage& image, const QString& path, bool rle, bool alpha32) {
    FreeImage_Initialise(FALSE);
    const int bpp = alpha32 ? 32 : 24;
    FIBITMAP* dib = FreeImage_Allocate(image.width(), image.height(), bpp);
    if (!dib) return false;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            BYTE* px = FreeImage_GetScanLine(dib, image.height() - 1 - y) + x * (bpp / 8);
            px[FI_RGBA_RED] = static_cast<BYTE>(qRed(p));
            px[FI_RGBA_GREEN] = static_cast<BYTE>(qGreen(p));
            px[FI_RGBA_BLUE] = static_cast<BYTE>(qBlue(p));
            if (alpha32) px[FI_RGBA_ALPHA] = static_cast<BYTE>(qAlpha(p));
        }
    const BOOL saved =
        FreeImage_Save(FIF_TARGA, dib, QFile::encodeName(path).constData(), rle ? TARGA_SAVE_RLE : 0);
    FreeImage_Unload(dib);
    return saved == TRUE;
}

bool saveSgi(const QImage& image, const QString& path, bool rle, bool alpha) {
    const int channels = alpha ? 4 : 3;
    QByteArray header;
    putBigEndian(header, 474, 2);                    // magic
    header.append(static_cast<char>(rle)).append(1); // storage, bytes per channel
    for (const int value : {3, image.width(), image.height(), channels})
        putBigEndian(header, static_cast<quint32>(value), 2);
    putBigEndian(header, 0, 4);   // smallest value
    putBigEndian(header, 255, 4); // largest value
    header.append(QByteArray(512 - header.size(), '\0'));

    // Channel by channel, bottom row first; packed rows go behind tables of their offsets and lengths.
    QByteArray starts, lengths, body;
    const auto dataStart = static_cast<quint32>(512 + 8 * image.height() * channels);
    for (int c = 0; c < channels; ++c)
        for (int y = image.height() - 1; y >= 0; --y) {
            QByteArray row;
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                row.append(static_cast<char>(c == 0   ? qRed(p)
                                             : c == 1 ? qGreen(p)
                                             : c == 2 ? qBlue(p)
                                                      : qAlpha(p)));
            }
            if (rle) {
                row = sgiRunLengthRow(row);
                putBigEndian(starts, dataStart + static_cast<quint32>(body.size()), 4);
                putBigEndian(lengths, static_cast<quint32>(row.size()), 4);
            }
            body.append(row);
        }
    QFile file(path);
    const QByteArray all = header + starts + lengths + body;
    return file.open(QIODevice::WriteOnly) && file.write(all) == all.size();
}

QImage tileArt(int width, int height) {
    QImage tiles(width, height, QImage::Format_RGB32);
    QPainter painter(&tiles);
    for (int y = 0; y < height; y += 24)
        for (int x = 0; x < width; x += 16) {
            const int kind = (x / 16 + y / 24 * 2) % 3; // tufts on grass, trees, peaks
            painter.fillRect(x, y, 16, 24, QColor(96 + 30 * kind, 150 - 30 * kind, 60 + 20 * kind));
            painter.setPen(QPen(QColor(20, 40, 10), 2));
            if (kind == 0) painter.drawLine(x + 4, y + 18, x + 8, y + 8);
            if (kind == 1) painter.drawEllipse(QRect(x + 3, y + 4, 10, 12));
            if (kind == 2) painter.drawPolyline(QPolygon({QPoint(x + 2, y + 20), QPoint(x + 8, y + 5), QPoint(x + 14, y + 20)}));
        }
    return tiles;
}

} // namespace ts::testing
