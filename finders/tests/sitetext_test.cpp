#include "finderstesting.h"
#include "sitetext.h"

#include <gtest/gtest.h>

using namespace ts;
using namespace ts::testing;

using Gems = std::array<int, kGemRowPaths>;

// Hand-written from the rules for shipped sites: a fort with gold, supply and a blood bonus; a lab
// with thaumaturgy and adventure; a scale; and the three together as one province's sites.
TEST(SiteTextTest, ShippedSitesMatchTheirGoldenTexts) {
    const ReferenceData& ref = shippedTables();
    const struct {
        int site;
        const char* file;
        Gems gems;
    } cases[] = {{2, "site2.txt", {3, 0, 0, 0, 0, 0, 0, 0, 0}},
                 {309, "site309.txt", {0, 0, 0, 0, 0, 0, 2, 0, 0}},
                 {371, "site371.txt", {0, 0, 0, 0, 0, 0, 0, 2, 0}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.site);
        const SiteSummary s = SiteDescriptionText(ref, c.site);
        EXPECT_EQ(s.text, golden(c.file));
        EXPECT_EQ(s.gems, c.gems);
    }
    const SiteSummary all = SitesSummaryText(ref, {2, -1, 309, 371});
    EXPECT_EQ(all.text, golden("sites_2_309_371.txt"));
    EXPECT_EQ(all.gems, (Gems{3, 0, 0, 0, 0, 0, 2, 2, 0}));
}

TEST(SiteTextTest, ZeroTotalsAndMarkersAndForts) {
    const auto ref = tablesWith({{"SiteData.txt", siteRow(5, {{1, "Well"}, {7, "1"}, {15, "0"}, {17, "50"}, {18, "0"}}) +
                                                      siteRow(6, {{1, "Spring"}, {7, "1"}, {21, "3"}}) +
                                                      siteRow(7, {{1, "Marsh"}})}});
    // Gold 0 shows in the one-site text but not in a summary; -666 shows in neither.
    EXPECT_EQ(SiteDescriptionText(*ref, 5).text, "5 Well\r\n gld:0\r\n sup:50\r\n unr:0\r\n");
    EXPECT_EQ(SitesSummaryText(*ref, {5, -1, -1, -1}).text, " sup:50\r\n");
    // A fort shows as a blank and the fort's name; -666 shows no fort line.
    EXPECT_EQ(SiteDescriptionText(*ref, 6).text, "6 Spring\r\n Castle\r\n");
    EXPECT_EQ(SiteDescriptionText(*ref, 7).text, "7 Marsh\r\n");
    // Two sites with a Fire gem each make two Fire gems.
    EXPECT_EQ(SitesSummaryText(*ref, {5, 6, 0, -1}).gems[0], 2);
    EXPECT_EQ(SiteDescriptionText(*ref, 0).text, "NO SITE SELECTED.");
    EXPECT_EQ(SiteDescriptionText(*ref, 0).gems, Gems{});
    EXPECT_EQ(SitesSummaryText(*ref, {-1, -1, -1, -1}).text, "");
}
