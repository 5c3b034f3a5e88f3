// The province panel's forms on a small map, wired to a real navigator as the main window wires
// them, with a scripted user.
#include "fakeuserinterface.h"
#include "navigator.h"
#include "keeping.h"
#include "provincepanel.h"
#include "referencelists.h"
#include "smallmap.h"
#include "startownerpanel.h"
#include "tempfolder.h"
#include "victorypanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>
#include <memory>

using namespace ts;

namespace {

struct Rig {
    editingtest::SmallMap map;
    MapDocument& doc = *map.doc;
    TempFolder program;
    FakeUserInterface ui;
    std::unique_ptr<ReferenceLists> lists;
    std::unique_ptr<Navigator> nav;
    QWidget window;
    QWidget* terrainTool = new QWidget(&window);
    QWidget* fortTool = new QWidget(&window);
    ProvincePanel* province = nullptr;
    StartOwnerPanel* startOwner = nullptr;
    VictoryPanel* victory = nullptr;
    int recoveryWrites = 0;
    int fortToolShown = 0;

    Rig() {
        map.ref->NationData[0] = {"EA", 0, "", "Marara"};
        map.ref->PopData[30] = {30, "Hill Folk", {44, 0, -666, 0, 0}, {12, 0, 0, 0, 0}};
        map.ref->PopData[31] = {31, "Nobody", {}, {}};
        map.ref->UnitData[12] = {};
        map.ref->UnitData[12].name = "Chieftain";
        for (int f = 1; f < kFortSlots; ++f)
            map.ref->FortData[f] = {std::int16_t(f), "Fort " + std::to_string(f)};
        map.ref->FortData[2].name = "Palisade";
        lists = std::make_unique<ReferenceLists>(BuildReferenceLists(*map.ref));
        program.write("TSsprites/0012.jpg", "not a picture, but there");

        doc.ProvinceCount = 4;
        doc.Provinces[1].SpecStart = true;
        doc.Provinces[1].SpecStartNation = 5;
        nav = std::make_unique<Navigator>(doc, *map.ref);

        PanelHooks hooks;
        NavigatorModel& model = nav->model();
        hooks.panelChanged = [&model](PanelDirtyFlag flag) { return model.PanelChanged(flag); };
        hooks.commit = [this] { nav->NodeClick(); };
        hooks.ready = [&model] { return model.panelReady(); };
        hooks.programFolder = program.path();
        auto* column = new QVBoxLayout(&window);
        const auto body = [&window = window, column] {
            auto* w = new QWidget(&window);
            column->addWidget(w);
            return new QVBoxLayout(w);
        };
        province = new ProvincePanel(body(), terrainTool, fortTool, doc, *map.ref, *lists, ui, hooks);
        startOwner = new StartOwnerPanel(body(), doc, *lists, ui, hooks);
        victory = new VictoryPanel(body(), doc, hooks);
        province->showFortTool = [this] { ++fortToolShown; };

        NodeEdits nodes;
        nodes.add = [this](std::string_view parent, std::string_view key, std::string_view caption) {
            nav->AddNavigatorNode(parent, key, caption);
        };
        nodes.remove = [this](std::string_view key) { nav->RemoveNavigatorNode(key); };
        nodes.setCaption = [this](std::string_view key, std::string_view caption) {
            if (QTreeWidgetItem* item = nav->node(key))
                item->setText(0, QString::fromLatin1(caption.data(), qsizetype(caption.size())));
        };
        auto& h = model.hooks;
        h.commit.province = [this, nodes] { province->CommitProvince(doc.CurProvince, nodes); };
        h.commit.startAndOwner = [this, nodes] { startOwner->CommitStartAndOwner(doc.CurProvince, nodes); };
        h.commit.victory = [this] { victory->CommitVictory(doc.CurProvince); };
        h.showPanel = [this](Panel, int p, int, int) {
            victory->ShowVictoryPoints(p);
            startOwner->ShowStartAndOwner(p);
            province->ShowProvince(p);
        };
        h.writeRecoveryFile = [this] { ++recoveryWrites; };
        nav->BuildNavigator();
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window)) qFatal("the panel window never became active");
    }

    template <typename T> T* get(const char* name) {
        T* w = window.findChild<T*>(QString::fromLatin1(name));
        if (!w) qFatal("no control %s", name);
        return w;
    }
    QString text(const char* name) { return get<QLineEdit>(name)->text(); }
    QString picture(const char* name) {
        return QFileInfo(get<QWidget>(name)->property("picture").toString()).fileName();
    }
    void select(int p) { nav->NodeClick(std::to_string(p) + " PROV"); }
    // Types into a box and leaves it, as the user does. While the box has the focus each change
    // commits, but the box keeps what was typed.
    void typeAndLeave(const char* name, const QString& value) {
        QLineEdit* box = get<QLineEdit>(name);
        box->setFocus();
        box->setText(value);
        if (box->text() != value) qFatal("%s lost what was typed", name);
        box->clearFocus();
    }
    void choose(const char* combo, int index) {
        auto* c = get<QComboBox>(combo);
        c->setCurrentIndex(index);
        Q_EMIT c->activated(index);
    }
};

} // namespace

class ProvincePanelTest : public QObject {
    Q_OBJECT

  private slots:
    void everyControlCarriesItsName() {
        Rig rig;
        QStringList names = {"lblProvinceNumber",
                             "txtLandName",
                             "txtPopulation",
                             "txtUnrest",
                             "txtDefence",
                             "cboPopType",
                             "fraPopulationType",
                             "txtSkyBox",
                             "cmdBrowseSkyBox",
                             "txtBattleMap",
                             "cmdBrowseBattleMap",
                             "lblGround",
                             "lblRock",
                             "lblFog",
                             "imgFort",
                             "imgLab",
                             "imgTemple",
                             "imgVictoryPoint",
                             "imgOwner",
                             "lblTooManySites",
                             "chkClearProvince",
                             "chkTSmall",
                             "chkTLarge",
                             "chkTNoStart",
                             "lstForts",
                             "cboOwner",
                             "txtVictoryPointValue",
                             "cboVictoryCondition",
                             "txtVictoryPoints"};
        for (int i = 0; i < 11; ++i)
            names << QStringLiteral("chkTerrain%1").arg(i);
        for (int i = 0; i < 10; ++i)
            names << QStringLiteral("chkSiteTerrain%1").arg(i);
        for (int i = 0; i < 8; ++i)
            names << QStringLiteral("imgTerrain%1").arg(i) << QStringLiteral("imgRecruit%1").arg(i);
        for (int i = 0; i < 4; ++i)
            names << QStringLiteral("optStart%1").arg(i);
        for (const QString& n : names)
            QVERIFY2(rig.window.findChild<QWidget*>(n), qPrintable(n));
        QCOMPARE(rig.get<QComboBox>("cboVictoryCondition")->itemText(2), QStringLiteral("Dominion"));
    }

    void showProvinceFillsExactlyWhatIsSet() {
        Rig rig;
        ProvinceDataType& p = rig.doc.Provinces[2];
        p.Population = 300;
        p.Unrest = 0;
        p.PopType = 30;
        p.GroundCol[0] = 255, p.GroundCol[1] = 0, p.GroundCol[2] = 0;
        p.VictoryPoints = 3;
        p.Owner = 10;
        p.Temple = true;
        for (int bit : {0, 2, 3, 4, 5, 6, 7, 8, 12})
            p.TerrainBit[bit] = true;
        rig.select(2);
        QCOMPARE(rig.get<QLabel>("lblProvinceNumber")->text(), QStringLiteral("2"));
        QCOMPARE(rig.text("txtPopulation"), QStringLiteral("300"));
        QCOMPARE(rig.text("txtUnrest"), QStringLiteral("0"));
        QCOMPARE(rig.text("txtDefence"), QString()); // not set
        QCOMPARE(rig.get<QComboBox>("cboPopType")->currentData().toInt(), 30);
        QCOMPARE(rig.picture("imgRecruit0"), QStringLiteral("0012.jpg")); // commanders first
        QCOMPARE(rig.get<QWidget>("imgRecruit0")->toolTip(), QStringLiteral("Chieftain"));
        QCOMPARE(rig.picture("imgRecruit1"), QStringLiteral("NOIMAGE.jpg"));
        QCOMPARE(rig.picture("imgRecruit2"), QString());
        QCOMPARE(rig.get<ColourSwatch>("lblGround")->value(), std::optional<Color>(255));
        QVERIFY(!rig.get<ColourSwatch>("lblRock")->value()); // hatched grey
        QCOMPARE(rig.picture("imgFort"), QStringLiteral("blank.bmp"));
        QCOMPARE(rig.picture("imgTemple"), QStringLiteral("temple.bmp"));
        QCOMPARE(rig.picture("imgVictoryPoint"), QStringLiteral("victorypoint.bmp"));
        QCOMPARE(rig.get<QWidget>("imgVictoryPoint")->toolTip(), QStringLiteral("VP: 3"));
        QCOMPARE(rig.picture("imgOwner"), QStringLiteral("ma_osk_icon.bmp"));
        QCOMPARE(rig.picture("imgTerrain0"), QStringLiteral("small.bmp"));
        QCOMPARE(rig.picture("imgTerrain7"), QStringLiteral("farm.bmp"));
        QVERIFY(rig.get<QLabel>("lblTooManySites")->isVisible()); // the cave does not fit
        QVERIFY(rig.get<QCheckBox>("chkTerrain5")->isChecked());
        QCOMPARE(rig.text("txtVictoryPointValue"), QStringLiteral("3"));
        QVERIFY(rig.get<QRadioButton>("optStart0")->isChecked());
        QCOMPARE(rig.get<QComboBox>("cboOwner")->currentData().toInt(), 10);

        // Province 1: a special start with fort, lab and temple; no population type.
        rig.select(1);
        QCOMPARE(rig.text("txtLandName"), QStringLiteral("Gath"));
        QCOMPARE(rig.text("txtPopulation"), QString());
        QCOMPARE(rig.get<QComboBox>("cboPopType")->currentIndex(), 0);
        QCOMPARE(rig.picture("imgRecruit0"), QString());
        QCOMPARE(rig.picture("imgFort"), QStringLiteral("fort.bmp"));
        QCOMPARE(rig.get<QListWidget>("lstForts")->currentItem()->text(), QStringLiteral("Palisade"));
        QVERIFY(rig.get<QRadioButton>("optStart3")->isChecked());
        QCOMPARE(rig.get<QComboBox>("cboOwner")->currentData().toInt(), 5);
        QCOMPARE(rig.picture("imgOwner"), QStringLiteral("ea_valdren_icon.bmp"));
        QVERIFY(!rig.get<QLabel>("lblTooManySites")->isVisible());
        QVERIFY(!rig.get<QLabel>("lblOtherTerrainBits")->isVisible());
        // Terrain bits of later game versions are shown, apart from the flags.
        rig.doc.Provinces[1].TerrainExtraBits = 1 << 25;
        rig.select(2);
        rig.select(1);
        QCOMPARE(rig.get<QLabel>("lblOtherTerrainBits")->text(), OtherTerrainBitsText(rig.doc.Provinces[1]));
        QVERIFY(rig.get<QLabel>("lblOtherTerrainBits")->text().contains(QString::number(1 << 25)));
        QVERIFY(rig.get<QLabel>("lblOtherTerrainBits")->isVisible());

        // A population type without recruits, and one the table does not know, which keeps its number.
        rig.doc.Provinces[3].PopType = 31;
        rig.doc.Provinces[4].PopType = 86;
        rig.select(3);
        QCOMPARE(rig.picture("imgRecruit0"), QStringLiteral("norecruitables.bmp"));
        QCOMPARE(rig.get<QWidget>("imgRecruit0")->toolTip(), QStringLiteral("Not Recruitable"));
        rig.select(4);
        QCOMPARE(rig.get<QComboBox>("cboPopType")->currentData().toInt(), 86);
        rig.typeAndLeave("txtLandName", "Lowe");
        QCOMPARE(rig.doc.Provinces[4].PopType, 86);

        rig.nav->NodeClick("MAP");
        QCOMPARE(rig.text("txtLandName"), QString());
        QCOMPARE(rig.get<QLabel>("lblProvinceNumber")->text(), QString());
        QVERIFY(!rig.doc.anyPanelDirty());
    }

    void everyEditCommitsAtOnceAndBadNumbersAreMendedOnLeaving() {
        Rig rig;
        rig.select(2);
        QCOMPARE(rig.recoveryWrites, 0);
        rig.get<QLineEdit>("txtLandName")->setText("Brenn");
        QCOMPARE(rig.doc.Provinces[2].LandName, "Brenn");
        QCOMPARE(rig.nav->node("2 PROV")->text(0), QStringLiteral("2 Brenn"));
        QVERIFY(rig.doc.MapModified);
        QCOMPARE(rig.recoveryWrites, 1);

        const struct {
            const char* box;
            const char* typed;
            const char* shown;
            int stored;
        } cases[] = {
            {"txtPopulation", "60000", "50000", 50000},
            {"txtPopulation", "", "", -1},
            {"txtUnrest", "abc", "0", 0},
            {"txtDefence", "300", "125", 125},
            {"txtVictoryPointValue", "x", "1", 1},
            {"txtVictoryPointValue", "9", "7", 7},
        };
        for (const auto& c : cases) {
            rig.typeAndLeave(c.box, QString::fromLatin1(c.typed));
            QCOMPARE(rig.text(c.box), QString::fromLatin1(c.shown));
            const ProvinceDataType& p = rig.doc.Provinces[2];
            const QByteArray box(c.box);
            const int stored = box == "txtPopulation" ? p.Population
                               : box == "txtUnrest"   ? p.Unrest
                               : box == "txtDefence"  ? p.Defence
                                                      : p.VictoryPoints;
            QCOMPARE(stored, c.stored);
        }

        // Showing a province again is no edit.
        const int writes = rig.recoveryWrites;
        rig.province->ShowProvince(2);
        rig.select(3);
        QCOMPARE(rig.recoveryWrites, writes);
    }

    void terrainBoxesFollowTheirRulesAndTheRecordFollowsThem() {
        Rig rig;
        rig.select(2);
        const ProvinceDataType& p = rig.doc.Provinces[2];
        const auto checked = [&rig](const char* name) { return rig.get<QCheckBox>(name)->isChecked(); };

        rig.province->toggleTerrain(8); // f
        rig.province->toggleTerrain(9); // a
        QVERIFY(p.TerrainBit[7] && p.TerrainBit[8]);
        rig.province->toggleTerrain(2); // d checks sea too
        QVERIFY(p.TerrainBit[11] && p.TerrainBit[2]);
        rig.province->toggleTerrain(4); // b
        rig.province->toggleTerrain(5); // m
        QVERIFY(p.TerrainBit[4] && !p.TerrainBit[22]);
        QVERIFY(!checked("chkTerrain4"));
        rig.province->toggleSmall();
        rig.province->toggleLarge();
        QVERIFY(!p.TerrainBit[0] && p.TerrainBit[1]);
        rig.province->toggleNoStart();
        QVERIFY(p.NoStart && p.TerrainBit[9]);
        QVERIFY(rig.get<QRadioButton>("optStart1")->isChecked()); // the start panel follows
        rig.province->toggleSiteTerrain(0);
        QVERIFY(p.TerrainBit[10]);

        rig.get<QCheckBox>("chkTerrain0")->click(); // plains
        for (int i = 1; i < 11; ++i)
            QVERIFY(!checked(qPrintable(QStringLiteral("chkTerrain%1").arg(i))));
        QVERIFY(p.TerrainPlain && !p.TerrainBit[7] && !p.TerrainBit[11]);
        QVERIFY(p.TerrainBit[1] && p.TerrainBit[10]); // size and site flags are not terrain
        QCOMPARE(rig.picture("imgTerrain0"), QStringLiteral("nostart.bmp"));

        // With no province shown the keys do nothing.
        rig.nav->NodeClick("MAP");
        rig.province->toggleTerrain(8);
        QVERIFY(!checked("chkTerrain8"));
    }

    void labTempleAndFortKeepTheirNodes() {
        Rig rig;
        rig.select(2);
        QTest::mouseClick(rig.get<QWidget>("imgTemple"), Qt::LeftButton);
        QVERIFY(rig.doc.Provinces[2].Temple);
        QCOMPARE(rig.nav->node("2 TEMPLE")->parent(), rig.nav->node("2 PROV"));
        QTest::mouseClick(rig.get<QWidget>("imgLab"), Qt::LeftButton);
        QVERIFY(rig.nav->node("2 LAB"));
        QTest::mouseClick(rig.get<QWidget>("imgTemple"), Qt::LeftButton);
        QVERIFY(!rig.doc.Provinces[2].Temple);
        QVERIFY(!rig.nav->node("2 TEMPLE"));

        QTest::mouseClick(rig.get<QWidget>("imgFort"), Qt::LeftButton);
        QCOMPARE(rig.fortToolShown, 1);
        auto* forts = rig.get<QListWidget>("lstForts");
        forts->setCurrentRow(5);
        QCOMPARE(rig.doc.Provinces[2].Fort, 5);
        QCOMPARE(rig.nav->node("2 FORT")->text(0), QStringLiteral("Fort 5"));
        QCOMPARE(rig.picture("imgFort"), QStringLiteral("fort.bmp"));
        forts->setCurrentRow(0); // "none"
        QCOMPARE(rig.doc.Provinces[2].Fort, -1);
        QVERIFY(!rig.nav->node("2 FORT"));
        QVERIFY(rig.doc.Provinces[2].SetLandFlag); // the lab is still there
    }

    void startAndOwnerAskBeforeDroppingAnOwner() {
        Rig rig;
        rig.select(2);
        rig.choose("cboOwner", rig.get<QComboBox>("cboOwner")->findData(5));
        QVERIFY(rig.get<QRadioButton>("optStart1")->isChecked());
        QCOMPARE(rig.doc.Provinces[2].Owner, 5);
        QVERIFY(rig.doc.Provinces[2].NoStart);

        rig.ui.answers = {Answer::Cancel};
        rig.get<QRadioButton>("optStart2")->click();
        QCOMPARE(rig.ui.titles(), QStringList{"Warning!"});
        QVERIFY(rig.get<QRadioButton>("optStart1")->isChecked());
        QCOMPARE(rig.doc.Provinces[2].Owner, 5);
        QVERIFY(!rig.doc.Provinces[2].Start);

        rig.ui.answers = {Answer::Ok};
        rig.get<QRadioButton>("optStart2")->click();
        QCOMPARE(rig.doc.Provinces[2].Owner, -1);
        QVERIFY(rig.doc.Provinces[2].Start && !rig.doc.Provinces[2].NoStart);
        QCOMPARE(rig.get<QComboBox>("cboOwner")->currentIndex(), 0);
    }

    void theVictoryConditionShowsItsValueOnlyWhenItNeedsOne() {
        Rig rig;
        rig.select(2);
        auto* value = rig.get<QLineEdit>("txtVictoryPoints");
        QVERIFY(!value->isVisible());
        rig.choose("cboVictoryCondition", 2); // Dominion, box empty
        QVERIFY(value->isVisible());
        QCOMPARE(value->text(), QStringLiteral("1"));
        QCOMPARE(rig.doc.VictoryConditionType, 2);
        QCOMPARE(rig.doc.VictoryConditionValue, 1);
        rig.typeAndLeave("txtVictoryPoints", "25");
        QCOMPARE(rig.doc.VictoryConditionValue, 25);
        rig.typeAndLeave("txtVictoryPoints", "32500");
        QCOMPARE(value->text(), QStringLiteral("32000"));
        QCOMPARE(rig.doc.VictoryConditionValue, 32000);
        rig.choose("cboVictoryCondition", 0);
        QVERIFY(!value->isVisible());
        QCOMPARE(value->text(), QString());
        QCOMPARE(rig.doc.VictoryConditionType, 0);
        QCOMPARE(rig.doc.VictoryConditionValue, -1);
    }

    void coloursAndBrowsersGoThroughTheUser() {
        Rig rig;
        rig.select(2);
        auto* ground = rig.get<ColourSwatch>("lblGround");
        rig.ui.colors = {Color(0x00FF00), std::nullopt};
        QTest::mouseClick(ground, Qt::LeftButton);
        const ProvinceDataType& p = rig.doc.Provinces[2];
        QCOMPARE(std::vector<int>(std::begin(p.GroundCol), std::end(p.GroundCol)),
                 (std::vector<int>{0, 255, 0}));
        QTest::mouseClick(ground, Qt::LeftButton); // cancelled
        QCOMPARE(p.GroundCol[1], 255);
        QTest::mouseClick(ground, Qt::RightButton);
        QCOMPARE(p.GroundCol[0], -1);
        QVERIFY(!ground->value());

        rig.province->mapsFolder = [] { return QStringLiteral("/g/maps/"); };
        rig.ui.files = {QStringLiteral("/g/battlemaps/arena/pit.t3m"), std::nullopt};
        rig.get<QToolButton>("cmdBrowseBattleMap")->click();
        QCOMPARE(rig.text("txtBattleMap"), QStringLiteral("./arena/pit.t3m"));
        QCOMPARE(p.BatMap, "./arena/pit.t3m");
        rig.get<QToolButton>("cmdBrowseBattleMap")->click(); // cancelled
        QCOMPARE(rig.text("txtBattleMap"), QStringLiteral("./arena/pit.t3m"));
        QCOMPARE(
            rig.ui.fileRequests.back(),
            QStringLiteral("open|Battlemap Image (*.t3m)|*.t3m|/g/battlemaps/|/g/battlemaps/arena/pit.t3m"));
        rig.ui.files = {QStringLiteral("/g/maps/sky.rgb")};
        rig.get<QToolButton>("cmdBrowseSkyBox")->click();
        QCOMPARE(p.SkyBox, "./sky.rgb");
        QVERIFY(
            rig.ui.fileRequests.back().startsWith("open|Skybox Image (*.tga;*.rgb)|*.tga;*.rgb|/g/maps/|"));
    }
};

QTEST_MAIN(ProvincePanelTest)
#include "provincepanel_test.moc"
