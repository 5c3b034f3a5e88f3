#include "fakeuserinterface.h"
#include "mapdocument.h"
#include "mapgeometry.h"
#include "neighbourguess.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <vector>

using namespace ts;

namespace {

const QRgb kRed = qRgb(255, 0, 0);
const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kYellow = qRgb(255, 255, 0);

struct GuessTest : ::testing::Test {
    std::unique_ptr<MapDocument> doc = std::make_unique<MapDocument>();
    FakeUserInterface ui;
    QImage picture;

    void canvas(int width, int height) {
        picture = QImage(width, height, QImage::Format_RGB32);
        picture.fill(qRgb(0, 0, 0));
    }
    void place(int n, int x, int y) {
        doc->Provinces[n].ProvinceX = x;
        doc->Provinces[n].ProvinceY = y;
        doc->ProvinceCount = static_cast<std::int16_t>(std::max<int>(doc->ProvinceCount, n));
    }
    void columns(int from, int thickness, QRgb colour) {
        QPainter(&picture).fillRect(from, 0, thickness, picture.height(), QColor(colour));
    }
    void rows(int from, int thickness, QRgb colour) {
        QPainter(&picture).fillRect(0, from, picture.width(), thickness, QColor(colour));
    }
    int guess(float zoom = 1.0f) { return z_Guess_Neighbors(*doc, picture, zoom, ui); }
    // The partners in slot order, empty slots left out.
    std::vector<int> partners(int n) const {
        std::vector<int> out;
        for (std::int16_t p : doc->Provinces[n].Neighbours)
            if (p > 0) out.push_back(p);
        return out;
    }
    bool linked(int a, int b) const {
        const auto pa = partners(a), pb = partners(b);
        const bool ab = std::find(pa.begin(), pa.end(), b) != pa.end();
        const bool ba = std::find(pb.begin(), pb.end(), a) != pb.end();
        EXPECT_EQ(ab, ba) << a << " and " << b << " disagree";
        return ab && ba;
    }
};

using V = std::vector<int>;

} // namespace

TEST_F(GuessTest, OneBorderBetweenMakesNeighboursASecondOneRejects) {
    canvas(300, 120);
    place(1, 50, 50);
    place(2, 110, 50);
    place(3, 170, 80);
    columns(80, 3, kRed);   // between 1 and 2
    columns(140, 3, kBlue); // between 2 and 3

    EXPECT_EQ(guess(), 2);

    EXPECT_TRUE(linked(1, 2));
    EXPECT_TRUE(linked(2, 3));
    EXPECT_FALSE(linked(1, 3)); // both borders lie between them
    // The accepted pairs are drawn: black at the start, yellow up to and including the end.
    EXPECT_EQ(picture.pixel(50, 50), qRgb(0, 0, 0));
    EXPECT_EQ(picture.pixel(95, 50), kYellow);
    EXPECT_EQ(picture.pixel(109, 50), kYellow);
    EXPECT_EQ(picture.pixel(110, 50), qRgb(0, 0, 0)); // where the line from 2 to 3 starts
    EXPECT_EQ(picture.pixel(170, 80), kYellow);
    EXPECT_EQ(picture.pixel(81, 50), kYellow); // drawn over the border too
}

TEST_F(GuessTest, NoBorderColourMeansNeighboursWithinTheBox) {
    canvas(300, 300);
    place(1, 100, 100);
    place(2, 199, 100);          // 99 to the right: inside
    place(3, 100, 200);          // 100 below: outside
    place(4, 1, 1);              // 99 up and left: inside
    place(5, 200, 150);          // 100 to the right: outside
    rows(150, 3, qRgb(1, 1, 1)); // dark, but not a border colour

    guess();

    EXPECT_EQ(partners(1), (V{2, 4}));
    EXPECT_FALSE(linked(1, 3));
    EXPECT_FALSE(linked(1, 5));
    EXPECT_TRUE(linked(2, 5));
    EXPECT_TRUE(linked(2, 5)); // the highest number pairs with lower ones like any other
}

TEST_F(GuessTest, TenPixelsOfBorderCountOnceElevenCountTwice) {
    for (const bool steep : {false, true}) {
        for (const int thickness : {1, 10, 11, 25}) {
            SCOPED_TRACE(::testing::Message() << (steep ? "vertical" : "horizontal") << " " << thickness);
            doc = std::make_unique<MapDocument>();
            canvas(200, 200);
            place(1, steep ? 50 : 20, steep ? 20 : 50);
            place(2, steep ? 53 : 90, steep ? 90 : 53); // a little slanted: the minor axis moves too
            steep ? rows(40, thickness, kRed) : columns(40, thickness, kRed);
            guess();
            EXPECT_EQ(linked(1, 2), thickness <= 10);
        }
    }
}

TEST(LineWalk, NeverLooksAtTheStartButDoesAtTheEnd) {
    QImage picture(100, 40, QImage::Format_RGB32);
    picture.fill(qRgb(0, 0, 0));
    for (int y = 0; y < 40; ++y)
        picture.setPixel(50, y, kRed);
    picture.setPixel(10, 20, kBlue); // a blue marker at the start
    EXPECT_TRUE(z_Neighbor_Validity(picture, 10, 20, 90, 20));
    EXPECT_TRUE(z_Neighbor_Validity(picture, 90, 20, 11, 20));  // backwards, ends beside the marker
    EXPECT_FALSE(z_Neighbor_Validity(picture, 90, 20, 10, 20)); // the marker at the end counts
    // Points beyond the picture are not borders and do not stop the walk.
    EXPECT_TRUE(z_Neighbor_Validity(picture, 60, 20, 130, 40));
    // Any other format of picture reads the same.
    EXPECT_FALSE(z_Neighbor_Validity(picture.convertToFormat(QImage::Format_RGB888), 90, 20, 10, 20));
}

TEST_F(GuessTest, ProvinceOneKeepsItsFirstTwentyPartnersOthersMayLoseSlots) {
    canvas(200, 200);
    for (int n = 1; n <= 22; ++n)
        place(n, 100 + (n % 2 ? 1 : -1) * n, 60 + 3 * n);

    guess();

    V first20;
    for (int n = 2; n <= 21; ++n)
        first20.push_back(n);
    EXPECT_EQ(partners(1), first20);
    EXPECT_FALSE(linked(1, 22)); // the 21st partner in 1's own pass is never tried
    // Province 2 got 1 from the first pass; its own pass then overfills it, and 22 still records 2.
    EXPECT_EQ(partners(2).size(), 20u);
    const V of22 = partners(22);
    EXPECT_NE(std::find(of22.begin(), of22.end(), 2), of22.end());
    const V of2 = partners(2);
    EXPECT_EQ(std::find(of2.begin(), of2.end(), 22), of2.end());
}

TEST_F(GuessTest, ReplacesEveryListAndDoesNothingWithoutProvinces) {
    canvas(400, 100);
    place(1, 10, 10);
    place(2, 300, 10);
    for (int n = 1; n <= 2; ++n)
        for (std::int16_t& s : doc->Provinces[n].Neighbours)
            s = 7;

    EXPECT_EQ(guess(), 0);
    EXPECT_TRUE(partners(1).empty());
    EXPECT_TRUE(partners(2).empty());
    EXPECT_GE(ui.eventRuns, 1); // the window gets its last repaint
}

TEST_F(GuessTest, EveryZoomGivesTheSameGuessOnTheShownPicture) {
    // A 6 x 6 grid of 52-pixel cells with 4-pixel red and blue borders; the box reaches the eight
    // surrounding cells only. At 75% the positions are fractional and the walks must still end.
    canvas(312, 312);
    for (int k = 1; k < 6; ++k) {
        columns(k * 52 - 2, 4, k % 2 ? kRed : kBlue);
        rows(k * 52 - 2, 4, k % 2 ? kBlue : kRed);
    }
    for (int n = 1; n <= 36; ++n)
        place(n, 26 + 52 * ((n - 1) % 6) + 1, 26 + 52 * ((n - 1) / 6) - 1);
    const QImage source = picture;

    std::set<std::pair<int, int>> atFull;
    for (int index = 0; index < kZoomLevels; ++index) {
        const float zoom = zoomScaleForIndex(index);
        SCOPED_TRACE(zoom);
        picture = redrawAtZoom(source, zoom);
        guess(zoom);
        std::set<std::pair<int, int>> pairs;
        for (int a = 1; a <= 36; ++a)
            for (int b : partners(a)) {
                EXPECT_TRUE(linked(a, b));
                pairs.insert({std::min(a, b), std::max(a, b)});
            }
        if (index == 0) {
            atFull = pairs;
            EXPECT_EQ(atFull.size(), 2u * 6 * 5 + 2u * 5 * 5); // rows, columns and both diagonals
        } else {
            EXPECT_EQ(pairs, atFull);
        }
    }
}

TEST_F(GuessTest, ALineAlreadyDrawnHidesTheBorderUnderIt) {
    // The walk reads the picture as drawn, lines included: once 1-2 is drawn across the border on
    // row 50, the straight continuation from 1 to 3 sees only the second border.
    canvas(200, 100);
    place(1, 10, 50);
    place(2, 50, 50);
    place(3, 90, 50);
    columns(30, 3, kRed);
    columns(70, 3, kRed);
    guess();
    EXPECT_TRUE(linked(1, 3));
    EXPECT_FALSE(z_Neighbor_Validity(picture, 10, 49, 90, 49)); // one row off, both borders remain
}

TEST_F(GuessTest, TwoBordersRejectAtHalfZoomToo) {
    canvas(300, 120);
    place(1, 50, 50);
    place(2, 140, 60);
    columns(80, 4, kRed);
    columns(110, 4, kBlue);
    picture = redrawAtZoom(picture, 0.5f);
    guess(0.5f);
    EXPECT_FALSE(linked(1, 2));
}

TEST(PlotLine, DrawsOnePointPerStepAndAlwaysEnds) {
    auto yellowCount = [](const QImage& image) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += image.pixel(x, y) == kYellow;
        return count;
    };
    QImage picture(20, 20, QImage::Format_RGB32);

    picture.fill(qRgb(9, 9, 9));
    z_Plot_Line(picture, 2, 2, 9, 5);
    EXPECT_EQ(picture.pixel(2, 2), qRgb(0, 0, 0));
    EXPECT_EQ(picture.pixel(9, 5), kYellow);
    EXPECT_EQ(yellowCount(picture), 7);

    picture.fill(qRgb(9, 9, 9));
    z_Plot_Line(picture, 5, 9, 3, 1); // steep, going up and left
    EXPECT_EQ(picture.pixel(5, 9), qRgb(0, 0, 0));
    EXPECT_EQ(picture.pixel(3, 1), kYellow);
    EXPECT_EQ(yellowCount(picture), 8);

    picture.fill(qRgb(9, 9, 9));
    z_Plot_Line(picture, 2.25f, 3.75f, 7.5f, 4.25f); // a 25% position: ends at x 8, halves to even
    EXPECT_EQ(picture.pixel(2, 4), qRgb(0, 0, 0));
    EXPECT_EQ(yellowCount(picture), 6);
    EXPECT_EQ(picture.pixel(8, 4), kYellow);
}
