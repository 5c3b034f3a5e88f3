#include "nationrules.h"
#include "referencedata.h"
#include "smallmap.h"

#include <gtest/gtest.h>

namespace ts {
namespace {

NationFields shownFor(const editingtest::SmallMap& map, int nation) { return ShowNation(*map.doc, *map.ref, nation); }

TEST(NationRules, ScalesAreShownAndStoredNegated) {
    struct Case {
        const char* typed;
        std::int16_t stored;
        const char* shownNextTime;
    } cases[] = {
        {"3", -3, "3"}, {"-2", 2, "-2"}, {"0", kNone, ""}, {"", kNone, ""},
        {"7", -3, "3"}, {"-9", 3, "-3"}, {"abc", 3, "-3"}, // letters become the minimum, -3
    };
    editingtest::SmallMap map;
    for (std::size_t s = 0; s < scaleBoxes().size(); ++s) {
        for (const Case& c : cases) {
            NationFields f = shownFor(map, 10);
            f.scales = {};
            f.scales[s] = QString::fromLatin1(c.typed);
            CommitNation(*map.doc, 10, f);
            const NationDataType& n = map.doc->Nations[10];
            EXPECT_EQ(n.*(scaleBoxes()[s].field), c.stored) << scaleBoxes()[s].control << " " << c.typed;
            EXPECT_EQ(shownFor(map, 10).scales[s], QString::fromLatin1(c.shownNextTime)) << c.typed;
            // The other scales stay unset.
            for (std::size_t o = 0; o < scaleBoxes().size(); ++o) {
                if (o != s) {
                    EXPECT_EQ(n.*(scaleBoxes()[o].field), kNone);
                }
            }
        }
    }
    EXPECT_EQ(scaleHint(scaleBoxes()[0]),
              QStringLiteral("Sets the Order / Turmoil dominion scale of a nation. A value of 3 tips the scale fully to "
                             "the left (Order), -3 fully to the right (Turmoil). <3-(-3)>"));
}

TEST(NationRules, NumberBoxes) {
    struct Case {
        bool aiPlayer;
        const char* difficulty;
        const char* dominion;
        std::int16_t storedDifficulty, storedDominion;
    } cases[] = {
        {true, "4", "7", 4, 7},
        {false, "4", "", 0, 0}, // unchecking stores a human player whatever the box holds
        {true, "9", "0", 5, 1},
        {true, "", "12", 0, 10},
        {true, "x", "x", 1, 1},
    };
    editingtest::SmallMap map;
    for (const Case& c : cases) {
        NationFields f = shownFor(map, 5);
        f.aiPlayer = c.aiPlayer;
        f.difficulty = QString::fromLatin1(c.difficulty);
        f.dominion = QString::fromLatin1(c.dominion);
        f.cannotWin = true;
        CommitNation(*map.doc, 5, f);
        const NationDataType& n = map.doc->Nations[5];
        EXPECT_EQ(n.AIDifficulty, c.storedDifficulty) << c.difficulty;
        EXPECT_EQ(n.DominionLevel, c.storedDominion) << c.dominion;
        EXPECT_TRUE(n.CannotWin);
        const NationFields back = shownFor(map, 5);
        EXPECT_EQ(back.aiPlayer, c.storedDifficulty > 0);
        EXPECT_EQ(back.difficulty, c.storedDifficulty > 0 ? QString::number(c.storedDifficulty) : QString());
        EXPECT_EQ(back.dominion, c.storedDominion > 0 ? QString::number(c.storedDominion) : QString());
    }
}

} // namespace
} // namespace ts
