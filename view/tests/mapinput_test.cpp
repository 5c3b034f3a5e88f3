#include "mapinput.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <memory>

using namespace ts;

namespace {
struct MapInputTest : ::testing::Test {
    std::unique_ptr<MapDocument> doc = std::make_unique<MapDocument>();
    std::vector<int> neighbours(int p) const {
        std::vector<int> out;
        for (auto n : doc->Provinces[p].Neighbours)
            if (n > 0) out.push_back(n);
        return out;
    }
};
} // namespace

TEST_F(MapInputTest, LinkingTogglesBothSidesAndMendsOneSidedLinks) {
    EXPECT_TRUE(toggleNeighbourLink(*doc, 3, 8));
    EXPECT_EQ(neighbours(3), std::vector<int>{8});
    EXPECT_EQ(neighbours(8), std::vector<int>{3});
    EXPECT_TRUE(toggleNeighbourLink(*doc, 8, 3));
    EXPECT_TRUE(neighbours(3).empty());
    EXPECT_TRUE(neighbours(8).empty());
    // A one-sided link, even a repeated one, is removed rather than doubled.
    doc->Provinces[3].Neighbours[5] = doc->Provinces[3].Neighbours[9] = 8;
    toggleNeighbourLink(*doc, 3, 8);
    EXPECT_TRUE(neighbours(3).empty());
    EXPECT_TRUE(neighbours(8).empty());

    EXPECT_FALSE(toggleNeighbourLink(*doc, 3, 3));
    EXPECT_FALSE(toggleNeighbourLink(*doc, -999, 3));
    EXPECT_FALSE(toggleNeighbourLink(*doc, 3, 0));
    for (int k = 0; k < kNeighbourSlots; ++k)
        doc->Provinces[4].Neighbours[k] = static_cast<std::int16_t>(100 + k);
    toggleNeighbourLink(*doc, 4, 9);
    EXPECT_EQ(neighbours(4).size(), 20u);
    EXPECT_EQ(neighbours(9), std::vector<int>{4}); // the other side still has room
}

TEST_F(MapInputTest, CursorStatusNamesTheProvinceAndItsNationOrGivesTheDragHint) {
    doc->ProvinceCount = 1;
    doc->Provinces[1].ProvinceX = doc->Provinces[1].ProvinceY = 100;
    doc->Provinces[1].LandName = "\xC6lfheim";
    doc->Provinces[1].Owner = 5;
    doc->Nations[5].NationName = "Ulm";
    doc->Nations[7].NationName = "Marverni";

    CursorStatus s = cursorStatus(*doc, 60.0f, 60.0f, 20, 0.5f); // 20 shown px from (50, 50)
    EXPECT_EQ(QStringList({s.position, s.number, s.name, s.nation}),
              QStringList({"60x60", "1", QString::fromUtf8("Ælfheim"), "Ulm"}));
    EXPECT_EQ(s.message, "Right click to select. Left click to add/remove neighbors.");
    doc->Provinces[1].SpecStart = true;
    doc->Provinces[1].SpecStartNation = 7;
    EXPECT_EQ(cursorStatus(*doc, 110.0f, 95.0f, 20, 1.0f).nation, "Marverni");

    s = cursorStatus(*doc, 100.25f, 50.75f, 20, 1.0f);
    EXPECT_EQ(QStringList({s.position, s.number, s.name, s.nation}),
              QStringList({"100.25x50.75", "", "", ""}));
    EXPECT_EQ(s.message, "Middle click and hold to drag the map view. F5,F6,F7 & F8 to zoom.");
}
