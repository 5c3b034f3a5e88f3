#include "fakeuserinterface.h"
#include "lookups.h"
#include "mapdocument.h"
#include "mapreader.h"
#include "mapwriter.h"
#include "referencedata.h"
#include "tempfolder.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <string>

namespace {

// Busy messages and event runs go nowhere: reading and writing themselves are measured.
class QuietUserInterface : public ts::FakeUserInterface {
  public:
    void busyMessage(const QString&, const QString&, ts::Color) override {}
    void processEvents() override {}
};

std::unique_ptr<ts::ReferenceData> makeReference() {
    auto ref = std::make_unique<ts::ReferenceData>();
    for (int n = 0; n < ts::kUnitSlots; ++n) {
        ref->UnitData[n].number = static_cast<std::int16_t>(n);
        ref->UnitData[n].name = "Unit " + std::to_string(n);
    }
    for (int n = 0; n < ts::kSiteSlots; ++n) {
        ref->SiteData[n].number = static_cast<std::int16_t>(n);
        ref->SiteData[n].name = "Site " + std::to_string(n);
    }
    ts::BuildLookupIndex(*ref); // as the loader does
    return ref;
}

// Every one of the 2599 provinces filled: name, terrain, owner, values, four sites, neighbours and
// three commanders with troops and items; half the nations in use with a god.
void fillBigMap(ts::MapDocument& doc) {
    doc.MapTitle = "Benchmark";
    doc.ImageFileName = "bench.tga";
    doc.MapDescription = "A big map\r\nfor measuring.";
    for (int p = 1; p <= ts::kMaxProvince; ++p) {
        ts::ProvinceDataType& prov = doc.Provinces[p];
        prov.SetLandFlag = true;
        prov.LandName = "Province " + std::to_string(p);
        prov.TerrainBit[p % ts::kTerrainBits] = true;
        prov.Owner = static_cast<std::int16_t>(p % 80);
        prov.PopType = static_cast<std::int16_t>(1 + p % 90);
        prov.Population = 1000 + p;
        prov.Fort = static_cast<std::int16_t>(1 + p % 40);
        for (int k = 0; k < ts::kSiteSlotsPerProvince; ++k) {
            prov.SiteIndex[k] = static_cast<std::int16_t>(1 + (p + k) % 700);
            prov.SiteName[k] = "Site " + std::to_string(prov.SiteIndex[k]);
        }
        for (int k = 0; k < 6; ++k)
            prov.Neighbours[k] = static_cast<std::int16_t>(1 + (p + k * 37) % ts::kMaxProvince);
        for (int c = 1; c <= 3; ++c) {
            ts::CommanderDataType& com = prov.Commanders[c];
            com.UnitIndex = static_cast<std::int16_t>(1 + (p * c) % 2990);
            com.UnitName = "Unit " + std::to_string(com.UnitIndex);
            com.ComName = "Captain " + std::to_string(c);
            for (int k = 0; k < 3; ++k) {
                com.UnitsCount[k] = static_cast<std::int16_t>(10 + k);
                com.UnitsIndex[k] = static_cast<std::int16_t>(1 + (p + k) % 2990);
                com.UnitsName[k] = "Unit " + std::to_string(com.UnitsIndex[k]);
            }
            com.Items[0] = "Sword";
            com.MagFire = 2;
            com.InsideCastle = c == 3;
        }
        prov.CommanderCount = 3;
    }
    for (int n = 0; n < ts::kNationCount; n += 2) {
        ts::NationDataType& nation = doc.Nations[n];
        nation.NationInUse = true;
        nation.GodIndex = nation.God.UnitIndex = static_cast<std::int16_t>(100 + n);
        nation.GodName = nation.God.UnitName = "Unit " + std::to_string(100 + n);
        nation.God.ComName = "God";
    }
}

struct BigMap {
    std::unique_ptr<ts::ReferenceData> ref = makeReference();
    std::unique_ptr<ts::MapDocument> doc = std::make_unique<ts::MapDocument>();
    ts::TempFolder folder;
    QuietUserInterface ui;
    QString path = folder.file(QStringLiteral("big.map"));

    BigMap() {
        ts::ResetMapDocument(*doc, *ref, ui);
        fillBigMap(*doc);
        ts::z_WriteMapFile(*doc, *ref, ui, path);
    }
};

void BM_WriteBigMap(benchmark::State& state) {
    BigMap map;
    for (auto _ : state)
        benchmark::DoNotOptimize(ts::z_WriteMapFile(*map.doc, *map.ref, map.ui, map.path));
    state.counters["file_MB"] = static_cast<double>(map.folder.read(QStringLiteral("big.map")).size()) / 1e6;
}
BENCHMARK(BM_WriteBigMap)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Reading into a document that was reset first, as opening a map does; the reset is not measured.
void BM_ReadBigMap(benchmark::State& state) {
    BigMap map;
    auto target = std::make_unique<ts::MapDocument>();
    for (auto _ : state) {
        state.PauseTiming();
        ts::ResetMapDocument(*target, *map.ref, map.ui);
        state.ResumeTiming();
        ts::z_ReadMapFile(*target, *map.ref, map.ui, map.path);
        benchmark::DoNotOptimize(target->MapErrorsFound);
    }
    if (target->MapErrorsFound) state.SkipWithError("the big map read with errors");
}
BENCHMARK(BM_ReadBigMap)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
