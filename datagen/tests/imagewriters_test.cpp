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
        for (int x = 0; x < image.width(); ++x) {
            QRgb value;
            if (x < 200)
                value = qRgba(10, 20 * y, 30, alpha ? 200 : 255);
            else if (x < 240)
                value = qRgba((x / 2) % 256, 5, 7 * y, alpha ? (x * 3) % 256 : 255);
            else
                value = qRgba((x * 37 + y * 11) % 256, (x * 13) % 256, (y * 91) % 256, 255);
            image.setPixel(x, y, value);
        }
    image.setPixel(0, 0, qRgba(255, 255, 255, 255));
    image.setPixel(299, 0, qRgba(255, 0, 0, 255));
    image.setPixel(0, 6, qRgba(0, 0, 255, 255));
    return image;
}

// Reads a picture with FreeImage (the editor's decoder) and compares it pixel by pixel.
void expectReadsBack(const QImage& original, const QString& path, FREE_IMAGE_FORMAT format, bool alpha) {
    FreeImage_Initialise(FALSE);
    FIBITMAP* bitmap = FreeImage_Load(format, QFile::encodeName(path).constData(), 0);
    ASSERT_NE(bitmap, nullptr) << path.toStdString();
    ASSERT_EQ(static_cast<int>(FreeImage_GetWidth(bitmap)), original.width());
    ASSERT_EQ(static_cast<int>(FreeImage_GetHeight(bitmap)), original.height());
    int wrong = 0;
    for (int y = 0; y < original.height(); ++y)
        for (int x = 0; x < original.width(); ++x) {
            RGBQUAD colour;
            // FreeImage counts rows from the bottom.
            ASSERT_TRUE(FreeImage_GetPixelColor(bitmap, static_cast<unsigned>(x),
                                                static_cast<unsigned>(original.height() - 1 - y), &colour));
            const QRgb expected = original.pixel(x, y);
            bool same = colour.rgbRed == qRed(expected) && colour.rgbGreen == qGreen(expected) &&
                        colour.rgbBlue == qBlue(expected);
            if (alpha) same = same && colour.rgbReserved == qAlpha(expected);
            if (!same && ++wrong < 5)
                ADD_FAILURE() << "pixel " << x << "," << y << " of " << path.toStdString();
        }
    FreeImage_Unload(bitmap);
}

struct Variant {
    bool rle;
    bool alpha;
};

class ImageWriters : public ::testing::TestWithParam<Variant> {};

TEST_P(ImageWriters, TargaReadsBackRightSideUp) {
    const ts::TempFolder folder;
    const QImage picture = testPicture(GetParam().alpha);
    const QString path = folder.file(QStringLiteral("picture.tga"));
    ASSERT_TRUE(ts::writeTarga(picture, path, GetParam().rle, GetParam().alpha));
    const std::string bytes = folder.read(QStringLiteral("picture.tga"));
    EXPECT_EQ(bytes[2], GetParam().rle ? 10 : 2);
    EXPECT_EQ(bytes[16], GetParam().alpha ? 32 : 24);
    EXPECT_EQ(bytes[17] & 0x20, 0) << "bottom-left origin";
    expectReadsBack(picture, path, FIF_TARGA, GetParam().alpha);
}

TEST_P(ImageWriters, SgiReadsBackRightSideUp) {
    const ts::TempFolder folder;
    const QImage picture = testPicture(GetParam().alpha);
    const QString path = folder.file(QStringLiteral("picture.rgb"));
    ASSERT_TRUE(ts::writeSgi(picture, path, GetParam().rle, GetParam().alpha));
    const std::string bytes = folder.read(QStringLiteral("picture.rgb"));
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0x01);
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xDA); // 474, big-endian
    EXPECT_EQ(bytes[2], GetParam().rle ? 1 : 0);
    expectReadsBack(picture, path, FIF_SGI, GetParam().alpha);
}

INSTANTIATE_TEST_SUITE_P(AllVariants, ImageWriters,
                         ::testing::Values(Variant{false, false}, Variant{true, false}, Variant{false, true},
                                           Variant{true, true}));

TEST(ImageWritersFailure, RefuseNullPictureAndUnwritablePath) {
    const ts::TempFolder folder;
    EXPECT_FALSE(ts::writeTarga(QImage(), folder.file(QStringLiteral("a.tga")), true, false));
    EXPECT_FALSE(ts::writeSgi(QImage(), folder.file(QStringLiteral("a.rgb")), true, false));
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::green);
    EXPECT_FALSE(ts::writeTarga(picture, folder.file(QStringLiteral("missing/a.tga")), false, false));
    EXPECT_FALSE(ts::writeSgi(picture, folder.file(QStringLiteral("missing/a.rgb")), false, false));
}

} // namespace
