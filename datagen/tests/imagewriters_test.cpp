#include "imagewriters.h"

#include "tempfolder.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <QFile>

namespace {

// Long runs (over the 128- and 127-pixel packet limits), short runs and noise in one picture, with
// a different colour in each corner so that a flipped or mirrored read shows.
QImage testPicture(bool alpha) {
    QImage image(300, 7, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y,
                           x < 200   ? qRgba(10, 20 * y, 30, alpha ? 200 : 255)
                           : x < 240 ? qRgba((x / 2) % 256, 5, 7 * y, alpha ? (x * 3) % 256 : 255)
                                     : qRgba((x * 37 + y * 11) % 256, (x * 13) % 256, (y * 91) % 256, 255));
    image.setPixel(0, 0, qRgba(255, 255, 255, 255));
    image.setPixel(299, 0, qRgba(255, 0, 0, 255));
    image.setPixel(0, 6, qRgba(0, 0, 255, 255));
    return image;
}

TEST(ImageWriters, TargaAndSgiReadBackRightSideUpWithAndWithoutRleAndAlpha) {
    FreeImage_Initialise(FALSE);
    const ts::TempFolder folder;
    for (const bool sgi : {false, true})
        for (const bool rle : {false, true})
            for (const bool alpha : {false, true}) {
                SCOPED_TRACE(::testing::Message()
                             << (sgi ? "sgi" : "targa") << " rle " << rle << " alpha " << alpha);
                const QImage original = testPicture(alpha);
                const QString path = folder.file(sgi ? QStringLiteral("p.rgb") : QStringLiteral("p.tga"));
                ASSERT_TRUE(sgi ? ts::writeSgi(original, path, rle, alpha)
                                : ts::writeTarga(original, path, rle, alpha));
                // FreeImage is the editor's decoder; it counts rows from the bottom.
                FIBITMAP* bitmap =
                    FreeImage_Load(sgi ? FIF_SGI : FIF_TARGA, QFile::encodeName(path).constData(), 0);
                ASSERT_NE(bitmap, nullptr);
                ASSERT_EQ(FreeImage_GetWidth(bitmap), 300u);
                ASSERT_EQ(FreeImage_GetHeight(bitmap), 7u);
                int wrong = 0;
                for (int y = 0; y < original.height(); ++y)
                    for (int x = 0; x < original.width(); ++x) {
                        RGBQUAD c;
                        FreeImage_GetPixelColor(bitmap, unsigned(x), unsigned(original.height() - 1 - y), &c);
                        const QRgb expected = original.pixel(x, y);
                        wrong +=
                            qRgba(c.rgbRed, c.rgbGreen, c.rgbBlue, alpha ? c.rgbReserved : 255) != expected;
                    }
                EXPECT_EQ(wrong, 0);
                FreeImage_Unload(bitmap);
            }
}

} // namespace
