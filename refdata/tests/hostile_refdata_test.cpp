// Reference tables damaged on disk: the load stops with one message naming the file, never a crash.
#include "refdatatesting.h"

#include <QDir>
#include <gtest/gtest.h>
#include <random>

namespace ts {
namespace {

TEST(HostileTables, BinaryGarbageInAnyTableStopsTheLoadWithOneMessage) {
    std::mt19937 random(11);
    std::string garbage;
    for (int k = 0; k < 1 << 16; ++k)
        garbage += static_cast<char>(random() & 0xFF);
    const std::string longRow = "1\t" + std::string(1 << 20, 'x') + "\t" + std::string(1 << 16, '\t') + "\n";
    for (const char* table :
         {"NationData.txt", "PopData.txt", "SiteData.txt", "FortData.txt", "ItemData.txt", "UnitData.txt"}) {
        for (const std::string& content : {garbage, std::string("\0\0\0\r\r\r\n", 7)}) {
            testing::RefdataFixture f;
            f.files[table] = content;
            EXPECT_FALSE(f.load()) << table;
            ASSERT_EQ(f.ui.messages.size(), 1u) << table;
            EXPECT_EQ(f.ui.messages[0].title, "Reference Data Error!");
            EXPECT_TRUE(f.ui.messages[0].text.contains(QLatin1String(table))) << table;
            EXPECT_TRUE(f.lists.owners.empty());
        }
        // A megabyte-long row with tens of thousands of columns is only long: its fields still load.
        testing::RefdataFixture f;
        f.files[table] = (std::string(table) == "NationData.txt" ? "EA\t" : "") + longRow;
        f.load();
        EXPECT_LE(f.ui.messages.size(), 1u) << table;
    }
}

TEST(HostileTables, ATableThatCannotBeReadIsReportedLikeAMissingOne) {
    // A folder in a table's place cannot be read by anyone, root included.
    testing::RefdataFixture f;
    f.files.erase("ItemData.txt");
    QDir().mkpath(f.folder.file("TSdata/ItemData.txt"));
    EXPECT_FALSE(f.load());
    ASSERT_EQ(f.ui.messages.size(), 1u);
    EXPECT_TRUE(f.ui.messages[0].text.contains(QLatin1String("ItemData.txt")));
    EXPECT_TRUE(f.lists.itemFinderItems.empty());
}

} // namespace
} // namespace ts
