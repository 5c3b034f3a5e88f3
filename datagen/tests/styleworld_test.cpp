#include "styleworld.h"

#include <gtest/gtest.h>

#include <set>

using namespace ts::datagen;

namespace {

// Each style map must hold the case its truth rule is about, land provinces whose regions touch
// but that lie across water, and no province pixel may be painted over by water, islets or rivers.
TEST(StyleWorlds, EveryMapPartsSomeProvincesByWaterAndKeepsEachProvincePixelOnItsGround) {
    for (const ArtStyle style : {ArtStyle::Painted, ArtStyle::Tiles, ArtStyle::Borders, ArtStyle::Rivers}) {
        const StyleWorld w = makeStyleWorld(style, 3);
        const std::string name = styleMapName(style);
        const std::set<PairKey> truth(w.layout.neighbours.begin(), w.layout.neighbours.end());
        std::set<PairKey> parted;
        for (int y = 0; y + 1 < w.height; ++y)
            for (int x = 0; x + 1 < w.width; ++x)
                for (const std::size_t next : {w.at(x + 1, y), w.at(x, y + 1)}) {
                    const int a = w.label[w.at(x, y)] + 1, b = w.label[next] + 1;
                    if (a != b && w.surface[w.at(x, y)] == Surface::Parted && !truth.count(key(a, b)))
                        parted.insert(key(a, b));
                }
        EXPECT_GE(parted.size(), 3u) << name;
        for (std::size_t p = 0; p < w.layout.x.size(); ++p) {
            const std::size_t at = w.at(w.layout.x[p], w.layout.y[p]);
            EXPECT_EQ(w.label[at], static_cast<int>(p)) << name;
            EXPECT_EQ(w.surface[at], w.layout.sea[p] ? Surface::Sea : Surface::Land) << name << ": province " << p + 1;
        }
    }
}

} // namespace
