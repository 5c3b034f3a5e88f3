#include "markers.h"

#include <QImage>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace ts;

namespace {

struct MarkersTest : ::testing::Test {
    std::unique_ptr<MapDocument> doc = std::make_unique<MapDocument>();
    Settings s = Settings::defaults("/p");
    QImage picture{200, 100, QImage::Format_RGB32};

    MarkersTest() {
        picture.fill(Qt::darkGreen);
        doc->ProvinceCount = 3;
        for (int n = 1; n <= 3; ++n) {
            doc->Provinces[n].ProvinceX = 40 * n;
            doc->Provinces[n].ProvinceY = 50;
        }
    }
    ProvinceDataType& p(int n) { return doc->Provinces[n]; }
    static Color c(std::int32_t setting) { return static_cast<Color>(setting); }
    void mark() { z_MarkSpecial2(*doc, s, picture, 1.0, doc->ProvinceCount); }
    QColor centre(int n, double zoom = 1.0) const {
        return picture.pixelColor(static_cast<int>(doc->Provinces[n].ProvinceX * zoom),
                                  static_cast<int>(doc->Provinces[n].ProvinceY * zoom));
    }
};

} // namespace

TEST(NationColors, FollowTheTableAndAreBlackOutsideIt) {
    EXPECT_EQ(z_GetNationColor(5), 0x3B51CAu);
    EXPECT_EQ(z_GetNationColor(6), 0u);
    EXPECT_EQ(z_GetNationColor(22), 0x575A02u);
    for (int n : {23, 24, 25})
        EXPECT_EQ(z_GetNationColor(n), 0xFFFFFFu);
    EXPECT_EQ(z_GetNationColor(71), 0x000079u);
    for (int n : {-1, 72, 80, 94, 95, 99})
        EXPECT_EQ(z_GetNationColor(n), 0u) << n;
    EXPECT_EQ(toQColor(0x3B51CA), QColor(0xCA, 0x51, 0x3B));
}

TEST_F(MarkersTest, VictoryPointsColourTheRingOnly) {
    p(2).VictoryPoints = 2;
    mark();
    EXPECT_EQ(std::tie(p(2).MarkerColor, p(2).MarkerColor2),
              std::tuple(c(s.ColorBaseCenter), c(s.ColorVictoryPoints)));
    EXPECT_EQ(centre(2), toQColor(s.ColorBaseCenter));
    // The ring sits RingRadius pixels from the centre.
    EXPECT_EQ(picture.pixelColor(p(2).ProvinceX + s.RingRadius, 50), toQColor(s.ColorVictoryPoints));
}

TEST_F(MarkersTest, MarkedBeatsOwnerBeatsSpecialStartBeatsStartBeatsNoStartAndSwitchesOffLeaveTheBaseLook) {
    p(1).NoStart = p(1).Start = p(1).SpecStart = p(1).Marked = true;
    p(1).SpecStartNation = 2;
    p(1).Owner = 5;
    // Each step switches off the marker that won the step before.
    const std::pair<std::function<void()>, Color> steps[] = {
        {[] {}, c(s.ColorVisited)},
        {[&] { p(1).Marked = false; }, 0x3B51CA},
        {[&] { s.MarkOwners = 0; }, z_GetNationColor(2)},
        {[&] { s.MarkSpecialStarts = 0; }, c(s.ColorStarts)},
        {[&] { s.MarkStarts = 0; }, c(s.ColorNoStarts)},
        {[&] { s.MarkNoStarts = 0; }, c(s.ColorBaseCenter)},
    };
    for (const auto& [switchOff, colour] : steps) {
        switchOff();
        mark();
        EXPECT_EQ(p(1).MarkerColor, colour);
        EXPECT_EQ(centre(1), toQColor(colour));
        EXPECT_EQ(p(1).MarkerColor2, c(s.ColorBaseRing)); // only victory points colour the ring
        EXPECT_EQ(p(1).MarkerFlag, colour != c(s.ColorBaseCenter));
    }
}

TEST_F(MarkersTest, MarkingTwiceReturnsTheNormalLookAndUncheckingVisitedForgetsEveryVisit) {
    toggleProvinceMark(*doc, s, 2);
    mark();
    EXPECT_EQ(centre(2), toQColor(s.ColorVisited));
    toggleProvinceMark(*doc, s, 2);
    mark();
    EXPECT_FALSE(p(2).MarkerFlag);
    EXPECT_EQ(centre(2), toQColor(s.ColorBaseCenter));

    s.MarkVisited = 1;
    p(3).Visited = true;
    p(3).Owner = 5;
    mark();
    EXPECT_EQ(p(3).MarkerColor, c(s.ColorVisited));
    s.MarkVisited = 0;
    mark();
    EXPECT_FALSE(p(3).Visited);
    EXPECT_EQ(p(3).MarkerColor, 0x3B51CAu);
}

TEST_F(MarkersTest, RedrawUsesTheStoredLookAtTheZoomAndSkipsUnlocatedProvinces) {
    p(1).Owner = 5;
    mark();
    picture.fill(Qt::darkGreen);
    doc->Provinces[0].ProvinceX = doc->Provinces[0].ProvinceY = 10; // province 0 is never drawn
    doc->Provinces[4].ProvinceX = 180;                              // beyond ProvinceCount
    doc->Provinces[4].ProvinceY = 50;
    z_ReDrawMarkers(*doc, s, picture, 0.5, doc->ProvinceCount);
    EXPECT_EQ(centre(1, 0.5), toQColor(0x3B51CA));
    EXPECT_EQ(centre(2, 0.5), toQColor(s.ColorBaseCenter));
    EXPECT_EQ(picture.pixelColor(10, 10), QColor(Qt::darkGreen));
    EXPECT_EQ(picture.pixelColor(180, 50), QColor(Qt::darkGreen));
}

// A redraw of every marker copies each look from one small drawing; the pixels must be those of
// drawing every disc where it lies, far from the origin too, at every zoom and ring size, markers
// overlapping and cut by the picture's edges included.
TEST_F(MarkersTest, AllMarkersAtOnceHaveThePixelsOfEachDrawnByItself) {
    picture = QImage(4100, 40, QImage::Format_RGB32);
    doc->ProvinceCount = 0;
    for (int x = -3; x < 4110 && doc->ProvinceCount < kMaxProvince; x += 3) {
        ProvinceDataType& prov = doc->Provinces[++doc->ProvinceCount];
        prov.ProvinceX = x;
        prov.ProvinceY = (x * 7) % 45 - 2;
        prov.Owner = x % 4 == 0 ? x % 90 : -1;
        prov.VictoryPoints = x % 5 == 0 ? 1 : -1;
    }
    for (const auto& [radius, width] : {std::pair{5, 2}, {4, 1}, {7, 3}, {3, 0}}) {
        s.RingRadius = static_cast<std::int16_t>(radius);
        s.RingWidth = static_cast<std::int16_t>(width);
        for (double zoom : {1.0, 0.75, 0.5, 0.25}) {
            picture.fill(Qt::darkGreen);
            z_MarkSpecial2(*doc, s, picture, zoom, doc->ProvinceCount);
            QImage each(picture.size(), QImage::Format_RGB32);
            each.fill(Qt::darkGreen);
            for (int n = 1; n <= doc->ProvinceCount; ++n)
                drawMarker(each, p(n).ProvinceX * zoom, p(n).ProvinceY * zoom, p(n).MarkerColor, p(n).MarkerColor2, s);
            ASSERT_EQ(picture, each) << "ring " << radius << "/" << width << " at " << zoom;
        }
    }
}

// What a marker hides is put back from its area alone: no drawn pixel may lie outside it, for any
// ring and wherever in a pixel the marker's centre falls.
TEST(MarkerArea, HoldsEveryPixelTheMarkerDraws) {
    Settings s = Settings::defaults("/p");
    for (int radius = 0; radius <= 12; ++radius)
        for (int width = 0; width <= 6; ++width)
            for (double fx : {0.0, 0.25, 0.5, 0.75})
                for (double fy : {0.0, 0.25, 0.5, 0.75}) {
                    s.RingRadius = static_cast<std::int16_t>(radius);
                    s.RingWidth = static_cast<std::int16_t>(width);
                    QImage picture(64, 64, QImage::Format_RGB32);
                    picture.fill(Qt::black);
                    const QPointF at(30 + fx, 30 + fy);
                    drawMarker(picture, at.x(), at.y(), 0xFFFFFF, 0x00FF00, s);
                    const QRect area = markerArea(at, s);
                    for (int y = 0; y < 64; ++y) {
                        for (int x = 0; x < 64; ++x) {
                            if (picture.pixel(x, y) == qRgb(0, 0, 0)) continue;
                            ASSERT_TRUE(area.contains(x, y))
                                << radius << "/" << width << " at " << fx << "," << fy << ": " << x << "," << y;
                        }
                    }
                }
}
