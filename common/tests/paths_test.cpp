#include "paths.h"

#include <gtest/gtest.h>

using ts::joinPath;

TEST(JoinPath, AlwaysExactlyOneSeparator) {
    EXPECT_EQ(joinPath("/opt/tessary", "TSdata"), "/opt/tessary/TSdata");
    EXPECT_EQ(joinPath("/opt/tessary/", "TSdata"), "/opt/tessary/TSdata");
    EXPECT_EQ(joinPath("/opt/tessary//", "/TSdata"), "/opt/tessary/TSdata");
    EXPECT_EQ(joinPath("/", "TSdata"), "/TSdata");
    EXPECT_EQ(joinPath("/opt", "TSdata", "UnitData.txt"), "/opt/TSdata/UnitData.txt");
    EXPECT_EQ(joinPath("", "x.map"), "x.map");
}
