// The map header and nation panels as a user meets them in the editor: the sample map opened, the
// header shown with capital M, its title and wrap-around changed, a nation made a computer player,
// the map saved; and a new picture chosen with the header's button. The screenshots taken on the
// way are what scripts/screenshots keeps.
#include "cp1252.h"
#include "mainwindow.h"
#include "mapimage.h"
#include "mapdocument.h"
#include "mapheaderpanel.h"
#include "maplifecycle.h"
#include "mapreader.h"
#include "mapview.h"
#include "navigator.h"
#include "paths.h"
#include "settings.h"
#include "panelframes.h"
#include "refdatafixture.h"
#include "referencedata.h"
#include "tempfolder.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidgetItem>
#include <QtTest>
#include <deque>
#include <memory>

using namespace ts;

namespace {

void shoot(QWidget& w, const char* name) {
    QDir().mkpath(TESSARY_SCREENSHOT_DIR);
    w.grab().save(QStringLiteral(TESSARY_SCREENSHOT_DIR "/") + QLatin1String(name));
}

// The editor with its file dialog and message boxes answered from a script, so the picture button
// can be driven without a real dialog.
class ScriptedWindow : public MainWindow {
public:
    std::deque<QString> files; // an empty name cancels the dialog
    QStringList fileRequests, messages;

    std::optional<QString> openFileDialog(const QString& filter, const QString& folder,
                                          const QString& proposedFile) override {
        fileRequests << filter + "|" + folder + "|" + proposedFile;
        const QString next = files.empty() ? QString() : files.front();
        if (!files.empty()) files.pop_front();
        if (next.isEmpty()) return std::nullopt;
        return next;
    }
    Answer messageBox(const QString& title, const QString& text, Buttons) override {
        messages << title + "|" + text;
        return Answer::Ok;
    }
};

struct OpenEditor {
    TempFolder home;
    std::unique_ptr<ScriptedWindow> w = std::make_unique<ScriptedWindow>();
    QString map = home.file("maps/aelfheim.map");

    OpenEditor() {
        home.copyTreeFrom(TESSARY_PROGRAM_DIR);
        writeDefaultConfiguration(home);
        w->resize(1400, 900);
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get())) qWarning("the editor's window was not shown");
        // Keys reach the menus' shortcuts only in the active window.
        w->activateWindow();
        if (!QTest::qWaitForWindowActive(w.get())) qWarning("the editor's window is not active");
        if (!w->startUp(home.path())) qWarning("the editor did not start");
        w->lifecycle().openMapFile(map);
    }
    template <typename T>
    T* find(const char* name) {
        T* c = w->findChild<T*>(QString::fromLatin1(name));
        if (!c) qFatal("no control %s", name);
        return c;
    }
    bool wrapCopiesShown() { return find<QWidget>("pbMapWrap4")->isVisible(); }
};

} // namespace

class HeaderPanelsEndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void titleWrapAroundAndComputerPlayerAreSaved() {
        OpenEditor e;
        MapDocument& doc = e.w->document();
        QVERIFY(doc.ProvinceCount > 200 && doc.WrapAround);
        QVERIFY(e.wrapCopiesShown());
        PanelFrames& frames = e.w->panelFrames();

        // Capital M on the map shows the header.
        e.w->navigator().NodeClick("1 PROV");
        e.w->mapView().setFocus();
        QTest::keyClick(&e.w->mapView(), 'M', Qt::ShiftModifier);
        QVERIFY(frames.frame("fraMap")->isVisible());
        auto* title = e.find<QLineEdit>("txtThx2Title");
        QCOMPARE(title->text(), fromCp1252(doc.MapTitle.view()));
        QVERIFY(e.find<QCheckBox>("chkWraparound")->isChecked());
        QCOMPARE(e.find<QLabel>("lblMapTextColor")->palette().color(QPalette::Window), QColor(51, 26, 13));

        title->setFocus();
        title->selectAll();
        QTest::keyClicks(title, QStringLiteral("The Sundered Isles"));
        QTest::keyClick(title, Qt::Key_Return);
        QTest::mouseClick(e.find<QCheckBox>("chkWraparound"), Qt::LeftButton);
        QVERIFY(!doc.WrapAround);
        QVERIFY(!e.wrapCopiesShown()); // at once, not at the next redraw
        QVERIFY(doc.MapModified);
        QVERIFY(QFile::exists(MapLifecycle::recoveryPath(e.map)));
        shoot(*e.w, "tessary-map-header.png");

        // Arvik, an allowed player, becomes a computer player.
        e.w->navigator().NodeClick("2 NATION");
        QVERIFY(frames.frame("fraGodAndNation")->isVisible());
        QCOMPARE(e.find<QLabel>("lblNationName")->text(), QStringLiteral("Arvik"));
        QTest::mouseClick(e.find<QCheckBox>("chkAIPlayer"), Qt::LeftButton);
        QCOMPARE(e.find<QLineEdit>("txtDifficulty")->text(), QStringLiteral("2"));
        QCOMPARE(doc.Nations[2].AIDifficulty, std::int16_t{2});
        shoot(*e.w, "tessary-nation.png");

        // A nation that does not play, chosen with capital G and the tree: its nation frame alone.
        QTest::keyClick(&e.w->mapView(), 'G', Qt::ShiftModifier);
        QCOMPARE(Navigator::keyOf(e.w->navigator().currentItem()), QStringLiteral("GODSANDNATIONS"));
        QTreeWidgetItem* god = e.w->navigator().node("GEA")->child(0);
        QVERIFY(god);
        e.w->navigator().NodeClick(Navigator::keyOf(god).toStdString());
        QVERIFY(frames.frame("fraGodAndNation")->isVisible() && !frames.frame("fraProvince")->isVisible());
        shoot(*e.w, "tessary-gods-and-nations.png");

        e.find<QAction>("mnuSave")->trigger();
        QVERIFY(!doc.MapModified);
        const std::string saved = e.home.read("maps/aelfheim.map");
        QVERIFY(saved.find("#thx2title The Sundered Isles\n") != std::string::npos);
        QVERIFY(saved.find("#wraparound") == std::string::npos);
        QVERIFY(saved.find("-- AI ARVIK\n#computerplayer 2 2\n") != std::string::npos);

        auto back = std::make_unique<MapDocument>();
        z_ReadMapFile(*back, referenceData(), *e.w, e.map);
        QCOMPARE(back->MapTitle.str(), std::string("The Sundered Isles"));
        QVERIFY(!back->WrapAround);
        QCOMPARE(back->Nations[2].AIDifficulty, std::int16_t{2});
        QVERIFY(e.w->close());
    }

    void thePictureButtonLoadsANewPictureOrKeepsTheOld() {
        OpenEditor e;
        MapDocument& doc = e.w->document();
        const int provinces = doc.ProvinceCount;
        QVERIFY(QFile::copy(e.home.file("maps/aelfheim.tga"), e.home.file("maps/renamed.tga")));
        e.w->navigator().NodeClick("MAP");
        auto* browse = e.find<QPushButton>("cmdBrowseImage");
        auto* imageFile = e.find<QLineEdit>("txtImageFile");

        // A picture that cannot be read: the message, and the map keeps the one it shows.
        e.w->files = {QStringLiteral("/elsewhere/missing.tga"), QString(),
                      e.home.file("maps/renamed.tga")};
        browse->click();
        QCOMPARE(e.w->messages.size(), qsizetype{1});
        QVERIFY(e.w->messages[0].startsWith("Map Image Not Found|Unable to load map image: " +
                                            e.home.file("maps/missing.tga")));
        QCOMPARE(imageFile->text(), QStringLiteral("aelfheim.tga"));
        QCOMPARE(doc.ImageFileName.str(), std::string("aelfheim.tga"));
        QVERIFY(e.w->mapView().isVisible() && e.wrapCopiesShown());

        browse->click(); // cancelled
        QCOMPARE(doc.ImageFileName.str(), std::string("aelfheim.tga"));
        // The dialog starts in the maps directory with the current picture proposed.
        const QString maps = Settings::defaultMapsDirectory();
        QCOMPARE(e.w->fileRequests.value(1),
                 "Map Image (*.tga;*.rgb)|*.tga;*.rgb|" + maps + "|" + joinPath(maps, "aelfheim.tga"));

        browse->click();
        QCOMPARE(imageFile->text(), QStringLiteral("renamed.tga"));
        QCOMPARE(doc.ImageFileName.str(), std::string("renamed.tga"));
        QCOMPARE(int(doc.ProvinceCount), provinces);
        QVERIFY(doc.MapModified);
        QVERIFY(e.w->mapView().isVisible() && e.wrapCopiesShown());
        QCOMPARE(e.w->navigator().node("PROVINCES")->childCount(), provinces);

        // Undo names the old picture again and shows it; redo, the new one.
        const qint64 shown = e.w->mapImage().sourceKey();
        e.find<QAction>("mnuUndo")->trigger();
        QCOMPARE(doc.ImageFileName.str(), std::string("aelfheim.tga"));
        QCOMPARE(imageFile->text(), QStringLiteral("aelfheim.tga"));
        QVERIFY(e.w->mapImage().sourceKey() != shown);
        QCOMPARE(int(doc.ProvinceCount), provinces);
        QVERIFY(e.w->mapView().isVisible() && e.wrapCopiesShown());
        e.find<QAction>("mnuRedo")->trigger();
        QCOMPARE(doc.ImageFileName.str(), std::string("renamed.tga"));
        QCOMPARE(imageFile->text(), QStringLiteral("renamed.tga"));
        doc.MapModified = false;
    }
};

QTEST_MAIN(HeaderPanelsEndToEndTest)
#include "headerpanels_endtoend_test.moc"
