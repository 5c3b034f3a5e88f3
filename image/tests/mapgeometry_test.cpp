#include "mapdocument.h"
#include "mapgeometry.h"
#include "mapimage.h"

#include <gtest/gtest.h>
#include <memory>

using namespace ts;

TEST(HitTest, SquareEdgesAreInsideScaleWithTheZoomAndTheLowestNumberWins) {
    auto doc = std::make_unique<MapDocument>();
    const int places[][3] = {{2, 500, 500}, {4, 100, 50}, {9, 110, 50}};
    for (const auto& [n, x, y] : places) {
        doc->Provinces[n].ProvinceX = static_cast<std::int16_t>(x);
        doc->Provinces[n].ProvinceY = static_cast<std::int16_t>(y);
    }
    doc->ProvinceCount = 9;
    const struct {
        float x, y, zoom;
        int hit;
    } cases[] = {
        {80, 50, 1, 4},       {115, 50, 1, 4},    {125, 50, 1, 9},   {130, 70, 1, 9},      {131, 50, 1, 0},
        {100, 29, 1, 0},      {40, 25, 0.5f, 4},  {65, 25, 0.5f, 9}, {65.5f, 25, 0.5f, 0}, {50, 15, 0.5f, 4},
        {50, 14.5f, 0.5f, 0}, {125, 50, 0.5f, 0}, {500, 500, 1, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(provinceAt(*doc, c.x, c.y, 20, c.zoom), c.hit) << c.x << "," << c.y << " at " << c.zoom;
    doc->ProvinceCount = 3; // 4 and 9 are stale positions from an earlier map
    EXPECT_EQ(provinceAt(*doc, 100, 50, 20, 1), 0);
}

TEST(Zoom, BordersStayPureAtEveryZoomAndTheRoundTripGivesTheSourceBack) {
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

    MapImage image;
    image.setSource(source);
    image.setZoom(2);
    EXPECT_EQ(image.picture().size(), QSize(200, 102)); // 200.5 and 101.5, halves to even
    image.wholePictureToDrawIn().fill(qRgb(255, 0, 0)); // markers and lines drawn at 50%
    image.setZoom(0);
    EXPECT_EQ(image.picture(), source);
}
