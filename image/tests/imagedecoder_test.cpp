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

QString save(const TempFolder& folder, const QImage& picture, bool sgi, bool rle, bool alpha) {
    const QString path =
        folder.file(QString("%1%2.%3").arg(alpha ? 32 : 24).arg(rle ? "rle" : "").arg(sgi ? "rgb" : "tga"));
    EXPECT_TRUE(sgi ? saveSgi(picture, path, rle, alpha) : saveTarga(picture, path, rle, alpha));
    return path;
}

} // namespace

TEST(Decode, TargaAndSgiGiveThePixelsTopRowFirstAndOpaque) {
    TempFolder folder;
    // Wide enough for runs longer than one RLE packet, with literal stretches between them.
    for (const bool sgi : {false, true})
        for (const bool rle : {false, true})
            for (const bool alpha : {false, true}) {
                SCOPED_TRACE(::testing::Message() << "sgi " << sgi << " rle " << rle << " alpha " << alpha);
                QImage picture = patternPicture(300, 9, alpha);
                for (int x = 20; x < 200; ++x)
                    picture.setPixel(x, 4, qRgba(255, 255, 255, 0));
                const DecodedImage decoded = decodeMapImage(save(folder, picture, sgi, rle, alpha), sgi);
                ASSERT_TRUE(decoded.ok()) << decoded.error.toStdString();
                ASSERT_EQ(decoded.image.size(), picture.size());
                ASSERT_EQ(decoded.image.format(), QImage::Format_RGB32);
                for (int y = 0; y < picture.height(); ++y)
                    for (int x = 0; x < picture.width(); ++x)
                        ASSERT_EQ(decoded.image.pixel(x, y), picture.pixel(x, y) | 0xFF000000u)
                            << x << "," << y;
            }
}

TEST(Decode, BrokenFilesAreReportedWithAReasonNeverACrash) {
    TempFolder folder;
    const auto bytesOf = [&](bool sgi, bool rle) {
        QFile file(save(folder, patternPicture(64, 64, false), sgi, rle, false));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray tga = bytesOf(false, false), tgaRle = bytesOf(false, true);
    const QByteArray sgi = bytesOf(true, false), sgiRle = bytesOf(true, true);
    QByteArray zeroSize = tga.left(18);
    zeroSize[12] = zeroSize[13] = zeroSize[14] = zeroSize[15] = 0; // width and height 0

    const std::pair<const char*, QByteArray> broken[] = {
        {"truncated.tga", tga.left(tga.size() / 2)},
        {"truncated-rle.tga", tgaRle.left(tgaRle.size() - 40)},
        {"truncated.rgb", sgi.left(sgi.size() - 1)},
        {"truncated-rle.rgb", sgiRle.left(sgiRle.size() - 1)},
        {"tablesonly.rgb", sgiRle.left(512 + 8 * 64 * 3)},
        {"headeronly.tga", tga.left(18)},
        {"zerosize.tga", zeroSize},
        {"empty.tga", QByteArray()},
        {"garbage.rgb", QByteArray(600, 'x')},
        {"map.xyz", QByteArray("abc")},
    };
    for (const auto& [name, content] : broken) {
        const QString path = folder.write(QString::fromLatin1(name), content.toStdString());
        const DecodedImage decoded = decodeMapImage(path, path.endsWith("rgb"));
        EXPECT_FALSE(decoded.ok()) << name;
        EXPECT_FALSE(decoded.error.isEmpty()) << name;
    }
    EXPECT_EQ(decodeMapImage(folder.file(QStringLiteral("missing.tga")), false).error,
              QStringLiteral("File not found"));
}
