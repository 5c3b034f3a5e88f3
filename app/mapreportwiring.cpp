#include "mapreportwiring.h"

#include "checkmapwiring.h"
#include "cp1252.h"
#include "exportpicturedialog.h"
#include "mainwindow.h"
#include "mapdocument.h"
#include "mapimage.h"
#include "maprender.h"
#include "mapreportwindow.h"
#include "mapview.h"
#include "regionguess.h"
#include "regionoverlay.h"
#include "settings.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMenu>

namespace ts {

namespace {

void tell(UserInterface& ui, const QString& title, const QString& text) { ui.messageBox(title, text); }

QString mapTitle(MainWindow& window) {
    const MapDocument& doc = window.document();
    return fromCp1252(doc.MapTitle.empty() ? doc.MapFileTitle.view() : doc.MapTitle.view());
}

// The path the map's own name suggests, with another suffix.
QString besideMap(MainWindow& window, const QString& suffix) {
    const QFileInfo map(fromCp1252(window.document().MapFilePath.view()));
    return map.completeBaseName() + suffix;
}

QString folderOfMap(MainWindow& window) {
    return QFileInfo(fromCp1252(window.document().MapFilePath.view())).absolutePath();
}

// The regions of the picture, grown once per picture: the shares follow every edit of the links,
// the regions only a new picture.
const RegionMap& regionsOf(MainWindow& window) {
    static qint64 grownFrom = 0;
    static RegionMap regions;
    const MapImage& image = window.mapImage();
    if (image.sourceKey() != grownFrom || regions.isEmpty()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        regions = guessRegions(window.document(), image.source()).regions;
        QApplication::restoreOverrideCursor();
        grownFrom = image.sourceKey();
    }
    return regions;
}

void showShares(MainWindow& window, bool on, const MapReport& report) {
    auto* overlay = window.mapView().findChild<RegionOverlay*>(QStringLiteral("picSharesOverlay"));
    if (!overlay) {
        overlay = new RegionOverlay(&window.mapView());
        overlay->setObjectName(QStringLiteral("picSharesOverlay"));
    }
    if (!on || !window.mapImage().isLoaded()) {
        overlay->hide();
        return;
    }
    overlay->setRegions(sharesOverlay(regionsOf(window), report.nearestStart, ShareColors(report)));
    overlay->show();
    overlay->raise();
}

QByteArray sharesPng(MainWindow& window, const MapReport& report) {
    if (!window.mapImage().isLoaded()) return {};
    return sharesPagePng(window.document(), settings(), window.mapImage().source(), regionsOf(window),
                         report.nearestStart, StartProvinces(report), ShareColors(report));
}

MapReportWindow* reportWindow(MainWindow& window) {
    if (auto* made = window.findChild<MapReportWindow*>(QStringLiteral("frmMapReport"))) return made;
    auto* made = new MapReportWindow(&window);
    made->compute = [&window] { return ComputeMapReport(window.document()); };
    made->mapTitle = [&window] { return mapTitle(window); };
    made->showProvince = [&window](int province) { showFindingProvince(window, province); };
    made->showShares = [&window](bool on, const MapReport& report) { showShares(window, on, report); };
    made->sharesPicture = [&window](const MapReport& report) { return sharesPng(window, report); };
    made->askHtmlPath = [&window] {
        return window.saveFileDialog(QStringLiteral("HTML Pages (*.html)|*.html"), folderOfMap(window),
                                     besideMap(window, QStringLiteral("-report.html")));
    };
    made->reportSaveError = [&window](const QString& error) {
        tell(window, QStringLiteral("Map Report"), QStringLiteral("The report could not be saved: ") + error);
    };
    return made;
}

void exportPicture(MainWindow& window) {
    MapImage& image = window.mapImage();
    if (!image.isLoaded()) {
        tell(window, QStringLiteral("Export Picture"), QStringLiteral("Open a map with its picture first."));
        return;
    }
    static RenderOptions last{1.0, true, false, true, true};
    const std::optional<RenderOptions> options = askRenderOptions(&window, image.sourceSize(), last);
    if (!options) return;
    last = *options;
    std::optional<QString> path = window.saveFileDialog(QStringLiteral("PNG Pictures (*.png)|*.png"), folderOfMap(window),
                                                        besideMap(window, QStringLiteral(".png")));
    if (!path) return;
    if (!path->endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) *path += QStringLiteral(".png");
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QImage picture = renderMapPicture(window.document(), settings(), image.source(), *options);
    const QString error = picture.isNull() ? QStringLiteral("the picture is too large") : savePicture(picture, *path);
    QApplication::restoreOverrideCursor();
    if (!error.isEmpty())
        tell(window, QStringLiteral("Export Picture"), QStringLiteral("Cannot write %1: %2").arg(*path, error));
}

} // namespace

void connectExportPicture(MainWindow& window) {
    auto* file = window.findChild<QMenu*>(QStringLiteral("mnuFile"));
    if (!file) return;
    auto* item = new QAction(QStringLiteral("Export Picture..."), file);
    item->setObjectName(QStringLiteral("mnuExportPicture"));
    // After the saves, before the recent maps and their separator.
    const QList<QAction*> items = file->actions();
    const auto* recent = window.findChild<QMenu*>(QStringLiteral("mnuRecentMaps"));
    const qsizetype at = recent ? items.indexOf(recent->menuAction()) : -1;
    file->insertAction(at > 0 ? items[at - 1] : nullptr, item);
    QObject::connect(item, &QAction::triggered, &window, [&window] { exportPicture(window); });
}

void connectMapReport(MainWindow& window) {
    auto* tools = window.findChild<QMenu*>(QStringLiteral("mnuTools"));
    if (!tools) return;
    auto* item = new QAction(QStringLiteral("Map Report"), tools);
    item->setObjectName(QStringLiteral("mnuMapReport"));
    tools->insertAction(window.findChild<QAction*>(QStringLiteral("mnuCustomTools")), item);
    QObject::connect(item, &QAction::triggered, &window, [&window] {
        MapReportWindow* report = reportWindow(window);
        report->refresh();
        report->show();
        report->raise();
        report->activateWindow();
    });
}

} // namespace ts
