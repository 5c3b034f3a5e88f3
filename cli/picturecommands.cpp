// The module tessary-cli opens for the commands that need a picture (see picturecommands.h).

#include "picturecommands.h"

#include "cp1252.h"
#include "imagedecoder.h"
#include "mapdocument.h"
#include "mapimage.h"
#include "markers.h"
#include "neighbourguess.h"
#include "paths.h"
#include "provincelocator.h"
#include "regionguess.h"
#include "runscript.h"
#include "settings.h"

#include <QFileInfo>
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

QSize pictureSize() { return image().isLoaded() ? image().source().size() : QSize(); }

void guessNeighbours(MapDocument& doc, UserInterface& ui, bool regions) {
    MapImage& picture = image();
    if (regions) {
        applyNeighbourPairs(doc, guessRegions(doc, picture.source()).pairs);
        return;
    }
    // The editor's guess reads the picture as shown; markers in their base look hide what lies
    // under them, and no selection ring is drawn to count as a border.
    picture.setZoom(0);
    const Settings settings = Settings::defaults(programFolder());
    for (int n = 1; n <= doc.ProvinceCount; ++n)
        doc.Provinces[n].MarkerFlag = false;
    z_ReDrawMarkers(doc, settings, picture.picture(), 1.0, doc.ProvinceCount);
    z_Guess_Neighbors(doc, picture.picture(), 1.0f, ui);
}

int runScript(MapDocument& doc, const ReferenceData& ref, UserInterface& ui, const QString& scriptPath,
              const QString& outPath) {
    return runScriptCommand(doc, ref, ui, image(), scriptPath, outPath);
}

int renumber(MapDocument& doc, const ReferenceData& ref, UserInterface& ui, const QString& oldPicturePath,
             const QString& outPath) {
    return renumberCommand(doc, ref, ui, image(), oldPicturePath, outPath);
}

} // namespace

} // namespace ts

extern "C" __attribute__((visibility("default"))) const ts::PictureCommands* tessaryPictureCommands() {
    static const ts::PictureCommands commands{ts::locatePicture,   ts::loadPicture, ts::loadNamedPicture,
                                              ts::pictureLoaded,   ts::pictureSize, ts::guessNeighbours,
                                              ts::runScript,       ts::renumber};
    return &commands;
}
