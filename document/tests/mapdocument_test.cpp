#include "documenttesting.h"

using namespace ts;

namespace {

using DocumentTest = ts::testing::DocumentTest;

TEST_F(DocumentTest, ResetEmptiesEveryTableNamesTheNationsAndReportsProgress) {
    ref->NationData[5].name = "Ermor";
    ProvinceDataType& p = doc->Provinces[2599];
    CommanderDataType& c = p.Commanders[39];
    p.LandName = c.Items[7] = doc->Nations[99].God.ComName = doc->MapTitle = "Old";
    c.BodyguardIndex[9] = p.Neighbours[19] = p.Owner = doc->Nations[99].NationNumber = 7;
    doc->Nations[99].Allies[3] = doc->WrapAround = doc->MapModified = doc->PanelDirty[NationDirty] = true;
    doc->MapTextColor[3] = 0.5f;
    bool windowReset = false;

    ResetMapDocument(*doc, *ref, ui, [&] { windowReset = true; });

    EXPECT_TRUE(windowReset);
    EXPECT_TRUE(p.LandName.empty() && c.Items[7].empty() && doc->Nations[99].God.ComName.empty() &&
                doc->MapTitle.empty());
    EXPECT_EQ(std::vector<int>({c.BodyguardIndex[9], c.RandomEquip, p.Neighbours[19], p.Owner, p.Terrain,
                                p.GroundCol[2], doc->Nations[99].NationNumber, doc->Nations[99].ScaleUnmagic}),
              std::vector<int>({-1, -1, -1, -1, -1, -1, 99, -999}));
    EXPECT_EQ(doc->Nations[5].NationName, "Ermor");
    EXPECT_EQ(doc->MapTextColor[3], -1.0f);
    EXPECT_FALSE(doc->Nations[99].Allies[3] || doc->WrapAround || doc->MapModified || doc->anyPanelDirty());

    // The busy message names the Forge Lord every 27th province, its colour growing with the number.
    ASSERT_EQ(ui.busy.size(), 2u + 96u); // 26, 53, ... 2591
    EXPECT_EQ(ui.busy.front().message, "Refreshing Blood Pool...");
    EXPECT_EQ(ui.busy.front().caption, "Tessary: Refreshing Blood Pool...");
    EXPECT_EQ(ui.busy.front().color, 255u);
    EXPECT_EQ(ui.busy[1].message, "The Forge Lord approaches...");
    EXPECT_EQ(ui.busy[1].caption, "Tessary: THE FORGE LORD APPROACHES...");
    EXPECT_EQ(ui.busy[1].color, 3315u);  // province 26
    EXPECT_EQ(ui.busy[2].color, 6758u);  // province 53: 6757.5, the half goes to the even neighbour
    EXPECT_EQ(ui.busy[3].color, 10200u); // province 80
    EXPECT_EQ(ui.busy[4].color, 13642u); // province 107: 13642.5, down to the even one
    EXPECT_TRUE(ui.busy.back().message.isEmpty());
    EXPECT_EQ(ui.busy.back().caption, "Tessary: Awaiting the master...");
    EXPECT_TRUE(ui.messages.empty());
}

// The memory under a commander slot is only taken when the slot is written; emptying or copying
// over a slot keeps it where it is, so a reference to it holds as it did with a plain array.
TEST_F(DocumentTest, CommanderSlotsAreBuiltOnlyWhenWrittenAndStayPutWhenEmptied) {
    ProvinceDataType& p = doc->Provinces[3];
    CommanderDataType& kept = p.Commanders[2];
    kept.UnitName = "Scout";
    kept.UnitIndex = 7;
    const ProvinceDataType& seen = p;
    EXPECT_EQ(seen.Commanders[5].UnitIndex, -1);
    EXPECT_TRUE(seen.Commanders[5].UnitName.empty());
    EXPECT_TRUE(p.Commanders.built(2));
    EXPECT_FALSE(p.Commanders.built(0) || p.Commanders.built(5));

    doc->Provinces[4] = p;
    EXPECT_TRUE(doc->Provinces[4] == p);
    EXPECT_EQ(doc->Provinces[4].Commanders[2].UnitName, "Scout");

    doc->Provinces[4] = doc->Provinces[9]; // an empty province copied over empties the slot
    EXPECT_TRUE(doc->Provinces[4] == doc->Provinces[9]);
    ResetProvince(p);
    EXPECT_EQ(&kept, &p.Commanders[2]);
    EXPECT_TRUE(kept.UnitName.empty());
    EXPECT_EQ(kept.UnitIndex, -1);
    EXPECT_TRUE(p == doc->Provinces[9]);
}

TEST_F(DocumentTest, TerrainMasksDecodeToFlagsAndBackAndOnlyInvalidOnesAreReported) {
    const std::vector<int> all = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22};
    struct Case {
        std::int32_t mask;
        std::vector<int> bits;
        bool plain, noStart;
        const char* report; // the end of the message, or nullptr for none
    };
    // In order on one province: bit 9 sets NoStart, and nothing clears it again.
    const Case cases[] = {
        {0, {}, true, false, nullptr},      {1, {0}, true, false, nullptr},
        {2, {1}, true, false, nullptr},     {3, {0, 1}, false, false, nullptr},
        {512, {9}, false, true, nullptr},   {4, {2}, false, true, nullptr},
        {8388608, all, false, true, "Province# 7, Mask 1"}, {-5, {}, true, true, "Province# 7, Mask -5"},
    };
    const ProvinceDataType& p = doc->Provinces[7];
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mask);
        ui.messages.clear();
        DecodeTerrainMask(*doc, 7, c.mask, ui);
        std::vector<int> bits;
        for (int k = 0; k < kTerrainBits; ++k)
            if (p.TerrainBit[k]) bits.push_back(k);
        EXPECT_EQ(bits, c.bits);
        EXPECT_EQ(p.TerrainPlain, c.plain);
        EXPECT_EQ(p.NoStart, c.noStart);
        EXPECT_EQ(p.Terrain, -1); // decoding leaves the stored mask alone
        if (c.report) {
            EXPECT_EQ(ui.titles(), QStringList{"Terrain Mask Invalid!"});
            EXPECT_EQ(ui.messages[0].text, QString("Terrain Value <> 0! Error in province terrain value! ") + c.report);
        } else {
            EXPECT_TRUE(ui.messages.empty());
        }
    }
    DecodeTerrainMask(*doc, 1, 4194305, ui);
    ComputeTerrainMask(*doc, 1);
    EXPECT_EQ(doc->Provinces[1].Terrain, 4194305);
    DecodeTerrainMask(*doc, 2, 1, ui); // the plain flag does not count
    doc->Provinces[2].TerrainBit[0] = false;
    ComputeTerrainMask(*doc, 2);
    EXPECT_EQ(doc->Provinces[2].Terrain, 0);
}

TEST_F(DocumentTest, GodsGoToSlotZeroAndCountOnlyWithARealUnit) {
    const std::tuple<int, int, const char*, int> gods[] = {{10, 40, "Great Sage", 17}, {11, 41, "Odd", 0},
                                                           {12, 0, "Nobody", 5}};
    for (const auto& [nation, start, name, index] : gods) {
        doc->Nations[nation].SpecStartProvince = static_cast<std::int16_t>(start);
        doc->Nations[nation].GodName = name;
        doc->Nations[nation].GodIndex = static_cast<std::int16_t>(index);
    }
    PlaceGodsAtStarts(*doc);
    EXPECT_EQ(doc->Provinces[40].Commanders[0].UnitName, "Great Sage");
    EXPECT_EQ(doc->Provinces[40].Commanders[0].UnitIndex, 17);
    EXPECT_EQ(doc->Provinces[40].CommanderCount, 1);
    EXPECT_EQ(doc->Provinces[41].Commanders[0].UnitName, "Odd");
    EXPECT_EQ(doc->Provinces[41].CommanderCount, 0);
    EXPECT_TRUE(doc->Provinces[0].Commanders[0].UnitName.empty());
}

} // namespace
