#include "testimages.h"

#include <FreeImage.h>
#include <QFile>
#include <vector>

namespace ts::testing {

namespace {

void putBigEndian(QByteArray& out, quint32 value, int bytes) {
    for (int b = bytes - 1; b >= 0; --b)
        out.append(static_cast<char>((value >> (8 * b)) & 0xFF));
}

// One channel of one row, bottom row first, as SGI stores it.
std::vector<uchar> sgiRow(const QImage& image, int rowFromBottom, int channel) {
    const int y = image.height() - 1 - rowFromBottom;
    std::vector<uchar> row(static_cast<std::size_t>(image.width()));
    for (int x = 0; x < image.width(); ++x) {
        const QRgb p = image.pixel(x, y);
        const int v = channel == 0 ? qRed(p) : channel == 1 ? qGreen(p) : channel == 2 ? qBlue(p) : qAlpha(p);
        row[static_cast<std::size_t>(x)] = static_cast<uchar>(v);
    }
    return row;
}

// SGI run-length packets: a count byte with the high bit set copies that many bytes, without it
// repeats the next byte; a zero count ends the row.
QByteArray sgiRle(const std::vector<uchar>& row) {
    QByteArray out;
    std::size_t i = 0;
    while (i < row.size()) {
        std::size_t run = 1;
        while (i + run < row.size() && run < 127 && row[i + run] == row[i])
            ++run;
        if (run >= 3) {
            out.append(static_cast<char>(run));
            out.append(static_cast<char>(row[i]));
            i += run;
            continue;
        }
        std::size_t literal = 0;
        while (i + literal < row.size() && literal < 127) {
            const std::size_t k = i + literal;
            if (k + 2 < row.size() && row[k] == row[k + 1] && row[k] == row[k + 2]) break;
            ++literal;
        }
        out.append(static_cast<char>(0x80 | literal));
        for (std::size_t k = 0; k < literal; ++k)
            out.append(static_cast<char>(row[i + k]));
        i += literal;
    }
    out.append('\0');
    return out;
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
    for (int y = 0; y < image.height(); ++y) {
        BYTE* line = FreeImage_GetScanLine(dib, image.height() - 1 - y);
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            BYTE* px = line + x * (bpp / 8);
            px[FI_RGBA_RED] = static_cast<BYTE>(qRed(p));
            px[FI_RGBA_GREEN] = static_cast<BYTE>(qGreen(p));
            px[FI_RGBA_BLUE] = static_cast<BYTE>(qBlue(p));
            if (alpha32) px[FI_RGBA_ALPHA] = static_cast<BYTE>(qAlpha(p));
        }
    }
    const BOOL saved =
        FreeImage_Save(FIF_TARGA, dib, QFile::encodeName(path).constData(), rle ? TARGA_SAVE_RLE : 0);
    FreeImage_Unload(dib);
    return saved == TRUE;
}

bool saveSgi(const QImage& image, const QString& path, bool rle, bool alpha) {
    const int channels = alpha ? 4 : 3;
    const int rows = image.height();
    QByteArray header;
    putBigEndian(header, 474, 2);          // magic
    header.append(static_cast<char>(rle)); // storage
    header.append('\1');                   // bytes per channel
    putBigEndian(header, 3, 2);            // dimensions
    putBigEndian(header, static_cast<quint32>(image.width()), 2);
    putBigEndian(header, static_cast<quint32>(rows), 2);
    putBigEndian(header, static_cast<quint32>(channels), 2);
    putBigEndian(header, 0, 4);   // smallest value
    putBigEndian(header, 255, 4); // largest value
    header.append(QByteArray(4 + 80, '\0'));
    putBigEndian(header, 0, 4); // normal colour map
    header.append(QByteArray(512 - header.size(), '\0'));

    QByteArray body;
    if (!rle) {
        for (int c = 0; c < channels; ++c)
            for (int r = 0; r < rows; ++r) {
                const auto row = sgiRow(image, r, c);
                body.append(reinterpret_cast<const char*>(row.data()), static_cast<qsizetype>(row.size()));
            }
    } else {
        // Offsets table and lengths table, one entry per row and channel, then the packed rows.
        const auto tableEntries = static_cast<quint32>(rows * channels);
        QByteArray starts, lengths, packed;
        const quint32 dataStart = 512 + 2 * 4 * tableEntries;
        for (int c = 0; c < channels; ++c)
            for (int r = 0; r < rows; ++r) {
                const QByteArray row = sgiRle(sgiRow(image, r, c));
                putBigEndian(starts, dataStart + static_cast<quint32>(packed.size()), 4);
                putBigEndian(lengths, static_cast<quint32>(row.size()), 4);
                packed.append(row);
            }
        body = starts + lengths + packed;
    }

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    return file.write(header + body) == header.size() + body.size();
}

} // namespace ts::testing
