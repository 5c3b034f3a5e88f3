#include "mapcheck.h"

#include "documenttesting.h"

#include <functional>
#include <gtest/gtest.h>
#include <tuple>

using namespace ts;

namespace {

// Six provinces on a 1000 x 600 picture, every link mutual and short, nothing unknown to the tables.
//   1 (100,100) - 2 (200,100) - 3 (300,100)
//   |                           |
//   5 (150,300) ------------- 6 (400,400) - 4 (650,200)
const QSize kPicture(1000, 600);

struct MapCheckTest : ts::testing::DocumentTest {
    MapCheckTest() {
        const int xy[][2] = {{100, 100}, {200, 100}, {300, 100}, {650, 200}, {150, 300}, {400, 400}};
        doc->ProvinceCount = 6;
        for (int p = 1; p <= 6; ++p) {
            prov(p).ProvinceX = xy[p - 1][0];
            prov(p).ProvinceY = xy[p - 1][1];
        }
        for (auto [a, b] : {std::pair{1, 2}, {2, 3}, {1, 5}, {3, 6}, {5, 6}, {6, 4}})
            link(a, b), link(b, a);
        ref->ItemData[5].name = "Jade Mace";
    }
    // Each case of a table spoils a fresh map of its own.
    void TestBody() override {}
    void link(int from, int to) {
        for (std::int16_t& slot : prov(from).Neighbours) {
            if (slot < 1) {
                slot = static_cast<std::int16_t>(to);
                return;
            }
        }
    }
    void unlink(int from, int to) {
        for (std::int16_t& slot : prov(from).Neighbours)
            if (slot == to) slot = -1;
    }
};

// What a finding is about, leaving the wording to the user's eye.
using Seen = std::tuple<FindingKind, int, int, bool>;

std::vector<Seen> seen(const std::vector<MapFinding>& findings) {
    std::vector<Seen> out;
    for (const MapFinding& f : findings)
        out.emplace_back(f.kind, f.province, f.other, f.fixable);
    return out;
}

TEST_F(MapCheckTest, TheHandMadeMapIsClean) { EXPECT_TRUE(CheckMap(*doc, *ref, kPicture).empty()); }

struct Case {
    const char* name;
    std::function<void(MapCheckTest&)> spoil;
    std::vector<Seen> found;
    std::vector<Seen> afterFix; // after every fixable finding was fixed
};

TEST_F(MapCheckTest, EveryKindOfFindingWithAndWithoutItsFix) {
    using K = FindingKind;
    const std::vector<Case> cases = {
        {"one-sided link", [](MapCheckTest& t) { t.link(1, 3); }, {{K::NotMutual, 1, 3, true}}, {}},
        {"one-sided link to a full list",
         [](MapCheckTest& t) {
             t.link(1, 3);
             for (int k = 0; k < 18; ++k) t.link(3, 2);
         },
         {{K::NotMutual, 1, 3, false}},
         {{K::NotMutual, 1, 3, false}}},
        {"one-sided link from the higher number", [](MapCheckTest& t) { t.unlink(1, 2); },
         {{K::NotMutual, 2, 1, true}}, {}},
        {"link to a province beyond the picture, both halves",
         [](MapCheckTest& t) { t.link(1, 9), t.link(9, 1); },
         {{K::LinkToMissing, 1, 9, true}, {K::BeyondLocated, 9, 0, false}}, {}},
        {"province with no neighbour", [](MapCheckTest& t) { t.unlink(4, 6), t.unlink(6, 4); },
         {{K::NoNeighbour, 4, 0, false}}, {{K::NoNeighbour, 4, 0, false}}},
        {"neighbours far apart", [](MapCheckTest& t) { t.link(1, 4), t.link(4, 1); },
         {{K::FarNeighbour, 1, 4, false}}, {{K::FarNeighbour, 1, 4, false}}},
        {"far apart, the map does not wrap",
         [](MapCheckTest& t) {
             t.prov(4).ProvinceX = 950;
             t.link(1, 4), t.link(4, 1);
         },
         {{K::FarNeighbour, 1, 4, false}, {K::FarNeighbour, 4, 6, false}},
         {{K::FarNeighbour, 1, 4, false}, {K::FarNeighbour, 4, 6, false}}},
        {"close across the left and right edges of a map that wraps",
         [](MapCheckTest& t) {
             t.doc->WrapAround = true;
             t.prov(4).ProvinceX = 950;
             t.prov(4).ProvinceY = 500;
             t.unlink(4, 6), t.unlink(6, 4);
             t.link(1, 4), t.link(4, 1);
         },
         {}, {}},
        {"described beyond the picture", [](MapCheckTest& t) { t.prov(40).LandName = "Farhold"; },
         {{K::BeyondLocated, 40, 0, false}}, {{K::BeyondLocated, 40, 0, false}}},
        {"two special starts for one nation",
         [](MapCheckTest& t) {
             for (int p : {5, 2}) t.prov(p).SpecStart = true, t.prov(p).SpecStartNation = 7;
             t.doc->Nations[7].SpecStartProvince = 5;
         },
         {{K::ManySpecialStarts, 2, 5, false}}, {{K::ManySpecialStarts, 2, 5, false}}},
        {"allowed players without start provinces",
         [](MapCheckTest& t) {
             for (int n : {1, 2, 3}) t.doc->Nations[n].AllowedPlayer = true;
             t.doc->Nations[3].SpecStartProvince = 6;
             t.prov(6).SpecStart = true, t.prov(6).Start = true; // taken by its special start
             t.prov(2).Start = true;
         },
         {{K::FewStarts, 0, 0, false}}, {{K::FewStarts, 0, 0, false}}},
        {"as many starts as allowed players",
         [](MapCheckTest& t) {
             for (int n : {1, 2}) t.doc->Nations[n].AllowedPlayer = true;
             t.prov(2).Start = t.prov(4).Start = true;
         },
         {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MapCheckTest t;
        c.spoil(t);
        const std::vector<MapFinding> found = CheckMap(*t.doc, *t.ref, kPicture);
        EXPECT_EQ(seen(found), c.found);
        for (const MapFinding& f : found)
            EXPECT_EQ(FixFinding(*t.doc, f), f.fixable) << f.text.toStdString();
        EXPECT_EQ(seen(CheckMap(*t.doc, *t.ref, kPicture)), c.afterFix);
    }
}

TEST_F(MapCheckTest, ReferencesTheTablesDoNotHold) {
    CommanderDataType& c = prov(2).Commanders[3];
    c.UnitName = "Lost Warlord"; // kept by name
    c.UnitIndex = -1;
    c.BodyguardName[1] = "Unit 20";
    c.BodyguardIndex[1] = 20;
    c.UnitsName[4] = "3012"; // kept by number
    c.UnitsIndex[4] = 3012;
    c.Items[0] = "jade mace"; // the tables' case does not matter
    c.Items[2] = "Glass Crown";
    prov(2).Commanders[0].UnitName = "Nameless God"; // the god's copy in its start, told once
    prov(3).SiteName[1] = "Sunken Hall";
    prov(3).KnownSiteName[0] = "Site 12";
    prov(3).KnownSiteIndex[0] = 12;
    prov(3).KnownSiteName[2] = "699";
    prov(3).KnownSiteIndex[2] = 699;
    doc->Nations[4].God.UnitName = "Nameless God";
    doc->Nations[4].SpecStartProvince = 2;
    doc->Nations[4].NationName = "Ulm";
    doc->Nations[9].God.UnitName = "Pale King"; // no start: told with the map as a whole
    doc->Nations[9].God.UnitIndex = 55;
    doc->Nations[9].God.Items[0] = "Glass Crown";

    const std::vector<MapFinding> found = CheckMap(*doc, *ref, kPicture);
    std::vector<std::tuple<int, int, int, std::string>> got;
    for (const MapFinding& f : found) {
        EXPECT_EQ(f.kind, FindingKind::NotInTables);
        EXPECT_FALSE(f.fixable);
        EXPECT_FALSE(FixFinding(*doc, f));
        got.emplace_back(f.province, f.nation, f.slot, f.text.toStdString());
    }
    const std::vector<std::tuple<int, int, int, std::string>> expected = {
        {0, 9, 0, "Nation 9, god: item \"Glass Crown\" is not in the item table"},
        {2, -1, 3, "Province 2, commander 3: unit \"Lost Warlord\" is not in the unit table"},
        {2, -1, 3, "Province 2, commander 3: troops \"3012\" is not in the unit table"},
        {2, -1, 3, "Province 2, commander 3: item \"Glass Crown\" is not in the item table"},
        {2, 4, 0, "Nation 4 (Ulm), god: unit \"Nameless God\" is not in the unit table"},
        {3, -1, 1, "Province 3: site \"Sunken Hall\" is not in the site table"},
        {3, -1, 2, "Province 3: known site \"699\" is not in the site table"},
    };
    EXPECT_EQ(got, expected);
}

TEST_F(MapCheckTest, FindingsComeByProvinceWithTheMapAsAWholeFirst) {
    prov(3).LandName = "Ash%2fen"; // a name is no pattern
    unlink(6, 3);
    link(1, 9);
    doc->Nations[1].AllowedPlayer = true;
    const std::vector<MapFinding> found = CheckMap(*doc, *ref, kPicture);
    EXPECT_EQ(seen(found), (std::vector<Seen>{{FindingKind::FewStarts, 0, 0, false},
                                              {FindingKind::LinkToMissing, 1, 9, true},
                                              {FindingKind::NotMutual, 3, 6, true}}));
    EXPECT_EQ(found[2].text.toStdString(), "Province 3 (Ash%2fen) lists 6 as a neighbour, but 6 does not list 3");
}

TEST_F(MapCheckTest, WithoutAPictureOnlyTheListsAreComparedWithEachOther) {
    doc->ProvinceCount = 0;
    link(1, 40);
    unlink(4, 6), unlink(6, 4);
    prov(50).LandName = "Farhold";
    const std::vector<MapFinding> found = CheckMap(*doc, *ref);
    EXPECT_EQ(seen(found), (std::vector<Seen>{{FindingKind::NotMutual, 1, 40, true}}));
    ASSERT_TRUE(FixFinding(*doc, found[0]));
    EXPECT_TRUE(CheckMap(*doc, *ref).empty());
}

TEST_F(MapCheckTest, AFixThatNoLongerHoldsChangesNothing) {
    link(1, 3);
    link(1, 9);
    const std::vector<MapFinding> found = CheckMap(*doc, *ref, kPicture);
    ASSERT_EQ(found.size(), 2u);
    for (const MapFinding& f : found) {
        EXPECT_TRUE(FixFinding(*doc, f));
        EXPECT_FALSE(FixFinding(*doc, f)) << f.text.toStdString();
    }
    // The back link goes into the first free slot; the dropped link leaves its slot empty.
    EXPECT_EQ(prov(3).Neighbours[2], 1);
    EXPECT_EQ(std::count(std::begin(prov(1).Neighbours), std::end(prov(1).Neighbours), 9), 0);
    // A link beyond the picture that the picture now holds is not dropped.
    link(1, 9);
    MapFinding stale = CheckMap(*doc, *ref, kPicture).at(0);
    doc->ProvinceCount = 9;
    EXPECT_FALSE(FixFinding(*doc, stale));
}

} // namespace
