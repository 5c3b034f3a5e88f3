#include <QApplication>
#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    // The finder benchmarks refill real list widgets.
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
