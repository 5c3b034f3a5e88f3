// The finders refilter while the user ticks boxes and types, so each pass over a whole table, and
// the refill of the list the user sees, must stay well under a frame or two.
#include "fakeuserinterface.h"
#include "itemfilter.h"
#include "itemfinder.h"
#include "referenceloader.h"
#include "sitefilter.h"
#include "unitfilter.h"
#include "unitfinder.h"
#include "unittext.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

struct SampleTables {
    std::unique_ptr<ts::ReferenceData> ref = std::make_unique<ts::ReferenceData>();
    ts::ReferenceLists lists;
    ts::FakeUserInterface ui;
    bool loaded = ts::LoadReferenceData(*ref, lists, QStringLiteral(TESSARY_PROGRAM_DIR), ui);
};

const SampleTables& sample() {
    static const SampleTables tables;
    return tables;
}

// One setting per unit filter, each alone, and none at all.
ts::UnitFilter unitFilter(int which) {
    ts::UnitFilter f;
    switch (which) {
    case 1: f.god = 1; break;
    case 2: f.size = 2; break;
    case 3: f.magic = 4; break;
    case 4: f.randomMagic = 5; break;
    case 5: f.leader = 0; break;
    case 6: f.commanderType = "Normal"; break;
    case 7: f.stealth = "Stealthy"; break;
    case 8: f.resist = 1; break;
    case 9: f.mounted = true; break;
    case 10: f.unique = true; break;
    case 11: f.holy = true; break;
    case 12: f.female = true; break;
    case 13: f.misc = 49; break;
    case 14: f.survival = "Forest"; break;
    case 15: f.move = "Flying"; break;
    case 16: f.hero = 1; break;
    default: break;
    }
    return f;
}

void BM_Finder_UnitFilter(benchmark::State& state) {
    if (!sample().loaded) return state.SkipWithError("the sample tables did not load");
    const ts::UnitFilter f = unitFilter(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(ts::FilterUnits(*sample().ref, f));
}
BENCHMARK(BM_Finder_UnitFilter)->DenseRange(0, 16)->Unit(benchmark::kMicrosecond);

// The unit finder's Apply with nothing ticked: the longest list there is, into the combo box.
void BM_Finder_UnitFinderApply(benchmark::State& state) {
    if (!sample().loaded) return state.SkipWithError("the sample tables did not load");
    ts::FakeUserInterface ui;
    ts::UnitFinder finder(*sample().ref, sample().lists, QStringLiteral(TESSARY_PROGRAM_DIR), ui);
    for (auto _ : state) finder.applyFilters();
}
BENCHMARK(BM_Finder_UnitFinderApply)->Unit(benchmark::kMillisecond);

void BM_Finder_SiteFilter(benchmark::State& state) {
    if (!sample().loaded) return state.SkipWithError("the sample tables did not load");
    ts::SiteFilter f;
    f.terrain = {true, true, 10};
    for (auto _ : state) benchmark::DoNotOptimize(ts::FilterSites(*sample().ref, f));
}
BENCHMARK(BM_Finder_SiteFilter)->Unit(benchmark::kMicrosecond);

// What every tick and every choice in the item finder costs: the filter and the list refill.
void BM_Finder_ItemRefilter(benchmark::State& state) {
    if (!sample().loaded) return state.SkipWithError("the sample tables did not load");
    ts::ItemFinder finder(*sample().ref, sample().lists);
    for (auto _ : state) finder.refilter();
}
BENCHMARK(BM_Finder_ItemRefilter)->Unit(benchmark::kMillisecond);

void BM_Finder_UnitFinderText(benchmark::State& state) {
    if (!sample().loaded) return state.SkipWithError("the sample tables did not load");
    for (auto _ : state) benchmark::DoNotOptimize(ts::UnitFinderText(*sample().ref, 203));
}
BENCHMARK(BM_Finder_UnitFinderText)->Unit(benchmark::kMicrosecond);

} // namespace
