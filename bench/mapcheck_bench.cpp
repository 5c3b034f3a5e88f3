// The map check on a document with nothing in it, as tessary-cli check meets a small map: every
// province and commander slot is looked at all the same.
#include "mapcheck.h"
#include "mapdocument.h"
#include "referencedata.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

void BM_CheckMap_EmptyDocument(benchmark::State& state) {
    auto doc = std::make_unique<ts::MapDocument>();
    auto ref = std::make_unique<ts::ReferenceData>();
    doc->ProvinceCount = 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(ts::CheckMap(*doc, *ref));
}
BENCHMARK(BM_CheckMap_EmptyDocument)->Unit(benchmark::kMillisecond);

} // namespace
