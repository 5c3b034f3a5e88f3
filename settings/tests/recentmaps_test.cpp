#include "recentmaps.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

using namespace ts;

TEST(RecentMaps, NewestFirstWithoutRepeatsAndAtMostEight) {
    TempFolder home;
    RecentMaps recent;
    for (int i = 0; i < 10; ++i)
        recent.add(home.write(QString("m%1.map").arg(i), "x"));
    recent.add(home.file("m5.map"));
    ASSERT_EQ(recent.paths().size(), 8);
    EXPECT_TRUE(recent.paths()[0].endsWith("/m5.map"));
    EXPECT_TRUE(recent.paths()[1].endsWith("/m9.map"));
    EXPECT_EQ(recent.paths().filter("/m5.map").size(), 1);
    EXPECT_TRUE(recent.paths().filter("/m0.map").isEmpty());
    EXPECT_TRUE(recent.paths().filter("/m1.map").isEmpty());
}

TEST(RecentMaps, SurviveASaveAndLoadAndAMissingFileIsEmpty) {
    TempFolder home;
    RecentMaps recent;
    recent.add(home.write("maps/Þrúðvangr.map", "x"));
    recent.add(home.write("maps/b.map", "x"));
    const QString file = RecentMaps::filePath(home.path());
    EXPECT_EQ(file, home.path() + "/Tessary.recent");
    ASSERT_TRUE(recent.save(file));
    RecentMaps back;
    back.load(file);
    EXPECT_EQ(back.paths(), recent.paths());
    back.remove(home.file("maps/b.map"));
    EXPECT_EQ(back.paths().size(), 1);
    RecentMaps none;
    none.load(home.file("nothing"));
    EXPECT_TRUE(none.paths().isEmpty());
}
