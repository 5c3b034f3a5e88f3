#include "cp1252.h"
#include "fakeuserinterface.h"
#include "mapdocument.h"
#include "maplifecycle.h"
#include "mapwriter.h"
#include "referencedata.h"
#include "tempfolder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>

using namespace ts;

namespace {

struct LifecycleTest : ::testing::Test {
    TempFolder home;
    std::unique_ptr<MapDocument> doc = std::make_unique<MapDocument>();
    std::unique_ptr<ReferenceData> ref = std::make_unique<ReferenceData>();
    FakeUserInterface ui;
    QStringList calls;
    QString maps = home.file("maps");
    std::unique_ptr<MapLifecycle> life;

    LifecycleTest() {
        const auto note = [this](const char* call) { return [this, call] { calls << call; }; };
        LifecycleHooks h;
        h.mapsDirectory = [this] { return maps; };
        h.startingUp = [] { return false; };
        h.setTopMenusEnabled = [this](bool on) { calls << (on ? "menusOn" : "menusOff"); };
        h.loadImage = [this](const QString& name, const QString& path) { calls << "loadImage " + name + " " + path; };
        h.mapPictureSize = [] { return QSize(1600, 1200); };
        h.setStatus = [this](const QString& key, const QString& text) { calls << key + "=" + text; };
        h.enableMapMenus = [this](bool afterOpen) { calls << (afterOpen ? "mapMenus afterOpen" : "mapMenus"); };
        h.hidePanels = note("hidePanels"), h.resetWindow = note("resetWindow");
        h.buildNavigator = note("buildNavigator"), h.showPanels = note("showPanels"), h.showMap = note("showMap");
        h.selectFirstProvince = note("selectFirstProvince"), h.showErrorLog = note("showErrorLog");
        h.focusMap = note("focusMap");
        life = std::make_unique<MapLifecycle>(*doc, *ref, ui, h);
    }

    // A map file with the given title, written as the editor writes maps.
    QString writeMap(const QString& relative, const char* title) {
        auto d = std::make_unique<MapDocument>();
        d->MapTitle = title;
        d->GameVersion = "323";
        return home.write(relative, MapFileText(*d, *ref));
    }
    // The map open before a new one is tried, and the check that it still is.
    void keepOldMap() {
        doc->MapFilePath = "/old/place.map", doc->MapFileTitle = "place.map", doc->MapTitle = "Old title";
        doc->ImageFileName = "old.tga";
        ui.files.push_back("/x/world.tga");
    }
    void expectOldMapKept(const MapLifecycle& l) {
        EXPECT_EQ(l.mapFilePath(), "/old/place.map");
        EXPECT_EQ(l.mapFileTitle(), "place.map");
        EXPECT_EQ(doc->MapTitle, "Old title");
        EXPECT_EQ(doc->ImageFileName, "old.tga");
    }
    // Opens the map through the dialog; writes it first when given a title.
    QString open(const QString& name, const char* title = nullptr) {
        ui.files.push_back(title ? writeMap("maps/" + name, title) : home.file("maps/" + name));
        life->openMap();
        return home.file("maps/" + name);
    }
    // a.map with a recovery copy beside it, opened with the given answer to the offer to recover.
    QString openWithRecovery(Answer answer) {
        writeMap("maps/a.ore", "Recovered");
        ui.answers.push_back(answer);
        return open("a.map", "Original");
    }
};

} // namespace

TEST_F(LifecycleTest, NewMapProposesTheImageNameWritesThenReadsAndFinishes) {
    ui.files = {"/x/north.rgb", "/somewhere/Ælfworld.tga"};
    ui.inputs = {std::nullopt}; // the first name is cancelled: nothing is created
    life->newMap();
    EXPECT_TRUE(ui.inputPrompts[0].endsWith("|north.map"));
    EXPECT_FALSE(QFile::exists(maps + "/north.map"));
    EXPECT_FALSE(calls.contains("resetWindow"));
    calls.clear();
    life->newMap();

    ASSERT_EQ(ui.inputPrompts.size(), 2u);
    EXPECT_EQ(ui.inputPrompts[1], "Map Name|Enter a name for your new map. (ie MyNewAdventure.map)|Ælfworld.map");
    EXPECT_EQ(ui.fileRequests[0], "open|Map Image Files (*.tga;*.rgb)|*.tga;*.rgb|" + maps + "|");
    const QString path = maps + "/Ælfworld.map";
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(life->mapFilePath(), path);
    EXPECT_EQ(life->mapFileTitle(), "Ælfworld.map");
    EXPECT_EQ(doc->MapTitle, "\xC6lfworld");
    EXPECT_EQ(doc->MapDescription, "\xC6lfworld\r\n\r\nEnter a description for your map here.");
    EXPECT_NE(home.read("maps/Ælfworld.map").find("#thx3version 323\n"), std::string::npos);
    EXPECT_EQ(doc->GameVersion, "3.17"); // what reading any version command gives
    EXPECT_FALSE(doc->MapModified);
    const QStringList expected = {"hidePanels",     "resetWindow", "loadImage Ælfworld.tga " + maps + "/Ælfworld.tga",
                                  "buildNavigator", "MAPSIZE=1600x1200", "showPanels", "showMap",
                                  "selectFirstProvince", "mapMenus", "focusMap"};
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(ui.captions.back(), "Tessary: Ælfworld.map");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(LifecycleTest, APictureFromElsewhereIsCopiedBesideTheNewMapButNeverOverAnother) {
    const QString picture = home.write("pictures/isle.tga", "picture bytes");
    ui.files.push_back(picture);
    life->newMap();
    EXPECT_EQ(home.read("maps/isle.tga"), "picture bytes");

    home.write("pictures/other/isle.tga", "another picture");
    ui.files.push_back(home.file("pictures/other/isle.tga"));
    ui.inputs.push_back(QStringLiteral("second.map"));
    life->newMap();
    EXPECT_EQ(home.read("maps/isle.tga"), "picture bytes");
}

TEST_F(LifecycleTest, ANewMapCancelledAtTheOverwriteOrFailingKeepsThePreviousMap) {
    const QString existing = writeMap("maps/world.map", "Keep me");
    keepOldMap();
    ui.answers.push_back(Answer::Cancel);
    life->newMap();
    ASSERT_EQ(ui.titles(), QStringList{"Overwrite existing map file?"});
    EXPECT_EQ(ui.messages[0].text, existing + " already exists. OK to overwrite or CANCEL the operation.");
    expectOldMapKept(*life);
    EXPECT_NE(home.read("maps/world.map").find("Keep me"), std::string::npos);

    QFile::remove(existing);
    LifecycleHooks h;
    h.mapsDirectory = [this] { return maps; };
    h.resetWindow = [] { throw std::runtime_error("out of crayons"); };
    MapLifecycle failing(*doc, *ref, ui, h);
    keepOldMap();
    failing.newMap();
    ASSERT_EQ(ui.titles().last(), "Error creating new map!");
    EXPECT_EQ(ui.messages.back().text, "An error occurred while creating the new map! Error: out of crayons\r\n"
                                       "It is highly recommended that you restart Tessary before editing the current map.");
    expectOldMapKept(failing);
}

TEST_F(LifecycleTest, RecoveringReadsTheCopyButSavesToTheMapAndDeletesTheCopy) {
    const QString map = openWithRecovery(Answer::Ok);
    ASSERT_EQ(ui.titles(), QStringList{"Attempt to recover?"});
    EXPECT_EQ(ui.messages[0].text, "Recovery is available for a.map. OK to recover or Cancel to continue loading original file.");
    EXPECT_EQ(doc->MapTitle, "Recovered");
    EXPECT_EQ(life->mapFilePath(), map);
    EXPECT_TRUE(calls.contains("mapMenus afterOpen"));
    life->save();
    EXPECT_FALSE(QFile::exists(home.file("maps/a.ore")));
    EXPECT_NE(home.read("maps/a.map").find("Recovered"), std::string::npos);
}

TEST_F(LifecycleTest, DecliningRecoveryReadsTheOriginalAndKeepsTheCopy) {
    openWithRecovery(Answer::Cancel);
    EXPECT_EQ(doc->MapTitle, "Original");
    EXPECT_TRUE(QFile::exists(home.file("maps/a.ore")));
}

TEST_F(LifecycleTest, UnsavedChangesOrACancelledDialogStopOpenAndNew) {
    doc->MapModified = true;
    doc->MapFilePath = "/old/place.map";
    ui.answers = {Answer::Cancel, Answer::Cancel};
    life->openMap();
    life->newMap();
    EXPECT_EQ(ui.titles(), (QStringList{"Continue without saving changes?", "Continue without saving changes?"}));
    EXPECT_EQ(ui.messages[0].text, "There are unsaved changes to /old/place.map. OK to continue without saving or "
                                   "Cancel to go back and save your map.");
    EXPECT_TRUE(ui.fileRequests.empty());
    EXPECT_TRUE(calls.isEmpty());

    doc->MapModified = false;
    life->openMap(); // the dialog is cancelled: the menus come back
    EXPECT_EQ(calls, (QStringList{"hidePanels", "menusOff", "menusOn"}));
    EXPECT_EQ(ui.fileRequests[0], "open|Map Files (*.map)|*.map|" + maps + "|/old/place.map");
    EXPECT_EQ(life->mapFilePath(), "/old/place.map");
}

TEST_F(LifecycleTest, EditsKeepARecoveryCopyUntilSavedOrClosedWithoutSaving) {
    const QString map = open("b.map", "Bee");
    doc->MapTitle = "Edited";
    doc->PanelDirty[HeaderDirty] = true;
    doc->MapModified = true;
    life->WriteRecoveryFile();
    EXPECT_FALSE(doc->anyPanelDirty());
    EXPECT_NE(home.read("maps/b.ore").find("Edited"), std::string::npos);

    // A save that cannot replace the map (a folder stands in its place) keeps the changes and the copy.
    QFile::remove(map);
    home.write("maps/b.map/in the way", "");
    life->save();
    EXPECT_TRUE(doc->MapModified);
    EXPECT_EQ(ui.titles(), QStringList{"Map file not saved!"});
    EXPECT_TRUE(QFile::exists(home.file("maps/b.ore")));
    QDir(map).removeRecursively();
    writeMap("maps/b.map", "Bee");

    ui.answers = {Answer::Cancel, Answer::Ok};
    EXPECT_FALSE(life->queryClose());
    EXPECT_EQ(ui.messages.back().title, "Close without saving?");
    EXPECT_EQ(ui.messages.back().text, "There are unsaved changes to " + map +
                                           ". OK to close without saving or Cancel to go back and save your map.");
    EXPECT_TRUE(life->queryClose());
    life->unload();
    EXPECT_FALSE(QFile::exists(home.file("maps/b.ore")));
    EXPECT_NE(home.read("maps/b.map").find("Bee"), std::string::npos); // the changes are gone, as asked
}

TEST_F(LifecycleTest, SaveAsAsksBeforeOverwritingAndCancelKeepsThePath) {
    const QString map = open("d.map", "Dee");
    ui.files.push_back(writeMap("maps/e.map", "Eee"));
    ui.answers.push_back(Answer::Cancel);
    life->saveAs();
    EXPECT_EQ(ui.messages.back().title, "Overwrite map file?");
    EXPECT_EQ(ui.messages.back().text, "This map file already exists. OK to overwrite or Cancel to abort save.");
    EXPECT_EQ(life->mapFilePath(), map);
    EXPECT_NE(home.read("maps/e.map").find("Eee"), std::string::npos);

    ui.files.push_back(home.file("maps/f.map"));
    life->saveAs();
    EXPECT_EQ(life->mapFileTitle(), "f.map");
    EXPECT_NE(home.read("maps/f.map").find("Dee"), std::string::npos);
    EXPECT_EQ(ui.captions.back(), "Tessary: f.map");
}

TEST_F(LifecycleTest, TheKeepingSettingDecidesAtEveryOpenAndSave) {
    bool keep = true;
    LifecycleHooks hooks;
    hooks.keepUnknown = [&keep] { return keep; };
    MapLifecycle l(*doc, *ref, ui, hooks);
    const QString path = home.write("maps/later.map", "#thx2title Later\n#newcommand 1\n");
    l.openMapFile(path);
    l.save();
    EXPECT_NE(home.read("maps/later.map").find("\n#newcommand 1\n\n######### ALLOWED PLAYERS"), std::string::npos);
    keep = false;
    l.save();
    EXPECT_EQ(home.read("maps/later.map").find("#newcommand"), std::string::npos);
    l.openMapFile(path);
    EXPECT_EQ(doc->HeaderKeptLines, "");
}
