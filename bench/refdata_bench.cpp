#include "fakeuserinterface.h"
#include "lookups.h"
#include "referenceloader.h"
#include "tempfolder.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <string>

namespace {

// The busy messages and any box go nowhere here: the load itself is what is measured.
class SilentUserInterface : public ts::FakeUserInterface {
  public:
    void busyMessage(const QString&, const QString&, ts::Color) override {}
    void processEvents() override {}
};

// A cell of a synthetic row: mostly small numbers and empty flags, some words, as in the game's files.
std::string cell(int rowNumber, int column) {
    switch ((rowNumber * 7 + column) % 5) {
    case 0:
        return "";
    case 1:
        return std::to_string((rowNumber + column) % 100);
    case 2:
        return "-666";
    case 3:
        return std::to_string(column);
    default:
        return "0";
    }
}

std::string table(int rows, int columns, int keyColumn, int textColumn, const char* prefix) {
    std::string out;
    for (int r = 1; r <= rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            if (c > 0) out += '\t';
            if (c == keyColumn)
                out += std::to_string(r);
            else if (c == textColumn)
                out += prefix + std::to_string(r);
            else
                out += cell(r, c);
        }
        out += "\r\n";
    }
    return out;
}

// Sites need a valid terrain mask and a word in their type column; units a word in their flag columns.
std::string siteTable() {
    std::string out;
    for (int r = 1; r <= 600; ++r) {
        out += std::to_string(r) + "\tSite of Power " + std::to_string(r) + "\t0\t0\t" +
               std::to_string(r % 1024) + "\t0\tFire";
        for (int c = 7; c < 59; ++c)
            out += '\t' + (c == 20 || c >= 42 ? std::string("") : cell(r, c));
        out += "\r\n";
    }
    return out;
}

std::string unitTable() {
    std::string out;
    for (int r = 1; r <= 2500; ++r) {
        out += std::to_string(r) + "\tHeavy Infantry of the Realm " + std::to_string(r);
        for (int c = 2; c < 133; ++c) {
            out += '\t';
            const bool textColumn = c <= 5 ||
                                    (c >= 29 && c <= 44 && (c - 29) % 4 != 1 && (c - 29) % 4 != 2) ||
                                    (c >= 45 && c <= 51) || (c >= 53 && c <= 63) || c == 65 || c == 76 ||
                                    (c >= 85 && c <= 116) || c >= 131;
            if (textColumn)
                out += (r + c) % 9 == 0 ? "Flying" : "";
            else
                out += cell(r, c);
        }
        out += "\r\n";
    }
    return out;
}

const ts::TempFolder& fullSizeProgramFolder() {
    static const auto folder = [] {
        auto f = std::make_unique<ts::TempFolder>();
        std::string nations;
        for (int n = 1; n <= 80; ++n)
            nations += "MA\t" + std::to_string(n) + "\tx\tNation " + std::to_string(n) + "\r\n";
        f->write("TSdata/NationData.txt", nations);
        std::string pops; // no markers in this file: every number is written out
        for (int p = 1; p <= 90; ++p)
            pops += std::to_string(p) + "\tPopulation " + std::to_string(p) +
                    "\t10\t11\t12\t13\t20\t21\t22\t23\r\n";
        f->write("TSdata/PopData.txt", pops);
        f->write("TSdata/SiteData.txt", siteTable());
        f->write("TSdata/FortData.txt", table(43, 2, 0, 1, "Fort "));
        f->write("TSdata/ItemData.txt", table(300, 8, 0, 1, "Item "));
        f->write("TSdata/UnitData.txt", unitTable());
        return f;
    }();
    return *folder;
}

void BM_LoadReferenceData(benchmark::State& state) {
    const ts::TempFolder& folder = fullSizeProgramFolder();
    SilentUserInterface ui;
    std::size_t units = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto ref = std::make_unique<ts::ReferenceData>();
        ts::ReferenceLists lists;
        state.ResumeTiming();
        const bool loaded = ts::LoadReferenceData(*ref, lists, folder.path(), ui);
        benchmark::DoNotOptimize(lists);
        state.PauseTiming();
        units = lists.unitFinderUnits.size() - 1;
        ref.reset();
        state.ResumeTiming();
        if (!loaded || !ui.messages.empty()) {
            state.SkipWithError(ui.messages.empty() ? "load failed"
                                                    : ui.messages.back().text.toUtf8().constData());
            break;
        }
    }
    state.counters["units"] = static_cast<double>(units);
}
BENCHMARK(BM_LoadReferenceData)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Map reading looks up every commander's and unit's name.
void BM_DataNumberOf(benchmark::State& state) {
    auto ref = std::make_unique<ts::ReferenceData>();
    ts::ReferenceLists lists;
    SilentUserInterface ui;
    if (!ts::LoadReferenceData(*ref, lists, fullSizeProgramFolder().path(), ui)) {
        state.SkipWithError("load failed");
        return;
    }
    int i = 0;
    for (auto _ : state) {
        const std::string name = "heavy infantry of the realm " + std::to_string(1 + i++ % 2500);
        benchmark::DoNotOptimize(ts::DataNumberOf(*ref, name, "UnitDataType"));
    }
}
BENCHMARK(BM_DataNumberOf);

} // namespace
