#pragma once

#include <QImage>
#include <QString>
#include <functional>

namespace ts {

struct MapDocument;
class UserInterface;

// The map picture of the open map: the unscaled source kept for zooming, and the picture as shown
// at the current zoom, which markers, marks and guessed lines are drawn into. The map widget shows
// picture() and repaints it; everything else about the image lives here, free of widgets.
class MapImage {
  public:
    // z_LoadMapImage: finds the image beside the map file (imageFileName as written in the map, no
    // folder), decodes it, keeps it as the zoom source, shows it at 100% and locates the provinces.
    // A failure is reported to the user and leaves the previous picture and provinces as they were.
    // After a successful load the caller redraws markers and selection at 100%, as after a zoom.
    bool load(MapDocument& doc, const QString& imageFileName, UserInterface& ui);

    // The full path of an image named in the map: every occurrence of the map file's name in its
    // path replaced by the image's name, so the image is looked for beside the map file.
    static QString imagePathFor(const MapDocument& doc, const QString& imageFileName);

    // Takes a decoded picture as the zoom source and shows it at 100%; load() ends with this.
    void setSource(QImage source, const QString& imagePath = QString());

    // Redraws the shown picture from the source at menu index 0..3 (100%, 75%, 50%, 25%); everything
    // drawn over the picture before is lost. Choosing the current zoom again redraws as well.
    void setZoom(int index);

    // The one way the province tools change the picture: a pixel of the source. The shown picture
    // follows at the next redraw (setZoom), which the tools make anyway to renumber the markers.
    void setSourcePixel(int x, int y, QRgb rgb);

    // Drops the picture, as when no map is open.
    void clear();

    bool isLoaded() const { return !mSource.isNull(); }
    const QImage& source() const { return mSource; }
    QImage& picture() { return mPicture; }
    const QImage& picture() const { return mPicture; }
    int zoomIndex() const { return mZoomIndex; }
    float ZoomScale() const { return mZoomScale; }
    // Size of the picture at 100%, and where it was loaded from.
    float ImageWidth() const { return mImageWidth; }
    float ImageHeight() const { return mImageHeight; }
    const QString& ImagePath() const { return mImagePath; }

  private:
    QImage mSource;
    QImage mPicture;
    int mZoomIndex = 0;
    float mZoomScale = 1.0f;
    float mImageWidth = 0.0f;
    float mImageHeight = 0.0f;
    QString mImagePath;
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
