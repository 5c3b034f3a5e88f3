#pragma once

#include <QSize>
#include <QString>
#include <functional>

namespace ts {

struct MapDocument;
struct ReferenceData;
class UserInterface;

// What the map's life needs from the window. Every hook may be left empty (tests leave most so).
struct LifecycleHooks {
    std::function<QString()> mapsDirectory;
    // Whether maps are read and written keeping what the editor does not understand; on when unset.
    std::function<bool()> keepUnknown;
    std::function<bool()> startingUp;
    // Hides the navigator and the three tool panels.
    std::function<void()> hidePanels;
    // Enables or disables the six top-level menus while a map is being opened.
    std::function<void(bool)> setTopMenusEnabled;
    // The window's part of the reset: zoom back to 100%, background re-fitted, map picture, its
    // copies and the editing frames hidden.
    std::function<void()> resetWindow;
    // Loads the image the map names (no folder) from where the reader looks for it.
    std::function<void(const QString& imageFileName, const QString& imagePath)> loadImage;
    // The map being read named its image: it may be decoded while the rest is read.
    std::function<void(const QString& imageFileName, const QString& imagePath)> imageNamed;
    // The steps of the common finish that belong to the window, in the order they run.
    std::function<void()> buildNavigator;
    std::function<QSize()> mapPictureSize;
    std::function<void(const QString& key, const QString& text)> setStatus;
    std::function<void()> showPanels;
    std::function<void()> showMap;
    std::function<void()> selectFirstProvince;
    std::function<void(bool afterOpen)> enableMapMenus;
    std::function<void()> showErrorLog;
    std::function<void()> focusMap;
    // Makes an open panel commit its edits before the document is written.
    std::function<void()> commitPanels;
    // Writes what changed of the picture before the map is written; false stops the save.
    std::function<bool()> writePicture;
    // A map was opened and is shown; fromRecovery when its recovery copy was read.
    std::function<void(bool fromRecovery)> opened;
    // The map was written where it belongs: the document as it is now is the saved one.
    std::function<void()> saved;
};

// New, open, save and save as with their guards, the recovery copy and the close steps. It works on
// the document and asks the user through the UserInterface; the window is reached through hooks.
class MapLifecycle {
public:
    MapLifecycle(MapDocument& doc, const ReferenceData& ref, UserInterface& ui, LifecycleHooks hooks);

    void newMap();
    void openMap();
    // Opens the given map without the file dialog (command line, recent maps); the guard and the
    // recovery offer still apply.
    void openMapFile(const QString& path);
    void save();
    void saveAs();
    // The close query: false keeps the window open.
    bool queryClose();
    // The document's part of unloading: the recovery copy of the open map is deleted.
    void unload();
    // Writes the whole document to the recovery copy and clears the panel dirty flags.
    void WriteRecoveryFile();

    // The map's path with every ".map" replaced by ".ore".
    static QString recoveryPath(const QString& mapPath);
    QString mapFilePath() const;
    QString mapFileTitle() const;

private:
    bool unsavedChangesGuard();
    void openChosen(const QString& path);
    void commonFinish(bool afterOpen);
    void deleteRecoveryCopy(const QString& mapPath);
    void setPath(const QString& path, const QString& title);
    void read(const QString& file);
    bool write(const QString& path);
    // A save: the changed picture first, then the map.
    bool writeWithPicture(const QString& path);

    MapDocument& mDoc;
    const ReferenceData& mRef;
    UserInterface& mUi;
    LifecycleHooks mHooks;
};

} // namespace ts
