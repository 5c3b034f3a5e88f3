#include "panellayout.h"

#include <gtest/gtest.h>
#include <set>

using namespace ts;

TEST(PanelLayout, EachChoiceShowsItsFramesFillsItsPartsAndSetsTheTools) {
    using Frames = std::set<std::string_view>;
    const Frames province = {"fraProvince", "fraProvinceCommanders1", "fraSites", "fraStartAndOwner",
                             "fraVictoryPoints"};
    const Frames commander = {"fraCommander", "fraCommanderBodyGuards", "fraCommanderUnits"};
    const auto unite = [](Frames a, const Frames& b) {
        a.insert(b.begin(), b.end());
        return a;
    };
    const Frames nation = unite({"fraGodAndNation"}, commander);
    constexpr ToolRule S = ToolRule::Show, H = ToolRule::Hide, K = ToolRule::Keep;
    const struct {
        Panel panel;
        int province, nation;
        Frames frames;
        ToolPanels tools;
        const char* fills; // map header, nation, province, commander detail
    } cases[] = {
        {Panel::Map, -999, -999, {"fraMap"}, {}, "M..."},
        {Panel::AllowedNations, -999, -999, {"fraMap"}, {}, "M..."},
        {Panel::GodsAndNations, -999, -999, {"fraMap"}, {}, "M..."},
        {Panel::Provinces, 12, -999, province, {S, S, S}, "..P."},
        {Panel::Commanders, 12, -999, unite(province, commander), {S, S, S}, "..PC"},
        {Panel::AllowedNations, 1, 5, nation, {}, ".N.."}, // special start or not
        {Panel::GodsAndNations, -999, 5, nation, {H, H, H}, ".N.."},
        // A god with a special start is edited along with its province; province 0 is never a start.
        {Panel::GodsAndNations,
         1,
         5,
         unite(unite(province, commander), {"fraGodAndNation"}),
         {S, S, K},
         ".NP."},
        {Panel::GodsAndNations, 0, 5, nation, {H, H, H}, ".N.."},
        {Panel::Neighbours, 3, 4, {}, {H, H, H}, "...."},
        {Panel::None, 3, 4, {}, {H, H, H}, "...."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << static_cast<int>(c.panel) << " " << c.province << " " << c.nation);
        const PanelLayout l = ChoosePanelLayout(c.panel, c.province, c.nation);
        EXPECT_EQ(Frames(l.frames.begin(), l.frames.end()), c.frames);
        EXPECT_EQ(l.tools, c.tools);
        const bool fills[] = {l.fillMapHeader, l.fillNation, l.fillProvince, l.fillCommanderDetail};
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(fills[k], c.fills[k] != '.') << "fill " << k;
    }
}
