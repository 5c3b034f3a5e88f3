#pragma once

// The editor on a copy of the shipped data with the sample map open, as the window tests drive it.
#include "mainwindow.h"
#include "maplifecycle.h"
#include "mapdocument.h"
#include "mapreader.h"
#include "mapview.h"
#include "paths.h"
#include "refdatafixture.h"
#include "referencedata.h"
#include "tempfolder.h"

#include <QDir>
#include <QtTest>
#include <memory>

namespace ts {

#ifdef TESSARY_SCREENSHOT_DIR
inline void shoot(QWidget& w, const char* name) {
    QTest::qWait(50); // the panel column takes its new height in the event loop
    QDir().mkpath(TESSARY_SCREENSHOT_DIR);
    w.grab().save(QStringLiteral(TESSARY_SCREENSHOT_DIR "/") + QLatin1String(name));
}
#endif

struct Editor {
    TempFolder home;
    std::unique_ptr<MainWindow> w;
    QString map;

    Editor() {
        home.copyTreeFrom(TESSARY_PROGRAM_DIR);
        writeDefaultConfiguration(home);
        w = std::make_unique<MainWindow>();
        w->resize(1400, 900);
        w->show();
        map = home.file("maps/aelfheim.map");
    }
    // The document is the program's own and outlives the window: a failed test must not leave the
    // next one asking about unsaved changes.
    ~Editor() { w->document().MapModified = false; }
    bool open() {
        if (!QTest::qWaitForWindowExposed(w.get()) || !w->startUp(home.path())) return false;
        w->lifecycle().openMapFile(map);
        return w->document().ProvinceCount > 200 && !w->document().MapErrorsFound;
    }
    template <typename T> T* get(const char* name) {
        T* c = w->findChild<T*>(QString::fromLatin1(name));
        if (!c) qFatal("no control %s", name);
        return c;
    }
    void rightClick(int province) {
        const ProvinceDataType& p = w->document().Provinces[province];
        QTest::mouseClick(&w->mapView(), Qt::RightButton, Qt::NoModifier, QPoint(p.ProvinceX, p.ProvinceY));
    }
    // The map as the saved file has it.
    std::unique_ptr<MapDocument> readBack() {
        auto back = std::make_unique<MapDocument>();
        back->MapFilePath = pathToText(map);
        back->MapFileTitle = "aelfheim.map";
        z_ReadMapFile(*back, referenceData(), *w, map);
        return back;
    }
};

} // namespace ts
