#include "fakeuserinterface.h"
#include "imagedecoder.h"
#include "mapdocument.h"
#include "provincelocator.h"
#include "regionguess.h"
#include "terrainguess.h"
#include "testimages.h"

#include <QFile>
#include <QPainter>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

using namespace ts;

namespace {

constexpr std::int32_t kForest = 128, kFarm = 256, kSea = 4, kDeep = 2048, kMountain = 16;
constexpr int kCell = 40, kColumns = 8, kRows = 6;

// A picture of kColumns x kRows square provinces, each painted by paint(column, row, x, y) and
// marked with its white pixel in the middle.
struct GridMap {
    QImage picture{kColumns * kCell, kRows * kCell, QImage::Format_RGB32};
    TerrainGuessInput input;

    explicit GridMap(const std::function<QRgb(int column, int row, int x, int y)>& paint) {
        for (int y = 0; y < picture.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < picture.width(); ++x) line[x] = paint(x / kCell, y / kCell, x, y);
        }
        for (int row = 0; row < kRows; ++row)
            for (int column = 0; column < kColumns; ++column) {
                const QPoint at(column * kCell + kCell / 2, row * kCell + kCell / 2);
                picture.setPixel(at, qRgb(255, 255, 255));
                input.positions.push_back(at);
            }
        input.known.assign(input.positions.size(), -1);
    }
    static int province(int column, int row) { return row * kColumns + column + 1; }
    void give(int column, int row, std::int32_t mask) {
        input.known[static_cast<std::size_t>(province(column, row)) - 1] = mask;
    }
    TerrainGuess guess() const { return guessTerrain(picture, input); }
};

const TerrainProposal* proposalFor(const TerrainGuess& guess, int province) {
    for (const TerrainProposal& p : guess.proposals)
        if (p.province == province) return &p;
    return nullptr;
}

std::uint32_t proposed(const TerrainGuess& guess, int column, int row) {
    const TerrainProposal* p = proposalFor(guess, GridMap::province(column, row));
    return p ? p->mask : 0xffffffffu;
}

// A little grain, as painted ground has; the same grain in every province.
int grain(int x, int y) { return static_cast<int>((x * 7 + y * 13) % 11) - 5; }
QRgb shade(int r, int g, int b, int d) {
    return qRgb(std::clamp(r + d, 0, 255), std::clamp(g + d, 0, 255), std::clamp(b + d, 0, 255));
}

TEST(TerrainGuess, ProvincesTakeTheTerrainOfExamplesThatLookAlike) {
    // Forest on the left, farms on the right, sea along the bottom row: two examples of each.
    GridMap map([](int column, int row, int x, int y) {
        if (row == kRows - 1) return shade(40, 80, 170, grain(x, y));
        return column < kColumns / 2 ? shade(40, 110, 40, grain(x, y)) : shade(210, 190, 90, grain(x, y));
    });
    map.give(0, 0, kForest), map.give(2, 3, kForest | 1024 | 512);
    map.give(6, 1, kFarm), map.give(5, 4, kFarm);
    map.give(1, kRows - 1, kSea), map.give(6, kRows - 1, kSea);
    const TerrainGuess guess = map.guess();
    EXPECT_EQ(guess.examples, 6);
    EXPECT_FALSE(guess.seaLandOnly);
    // Only the flags the examples use are decided: never the site or start bits of an example.
    EXPECT_EQ(guess.decided, std::uint32_t(kForest | kFarm | kSea));
    EXPECT_EQ(guess.proposals.size(), std::size_t(kColumns * kRows - 6));
    EXPECT_FALSE(proposalFor(guess, GridMap::province(0, 0))) << "an example keeps its terrain";
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column) {
            if (!proposalFor(guess, GridMap::province(column, row))) continue;
            const std::uint32_t want = row == kRows - 1 ? kSea : column < kColumns / 2 ? kForest : kFarm;
            EXPECT_EQ(proposed(guess, column, row), want) << column << "," << row;
        }
    // With every province asked for, the examples are guessed from the others alone.
    map.input.all = true;
    const TerrainGuess all = map.guess();
    EXPECT_EQ(all.proposals.size(), std::size_t(kColumns * kRows));
    EXPECT_EQ(proposed(all, 0, 0), std::uint32_t(kForest));
}

TEST(TerrainGuess, TextureTellsApartGroundsOfTheSameColour) {
    // The top half is smooth, the bottom half the same green in dark and light speckles (trees);
    // their mean colours are the same.
    GridMap map([](int, int row, int x, int y) {
        if (row < kRows / 2) return shade(90, 140, 70, grain(x, y) / 2);
        const bool tree = ((x / 3) * 5 + (y / 3) * 3) % 4 < 2;
        return shade(90, 140, 70, tree ? -45 : 45);
    });
    map.give(0, 0, 0), map.give(5, 1, 0), map.give(3, 2, 0);
    map.give(1, 3, kForest), map.give(6, 4, kForest), map.give(2, 5, kForest);
    const TerrainGuess guess = map.guess();
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column)
            if (proposalFor(guess, GridMap::province(column, row))) {
                EXPECT_EQ(proposed(guess, column, row), row < kRows / 2 ? 0u : std::uint32_t(kForest))
                    << column << "," << row;
            }
}

TEST(TerrainGuess, TheDirectionOfThinStrokesTellsApartGroundsDrawnAlike) {
    // Reeds drawn upright in the top half, hatching across in the bottom half: the same strokes and
    // grain turned a quarter, so that only their direction differs.
    GridMap map([](int, int row, int x, int y) {
        const int along = row < kRows / 2 ? y : x, across = row < kRows / 2 ? x : y;
        const bool stroke = across % 4 == 0 && (along / 3 + across / 4) % 3 == 0;
        return shade(110, 130, 80, stroke ? -50 : grain(across, along) / 2);
    });
    constexpr std::int32_t kSwamp = 32;
    map.give(0, 0, kSwamp), map.give(5, 1, kSwamp), map.give(3, 2, kSwamp);
    map.give(1, 3, 0), map.give(6, 4, 0), map.give(2, 5, 0);
    for (const TerrainProposal& p : map.guess().proposals)
        EXPECT_EQ(p.mask, (p.province - 1) / kColumns < kRows / 2 ? std::uint32_t(kSwamp) : 0u) << p.province;
}

TEST(TerrainGuess, AThinRiverAcrossAProvinceGivesItFreshWater) {
    // A river three pixels wide crosses rows 1 and 4; every other province has as much of its blue in
    // a town's roofs, so only the river's shape, a thin line, tells them apart.
    GridMap map([](int column, int row, int x, int y) {
        const int cx = x % kCell, cy = y % kCell;
        const bool blue = row == 1 || row == 4 ? cy >= 8 && cy < 11 : cx >= 24 && cx < 34 && cy >= 8 && cy < 17;
        if (blue) return qRgb(52, 98, 168);
        return column < kColumns / 2 ? shade(120, 170, 80, grain(x, y)) : shade(200, 180, 100, grain(x, y));
    });
    constexpr std::int32_t kFresh = 8;
    map.give(0, 1, kFresh), map.give(5, 4, kFresh), map.give(2, 4, kFresh);
    map.give(1, 0, 0), map.give(3, 2, 0), map.give(6, 3, 0), map.give(4, 5, 0), map.give(7, 0, 0);
    const TerrainGuess guess = map.guess();
    for (const TerrainProposal& p : guess.proposals) {
        const int column = (p.province - 1) % kColumns, row = (p.province - 1) / kColumns;
        EXPECT_EQ(p.mask, row == 1 || row == 4 ? std::uint32_t(kFresh) : 0u) << column << "," << row;
    }
}

TEST(TerrainGuess, DeepSeaIsTheSeaAwayFromTheCoast) {
    // Land in the two left columns, one blue sea beyond: only the land round a province tells the
    // deep sea from the shallows along the coast.
    GridMap map([](int column, int, int x, int y) {
        return column < 2 ? shade(150, 170, 100, grain(x, y)) : shade(40, 80, 160, grain(x, y));
    });
    map.give(0, 0, 0), map.give(1, 2, 0), map.give(0, 4, 0);
    map.give(2, 0, kSea), map.give(2, 3, kSea), map.give(2, 5, kSea);
    map.give(4, 1, kSea | kDeep), map.give(6, 3, kSea | kDeep), map.give(5, 5, kSea | kDeep), map.give(7, 0, kSea | kDeep);
    for (const TerrainProposal& p : map.guess().proposals) {
        const int column = (p.province - 1) % kColumns;
        EXPECT_EQ(p.mask, std::uint32_t(column < 2 ? 0 : column == 2 ? kSea : kSea | kDeep)) << p.province;
    }
}

TEST(TerrainGuess, WithoutExamplesOnlySeaAndLandAreGuessedFromTheWater) {
    // A coast running diagonally; the sea darkens away from it, as painted sea does.
    GridMap map([](int column, int row, int x, int y) {
        if (column + row < 5) return shade(30, 60, 150 - std::min(60, (5 - column - row) * 12), grain(x, y));
        return shade(150, 170, 100, grain(x, y));
    });
    map.give(7, 5, kForest), map.give(0, 0, kSea | kDeep);
    const TerrainGuess guess = map.guess();
    EXPECT_TRUE(guess.seaLandOnly);
    EXPECT_EQ(guess.examples, 2);
    EXPECT_EQ(guess.decided, std::uint32_t(kSea));
    for (const TerrainProposal& p : guess.proposals) {
        const int column = (p.province - 1) % kColumns, row = (p.province - 1) / kColumns;
        EXPECT_EQ(p.mask, column + row < 5 ? std::uint32_t(kSea) : 0u) << column << "," << row;
    }
    // Four examples are still too few to learn from; the fifth is enough.
    map.give(6, 5, kForest), map.give(1, 0, kSea);
    EXPECT_TRUE(map.guess().seaLandOnly);
    map.give(7, 4, kForest);
    const TerrainGuess learnt = map.guess();
    EXPECT_FALSE(learnt.seaLandOnly);
    EXPECT_EQ(learnt.decided, std::uint32_t(kSea | kDeep | kForest));
}

TEST(TerrainGuess, WithoutASeaExampleSeaComesFromTheWaterInThePicture) {
    // Sea in the top left corner, forest and farms beyond; the examples are all of land.
    const auto paint = [](bool lake) {
        return [lake](int column, int row, int x, int y) {
            if (column + row < 4 || (lake && column == 7 && row == 0)) return shade(30, 60, 140, grain(x, y));
            return column < 5 ? shade(40, 110, 40, grain(x, y)) : shade(210, 190, 90, grain(x, y));
        };
    };
    GridMap map(paint(false));
    const auto giveLand = [](GridMap& m) {
        m.give(0, 5, kForest), m.give(3, 3, kForest), m.give(2, 4, kForest);
        m.give(6, 1, kFarm), m.give(7, 3, kFarm), m.give(6, 5, kFarm);
    };
    giveLand(map);
    const TerrainGuess guess = map.guess();
    EXPECT_TRUE(guess.seaFromPicture);
    EXPECT_EQ(guess.decided, std::uint32_t(kSea | kForest | kFarm));
    for (const TerrainProposal& p : guess.proposals) {
        const int column = (p.province - 1) % kColumns, row = (p.province - 1) / kColumns;
        // The land examples cannot say what a sea province holds besides.
        EXPECT_EQ(p.mask, std::uint32_t(column + row < 4 ? kSea : column < 5 ? kForest : kFarm)) << column << "," << row;
    }
    // A lake among the land examples, its pixel in water as plain as the sea's: on this map water is
    // no sign of sea, and sea stays a flag no example uses.
    GridMap lakes(paint(true));
    giveLand(lakes);
    lakes.give(7, 0, kFarm | 8);
    const TerrainGuess lakeGuess = lakes.guess();
    EXPECT_FALSE(lakeGuess.seaFromPicture);
    EXPECT_EQ(lakeGuess.decided & kSea, 0u);
    for (const TerrainProposal& p : lakeGuess.proposals) EXPECT_EQ(p.mask & kSea, 0u) << p.province;
}

TEST(TerrainGuess, TakingAProposalChangesOnlyTheDecidedFlagsOfTheTakenProvinces) {
    const auto owned = std::make_unique<MapDocument>();
    MapDocument& doc = *owned;
    doc.ProvinceCount = 4;
    FakeUserInterface ui;
    // 1: no terrain yet; 2: small, no start, many sites, holy sites and a bit of a later version,
    // proposed to turn from sea into forest; 3: left out; 4: already as proposed.
    DecodeTerrainMask(doc, 2, 1 | 512 | 1024 | 2097152 | kSea | kDeep, ui);
    doc.Provinces[2].Terrain = 1 | 512 | 1024 | 2097152 | kSea | kDeep;
    doc.Provinces[2].TerrainExtraBits = 1 << 24;
    DecodeTerrainMask(doc, 3, kSea, ui);
    doc.Provinces[3].Terrain = kSea;
    DecodeTerrainMask(doc, 4, kForest, ui);
    doc.Provinces[4].Terrain = kForest;
    TerrainGuess guess;
    guess.decided = kForest | kSea | kFarm;
    guess.proposals = {{1, 0, 0.9f}, {2, kForest, 0.9f}, {3, kFarm, 0.9f}, {4, kForest, 0.9f}};
    EXPECT_EQ(applyTerrainGuess(doc, guess, {true, true, false, true}), 2);

    EXPECT_EQ(doc.Provinces[1].Terrain, 0);
    EXPECT_TRUE(doc.Provinces[1].TerrainPlain) << "plains is written as a terrain of its own";
    // Sea gone, so deep sea too; everything the guess does not decide stays.
    EXPECT_EQ(doc.Provinces[2].Terrain, 1 | 512 | 1024 | 2097152 | kForest);
    EXPECT_TRUE(doc.Provinces[2].NoStart);
    EXPECT_EQ(doc.Provinces[2].TerrainExtraBits, 1 << 24);
    EXPECT_EQ(doc.Provinces[3].Terrain, kSea);
    EXPECT_EQ(proposedTerrain(-1, kMountain, kMountain | kForest), kMountain) << "an undecided flag is never set";
}

TEST(TerrainGuess, OnTileArtEachProvinceIsReadOverItsOwnTiles) {
    // 1 fifteen tiles wide beside four small provinces in a column: the nearest pixel would give them
    // two columns of its tiles.
    TerrainGuessInput input;
    input.positions = {{120, 96}, {264, 24}, {264, 72}, {264, 120}, {264, 168}, {360, 96}};
    input.known.assign(input.positions.size(), 0);
    input.all = true;
    const QImage picture = ts::testing::tileArt(432, 192);
    const TerrainGuess guess = guessTerrain(picture, input);
    for (int y = 12; y < 192; y += 24) EXPECT_EQ(guess.regions.atPixel(200, y), 1) << y;

    // Four tiles to a province make tile art (216 tiles, 54 provinces); with fewer the grid is a
    // pattern repeating from province to province, and each pixel goes to the nearest province pixel.
    for (const std::size_t count : {std::size_t{54}, std::size_t{55}}) {
        SCOPED_TRACE(count);
        input.positions.clear();
        for (std::size_t i = 0; i < count; ++i)
            input.positions.emplace_back(int(8 + i * 37 % 416), int(8 + i * 53 % 176));
        input.known.assign(count, 0);
        const TerrainRegions regions = guessTerrain(picture, input).regions;
        bool wholeTiles = true;
        for (int y = 0; y < 192; y += 24)
            for (int x = 0; x < 432; x += 16)
                for (const QPoint corner : {QPoint(x + 15, y), QPoint(x, y + 23), QPoint(x + 15, y + 23)})
                    wholeTiles = wholeTiles && regions.atPixel(corner.x(), corner.y()) == regions.atPixel(x, y);
        EXPECT_EQ(wholeTiles, count == 54);
    }
}

TEST(TerrainGuess, OnTileArtAFlagIsToldByTheShareOfItsGlyph) {
    // Provinces of 5x5 tiles of grass, trees and peaks in any mix; a cave province has a cave mouth on
    // three of its tiles, too little of it for a vote over all its evidence to hear.
    constexpr int kTw = 16, kTh = 24, kAcross = 8, kDown = 4, kSide = 5;
    constexpr std::int32_t kCave = 4096;
    QImage picture(kAcross * kSide * kTw, kDown * kSide * kTh, QImage::Format_RGB32);
    const auto cave = [](int p) { return (p * 5 + p / kAcross) % 3 == 0; };
    QPainter painter(&picture);
    painter.setPen(QPen(QColor(20, 18, 16), 1));
    for (int ty = 0; ty < kDown * kSide; ++ty)
        for (int tx = 0; tx < kAcross * kSide; ++tx) {
            const int p = ty / kSide * kAcross + tx / kSide, slot = ((tx % kSide + ty % kSide * kSide) * 7 + p) % 25;
            const int caves = cave(p) ? 3 : 0, trees = caves + (p * 7) % 11, peaks = trees + (p * 3 + p / 5) % 13;
            const QPoint at(tx * kTw, ty * kTh);
            painter.fillRect(QRect(at, QSize(kTw, kTh)), QColor(98, 164, 66));
            painter.setBrush(slot < caves ? QColor(22, 18, 16) : slot < trees ? QColor(22, 84, 34) : QColor(196, 186, 166));
            if (slot < caves) painter.drawEllipse(QRect(at + QPoint(3, 8), QSize(10, 12)));
            else if (slot < trees) painter.drawPolygon(QPolygon({at + QPoint(8, 3), at + QPoint(3, 18), at + QPoint(13, 18)}));
            else if (slot < peaks) painter.drawPolygon(QPolygon({at + QPoint(8, 4), at + QPoint(1, 21), at + QPoint(15, 21)}));
            else painter.drawLine(at + QPoint(4, 14), at + QPoint(6, 11));
            painter.fillRect(at.x() + kTw - 1, at.y(), 1, kTh, QColor(60, 60, 40));
            painter.fillRect(at.x(), at.y() + kTh - 1, kTw, 1, QColor(60, 60, 40));
        }
    painter.end();
    // The examples are the southern half.
    TerrainGuessInput input;
    for (int p = 0; p < kAcross * kDown; ++p) {
        const QPoint at((p % kAcross * kSide + 2) * kTw + 8, (p / kAcross * kSide + 2) * kTh + 12);
        picture.setPixel(at, qRgb(255, 255, 255));
        input.positions.push_back(at);
        input.known.push_back(p / kAcross < kDown / 2 ? -1 : cave(p) ? kCave : 0);
    }
    const TerrainGuess guess = guessTerrain(picture, input);
    ASSERT_EQ(guess.proposals.size(), std::size_t(kAcross * kDown / 2));
    for (const TerrainProposal& p : guess.proposals)
        EXPECT_EQ(p.mask, cave(p.province - 1) ? std::uint32_t(kCave) : 0u) << p.province;
}

// The generated pictures of each art style, their terrain painted to match their masks. The floors
// are the figures the README reports (a fifth of the provinces given, five draws); a change to the
// guess that loses accuracy fails here.
TEST(TerrainGuess, TestPicturesStayAboveTheirReportedAccuracy) {
    const QString maps = QStringLiteral(TESSARY_PROGRAM_DIR "/maps/");
    const struct {
        const char* name;
        double sea, flags;
    } cases[] = {{"style_painted", 0.99, 0.902}, {"style_tiles", 0.99, 0.91}, {"style_borders", 0.98, 0.921},
                 {"style_rivers", 0.985, 0.905}, {"aelfheim_painted", 0.99, 0.97}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile file(maps + QLatin1String(c.name) + QStringLiteral(".map"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const DecodedImage decoded = decodeMapImage(maps + QLatin1String(c.name) + QStringLiteral(".tga"), false);
        ASSERT_TRUE(decoded.ok());
        auto doc = std::make_unique<MapDocument>();
        FakeUserInterface ui;
        z_LocateProvinces(decoded.image, *doc, ui, QString());
        std::vector<std::int32_t> truth(static_cast<std::size_t>(doc->ProvinceCount), -1);
        const QRegularExpression terrain(QStringLiteral("^#terrain (\\d+) (\\d+)$"), QRegularExpression::MultilineOption);
        for (auto it = terrain.globalMatch(QString::fromLatin1(file.readAll())); it.hasNext();) {
            const auto m = it.next();
            truth.at(static_cast<std::size_t>(m.captured(1).toInt()) - 1) = m.captured(2).toInt();
        }
        TerrainGuessInput input;
        input.positions = provincePixels(*doc);
        TerrainScore score;
        for (std::uint32_t seed = 1; seed <= 5; ++seed) score.add(measureTerrainGuess(decoded.image, input, truth, 0.2, seed));
        std::printf("%s: sea/land %.3f, flags %.3f\n", c.name, score.seaShare(), score.flagShare());
        EXPECT_GE(score.seaShare(), c.sea);
        EXPECT_GE(score.flagShare(), c.flags);
    }
}

} // namespace
