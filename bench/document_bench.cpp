#include "fakeuserinterface.h"
#include "mapdocument.h"
#include "referencedata.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

// The busy messages go nowhere here: the reset itself is what is measured.
class SilentUserInterface : public ts::FakeUserInterface {
public:
    void busyMessage(const QString&, const QString&, ts::Color) override {}
};

void BM_ResetMapDocument(benchmark::State& state) {
    auto doc = std::make_unique<ts::MapDocument>();
    auto ref = std::make_unique<ts::ReferenceData>();
    SilentUserInterface ui;
    for (auto _ : state) {
        // A realistic document to clear: every province named, with a commander and a few units.
        state.PauseTiming();
        for (int p = 1; p < ts::kProvinceSlots; ++p) {
            doc->Provinces[p].LandName = "Province name";
            doc->Provinces[p].Commanders[1].UnitName = "Commander";
            doc->Provinces[p].Commanders[1].UnitsName[0] = "Heavy Infantry";
        }
        state.ResumeTiming();
        ts::ResetMapDocument(*doc, *ref, ui);
        benchmark::ClobberMemory();
    }
    state.counters["document_MB"] = static_cast<double>(sizeof(ts::MapDocument)) / (1024.0 * 1024.0);
}
BENCHMARK(BM_ResetMapDocument)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
