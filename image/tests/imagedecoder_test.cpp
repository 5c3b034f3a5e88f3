#include "imagedecoder.h"
#include "tempfolder.h"
#include "testimages.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace ts;
using namespace ts::testing;

namespace {

// Every pixel different and no symmetry, so a flipped row order or swapped red and blue shows.
QImage patternPicture(int width, int height, bool withAlpha) {
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y,
                           qRgba(x * 17 % 256, y * 29 % 256, (x * 3 + y * 7) % 256,
                                 withAlpha ? (x + y) * 31 % 256 : 255));
    return image;
}

void expectSamePixels(const QImage& decoded, const QImage& expected) {
    ASSERT_EQ(decoded.size(), expected.size());
    ASSERT_EQ(decoded.format(), QImage::Format_RGB32);
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            ASSERT_EQ(decoded.pixel(x, y), expected.pixel(x, y) | 0xFF000000u) << "at " << x << "," << y;
}

struct FileKind {
    const char* name;
    bool sgi;
    bool rle;
    bool alpha;
};

class DecodeRoundTrip : public ::testing::TestWithParam<FileKind> {};

} // namespace

TEST_P(DecodeRoundTrip, GivesThePixelsTopRowFirstAndOpaque) {
    const FileKind kind = GetParam();
    TempFolder folder;
    // Wide enough for runs longer than one RLE packet, with literal stretches between them.
    QImage picture = patternPicture(300, 9, kind.alpha);
    for (int x = 20; x < 200; ++x)
        picture.setPixel(x, 4, qRgba(255, 255, 255, 0));
    const QString path = folder.file(QStringLiteral("map.") + (kind.sgi ? "rgb" : "tga"));
    ASSERT_TRUE(kind.sgi ? saveSgi(picture, path, kind.rle, kind.alpha)
                         : saveTarga(picture, path, kind.rle, kind.alpha));

    const DecodedImage decoded = decodeMapImage(path, kind.sgi);

    ASSERT_TRUE(decoded.ok()) << decoded.error.toStdString();
    EXPECT_TRUE(decoded.error.isEmpty());
    expectSamePixels(decoded.image, picture);
}

INSTANTIATE_TEST_SUITE_P(
    MapFormats, DecodeRoundTrip,
    ::testing::Values(FileKind{"Targa24", false, false, false}, FileKind{"Targa32", false, false, true},
                      FileKind{"Targa24Rle", false, true, false}, FileKind{"Targa32Rle", false, true, true},
                      FileKind{"Sgi24", true, false, false}, FileKind{"Sgi32", true, false, true},
                      FileKind{"Sgi24Rle", true, true, false}, FileKind{"Sgi32Rle", true, true, true}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(DecodeOtherDepths, PaletteAndSixteenBitPicturesComeOutAsTrueColour) {
    TempFolder folder;
    QImage picture = patternPicture(40, 30, false);
    picture.setPixel(5, 6, qRgb(255, 255, 255));

    // 8-bit palette: few colours so the palette holds them all exactly.
    QImage few(40, 30, QImage::Format_RGB32);
    few.fill(qRgb(0, 0, 0));
    few.setPixel(5, 6, qRgb(255, 255, 255));
    few.setPixel(39, 0, qRgb(255, 0, 0));
    const QString palettePath = folder.file(QStringLiteral("palette.png"));
    ASSERT_TRUE(few.convertToFormat(QImage::Format_Indexed8).save(palettePath));
    const DecodedImage palette = decodeMapImage(palettePath, false);
    ASSERT_TRUE(palette.ok()) << palette.error.toStdString();
    expectSamePixels(palette.image, few);

    // 48-bit colour: 16 bits per channel, brought down to 8.
    const QString deepPath = folder.file(QStringLiteral("deep.png"));
    ASSERT_TRUE(picture.convertToFormat(QImage::Format_RGBX64).save(deepPath));
    const DecodedImage deep = decodeMapImage(deepPath, false);
    ASSERT_TRUE(deep.ok()) << deep.error.toStdString();
    expectSamePixels(deep.image, picture);
}

TEST(DecodeFailures, AreReportedWithAReasonNeverACrash) {
    TempFolder folder;
    const QString good = folder.file(QStringLiteral("good.tga"));
    ASSERT_TRUE(saveTarga(patternPicture(64, 64, false), good, false, false));
    const QString goodRle = folder.file(QStringLiteral("good-rle.tga"));
    ASSERT_TRUE(saveTarga(patternPicture(64, 64, false), goodRle, true, false));
    const QString goodSgi = folder.file(QStringLiteral("good.rgb"));
    ASSERT_TRUE(saveSgi(patternPicture(64, 64, false), goodSgi, false, false));
    const QString goodSgiRle = folder.file(QStringLiteral("good-rle.rgb"));
    ASSERT_TRUE(saveSgi(patternPicture(64, 64, false), goodSgiRle, true, false));
    auto contentOf = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray bytes = contentOf(good);
    const QByteArray rle = contentOf(goodRle);
    const QByteArray sgi = contentOf(goodSgi);
    const QByteArray sgiRle = contentOf(goodSgiRle);

    QByteArray zeroSize = bytes.left(18);
    zeroSize[12] = zeroSize[13] = zeroSize[14] = zeroSize[15] = 0; // width and height 0

    const struct {
        const char* name;
        QByteArray content;
    } broken[] = {
        {"truncated.tga", bytes.left(bytes.size() / 2)},
        {"truncated-rle.tga", rle.left(rle.size() - 40)},
        {"truncated.rgb", sgi.left(sgi.size() - 1)},
        {"truncated-rle.rgb", sgiRle.left(sgiRle.size() - 1)},
        {"tablesonly-rle.rgb", sgiRle.left(512 + 8 * 64 * 3)},
        {"headeronly.tga", bytes.left(18)},
        {"zerosize.tga", zeroSize},
        {"empty.tga", QByteArray()},
        {"garbage.rgb", QByteArray(600, 'x')},
    };
    for (const auto& b : broken) {
        const QString path = folder.write(QString::fromLatin1(b.name), b.content.toStdString());
        const DecodedImage decoded = decodeMapImage(path, QString::fromLatin1(b.name).endsWith("rgb"));
        EXPECT_FALSE(decoded.ok()) << b.name;
        EXPECT_FALSE(decoded.error.isEmpty()) << b.name;
    }

    const DecodedImage missing = decodeMapImage(folder.file(QStringLiteral("missing.tga")), false);
    EXPECT_FALSE(missing.ok());
    EXPECT_EQ(missing.error, QStringLiteral("File not found"));
    EXPECT_FALSE(decodeMapImage(QString(), false).ok());
    EXPECT_FALSE(decodeMapImage(folder.write(QStringLiteral("map.xyz"), "abc"), false).ok());
}

TEST(SgiNameRule, IsCaseSensitiveAndNeedsSomethingBeforeTheDot) {
    EXPECT_TRUE(isSgiName(QStringLiteral("map.rgb")));
    EXPECT_TRUE(isSgiName(QStringLiteral("a.rgb.tga"))); // found anywhere in the name
    EXPECT_FALSE(isSgiName(QStringLiteral("map.RGB")));
    EXPECT_FALSE(isSgiName(QStringLiteral(".rgb")));
    EXPECT_FALSE(isSgiName(QStringLiteral(".rgb.rgb"))); // the first match decides
    EXPECT_FALSE(isSgiName(QStringLiteral("map.tga")));
}
