#include "fakeuserinterface.h"
#include "mapdocument.h"
#include "mapgeometry.h"
#include "neighbourguess.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <numeric>
#include <vector>

using namespace ts;

namespace {

const QRgb kRed = qRgb(255, 0, 0);
const QRgb kBlue = qRgb(0, 0, 255);
using V = std::vector<int>;

struct GuessTest : ::testing::Test {
    std::unique_ptr<MapDocument> doc;
    FakeUserInterface ui;
    QImage picture;

    void canvas(int width, int height) {
        doc = std::make_unique<MapDocument>();
        picture = QImage(width, height, QImage::Format_RGB32);
        picture.fill(qRgb(0, 0, 0));
    }
    void place(int n, int x, int y) {
        doc->Provinces[n].ProvinceX = static_cast<std::int16_t>(x);
        doc->Provinces[n].ProvinceY = static_cast<std::int16_t>(y);
        doc->ProvinceCount = static_cast<std::int16_t>(std::max<int>(doc->ProvinceCount, n));
    }
    // A border band across the whole picture: rows from y when across, else columns from x.
    void band(bool across, int from, int thickness, QRgb colour) {
        QPainter(&picture).fillRect(across ? QRect(0, from, picture.width(), thickness)
                                           : QRect(from, 0, thickness, picture.height()),
                                    QColor(colour));
    }
    int guess(float zoom = 1.0f) {
        picture = redrawAtZoom(picture, zoom);
        return z_Guess_Neighbors(*doc, picture, zoom, ui);
    }
    // The partners in slot order, empty slots left out.
    V partners(int n) const {
        V out;
        std::copy_if(std::begin(doc->Provinces[n].Neighbours), std::end(doc->Provinces[n].Neighbours),
                     std::back_inserter(out), [](int p) { return p > 0; });
        return out;
    }
    bool has(int a, int b) const {
        const V p = partners(a);
        return std::count(p.begin(), p.end(), b) == 1;
    }
    bool linked(int a, int b) const {
        EXPECT_EQ(has(a, b), has(b, a)) << a << " and " << b << " disagree";
        return has(a, b) && has(b, a);
    }
};

} // namespace

TEST_F(GuessTest, OneBorderBetweenLinksASecondOneRejectsAtFullAndHalfZoom) {
    for (const float zoom : {1.0f, 0.5f}) {
        SCOPED_TRACE(zoom);
        canvas(300, 120);
        place(1, 50, 50);
        place(2, 110, 50);
        place(3, 170, 80);
        band(false, 80, 4, kRed);   // between 1 and 2
        band(false, 140, 4, kBlue); // between 2 and 3
        for (std::int16_t& s : doc->Provinces[1].Neighbours)
            s = 7; // an old list is replaced
        EXPECT_EQ(guess(zoom), 2);
        EXPECT_EQ(partners(1), V{2});
        EXPECT_TRUE(linked(2, 3));
        EXPECT_FALSE(linked(1, 3)); // both borders lie between them
        // Accepted pairs are drawn in yellow, ending at the partner.
        EXPECT_EQ(picture.pixel(static_cast<int>(109 * zoom), static_cast<int>(50 * zoom)),
                  qRgb(255, 255, 0));
    }
}

TEST_F(GuessTest, WithoutBordersNeighboursAreThoseStrictlyInsideTheHundredPixelBox) {
    canvas(300, 300);
    place(1, 100, 100);
    place(2, 199, 100);                  // 99 to the right: inside
    place(3, 100, 200);                  // 100 below: outside
    place(4, 1, 1);                      // 99 up and left: inside
    place(5, 200, 150);                  // 100 to the right: outside
    band(true, 150, 3, qRgb(254, 0, 0)); // near-red is no border
    guess();
    EXPECT_EQ(partners(1), (V{2, 4}));
    EXPECT_FALSE(linked(1, 3));
    EXPECT_FALSE(linked(1, 5));
    EXPECT_TRUE(linked(2, 5));
}

TEST_F(GuessTest, TenPixelsOfBorderCountOnceElevenCountTwice) {
    for (const bool steep : {false, true})
        for (const int thickness : {1, 10, 11, 25}) {
            SCOPED_TRACE(::testing::Message() << (steep ? "vertical " : "horizontal ") << thickness);
            canvas(200, 200);
            place(1, steep ? 50 : 20, steep ? 20 : 50);
            place(2, steep ? 53 : 90, steep ? 90 : 53); // a little slanted: the minor axis moves too
            band(steep, 40, thickness, kRed);
            guess();
            EXPECT_EQ(linked(1, 2), thickness <= 10);
        }
}

TEST_F(GuessTest, ProvinceOneKeepsItsFirstTwentyPartnersTheTwentyFirstIsNeverTried) {
    canvas(200, 200);
    for (int n = 1; n <= 22; ++n)
        place(n, 100 + (n % 2 ? 1 : -1) * n, 60 + 3 * n);
    guess();
    V first20(20);
    std::iota(first20.begin(), first20.end(), 2);
    EXPECT_EQ(partners(1), first20);
    EXPECT_FALSE(has(1, 22));
    // Province 2 got 1 from the first pass; its own pass then overfills it, and 22 still records 2.
    EXPECT_EQ(partners(2).size(), 20u);
    EXPECT_TRUE(has(22, 2));
    EXPECT_FALSE(has(2, 22));
}
