// The stress map as the user meets it in the editor: the map view zooming and scrolling over the
// 4000x3000 picture (each step with one screen drawn), and the editor itself started without a
// map next to its opening the stress map, as whole runs of the program.
#include "fakeuserinterface.h"
#include "mapdocument.h"
#include "mapimage.h"
#include "mapreader.h"
#include "mapview.h"
#include "referenceloader.h"
#include "settings.h"

#include <QImage>
#include <QProcess>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

class QuietUserInterface : public ts::FakeUserInterface {
  public:
    void busyMessage(const QString&, const QString&, ts::Color) override {}
    void processEvents() override {}
};

const QSize kScreen(1600, 1000);

QString stressFile(const char* name) {
    return qEnvironmentVariable("TESSARY_STRESS_DIR") + QLatin1Char('/') + QLatin1String(name);
}

// The stress map open in a map view inside a map area of one screen.
struct StressView {
    QuietUserInterface ui;
    std::unique_ptr<ts::ReferenceData> ref = std::make_unique<ts::ReferenceData>();
    ts::ReferenceLists lists;
    std::unique_ptr<ts::MapDocument> doc = std::make_unique<ts::MapDocument>();
    ts::Settings settings = ts::Settings::defaults(QStringLiteral(TESSARY_PROGRAM_DIR));
    ts::MapImage image;
    QWidget area;
    ts::MapView* view = nullptr;
    QImage screen{kScreen, QImage::Format_RGB32};
    bool ok = false;

    StressView() {
        if (!ts::LoadReferenceData(*ref, lists, QStringLiteral(TESSARY_PROGRAM_DIR), ui)) return;
        ts::ResetMapDocument(*doc, *ref, ui);
        doc->MapFilePath = stressFile("stress.map").toStdString();
        doc->MapFileTitle = "stress.map";
        ts::z_ReadMapFile(*doc, *ref, ui, stressFile("stress.map"));
        if (!image.load(*doc, QStringLiteral("stress.tga"), ui)) return;
        area.resize(kScreen);
        view = new ts::MapView(&area, *doc, settings, image, ui);
        area.show();
        view->zoom(0);
        ok = doc->ProvinceCount == ts::kMaxProvince;
    }
    // What the user sees of the map area, drawn once.
    void drawScreen() {
        area.render(&screen);
        benchmark::DoNotOptimize(screen.constBits());
    }
};

StressView* stressView(benchmark::State& state) {
    if (!qEnvironmentVariableIsSet("TESSARY_STRESS_DIR")) {
        state.SkipWithError("TESSARY_STRESS_DIR is not set (bench/run sets it)");
        return nullptr;
    }
    static StressView map;
    if (!map.ok) state.SkipWithError("the stress map did not open cleanly");
    return map.ok ? &map : nullptr;
}

// One step of 100% -> 50% -> 25% -> 100%: the zoom with every marker and the selection redrawn,
// and the first screen at the new zoom drawn.
void BM_Stress_ViewZoomStep(benchmark::State& state) {
    StressView* map = stressView(state);
    if (!map) return;
    const int from = static_cast<int>(state.range(0)), to = static_cast<int>(state.range(1));
    for (auto _ : state) {
        state.PauseTiming();
        map->view->zoom(from);
        state.ResumeTiming();
        map->view->zoom(to);
        map->drawScreen();
    }
    map->view->zoom(0);
    state.SetLabel(std::to_string(100 - 25 * from) + "% to " + std::to_string(100 - 25 * to) + "%");
}
BENCHMARK(BM_Stress_ViewZoomStep)->Args({0, 2})->Args({2, 3})->Args({3, 0})->Unit(benchmark::kMillisecond);

// Scrolling the map at 100% by a whole screen (every pixel of it new) and drawing that screen.
void BM_Stress_ViewScrollScreen(benchmark::State& state) {
    StressView* map = stressView(state);
    if (!map) return;
    map->view->moveMap(0, 0);
    int step = 0;
    for (auto _ : state) {
        // Back and forth across the map's width, so every frame shows picture.
        const int left = -kScreen.width() * (step++ % 2);
        map->view->moveMap(left, 0);
        map->drawScreen();
    }
}
BENCHMARK(BM_Stress_ViewScrollScreen)->Unit(benchmark::kMillisecond);

// The editor as a whole program, quitting after its first frame; bench/run prepares its folder
// (with a configuration, so no first-run questions) and names it in TESSARY_EDITOR_DIR.
void runEditor(benchmark::State& state, const QStringList& args) {
    if (!qEnvironmentVariableIsSet("TESSARY_EDITOR_DIR")) return state.SkipWithError("TESSARY_EDITOR_DIR is not set");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TESSARY_QUIT_AFTER_OPEN"), QStringLiteral("1"));
    for (auto _ : state) {
        QProcess editor;
        editor.setProcessEnvironment(env);
        editor.start(qEnvironmentVariable("TESSARY_EDITOR_DIR") + QStringLiteral("/tessary"), args);
        if (!editor.waitForFinished(60000) || editor.exitCode() != 0) state.SkipWithError("the editor failed");
    }
}

void BM_Stress_EditorStartWithoutMap(benchmark::State& state) {
    runEditor(state, {});
}
BENCHMARK(BM_Stress_EditorStartWithoutMap)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Stress_EditorOpenStressMap(benchmark::State& state) {
    if (!qEnvironmentVariableIsSet("TESSARY_STRESS_DIR")) return state.SkipWithError("TESSARY_STRESS_DIR is not set");
    runEditor(state, {stressFile("stress.map")});
}
BENCHMARK(BM_Stress_EditorOpenStressMap)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
