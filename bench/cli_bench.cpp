// tessary-cli as a user meets it: whole runs of the program, start-up included, and listing the
// provinces of the stress picture against what decoding it with FreeImage alone costs.
#include "imagedecoder.h"
#include "mapdocument.h"
#include "tempfolder.h"

#include <FreeImage.h>
#include <QProcess>
#include <benchmark/benchmark.h>

namespace {

const QString kCli = QStringLiteral(TESSARY_PROGRAM_DIR "/tessary-cli");

QString stressPicture() {
    return qEnvironmentVariable("TESSARY_STRESS_DIR") + QStringLiteral("/stress.tga");
}

void runCli(benchmark::State& state, const QStringList& args) {
    for (auto _ : state) {
        QProcess process;
        process.start(kCli, args);
        if (!process.waitForFinished(60000) || process.exitCode() != 0) state.SkipWithError("tessary-cli failed");
    }
}

// check of a one-line map with the sample tables: what every start costs.
void BM_Stress_CliCheckOneLineMap(benchmark::State& state) {
    ts::TempFolder folder;
    const QString map = folder.write(QStringLiteral("one.map"), "#land 1\n");
    runCli(state, {QStringLiteral("check"), map});
}
BENCHMARK(BM_Stress_CliCheckOneLineMap)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same with a unit named: the tables are read on that first lookup.
void BM_Stress_CliCheckMapNamingAUnit(benchmark::State& state) {
    ts::TempFolder folder;
    const QString map = folder.write(QStringLiteral("unit.map"), "#land 1\n#commander 5\n");
    runCli(state, {QStringLiteral("check"), map});
}
BENCHMARK(BM_Stress_CliCheckMapNamingAUnit)->Unit(benchmark::kMillisecond)->UseRealTime();

// What no run can go below: loading the program and Qt's core, and printing the help.
void BM_Stress_CliHelp(benchmark::State& state) {
    runCli(state, {QStringLiteral("--help")});
}
BENCHMARK(BM_Stress_CliHelp)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Stress_CliLocatePicture(benchmark::State& state) {
    if (!qEnvironmentVariableIsSet("TESSARY_STRESS_DIR")) return state.SkipWithError("TESSARY_STRESS_DIR is not set");
    runCli(state, {QStringLiteral("locate"), stressPicture()});
}
BENCHMARK(BM_Stress_CliLocatePicture)->Unit(benchmark::kMillisecond)->UseRealTime();

// The yardstick for the two below: FreeImage decoding the picture and one pass over its pixels.
void BM_Stress_BareDecodeAndOnePass(benchmark::State& state) {
    if (!qEnvironmentVariableIsSet("TESSARY_STRESS_DIR")) return state.SkipWithError("TESSARY_STRESS_DIR is not set");
    FreeImage_Initialise(FALSE);
    const QByteArray path = stressPicture().toLocal8Bit();
    for (auto _ : state) {
        FIBITMAP* dib = FreeImage_Load(FIF_TARGA, path.constData(), 0);
        if (!dib) return state.SkipWithError("FreeImage could not read the picture");
        const unsigned width = FreeImage_GetWidth(dib), height = FreeImage_GetHeight(dib);
        const unsigned step = FreeImage_GetBPP(dib) / 8;
        int white = 0;
        for (unsigned y = 0; y < height; ++y) {
            const BYTE* row = FreeImage_GetScanLine(dib, static_cast<int>(y));
            for (unsigned x = 0; x < width; ++x, row += step)
                white += row[0] == 255 && row[1] == 255 && row[2] == 255;
        }
        benchmark::DoNotOptimize(white);
        FreeImage_Unload(dib);
    }
}
BENCHMARK(BM_Stress_BareDecodeAndOnePass)->Unit(benchmark::kMillisecond);

void BM_Stress_LocatePictureFile(benchmark::State& state) {
    if (!qEnvironmentVariableIsSet("TESSARY_STRESS_DIR")) return state.SkipWithError("TESSARY_STRESS_DIR is not set");
    for (auto _ : state)
        benchmark::DoNotOptimize(ts::locatePictureFile(stressPicture(), false, ts::kMaxProvince));
}
BENCHMARK(BM_Stress_LocatePictureFile)->Unit(benchmark::kMillisecond);

} // namespace
