// Every step of opening, showing and saving the stress map (2599 provinces on 4000x3000), each on
// its own, on the files tessary-datagen --stress writes. bench/run generates them once and names
// their folder in TESSARY_STRESS_DIR; without it these benchmarks are skipped.
#include "edithistory.h"
#include "fakeuserinterface.h"
#include "imagedecoder.h"
#include "mapdocument.h"
#include "mapgeometry.h"
#include "maprender.h"
#include "mapreport.h"
#include "mapreader.h"
#include "mapwriter.h"
#include "markers.h"
#include "neighbourguess.h"
#include "provincelocator.h"
#include "provincepixels.h"
#include "referenceloader.h"
#include "regionguess.h"
#include "scriptprocess.h"
#include "settings.h"
#include "tempfolder.h"
#include "terrainguess.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <malloc.h>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// Busy messages, boxes and event runs go nowhere: the work itself is measured.
class QuietUserInterface : public ts::FakeUserInterface {
  public:
    void busyMessage(const QString&, const QString&, ts::Color) override {}
    void processEvents() override {}
};

// Resident memory of the process in MB, as the system counts it.
double residentMegabytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * 4096.0 / (1024.0 * 1024.0) : 0;
}

QString stressFile(const char* name) {
    return qEnvironmentVariable("TESSARY_STRESS_DIR") + QLatin1Char('/') + QLatin1String(name);
}

// The stress map read and located once, as the editor holds it after opening: the tables, the
// document and the 100% picture.
struct StressMap {
    QuietUserInterface ui;
    std::unique_ptr<ts::ReferenceData> ref = std::make_unique<ts::ReferenceData>();
    ts::ReferenceLists lists;
    std::unique_ptr<ts::MapDocument> doc = std::make_unique<ts::MapDocument>();
    QImage source;
    ts::Settings settings = ts::Settings::defaults(QStringLiteral(TESSARY_PROGRAM_DIR));
    bool ok = false;

    StressMap() {
        if (!ts::LoadReferenceData(*ref, lists, QStringLiteral(TESSARY_PROGRAM_DIR), ui)) return;
        ts::ResetMapDocument(*doc, *ref, ui);
        doc->KeepUnknown = true; // as the editor reads and writes maps by default
        ts::z_ReadMapFile(*doc, *ref, ui, stressFile("stress.map"));
        source = ts::decodeMapImage(stressFile("stress.tga"), false).image;
        ok = !source.isNull() && !doc->MapErrorsFound &&
             ts::z_LocateProvinces(source, *doc, ui, QString()) == ts::kMaxProvince;
    }
};

StressMap* stressMap(benchmark::State& state) {
    if (!qEnvironmentVariableIsSet("TESSARY_STRESS_DIR")) {
        state.SkipWithError("TESSARY_STRESS_DIR is not set (bench/run sets it)");
        return nullptr;
    }
    static StressMap map;
    if (!map.ok) state.SkipWithError("the stress map did not open cleanly");
    return map.ok ? &map : nullptr;
}

void BM_Stress_LoadReferenceData(benchmark::State& state) {
    QuietUserInterface ui;
    for (auto _ : state) {
        state.PauseTiming();
        auto ref = std::make_unique<ts::ReferenceData>();
        ts::ReferenceLists lists;
        state.ResumeTiming();
        if (!ts::LoadReferenceData(*ref, lists, QStringLiteral(TESSARY_PROGRAM_DIR), ui))
            state.SkipWithError("the tables did not load");
    }
}
BENCHMARK(BM_Stress_LoadReferenceData)->Unit(benchmark::kMillisecond);

// Emptying the document with the whole stress map in it, as opening the next map does.
void BM_Stress_Reset(benchmark::State& state) {
    StressMap* map = stressMap(state);
    if (!map) return;
    auto doc = std::make_unique<ts::MapDocument>();
    for (auto _ : state) {
        state.PauseTiming();
        ts::ResetMapDocument(*doc, *map->ref, map->ui);
        ts::z_ReadMapFile(*doc, *map->ref, map->ui, stressFile("stress.map"));
        state.ResumeTiming();
        ts::ResetMapDocument(*doc, *map->ref, map->ui);
    }
}
BENCHMARK(BM_Stress_Reset)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Stress_ReadMapFile(benchmark::State& state) {
    StressMap* map = stressMap(state);
    if (!map) return;
    auto doc = std::make_unique<ts::MapDocument>();
    doc->KeepUnknown = true;
    for (auto _ : state) {
        state.PauseTiming();
        ts::ResetMapDocument(*doc, *map->ref, map->ui);
        state.ResumeTiming();
        ts::z_ReadMapFile(*doc, *map->ref, map->ui, stressFile("stress.map"));
    }
    if (doc->MapErrorsFound) state.SkipWithError("the stress map read with errors");
}
BENCHMARK(BM_Stress_ReadMapFile)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Stress_DecodeAndLocate(benchmark::State& state) {
    StressMap* map = stressMap(state);
    if (!map) return;
    auto doc = std::make_unique<ts::MapDocument>();
    for (auto _ : state) {
        const ts::DecodedImage decoded = ts::decodeMapImage(stressFile("stress.tga"), false);
        benchmark::DoNotOptimize(ts::z_LocateProvinces(decoded.image, *doc, map->ui, QString()));
    }
    if (doc->ProvinceCount != ts::kMaxProvince) state.SkipWithError("provinces were lost");
}
BENCHMARK(BM_Stress_DecodeAndLocate)->Unit(benchmark::kMillisecond);

// A zoom: the picture redrawn from the source at the new scale and every marker drawn on it.
void BM_Stress_ZoomRedraw(benchmark::State& state) {
    StressMap* map = stressMap(state);
    if (!map) return;
    const float zoom = ts::zoomScaleForIndex(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        QImage picture = ts::redrawAtZoom(map->source, zoom);
        ts::z_MarkSpecial2(*map->doc, map->settings, picture, zoom, map->doc->ProvinceCount);
        benchmark::DoNotOptimize(picture.constBits());
    }
    state.SetLabel(std::to_string(static_cast<int>(zoom * 100)) + "%");
}
BENCHMARK(BM_Stress_ZoomRedraw)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// Tools > "Find Neighbors" on the shown picture at 100%, markers and all, as the editor runs it.
void BM_Stress_GuessNeighbours(benchmark::State& state) {
    StressMap* map = stressMap(state);
    if (!map) return;
    QImage shown = ts::redrawAtZoom(map->source, 1.0f);
    ts::z_MarkSpecial2(*map->doc, map->settings, shown, 1.0, map->doc->ProvinceCount);
    auto doc = std::make_unique<ts::MapDocument>(*map->doc);
    for (auto _ : state) {
        state.PauseTiming();
        QImage picture = shown.copy(); // the guess draws its lines into the picture
        state.ResumeTiming();
        benchmark::DoNotOptimize(ts::z_Guess_Neighbors(*doc, picture, 1.0f, map->ui));
    }
}
BENCHMARK(BM_Stress_GuessNeighbours)->Unit(benchmark::kMillisecond);

// Find Neighbors on every province as one step of the history, then undone: what the step holds
// and how much the process grew from before the guess to after the undo.
void BM_Stress_UndoFindNeighbours(benchmark::State& state) {
    StressMap* map = stressMap(state);
    if (!map) return;
    QImage shown = ts::redrawAtZoom(map->source, 1.0f);
    auto doc = std::make_unique<ts::MapDocument>(*map->doc);
    double stepBytes = 0, grown = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QImage picture = shown.copy();
        ts::EditJournal journal(*doc);
        const double before = residentMegabytes();
        state.ResumeTiming();
        journal.begin({.neighbours = true});
        ts::z_Guess_Neighbors(*doc, picture, 1.0f, map->ui);
        journal.end("Find Neighbors");
        stepBytes = static_cast<double>(journal.history().bytes());
        if (!journal.undo()) state.SkipWithError("nothing to undo");
        grown = residentMegabytes() - before;
    }
    state.counters["step_KB"] = stepBytes / 1024.0;
    state.counters["grown_MB"] = grown;
}
BENCHMARK(BM_Stress_UndoFindNeighbours)->Unit(benchmark::kMillisecond);

// Tools > "Insert Province" (0) and "Remove Province" (1) on the stress map as the editor runs them:
// the pixel changed, every province number remapped, the step recorded, and the picture redrawn
// with all markers. Each run is undone again untimed, so every run starts from the same map.
void BM_Stress_ProvinceTool(benchmark::State& state) {
    StressMap* map = stressMap(state);
    if (!map) return;
    auto doc = std::make_unique<ts::MapDocument>(*map->doc);
    QImage source = map->source.copy();
    // A map at the limit takes no more provinces: the last one goes first, untimed.
    const auto setter = [&source](int x, int y, std::uint32_t rgb) { source.setPixel(x, y, 0xFF000000u | rgb); };
    ts::planRemove(*doc, source, ts::kMaxProvince).change(setter)->apply(*doc);
    // The spot of an insert: the first free one at the bottom, so every province is renumbered.
    QPoint spot(-1, -1);
    for (int x = 2; x < source.width() && spot.x() < 0; ++x)
        if (ts::planInsert(*doc, source, QPoint(x, source.height() - 3)).ok()) spot = QPoint(x, source.height() - 3);
    ts::EditJournal journal(*doc);
    for (auto _ : state) {
        const ts::ProvincePixelEdit edit =
            state.range(0) == 0 ? ts::planInsert(*doc, source, spot) : ts::planRemove(*doc, source, 1);
        if (!edit.ok()) {
            state.SkipWithError(edit.refusal.toStdString().c_str());
            break;
        }
        auto change = edit.change(setter);
        change->apply(*doc);
        journal.record(ts::EditStep::of(std::move(change), "tool"));
        QImage picture = ts::redrawAtZoom(source, 1.0f);
        ts::z_MarkSpecial2(*doc, map->settings, picture, 1.0f, doc->ProvinceCount);
        benchmark::DoNotOptimize(picture.constBits());
        state.PauseTiming();
        journal.undo();
        state.ResumeTiming();
    }
    state.SetLabel(state.range(0) == 0 ? "insert" : "remove");
}
BENCHMARK(BM_Stress_ProvinceTool)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Peak resident memory since the last reset, in MB (the kernel keeps the high-water mark).
double peakResidentMegabytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

void resetPeakResident() {
    malloc_trim(0); // what earlier runs freed goes back to the system, or it would count as held
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly)) clear.write("5");
}

// Tools > "Find Neighbors (Regions)": the regions over the unscaled picture and their pairs; peak_MB
// is how far the guess lifts the resident memory above what the open map already holds.
void BM_Stress_GuessRegions(benchmark::State& state) {
    StressMap* map = stressMap(state);
    if (!map) return;
    double peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        resetPeakResident();
        const double before = residentMegabytes();
        state.ResumeTiming();
        benchmark::DoNotOptimize(ts::guessRegions(*map->doc, map->source));
        peak = std::max(peak, peakResidentMegabytes() - before);
    }
    state.counters["peak_MB"] = peak;
}
BENCHMARK(BM_Stress_GuessRegions)->Unit(benchmark::kMillisecond);

// File > "Export Picture..." with everything drawn: numbers and names, every link, the start markers
// with their nations; with the argument 1 the PNG is written too.
void BM_Stress_RenderEverything(benchmark::State& state) {
    StressMap* map = stressMap(state);
    if (!map) return;
    const ts::RenderOptions all{1.0, true, true, true, true};
    ts::TempFolder folder;
    for (auto _ : state) {
        const QImage picture = ts::renderMapPicture(*map->doc, map->settings, map->source, all);
        if (state.range(0) == 1 && !ts::savePicture(picture, folder.file(QStringLiteral("stress.png"))).isEmpty())
            state.SkipWithError("the write failed");
    }
}
BENCHMARK(BM_Stress_RenderEverything)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Tools > "Map Report": every figure, the graph's diameter (a walk from every province) included.
void BM_Stress_MapReport(benchmark::State& state) {
    StressMap* map = stressMap(state);
    if (!map) return;
    for (auto _ : state)
        benchmark::DoNotOptimize(ts::ComputeMapReport(*map->doc));
}
BENCHMARK(BM_Stress_MapReport)->Unit(benchmark::kMillisecond);

// Tools > "Guess Terrain" with the terrain of a fifth of the provinces set (0), and for every province,
// each learnt from all the others (1).
void BM_Stress_GuessTerrain(benchmark::State& state) {
    StressMap* map = stressMap(state);
    if (!map) return;
    ts::TerrainGuessInput input;
    input.positions = ts::provincePixels(*map->doc);
    const std::vector<std::int32_t> truth = ts::knownTerrain(*map->doc);
    input.all = state.range(0) == 1;
    input.known = truth;
    if (!input.all)
        for (std::size_t i = 0; i < truth.size(); ++i)
            if (i % 5 != 0) input.known[i] = -1;
    for (auto _ : state)
        benchmark::DoNotOptimize(ts::guessTerrain(map->source, input));
}
BENCHMARK(BM_Stress_GuessTerrain)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

// The same from a fifth of the provinces on tile art as large (16x24 tiles of three kinds), which the
// guess reads over the region guess's partition.
void BM_Stress_GuessTerrainTileArt(benchmark::State& state) {
    StressMap* map = stressMap(state);
    if (!map) return;
    QImage tiles(map->source.size(), QImage::Format_RGB32);
    {
        QPainter painter(&tiles);
        for (int y = 0; y < tiles.height(); y += 24)
            for (int x = 0; x < tiles.width(); x += 16) {
                const int kind = (x / 16 * 7 + y / 24 * 3) % 3;
                painter.fillRect(x, y, 16, 24, QColor(96 + 30 * kind, 150 - 30 * kind, 60 + 20 * kind));
                painter.setPen(QPen(QColor(20, 40, 10), 2));
                painter.drawLine(x + 4, y + 18, x + 8 + kind * 2, y + 8);
            }
    }
    ts::TerrainGuessInput input;
    input.positions = ts::provincePixels(*map->doc);
    input.known = ts::knownTerrain(*map->doc);
    for (std::size_t i = 0; i < input.known.size(); ++i)
        if (i % 5 != 0) input.known[i] = -1;
    for (auto _ : state)
        benchmark::DoNotOptimize(ts::guessTerrain(tiles, input));
}
BENCHMARK(BM_Stress_GuessTerrainTileArt)->Unit(benchmark::kMillisecond);

void BM_Stress_WriteMapFile(benchmark::State& state) {
    StressMap* map = stressMap(state);
    if (!map) return;
    ts::TempFolder folder;
    const QString path = folder.file(QStringLiteral("stress.map"));
    for (auto _ : state)
        if (!ts::z_WriteMapFile(*map->doc, *map->ref, map->ui, path)) state.SkipWithError("the write failed");
}
BENCHMARK(BM_Stress_WriteMapFile)->Unit(benchmark::kMillisecond);

// A script over every province: tests that walk every commander's items and stacks, and apply lines
// that add a commander with troops, as the script menu runs it.
void BM_Stress_RunScript(benchmark::State& state) {
    StressMap* map = stressMap(state);
    if (!map) return;
    // The first two blocks look at every stack and item slot of every commander and select nothing.
    const std::string script = ":SELECT PROVINCES WHERE\n"
                               "unit = 9999\n"
                               ":THEN\n"
                               "lab = TRUE\n"
                               ":END\n"
                               ":SELECT PROVINCES WHERE\n"
                               "item = Nothing\n"
                               ":THEN\n"
                               "lab = TRUE\n"
                               ":END\n"
                               ":SELECT PROVINCES WHERE\n"
                               "tsea = FALSE\n"
                               "item != \"No such item\"\n"
                               "unitcount < 9999\n"
                               ":THEN\n"
                               "temple = TRUE\n"
                               "comtype = 8\n"
                               "comname = \"Hrolf the Burnt\"\n"
                               "unit = 15\n"
                               "unitcount = 12\n"
                               ":END\n"
                               ":SELECT ALL PROVINCES\n"
                               ":THEN\n"
                               "markuser = TRUE\n"
                               "groundcol = 258\n"
                               ":END\n";
    auto doc = std::make_unique<ts::MapDocument>();
    int progress = 0;
    ts::ScriptHooks hooks;
    hooks.progress = [&](int p, int) { progress = p; };
    // With 1, the run is one step of the history, as the editor records it.
    const bool recorded = state.range(0) == 1;
    double stepBytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        *doc = *map->doc;
        ts::EditJournal journal(*doc);
        state.ResumeTiming();
        if (recorded) journal.begin({.everything = true});
        if (!ts::RunScript(*doc, *map->ref, map->ui, script, QStringLiteral("bench.tss"), hooks).completed)
            state.SkipWithError("the script stopped");
        if (recorded) journal.end("Script bench");
        stepBytes = static_cast<double>(journal.history().bytes());
    }
    if (progress != ts::kMaxProvince) state.SkipWithError("not every province was looked at");
    if (recorded) state.counters["step_MB"] = stepBytes / (1024.0 * 1024.0);
}
BENCHMARK(BM_Stress_RunScript)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
