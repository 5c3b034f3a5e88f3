#include "imagedecoder.h"

#include "freeimagelibrary.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>

namespace ts {

namespace {

// FreeImage reports what went wrong only through a global callback; the last message of a load
// becomes the description shown to the user.
QString& lastFreeImageMessage() {
    static QString message;
    return message;
}

void rememberFreeImageMessage(FREE_IMAGE_FORMAT, const char* message) {
    lastFreeImageMessage() = QString::fromLocal8Bit(message ? message : "");
}

// False, with the library's error, when FreeImage could not be opened.
bool initialiseFreeImage() {
    static std::once_flag once;
    const FreeImageLibrary& fi = freeImage();
    if (!fi.ok()) return false;
    std::call_once(once, [&fi] {
        fi.Initialise(FALSE);
        fi.SetOutputMessage(rememberFreeImageMessage);
    });
    return true;
}

struct BitmapDeleter {
    void operator()(FIBITMAP* dib) const {
        if (dib) freeImage().Unload(dib);
    }
};
using Bitmap = std::unique_ptr<FIBITMAP, BitmapDeleter>;

// 16-bit-per-channel and floating-point pictures first go down to 8 bits per channel, which
// FreeImage_ConvertTo32Bits alone does not do for every type.
Bitmap toThirtyTwoBits(FIBITMAP* dib) {
    if (freeImage().GetImageType(dib) == FIT_BITMAP && freeImage().GetBPP(dib) == 32) {
        return Bitmap(freeImage().Clone(dib));
    }
    Bitmap converted(freeImage().ConvertTo32Bits(dib));
    if (converted) return converted;
    Bitmap standard(freeImage().ConvertToStandardType(dib, TRUE));
    if (!standard) return nullptr;
    return Bitmap(freeImage().ConvertTo32Bits(standard.get()));
}

DecodedImage failure(const QString& error) {
    return {QImage(), error};
}

quint32 littleEndian16(const uchar* p) {
    return p[0] | (quint32(p[1]) << 8);
}
quint32 bigEndian16(const uchar* p) {
    return (quint32(p[0]) << 8) | p[1];
}
quint32 bigEndian32(const uchar* p) {
    return (bigEndian16(p) << 16) | bigEndian16(p + 2);
}

// FreeImage decodes a cut-off Targa without complaint, filling the missing rows with whatever was
// in memory; a cut-off map would silently lose provinces. So the size the header promises is
// checked first, and for run-length data every packet is walked without decoding it.
bool targaIsComplete(const uchar* data, qint64 size) {
    constexpr qint64 headerSize = 18;
    if (size < headerSize) return false;
    const qint64 idLength = data[0];
    const bool hasColourMap = data[1] == 1;
    const int type = data[2];
    const qint64 mapEntries = littleEndian16(data + 5);
    const qint64 mapEntryBytes = (data[7] + 7) / 8;
    const qint64 width = littleEndian16(data + 12);
    const qint64 height = littleEndian16(data + 14);
    const qint64 pixelBytes = (data[16] + 7) / 8;

    qint64 at = headerSize + idLength + (hasColourMap ? mapEntries * mapEntryBytes : 0);
    const qint64 pixels = width * height;
    if (type == 9 || type == 10 || type == 11) {
        for (qint64 done = 0; done < pixels;) {
            if (at >= size) return false;
            const uchar packet = data[at++];
            const qint64 count = (packet & 0x7F) + 1;
            at += (packet & 0x80) ? pixelBytes : count * pixelBytes;
            done += count;
        }
        return at <= size;
    }
    return at + pixels * pixelBytes <= size;
}

// FreeImage's own run-length reader for Targa reads past its buffer on some damaged files, so the
// packets are unpacked here into the uncompressed form of the same type, which it reads safely.
// Only called on data targaIsComplete accepted; empty when a pixel has no bytes.
QByteArray unpackTarga(const uchar* data, qint64 size) {
    constexpr qint64 headerSize = 18;
    const qint64 mapEntries = data[1] == 1 ? littleEndian16(data + 5) : 0;
    const qint64 start = headerSize + data[0] + mapEntries * ((data[7] + 7) / 8);
    const qint64 pixels = qint64(littleEndian16(data + 12)) * littleEndian16(data + 14);
    const qint64 pixelBytes = (data[16] + 7) / 8;
    if (pixelBytes == 0) return {};
    // Written in place into a buffer of the final size: appending pixel by pixel cost more than
    // FreeImage's whole decode.
    QByteArray out(static_cast<qsizetype>(start + pixels * pixelBytes), Qt::Uninitialized);
    std::memcpy(out.data(), data, static_cast<std::size_t>(start));
    out[2] = static_cast<char>(data[2] - 8); // 9, 10, 11 -> 1, 2, 3
    auto* to = reinterpret_cast<uchar*>(out.data()) + start;
    for (qint64 at = start, done = 0; done < pixels && at < size;) {
        const uchar packet = data[at++];
        const qint64 count = std::min<qint64>((packet & 0x7F) + 1, pixels - done);
        if (packet & 0x80) {
            for (qint64 k = 0; k < count; ++k)
                for (qint64 b = 0; b < pixelBytes; ++b)
                    *to++ = data[at + b];
            at += pixelBytes;
        } else {
            std::memcpy(to, data + at, static_cast<std::size_t>(count * pixelBytes));
            to += count * pixelBytes;
            at += ((packet & 0x7F) + 1) * pixelBytes;
        }
        done += count;
    }
    out.truncate(static_cast<qsizetype>(to - reinterpret_cast<uchar*>(out.data())));
    return out;
}

// The usual map picture, a Targa of 24 or 32 bits without colour map, plain or run-length and
// stored bottom row first, is decoded straight into the image the view shows: going through
// FreeImage would hold the picture three times (the file unpacked, FreeImage's bitmap, the image)
// just when it is biggest. Only called on data targaIsComplete accepted; null for other kinds.
QImage decodeTrueColourTarga(const uchar* data, qint64 size) {
    const int type = data[2], bits = data[16];
    if (data[1] != 0 || (type != 2 && type != 10) || (bits != 24 && bits != 32) || (data[17] & 0x30) != 0)
        return {};
    const int width = static_cast<int>(littleEndian16(data + 12));
    const int height = static_cast<int>(littleEndian16(data + 14));
    if (width == 0 || height == 0) return {};
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) return {};
    const qint64 pixelBytes = bits / 8;
    const uchar* at = data + 18 + data[0];
    const uchar* const end = data + size;
    auto pixel = [](const uchar* p) {
        return 0xFF000000u | (quint32(p[2]) << 16) | (quint32(p[1]) << 8) | p[0];
    };
    // A run may go on into the next row; only the packet's remainder is carried over.
    qint64 left = type == 2 ? qint64(width) * height : 0;
    bool repeat = false;
    quint32 value = 0;
    for (int y = height - 1; y >= 0; --y) {
        auto* row = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < width;) {
            if (left == 0) {
                if (at >= end) return {};
                repeat = (*at & 0x80) != 0;
                left = (*at++ & 0x7F) + 1;
                if (repeat) {
                    if (end - at < pixelBytes) return {};
                    value = pixel(at);
                    at += pixelBytes;
                }
            }
            const int count = static_cast<int>(std::min<qint64>(left, width - x));
            if (repeat) {
                std::fill(row + x, row + x + count, value);
            } else {
                if (end - at < count * pixelBytes) return {};
                for (int k = 0; k < count; ++k, at += pixelBytes)
                    row[x + k] = pixel(at);
            }
            x += count;
            left -= count;
        }
    }
    return image;
}

// The same for SGI: verbatim channels must all be there, and every packed row must lie inside the file.
bool sgiIsComplete(const uchar* data, qint64 size) {
    constexpr qint64 headerSize = 512;
    if (size < headerSize) return false;
    const bool rle = data[2] == 1;
    const qint64 channelBytes = data[3] == 2 ? 2 : 1;
    const int dimensions = static_cast<int>(bigEndian16(data + 4));
    const qint64 width = bigEndian16(data + 6);
    const qint64 height = dimensions >= 2 ? bigEndian16(data + 8) : 1;
    const qint64 channels = dimensions >= 3 ? bigEndian16(data + 10) : 1;
    const qint64 rows = height * channels;
    if (!rle) return headerSize + rows * width * channelBytes <= size;

    const qint64 tables = headerSize + 2 * 4 * rows;
    if (tables > size) return false;
    for (qint64 r = 0; r < rows; ++r) {
        const qint64 start = bigEndian32(data + headerSize + 4 * r);
        const qint64 length = bigEndian32(data + headerSize + 4 * (rows + r));
        if (start + length > size) return false;
    }
    return true;
}

} // namespace

bool isSgiName(const QString& imageFileName) {
    return imageFileName.indexOf(QLatin1String(".rgb"), 0, Qt::CaseSensitive) > 0;
}

namespace {

// A decoded picture as FreeImage holds it (rows bottom-up), or why there is none.
struct DecodedBitmap {
    Bitmap bitmap;
    QString error;
};

DecodedBitmap bitmapFailure(const QString& error) {
    return {nullptr, error};
}

DecodedBitmap decodeBitmap(const QString& path, bool sgi) {
    if (!initialiseFreeImage()) return bitmapFailure(freeImage().error);
    lastFreeImageMessage().clear();

    if (path.isEmpty() || !QFileInfo(path).isFile()) return bitmapFailure(QStringLiteral("File not found"));
    const FREE_IMAGE_FORMAT format =
        sgi ? FIF_SGI : freeImage().GetFIFFromFilename(QFile::encodeName(path).constData());
    if (format == FIF_UNKNOWN || !freeImage().FIFSupportsReading(format)) {
        return bitmapFailure(QStringLiteral("Unknown picture format"));
    }

    // The file is read once into memory: the completeness check and the decoder share the bytes.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return bitmapFailure(file.errorString());
    qint64 size = file.size();
    uchar* bytes = size > 0 ? file.map(0, size) : nullptr;
    QByteArray copy;
    if (!bytes && size > 0) {
        copy = file.readAll();
        bytes = reinterpret_cast<uchar*>(copy.data());
    }
    if ((format == FIF_TARGA && !targaIsComplete(bytes, size)) ||
        (format == FIF_SGI && !sgiIsComplete(bytes, size))) {
        return bitmapFailure(QStringLiteral("The file is incomplete"));
    }

    QByteArray unpacked;
    if (format == FIF_TARGA && (bytes[2] == 9 || bytes[2] == 10 || bytes[2] == 11)) {
        unpacked = unpackTarga(bytes, size);
        if (unpacked.isEmpty()) return bitmapFailure(QStringLiteral("The picture could not be decoded"));
        bytes = reinterpret_cast<uchar*>(unpacked.data());
        size = unpacked.size();
    }

    // FreeImage only reads from the memory stream, though its signature asks for writable bytes.
    FIMEMORY* stream = freeImage().OpenMemory(bytes, static_cast<DWORD>(size));
    Bitmap decoded(stream ? freeImage().LoadFromMemory(format, stream, 0) : nullptr);
    if (stream) freeImage().CloseMemory(stream);
    file.close();
    if (!decoded) {
        const QString& why = lastFreeImageMessage();
        return bitmapFailure(why.isEmpty() ? QStringLiteral("The picture could not be decoded") : why);
    }
    return {std::move(decoded), QString()};
}

} // namespace

DecodedImage decodeMapImage(const QString& path, bool sgi) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (!sgi && (suffix == QLatin1String("tga") || suffix == QLatin1String("targa"))) {
        // FreeImage is not even opened for the usual map picture; any other kind of Targa, or a
        // damaged one, goes on below to be decoded or reported as before.
        QFile file(path);
        const qint64 size = file.open(QIODevice::ReadOnly) ? file.size() : 0;
        const uchar* data = size > 18 ? file.map(0, size) : nullptr;
        if (data && targaIsComplete(data, size)) {
            QImage image = decodeTrueColourTarga(data, size);
            if (!image.isNull()) return {std::move(image), QString()};
        }
    }
    DecodedBitmap result = decodeBitmap(path, sgi);
    if (!result.bitmap) return failure(result.error);
    Bitmap decoded = std::move(result.bitmap);

    const int width = static_cast<int>(freeImage().GetWidth(decoded.get()));
    const int height = static_cast<int>(freeImage().GetHeight(decoded.get()));
    if (width <= 0 || height <= 0) return failure(QStringLiteral("The picture has no pixels"));

    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) return failure(QStringLiteral("Not enough memory for the picture"));

    // FreeImage keeps rows bottom-up in B, G, R(, A) byte order; a 32-bit pixel is then exactly
    // QImage's 0xAARRGGBB word on a little-endian machine, so only the row order and alpha need fixing.
    static_assert(FI_RGBA_RED == 2 && FI_RGBA_GREEN == 1 && FI_RGBA_BLUE == 0,
                  "FreeImage byte order differs from QImage");
    if (freeImage().GetImageType(decoded.get()) == FIT_BITMAP && freeImage().GetBPP(decoded.get()) == 24) {
        // The usual map: read the three bytes straight, saving a 32-bit copy of a large picture.
        for (int y = 0; y < height; ++y) {
            const BYTE* from = freeImage().GetScanLine(decoded.get(), height - 1 - y);
            auto* to = reinterpret_cast<quint32*>(image.scanLine(y));
            for (int x = 0; x < width; ++x, from += 3)
                to[x] = 0xFF000000u | (quint32(from[2]) << 16) | (quint32(from[1]) << 8) | from[0];
        }
        return {std::move(image), QString()};
    }

    Bitmap rgba = toThirtyTwoBits(decoded.get());
    if (!rgba) return failure(QStringLiteral("Unsupported pixel format"));
    decoded.reset();
    for (int y = 0; y < height; ++y) {
        const auto* from =
            reinterpret_cast<const quint32*>(freeImage().GetScanLine(rgba.get(), height - 1 - y));
        auto* to = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            to[x] = from[x] | 0xFF000000u;
    }
    return {std::move(image), QString()};
}

namespace {

// The usual map picture, a run-length Targa of 24 or 32 bits stored bottom row first, is searched
// packet by packet: a run of one colour is looked at once, and nothing is copied. False when the
// file is of another kind (or damaged), which then goes the long way through FreeImage.
bool locateInRunLengthTarga(const QString& path, int limit, LocatedPixels& located) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const qint64 size = file.size();
    const uchar* data = size > 18 ? file.map(0, size) : nullptr;
    if (!data || data[2] != 10 || data[1] != 0 || (data[16] != 24 && data[16] != 32) || (data[17] & 0x30) != 0)
        return false;
    if (!targaIsComplete(data, size)) return false;
    const qint64 width = littleEndian16(data + 12), height = littleEndian16(data + 14);
    const qint64 pixelBytes = data[16] / 8;
    if (width == 0 || height == 0) return false;
    auto white = [](const uchar* p) { return p[0] == 255 && p[1] == 255 && p[2] == 255; };
    auto found = [&](qint64 index) {
        if (static_cast<int>(located.pixels.size()) == limit) {
            located.tooMany = true;
            return false;
        }
        located.pixels.emplace_back(static_cast<int>(index % width), static_cast<int>(height - index / width));
        return true;
    };
    const qint64 pixels = width * height;
    for (qint64 at = 18 + data[0], done = 0; done < pixels;) {
        const uchar packet = data[at++];
        const qint64 count = std::min<qint64>((packet & 0x7F) + 1, pixels - done);
        if (packet & 0x80) {
            if (white(data + at))
                for (qint64 k = 0; k < count; ++k)
                    if (!found(done + k)) return true;
            at += pixelBytes;
        } else {
            for (qint64 k = 0; k < count; ++k)
                if (white(data + at + k * pixelBytes) && !found(done + k)) return true;
            at += ((packet & 0x7F) + 1) * pixelBytes;
        }
        done += count;
    }
    return true;
}

} // namespace

LocatedPixels locatePictureFile(const QString& path, bool sgi, int limit) {
    LocatedPixels located;
    if (!initialiseFreeImage()) {
        located.error = freeImage().error;
        return located;
    }
    if (!sgi && freeImage().GetFIFFromFilename(QFile::encodeName(path).constData()) == FIF_TARGA &&
        locateInRunLengthTarga(path, limit, located))
        return located;
    located = LocatedPixels();
    DecodedBitmap result = decodeBitmap(path, sgi);
    if (!result.bitmap) {
        located.error = result.error;
        return located;
    }
    Bitmap decoded = std::move(result.bitmap);
    const int width = static_cast<int>(freeImage().GetWidth(decoded.get()));
    const int height = static_cast<int>(freeImage().GetHeight(decoded.get()));
    if (width <= 0 || height <= 0) {
        located.error = QStringLiteral("The picture has no pixels");
        return located;
    }
    const bool threeBytes = freeImage().GetImageType(decoded.get()) == FIT_BITMAP && freeImage().GetBPP(decoded.get()) == 24;
    if (!threeBytes) {
        decoded = toThirtyTwoBits(decoded.get());
        if (!decoded) {
            located.error = QStringLiteral("Unsupported pixel format");
            return located;
        }
    }
    // FreeImage's first row is the bottom one, which is where the numbering starts.
    for (int fromBottom = 0; fromBottom < height; ++fromBottom) {
        const BYTE* row = freeImage().GetScanLine(decoded.get(), fromBottom);
        const int step = threeBytes ? 3 : 4;
        for (int x = 0; x < width; ++x, row += step) {
            if (row[0] != 255 || row[1] != 255 || row[2] != 255) continue;
            if (static_cast<int>(located.pixels.size()) == limit) {
                located.tooMany = true;
                return located;
            }
            located.pixels.emplace_back(x, height - fromBottom);
        }
    }
    return located;
}

} // namespace ts
