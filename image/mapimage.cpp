#include "mapimage.h"

#include "cp1252.h"
#include "paths.h"
#include "imagedecoder.h"
#include "mapdocument.h"
#include "mapgeometry.h"
#include "provincelocator.h"
#include "userinterface.h"

#include <algorithm>

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

    // A decoding started for this very file while the map was read is taken; any other is let go.
    Prefetch started = std::move(mPrefetch);
    mPrefetch = Prefetch();
    const bool fetched = started.done.valid() && started.path == path && started.sgi == sgi;
    Prefetched done = fetched ? started.done.get() : Prefetched{decodeMapImage(path, sgi), {}};
    DecodedImage& decoded = done.decoded;
    if (!decoded.ok()) {
        reportUnloadableImage(ui, path, decoded.error);
        ui.busyMessage(QString(), QStringLiteral("Tessary: ERROR!-> ") + imageFileName, kBusyRed);
        return false;
    }

    setSource(std::move(decoded.image), path);

    const QString locatingCaption = QStringLiteral("Tessary: LOCATING PROVINCES...") + imageFileName;
    ui.busyMessage(QStringLiteral("Locating Provinces..."), locatingCaption, kBusyRed);
    if (fetched) z_LocateProvinces(done.provincePixels, doc, ui, locatingCaption);
    else z_LocateProvinces(mFull, doc, ui, locatingCaption);
    ui.busyMessage(QString(), QStringLiteral("Tessary: ") + imageFileName, kBusyRed);
    return true;
}

void MapImage::prefetch(const MapDocument& doc, const QString& imageFileName) {
    const QString path = imagePathFor(doc, imageFileName);
    const bool sgi = isSgiName(imageFileName);
    // Decoding, and finding the provinces, touch nothing but the file and the memory it fills, so they
    // may run beside the reader.
    mPrefetch.done = std::future<Prefetched>(); // a decoding of another file ends first
    mPrefetch.path = path;
    mPrefetch.sgi = sgi;
    mPrefetch.done = std::async(std::launch::async, [path, sgi] {
        Prefetched done{decodeMapImage(path, sgi), {}};
        if (done.decoded.ok()) done.provincePixels = findProvincePixels(done.decoded.image);
        return done;
    });
}

void MapImage::setSource(QImage source, const QString& imagePath) {
    mFull = std::move(source);
    if (mFull.format() != QImage::Format_RGB32) mFull = mFull.convertToFormat(QImage::Format_RGB32);
    mWholeKept = QImage();
    dropKeptTiles();
    mSourceKey = mFull.cacheKey();
    mImageWidth = static_cast<float>(mFull.width());
    mImageHeight = static_cast<float>(mFull.height());
    mImagePath = imagePath;
    setZoom(0);
}

void MapImage::setZoom(int index) {
    restoreSource();
    mZoomIndex = (index >= 0 && index < kZoomLevels) ? index : 0;
    mZoomScale = zoomScaleForIndex(mZoomIndex);
    mScaled = mZoomIndex == 0 ? QImage() : redrawAtZoom(mFull, mZoomScale);
}

void MapImage::changeSource(const std::vector<PixelChange>& changes) {
    if (!isLoaded()) return;
    for (const PixelChange& change : changes) setSourcePixel(change.at.x(), change.at.y(), change.colour);
    setZoom(mZoomIndex);
}

QImage MapImage::source() const {
    if (!mWholeKept.isNull()) return mWholeKept;
    if (mKeptTiles.empty()) return mFull;
    QImage whole = mFull.copy();
    putTiles(whole);
    return whole;
}

QImage& MapImage::wholePictureToDrawIn() {
    if (mZoomIndex == 0 && mWholeKept.isNull() && isLoaded()) {
        mWholeKept = mFull.copy();
        putTiles(mWholeKept);
        dropKeptTiles();
    }
    return shown();
}

void MapImage::keepSourceUnder(const QRect& shownArea) {
    if (mZoomIndex != 0 || !mWholeKept.isNull() || !isLoaded()) return;
    const QRect area = shownArea & mFull.rect();
    if (area.isEmpty()) return;
    const int across = (mFull.width() + kTile - 1) / kTile;
    if (mTileOf.empty()) mTileOf.assign(static_cast<std::size_t>(across) * ((mFull.height() + kTile - 1) / kTile), -1);
    for (int ty = area.top() / kTile; ty <= area.bottom() / kTile; ++ty) {
        for (int tx = area.left() / kTile; tx <= area.right() / kTile; ++tx) {
            std::int32_t& slot = mTileOf[static_cast<std::size_t>(ty) * across + tx];
            if (slot >= 0) continue;
            slot = static_cast<std::int32_t>(mKeptTiles.size());
            mKeptTiles.push_back(ty * across + tx);
            // Edge tiles keep a full square too; the part outside the picture is never put back.
            const int width = std::min(kTile, mFull.width() - tx * kTile);
            const int height = std::min(kTile, mFull.height() - ty * kTile);
            if (mKeptTiles.size() > mKept.size() * kTilesPerChunk)
                mKept.push_back(std::make_unique<quint32[]>(kTilesPerChunk * kTile * kTile));
            quint32* to = keptTile(mKeptTiles.size() - 1);
            for (int row = 0; row < height; ++row) {
                const auto* from = reinterpret_cast<const quint32*>(mFull.constScanLine(ty * kTile + row)) + tx * kTile;
                std::copy(from, from + width, to + row * kTile);
            }
        }
    }
}

void MapImage::putTiles(QImage& into) const {
    const int across = (mFull.width() + kTile - 1) / kTile;
    for (std::size_t k = 0; k < mKeptTiles.size(); ++k) {
        const int tx = mKeptTiles[k] % across, ty = mKeptTiles[k] / across;
        const int width = std::min(kTile, into.width() - tx * kTile);
        const int height = std::min(kTile, into.height() - ty * kTile);
        for (int row = 0; row < height; ++row) {
            const quint32* from = keptTile(k) + row * kTile;
            std::copy(from, from + width, reinterpret_cast<quint32*>(into.scanLine(ty * kTile + row)) + tx * kTile);
        }
    }
}

void MapImage::restoreSource() {
    if (!mWholeKept.isNull()) {
        mFull = std::move(mWholeKept);
        mWholeKept = QImage();
    } else if (!mKeptTiles.empty()) {
        putTiles(mFull);
    }
    dropKeptTiles();
}

void MapImage::dropKeptTiles() {
    // Swapped out rather than cleared, so the memory goes back too.
    std::vector<std::int32_t>().swap(mTileOf);
    std::vector<std::unique_ptr<quint32[]>>().swap(mKept);
    std::vector<std::int32_t>().swap(mKeptTiles);
}

qsizetype MapImage::keptBytes() const {
    return static_cast<qsizetype>(mKept.size() * kTilesPerChunk * kTile * kTile * sizeof(quint32) +
                                  mTileOf.size() * sizeof(std::int32_t) + mKeptTiles.size() * sizeof(std::int32_t)) +
           (mWholeKept.isNull() ? 0 : mWholeKept.sizeInBytes());
}

void MapImage::setSourcePixel(int x, int y, QRgb rgb) {
    if (!isLoaded() || !mFull.rect().contains(x, y)) return;
    restoreSource();
    reinterpret_cast<quint32*>(mFull.scanLine(y))[x] = rgb | 0xFF000000u;
    mSourceKey = mFull.cacheKey();
}

void MapImage::clear() {
    *this = MapImage();
}

std::function<void(const QString&)> mapImageLoader(MapImage& image, MapDocument& doc, UserInterface& ui) {
    return [&image, &doc, &ui](const QString& imageFileName) { image.load(doc, imageFileName, ui); };
}

} // namespace ts
