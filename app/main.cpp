#include "mainwindow.h"
#include "mapimage.h"
#include "maplifecycle.h"
#include "paths.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <cstdio>

namespace {

// Peak resident memory of this process so far, in kB (VmHWM); 0 where /proc is not there.
long long peakResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine())
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toLongLong();
    return 0;
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

    ts::MainWindow window;
    window.show();
    // Start-up runs once the window is on screen, so its busy messages are seen.
    QTimer::singleShot(0, &window, [&window, maps] {
        if (!window.startUp(ts::programFolder())) {
            QCoreApplication::exit(1);
            return;
        }
        if (maps.isEmpty()) return;
        QElapsedTimer clock;
        clock.start();
        window.lifecycle().openMapFile(maps.first());
        // For the benchmark: how long opening the map took end to end and the memory it needed.
        if (qEnvironmentVariableIsSet("TESSARY_QUIT_AFTER_OPEN")) {
            std::printf("open_ms %lld\npeak_rss_kb %lld\n", static_cast<long long>(clock.elapsed()),
                        peakResidentKb());
            std::fflush(stdout);
            QCoreApplication::exit(window.mapImage().isLoaded() ? 0 : 1);
        }
    });
    return QApplication::exec();
}
