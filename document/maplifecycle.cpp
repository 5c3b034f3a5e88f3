#include "maplifecycle.h"

#include "cp1252.h"
#include "mapdocument.h"
#include "mapreader.h"
#include "mapwriter.h"
#include "paths.h"
#include "referencedata.h"
#include "userinterface.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <exception>

namespace ts {

namespace {
constexpr Color kBusy = 255;


QString withoutMapExtension(QString title) { return title.replace(QStringLiteral(".map"), QString()); }
} // namespace

MapLifecycle::MapLifecycle(MapDocument& doc, const ReferenceData& ref, UserInterface& ui, LifecycleHooks hooks)
    : mDoc(doc), mRef(ref), mUi(ui), mHooks(std::move(hooks)) {}

QString MapLifecycle::recoveryPath(const QString& mapPath) {
    QString p = mapPath;
    return p.replace(QStringLiteral(".map"), QStringLiteral(".ore"));
}

QString MapLifecycle::mapFilePath() const { return pathFromText(mDoc.MapFilePath); }
QString MapLifecycle::mapFileTitle() const { return pathFromText(mDoc.MapFileTitle); }

void MapLifecycle::setPath(const QString& path, const QString& title) {
    mDoc.MapFilePath = pathToText(path);
    mDoc.MapFileTitle = pathToText(title);
}

bool MapLifecycle::unsavedChangesGuard() {
    if (!mDoc.MapModified) return true;
    return mUi.messageBox(QStringLiteral("Continue without saving changes?"),
                          QStringLiteral("There are unsaved changes to ") + mapFilePath() +
                              QStringLiteral(". OK to continue without saving or Cancel to go back and save your map."),
                          Buttons::OkCancel) == Answer::Ok;
}

void MapLifecycle::deleteRecoveryCopy(const QString& mapPath) {
    if (mapPath.isEmpty()) return;
    const QString ore = recoveryPath(mapPath);
    if (ore != mapPath && QFile::exists(ore)) QFile::remove(ore);
}

void MapLifecycle::read(const QString& file) {
    mDoc.KeepUnknown = !mHooks.keepUnknown || mHooks.keepUnknown();
    MapReadOptions options;
    options.loadImage = mHooks.loadImage;
    options.imageNamed = mHooks.imageNamed;
    z_ReadMapFile(mDoc, mRef, mUi, file, options);
}

bool MapLifecycle::write(const QString& path) {
    // The setting as it is now: turned off, the next save drops what was kept.
    mDoc.KeepUnknown = !mHooks.keepUnknown || mHooks.keepUnknown();
    MapWriteOptions options;
    options.commitPanels = mHooks.commitPanels;
    return z_WriteMapFile(mDoc, mRef, mUi, path, options);
}

bool MapLifecycle::writeWithPicture(const QString& path) {
    return (!mHooks.writePicture || mHooks.writePicture()) && write(path);
}

void MapLifecycle::newMap() {
    if (!unsavedChangesGuard()) return;
    if (mHooks.hidePanels) mHooks.hidePanels();
    const QString mapsDirectory = mHooks.mapsDirectory ? mHooks.mapsDirectory() : QString();
    const auto image = mUi.openFileDialog(QStringLiteral("Map Image Files (*.tga;*.rgb)|*.tga;*.rgb"), mapsDirectory,
                                          QString());
    if (!image) return;

    const QString keptTitle = mapFileTitle();
    const QString keptPath = mapFilePath();
    const Text keptMapTitle = mDoc.MapTitle, keptImage = mDoc.ImageFileName, keptVersion = mDoc.GameVersion,
               keptDescription = mDoc.MapDescription;
    auto restore = [&] {
        setPath(keptPath, keptTitle);
        mDoc.MapTitle = keptMapTitle;
        mDoc.ImageFileName = keptImage;
        mDoc.GameVersion = keptVersion;
        mDoc.MapDescription = keptDescription;
    };

    try {
        const QString imageName = QFileInfo(*image).fileName();
        QString proposed = imageName;
        if (proposed.endsWith(QStringLiteral(".tga")) || proposed.endsWith(QStringLiteral(".rgb")))
            proposed = proposed.left(proposed.size() - 4) + QStringLiteral(".map");
        const auto answer = mUi.inputBox(QStringLiteral("Map Name"),
                                         QStringLiteral("Enter a name for your new map. (ie MyNewAdventure.map)"),
                                         proposed);
        // An empty or cancelled name creates nothing: there would be no file to write.
        if (!answer || answer->trimmed().isEmpty()) return;
        const QString title = *answer;
        const QString path = joinPath(mapsDirectory, title);
        setPath(path, title);

        deleteRecoveryCopy(keptPath);

        if (QFile::exists(path)) {
            const Answer a = mUi.messageBox(QStringLiteral("Overwrite existing map file?"),
                                            path + QStringLiteral(" already exists. OK to overwrite or CANCEL the operation."),
                                            Buttons::OkCancel);
            if (a != Answer::Ok) {
                restore();
                return;
            }
        }

        mUi.busyMessage(QStringLiteral("Creating New Map..."), QStringLiteral("Tessary: CREATING NEW MAP...") + title,
                        kBusy);
        ResetMapDocument(mDoc, mRef, mUi, mHooks.resetWindow);
        setPath(path, title); // the reset keeps the path; set it again so nothing depends on that

        const QString bare = withoutMapExtension(title);
        // Texts of the map are Windows-1252, even where they come from file names.
        mDoc.MapTitle = toCp1252(bare);
        mDoc.ImageFileName = toCp1252(imageName);
        mDoc.GameVersion = "323";
        mDoc.MapDescription = toCp1252(bare + QStringLiteral("\r\n\r\nEnter a description for your map here."));

        // A first map goes into a maps folder that may not exist yet.
        QDir().mkpath(QFileInfo(path).absolutePath());
        // The map finds its picture beside itself, as the game does; a picture chosen elsewhere is
        // copied there, unless a file of that name is there already.
        const QString besideMap = joinPath(QFileInfo(path).absolutePath(), imageName);
        if (QFileInfo(*image).absoluteFilePath() != QFileInfo(besideMap).absoluteFilePath() &&
            !QFile::exists(besideMap))
            QFile::copy(*image, besideMap);
        write(path);
        mDoc.MapModified = false;
        read(path);
        commonFinish(false);
    } catch (const std::exception& e) {
        restore();
        mUi.messageBox(QStringLiteral("Error creating new map!"),
                       QStringLiteral("An error occurred while creating the new map! Error: ") +
                           QString::fromLocal8Bit(e.what()) +
                           QStringLiteral("\r\nIt is highly recommended that you restart Tessary before editing the "
                                          "current map."));
    }
}

void MapLifecycle::openMap() {
    if (!unsavedChangesGuard()) return;
    if (mHooks.hidePanels) mHooks.hidePanels();
    if (mHooks.setTopMenusEnabled) mHooks.setTopMenusEnabled(false);
    const QString mapsDirectory = mHooks.mapsDirectory ? mHooks.mapsDirectory() : QString();
    const auto chosen = mUi.openFileDialog(QStringLiteral("Map Files (*.map)|*.map"), mapsDirectory, mapFilePath());
    if (!chosen) {
        if (mHooks.setTopMenusEnabled) mHooks.setTopMenusEnabled(true);
        return;
    }
    openChosen(*chosen);
}

void MapLifecycle::openMapFile(const QString& path) {
    if (!unsavedChangesGuard()) return;
    if (mHooks.hidePanels) mHooks.hidePanels();
    if (mHooks.setTopMenusEnabled) mHooks.setTopMenusEnabled(false);
    openChosen(QFileInfo(path).absoluteFilePath());
}

void MapLifecycle::openChosen(const QString& path) {
    const QString title = QFileInfo(path).fileName();
    mUi.busyMessage(QStringLiteral("Loading Map Data..."), QStringLiteral("Tessary: LOADING MAP DATA...") + title, kBusy);
    const QString keptPath = mapFilePath();
    setPath(path, title);
    deleteRecoveryCopy(keptPath);

    QString fileToRead = path;
    const QString ore = recoveryPath(path);
    if (ore != path && QFile::exists(ore)) {
        const Answer a = mUi.messageBox(QStringLiteral("Attempt to recover?"),
                                        QStringLiteral("Recovery is available for ") + title +
                                            QStringLiteral(". OK to recover or Cancel to continue loading original file."),
                                        Buttons::OkCancel);
        if (a == Answer::Ok) fileToRead = ore;
    }

    ResetMapDocument(mDoc, mRef, mUi, mHooks.resetWindow);
    setPath(path, title);
    read(fileToRead);
    commonFinish(true);
    mDoc.MapModified = false;
    if (mHooks.opened) mHooks.opened(fileToRead != path);
}

void MapLifecycle::commonFinish(bool afterOpen) {
    mUi.busyMessage(QStringLiteral("Building Astral Teleportation Engine..."),
                    QStringLiteral("Tessary: BUILDING ASTRAL TELEPORTATION ENGINE...") + mapFileTitle(), kBusy);
    if (mHooks.buildNavigator) mHooks.buildNavigator();
    if (mHooks.setStatus && mHooks.mapPictureSize) {
        const QSize size = mHooks.mapPictureSize();
        mHooks.setStatus(QStringLiteral("MAPSIZE"),
                         QString::number(size.width()) + QLatin1Char('x') + QString::number(size.height()));
    }
    for (bool& d : mDoc.PanelDirty) d = false;
    if (mHooks.showPanels) mHooks.showPanels();
    if (mHooks.showMap) mHooks.showMap();
    mUi.busyMessage(QString(), QStringLiteral("Tessary: ") + mapFileTitle(), kBusy);
    if (mHooks.selectFirstProvince) mHooks.selectFirstProvince();
    if (mHooks.enableMapMenus) mHooks.enableMapMenus(afterOpen);
    if (mDoc.MapErrorsFound && mHooks.showErrorLog) mHooks.showErrorLog();
    const bool starting = mHooks.startingUp && mHooks.startingUp();
    if (!starting && mHooks.focusMap) mHooks.focusMap();
}

void MapLifecycle::save() {
    const QString path = mapFilePath();
    if (path.isEmpty()) return;
    // A failed write keeps the changes marked and the recovery copy on disk: nothing is lost.
    if (writeWithPicture(path)) {
        mDoc.MapModified = false;
        deleteRecoveryCopy(path);
        if (mHooks.saved) mHooks.saved();
    }
    const bool starting = mHooks.startingUp && mHooks.startingUp();
    if (!starting && mHooks.focusMap) mHooks.focusMap();
}

void MapLifecycle::saveAs() {
    const QString current = mapFilePath();
    const QString folder = current.isEmpty() ? (mHooks.mapsDirectory ? mHooks.mapsDirectory() : QString())
                                             : QFileInfo(current).absolutePath();
    const auto chosen = mUi.saveFileDialog(QStringLiteral("Map Files (*.map)|*.map"), folder, current);
    if (!chosen) return;
    const QString title = QFileInfo(*chosen).fileName();
    mUi.busyMessage(QString(), QStringLiteral("Tessary: ") + title, kBusy);
    const QString keptPath = current;
    const QString keptTitle = mapFileTitle();
    setPath(*chosen, title);
    if (QFile::exists(*chosen)) {
        const Answer a = mUi.messageBox(QStringLiteral("Overwrite map file?"),
                                        QStringLiteral("This map file already exists. OK to overwrite or Cancel to abort save."),
                                        Buttons::OkCancel);
        if (a != Answer::Ok) {
            setPath(keptPath, keptTitle);
            return;
        }
    }
    if (writeWithPicture(*chosen)) {
        mDoc.MapModified = false;
        deleteRecoveryCopy(*chosen);
        if (mHooks.saved) mHooks.saved();
    }
    const bool starting = mHooks.startingUp && mHooks.startingUp();
    if (!starting && mHooks.focusMap) mHooks.focusMap();
}

bool MapLifecycle::queryClose() {
    if (!mDoc.MapModified) return true;
    return mUi.messageBox(QStringLiteral("Close without saving?"),
                          QStringLiteral("There are unsaved changes to ") + mapFilePath() +
                              QStringLiteral(". OK to close without saving or Cancel to go back and save your map."),
                          Buttons::OkCancel) == Answer::Ok;
}

void MapLifecycle::unload() { deleteRecoveryCopy(mapFilePath()); }

void MapLifecycle::WriteRecoveryFile() {
    for (bool& d : mDoc.PanelDirty) d = false;
    const QString path = mapFilePath();
    if (path.isEmpty()) return;
    const QString ore = recoveryPath(path);
    if (ore == path) return; // never let the recovery copy overwrite the map itself
    write(ore);
}

} // namespace ts
