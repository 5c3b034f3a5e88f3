#include "fakeuserinterface.h"
#include "imagedecoder.h"
#include "mapdocument.h"
#include "mapimage.h"
#include "picturesave.h"
#include "picturewriter.h"
#include "tempfolder.h"
#include "testimages.h"

#include <gtest/gtest.h>
#include <QFile>
#include <map>

using namespace ts;
using namespace ts::testing;

namespace {

constexpr QRgb kWhite = 0xFFFFFFFFu;

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (const int v : values) out += static_cast<char>(v);
    return out;
}

// A small picture of several colours with two provinces, in shades every variant can hold.
QImage samplePicture(bool grey) {
    QImage image(23, 9, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int v = ((x / 4 + y / 3) % 4) * 64;
            image.setPixel(x, y, grey ? qRgb(v, v, v) : qRgb(v, 248 - v, (x * 8) % 256));
        }
    image.setPixel(3, 2, kWhite);
    image.setPixel(17, 6, kWhite);
    return image;
}

// A Targa of any kind the format knows, written byte by byte. Run-length kinds hold one literal
// packet per pixel, the simplest valid packing; a colour table lists the picture's colours.
QByteArray makeTarga(const QImage& image, int type, int depth, int descriptor) {
    const bool mapped = type == 1 || type == 9;
    const int width = image.width(), height = image.height();
    std::map<QRgb, int> palette;
    if (mapped)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) palette.emplace(image.pixel(x, y) | 0xFF000000u, 0);
    int index = 0;
    for (auto& [colour, at] : palette) at = index++;
    QByteArray out(18, '\0');
    out[0] = 3;
    out[1] = mapped ? 1 : 0;
    out[2] = static_cast<char>(type);
    out[5] = static_cast<char>(palette.size());
    out[7] = mapped ? 24 : 0;
    out[12] = static_cast<char>(width);
    out[14] = static_cast<char>(height);
    out[16] = static_cast<char>(depth);
    out[17] = static_cast<char>(descriptor);
    out += "abc";
    for (const auto& [colour, at] : palette)
        out += bytes({qBlue(colour), qGreen(colour), qRed(colour)});
    for (int row = 0; row < height; ++row) {
        const int y = (descriptor & 0x20) ? row : height - 1 - row;
        for (int column = 0; column < width; ++column) {
            const int x = (descriptor & 0x10) ? width - 1 - column : column;
            const QRgb c = image.pixel(x, y);
            if (type >= 9) out += '\0';
            if (mapped) out += char(palette[c | 0xFF000000u]);
            else if (depth == 8) out += char(qRed(c));
            else if (depth == 16) {
                const int v = ((qRed(c) >> 3) << 10) | ((qGreen(c) >> 3) << 5) | (qBlue(c) >> 3) | 0x8000;
                out += bytes({v & 0xFF, v >> 8});
            } else {
                out += bytes({qBlue(c), qGreen(c), qRed(c)});
                if (depth == 32) out += char(0x7F);
            }
        }
    }
    return out;
}

} // namespace

// Every kind of Targa the reader takes is written back as the same kind, with the two changed
// pixels and every other pixel as it was.
TEST(PictureWriter, TargaRoundTripChangesOnlyTheTouchedPixels) {
    TempFolder folder;
    struct Variant {
        const char* name;
        int type, depth, descriptor;
        bool freeImage = false, rle = false;
    };
    const Variant variants[] = {{"24 raw", 2, 24, 0, true, false},       {"24 rle", 10, 24, 0, true, true},
                                {"32 raw", 2, 32, 8, true, false},       {"32 rle", 10, 32, 8, true, true},
                                {"24 top-left", 2, 24, 0x20},            {"32 top-left rle", 10, 32, 0x28},
                                {"24 right-to-left", 2, 24, 0x10},       {"16 raw", 2, 16, 1},
                                {"16 rle", 10, 16, 1},                   {"grey", 3, 8, 0},
                                {"grey rle", 11, 8, 0x20},               {"mapped", 1, 8, 0},
                                {"mapped rle", 9, 8, 0}};
    int accepted = 0;
    for (const Variant& v : variants) {
        SCOPED_TRACE(v.name);
        const QString path = folder.file(QStringLiteral("v%1.tga").arg(accepted + 100 * v.type + v.descriptor));
        const QImage drawn = samplePicture(v.type == 3 || v.type == 11);
        if (v.freeImage) {
            ASSERT_TRUE(saveTarga(drawn, path, v.rle, v.depth == 32));
        } else {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(makeTarga(drawn, v.type, v.depth, v.descriptor));
        }
        const DecodedImage before = decodeMapImage(path, false);
        if (!before.ok()) continue; // not a kind the reader takes
        ++accepted;
        QFile original(path);
        ASSERT_TRUE(original.open(QIODevice::ReadOnly));
        const QByteArray originalHeader = original.read(18);

        // A province added at (10, 4), the one at (17, 6) removed.
        QImage changed = before.image;
        changed.setPixel(10, 4, kWhite);
        changed.setPixel(17, 6, changed.pixel(16, 6));
        const QString out = folder.file(QStringLiteral("out.tga"));
        ASSERT_EQ(patchTarga(path, out, changed, {QPoint(10, 4), QPoint(17, 6)}), QString());

        const DecodedImage after = decodeMapImage(out, false);
        ASSERT_TRUE(after.ok());
        for (int y = 0; y < changed.height(); ++y)
            for (int x = 0; x < changed.width(); ++x) {
                if (QPoint(x, y) == QPoint(17, 6)) continue;
                ASSERT_EQ(after.image.pixel(x, y), changed.pixel(x, y)) << x << "," << y;
            }
        EXPECT_NE(after.image.pixel(17, 6) & 0xFFFFFF, 0xFFFFFFu);
        QFile written(out);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_EQ(written.read(18), originalHeader); // type, depth, origin, size
        if (!v.rle && v.type < 9) {
            EXPECT_EQ(written.size(), original.size());
        }
    }
    EXPECT_GE(accepted, 10);
}

TEST(PictureWriter, AColourTableWithoutWhiteIsRefused) {
    TempFolder folder;
    QImage drawn = samplePicture(false);
    drawn.setPixel(3, 2, qRgb(1, 2, 3));
    drawn.setPixel(17, 6, qRgb(1, 2, 3));
    const QString path = folder.write(QStringLiteral("m.tga"), makeTarga(drawn, 1, 8, 0).toStdString());
    QImage changed = decodeMapImage(path, false).image;
    changed.setPixel(5, 5, kWhite);
    EXPECT_FALSE(targaPatchRefusal(path, changed, {QPoint(5, 5)}).isEmpty());
    // A pixel that only has to stop being white takes the closest colour of the table.
    changed.setPixel(5, 5, qRgb(2, 2, 2));
    EXPECT_EQ(targaPatchRefusal(path, changed, {QPoint(5, 5)}), QString());
}

// SGI pictures, plain and run-length, take the change in place; a picture that cannot (here a colour
// table without white) is saved as a Targa beside it, the map names that, and the old file stays.
TEST(PictureWriter, SgiTakesTheChangeAndWhatCannotBecomesATargaBeside) {
    TempFolder folder;
    for (const bool rle : {false, true}) {
        const QString path = folder.file(rle ? QStringLiteral("r.rgb") : QStringLiteral("p.rgb"));
        ASSERT_TRUE(saveSgi(samplePicture(false), path, rle, rle));
        QImage changed = decodeMapImage(path, true).image;
        changed.setPixel(10, 4, kWhite);
        changed.setPixel(17, 6, qRgb(1, 2, 3));
        const QString out = folder.file(QStringLiteral("out.rgb"));
        ASSERT_EQ(patchSgi(path, out, changed, {QPoint(10, 4), QPoint(17, 6)}), QString());
        EXPECT_EQ(decodeMapImage(out, true).image, changed) << rle;
    }

    auto doc = std::make_unique<MapDocument>();
    FakeUserInterface ui;
    doc->MapFilePath = folder.write(QStringLiteral("w/m.map"), "").toStdString();
    doc->MapFileTitle = "m.map";
    doc->ImageFileName = "m.tga";
    QImage drawn = samplePicture(false);
    drawn.setPixel(3, 2, qRgb(1, 2, 3));
    drawn.setPixel(17, 6, qRgb(1, 2, 3));
    const std::string mapped = makeTarga(drawn, 1, 8, 0).toStdString();
    folder.write(QStringLiteral("w/m.tga"), mapped);
    MapImage image;
    ASSERT_TRUE(image.load(*doc, QStringLiteral("m.tga"), ui));
    image.setSourcePixel(10, 4, 0xFFFFFF);

    ASSERT_TRUE(SaveChangedPicture(*doc, image, {QPoint(10, 4)}, ui));
    EXPECT_EQ(doc->ImageFileName.str(), "m_2.tga");
    ASSERT_EQ(ui.titles(), QStringList{QStringLiteral("Picture Saved as Targa")});
    EXPECT_EQ(folder.read(QStringLiteral("w/m.tga")), mapped);
    EXPECT_EQ(decodeMapImage(folder.file(QStringLiteral("w/m_2.tga")), false).image, image.source());

    // The next save writes into the copy, in place.
    image.setSourcePixel(10, 4, 0x102030);
    ui = FakeUserInterface();
    ASSERT_TRUE(SaveChangedPicture(*doc, image, {QPoint(10, 4)}, ui));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(decodeMapImage(folder.file(QStringLiteral("w/m_2.tga")), false).image.pixel(10, 4), qRgb(0x10, 0x20, 0x30));
}
