#include "imagewriters.h"

#include <QFile>

#include <cstdint>
#include <vector>

namespace ts {

namespace {

void putLe16(std::vector<std::uint8_t>& out, int value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void putBe16(std::vector<std::uint8_t>& out, int value) {
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

void putBe32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
}

void setBe32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<std::uint8_t>((value >> (24 - 8 * i)) & 0xFF);
}

bool saveBytes(const std::vector<std::uint8_t>& bytes, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const auto size = static_cast<qint64>(bytes.size());
    return file.write(reinterpret_cast<const char*>(bytes.data()), size) == size;
}

// One Targa pixel in file order: blue, green, red and, for 32 bit, alpha.
std::uint32_t targaPixel(QRgb rgb, bool alpha32) {
    std::uint32_t value = static_cast<std::uint32_t>(qBlue(rgb)) |
                          (static_cast<std::uint32_t>(qGreen(rgb)) << 8) |
                          (static_cast<std::uint32_t>(qRed(rgb)) << 16);
    if (alpha32) value |= static_cast<std::uint32_t>(qAlpha(rgb)) << 24;
    return value;
}

void putTargaPixel(std::vector<std::uint8_t>& out, std::uint32_t pixel, int bytesPerPixel) {
    for (int i = 0; i < bytesPerPixel; ++i)
        out.push_back(static_cast<std::uint8_t>((pixel >> (8 * i)) & 0xFF));
}

// Packets never cross a scanline, which some readers insist on.
void encodeTargaRow(std::vector<std::uint8_t>& out, const std::vector<std::uint32_t>& row,
                    int bytesPerPixel) {
    const std::size_t n = row.size();
    std::size_t i = 0;
    while (i < n) {
        std::size_t run = 1;
        while (i + run < n && run < 128 && row[i + run] == row[i])
            ++run;
        if (run >= 2) {
            out.push_back(static_cast<std::uint8_t>(0x80 | (run - 1)));
            putTargaPixel(out, row[i], bytesPerPixel);
            i += run;
            continue;
        }
        // A raw packet runs until two equal pixels start a repeat.
        std::size_t raw = 1;
        while (i + raw < n && raw < 128 && !(i + raw + 1 < n && row[i + raw] == row[i + raw + 1]))
            ++raw;
        out.push_back(static_cast<std::uint8_t>(raw - 1));
        for (std::size_t k = 0; k < raw; ++k)
            putTargaPixel(out, row[i + k], bytesPerPixel);
        i += raw;
    }
}

// SGI RLE: a count byte with the high bit set copies that many literal bytes, without it repeats
// the next byte; a zero count ends the scanline. Counts stop at 127.
void encodeSgiRow(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& row) {
    const std::size_t n = row.size();
    std::size_t i = 0;
    while (i < n) {
        std::size_t run = 1;
        while (i + run < n && run < 127 && row[i + run] == row[i])
            ++run;
        if (run >= 3) {
            out.push_back(static_cast<std::uint8_t>(run));
            out.push_back(row[i]);
            i += run;
            continue;
        }
        std::size_t raw = 1;
        while (i + raw < n && raw < 127 &&
               !(i + raw + 2 < n && row[i + raw] == row[i + raw + 1] && row[i + raw] == row[i + raw + 2]))
            ++raw;
        out.push_back(static_cast<std::uint8_t>(0x80 | raw));
        out.insert(out.end(), row.begin() + static_cast<std::ptrdiff_t>(i),
                   row.begin() + static_cast<std::ptrdiff_t>(i + raw));
        i += raw;
    }
    out.push_back(0);
}

} // namespace

bool writeTarga(const QImage& image, const QString& path, bool rle, bool alpha32) {
    if (image.isNull() || image.width() > 0xFFFF || image.height() > 0xFFFF) return false;
    const QImage source = image.convertToFormat(QImage::Format_ARGB32);
    const int width = source.width();
    const int height = source.height();
    const int bytesPerPixel = alpha32 ? 4 : 3;

    std::vector<std::uint8_t> out;
    out.reserve(18 + static_cast<std::size_t>(width) * height * bytesPerPixel / (rle ? 8 : 1) + 64);
    out.push_back(0);            // no image id
    out.push_back(0);            // no colour map
    out.push_back(rle ? 10 : 2); // true colour, plain or run-length
    for (int i = 0; i < 5; ++i)
        out.push_back(0); // colour map origin, length and depth: none
    putLe16(out, 0);      // x origin
    putLe16(out, 0);      // y origin
    putLe16(out, width);
    putLe16(out, height);
    out.push_back(static_cast<std::uint8_t>(bytesPerPixel * 8));
    out.push_back(alpha32 ? 8 : 0); // alpha bits; bit 5 clear: bottom-left origin

    std::vector<std::uint32_t> row(static_cast<std::size_t>(width));
    for (int y = height - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int x = 0; x < width; ++x)
            row[static_cast<std::size_t>(x)] = targaPixel(line[x], alpha32);
        if (rle) {
            encodeTargaRow(out, row, bytesPerPixel);
        } else {
            for (std::uint32_t pixel : row)
                putTargaPixel(out, pixel, bytesPerPixel);
        }
    }
    // Version 2 footer without extension or developer areas.
    for (int i = 0; i < 8; ++i)
        out.push_back(0);
    const char signature[] = "TRUEVISION-XFILE.";
    out.insert(out.end(), signature, signature + sizeof(signature)); // includes the closing zero
    return saveBytes(out, path);
}

bool writeSgi(const QImage& image, const QString& path, bool rle, bool alpha) {
    if (image.isNull() || image.width() > 0xFFFF || image.height() > 0xFFFF) return false;
    const QImage source = image.convertToFormat(QImage::Format_ARGB32);
    const int width = source.width();
    const int height = source.height();
    const int channels = alpha ? 4 : 3;

    std::vector<std::uint8_t> out;
    putBe16(out, 474); // magic
    out.push_back(rle ? 1 : 0);
    out.push_back(1); // bytes per channel
    putBe16(out, 3);  // dimensions
    putBe16(out, width);
    putBe16(out, height);
    putBe16(out, channels);
    putBe32(out, 0);   // minimum pixel value
    putBe32(out, 255); // maximum pixel value
    putBe32(out, 0);
    const char name[80] = "tessary-datagen";
    out.insert(out.end(), name, name + sizeof(name));
    putBe32(out, 0); // normal colour map
    out.resize(512, 0);

    auto channelRow = [&](int y, int channel) {
        std::vector<std::uint8_t> row(static_cast<std::size_t>(width));
        const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const QRgb rgb = line[x];
            const int value = channel == 0   ? qRed(rgb)
                              : channel == 1 ? qGreen(rgb)
                              : channel == 2 ? qBlue(rgb)
                                             : qAlpha(rgb);
            row[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(value);
        }
        return row;
    };

    if (!rle) {
        for (int channel = 0; channel < channels; ++channel)
            for (int y = height - 1; y >= 0; --y) {
                const auto row = channelRow(y, channel);
                out.insert(out.end(), row.begin(), row.end());
            }
        return saveBytes(out, path);
    }

    // Offset and length tables, indexed by channel * height + scanline (scanline 0 at the bottom).
    const std::size_t tableEntries = static_cast<std::size_t>(height) * channels;
    const std::size_t startTable = out.size();
    const std::size_t lengthTable = startTable + 4 * tableEntries;
    out.resize(lengthTable + 4 * tableEntries, 0);
    for (int channel = 0; channel < channels; ++channel)
        for (int scan = 0; scan < height; ++scan) {
            const std::size_t entry = static_cast<std::size_t>(channel) * height + scan;
            const std::size_t begin = out.size();
            encodeSgiRow(out, channelRow(height - 1 - scan, channel));
            setBe32(out, startTable + 4 * entry, static_cast<std::uint32_t>(begin));
            setBe32(out, lengthTable + 4 * entry, static_cast<std::uint32_t>(out.size() - begin));
        }
    return saveBytes(out, path);
}

} // namespace ts
