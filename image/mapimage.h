#pragma once

#include <QImage>
#include <QString>
#include <QPoint>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <vector>

#include "imagedecoder.h"

namespace ts {

struct MapDocument;
class UserInterface;

// A pixel of the source picture to set (a province added, removed or moved on the picture).
struct PixelChange {
    QPoint at; // image coordinates
    QRgb colour;
};

// The map picture of the open map: the unscaled source kept for zooming, and the picture as shown
// at the current zoom, which markers, marks and guessed lines are drawn into. The map widget shows
// picture() and repaints it; everything else about the image lives here, free of widgets.
//
// A big map is held once. At 100% the shown picture is the source itself: before anything is drawn
// into an area, the source pixels there are set aside in small tiles (or, for drawing anywhere, the
// whole source at once), and a redraw puts them back. At other zooms the source stays untouched and
// the shown picture is its smaller scaled copy.
class MapImage {
  public:
    // z_LoadMapImage: finds the image beside the map file (imageFileName as written in the map, no
    // folder), decodes it, keeps it as the zoom source, shows it at 100% and locates the provinces.
    // A failure is reported to the user and leaves the previous picture and provinces as they were.
    // After a successful load the caller redraws markers and selection at 100%, as after a zoom.
    bool load(MapDocument& doc, const QString& imageFileName, UserInterface& ui);
    // Starts decoding the image the map names on another thread while the map is still being read;
    // the load that follows takes the result when it asks for the same file.
    void prefetch(const MapDocument& doc, const QString& imageFileName);

    // The full path of an image named in the map: every occurrence of the map file's name in its
    // path replaced by the image's name, so the image is looked for beside the map file.
    static QString imagePathFor(const MapDocument& doc, const QString& imageFileName);

    // Takes a decoded picture as the zoom source and shows it at 100%; load() ends with this.
    void setSource(QImage source, const QString& imagePath = QString());

    // Redraws the shown picture from the source at menu index 0..3 (100%, 75%, 50%, 25%); everything
    // drawn over the picture before is lost. Choosing the current zoom again redraws as well.
    void setZoom(int index);

    // Sets pixels of the source and redraws the shown picture from it at the current zoom, as
    // setZoom does. Pixels outside the picture are ignored.
    void changeSource(const std::vector<PixelChange>& changes);
    // The one way the province tools change the picture: a pixel of the source. What was drawn over
    // the picture goes with it; the shown picture follows at the next redraw (setZoom), which the
    // tools make anyway to renumber the markers.
    void setSourcePixel(int x, int y, QRgb rgb);

    // Drops the picture, as when no map is open.
    void clear();

    bool isLoaded() const { return !mFull.isNull(); }
    // The picture as decoded. At 100% after drawing into the picture this puts a copy together,
    // so ask for the size with sourceSize().
    QImage source() const;
    QSize sourceSize() const { return mFull.size(); }
    // Changes only when another picture is loaded or the source is changed.
    qint64 sourceKey() const { return mSourceKey; }

    // The picture as shown, to paint on screen or read.
    const QImage& picture() const { return shown(); }
    // The picture to draw into anywhere (the neighbour guess): at 100% the whole source is set
    // aside first.
    QImage& wholePictureToDrawIn();
    // To draw into a few small areas (markers): announce each shown area first, then draw into
    // canvas() inside the announced areas only.
    void keepSourceUnder(const QRect& shownArea);
    QImage& canvas() { return shown(); }

    int zoomIndex() const { return mZoomIndex; }
    float ZoomScale() const { return mZoomScale; }
    // Size of the picture at 100%, and where it was loaded from.
    float ImageWidth() const { return mImageWidth; }
    float ImageHeight() const { return mImageHeight; }
    const QString& ImagePath() const { return mImagePath; }

    // Source pixels set aside at 100%, in bytes: what holding the picture once costs beyond it.
    qsizetype keptBytes() const;

  private:
    static constexpr int kTile = 8;
    static constexpr std::size_t kTilesPerChunk = 256;
    quint32* keptTile(std::size_t k) const {
        return mKept[k / kTilesPerChunk].get() + (k % kTilesPerChunk) * kTile * kTile;
    }
    QImage& shown() { return mZoomIndex == 0 ? mFull : mScaled; }
    const QImage& shown() const { return mZoomIndex == 0 ? mFull : mScaled; }
    void restoreSource();
    void dropKeptTiles();
    void putTiles(QImage& into) const;

    QImage mFull;      // the source; at 100% also the shown picture
    QImage mScaled;    // the shown picture at other zooms
    QImage mWholeKept; // the source, when it was set aside whole
    std::vector<std::int32_t> mTileOf; // per tile of mFull: its index in mKept, or -1
    // kTile x kTile source pixels per kept tile, in chunks: one growing array would, while it
    // grows, hold the tiles twice just when memory is at its peak.
    std::vector<std::unique_ptr<quint32[]>> mKept;
    std::vector<std::int32_t> mKeptTiles;
    qint64 mSourceKey = 0;
    int mZoomIndex = 0;
    float mZoomScale = 1.0f;
    float mImageWidth = 0.0f;
    float mImageHeight = 0.0f;
    QString mImagePath;
    // A decoding started by prefetch(), for the file and kind it was started for.
    // A picture decoded, and its provinces found, on a second thread while the map is read.
    struct Prefetched {
        DecodedImage decoded;
        std::vector<QPoint> provincePixels;
    };
    struct Prefetch {
        QString path;
        bool sgi = false;
        std::future<Prefetched> done;
    };
    Prefetch mPrefetch;
};

// The message shown when the picture at path cannot be loaded, and why.
void reportUnloadableImage(UserInterface& ui, const QString& path, const QString& error);

// The loader under the name the rest of the program knows it by.
inline bool z_LoadMapImage(MapImage& image, MapDocument& doc, const QString& imageFileName,
                           UserInterface& ui) {
    return image.load(doc, imageFileName, ui);
}

// The loader as the map reader takes it: loads the named image of doc into image, reporting to ui.
std::function<void(const QString& imageFileName)> mapImageLoader(MapImage& image, MapDocument& doc,
                                                                 UserInterface& ui);

} // namespace ts
