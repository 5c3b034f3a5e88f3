#include "mainwindow.h"
#include "mapdocument.h"
#include "mapimage.h"
#include "maplifecycle.h"
#include "paths.h"
#include "referencedata.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {

// Peak resident memory of this process so far, in kB (VmHWM); 0 where /proc is not there.
long long peakResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine())
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toLongLong();
    return 0;
}

// Milliseconds since the system started this process, loading the program and its libraries
// included (to the kernel's tick, 10 ms); -1 where /proc is not there.
long long sinceProcessStartMs() {
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly)) return -1;
    const QByteArray line = stat.readAll();
    // The fields after the program's name, which may hold blanks, start with the third; the start
    // time is the 22nd.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 20) return -1;
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const long long startMs = fields[19].toLongLong() * 1000 / sysconf(_SC_CLK_TCK);
    return now.tv_sec * 1000LL + now.tv_nsec / 1000000 - startMs;
}

// For the benchmarks (TESSARY_QUIT_AFTER_OPEN): once the window has drawn its first frame after
// start-up (and after opening the map, when one was named), print how long that took and the
// memory it needed, and end.
void reportAndQuit(ts::MainWindow& window, const char* what, const QElapsedTimer& timer, int exitCode) {
    window.repaint();
    std::printf("%s %lld\nframe_ms %lld\npeak_rss_kb %lld\n", what, static_cast<long long>(timer.elapsed()),
                sinceProcessStartMs(), peakResidentKb());
    std::fflush(stdout);
    QCoreApplication::exit(exitCode);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessary"));
    QApplication::setApplicationVersion(QStringLiteral(TESSARY_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Editor for Thraxis 3 scenario maps"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("map"), QStringLiteral("A map file to open at start-up."));
    parser.process(app);
    const QStringList maps = parser.positionalArguments();
    // The document and the tables are megabytes of empty records: they are built one after the
    // other while the window is made.
    ts::startBuildingMapDocument([] { ts::referenceData(); });

    ts::MainWindow window;
    window.show();
    // Start-up runs once the window is on screen, so its busy messages are seen.
    QTimer::singleShot(0, &window, [&window, maps] {
        const bool quit = qEnvironmentVariableIsSet("TESSARY_QUIT_AFTER_OPEN");
        QElapsedTimer timer;
        timer.start();
        if (!window.startUp(ts::programFolder(), !maps.isEmpty())) {
            QCoreApplication::exit(1);
            return;
        }
        if (maps.isEmpty()) {
            if (quit) reportAndQuit(window, "start_ms", timer, 0);
            return;
        }
        timer.start();
        window.lifecycle().openMapFile(maps.first());
        window.showBackground(); // in the map's place if it has no picture; behind it it costs nothing
        if (quit) reportAndQuit(window, "open_ms", timer, window.mapImage().isLoaded() ? 0 : 1);
    });
    return QApplication::exec();
}
