// Map pictures in the depths map makers save by mistake: each either decodes with its province
// pixels still pure white, or fails with a reason; nothing else may turn pure white.
#include "imagedecoder.h"
#include "tempfolder.h"

#include <QColor>
#include <QImage>
#include <gtest/gtest.h>
#include <string>
#include <utility>

using namespace ts;

namespace {

constexpr int kWidth = 6, kHeight = 4;
constexpr int kWhiteX = 4, kWhiteY = 1; // counted from the top

// A Targa header; the pixel rows follow bottom row first.
std::string targaHeader(int type, int bits, int paletteEntries = 0, int paletteBits = 0) {
    std::string h(18, '\0');
    h[1] = paletteEntries > 0 ? 1 : 0;
    h[2] = static_cast<char>(type);
    h[5] = static_cast<char>(paletteEntries & 0xFF);
    h[6] = static_cast<char>(paletteEntries >> 8);
    h[7] = static_cast<char>(paletteBits);
    h[12] = kWidth;
    h[14] = kHeight;
    h[16] = static_cast<char>(bits);
    return h;
}

void expectOnlyTheProvincePixelIsWhite(const DecodedImage& decoded) {
    ASSERT_TRUE(decoded.ok()) << decoded.error.toStdString();
    ASSERT_EQ(decoded.image.size(), QSize(kWidth, kHeight));
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            EXPECT_EQ(decoded.image.pixel(x, y) == qRgb(255, 255, 255), x == kWhiteX && y == kWhiteY)
                << x << "," << y << " is " << std::hex << decoded.image.pixel(x, y);
}

TEST(HostilePictures, SixteenBitAndPaletteTargasKeepTheProvincePixelWhite) {
    TempFolder folder;

    // 16 bit: x1r5g5b5, little-endian; 0x7FFF is white, 0x7BDE the nearest grey below it.
    std::string sixteen = targaHeader(2, 16);
    for (int y = kHeight - 1; y >= 0; --y)
        for (int x = 0; x < kWidth; ++x)
            sixteen +=
                (x == kWhiteX && y == kWhiteY) ? std::string("\xFF\x7F", 2) : std::string("\xDE\x7B", 2);
    expectOnlyTheProvincePixelIsWhite(
        decodeMapImage(folder.write(QStringLiteral("sixteen.tga"), sixteen), false));

    // 8-bit palette of 24-bit entries: green land and one white entry.
    std::string palette = targaHeader(1, 8, 2, 24) + std::string("\x3C\x6E\x28\xFF\xFF\xFF", 6);
    for (int y = kHeight - 1; y >= 0; --y)
        for (int x = 0; x < kWidth; ++x)
            palette += (x == kWhiteX && y == kWhiteY) ? '\x01' : '\x00';
    expectOnlyTheProvincePixelIsWhite(
        decodeMapImage(folder.write(QStringLiteral("palette.tga"), palette), false));

    // The same palette picture cut short inside its pixels.
    const DecodedImage cut =
        decodeMapImage(folder.write(QStringLiteral("cut.tga"), palette.substr(0, palette.size() - 3)), false);
    EXPECT_FALSE(cut.ok());
    EXPECT_FALSE(cut.error.isEmpty());
}

TEST(HostilePictures, SixteenBitsPerChannelKeepTheirBrightnessAndOnlyFullWhiteStaysWhite) {
    // Dark 16-bit grey and 48-bit colour pictures, each with one full-white pixel and one just below
    // it: stretching the range or rounding up would make the second one a province too.
    TempFolder folder;
    QImage grey(kWidth, kHeight, QImage::Format_Grayscale16);
    for (int y = 0; y < kHeight; ++y) {
        auto* row = reinterpret_cast<quint16*>(grey.scanLine(y));
        for (int x = 0; x < kWidth; ++x)
            row[x] = 9000;
    }
    reinterpret_cast<quint16*>(grey.scanLine(kWhiteY))[kWhiteX] = 65535;
    reinterpret_cast<quint16*>(grey.scanLine(0))[0] = 65000;

    QImage deep(kWidth, kHeight, QImage::Format_RGBX64);
    deep.fill(QColor::fromRgba64(9000, 9000, 9000));
    deep.setPixelColor(kWhiteX, kWhiteY, QColor::fromRgba64(65535, 65535, 65535));
    deep.setPixelColor(0, 0, QColor::fromRgba64(65000, 65535, 65535));

    for (const auto& [name, picture] : {std::pair{"grey16.png", grey}, std::pair{"rgb48.png", deep}}) {
        SCOPED_TRACE(name);
        const QString path = folder.file(QLatin1String(name));
        ASSERT_TRUE(picture.save(path));
        const DecodedImage decoded = decodeMapImage(path, false);
        expectOnlyTheProvincePixelIsWhite(decoded);
        if (decoded.ok()) {
            EXPECT_NEAR(qRed(decoded.image.pixel(1, 1)), 9000 * 255 / 65535, 1); // not stretched
        }
    }
}

TEST(HostilePictures, ADamagedRunLengthTargaIsUnpackedBeforeFreeImageSeesIt) {
    // Found by fuzzing: 8x255 pixels of 32 bits in packets that overrun the rows and a descriptor
    // claiming 9 alpha bits. FreeImage's run-length reader read past its buffer on it (seen under
    // valgrind, and as a corrupted heap under the fuzzer); unpacked first, it is a plain picture.
    const std::string damaged(
        "\x00\x00\x0A\x00\x00\x00\x00\x00\x00\xFF\xFF\xFE\x08\x00\xFF\x00\x20\x59\xFF\xFF\xFF\xFF\xFF\xFF\xFF"
        "\xFF\xFF\xFF\xFF\xFF\x94\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x2C\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x9C"
        "\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x7A\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x7A"
        "\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x00\x3C\x6E\x28\xFF",
        99);
    TempFolder folder;
    const DecodedImage decoded = decodeMapImage(folder.write(QStringLiteral("damaged.tga"), damaged), false);
    ASSERT_TRUE(decoded.ok()) << decoded.error.toStdString();
    EXPECT_EQ(decoded.image.size(), QSize(8, 255));
}

TEST(HostilePictures, AHeaderPromisingPixelsOfNoBytesFails) {
    // Zero bits per pixel: the size check must not take "no bytes per pixel" as "nothing missing".
    TempFolder folder;
    std::string header = targaHeader(2, 0);
    header[12] = header[13] = header[14] = header[15] = '\xFF';
    const DecodedImage decoded = decodeMapImage(folder.write(QStringLiteral("nobits.tga"), header), false);
    EXPECT_FALSE(decoded.ok());
    EXPECT_FALSE(decoded.error.isEmpty());
}

} // namespace
