#include "fakeuserinterface.h"
#include "paths.h"
#include "provincememory.h"
#include "renumber.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

using namespace ts;

namespace {
std::vector<int> numbers(const Renumbering& r, int count) {
    std::vector<int> to;
    for (int p = 1; p <= count; ++p) to.push_back(r.newNumber[p]);
    return to;
}
} // namespace

// A picture changed outside the editor: the same place is the same province, a pixel gone with a
// new one close by is one province moved (the closest pair first), the rest removed and added.
TEST(ChangedPicture, MatchesAddedRemovedMovedAndUnchangedPixels) {
    const std::vector<ProvincePlace> before{{10, 50}, {30, 50}, {60, 40}, {90, 30}, {5, 5}};
    EXPECT_TRUE(MatchPlaces(before, before).changesNothing());
    EXPECT_EQ(DescribeRenumbering(MatchPlaces(before, before)), "");

    // (30,50) moved 3 px, (60,40) has two new pixels near it (the closer one is the move, the other
    // is new), (90,30) moved too far to be the same, (5,5) stays; (200,200) is new.
    const std::vector<ProvincePlace> after{{10, 50}, {33, 52}, {62, 40}, {64, 40}, {100, 30}, {200, 20}, {5, 5}};
    const Renumbering r = MatchPlaces(before, after);
    EXPECT_EQ(numbers(r, 5), (std::vector<int>{1, 2, 3, 0, 7}));
    EXPECT_EQ(r.added, (std::vector<int>{4, 5, 6}));
    EXPECT_EQ(r.removed, (std::vector<int>{4}));
    EXPECT_EQ(r.moved, (std::vector<std::pair<int, int>>{{2, 2}, {3, 3}}));
    EXPECT_EQ(DescribeRenumbering(r), "3 provinces added, 1 removed, 2 moved");
    EXPECT_EQ(DescribeRenumbering(MatchPlaces(after, before)), "1 province added, 3 removed, 2 moved");
    // Records beyond the picture's provinces keep their distance from the last one.
    EXPECT_EQ(r.newNumber[6], 8);
    EXPECT_EQ(r.newNumber[kMaxProvince - 1], 0);
    EXPECT_EQ(r.inverse().newNumber[7], 5);
}

TEST(ChangedPicture, RemembersPlacesPerMapAndAsksBeforeRenumbering) {
    TempFolder program;
    program.makePortable();
    setProgramFolder(program.path());
    const QString map = program.file(QStringLiteral("maps/w.map"));
    EXPECT_FALSE(RememberedPlaces(map));
    const std::vector<ProvincePlace> before{{10, 50}, {30, 50}, {60, 40}};
    ASSERT_TRUE(RememberPlaces(map, before));
    EXPECT_EQ(RememberedPlaces(map), before);
    EXPECT_FALSE(RememberedPlaces(program.file(QStringLiteral("maps/other.map"))));

    FakeUserInterface ui;
    const std::vector<ProvincePlace> now{{12, 51}, {30, 50}, {70, 10}, {80, 10}};
    ui.answers = {Answer::Cancel, Answer::Ok};
    EXPECT_FALSE(AskToFollowPicture(before, now, QStringLiteral("since this map was last saved in Tessary"), ui));
    const auto r = AskToFollowPicture(before, now, QStringLiteral("since this map was last saved in Tessary"), ui);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->newNumber[1], 1);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Picture Changed"));
    EXPECT_TRUE(ui.messages[0].text.startsWith(
        QStringLiteral("2 provinces added, 1 removed, 1 moved since this map was last saved in Tessary.")));
    // Nothing changed in numbers: nothing is asked.
    EXPECT_FALSE(AskToFollowPicture(before, before, QString(), ui));
    EXPECT_EQ(ui.messages.size(), 2u);
    setProgramFolder(QString());
}
