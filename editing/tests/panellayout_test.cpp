#include "panellayout.h"

#include <gtest/gtest.h>
#include <set>

using namespace ts;

namespace {

std::set<std::string_view> frames(const PanelLayout& l) {
    return {l.frames.begin(), l.frames.end()};
}

const std::set<std::string_view> kProvince = {"fraProvince", "fraProvinceCommanders1", "fraSites",
                                              "fraStartAndOwner", "fraVictoryPoints"};
const std::set<std::string_view> kCommander = {"fraCommander", "fraCommanderBodyGuards", "fraCommanderUnits"};

std::set<std::string_view> unite(std::set<std::string_view> a, const std::set<std::string_view>& b) {
    a.insert(b.begin(), b.end());
    return a;
}

constexpr ToolPanels kShowAll{ToolRule::Show, ToolRule::Show, ToolRule::Show};
constexpr ToolPanels kHideAll{ToolRule::Hide, ToolRule::Hide, ToolRule::Hide};

} // namespace

TEST(PanelLayout, MapAndNationGroupsWithoutANationShowTheMapHeader) {
    for (Panel p : {Panel::Map, Panel::AllowedNations, Panel::GodsAndNations}) {
        const PanelLayout l = ChoosePanelLayout(p, -999, -999);
        EXPECT_EQ(frames(l), (std::set<std::string_view>{"fraMap"}));
        EXPECT_TRUE(l.fillMapHeader);
        EXPECT_FALSE(l.fillNation || l.fillProvince || l.fillCommanderDetail);
        EXPECT_EQ(l.tools, ToolPanels{});
    }
}

TEST(PanelLayout, ProvinceAndCommanderPanelsBringTheToolsTheUserSwitchedOn) {
    const PanelLayout prov = ChoosePanelLayout(Panel::Provinces, 12, -999);
    EXPECT_EQ(frames(prov), kProvince);
    EXPECT_EQ(prov.tools, kShowAll);
    EXPECT_TRUE(prov.fillProvince);
    EXPECT_FALSE(prov.fillCommanderDetail || prov.fillNation || prov.fillMapHeader);

    const PanelLayout com = ChoosePanelLayout(Panel::Commanders, 12, -999);
    EXPECT_EQ(frames(com), unite(kProvince, kCommander));
    EXPECT_EQ(com.tools, kShowAll);
    EXPECT_TRUE(com.fillProvince && com.fillCommanderDetail);
}

TEST(PanelLayout, ANationShowsItsGodInTheCommanderFrames) {
    const auto nationFrames = unite({"fraGodAndNation"}, kCommander);
    const PanelLayout allowed = ChoosePanelLayout(Panel::AllowedNations, 1, 5); // special start or not
    EXPECT_EQ(frames(allowed), nationFrames);
    EXPECT_EQ(allowed.tools, ToolPanels{});
    EXPECT_TRUE(allowed.fillNation);
    EXPECT_FALSE(allowed.fillProvince);

    const PanelLayout god = ChoosePanelLayout(Panel::GodsAndNations, -999, 5);
    EXPECT_EQ(frames(god), nationFrames);
    EXPECT_EQ(god.tools, kHideAll);
    EXPECT_FALSE(god.fillProvince);
}

TEST(PanelLayout, AGodWithASpecialStartIsEditedAlongWithItsProvince) {
    const PanelLayout l = ChoosePanelLayout(Panel::GodsAndNations, 1, 5);
    EXPECT_EQ(frames(l), unite(unite(kProvince, kCommander), {"fraGodAndNation"}));
    EXPECT_EQ(l.tools, (ToolPanels{ToolRule::Show, ToolRule::Show, ToolRule::Keep}));
    EXPECT_TRUE(l.fillNation && l.fillProvince);
    EXPECT_FALSE(l.fillMapHeader);
    // Province 0 is never a real start.
    EXPECT_EQ(frames(ChoosePanelLayout(Panel::GodsAndNations, 0, 5)), unite({"fraGodAndNation"}, kCommander));
}

TEST(PanelLayout, NeighboursAndUnknownChoicesShowNothingAndHideTheTools) {
    for (Panel p : {Panel::Neighbours, Panel::None}) {
        const PanelLayout l = ChoosePanelLayout(p, 3, 4);
        EXPECT_TRUE(l.frames.empty());
        EXPECT_EQ(l.tools, kHideAll);
        EXPECT_FALSE(l.fillMapHeader || l.fillNation || l.fillProvince || l.fillCommanderDetail);
    }
}
