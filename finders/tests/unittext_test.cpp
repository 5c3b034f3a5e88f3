#include "finderstesting.h"
#include "unittext.h"

#include <gtest/gtest.h>

using namespace ts;
using namespace ts::testing;

// Hand-written from the rules for three shipped units: a god with kinds and survival, a unique
// mage with a unique name, random magic and a starred special, and a stealthy demon with many traits.
TEST(UnitTextTest, ShippedUnitsMatchTheirGoldenTexts) {
    const ReferenceData& ref = shippedTables();
    for (int number : {6, 14, 203}) {
        SCOPED_TRACE(number);
        const std::string stem = "unit" + std::to_string(number);
        EXPECT_EQ(UnitDescriptionText(ref, number), golden((stem + "_panel.txt").c_str()));
        EXPECT_EQ(UnitFinderText(ref, number), golden((stem + "_finder.txt").c_str()));
    }
}

TEST(UnitTextTest, NumberFormatsAndFlagLines) {
    const auto ref = tablesWith({{"UnitData.txt",
                                  unitRow(1, {{1, "Plain"}, {8, "2"}, {9, "10"}, {10, "-3"}, {11, "0"}}) +
                                      unitRow(2, {{1, "Banner"}, {64, "5"}}) +
                                      unitRow(3, {{1, "Mage"}, {20, "2"}, {24, "1"}}) +
                                      unitRow(4, {{1, "Rider"}, {3, "mounted"}}) +
                                      unitRow(5, {{1, "Odd"}, {131, "Bob"}, {132, "likes cheese"}})}});
    // Plain numbers behind the panel labels, one tab between, none at the end; a negative spaced
    // number has its sign where the blank would be.
    EXPECT_EQ(UnitDescriptionText(*ref, 1), "Unit# 1\r\nSz: 2\tHp: 10\tMor: -3\tMr: 0\r\n"
                                            "Nldr: -666\tUldr: -666\tMldr: -666\r\n"
                                            "Hand: -666,Head: -666,Body: -666,Foot: -666,Misc: -666\r\n\r\n");
    EXPECT_EQ(UnitFinderText(*ref, 1), "1 Plain\r\n, size  2, hp  10, mor -3, mr  0\r\n\r\n\r\n\r\n\r\n");
    // A label ending in a blank before a spaced number: two blanks before the digit.
    EXPECT_TRUE(UnitDescriptionText(*ref, 2).ends_with("-666\r\n, std  5\r\n"));
    // Path letters run straight into their levels.
    EXPECT_NE(UnitFinderText(*ref, 3).find("\r\n, F2, S1\r\n"), std::string::npos);
    // A unit whose only flag is mounted starts the flag line with a comma.
    EXPECT_NE(UnitDescriptionText(*ref, 4).find("\r\n, mounted\r\n"), std::string::npos);
    EXPECT_NE(UnitFinderText(*ref, 4).find("\r\n, mounted\r\n"), std::string::npos);
    // The unique name and special text follow the last line break in both forms.
    EXPECT_TRUE(UnitDescriptionText(*ref, 5).ends_with("\r\n\r\n, uniquename Bob, special likes cheese"));
    EXPECT_TRUE(UnitFinderText(*ref, 5).ends_with("\r\n\r\n, uniquename Bob, special likes cheese"));
}

TEST(UnitTextTest, NoUnitAndNumbersOutsideTheTable) {
    const ReferenceData& ref = shippedTables();
    EXPECT_EQ(UnitFinderText(ref, 0), "NO UNIT SELECTED.");
    EXPECT_EQ(UnitFinderText(ref, -1), "NO UNIT SELECTED.");
    EXPECT_EQ(UnitDescriptionText(ref, 3000), "Error! Possibly invalid unit number: 3000");
    EXPECT_EQ(UnitDescriptionText(ref, -5), "Error! Possibly invalid unit number: -5");
}
