#include "fakeuserinterface.h"
#include "mapdocument.h"
#include "referencedata.h"

#include <gtest/gtest.h>
#include <memory>

using namespace ts;

namespace {

struct DocumentTest : ::testing::Test {
    std::unique_ptr<MapDocument> doc = std::make_unique<MapDocument>();
    std::unique_ptr<ReferenceData> ref = std::make_unique<ReferenceData>();
    FakeUserInterface ui;

    std::vector<int> setBits(int p) const {
        std::vector<int> bits;
        for (int k = 0; k < kTerrainBits; ++k)
            if (doc->Provinces[p].TerrainBit[k]) bits.push_back(k);
        return bits;
    }
};

} // namespace

TEST_F(DocumentTest, ResetEmptiesEveryTableAndNamesTheNations) {
    ref->NationData[5].name = "Ermor";
    ProvinceDataType& p = doc->Provinces[2599];
    p.LandName = "Gath";
    p.Commanders[39].Items[7] = "Ring of Wizardry";
    p.Commanders[39].BodyguardIndex[9] = 12;
    p.Neighbours[19] = 4;
    p.Owner = 7;
    doc->Nations[99].Allies[3] = true;
    doc->Nations[99].God.ComName = "Ashur";
    doc->Nations[99].NationNumber = 12;
    doc->MapTitle = "Old";
    doc->MapTextColor[3] = 0.5f;
    doc->WrapAround = true;
    doc->MapModified = true;
    doc->PanelDirty[NationDirty] = true;
    bool windowReset = false;

    ResetMapDocument(*doc, *ref, ui, [&] { windowReset = true; });

    EXPECT_TRUE(windowReset);
    EXPECT_TRUE(p.LandName.empty());
    EXPECT_TRUE(p.Commanders[39].Items[7].empty());
    EXPECT_EQ(p.Commanders[39].BodyguardIndex[9], -1);
    EXPECT_EQ(p.Commanders[39].RandomEquip, -1);
    EXPECT_EQ(p.Neighbours[19], -1);
    EXPECT_EQ(p.Owner, -1);
    EXPECT_EQ(p.Terrain, -1);
    EXPECT_EQ(p.GroundCol[2], -1);
    EXPECT_FALSE(doc->Nations[99].Allies[3]);
    EXPECT_TRUE(doc->Nations[99].God.ComName.empty());
    EXPECT_EQ(doc->Nations[99].NationNumber, 99);
    EXPECT_EQ(doc->Nations[99].ScaleUnmagic, -999);
    EXPECT_EQ(doc->Nations[5].NationName, "Ermor");
    EXPECT_TRUE(doc->MapTitle.empty());
    EXPECT_EQ(doc->MapTextColor[3], -1.0f);
    EXPECT_FALSE(doc->WrapAround);
    EXPECT_FALSE(doc->MapModified);
    EXPECT_FALSE(doc->anyPanelDirty());
}

TEST_F(DocumentTest, ResetReportsProgressWithTheForgeLordEvery27thProvince) {
    ResetMapDocument(*doc, *ref, ui);
    ASSERT_GE(ui.busy.size(), 3u);
    EXPECT_EQ(ui.busy.front().message, "Refreshing Blood Pool...");
    EXPECT_EQ(ui.busy.front().caption, "Tessary: Refreshing Blood Pool...");
    EXPECT_EQ(ui.busy.front().color, 255u);
    EXPECT_EQ(ui.busy[1].message, "The Forge Lord approaches...");
    EXPECT_EQ(ui.busy[1].caption, "Tessary: THE FORGE LORD APPROACHES...");
    EXPECT_EQ(ui.busy[1].color, 3315u);  // province 26
    EXPECT_EQ(ui.busy[2].color, 6758u);  // province 53: 6757.5, the half goes to the even neighbour
    EXPECT_EQ(ui.busy[3].color, 10200u); // province 80
    EXPECT_EQ(ui.busy.size(), 2u + 96u); // 26, 53, ... 2591
    EXPECT_TRUE(ui.busy.back().message.isEmpty());
    EXPECT_EQ(ui.busy.back().caption, "Tessary: Awaiting the master...");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DocumentTest, SmallMasksArePlainAndThreeIsTwoBits) {
    for (int mask : {0, 1, 2}) {
        DecodeTerrainMask(*doc, 7, mask, ui);
        EXPECT_TRUE(doc->Provinces[7].TerrainPlain) << mask;
    }
    EXPECT_EQ(setBits(7), std::vector<int>{1}); // mask 2 leaves bit 1 set as well
    DecodeTerrainMask(*doc, 7, 3, ui);
    EXPECT_FALSE(doc->Provinces[7].TerrainPlain);
    EXPECT_EQ(setBits(7), (std::vector<int>{0, 1}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DocumentTest, Bit9SetsNoStartButNeverClearsIt) {
    DecodeTerrainMask(*doc, 3, 512, ui);
    EXPECT_EQ(setBits(3), std::vector<int>{9});
    EXPECT_TRUE(doc->Provinces[3].NoStart);
    DecodeTerrainMask(*doc, 3, 4, ui);
    EXPECT_TRUE(doc->Provinces[3].NoStart);
    EXPECT_EQ(doc->Provinces[3].Terrain, -1); // decoding leaves the stored mask alone
}

TEST_F(DocumentTest, InvalidMasksKeepTheFlagsAndReportTheRemainder) {
    DecodeTerrainMask(*doc, 12, 8388608, ui);
    EXPECT_EQ(setBits(12).size(), 23u);
    DecodeTerrainMask(*doc, 13, -5, ui);
    EXPECT_TRUE(doc->Provinces[13].TerrainPlain);
    EXPECT_TRUE(setBits(13).empty());
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].title, "Terrain Mask Invalid!");
    EXPECT_EQ(ui.messages[0].text,
              "Terrain Value <> 0! Error in province terrain value! Province# 12, Mask 1");
    EXPECT_EQ(ui.messages[1].text,
              "Terrain Value <> 0! Error in province terrain value! Province# 13, Mask -5");
}

TEST_F(DocumentTest, ComputeRebuildsWhatDecodeRead) {
    DecodeTerrainMask(*doc, 1, 4194305, ui);
    ComputeTerrainMask(*doc, 1);
    EXPECT_EQ(doc->Provinces[1].Terrain, 4194305);
    DecodeTerrainMask(*doc, 2, 1, ui); // plain does not count
    doc->Provinces[2].TerrainBit[0] = false;
    ComputeTerrainMask(*doc, 2);
    EXPECT_EQ(doc->Provinces[2].Terrain, 0);
}

TEST_F(DocumentTest, GodsGoToSlotZeroAndCountOnlyWithARealUnit) {
    NationDataType& a = doc->Nations[10];
    a.SpecStartProvince = 40;
    a.GodName = "Great Sage";
    a.GodIndex = 17;
    NationDataType& b = doc->Nations[11];
    b.SpecStartProvince = 41;
    b.GodName = "Odd";
    b.GodIndex = 0;
    NationDataType& c = doc->Nations[12];
    c.SpecStartProvince = 0;
    c.GodName = "Nobody";
    c.GodIndex = 5;

    PlaceGodsAtStarts(*doc);

    EXPECT_EQ(doc->Provinces[40].Commanders[0].UnitName, "Great Sage");
    EXPECT_EQ(doc->Provinces[40].Commanders[0].UnitIndex, 17);
    EXPECT_EQ(doc->Provinces[40].CommanderCount, 1);
    EXPECT_EQ(doc->Provinces[41].Commanders[0].UnitName, "Odd");
    EXPECT_EQ(doc->Provinces[41].CommanderCount, 0);
    EXPECT_TRUE(doc->Provinces[0].Commanders[0].UnitName.empty());
}
