#include "fakeuserinterface.h"
#include "mapdocument.h"
#include "provincelocator.h"

#include <QImage>
#include <gtest/gtest.h>
#include <memory>

using namespace ts;

namespace {

const QString kCaption = QStringLiteral("Tessary: LOCATING PROVINCES...map.tga");

struct LocateTest : ::testing::Test {
    std::unique_ptr<MapDocument> doc = std::make_unique<MapDocument>();
    FakeUserInterface ui;

    QImage black(int width, int height, QImage::Format format = QImage::Format_RGB32) {
        QImage image(width, height, format);
        image.fill(qRgb(0, 0, 0));
        return image;
    }
    std::pair<int, int> position(int n) const {
        return {doc->Provinces[n].ProvinceX, doc->Provinces[n].ProvinceY};
    }
};

} // namespace

TEST_F(LocateTest, NumbersBottomRowFirstLeftToRightCountingRowsFromTheTopFromOne) {
    QImage image = black(6, 4);
    image.setPixel(2, 0, qRgb(255, 255, 255)); // top row
    image.setPixel(4, 3, qRgb(255, 255, 255)); // bottom row, right
    image.setPixel(0, 3, qRgb(255, 255, 255)); // bottom row, left
    image.setPixel(5, 1, qRgb(255, 255, 255));

    EXPECT_EQ(z_LocateProvinces(image, *doc, ui, kCaption), 4);

    EXPECT_EQ(doc->ProvinceCount, 4);
    EXPECT_EQ(position(1), std::make_pair(0, 4)); // the bottom row gives the height, not height - 1
    EXPECT_EQ(position(2), std::make_pair(4, 4));
    EXPECT_EQ(position(3), std::make_pair(5, 2));
    EXPECT_EQ(position(4), std::make_pair(2, 1)); // the top row gives 1
    ASSERT_FALSE(ui.busy.empty());
    EXPECT_EQ(ui.busy.back().message, QStringLiteral("Locating Provinces... 4"));
    EXPECT_EQ(ui.busy.back().caption, kCaption);
    EXPECT_EQ(ui.busy.back().color, 4u * 255u);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(LocateTest, OnlyPureWhiteCountsWhateverItsAlpha) {
    QImage image = black(5, 2, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(254, 255, 255, 255));
    image.setPixel(1, 0, qRgba(255, 254, 255, 255));
    image.setPixel(2, 0, qRgba(255, 255, 254, 255));
    image.setPixel(3, 0, qRgba(255, 255, 255, 0));
    image.setPixel(4, 1, qRgba(255, 255, 255, 128));

    EXPECT_EQ(z_LocateProvinces(image, *doc, ui, kCaption), 2);
    EXPECT_EQ(position(1), std::make_pair(4, 2));
    EXPECT_EQ(position(2), std::make_pair(3, 1));

    // Formats without a 32-bit word per pixel give the same answer.
    QImage packed = image.convertToFormat(QImage::Format_RGB888);
    EXPECT_EQ(z_LocateProvinces(packed, *doc, ui, kCaption), 2);
    EXPECT_EQ(position(2), std::make_pair(3, 1));
}

TEST_F(LocateTest, StopsAt2599WithTheMessageAndKeepsTheFirst2599) {
    QImage image = black(100, 27);
    for (int n = 0; n < 2600; ++n)
        image.setPixel(n % 100, 26 - n / 100, qRgb(255, 255, 255));

    EXPECT_EQ(z_LocateProvinces(image, *doc, ui, kCaption), 2599);

    EXPECT_EQ(doc->ProvinceCount, 2599);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Too many Provinces!"));
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Exceeded max province count! Check map image for excess "
                                                  "white (R255 G255 B255) pixels."));
    EXPECT_EQ(ui.messages[0].buttons, Buttons::Ok);
    EXPECT_EQ(position(2599), std::make_pair(98, 2)); // the 2600th pixel, (99, 0), found no slot
    EXPECT_EQ(ui.busy.back().message, QStringLiteral("Locating Provinces... 2599"));
}

TEST_F(LocateTest, NoWhiteGivesNothingAndLeavesHigherSlotsAlone) {
    doc->Provinces[3].ProvinceX = 77;
    doc->Provinces[3].ProvinceY = 88;
    QImage image = black(8, 8);
    image.setPixel(1, 1, qRgb(255, 255, 255));
    EXPECT_EQ(z_LocateProvinces(image, *doc, ui, kCaption), 1);
    EXPECT_EQ(position(3), std::make_pair(77, 88));

    FakeUserInterface quiet;
    EXPECT_EQ(z_LocateProvinces(black(8, 8), *doc, quiet, kCaption), 0);
    EXPECT_EQ(doc->ProvinceCount, 0);
    EXPECT_TRUE(quiet.busy.empty()); // no count to show: "Locating Provinces..." stays
    EXPECT_TRUE(quiet.messages.empty());

    EXPECT_EQ(z_LocateProvinces(QImage(), *doc, quiet, kCaption), 0);
}
