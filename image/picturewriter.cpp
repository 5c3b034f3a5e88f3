#include "picturewriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cstring>

namespace ts {

namespace {

constexpr int kHeaderSize = 18;
constexpr char kFooterSignature[] = "TRUEVISION-XFILE.";
constexpr int kFooterSize = 26;

quint32 le16(const uchar* p) { return p[0] | (quint32(p[1]) << 8); }
quint32 le32(const uchar* p) { return le16(p) | (le16(p + 2) << 16); }
void putLe32(uchar* p, quint32 v) {
    for (int b = 0; b < 4; ++b) p[b] = static_cast<uchar>(v >> (8 * b));
}

// The parts of a Targa file, with its pixels unpacked into one row-major array in file order.
struct Targa {
    QByteArray head;   // header, identification and colour table
    QByteArray pixels; // width * height * pixelBytes
    QByteArray tail;   // extension area, developer area and footer, as they were
    qint64 pixelEnd = 0; // where the pixel data ended in the file
    int type = 0, width = 0, height = 0, pixelBytes = 0, depth = 0, descriptor = 0;
    int mapFirst = 0, mapLength = 0, mapEntryBits = 0;
    qint64 mapStart = 0;
    bool rle() const { return type >= 9; }
};

QString readTarga(const QString& path, Targa& t) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return file.errorString();
    const QByteArray bytes = file.readAll();
    const auto* d = reinterpret_cast<const uchar*>(bytes.constData());
    const qint64 size = bytes.size();
    if (size < kHeaderSize) return QStringLiteral("The picture is not a Targa file");
    t.type = d[2];
    if (t.type != 1 && t.type != 2 && t.type != 3 && t.type != 9 && t.type != 10 && t.type != 11)
        return QStringLiteral("Targa pictures of type %1 cannot be written").arg(t.type);
    t.mapFirst = static_cast<int>(le16(d + 3));
    t.mapLength = d[1] == 1 ? static_cast<int>(le16(d + 5)) : 0;
    t.mapEntryBits = d[7];
    t.width = static_cast<int>(le16(d + 12));
    t.height = static_cast<int>(le16(d + 14));
    t.depth = d[16];
    t.descriptor = d[17];
    t.pixelBytes = (t.depth + 7) / 8;
    if (t.pixelBytes < 1 || t.pixelBytes > 4 || t.width == 0 || t.height == 0)
        return QStringLiteral("The Targa picture's pixel layout cannot be written");
    t.mapStart = kHeaderSize + d[0];
    const qint64 start = t.mapStart + qint64(t.mapLength) * ((t.mapEntryBits + 7) / 8);
    const qint64 total = qint64(t.width) * t.height * t.pixelBytes;
    if (start > size) return QStringLiteral("The file is incomplete");
    t.head = bytes.left(start);
    if (!t.rle()) {
        if (start + total > size) return QStringLiteral("The file is incomplete");
        t.pixels = bytes.mid(start, total);
        t.pixelEnd = start + total;
    } else {
        t.pixels.resize(total);
        auto* to = reinterpret_cast<uchar*>(t.pixels.data());
        qint64 at = start;
        for (qint64 done = 0; done < total;) {
            if (at >= size) return QStringLiteral("The file is incomplete");
            const uchar packet = d[at++];
            const qint64 count = std::min<qint64>(((packet & 0x7F) + 1) * t.pixelBytes, total - done);
            const qint64 needs = (packet & 0x80) ? t.pixelBytes : count;
            if (at + needs > size) return QStringLiteral("The file is incomplete");
            if (packet & 0x80) {
                for (qint64 k = 0; k < count; ++k) to[done + k] = d[at + k % t.pixelBytes];
            } else {
                std::memcpy(to + done, d + at, static_cast<std::size_t>(count));
            }
            at += (packet & 0x80) ? t.pixelBytes : ((packet & 0x7F) + 1) * t.pixelBytes;
            done += count;
        }
        t.pixelEnd = at;
    }
    t.tail = bytes.mid(t.pixelEnd);
    return {};
}

// Run-length packets row by row (a packet never crosses a row): runs of two or more equal pixels
// repeat, the rest is copied.
QByteArray packRows(const QByteArray& pixels, int width, int height, int pixelBytes) {
    QByteArray out;
    out.reserve(pixels.size() / 4);
    const auto* d = reinterpret_cast<const uchar*>(pixels.constData());
    const auto same = [&](qint64 a, qint64 b) { return std::memcmp(d + a * pixelBytes, d + b * pixelBytes, pixelBytes) == 0; };
    for (int row = 0; row < height; ++row) {
        const qint64 first = qint64(row) * width, end = first + width;
        for (qint64 i = first; i < end;) {
            qint64 run = 1;
            while (i + run < end && run < 128 && same(i, i + run)) ++run;
            if (run >= 2) {
                out.append(static_cast<char>(0x80 | (run - 1)));
                out.append(reinterpret_cast<const char*>(d + i * pixelBytes), pixelBytes);
                i += run;
                continue;
            }
            qint64 literal = 1;
            while (i + literal < end && literal < 128 && !(i + literal + 1 < end && same(i + literal, i + literal + 1)))
                ++literal;
            out.append(static_cast<char>(literal - 1));
            out.append(reinterpret_cast<const char*>(d + i * pixelBytes), static_cast<qsizetype>(literal * pixelBytes));
            i += literal;
        }
    }
    return out;
}

// The extension and developer areas are found by absolute offsets, which move with the pixel data.
void shiftTailOffsets(QByteArray& tail, qint64 oldEnd, qint64 newEnd) {
    if (tail.size() < kFooterSize || std::memcmp(tail.constData() + tail.size() - 18, kFooterSignature, 17) != 0)
        return;
    auto* d = reinterpret_cast<uchar*>(tail.data());
    const qint64 shift = newEnd - oldEnd;
    const auto inTail = [&](qint64 offset, qint64 length) {
        return offset >= oldEnd && offset - oldEnd + length <= tail.size();
    };
    const auto move = [&](uchar* field) {
        const quint32 v = le32(field);
        if (v != 0 && v >= oldEnd) putLe32(field, static_cast<quint32>(v + shift));
    };
    uchar* footer = d + tail.size() - kFooterSize;
    const qint64 extension = le32(footer), developer = le32(footer + 4);
    if (extension != 0 && inTail(extension, 495 + 4)) {
        uchar* ext = d + (extension - oldEnd);
        move(ext + 490); // colour correction table
        move(ext + 494); // postage stamp
        putLe32(ext + 498, 0); // the scan line table pointed into the old pixel data
    }
    if (developer != 0 && inTail(developer, 2)) {
        uchar* dir = d + (developer - oldEnd);
        const int tags = static_cast<int>(le16(dir));
        for (int k = 0; k < tags && inTail(developer + 2 + 10 * (k + 1), 0); ++k) move(dir + 2 + 10 * k + 2);
    }
    move(footer);
    move(footer + 4);
}

QString saveBytes(const QString& path, const QByteArray& bytes) {
    // QSaveFile writes beside the target and renames it over only on commit.
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        return out.errorString().isEmpty() ? QStringLiteral("The picture could not be written") : out.errorString();
    return {};
}

// A colour table entry as 0xRRGGBB.
QRgb mapEntry(const Targa& t, int index) {
    const auto* e = reinterpret_cast<const uchar*>(t.head.constData()) + t.mapStart + qint64(index) * ((t.mapEntryBits + 7) / 8);
    if (t.mapEntryBits <= 16) {
        const quint32 v = le16(e);
        const auto five = [](quint32 c) { return (c << 3) | (c >> 2); };
        return qRgb(five((v >> 10) & 31), five((v >> 5) & 31), five(v & 31));
    }
    return qRgb(e[2], e[1], e[0]);
}

// The colour table entry of the colour, or the closest one for any colour but white (a pixel that
// only has to be not white takes the nearest shade); -1 when white is not in the table.
int mapIndexFor(const Targa& t, QRgb rgb) {
    int best = -1;
    int bestDistance = 0;
    const bool white = (rgb & 0xFFFFFF) == 0xFFFFFF;
    for (int k = 0; k < t.mapLength; ++k) {
        const QRgb e = mapEntry(t, k);
        if ((e & 0xFFFFFF) == (rgb & 0xFFFFFF)) return k;
        if (white || (e & 0xFFFFFF) == 0xFFFFFF) continue;
        const int distance = std::abs(qRed(e) - qRed(rgb)) + std::abs(qGreen(e) - qGreen(rgb)) + std::abs(qBlue(e) - qBlue(rgb));
        if (best < 0 || distance < bestDistance) {
            best = k;
            bestDistance = distance;
        }
    }
    return best;
}

// Writes rgb into one pixel of file bytes; the bits the colour does not cover (alpha, the 16-bit
// attribute bit) stay. False when the colour cannot be held.
bool encodePixel(const Targa& t, uchar* p, QRgb rgb) {
    const int r = qRed(rgb), g = qGreen(rgb), b = qBlue(rgb);
    if (t.type == 1 || t.type == 9) {
        const int index = mapIndexFor(t, rgb);
        if (index < 0) return false;
        const int value = index + t.mapFirst;
        p[0] = static_cast<uchar>(value);
        if (t.pixelBytes > 1) p[1] = static_cast<uchar>(value >> 8);
        return true;
    }
    if (t.type == 3 || t.type == 11) {
        // A grey picture holds white as 255 and anything else as its grey.
        p[0] = static_cast<uchar>((rgb & 0xFFFFFF) == 0xFFFFFF ? 255 : std::min(254, qGray(rgb)));
        return true;
    }
    if (t.pixelBytes == 2) {
        const quint32 v = (le16(p) & 0x8000u) | (quint32(r >> 3) << 10) | (quint32(g >> 3) << 5) | quint32(b >> 3);
        p[0] = static_cast<uchar>(v);
        p[1] = static_cast<uchar>(v >> 8);
        return true;
    }
    if (t.pixelBytes < 3) return false;
    p[0] = static_cast<uchar>(b);
    p[1] = static_cast<uchar>(g);
    p[2] = static_cast<uchar>(r);
    return true;
}

qint64 fileIndex(const Targa& t, QPoint pixel) {
    const int row = (t.descriptor & 0x20) ? pixel.y() : t.height - 1 - pixel.y();
    const int column = (t.descriptor & 0x10) ? t.width - 1 - pixel.x() : pixel.x();
    return qint64(row) * t.width + column;
}

QString patch(Targa& t, const QImage& picture, const std::vector<QPoint>& pixels) {
    if (picture.width() != t.width || picture.height() != t.height)
        return QStringLiteral("The picture on disk is no longer the size of the one shown");
    auto* data = reinterpret_cast<uchar*>(t.pixels.data());
    for (const QPoint& p : pixels) {
        if (!picture.rect().contains(p)) continue;
        if (!encodePixel(t, data + fileIndex(t, p) * t.pixelBytes, picture.pixel(p)))
            return QStringLiteral("The picture's colour table holds no pure white");
    }
    return {};
}

quint32 be16(const uchar* p) { return (quint32(p[0]) << 8) | p[1]; }
quint32 be32(const uchar* p) { return (be16(p) << 16) | be16(p + 2); }
void putBe32(uchar* p, quint32 v) {
    for (int b = 0; b < 4; ++b) p[b] = static_cast<uchar>(v >> (8 * (3 - b)));
}

// One SGI run-length row unpacked; false when it runs past the file or the row.
bool unpackSgiRow(const QByteArray& file, qint64 at, qint64 length, int width, QByteArray& row) {
    row.clear();
    const qint64 end = at + length;
    if (at < 0 || end > file.size()) return false;
    const auto* d = reinterpret_cast<const uchar*>(file.constData());
    while (at < end) {
        const uchar packet = d[at++];
        const int count = packet & 0x7F;
        if (count == 0) break;
        if (packet & 0x80) {
            if (at + count > end) return false;
            row.append(reinterpret_cast<const char*>(d + at), count);
            at += count;
        } else {
            if (at >= end) return false;
            row.append(QByteArray(count, static_cast<char>(d[at++])));
        }
        if (row.size() > width) return false;
    }
    return row.size() == width;
}

} // namespace

QByteArray sgiRunLengthRow(const QByteArray& row) {
    QByteArray out;
    const auto runAt = [&](qsizetype i) {
        qsizetype run = 1;
        while (i + run < row.size() && run < 127 && row[i + run] == row[i]) ++run;
        return run;
    };
    for (qsizetype i = 0; i < row.size();) {
        if (const qsizetype run = runAt(i); run >= 3) {
            out.append(static_cast<char>(run)).append(row[i]);
            i += run;
            continue;
        }
        qsizetype literal = 0;
        while (i + literal < row.size() && literal < 127 && runAt(i + literal) < 3) ++literal;
        out.append(static_cast<char>(0x80 | literal)).append(row.mid(i, literal));
        i += literal;
    }
    return out.append('\0');
}

QString targaPatchRefusal(const QString& sourcePath, const QImage& picture, const std::vector<QPoint>& pixels) {
    Targa t;
    if (QString why = readTarga(sourcePath, t); !why.isEmpty()) return why;
    return patch(t, picture, pixels);
}

QString patchTarga(const QString& sourcePath, const QString& targetPath, const QImage& picture,
                   const std::vector<QPoint>& pixels) {
    Targa t;
    if (QString why = readTarga(sourcePath, t); !why.isEmpty()) return why;
    if (QString why = patch(t, picture, pixels); !why.isEmpty()) return why;
    const QByteArray body = t.rle() ? packRows(t.pixels, t.width, t.height, t.pixelBytes) : t.pixels;
    shiftTailOffsets(t.tail, t.pixelEnd, t.head.size() + body.size());
    return saveBytes(targetPath, t.head + body + t.tail);
}

QString writeTarga24(const QImage& picture, const QString& targetPath) {
    const int width = picture.width(), height = picture.height();
    if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF)
        return QStringLiteral("A Targa picture cannot have this size");
    QByteArray head(kHeaderSize, '\0');
    head[2] = 10;
    head[12] = static_cast<char>(width & 0xFF);
    head[13] = static_cast<char>(width >> 8);
    head[14] = static_cast<char>(height & 0xFF);
    head[15] = static_cast<char>(height >> 8);
    head[16] = 24;
    QByteArray pixels(qsizetype(width) * height * 3, Qt::Uninitialized);
    auto* to = reinterpret_cast<uchar*>(pixels.data());
    const QImage rgb = picture.format() == QImage::Format_RGB32 ? picture : picture.convertToFormat(QImage::Format_RGB32);
    for (int fromBottom = 0; fromBottom < height; ++fromBottom) {
        const auto* row = reinterpret_cast<const quint32*>(rgb.constScanLine(height - 1 - fromBottom));
        for (int x = 0; x < width; ++x) {
            *to++ = static_cast<uchar>(row[x]);
            *to++ = static_cast<uchar>(row[x] >> 8);
            *to++ = static_cast<uchar>(row[x] >> 16);
        }
    }
    return saveBytes(targetPath, head + packRows(pixels, width, height, 3));
}

QString targaBeside(const QString& picturePath) {
    const QFileInfo info(picturePath);
    const QString base = info.dir().filePath(info.completeBaseName());
    QString path = base + QStringLiteral(".tga");
    for (int n = 2; QFileInfo::exists(path); ++n) path = base + QStringLiteral("_%1.tga").arg(n);
    return path;
}

QString patchSgi(const QString& sourcePath, const QString& targetPath, const QImage& picture,
                 const std::vector<QPoint>& pixels) {
    QFile in(sourcePath);
    if (!in.open(QIODevice::ReadOnly)) return in.errorString();
    QByteArray file = in.readAll();
    constexpr qint64 kSgiHeader = 512;
    if (file.size() < kSgiHeader) return QStringLiteral("The picture is not an SGI file");
    auto* d = reinterpret_cast<uchar*>(file.data());
    const bool rle = d[2] == 1;
    if (d[3] != 1) return QStringLiteral("SGI pictures of two bytes per channel are not written");
    const int dimensions = static_cast<int>(be16(d + 4));
    const int width = static_cast<int>(be16(d + 6));
    const int height = dimensions >= 2 ? static_cast<int>(be16(d + 8)) : 1;
    const int channels = dimensions >= 3 ? static_cast<int>(be16(d + 10)) : 1;
    if (picture.width() != width || picture.height() != height)
        return QStringLiteral("The picture on disk is no longer the size of the one shown");
    const qint64 rows = qint64(height) * channels;
    if ((rle && kSgiHeader + 8 * rows > file.size()) || (!rle && kSgiHeader + rows * width > file.size()))
        return QStringLiteral("The file is incomplete");

    // Each touched row of each colour channel (alpha stays): rows count from the bottom.
    std::vector<std::pair<qint64, std::vector<QPoint>>> touchedRows;
    for (const QPoint& p : pixels) {
        if (!picture.rect().contains(p)) continue;
        for (int c = 0; c < std::min(channels, 3); ++c) {
            const qint64 row = qint64(c) * height + (height - 1 - p.y());
            auto it = std::find_if(touchedRows.begin(), touchedRows.end(), [row](const auto& r) { return r.first == row; });
            if (it == touchedRows.end()) it = touchedRows.insert(touchedRows.end(), {row, {}});
            it->second.push_back(p);
        }
    }
    const auto value = [&](qint64 row, QPoint p) {
        const QRgb rgb = picture.pixel(p);
        if (channels < 3) return static_cast<char>((rgb & 0xFFFFFF) == 0xFFFFFF ? 255 : std::min(254, qGray(rgb)));
        const int c = static_cast<int>(row / height);
        return static_cast<char>(c == 0 ? qRed(rgb) : c == 1 ? qGreen(rgb) : qBlue(rgb));
    };
    QByteArray appended;
    for (const auto& [row, points] : touchedRows) {
        if (!rle) {
            for (const QPoint& p : points) file[kSgiHeader + row * width + p.x()] = value(row, p);
            continue;
        }
        uchar* start = d + kSgiHeader + 4 * row;
        uchar* length = d + kSgiHeader + 4 * (rows + row);
        QByteArray unpacked;
        if (!unpackSgiRow(file, be32(start), be32(length), width, unpacked)) return QStringLiteral("The file is damaged");
        for (const QPoint& p : points) unpacked[p.x()] = value(row, p);
        const QByteArray packed = sgiRunLengthRow(unpacked);
        putBe32(start, static_cast<quint32>(file.size() + appended.size()));
        putBe32(length, static_cast<quint32>(packed.size()));
        appended += packed;
    }
    return saveBytes(targetPath, file + appended);
}

} // namespace ts
