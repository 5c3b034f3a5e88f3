// The map header and nation panels as a user edits them: through their controls, committed by the
// navigator, saved and read back.
#include "fakeuserinterface.h"
#include "headerpanels.h"
#include "headerrules.h"
#include "mapheaderpanel.h"
#include "mapreader.h"
#include "mapwriter.h"
#include "nationpanel.h"
#include "navigator.h"
#include "panelframes.h"
#include "smallmap.h"
#include "tempfolder.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using namespace ts;

namespace {

// The panels in their frames beside a navigator on the small map, as the window puts them.
struct Editor {
    editingtest::SmallMap map;
    MapDocument& doc = *map.doc;
    FakeUserInterface ui;
    Navigator nav{doc, *map.ref};
    PanelFrames frames;
    HeaderPanels panels;
    std::vector<int> provincesFilled;
    int recoveryWrites = 0;

    Editor() {
        // Nations 5 (special start in province 1) and 20 play; 10 is a god only.
        for (int n : {5, 20}) doc.Nations[n].AllowedPlayer = true;
        doc.Nations[5].NationInUse = true;
        for (int n = 0; n < kNationCount; ++n) {
            doc.Nations[n].NationNumber = static_cast<std::int16_t>(n);
            doc.Nations[n].NationName = map.ref->NationData[n].name;
        }
        nav.BuildNavigator();
        panels = AddHeaderPanels(frames, nav, doc, *map.ref, ui);
        frames.hooks.fill.province = [this](int p) { provincesFilled.push_back(p); };
        NavigatorModel::Hooks& hooks = nav.model().hooks;
        hooks.showPanel = [this](Panel panel, int p, int c, int n) { frames.ShowPanel(panel, p, c, n); };
        hooks.writeRecoveryFile = [this] { ++recoveryWrites; };
        frames.resize(420, 900);
        frames.show();
        frames.activateWindow();
        if (!QTest::qWaitForWindowActive(&frames)) qWarning("the panels' window is not active");
    }

    template <typename T>
    T* find(const char* name) {
        T* w = frames.findChild<T*>(QString::fromLatin1(name));
        if (!w) qFatal("no control %s", name);
        return w;
    }

    // Types over the box's text and leaves it with Enter, as a user would.
    void type(const char* box, const QString& text) {
        auto* edit = find<QLineEdit>(box);
        edit->setFocus();
        edit->selectAll();
        if (text.isEmpty()) QTest::keyClick(edit, Qt::Key_Delete);
        // Key by key, letters beyond ASCII included.
        for (const QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(edit, &press);
        }
        QTest::keyClick(edit, Qt::Key_Return);
    }
    QString shown(const char* box) { return find<QLineEdit>(box)->text(); }
};

} // namespace

class HeaderPanelsTest : public QObject {
    Q_OBJECT

private slots:
    void headerBoxesClampOnLeavingAndCommitAtOnce() {
        Editor e;
        e.doc.MapTitle = "Aelfheim";
        e.doc.FeaturesFrequency = 40;
        e.nav.NodeClick("MAP");
        QVERIFY(e.frames.frame("fraMap")->isVisible());
        QCOMPARE(e.shown("txtThx2Title"), QStringLiteral("Aelfheim"));
        QCOMPARE(e.shown("txtFeaturesFrequency"), QStringLiteral("40"));
        QCOMPARE(e.shown("txtDefaultMapZoom"), QString());

        const struct {
            const char* box;
            const char* typed;
            const char* shown;
        } cases[] = {{"txtFeaturesFrequency", "45", "45"},   {"txtDefaultMapZoom", "0.75", "0.75"},
                     {"txtFeaturesFrequency", "-5", "0"},   {"txtDefaultMapZoom", "-1", "0"},
                     {"txtFeaturesFrequency", "150", "100"}, {"txtDefaultMapZoom", "2.5", "2"},
                     {"txtFeaturesFrequency", "  ", ""},    {"txtDefaultMapZoom", "zoom", "0"}};
        for (const auto& c : cases) {
            e.type(c.box, QString::fromLatin1(c.typed));
            QCOMPARE(e.shown(c.box), QString::fromLatin1(c.shown));
        }
        QCOMPARE(e.doc.FeaturesFrequency, std::int16_t{-1});
        QCOMPARE(e.doc.DefaultMapZoom, 0.0f);
        QVERIFY(e.doc.MapModified);
        const int edits = static_cast<int>(std::size(cases));
        QCOMPARE(e.recoveryWrites, edits);

        // Leaving a box without a change commits nothing.
        e.type("txtThx2Title", QStringLiteral("Aelfheim"));
        QCOMPARE(e.recoveryWrites, edits + 1); // typed over: an edit, though the same text
        e.find<QLineEdit>("txtThx2Title")->setFocus();
        e.find<QLineEdit>("txtDefaultMapZoom")->setFocus();
        QCOMPARE(e.recoveryWrites, edits + 1);
    }

    void wrapAroundSwitchCommitsBeforeItsViewIsRedrawn() {
        Editor e;
        e.nav.NodeClick("MAP");
        std::vector<bool> wrapWhenRedrawn;
        e.panels.header->wrapAroundChanged = [&] { wrapWhenRedrawn.push_back(e.doc.WrapAround); };
        e.find<QCheckBox>("chkWraparound")->click();
        e.find<QCheckBox>("chkWraparound")->click();
        QCOMPARE(wrapWhenRedrawn, (std::vector<bool>{true, false}));
        QVERIFY(e.doc.MapModified);
    }

    void textColourLabelPicksRedGreenBlueAndAnEmptyRedUnsetsIt() {
        Editor e;
        e.nav.NodeClick("MAP");
        auto* label = e.find<QLabel>("lblMapTextColor");
        e.ui.colors = {Color{0x0033FF80}, std::nullopt};
        QTest::mouseClick(label, Qt::LeftButton);
        QCOMPARE(e.doc.MapTextColor[3], 0.0f); // alpha is typed by hand
        e.type("txtAlpha", QStringLiteral("0.5"));
        QCOMPARE(e.shown("txtRed"), QStringLiteral("0.5019608")); // shown again from the stored float
        QCOMPARE(e.doc.MapTextColor[1], 1.0f);
        QCOMPARE(e.doc.MapTextColor[2], 0.2f);
        QCOMPARE(e.doc.MapTextColor[3], 0.5f); // alpha is the user's own
        QCOMPARE(label->text(), QStringLiteral("Map Text Color"));
        QCOMPARE(label->palette().color(QPalette::Window), QColor(128, 255, 51));

        QTest::mouseClick(label, Qt::LeftButton); // cancelled: nothing changes
        QCOMPARE(e.doc.MapTextColor[0], 128.0f / 255.0f);
        e.type("txtRed", QStringLiteral("7")); // clamped to full red
        QCOMPARE(e.doc.MapTextColor[0], 1.0f);
        e.type("txtAlpha", QStringLiteral("x"));
        QCOMPARE(e.doc.MapTextColor[3], 0.0f);

        e.type("txtRed", QString());
        for (float c : e.doc.MapTextColor) QCOMPARE(c, -1.0f);
        for (const char* box : {"txtGreen", "txtBlue", "txtAlpha"}) QCOMPARE(e.shown(box), QString());
        QVERIFY(label->palette().color(QPalette::Window) != QColor(128, 255, 51));
    }

    void browsingProposesTheCurrentPictureAndKeepsOnlyTheFileName() {
        FakeUserInterface ui;
        ui.files = {QStringLiteral("/home/me/maps/other/world.rgb"), std::nullopt};
        QCOMPARE(BrowseMapImage(ui, QStringLiteral("/home/me/maps"), QStringLiteral("old.tga")),
                 std::optional<QString>(QStringLiteral("world.rgb")));
        QCOMPARE(BrowseMapImage(ui, QStringLiteral("/home/me/maps/"), QString()), std::nullopt);
        QCOMPARE(ui.fileRequests, (std::vector<QString>{
                                      "open|Map Image (*.tga;*.rgb)|*.tga;*.rgb|/home/me/maps|/home/me/maps/old.tga",
                                      "open|Map Image (*.tga;*.rgb)|*.tga;*.rgb|/home/me/maps/|"}));
    }

    void computerPlayerProposesStandardDifficultyAndUncheckingMakesAHuman() {
        Editor e;
        e.nav.NodeClick("20 NATION");
        QVERIFY(e.frames.frame("fraGodAndNation")->isVisible());
        QCOMPARE(e.find<QLabel>("lblNationName")->text(), QStringLiteral("Tirn"));
        auto* ai = e.find<QCheckBox>("chkAIPlayer");
        auto* difficulty = e.find<QLineEdit>("txtDifficulty");
        ai->click();
        QCOMPARE(difficulty->text(), QStringLiteral("2"));
        QCOMPARE(difficulty->selectedText(), QStringLiteral("2"));
        QVERIFY(difficulty->hasFocus());
        QCOMPARE(e.doc.Nations[20].AIDifficulty, std::int16_t{2});
        QTest::keyClicks(difficulty, QStringLiteral("4")); // types over the proposal
        QTest::keyClick(difficulty, Qt::Key_Return);
        QCOMPARE(e.doc.Nations[20].AIDifficulty, std::int16_t{4});

        ai->click();
        QCOMPARE(e.doc.Nations[20].AIDifficulty, std::int16_t{0});
        QCOMPARE(difficulty->text(), QString());
    }

    void scalesAndAlliesThroughTheControls() {
        Editor e;
        e.nav.NodeClick("5 NATION");
        e.type("txtOrder", QStringLiteral("3"));
        QCOMPARE(e.doc.Nations[5].ScaleChaos, std::int16_t{-3});
        e.type("txtOrder", QStringLiteral("0"));
        QCOMPARE(e.doc.Nations[5].ScaleChaos, kNone);
        QCOMPARE(e.shown("txtOrder"), QString());
        e.type("txtDominion", QStringLiteral(""));
        QCOMPARE(e.doc.Nations[5].DominionLevel, std::int16_t{0});

        // The mouse over a control shows its hint in the status bar.
        QStringList hints;
        e.frames.showHint = [&](const QString& hint) { hints << hint; };
        for (const char* control : {"txtDominion", "chkCannotWin", "txtLuck"}) {
            QEvent enter(QEvent::Enter);
            QApplication::sendEvent(e.find<QWidget>(control), &enter);
        }
        QCOMPARE(hints, (QStringList{"Sets the dominion strength of a nation. <1-10>",
                                     "When checked, this nation will not win when they fulfill a special victory "
                                     "condition.",
                                     "Sets the Luck / Misfortune dominion scale of a nation. A value of 3 tips the "
                                     "scale fully to the left (Luck), -3 fully to the right (Misfortune). <3-(-3)>"}));

        auto* allies = e.find<QListWidget>("lstAllies");
        QCOMPARE(allies->count(), 1);
        QCOMPARE(allies->item(0)->text(), QStringLiteral("LA Tirn"));
        allies->item(0)->setSelected(true);
        QVERIFY(e.doc.Nations[5].Allies[20] && e.doc.Nations[20].Allies[5]);
        allies->item(0)->setSelected(false);
        QVERIFY(!e.doc.Nations[5].Allies[20] && !e.doc.Nations[20].Allies[5]);
    }

    void aNationWithASpecialStartFillsItsProvinceOnce() {
        Editor e;
        e.nav.NodeClick("5 NATION"); // an allowed player: the province frames stay hidden
        QVERIFY(!e.frames.frame("fraProvince")->isVisible());
        QCOMPARE(e.provincesFilled, std::vector<int>{1});
        QCOMPARE(e.doc.CurCommander, std::int16_t{0});

        e.doc.Nations[5].AllowedPlayer = false;
        e.nav.RefreshNationNode(5);
        e.provincesFilled.clear();
        e.nav.NodeClick("5 NATION"); // a god only: its province is shown beside it
        QVERIFY(e.frames.frame("fraProvince")->isVisible());
        QCOMPARE(e.provincesFilled, std::vector<int>{1});

        e.provincesFilled.clear();
        e.nav.NodeClick("20 NATION"); // no special start
        QVERIFY(e.provincesFilled.empty());
    }

    void everyFieldEditedThroughThePanelsSurvivesSaveAndRead() {
        Editor e;
        e.nav.NodeClick("MAP");
        e.type("txtThx2Title", QStringLiteral("Isles of S\u00E9verin"));
        auto* description = e.find<QPlainTextEdit>("txtMapDescription");
        description->setFocus();
        QTest::keyClicks(description, QStringLiteral("Two seas"));
        QTest::keyClick(description, Qt::Key_Return);
        QTest::keyClicks(description, QStringLiteral("and a king"));
        e.find<QLineEdit>("txtFeaturesFrequency")->setFocus(); // leaving the description commits it
        QCOMPARE(e.doc.MapDescription, "Two seas\r\nand a king");
        for (const char* box : {"chkScenario", "chkWraparound", "chkNoHomelandNames"}) e.find<QCheckBox>(box)->click();
        e.type("txtFeaturesFrequency", QStringLiteral("30"));
        e.type("txtDefaultMapZoom", QStringLiteral("1.25"));
        e.ui.colors = {Color{0x00336699}};
        QTest::mouseClick(e.find<QLabel>("lblMapTextColor"), Qt::LeftButton);
        e.type("txtAlpha", QStringLiteral("0.5"));

        e.nav.NodeClick("5 NATION");
        e.find<QCheckBox>("chkAIPlayer")->click();
        e.type("txtDifficulty", QStringLiteral("4"));
        e.find<QCheckBox>("chkCannotWin")->click();
        e.type("txtDominion", QStringLiteral("6"));
        const char* scales[] = {"txtOrder", "txtProduction", "txtHeatCold", "txtLifeDeath", "txtLuck", "txtMagicDrain"};
        const QString values[] = {"3", "-3", "2", "-2", "1", "-1"};
        for (int s = 0; s < 6; ++s) e.type(scales[s], values[s]);
        e.find<QListWidget>("lstAllies")->item(0)->setSelected(true);

        TempFolder folder;
        const QString path = folder.file("isles.map");
        MapWriteOptions options;
        options.commitPanels = [&] { e.nav.NodeClick("MAP"); };
        QVERIFY(z_WriteMapFile(e.doc, *e.map.ref, e.ui, path, options));
        auto back = std::make_unique<MapDocument>();
        z_ReadMapFile(*back, *e.map.ref, e.ui, path);

        QCOMPARE(back->MapTitle.str(), std::string("Isles of S\xE9verin"));
        QCOMPARE(back->MapDescription.str(), std::string("Two seas\r\nand a king"));
        QVERIFY(back->ScenarioFlag && back->WrapAround && back->NoHomelandNames);
        QCOMPARE(back->FeaturesFrequency, std::int16_t{30});
        QCOMPARE(back->DefaultMapZoom, 1.25f);
        // The file keeps two decimals of each colour component.
        const float colour[4] = {0.6f, 0.4f, 0.2f, 0.5f};
        for (int k = 0; k < 4; ++k) QCOMPARE(back->MapTextColor[k], colour[k]);
        const NationDataType& n = back->Nations[5];
        QCOMPARE(n.AIDifficulty, std::int16_t{4});
        QVERIFY(n.CannotWin);
        QCOMPARE(n.DominionLevel, std::int16_t{6});
        QCOMPARE((std::vector<int>{n.ScaleChaos, n.ScaleLazy, n.ScaleCold, n.ScaleDeath, n.ScaleUnluck, n.ScaleUnmagic}),
                 (std::vector<int>{-3, 3, -2, 2, -1, 1}));
        QVERIFY(n.Allies[20] && back->Nations[20].Allies[5]);
    }
};

QTEST_MAIN(HeaderPanelsTest)
#include "headerpanels_test.moc"
