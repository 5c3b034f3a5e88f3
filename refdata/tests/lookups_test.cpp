#include "lookups.h"

#include <gtest/gtest.h>
#include <memory>

namespace ts {
namespace {

// Each case runs on the scan of hand-filled tables and on the index the loader builds, which must
// give the same answers.
class LookupsTest : public ::testing::TestWithParam<bool> {
  protected:
    std::unique_ptr<ReferenceData> ref = std::make_unique<ReferenceData>();

    void SetUp() override {
        // Slot 20 holds a number that does not match it.
        for (const auto& [slot, number, name] : {std::tuple{5, 5, "Heavy Infantry"}, {9, 9, "heavy infantry"},
                                                 {12, 12, "Archer"}, {20, 7, "Scout"}, {7, 7, "Early Scout"},
                                                 {30, 32767, "Last"}, {31, -32768, "First"}})
            ref->UnitData[slot].number = static_cast<std::int16_t>(number), ref->UnitData[slot].name = name;
        for (const auto& [slot, name] : {std::pair{3, "Fountain of Youth"}, {4, "FOUNTAIN OF YOUTH"}})
            ref->SiteData[slot].number = static_cast<std::int16_t>(slot), ref->SiteData[slot].name = name;
        if (GetParam()) BuildLookupIndex(*ref);
    }
};

TEST_P(LookupsTest, NamesIgnoreCaseNumbersAreScannedAndTheLastMatchWins) {
    const std::pair<const char*, int> numbers[] = {
        {"HEAVY infantry", 9}, {"archer", 12}, {"Scout", 7}, {"Archers", -1}, {"Archer ", -1},
        {"", -1}}; // empty slots have empty names, which never match
    for (const auto& [name, number] : numbers)
        EXPECT_EQ(DataNumberOf(*ref, name, "UnitDataType"), number) << name;
    EXPECT_EQ(DataNumberOf(*ref, "fountain of youth", "SiteDataType"), 4);
    const std::pair<int, const char*> names[] = {
        {12, "Archer"}, {7, "Scout"}, {13, "Index not found!"}, {70000, "Index not found!"},
        {32767, "Last"}, {-32768, "First"}, {32768, "Index not found!"}, {-32769, "Index not found!"},
        {0, ""}}; // every empty slot holds number 0
    for (const auto& [number, name] : names)
        EXPECT_EQ(DataNameOf(*ref, number, "UnitDataType"), name) << number;
    EXPECT_EQ(DataNameOf(*ref, 3, "SiteDataType"), "Fountain of Youth");
    // Only the exact table keys find anything.
    for (const char* key : {"unitdatatype", "ItemDataType", "", "UnitData", "SiteDataType"}) {
        EXPECT_EQ(DataNameOf(*ref, 12, key), "Index not found!") << key;
        EXPECT_EQ(DataNumberOf(*ref, "Archer", key), -1) << key;
    }
}

INSTANTIATE_TEST_SUITE_P(ScanAndIndex, LookupsTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& p) {
                             return p.param ? "Indexed" : "Scanned";
                         });

TEST(LookupIndexTest, RebuildingFollowsATableThatChanged) {
    auto ref = std::make_unique<ReferenceData>();
    ref->UnitData[5].number = 5, ref->UnitData[5].name = "Militia";
    BuildLookupIndex(*ref);
    EXPECT_EQ(DataNumberOf(*ref, "militia", "UnitDataType"), 5);

    // A renamed slot is noticed even before the rebuild: the answer is checked against the table.
    ref->UnitData[5].name = "Archer";
    EXPECT_EQ(DataNumberOf(*ref, "militia", "UnitDataType"), -1);

    ref->UnitData[8].number = 8, ref->UnitData[8].name = "Archer";
    BuildLookupIndex(*ref);
    EXPECT_EQ(DataNumberOf(*ref, "ARCHER", "UnitDataType"), 8);
    EXPECT_EQ(DataNameOf(*ref, 8, "UnitDataType"), "Archer");
}

} // namespace
} // namespace ts
