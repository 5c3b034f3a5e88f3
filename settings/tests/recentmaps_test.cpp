#include "recentmaps.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

using namespace ts;

TEST(RecentMaps, EightNewestFirstWithoutRepeatsSurviveASaveAndLoad) {
    TempFolder home;
    RecentMaps recent;
    for (int i = 0; i < 10; ++i)
        recent.add(home.write(QString("maps/m%1-Þrúð.map").arg(i), "x"));
    recent.add(home.file("maps/m5-Þrúð.map"));
    QStringList expected;
    for (int i : {5, 9, 8, 7, 6, 4, 3, 2})
        expected << home.file(QString("maps/m%1-Þrúð.map").arg(i));
    EXPECT_EQ(recent.paths(), expected);

    const QString file = RecentMaps::filePath(home.path());
    EXPECT_EQ(file, home.path() + "/Tessary.recent");
    ASSERT_TRUE(recent.save(file));
    RecentMaps back;
    back.load(file);
    EXPECT_EQ(back.paths(), expected);
    RecentMaps none;
    none.load(home.file("nothing"));
    EXPECT_TRUE(none.paths().isEmpty());
}
