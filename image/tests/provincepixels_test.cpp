#include "edithistory.h"
#include "fakeuserinterface.h"
#include "mapdocument.h"
#include "provincelocator.h"
#include "provincepixels.h"
#include "testimages.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <set>

using namespace ts;
using namespace ts::testing;

namespace {

constexpr QRgb kWhite = 0xFFFFFFFFu;

// What a province is, wherever it stands: its record without the fields that follow from numbers
// and places, the names of its neighbours, and which nation starts there.
struct Expected {
    ProvinceDataType record;
    std::set<std::string> neighbours;
};

std::string nameOf(const MapDocument& doc, int p) { return doc.Provinces[p].LandName.str(); }

ProvinceDataType withoutNumbers(ProvinceDataType r) {
    r.ProvinceX = r.ProvinceY = -1;
    std::fill(std::begin(r.Neighbours), std::end(r.Neighbours), std::int16_t(-1));
    return r;
}

// A map with every kind of reference: names, terrain, links, starts and no-starts, special starts
// with gods, owners, commanders, sites, victory points, marks, a current province.
struct Fixture {
    std::unique_ptr<MapDocument> doc = std::make_unique<MapDocument>();
    QImage picture = filledPicture(48, 40, qRgb(40, 90, 160)).convertToFormat(QImage::Format_RGB32);
    FakeUserInterface ui;

    Fixture() {
        std::mt19937 rng(7);
        for (int y = 1; y < picture.height(); y += 4)
            for (int x = 1 + (y / 4) % 3; x < picture.width(); x += 5)
                if (rng() % 3) picture.setPixel(x, y, kWhite);
        z_LocateProvinces(picture, *doc, ui, QString());
        for (int p = 1; p <= doc->ProvinceCount; ++p) {
            ProvinceDataType& r = doc->Provinces[p];
            r.LandName = "Land" + std::to_string(p);
            r.Terrain = p * 3;
            r.Start = p % 5 == 0;
            r.NoStart = p % 7 == 0;
            r.Owner = static_cast<std::int16_t>(p % 11);
            r.VictoryPoints = static_cast<std::int16_t>(p % 4);
            r.Marked = p % 6 == 0;
            r.Commanders[1].UnitName = "Cmdr";
            r.Commanders[1].ComName = r.LandName;
            r.CommanderCount = 1;
            r.SiteName[0] = "Site" + std::to_string(p);
            for (int k = 1; k <= 3; ++k) {
                const int n = static_cast<int>(rng() % doc->ProvinceCount) + 1;
                if (n == p) continue;
                r.Neighbours[k] = static_cast<std::int16_t>(n);
                for (std::int16_t& s : doc->Provinces[n].Neighbours)
                    if (s < 1) {
                        s = static_cast<std::int16_t>(p);
                        break;
                    }
            }
        }
        for (int nation = 0; nation < 4; ++nation) {
            const int p = 3 + nation * 9;
            doc->Nations[nation].SpecStartProvince = static_cast<std::int16_t>(p);
            doc->Nations[nation].GodName = "God";
            doc->Provinces[p].SpecStart = true;
            doc->Provinces[p].SpecStartNation = static_cast<std::int16_t>(nation);
            doc->Provinces[p].Commanders[0].UnitName = "God";
        }
        doc->CurProvince = 4;
    }

    // Every province as it is now, by its name.
    std::map<std::string, Expected> expected() const {
        std::map<std::string, Expected> e;
        for (int p = 1; p <= doc->ProvinceCount; ++p) {
            Expected& x = e[nameOf(*doc, p)];
            x.record = withoutNumbers(doc->Provinces[p]);
            for (const std::int16_t n : doc->Provinces[p].Neighbours)
                if (n > 0) x.neighbours.insert(nameOf(*doc, n));
        }
        return e;
    }

    PixelSetter setter() {
        return [this](int x, int y, std::uint32_t rgb) { picture.setPixel(x, y, 0xFF000000u | rgb); };
    }
};

} // namespace

// Random inserts, removals and moves: after every step each province found on the picture carries
// its own record and links, the numbers agree with a fresh scan, and undoing every step gives back
// the document and the picture exactly.
TEST(ProvinceTools, RandomEditsKeepEveryReferenceWithItsPlaceAndUndoGivesAllBack) {
    Fixture f;
    const QImage originalPicture = f.picture;
    auto original = std::make_unique<MapDocument>();
    for (int p = 0; p < kProvinceSlots; ++p) original->Provinces[p] = f.doc->Provinces[p];
    for (int n = 0; n < kNationCount; ++n) original->Nations[n] = f.doc->Nations[n];
    const int originalCount = f.doc->ProvinceCount;
    std::map<std::string, Expected> expected = f.expected();
    std::map<int, std::string> startOf; // nation -> province name
    for (int n = 0; n < 4; ++n) startOf[n] = nameOf(*f.doc, f.doc->Nations[n].SpecStartProvince);
    std::string current = nameOf(*f.doc, f.doc->CurProvince);

    EditJournal journal(*f.doc);
    const auto empty = std::make_unique<ProvinceDataType>();
    auto scanned = std::make_unique<MapDocument>();
    std::mt19937 rng(2024);
    int added = 0, steps = 0;
    for (int round = 0; round < 60; ++round) {
        const int kind = static_cast<int>(rng() % 3);
        const QPoint spot(static_cast<int>(rng() % f.picture.width()), static_cast<int>(rng() % f.picture.height()));
        const int province = static_cast<int>(rng() % f.doc->ProvinceCount) + 1;
        const std::string name = nameOf(*f.doc, province);
        ProvincePixelEdit edit = kind == 0   ? planInsert(*f.doc, f.picture, spot)
                                 : kind == 1 ? planRemove(*f.doc, f.picture, province)
                                             : planMove(*f.doc, f.picture, province, spot);
        if (!edit.ok()) continue;
        SCOPED_TRACE("round " + std::to_string(round) + " kind " + std::to_string(kind));
        auto change = edit.change(f.setter());
        change->apply(*f.doc);
        ASSERT_TRUE(journal.record(EditStep::of(std::move(change), "edit")));
        ++steps;
        if (kind == 0) {
            // An added province is empty; it takes a name only in the model, to be told apart.
            expected["added" + std::to_string(++added)] = Expected{withoutNumbers(ProvinceDataType{}), {}};
        } else if (kind == 1) {
            expected.erase(name);
            for (auto& [other, e] : expected) e.neighbours.erase(name);
            for (auto& [nation, start] : startOf)
                if (start == name) start.clear();
            if (current == name) current.clear();
        }

        // The numbers are the picture's, as a fresh scan gives them.
        z_LocateProvinces(f.picture, *scanned, f.ui, QString());
        ASSERT_EQ(scanned->ProvinceCount, f.doc->ProvinceCount);
        int addedSeen = 0;
        for (int p = 1; p <= f.doc->ProvinceCount; ++p) {
            ASSERT_EQ(f.doc->Provinces[p].ProvinceX, scanned->Provinces[p].ProvinceX);
            ASSERT_EQ(f.doc->Provinces[p].ProvinceY, scanned->Provinces[p].ProvinceY);
            const std::string n = nameOf(*f.doc, p);
            if (n.empty()) {
                ++addedSeen;
                EXPECT_EQ(withoutNumbers(f.doc->Provinces[p]), withoutNumbers(ProvinceDataType{}));
                for (const std::int16_t s : f.doc->Provinces[p].Neighbours) EXPECT_LT(s, 1);
                continue;
            }
            ASSERT_TRUE(expected.count(n)) << n;
            EXPECT_EQ(withoutNumbers(f.doc->Provinces[p]), expected[n].record) << n;
            std::set<std::string> links;
            for (const std::int16_t s : f.doc->Provinces[p].Neighbours)
                if (s > 0) links.insert(nameOf(*f.doc, s));
            EXPECT_EQ(links, expected[n].neighbours) << n;
        }
        EXPECT_EQ(static_cast<std::size_t>(f.doc->ProvinceCount - addedSeen + added), expected.size());
        for (const auto& [nation, start] : startOf) {
            const int p = f.doc->Nations[nation].SpecStartProvince;
            EXPECT_EQ(p > 0 ? nameOf(*f.doc, p) : std::string(), start);
        }
        EXPECT_EQ(f.doc->CurProvince >= 1 ? nameOf(*f.doc, f.doc->CurProvince) : std::string(), current);
    }
    // Nothing is left behind the last province.
    for (int p = f.doc->ProvinceCount + 1; p < kProvinceSlots; ++p) ASSERT_TRUE(f.doc->Provinces[p] == *empty) << p;
    EXPECT_GT(steps, 20);
    EXPECT_GT(added, 3);

    while (journal.history().canUndo()) journal.undo();
    EXPECT_EQ(f.picture, originalPicture);
    EXPECT_EQ(f.doc->ProvinceCount, originalCount);
    EXPECT_EQ(f.doc->CurProvince, 4);
    for (int p = 0; p < kProvinceSlots; ++p) ASSERT_EQ(f.doc->Provinces[p], original->Provinces[p]) << p;
    for (int n = 0; n < kNationCount; ++n) ASSERT_EQ(f.doc->Nations[n], original->Nations[n]) << n;
}

TEST(ProvinceTools, RefusesSpotsThatWouldNotMakeOneClearProvince) {
    Fixture f;
    const ProvincePlace first{f.doc->Provinces[1].ProvinceX, f.doc->Provinces[1].ProvinceY};
    const QPoint white = pixelOfPlace(first);
    for (const auto& [spot, words] : {std::pair{QPoint(-1, 3), "outside"},
                                      std::pair{QPoint(f.picture.width(), 0), "outside"},
                                      std::pair{white, "already"},
                                      std::pair{white + QPoint(1, 1), "touches"},
                                      std::pair{white + QPoint(0, -1), "touches"}}) {
        const ProvincePixelEdit e = planInsert(*f.doc, f.picture, spot);
        EXPECT_TRUE(e.refusal.contains(QLatin1String(words))) << e.refusal.toStdString();
        EXPECT_TRUE(e.pixels.empty());
    }
    // A move may go right beside the pixel it leaves.
    EXPECT_TRUE(planMove(*f.doc, f.picture, 1, white + QPoint(1, 0)).ok());
    EXPECT_FALSE(planMove(*f.doc, f.picture, 1, white).ok());
    EXPECT_FALSE(planRemove(*f.doc, f.picture, 0).ok());

    f.doc->ProvinceCount = kMaxProvince;
    EXPECT_TRUE(planInsert(*f.doc, f.picture, QPoint(0, 0)).refusal.contains(QLatin1String("2599")));
}

TEST(ProvinceTools, RemovedPixelTakesTheMeanOfItsNonWhiteSurroundings) {
    QImage picture = filledPicture(3, 3, qRgb(10, 20, 30)).convertToFormat(QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(30, 40, 50));
    picture.setPixel(2, 2, kWhite);
    picture.setPixel(1, 1, kWhite);
    // Six of 10,20,30, one of 30,40,50; the white corner does not count.
    EXPECT_EQ(surroundingColour(picture, QPoint(1, 1)), qRgb(13, 23, 33));
    EXPECT_EQ(surroundingColour(picture, QPoint(2, 2)), qRgb(10, 20, 30));
}
