#include "mainwindow.h"

#include "busybox.h"
#include "maperrorlog.h"
#include "maperrorlogwindow.h"
#include "mapimage.h"
#include "maplifecycle.h"
#include "mapview.h"
#include "markers.h"
#include "paths.h"
#include "referencedata.h"
#include "referencelists.h"
#include "settings.h"
#include "startup.h"
#include "statuspanels.h"
#include "toolpanels.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QResizeEvent>
#include <QStatusBar>

namespace ts {

namespace {
// How often a long operation lets window events run; more often only costs time.
constexpr int kEventsEveryMs = 15;

// Top-level menus that need an open map, and single items that do.
const char* const kMapMenus[] = {"mnuView", "mnuMark", "mnuTools"};
const char* const kMapItems[] = {"mnuSave", "mnuSaveAs", "mnuCodeViewCurrent", "mnuCodeEditOriginal"};
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
    : QMainWindow(parent), mDoc(mapDocument()), mSettings(settings()), mProgramFolder(programFolder()),
      mImage(std::make_unique<MapImage>()), mLists(std::make_unique<ReferenceLists>()) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Tessary"));
    resize(1280, 860);

    mMapArea = new QWidget(this);
    mMapArea->setObjectName(QStringLiteral("picMapArea"));
    mMapArea->setAutoFillBackground(true);
    QPalette pal = mMapArea->palette();
    pal.setColor(QPalette::Window, QColor(24, 20, 18));
    mMapArea->setPalette(pal);
    setCentralWidget(mMapArea);

    mBackground = new QLabel(mMapArea);
    mBackground->setObjectName(QStringLiteral("picBackground"));
    mBackground->setAlignment(Qt::AlignCenter);

    mMapView = new MapView(mMapArea, mDoc, mSettings, *mImage, *this);
    mMapView->setStatus = [this](const QString& key, const QString& text) { setStatus(key, text); };
    mBusy = new BusyBox(mMapArea);

    statusBar()->setObjectName(QStringLiteral("sbStatus"));
    statusBar()->setSizeGripEnabled(true);
    mStatus = std::make_unique<StatusPanels>(statusBar());

    buildMenus();
    enableMapMenus(false);

    ToolPanels::Actions panelActions;
    panelActions.markProvince = [this] { action("mnuMarkProvince")->trigger(); };
    panelActions.markAll = [this] { setAllMarks(true); };
    panelActions.unmarkAll = [this] { setAllMarks(false); };
    panelActions.zoom = [this](int index) {
        action(QByteArray("mnuZoomPercent" + QByteArray::number(index)).constData())->trigger();
    };
    panelActions.showHint = [this](const QString& hint) { setStatus(QStringLiteral("MESSAGE"), hint); };
    panelActions.focusMap = [this] { mMapView->setFocus(); };
    panelActions.startingUp = [this] { return mStartingUp; };
    mPanels = std::make_unique<ToolPanels>(mMapArea, mSettings, std::move(panelActions));
    mPanels->connectMenu(action("mnuNavigator"), action("mnuTerrainTool"), action("mnuFortTool"),
                         action("mnuBarTool"));
    mMapView->navigatorWidth = [this] { return mPanels->navigatorWidth(); };

    LifecycleHooks hooks;
    hooks.mapsDirectory = [this] { return mSettings.MapsDirectory; };
    hooks.startingUp = [this] { return mStartingUp; };
    hooks.hidePanels = [this] { mPanels->hideAll(); };
    hooks.showPanels = [this] { mPanels->applySettings(); };
    hooks.setTopMenusEnabled = [this](bool on) { setTopMenusEnabled(on); };
    hooks.resetWindow = [this] { resetWindow(); };
    hooks.loadImage = [this](const QString& name, const QString&) { loadImage(name); };
    hooks.mapPictureSize = [this] {
        return QSize(static_cast<int>(mImage->ImageWidth()), static_cast<int>(mImage->ImageHeight()));
    };
    hooks.setStatus = [this](const QString& key, const QString& text) { setStatus(key, text); };
    hooks.showMap = [this] {
        if (!mImage->isLoaded()) return;
        mBackground->hide();
        mMapView->show();
        mMapView->placeWrapCopies();
    };
    hooks.selectFirstProvince = [this] {
        mDoc.CurProvince = 1;
        mMapView->selectProvince(1, true);
        mMapView->markSpecial();
    };
    hooks.enableMapMenus = [this](bool) {
        setTopMenusEnabled(true);
        enableMapMenus(true);
    };
    hooks.showErrorLog = [this] { showMapErrorLog(); };
    hooks.focusMap = [this] { mMapView->setFocus(); };
    mLife = std::make_unique<MapLifecycle>(mDoc, referenceData(), *this, std::move(hooks));
    connectMenus();
}

QAction* MainWindow::action(const char* name) const { return findChild<QAction*>(QString::fromLatin1(name)); }

void MainWindow::connectMenus() {
    connect(action("mnuNew"), &QAction::triggered, this, [this] { mLife->newMap(); });
    connect(action("mnuOpen"), &QAction::triggered, this, [this] { mLife->openMap(); });
    connect(action("mnuSave"), &QAction::triggered, this, [this] { mLife->save(); });
    connect(action("mnuSaveAs"), &QAction::triggered, this, [this] { mLife->saveAs(); });
    for (int i = 0; i < 4; ++i) {
        QAction* zoom = action(QByteArray("mnuZoomPercent" + QByteArray::number(i)).constData());
        // Choosing the zoom that is already checked redraws as well.
        connect(zoom, &QAction::triggered, this, [this, zoom, i] {
            zoom->setChecked(true);
            mMapView->zoom(i);
        });
    }
    const struct {
        const char* item;
        std::int16_t Settings::*flag;
    } marks[] = {{"mnuMarkStarts", &Settings::MarkStarts},
                 {"mnuMarkNoStarts", &Settings::MarkNoStarts},
                 {"mnuMarkSpecialStarts", &Settings::MarkSpecialStarts},
                 {"mnuMarkOwners", &Settings::MarkOwners},
                 {"mnuMarkVictoryPoints", &Settings::MarkVictoryPoints},
                 {"mnuMarkVisited", &Settings::MarkVisited}};
    for (const auto& m : marks) {
        QAction* a = action(m.item);
        a->setCheckable(true);
        a->setChecked(mSettings.*(m.flag) == 1);
        auto flag = m.flag;
        connect(a, &QAction::triggered, this, [this, flag](bool checked) { toggleMark(flag, checked); });
    }
    connect(action("mnuMarkProvince"), &QAction::triggered, this, [this] {
        if (mDoc.CurProvince < 1) return;
        toggleProvinceMark(mDoc, mSettings, mDoc.CurProvince);
        mMapView->markSpecial();
    });
    connect(action("mnuFindNeighbors"), &QAction::triggered, this, [this] { mMapView->findNeighbours(); });
}

void MainWindow::toggleMark(std::int16_t Settings::*flag, bool checked) {
    mSettings.*flag = checked ? 1 : 0;
    mMapView->markSpecial();
    if (!mStartingUp) mMapView->setFocus();
}

void MainWindow::setAllMarks(bool on) {
    for (const char* name : {"mnuMarkStarts", "mnuMarkNoStarts", "mnuMarkSpecialStarts", "mnuMarkOwners",
                             "mnuMarkVictoryPoints"})
        action(name)->setChecked(on);
    for (auto flag : {&Settings::MarkStarts, &Settings::MarkNoStarts, &Settings::MarkSpecialStarts,
                      &Settings::MarkOwners, &Settings::MarkVictoryPoints})
        mSettings.*flag = on ? 1 : 0;
    mMapView->markSpecial();
}

void MainWindow::setTopMenusEnabled(bool enabled) {
    for (const char* name : {"mnuFile", "mnuEdit", "mnuView", "mnuMark", "mnuTools", "mnuCode"})
        if (auto* m = menuBar()->findChild<QMenu*>(QString::fromLatin1(name))) m->menuAction()->setEnabled(enabled);
}

void MainWindow::resetWindow() {
    for (int i = 0; i < 4; ++i) {
        QAction* zoom = action(QByteArray("mnuZoomPercent" + QByteArray::number(i)).constData());
        // The group would keep one item checked; no map means no zoom.
        zoom->actionGroup()->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
        zoom->setChecked(false);
    }
    mMapView->unload();
    mImage->clear();
    fitBackground();
    mBackground->show();
}

void MainWindow::loadImage(const QString& imageFileName) {
    if (!mImage->load(mDoc, imageFileName, *this)) return;
    QAction* first = action("mnuZoomPercent0");
    first->actionGroup()->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    first->setChecked(true);
    mMapView->zoom(0);
}

void MainWindow::showMapErrorLog() {
    const MapErrorLogView log = mapErrorLogView(mDoc, mProgramFolder);
    auto* window = new MapErrorLogWindow(
        log, [](const QString&, int) {}, [this] { WriteMapErrorLogFile(mDoc, mProgramFolder); }, this);
    window->show();
    beep();
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

MainWindow::~MainWindow() = default;

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
    addItem(view, "mnuViewMap", QStringLiteral("Map"), QKeySequence(Qt::Key_M));
    addItem(view, "mnuViewAllowedPlayers", QStringLiteral("Allowed Players"), QKeySequence(Qt::Key_A));
    addItem(view, "mnuViewGodsAndNations", QStringLiteral("Gods and Nations"), QKeySequence(Qt::Key_G));
    addItem(view, "mnuViewProvinces", QStringLiteral("Provinces"), QKeySequence(Qt::Key_P));

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
    QMenu* custom = tools->addMenu(QStringLiteral("Custom Tools"));
    custom->setObjectName(QStringLiteral("mnuCustomTools"));
    addItem(tools, "mnuInsertProvince", QStringLiteral("Insert Province"));
    addItem(tools, "mnuRemoveProvince", QStringLiteral("Remove Province"));

    QMenu* code = topMenu("mnuCode", tr("&Code"));
    addItem(code, "mnuCodeViewCurrent", QStringLiteral("View Current (Read Only)"));
    addItem(code, "mnuCodeEditOriginal", QStringLiteral("Edit Original"));
    addItem(code, "mnuCodeEditOther", QStringLiteral("Edit Other"));

    QMenu* help = topMenu("mnuHelp", tr("&Help"));
    addItem(help, "mnuShortcuts", QStringLiteral("Shortcuts"), QKeySequence(Qt::Key_F1));
    addItem(help, "mnuLocalHelp", QStringLiteral("Local Help"));
    addItem(help, "mnuOnlineHelp", QStringLiteral("Online Help"));
}

void MainWindow::enableMapMenus(bool mapOpen) {
    for (const char* name : kMapMenus)
        if (auto* m = menuBar()->findChild<QMenu*>(QString::fromLatin1(name))) m->menuAction()->setEnabled(mapOpen);
    for (const char* name : kMapItems)
        if (auto* a = findChild<QAction*>(QString::fromLatin1(name))) a->setEnabled(mapOpen);
}

bool MainWindow::startUp(const QString& programFolder) {
    mStartingUp = true;
    mProgramFolder = programFolder;
    ReadConfiguration(mSettings, configurationPath(programFolder), *this);
    showBackground(programFolder);
    processEvents();
    const bool loaded = LoadStartUpData(*this, referenceData(), *mLists, programFolder);
    mStartingUp = false;
    return loaded;
}

void MainWindow::showBackground(const QString& programFolder) {
    mBackgroundPicture = QPixmap(joinPath(programFolder, QStringLiteral("TSicons"), QStringLiteral("Tessary.jpg")));
    fitBackground();
    mBackground->show();
}

void MainWindow::fitBackground() {
    mBackground->setGeometry(mMapArea->rect());
    if (mBackgroundPicture.isNull()) return;
    mBackground->setPixmap(mBackgroundPicture.scaled(mMapArea->size(), Qt::KeepAspectRatioByExpanding,
                                                     Qt::SmoothTransformation));
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    fitBackground();
    mPanels->fitNavigator();
    if (mBusy->isVisible()) mBusy->recentre();
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
    if (mBusy->show(message, color, captionChanged)) {
        // Painted: let it reach the screen now rather than after the long operation.
        mSinceEvents.invalidate();
    }
    processEvents();
}

void MainWindow::processEvents() {
    if (mSinceEvents.isValid() && mSinceEvents.elapsed() < kEventsEveryMs) return;
    QCoreApplication::processEvents();
    mSinceEvents.start();
}

} // namespace ts
