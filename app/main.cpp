#include "mainwindow.h"
#include "paths.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessary"));
    ts::MainWindow window;
    window.show();
    // Start-up runs once the window is on screen, so its busy messages are seen.
    QTimer::singleShot(0, &window, [&window] {
        if (!window.startUp(ts::programFolder())) QCoreApplication::exit(1);
    });
    return QApplication::exec();
}
