#pragma once

#include "coarsetimer.h"
#include "recentmaps.h"
#include "userinterface.h"

#include <QMainWindow>
#include <QPixmap>
#include <cstdint>
#include <memory>
#include <vector>

class QLabel;
class QAction;
class QMenu;

namespace ts {

class BusyBox;
class FinderWindows;
class CommanderPanels;
class EditBracket;
class EditJournal;
class EditStep;
class FloatingPanels;
class MapImage;
class MapLifecycle;
class MapView;
class Navigator;
class OptionsDialog;
class PanelFrames;
class ProvinceTools;
struct ProvincePlace;
struct ProvinceEditing;
class RegionReview;
class TerrainReview;
class StatusPanels;
class TemplateNameTools;
struct MapDocument;
struct ReferenceLists;
struct Settings;

// The editor's main window: menus, the map area with its background picture, busy box, map picture,
// navigator and floating tools, the column of editing frames, and the keyed status bar. It is also
// the real user behind the UserInterface seam, and it wires the subsystems to each other.
class MainWindow : public QMainWindow, public UserInterface {
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Runs the start-up steps; false when the reference tables could not be loaded, in which case
    // the user has seen why and the program should end.
    // mapFollows: a map is opened next; the background waits for showBackground, called once it is.
    bool startUp(const QString& programFolder, bool mapFollows = false);
    // The start-up picture behind the map area, while no map is shown.
    void showBackground();
    bool startingUp() const { return mStartingUp; }
    // The folder start-up was given, where the data folders (TSscripts, ...) are.
    const QString& programFolderPath() const { return mProgramFolder; }

    MapLifecycle& lifecycle() { return *mLife; }
    MapView& mapView() { return *mMapView; }
    MapImage& mapImage() { return *mImage; }
    MapDocument& document() { return mDoc; }
    Navigator& navigator() { return *mNavigator; }
    PanelFrames& panelFrames() { return *mFrames; }
    CommanderPanels& commanderPanels() { return *mCommanderPanels; }
    FloatingPanels& toolPanels() { return *mPanels; }
    // Made on first use.
    OptionsDialog& optionsDialog();
    TemplateNameTools& templateNameTools() { return *mTemplateNames; }
    // The unit, site and item finders, made on first use; null until the reference tables are loaded.
    FinderWindows* finders();
    const RecentMaps& recentMaps() const { return mRecent; }
    // The province panel's forms; null until the reference tables are loaded.
    ProvinceEditing* provinceEditing() const { return mProvinceEditing.get(); }
    RegionReview& regionReview() { return *mRegionReview; }
    TerrainReview& terrainReview() { return *mTerrainReview; }
    // Every change of the document runs as an edit of the journal, so it can be undone.
    EditJournal& journal() { return *mJournal; }

    // z_SetStatus
    void setStatus(const QString& key, const QString& text);
    StatusPanels& statusPanels() { return *mStatus; }
    const ReferenceLists& referenceLists() const { return *mLists; }

    // Menu items that need an open map are disabled until one is open.
    void enableMapMenus(bool mapOpen);

    Answer messageBox(const QString& title, const QString& text, Buttons buttons) override;
    std::optional<QString> inputBox(const QString& title, const QString& prompt, const QString& proposed) override;
    std::optional<QString> openFileDialog(const QString& filter, const QString& folder,
                                          const QString& proposedFile) override;
    std::optional<QString> saveFileDialog(const QString& filter, const QString& folder,
                                          const QString& proposedFile) override;
    std::optional<Color> colorDialog(Color initial) override;
    void beep() override;
    void busyMessage(const QString& message, const QString& caption, Color color) override;
    void processEvents() override;
    bool progressDue() override;
    bool choose(const QString& title, const QString& text, const QString& first, const QString& second) override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    QAction* addItem(QMenu* menu, const char* objectName, const QString& caption,
                     const QKeySequence& key = QKeySequence());
    void connectMenus();
    void wireNavigator();
    void wireCommanderPanels(); // commanderwiring.cpp
    void wireHeaderPanels();
    void wireLifecycle();
    void wireProvinceEditing(); // provincewiring.cpp
    void makePanels();
    void setTopMenusEnabled(bool enabled);
    void resetWindow();
    bool loadImage(const QString& imageFileName);
    void showMapErrorLog();
    void toggleMark(std::int16_t Settings::*flag, bool checked);
    void setAllMarks(bool on);
    void syncMarkMenu();
    void optionsApplied(const Settings& before, const Settings& after);
    void rememberMap();
    void rebuildRecentMenu();
    QAction* action(const char* name) const;
    QString mapFilePath() const;
    void fitBackground();
    void dropBackground();
    // finderwiring.cpp
    void wireFinders();
    void createFinders();
    // undowiring.cpp
    void wireUndo();
    void wireTerrainReview();
    void moveInHistory(bool back);
    void showHistoryStep(const EditStep& step);
    void updateUndoMenu();
    // provincetoolswiring.cpp
    void wireProvinceTools();
    void showRenumbered();
    bool writeChangedPicture();
    void rememberPlaces();
    void followRememberedPlaces(bool fromRecovery);
    void followChangedPicture();
    void followPicture(const std::vector<ProvincePlace>& before, const QString& since);

    MapDocument& mDoc;
    Settings& mSettings;
    std::unique_ptr<EditJournal> mJournal;
    std::unique_ptr<EditBracket> mNeighbourEdit; // a neighbour change on the map, while it runs
    QString mProgramFolder;
    std::unique_ptr<MapImage> mImage;
    MapView* mMapView = nullptr;
    std::unique_ptr<MapLifecycle> mLife;
    std::unique_ptr<FloatingPanels> mPanels;
    Navigator* mNavigator = nullptr;
    PanelFrames* mFrames = nullptr;
    CommanderPanels* mCommanderPanels = nullptr;
    OptionsDialog* mOptions = nullptr;
    RecentMaps mRecent;
    QMenu* mRecentMenu = nullptr;
    QWidget* mMapArea = nullptr;
    QLabel* mBackground = nullptr;
    QSize mBackgroundFitted; // the map area's size the shown background was scaled for
    bool mBackgroundHeld = false; // from a start that opens a map until showBackground
    BusyBox* mBusy = nullptr;
    std::unique_ptr<StatusPanels> mStatus;
    std::unique_ptr<ReferenceLists> mLists;
    std::unique_ptr<TemplateNameTools> mTemplateNames;
    std::unique_ptr<FinderWindows> mFinders;
    CoarseTimer mSinceEvents;
    bool mStartingUp = false;
    bool mTablesLoaded = false;
    bool mProvinceEditingDue = false;
    std::unique_ptr<ProvinceEditing> mProvinceEditing;
    RegionReview* mRegionReview = nullptr;
    TerrainReview* mTerrainReview = nullptr;
    std::unique_ptr<ProvinceTools> mProvinceTools;
};

// Turns "Map Files (*.map)|*.map" into the dialog's "Map Files (*.map)".
QString toDialogFilter(const QString& filter);

} // namespace ts
