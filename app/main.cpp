#include "mainwindow.h"
#include "maplifecycle.h"
#include "paths.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessary"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Editor for Thraxis 3 scenario maps"));
    parser.addHelpOption();
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
        if (!maps.isEmpty()) window.lifecycle().openMapFile(maps.first());
    });
    return QApplication::exec();
}
