#include "mapdocument.h"
#include "mapgeometry.h"
#include "mapimage.h"

#include <gtest/gtest.h>
#include <memory>

using namespace ts;

namespace {

struct HitTest : ::testing::Test {
    std::unique_ptr<MapDocument> doc = std::make_unique<MapDocument>();
    void place(int n, int x, int y) {
        doc->Provinces[n].ProvinceX = x;
        doc->Provinces[n].ProvinceY = y;
        doc->ProvinceCount = static_cast<std::int16_t>(std::max<int>(doc->ProvinceCount, n));
    }
};

} // namespace

TEST(Zoom, ScalesAndShownPositionsAreNotRounded) {
    EXPECT_EQ(shownPosition(401, 203, 0.25f), QPointF(100.25, 50.75));
    EXPECT_EQ(shownSize(1002.0f, 1006.0f, 0.25f), QSize(250, 252)); // halves go to even
}

TEST_F(HitTest, SquareEdgesAreInsideAndScaleWithTheZoom) {
    place(1, 100, 50);
    EXPECT_EQ(provinceAt(*doc, 120.0f, 50.0f, 20, 1.0f), 1);
    EXPECT_EQ(provinceAt(*doc, 120.0f, 70.0f, 20, 1.0f), 1);
    EXPECT_EQ(provinceAt(*doc, 121.0f, 50.0f, 20, 1.0f), 0);
    EXPECT_EQ(provinceAt(*doc, 100.0f, 29.0f, 20, 1.0f), 0);

    // At 50% the marker is at (50, 25) and the square is 10 shown pixels each way.
    EXPECT_EQ(provinceAt(*doc, 60.0f, 25.0f, 20, 0.5f), 1);
    EXPECT_EQ(provinceAt(*doc, 60.5f, 25.0f, 20, 0.5f), 0);
    EXPECT_EQ(provinceAt(*doc, 120.0f, 50.0f, 20, 0.5f), 0);
    EXPECT_EQ(provinceAt(*doc, 90.0f, 52.5f, 20, 0.75f), 1); // corner of (60, 22.5) - (90, 52.5)
    EXPECT_EQ(provinceAt(*doc, 90.25f, 52.5f, 20, 0.75f), 0);
}

TEST_F(HitTest, LowestNumberWinsAndOnlyLocatedProvincesCount) {
    place(4, 100, 100);
    place(9, 110, 100);
    place(2, 500, 500);
    EXPECT_EQ(provinceAt(*doc, 115.0f, 100.0f, 20, 1.0f), 4);
    EXPECT_EQ(provinceAt(*doc, 125.0f, 100.0f, 20, 1.0f), 9);

    doc->ProvinceCount = 3; // 4 and 9 are stale positions from an earlier map
    EXPECT_EQ(provinceAt(*doc, 115.0f, 100.0f, 20, 1.0f), 0);
    EXPECT_EQ(provinceAt(*doc, 500.0f, 500.0f, 20, 1.0f), 2);
}

TEST(Zoom, RedrawKeepsBordersPureAndTheRoundTripGivesThePictureBack) {
    QImage source(401, 203, QImage::Format_RGB32);
    source.fill(qRgb(10, 120, 30));
    for (int y = 0; y < source.height(); ++y)
        for (int x = 200; x < 204; ++x)
            source.setPixel(x, y, qRgb(255, 0, 0));
    source.setPixel(17, 33, qRgb(255, 255, 255));

    // A blend of the border with the land would no longer be a border for the neighbour guess.
    for (int index = 1; index < kZoomLevels; ++index) {
        const QImage shown = redrawAtZoom(source, zoomScaleForIndex(index));
        ASSERT_EQ(shown.size(), shownSize(401.0f, 203.0f, zoomScaleForIndex(index)));
        bool sawBorder = false;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) {
                const QRgb p = shown.pixel(x, y);
                ASSERT_TRUE(p == qRgb(255, 0, 0) || p == qRgb(10, 120, 30) || p == qRgb(255, 255, 255))
                    << "blended pixel at " << x << "," << y << " zoom index " << index;
                sawBorder = sawBorder || p == qRgb(255, 0, 0);
            }
        EXPECT_TRUE(sawBorder) << "zoom index " << index;
    }

    EXPECT_EQ(redrawAtZoom(source, 1.0f), source);
}

TEST(Zoom, TheRoundTripRedrawsTheSourceSoMarksGoAndPixelsStay) {
    QImage source(81, 61, QImage::Format_RGB32);
    source.fill(qRgb(0, 0, 0));
    source.setPixel(3, 60, qRgb(255, 255, 255));
    MapImage image;
    image.setSource(source);
    image.setZoom(2);
    EXPECT_EQ(image.picture().size(), QSize(40, 30)); // 40.5 and 30.5 to even
    image.picture().fill(qRgb(255, 0, 0));            // markers and lines drawn at 50%
    image.setZoom(0);
    EXPECT_EQ(image.picture(), source);
}

TEST(Wrap, CopiesSitOneMapSizeAwayInGridOrder) {
    const auto at = wrapCopyPositions(QPoint(10, -20), QSize(300, 200));
    const QPoint expected[kWrapCopies] = {{-290, -220}, {10, -220},  {310, -220}, {-290, -20},
                                          {310, -20},   {-290, 180}, {10, 180},   {310, 180}};
    for (int k = 0; k < kWrapCopies; ++k)
        EXPECT_EQ(at[static_cast<std::size_t>(k)], expected[k]) << k;
}
