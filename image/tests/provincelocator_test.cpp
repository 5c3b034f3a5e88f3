#include "fakeuserinterface.h"
#include "mapdocument.h"
#include "provincelocator.h"

#include <QImage>
#include <gtest/gtest.h>
#include <memory>

using namespace ts;

namespace {
const QString kCaption = QStringLiteral("Tessary: LOCATING PROVINCES...map.tga");
using XY = std::pair<int, int>;
XY at(const MapDocument& doc, int n) {
    return {doc.Provinces[n].ProvinceX, doc.Provinces[n].ProvinceY};
}
} // namespace

TEST(Locate, PureWhiteOfAnyAlphaNumbersBottomRowFirstRowsFromOneAtTheTopUpTo2599) {
    // W white, w white with alpha 0, r/g/b white short of 255 in that channel (land).
    const char* rows[] = {"..w...", ".rgb.W", "......", "W...w."};
    QImage image(6, 4, QImage::Format_ARGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            const char c = rows[y][x];
            image.setPixel(x, y,
                           c == '.' ? qRgb(0, 0, 0)
                                    : qRgba(c == 'r' ? 254 : 255, c == 'g' ? 254 : 255, c == 'b' ? 254 : 255,
                                            c == 'w' ? 0 : 255));
        }
    auto doc = std::make_unique<MapDocument>();
    doc->Provinces[5].ProvinceX = 77; // a slot beyond the count keeps what it had
    FakeUserInterface ui;
    for (const QImage::Format format : {QImage::Format_ARGB32, QImage::Format_RGB888}) {
        EXPECT_EQ(z_LocateProvinces(image.convertToFormat(format), *doc, ui, kCaption), 4);
        EXPECT_EQ(doc->ProvinceCount, 4);
        EXPECT_EQ(at(*doc, 1), XY(0, 4)); // the bottom row is the height, not height - 1
        EXPECT_EQ(at(*doc, 2), XY(4, 4));
        EXPECT_EQ(at(*doc, 3), XY(5, 2));
        EXPECT_EQ(at(*doc, 4), XY(2, 1));
        EXPECT_EQ(doc->Provinces[5].ProvinceX, 77);
    }
    EXPECT_EQ(ui.busy.back().message, QStringLiteral("Locating Provinces... 4"));
    EXPECT_EQ(ui.busy.back().caption, kCaption);
    EXPECT_TRUE(ui.messages.empty());

    // A wide row, passed over in blocks: whites at both ends of blocks and in the last, short one
    // are all found, among near-whites that are not.
    image = QImage(70, 1, QImage::Format_ARGB32);
    for (int x = 0; x < 70; ++x) image.setPixel(x, 0, qRgba(255, x % 2 ? 254 : 255, x % 2 ? 255 : 254, 255));
    for (int x : {0, 31, 32, 63, 64, 69}) image.setPixel(x, 0, qRgba(255, 255, 255, x == 31 ? 0 : 255));
    EXPECT_EQ(z_LocateProvinces(image, *doc, ui, kCaption), 6);
    EXPECT_EQ(at(*doc, 2), XY(31, 1));
    EXPECT_EQ(at(*doc, 6), XY(69, 1));

    // The 2600th white pixel is refused.
    image = QImage(100, 27, QImage::Format_RGB32);
    image.fill(qRgb(0, 0, 0));
    for (int n = 0; n < 2600; ++n)
        image.setPixel(n % 100, 26 - n / 100, qRgb(255, 255, 255));
    EXPECT_EQ(z_LocateProvinces(image, *doc, ui, kCaption), 2599);
    EXPECT_EQ(doc->ProvinceCount, 2599);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Too many Provinces!"));
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Exceeded max province count! Check map image for excess "
                                                  "white (R255 G255 B255) pixels."));
    EXPECT_EQ(at(*doc, 2599), XY(98, 2)); // the 2600th pixel, (99, 0), found no slot

    // Found on a second thread, as while a map is read, the pixels place the provinces alike.
    doc->Provinces[2599].ProvinceX = 0;
    ui = FakeUserInterface{};
    EXPECT_EQ(z_LocateProvinces(findProvincePixels(image), *doc, ui, kCaption), 2599);
    EXPECT_EQ(at(*doc, 2599), XY(98, 2));
    EXPECT_EQ(ui.titles(), QStringList{QStringLiteral("Too many Provinces!")});
    EXPECT_EQ(ui.busy.back().message, QStringLiteral("Locating Provinces... 2599"));

    // One pixel fewer is a full map, not too many.
    image.setPixel(99, 1, qRgb(0, 0, 0));
    ui = FakeUserInterface{};
    EXPECT_EQ(findProvincePixels(image).size(), 2599u);
    EXPECT_EQ(z_LocateProvinces(findProvincePixels(image), *doc, ui, kCaption), 2599);
    EXPECT_TRUE(ui.messages.empty());
}
