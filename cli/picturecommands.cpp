// The module tessary-cli opens for the commands that need a picture (see picturecommands.h).

#include "picturecommands.h"

#include "cp1252.h"
#include "imagedecoder.h"
#include "mapdocument.h"
#include "mapimage.h"
#include "maprender.h"
#include "mapreport.h"
#include "markers.h"
#include "neighbourguess.h"
#include "paths.h"
#include "provincelocator.h"
#include "neighbourreview.h"
#include "regionguess.h"
#include "runscript.h"
#include "settings.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>

namespace ts {

namespace {

MapImage& image() {
    static MapImage picture;
    return picture;
}

int locatePicture(const QString& path, UserInterface& ui) {
    // A picture on its own needs no tables and no document, only its white pixels, read
    // straight from the decoded rows: a large picture is listed in a fraction of the memory.
    const QFileInfo info(path);
    const LocatedPixels located = locatePictureFile(info.absoluteFilePath(), isSgiName(info.fileName()), kMaxProvince);
    if (!located.error.isEmpty()) {
        reportUnloadableImage(ui, info.absoluteFilePath(), located.error);
        return 2;
    }
    if (located.tooMany) reportTooManyProvinces(ui);
    QString out = QStringLiteral("%1 provinces\n").arg(located.pixels.size());
    for (std::size_t n = 0; n < located.pixels.size(); ++n)
        out += QStringLiteral("%1 %2 %3\n").arg(n + 1).arg(located.pixels[n].x()).arg(located.pixels[n].y());
    const QByteArray bytes = out.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
    return 0;
}

void loadPicture(MapDocument& doc, const QString& imageFileName, UserInterface& ui) {
    image().load(doc, imageFileName, ui);
}

void loadNamedPicture(MapDocument& doc, UserInterface& ui) {
    if (doc.ImageFileName.empty()) return;
    const QString name = fromCp1252(doc.ImageFileName.view());
    if (!QFileInfo::exists(MapImage::imagePathFor(doc, name))) return;
    image().load(doc, name, ui);
}

bool pictureLoaded() {
    return image().isLoaded();
}

QSize pictureSize() { return image().isLoaded() ? image().sourceSize() : QSize(); }

void guessNeighbours(MapDocument& doc, UserInterface& ui, bool regions, bool keep) {
    MapImage& picture = image();
    const std::vector<RegionPair> lists = keep ? neighbourPairs(doc) : std::vector<RegionPair>();
    if (regions) {
        applyNeighbourPairs(doc, NeighbourReview(lists, guessRegions(doc, picture.source()).pairs, keep).result());
        return;
    }
    // The editor's guess reads the picture as shown; markers in their base look hide what lies
    // under them, and no selection ring is drawn to count as a border.
    picture.setZoom(0);
    const Settings settings = Settings::defaults(programFolder());
    for (int n = 1; n <= doc.ProvinceCount; ++n)
        doc.Provinces[n].MarkerFlag = false;
    QImage& shown = picture.wholePictureToDrawIn();
    z_ReDrawMarkers(doc, settings, shown, 1.0, doc.ProvinceCount);
    z_Guess_Neighbors(doc, shown, 1.0f, ui);
    if (keep) applyNeighbourPairs(doc, NeighbourReview(lists, neighbourPairs(doc), true).result());
}

int runScript(MapDocument& doc, const ReferenceData& ref, UserInterface& ui, const QString& scriptPath,
              const QString& outPath) {
    return runScriptCommand(doc, ref, ui, image(), scriptPath, outPath);
}

QCoreApplication* makeGuiApplication(int& argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QGuiApplication(argc, argv);
}

int render(const MapDocument& doc, UserInterface& ui, const RenderOptions& options, const QString& outPath) {
    const Settings settings = Settings::defaults(programFolder());
    const QImage picture = renderMapPicture(doc, settings, image().source(), options);
    const QString error = picture.isNull() ? QStringLiteral("the picture is too large") : savePicture(picture, outPath);
    if (error.isEmpty()) return 0;
    ui.messageBox(QStringLiteral("Export Picture"), QStringLiteral("Cannot write %1: %2").arg(outPath, error));
    return 2;
}

QByteArray sharesPicture(const MapDocument& doc, const MapReport& report) {
    if (!image().isLoaded()) return {};
    const QImage& source = image().source();
    return sharesPagePng(doc, Settings::defaults(programFolder()), source, guessRegions(doc, source).regions,
                         report.nearestStart, StartProvinces(report), ShareColors(report));
}

} // namespace

} // namespace ts

extern "C" __attribute__((visibility("default"))) const ts::PictureCommands* tessaryPictureCommands() {
    static const ts::PictureCommands commands{ts::locatePicture,   ts::loadPicture, ts::loadNamedPicture,
                                              ts::pictureLoaded,   ts::pictureSize, ts::guessNeighbours,
                                              ts::runScript,       ts::makeGuiApplication, ts::render,
                                              ts::sharesPicture};
    return &commands;
}
