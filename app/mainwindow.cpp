#include "mainwindow.h"

#include "busybox.h"
#include "checkmapwiring.h"
#include "cp1252.h"
#include "edithistory.h"
#include "externaleditor.h"
#include "finderwiring.h"
#include "firstrun.h"
#include "floatingpanels.h"
#include "helpwindow.h"
#include "maperrorlog.h"
#include "maperrorlogwindow.h"
#include "mapimage.h"
#include "maplifecycle.h"
#include "mapreportwiring.h"
#include "mapview.h"
#include "regionreview.h"
#include "markers.h"
#include "navigator.h"
#include "optionsdialog.h"
#include "panelframes.h"
#include "paths.h"
#include "provincetools.h"
#include "provincewiring.h"
#include "referencedata.h"
#include "referencelists.h"
#include "scriptrunner.h"
#include "settings.h"
#include "startup.h"
#include "statuspanels.h"
#include "templatenametools.h"
#include "terrainreview.h"
#include "provincepanel.h"
#include "toolpanel.h"

#include <QActionGroup>
#include <array>
#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QResizeEvent>
#include <QStatusBar>
#include <QVBoxLayout>

namespace ts {

namespace {
// How often a long operation lets window events run; more often only costs time.
constexpr int kEventsEveryMs = 15;
constexpr int kPanelColumnWidth = 420;

// Top-level menus that need an open map, and single items that do.
const char* const kMapMenus[] = {"mnuView", "mnuMark", "mnuTools"};
const char* const kMapItems[] = {"mnuSave", "mnuSaveAs", "mnuFollowChangedPicture", "mnuCodeViewCurrent",
                                 "mnuCodeEditOriginal"};

const struct MarkItem {
    const char* item;
    std::int16_t Settings::*flag;
} kMarkItems[] = {{"mnuMarkStarts", &Settings::MarkStarts},
                  {"mnuMarkNoStarts", &Settings::MarkNoStarts},
                  {"mnuMarkSpecialStarts", &Settings::MarkSpecialStarts},
                  {"mnuMarkOwners", &Settings::MarkOwners},
                  {"mnuMarkVictoryPoints", &Settings::MarkVictoryPoints},
                  {"mnuMarkVisited", &Settings::MarkVisited}};

QByteArray zoomItem(int index) { return "mnuZoomPercent" + QByteArray::number(index); }

struct SectionSetting {
    const char* frame;
    bool Settings::*field;
};
const std::array<SectionSetting, 4>& sectionSettings() {
    static const std::array<SectionSetting, 4> all = {{{"fraProvinceCommanders1", &Settings::ShowCommanders},
                                                       {"fraSites", &Settings::ShowSites},
                                                       {"fraStartAndOwner", &Settings::ShowStartAndOwner},
                                                       {"fraVictoryPoints", &Settings::ShowVictoryPoints}}};
    return all;
}
} // namespace

QString toDialogFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        const qsizetype paren = description.indexOf(QLatin1Char('('));
        if (paren >= 0) description = description.left(paren).trimmed();
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    if (out.isEmpty()) out << filter;
    return out.join(QStringLiteral(";;"));
}

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), mDoc(startBuildingMapDocument()), mSettings(settings()),
      mProgramFolder(programFolder()),
      mImage(std::make_unique<MapImage>()), mLists(std::make_unique<ReferenceLists>()) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Tessary"));
    resize(1400, 900);

    auto* central = new QWidget(this);
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    mMapArea = new QWidget(central);
    mMapArea->setObjectName(QStringLiteral("picMapArea"));
    mMapArea->setAutoFillBackground(true);
    QPalette pal = mMapArea->palette();
    pal.setColor(QPalette::Window, QColor(24, 20, 18));
    mMapArea->setPalette(pal);
    mFrames = new PanelFrames(central);
    mFrames->setFixedWidth(kPanelColumnWidth);
    mFrames->hide();
    row->addWidget(mMapArea, 1);
    row->addWidget(mFrames);
    setCentralWidget(central);

    mBackground = new QLabel(mMapArea);
    mBackground->setObjectName(QStringLiteral("picBackground"));
    mBackground->setAlignment(Qt::AlignCenter);

    mMapView = new MapView(mMapArea, mDoc, mSettings, *mImage, *this);
    mMapView->setStatus = [this](const QString& key, const QString& text) { setStatus(key, text); };

    statusBar()->setObjectName(QStringLiteral("sbStatus"));
    statusBar()->setSizeGripEnabled(true);
    mStatus = std::make_unique<StatusPanels>(statusBar());

    buildMenus();
    enableMapMenus(false);

    FloatingPanels::Actions panelActions;
    panelActions.selectNode = [this](const QString& key) { mNavigator->NodeClick(key.toStdString()); };
    panelActions.markProvince = [this] { action("mnuMarkProvince")->trigger(); };
    panelActions.markAll = [this] { setAllMarks(true); };
    panelActions.unmarkAll = [this] { setAllMarks(false); };
    panelActions.zoom = [this](int index) { action(zoomItem(index).constData())->trigger(); };
    panelActions.showHint = [this](const QString& hint) { setStatus(QStringLiteral("MESSAGE"), hint); };
    panelActions.focusMap = [this] { mMapView->setFocus(); };
    panelActions.startingUp = [this] { return mStartingUp; };
    mPanels = std::make_unique<FloatingPanels>(mMapArea, mSettings, std::move(panelActions));
    mPanels->connectMenu(action("mnuNavigator"), action("mnuTerrainTool"), action("mnuFortTool"),
                         action("mnuBarTool"));
    mMapView->navigatorWidth = [this] { return mPanels->navigatorWidth(); };

    mNavigator = new Navigator(mDoc, referenceData(), mPanels->navigator());
    mPanels->navigator()->layout()->addWidget(mNavigator);

    // Created last, so it stands above the map and the panels.
    mBusy = new BusyBox(mMapArea);

    // The widgets above only keep where the document is; from here on it is used.
    mapDocument();
    mJournal = std::make_unique<EditJournal>(mDoc);
    wireNavigator();
    wireLifecycle();
    connectMenus();
    wireUndo();
    wireProvinceTools();
    mTemplateNames = std::make_unique<TemplateNameTools>(
        mDoc, *this, *mNavigator, *mMapView, *mPanels->barTool(),
        TemplateNameTools::Window{[this] { return mProgramFolder; }, [this] { return mStartingUp; },
                                  [this](const QString& hint) { setStatus(QStringLiteral("MESSAGE"), hint); }});
    mRegionReview = new RegionReview(*this);
    wireTerrainReview();
}

void MainWindow::wireTerrainReview() {
    mTerrainReview = new TerrainReview(*mMapView, *mImage, mDoc, *this);
    mTerrainReview->journal = mJournal.get();
    // The province panel comes with the tables; it asks for its proposal when it shows a province.
    mTerrainReview->proposalsChanged = [this] {
        if (mProvinceEditing) mProvinceEditing->province->showTerrainProposal();
    };
    mTerrainReview->applied = [this] {
        mNavigator->NodeClick(); // the shown province's panel takes its new terrain
        mMapView->markSpecial();
        mLife->WriteRecoveryFile();
    };
    connect(action("mnuGuessTerrain"), &QAction::triggered, this, [this] {
        // What the panel holds is the map maker's latest word: it counts among the examples.
        if (mDoc.anyPanelDirty()) mNavigator->NodeClick();
        mTerrainReview->guess();
    });
}

MainWindow::~MainWindow() = default;

QAction* MainWindow::action(const char* name) const { return findChild<QAction*>(QString::fromLatin1(name)); }

QString MainWindow::mapFilePath() const { return mLife->mapFilePath(); }

QAction* MainWindow::addItem(QMenu* menu, const char* objectName, const QString& caption,
                             const QKeySequence& key) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(objectName));
    if (!key.isEmpty()) action->setShortcut(key);
    return action;
}

void MainWindow::buildMenus() {
    auto topMenu = [this](const char* name, const QString& caption) {
        QMenu* m = menuBar()->addMenu(caption);
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        return m;
    };

    QMenu* file = topMenu("mnuFile", tr("&File"));
    addItem(file, "mnuNew", QStringLiteral("New"), QKeySequence(Qt::CTRL | Qt::Key_N));
    addItem(file, "mnuOpen", QStringLiteral("Open"), QKeySequence(Qt::CTRL | Qt::Key_O));
    addItem(file, "mnuSave", QStringLiteral("Save"), QKeySequence(Qt::CTRL | Qt::Key_S));
    addItem(file, "mnuSaveAs", QStringLiteral("S&ave As"));
    addItem(file, "mnuFollowChangedPicture", QStringLiteral("Follow Changed Picture..."));
    file->addSeparator();
    mRecentMenu = file->addMenu(QStringLiteral("Recent Maps"));
    mRecentMenu->setObjectName(QStringLiteral("mnuRecentMaps"));
    file->addSeparator();
    QAction* exitItem = addItem(file, "mnuExit", QStringLiteral("E&xit"));
    connect(exitItem, &QAction::triggered, this, &QWidget::close);

    QMenu* edit = topMenu("mnuEdit", tr("&Edit"));
    addItem(edit, "mnuOptions", QStringLiteral("Options"));

    QMenu* view = topMenu("mnuView", tr("&View"));
    QMenu* zoom = view->addMenu(QStringLiteral("&Zoom"));
    zoom->setObjectName(QStringLiteral("mnuZoom"));
    auto* zoomGroup = new QActionGroup(this);
    zoomGroup->setExclusive(true);
    const struct {
        const char* caption;
        Qt::Key key;
    } zooms[] = {{"100%", Qt::Key_F8}, {"75%", Qt::Key_F7}, {"50%", Qt::Key_F6}, {"25%", Qt::Key_F5}};
    for (int i = 0; i < 4; ++i) {
        const QByteArray name = "mnuZoomPercent" + QByteArray::number(i);
        QAction* a = addItem(zoom, name.constData(), QString::fromLatin1(zooms[i].caption), QKeySequence(zooms[i].key));
        a->setCheckable(true);
        a->setChecked(i == 0);
        zoomGroup->addAction(a);
    }
    view->addSeparator();
    const struct {
        const char* name;
        const char* caption;
        QKeySequence key;
    } panels[] = {{"mnuNavigator", "Navigator", QKeySequence(Qt::CTRL | Qt::Key_G)},
                  {"mnuTerrainTool", "Terrain Tool", QKeySequence(Qt::CTRL | Qt::Key_T)},
                  {"mnuFortTool", "Fort Tool", QKeySequence(Qt::CTRL | Qt::Key_F)},
                  {"mnuBarTool", "Bar Tool", QKeySequence(Qt::CTRL | Qt::Key_B)}};
    for (const auto& p : panels) addItem(view, p.name, QString::fromLatin1(p.caption), p.key)->setCheckable(true);
    view->addSeparator();
    addItem(view, "mnuViewMap", QStringLiteral("Map"), QKeySequence(Qt::SHIFT | Qt::Key_M));
    addItem(view, "mnuViewAllowedPlayers", QStringLiteral("Allowed Players"), QKeySequence(Qt::SHIFT | Qt::Key_A));
    addItem(view, "mnuViewGodsAndNations", QStringLiteral("Gods and Nations"), QKeySequence(Qt::SHIFT | Qt::Key_G));
    addItem(view, "mnuViewProvinces", QStringLiteral("Provinces"), QKeySequence(Qt::SHIFT | Qt::Key_P));
    view->addSeparator();
    addItem(view, "mnuRegionOverlay", QStringLiteral("Regions Overlay"));

    QMenu* mark = topMenu("mnuMark", tr("&Mark"));
    addItem(mark, "mnuMarkProvince", QStringLiteral("Province"), QKeySequence(Qt::Key_F9));
    addItem(mark, "mnuMarkStarts", QStringLiteral("Starts"));
    addItem(mark, "mnuMarkNoStarts", QStringLiteral("NoStarts"));
    addItem(mark, "mnuMarkSpecialStarts", QStringLiteral("Special Starts"));
    addItem(mark, "mnuMarkOwners", QStringLiteral("Owners"));
    addItem(mark, "mnuMarkVictoryPoints", QStringLiteral("Victory Points"));
    addItem(mark, "mnuMarkVisited", QStringLiteral("Visited"));

    QMenu* tools = topMenu("mnuTools", tr("&Tools"));
    addItem(tools, "mnuFindNeighbors", QStringLiteral("Find Neighbors"));
    addItem(tools, "mnuFindNeighborsRegions", QStringLiteral("Find Neighbors (Regions)"));
    addItem(tools, "mnuGuessTerrain", QStringLiteral("Guess Terrain"));
    addItem(tools, "mnuCustomTools", QStringLiteral("Custom Tools"));
    addItem(tools, "mnuInsertProvince", QStringLiteral("Insert Province"));
    addItem(tools, "mnuRemoveProvince", QStringLiteral("Remove Province"));
    addItem(tools, "mnuMoveProvince", QStringLiteral("Move Province"));

    QMenu* code = topMenu("mnuCode", tr("&Code"));
    addItem(code, "mnuCodeViewCurrent", QStringLiteral("View Current (Read Only)"));
    addItem(code, "mnuCodeEditOriginal", QStringLiteral("Edit Original"));
    addItem(code, "mnuCodeEditOther", QStringLiteral("Edit Other"));

    QMenu* help = topMenu("mnuHelp", tr("&Help"));
    addItem(help, "mnuShortcuts", QStringLiteral("Shortcuts"), QKeySequence(Qt::Key_F1));
    addItem(help, "mnuLocalHelp", QStringLiteral("Local Help"));
    addItem(help, "mnuOnlineHelp", QStringLiteral("Online Help"));
}

void MainWindow::wireNavigator() {
    mNavigator->setStatus = [this](const QString& key, const QString& text) { setStatus(key, text); };
    NavigatorModel::Hooks& hooks = mNavigator->model().hooks;
    hooks.selectProvince = [this](int province, bool) {
        mMapView->selectProvince(province, false);
        // A province chosen away from the map is brought into view.
        if (mSettings.CenterOnSelection == 1) mMapView->centreOn(province);
    };
    hooks.stopSelection = [this] { mMapView->stopSelection(); };
    hooks.showPanel = [this](Panel panel, int province, int commander, int nation) {
        mFrames->ShowPanel(panel, province, commander, nation);
    };
    hooks.writeRecoveryFile = [this] { mLife->WriteRecoveryFile(); };
    hooks.commit.redrawSpecialMarks = [this] { mMapView->markSpecial(); };
    mMapView->onMapSelection = [this](int province) { mNavigator->z_trvNavigatorNodeClick(province); };
    // Links made on the map are edits like any other: they must survive a crash and be asked about
    // before the map is closed.
    // The two calls pair up; a change reported without the first is part of an edit opened elsewhere.
    mMapView->onNeighboursChanging = [this] {
        mNeighbourEdit = std::make_unique<EditBracket>(mJournal.get(), EditScope{.neighbours = true});
    };
    mMapView->onNeighboursChanged = [this] {
        mNeighbourEdit.reset();
        mDoc.MapModified = true;
        mLife->WriteRecoveryFile();
    };

    mFrames->showHint = [this](const QString& hint) { setStatus(QStringLiteral("MESSAGE"), hint); };
    mFrames->sectionToggled = [this](const QString& name, bool open) {
        for (const auto& section : sectionSettings())
            if (name == QLatin1String(section.frame)) mSettings.*(section.field) = open;
    };
    mFrames->hooks.applyToolPanels = [this](const ToolPanels& rules) {
        auto apply = [](ToolPanel* panel, ToolRule rule, bool wanted) {
            if (rule == ToolRule::Show) panel->setVisible(wanted);
            else if (rule == ToolRule::Hide) panel->hide();
            if (panel->isVisible()) panel->raise();
        };
        apply(mPanels->terrainTool(), rules.terrain, mSettings.TerrainToolVisible);
        apply(mPanels->fortTool(), rules.fort, mSettings.FortToolVisible);
        apply(mPanels->barTool(), rules.bar, mSettings.BarToolVisible);
    };
}

void MainWindow::wireLifecycle() {
    LifecycleHooks hooks;
    hooks.mapsDirectory = [this] { return mSettings.MapsDirectory; };
    hooks.keepUnknown = [this] { return mSettings.KeepUnknown; };
    hooks.startingUp = [this] { return mStartingUp; };
    hooks.hidePanels = [this] {
        mPanels->hideAll();
        mFrames->hide();
    };
    hooks.setTopMenusEnabled = [this](bool on) { setTopMenusEnabled(on); };
    hooks.resetWindow = [this] { resetWindow(); };
    hooks.loadImage = [this](const QString& name, const QString&) { loadImage(name); };
    hooks.imageNamed = [this](const QString& name, const QString&) { mImage->prefetch(mDoc, name); };
    hooks.buildNavigator = [this] { mNavigator->BuildNavigator(); };
    hooks.mapPictureSize = [this] {
        return QSize(static_cast<int>(mImage->ImageWidth()), static_cast<int>(mImage->ImageHeight()));
    };
    hooks.setStatus = [this](const QString& key, const QString& text) { setStatus(key, text); };
    hooks.showPanels = [this] {
        mPanels->applySettings();
        mFrames->show();
    };
    hooks.showMap = [this] {
        if (!mImage->isLoaded()) return;
        mBackground->hide();
        mMapView->show();
        mMapView->placeWrapCopies();
    };
    hooks.selectFirstProvince = [this] {
        mDoc.CurProvince = 1;
        if (mDoc.ProvinceCount >= 1) {
            mMapView->selectProvince(1, false);
            mMapView->centreOn(1);
        }
        mNavigator->NodeClick("MAP");
        mMapView->markSpecial();
    };
    hooks.enableMapMenus = [this](bool) {
        setTopMenusEnabled(true);
        enableMapMenus(true);
        rememberMap();
    };
    hooks.showErrorLog = [this] { showMapErrorLog(); };
    hooks.focusMap = [this] { mMapView->setFocus(); };
    hooks.commitPanels = [this] { mNavigator->NodeClick("MAP"); };
    hooks.saved = [this] {
        mJournal->saved();
        rememberPlaces();
    };
    hooks.writePicture = [this] { return writeChangedPicture(); };
    hooks.opened = [this](bool fromRecovery) { followRememberedPlaces(fromRecovery); };
    mLife = std::make_unique<MapLifecycle>(mDoc, referenceData(), *this, std::move(hooks));
}

void MainWindow::connectMenus() {
    connect(action("mnuShortcuts"), &QAction::triggered, this, [this] {
        auto* help = findChild<HelpWindow*>(QStringLiteral("frmHelp"));
        if (!help) help = new HelpWindow(this); // made when first asked for
        help->show();
        help->raise();
    });
    connect(action("mnuNew"), &QAction::triggered, this, [this] { mLife->newMap(); });
    connect(action("mnuOpen"), &QAction::triggered, this, [this] { mLife->openMap(); });
    connect(action("mnuSave"), &QAction::triggered, this, [this] { mLife->save(); });
    connect(action("mnuSaveAs"), &QAction::triggered, this, [this] {
        mLife->saveAs();
        rememberMap();
    });
    connect(action("mnuOptions"), &QAction::triggered, this, [this] {
        optionsDialog().exec();
    });
    for (int i = 0; i < 4; ++i) {
        QAction* zoom = action(zoomItem(i).constData());
        // Choosing the zoom that is already checked redraws as well.
        connect(zoom, &QAction::triggered, this, [this, zoom, i] {
            zoom->setChecked(true);
            mMapView->zoom(i);
        });
    }
    for (const MarkItem& m : kMarkItems) {
        QAction* a = action(m.item);
        a->setCheckable(true);
        auto flag = m.flag;
        connect(a, &QAction::triggered, this, [this, flag](bool checked) { toggleMark(flag, checked); });
    }
    syncMarkMenu();
    connect(action("mnuMarkProvince"), &QAction::triggered, this, [this] {
        if (mDoc.CurProvince < 1) return;
        toggleProvinceMark(mDoc, mSettings, mDoc.CurProvince);
        mMapView->markSpecial();
    });
    connect(action("mnuFindNeighbors"), &QAction::triggered, this, [this] {
        const EditBracket bracket(mJournal.get(), {.neighbours = true}, "Find Neighbors");
        mMapView->findNeighbours();
    });
    connectScriptMenu(*this);
    connectCheckMap(*this);
    connectMapReport(*this);
    connectExportPicture(*this);
    const struct {
        const char* item;
        const char* key;
        char typed;
    } nodes[] = {{"mnuViewMap", "MAP", 'M'},
                 {"mnuViewAllowedPlayers", "ALLOWEDNATIONS", 'A'},
                 {"mnuViewGodsAndNations", "GODSANDNATIONS", 'G'},
                 {"mnuViewProvinces", "PROVINCES", 'P'}};
    for (const auto& n : nodes) {
        const std::string key = n.key;
        QAction* item = action(n.item);
        connect(item, &QAction::triggered, this, [this, key] { mNavigator->NodeClick(key); });
        // Map keys: only while the map has the focus, and by the capital typed (Shift or Caps Lock).
        item->setShortcutContext(Qt::WidgetShortcut);
        mMapView->bindCharacter(QLatin1Char(n.typed), [item] { item->trigger(); });
    }
    connect(action("mnuCodeViewCurrent"), &QAction::triggered, this,
            [this] { CodeViewCurrent(mapFilePath(), mProgramFolder, *this); });
    connect(action("mnuCodeEditOriginal"), &QAction::triggered, this,
            [this] { CodeEditOriginal(mapFilePath(), mProgramFolder, *this); });
    connect(action("mnuCodeEditOther"), &QAction::triggered, this,
            [this] { CodeEditOther(mapFilePath(), mSettings.MapsDirectory, mProgramFolder, *this); });
    connect(action("mnuLocalHelp"), &QAction::triggered, this, [this] { openManual(mProgramFolder, *this); });
}

void MainWindow::syncMarkMenu() {
    for (const MarkItem& m : kMarkItems) action(m.item)->setChecked(mSettings.*(m.flag) == 1);
}

void MainWindow::toggleMark(std::int16_t Settings::*flag, bool checked) {
    mSettings.*flag = checked ? 1 : 0;
    mMapView->markSpecial();
    if (!mStartingUp) mMapView->setFocus();
}

void MainWindow::setAllMarks(bool on) {
    for (const MarkItem& m : kMarkItems) {
        if (m.flag == &Settings::MarkVisited) continue;
        mSettings.*(m.flag) = on ? 1 : 0;
    }
    syncMarkMenu();
    mMapView->markSpecial();
}

void MainWindow::setTopMenusEnabled(bool enabled) {
    for (const char* name : {"mnuFile", "mnuEdit", "mnuView", "mnuMark", "mnuTools", "mnuCode"})
        if (auto* m = menuBar()->findChild<QMenu*>(QString::fromLatin1(name))) m->menuAction()->setEnabled(enabled);
}

void MainWindow::enableMapMenus(bool mapOpen) {
    for (const char* name : kMapMenus)
        if (auto* m = menuBar()->findChild<QMenu*>(QString::fromLatin1(name))) m->menuAction()->setEnabled(mapOpen);
    for (const char* name : kMapItems)
        if (auto* a = findChild<QAction*>(QString::fromLatin1(name))) a->setEnabled(mapOpen);
}

void MainWindow::makePanels() {
    if (!mCommanderPanels) {
        // The commander panels wrap the nation filler the header panels set, so they come second.
        wireHeaderPanels();
        wireCommanderPanels();
    }
    // The province's own panels wrap the commander strip's filler, and need the tables.
    if (mProvinceEditingDue && !mProvinceEditing) wireProvinceEditing();
}

void MainWindow::resetWindow() {
    // The editing panels are made for the first map, new or opened: nothing shows them before.
    makePanels();
    for (int i = 0; i < 4; ++i) {
        QAction* zoom = action(zoomItem(i).constData());
        // The group would keep one item checked; no map means no zoom.
        zoom->actionGroup()->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
        zoom->setChecked(false);
    }
    mMapView->unload();
    if (mProvinceTools) mProvinceTools->forgetPicture();
    // Another map, or none: nothing of the last one can be undone into it.
    mJournal->clear();
    if (mRegionReview) mRegionReview->forget();
    if (mTerrainReview) mTerrainReview->forget();
    mImage->clear();
    mFrames->hideAll();
    fitBackground();
    mBackground->show();
}

bool MainWindow::loadImage(const QString& imageFileName) {
    // A big map's picture needs the memory more than the picture behind it does.
    dropBackground();
    if (!mImage->load(mDoc, imageFileName, *this)) {
        showBackground();
        return false;
    }
    if (mProvinceTools) mProvinceTools->forgetPicture();
    QAction* first = action("mnuZoomPercent0");
    first->actionGroup()->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    first->setChecked(true);
    mMapView->zoom(0);
    return true;
}

void MainWindow::showMapErrorLog() {
    const MapErrorLogView log = mapErrorLogView(mDoc, mProgramFolder);
    auto* window = new MapErrorLogWindow(
        log,
        [this](const QString& path, int line) { StartExternalEditor(path, line, false, mProgramFolder, *this); },
        [this] { WriteMapErrorLogFile(mDoc, mProgramFolder); }, this);
    window->show();
    beep();
}

void MainWindow::rememberMap() {
    const QString path = mapFilePath();
    if (path.isEmpty() || !QFile::exists(path)) return;
    mRecent.add(path);
    mRecent.save(RecentMaps::filePath(mProgramFolder));
    rebuildRecentMenu();
}

void MainWindow::rebuildRecentMenu() {
    mRecentMenu->clear();
    int n = 0;
    for (const QString& path : mRecent.paths()) {
        QAction* a = mRecentMenu->addAction(QStringLiteral("&%1 %2").arg(++n).arg(QFileInfo(path).fileName()));
        a->setObjectName(QStringLiteral("mnuRecentMap%1").arg(n));
        a->setToolTip(path);
        a->setStatusTip(path);
        connect(a, &QAction::triggered, this, [this, path] {
            if (!QFile::exists(path)) {
                messageBox(QStringLiteral("Map not found"), path + QStringLiteral(" no longer exists."), Buttons::Ok);
                mRecent.remove(path);
                mRecent.save(RecentMaps::filePath(mProgramFolder));
                rebuildRecentMenu();
                return;
            }
            mLife->openMapFile(path);
        });
    }
    mRecentMenu->setEnabled(n > 0);
}

void MainWindow::optionsApplied(const Settings& before, const Settings& after) {
    if (before.BackgroundImage != after.BackgroundImage) showBackground();
    syncMarkMenu();
    if (mImage->isLoaded()) mMapView->zoom(mImage->zoomIndex());
}

bool MainWindow::startUp(const QString& programFolder, bool mapFollows) {
    mStartingUp = true;
    mProgramFolder = programFolder;
    mBackgroundHeld = mapFollows;
    LoadOrWelcome(
        mSettings, programFolder, *this, [this] { optionsDialog().exec(); }, [this] { showBackground(); });
    syncMarkMenu();
    for (const auto& section : sectionSettings())
        mFrames->setSectionOpen(QString::fromLatin1(section.frame), mSettings.*(section.field));
    mRecent.load(RecentMaps::filePath(programFolder));
    rebuildRecentMenu();
    // A map about to open covers the background, which would only cost its decoding and scaling.
    if (!mapFollows) showBackground();
    processEvents();
    const bool loaded = LoadStartUpData(*this, referenceData(), *mLists, programFolder);
    mProvinceEditingDue = loaded;
    if (loaded && !mTablesLoaded) wireFinders();
    mTablesLoaded = loaded;
    mStartingUp = false;
    return loaded;
}

OptionsDialog& MainWindow::optionsDialog() {
    if (!mOptions) {
        mOptions = new OptionsDialog(mSettings, mProgramFolder, *this, this);
        connect(mOptions, &OptionsDialog::applied, this,
                [this](const Settings& before, const Settings& after) { optionsApplied(before, after); });
    }
    return *mOptions;
}

void MainWindow::showBackground() {
    mBackgroundHeld = false;
    mBackgroundFitted = QSize();
    fitBackground();
    if (!mMapView->isVisible()) mBackground->show();
}

void MainWindow::fitBackground() {
    mBackground->setGeometry(mMapArea->rect());
    // Every reset of the window (each open) asks again; a smooth scaling of the picture for the
    // same size costs time and, while it runs, memory twice over. Under a map it is not seen.
    if (mBackgroundHeld || mImage->isLoaded() || mBackgroundFitted == mMapArea->size()) return;
    QString path = mSettings.BackgroundImage;
    if (!QFile::exists(path)) path = Settings::defaultBackgroundImage(mProgramFolder);
    // Only the scaled picture is kept: the file is read again for another size (as an image, which,
    // unlike a pixmap read from a file, stays out of the toolkit's pixmap cache).
    const QImage picture(path);
    if (picture.isNull()) return;
    mBackgroundFitted = mMapArea->size();
    mBackground->setPixmap(QPixmap::fromImage(
        picture.scaled(mMapArea->size(), Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation)));
}

void MainWindow::dropBackground() {
    mBackground->hide();
    mBackground->clear();
    mBackgroundFitted = QSize();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    fitBackground();
    mPanels->fitNavigator();
    if (mBusy->isVisible()) mBusy->recentre();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!mLife->queryClose()) {
        event->ignore();
        return;
    }
    WriteConfiguration(mSettings, configurationPath(mProgramFolder), *this);
    mLife->unload();
    event->accept();
}

void MainWindow::setStatus(const QString& key, const QString& text) { mStatus->setStatus(key, text); }

Answer MainWindow::messageBox(const QString& title, const QString& text, Buttons buttons) {
    const auto choice = buttons == Buttons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok;
    QMessageBox box(QMessageBox::NoIcon, title, text, choice, this);
    return box.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

std::optional<QString> MainWindow::inputBox(const QString& title, const QString& prompt, const QString& proposed) {
    bool ok = false;
    const QString answer = QInputDialog::getText(this, title, prompt, QLineEdit::Normal, proposed, &ok);
    if (!ok) return std::nullopt;
    return answer;
}

std::optional<QString> MainWindow::openFileDialog(const QString& filter, const QString& folder,
                                                  const QString& proposedFile) {
    const QString start = proposedFile.isEmpty() ? folder : proposedFile;
    const QString chosen = QFileDialog::getOpenFileName(this, QString(), start, toDialogFilter(filter));
    if (chosen.isEmpty()) return std::nullopt;
    return chosen;
}

std::optional<QString> MainWindow::saveFileDialog(const QString& filter, const QString& folder,
                                                  const QString& proposedFile) {
    const QString start = proposedFile.isEmpty() ? folder : joinPath(folder, QFileInfo(proposedFile).fileName());
    const QString chosen = QFileDialog::getSaveFileName(this, QString(), start, toDialogFilter(filter), nullptr,
                                                        QFileDialog::DontConfirmOverwrite);
    if (chosen.isEmpty()) return std::nullopt;
    return chosen;
}

std::optional<Color> MainWindow::colorDialog(Color initial) {
    const QColor start(static_cast<int>(initial & 0xFF), static_cast<int>((initial >> 8) & 0xFF),
                       static_cast<int>((initial >> 16) & 0xFF));
    const QColor c = QColorDialog::getColor(start, this);
    if (!c.isValid()) return std::nullopt;
    return static_cast<Color>(c.red()) | (static_cast<Color>(c.green()) << 8) | (static_cast<Color>(c.blue()) << 16);
}

void MainWindow::beep() { QApplication::beep(); }

void MainWindow::busyMessage(const QString& message, const QString& caption, Color color) {
    const bool captionChanged = windowTitle() != caption;
    if (captionChanged) setWindowTitle(caption);
    // A hidden box waits for the next paint like the rest of the window: the work is over, and that
    // paint shows its result.
    if (message.isEmpty()) {
        mBusy->show(message, color, captionChanged);
        return;
    }
    // Painted: let it reach the screen now rather than after the long operation.
    if (mBusy->show(message, color, captionChanged)) mSinceEvents.invalidate();
    processEvents();
}

void MainWindow::processEvents() {
    if (!progressDue()) return;
    QCoreApplication::processEvents();
    mSinceEvents.start();
}

// Between two runs of the events nothing reaches the screen, so a message sent then is not seen.
bool MainWindow::progressDue() { return !mSinceEvents.isValid() || mSinceEvents.elapsed() >= kEventsEveryMs; }

} // namespace ts
