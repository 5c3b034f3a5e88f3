#include "mapimage.h"

#include "cp1252.h"
#include "paths.h"
#include "imagedecoder.h"
#include "mapdocument.h"
#include "mapgeometry.h"
#include "provincelocator.h"
#include "userinterface.h"

namespace ts {

namespace {
constexpr Color kBusyRed = 255;
} // namespace

void reportUnloadableImage(UserInterface& ui, const QString& path, const QString& error) {
    ui.messageBox(QStringLiteral("Map Image Not Found"),
                  QStringLiteral("Unable to load map image: ") + path + QStringLiteral(" Error: ") + error);
}

QString MapImage::imagePathFor(const MapDocument& doc, const QString& imageFileName) {
    QString path = pathFromText(doc.MapFilePath);
    const QString title = pathFromText(doc.MapFileTitle);
    if (title.isEmpty()) return path;
    return path.replace(title, imageFileName, Qt::CaseSensitive);
}

bool MapImage::load(MapDocument& doc, const QString& imageFileName, UserInterface& ui) {
    const bool sgi = isSgiName(imageFileName);
    const QString path = imagePathFor(doc, imageFileName);

    ui.busyMessage(QStringLiteral("Loading and Converting Map Image..."),
                   QStringLiteral("Tessary: LOADING AND CONVERTING MAP IMAGE...") + imageFileName, kBusyRed);
    ui.processEvents();

    DecodedImage decoded = decodeMapImage(path, sgi);
    if (!decoded.ok()) {
        reportUnloadableImage(ui, path, decoded.error);
        ui.busyMessage(QString(), QStringLiteral("Tessary: ERROR!-> ") + imageFileName, kBusyRed);
        return false;
    }

    setSource(std::move(decoded.image), path);

    const QString locatingCaption = QStringLiteral("Tessary: LOCATING PROVINCES...") + imageFileName;
    ui.busyMessage(QStringLiteral("Locating Provinces..."), locatingCaption, kBusyRed);
    z_LocateProvinces(mSource, doc, ui, locatingCaption);
    ui.busyMessage(QString(), QStringLiteral("Tessary: ") + imageFileName, kBusyRed);
    return true;
}

void MapImage::setSource(QImage source, const QString& imagePath) {
    mSource = std::move(source);
    if (mSource.format() != QImage::Format_RGB32) mSource = mSource.convertToFormat(QImage::Format_RGB32);
    mImageWidth = static_cast<float>(mSource.width());
    mImageHeight = static_cast<float>(mSource.height());
    mImagePath = imagePath;
    setZoom(0);
}

void MapImage::setZoom(int index) {
    mZoomIndex = (index >= 0 && index < kZoomLevels) ? index : 0;
    mZoomScale = zoomScaleForIndex(mZoomIndex);
    mPicture = redrawAtZoom(mSource, mZoomScale);
}

void MapImage::setSourcePixel(int x, int y, QRgb rgb) {
    if (mSource.rect().contains(x, y)) mSource.setPixel(x, y, 0xFF000000u | rgb);
}

void MapImage::clear() {
    *this = MapImage();
}

std::function<void(const QString&)> mapImageLoader(MapImage& image, MapDocument& doc, UserInterface& ui) {
    return [&image, &doc, &ui](const QString& imageFileName) { image.load(doc, imageFileName, ui); };
}

} // namespace ts
