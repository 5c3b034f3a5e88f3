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
    EXPECT_EQ(scaleBoxes()[0].field, &NationDataType::ScaleChaos); // Order is the far end of chaos
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

TEST(NationRules, AlliesListTheOtherAllowedPlayersAndAreKeptBothWays) {
    editingtest::SmallMap map;
    MapDocument& doc = *map.doc;
    map.ref->NationData[2] = {"EA", 2, "", "Arvik"};
    doc.Nations[2].NationName = "Arvik";
    for (int n : {2, 5, 20}) doc.Nations[n].AllowedPlayer = true;
    doc.Nations[5].NationName = "Valdren";
    doc.Nations[20].NationName = "Tirn";
    doc.Nations[20].Allies[2] = doc.Nations[2].Allies[20] = true;

    NationFields f = shownFor(map, 2);
    EXPECT_EQ(f.name, QStringLiteral("Arvik"));
    ASSERT_EQ(f.allies, (std::vector<AllyEntry>{{5, "EA Valdren", false}, {20, "LA Tirn", true}}));

    f.allies[0].selected = true;
    f.allies[1].selected = false;
    CommitNation(doc, 2, f);
    EXPECT_TRUE(doc.Nations[2].Allies[5] && doc.Nations[5].Allies[2]);
    EXPECT_FALSE(doc.Nations[2].Allies[20] || doc.Nations[20].Allies[2]);

    f.allies[0].selected = false;
    CommitNation(doc, 2, f);
    EXPECT_FALSE(doc.Nations[2].Allies[5] || doc.Nations[5].Allies[2]);
    // Nation 10 is no allowed player and is not offered.
    EXPECT_EQ(shownFor(map, 5).allies.size(), 2u);
}

} // namespace
} // namespace ts
