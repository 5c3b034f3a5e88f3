#include "templatenametools.h"

#include "fakeuserinterface.h"
#include "mapimage.h"
#include "mapview.h"
#include "navigator.h"
#include "paths.h"
#include "referencedata.h"
#include "settings.h"
#include "tempfolder.h"
#include "templates.h"
#include "toolpanel.h"

#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>
#include <QtTest>
#include <memory>

using namespace ts;

// The keys on the map and the bar tool's template buttons, over a three-province map with the
// navigator beside it: what they write, what the tree and the document look like afterwards.
class TemplateNameToolsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempFolder> mHome;
    std::unique_ptr<MapDocument> mDoc;
    std::unique_ptr<ReferenceData> mRef;
    Settings mSettings = Settings::defaults("/p");
    FakeUserInterface mUi;
    std::unique_ptr<MapImage> mImage;
    std::unique_ptr<QWidget> mArea;
    MapView* mView = nullptr;
    Navigator* mNav = nullptr;
    ToolPanel* mBar = nullptr;
    std::unique_ptr<TemplateNameTools> mTools;
    int mRecoveryWrites = 0;

    void key(int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = QString()) {
        QKeyEvent press(QEvent::KeyPress, k, modifiers, text);
        QCoreApplication::sendEvent(mView, &press);
    }
    void choose(int province) { mNav->NodeClick(std::to_string(province) + " PROV"); }

private slots:
    void init() {
        mUi = FakeUserInterface();
        mHome = std::make_unique<TempFolder>();
        QDir().mkpath(mHome->file("TSdata")); // portable: names and templates stay in the test folder
        QImage img(300, 200, QImage::Format_RGB32);
        img.fill(QColor(40, 120, 40));
        for (const QPoint p : {QPoint(100, 50), QPoint(200, 50), QPoint(100, 150)}) img.setPixelColor(p, Qt::white);
        QVERIFY(img.save(mHome->file("world.png")));
        mDoc = std::make_unique<MapDocument>();
        mRef = std::make_unique<ReferenceData>();
        mImage = std::make_unique<MapImage>();
        mDoc->MapFilePath = pathToText(mHome->file("world.map"));
        mDoc->MapFileTitle = "world.map";
        QVERIFY(mImage->load(*mDoc, "world.png", mUi));
        QCOMPARE(mDoc->ProvinceCount, 3);

        ProvinceDataType& p1 = mDoc->Provinces[1];
        p1.LandName = "Gath";
        p1.TerrainBit[7] = true;
        p1.Temple = true;
        p1.Commanders[4].UnitName = "Forest Lord";
        p1.Commanders[4].UnitIndex = 412;
        p1.CommanderCount = 1;
        p1.SiteName[0] = "Mossy Tower";
        p1.SiteIndex[0] = 11;
        mDoc->Provinces[3].TerrainBit[2] = true; // a sea

        mArea = std::make_unique<QWidget>();
        mArea->resize(800, 600);
        mView = new MapView(mArea.get(), *mDoc, mSettings, *mImage, mUi);
        mNav = new Navigator(*mDoc, *mRef, mArea.get());
        mNav->model().hooks.writeRecoveryFile = [this] { ++mRecoveryWrites; };
        mBar = new ToolPanel(mArea.get(), "fraBarTool", "Bar", "hint");
        mTools = std::make_unique<TemplateNameTools>(
            *mDoc, mUi, *mNav, *mView, *mBar,
            TemplateNameTools::Window{[this] { return mHome->path(); }, [] { return false; },
                                      [this](const QString& hint) { mUi.busy.push_back({hint, QString(), 0}); }});
        mArea->show();
        mView->zoom(0);
        mNav->BuildNavigator();
        mRecoveryWrites = 0;
    }

    void cleanup() {
        mTools.reset();
        mArea.reset();
    }

    void f2SavesF3ChoosesAndF4AppliesWithTheTreeFollowing() {
        choose(1);
        mUi.inputs = {QStringLiteral("Grove")};
        key(Qt::Key_F2);
        const QString file = joinPath(templatesFolder(mHome->path()), "Grove.ptf");
        QVERIFY(QFile::exists(file));
        auto* label = mBar->findChild<QLabel*>("lblTemplateActive");
        QVERIFY(label);
        QCOMPARE(label->text(), QStringLiteral("Grove"));
        QCOMPARE(label->toolTip(), file);
        QVERIFY(!mDoc->MapModified); // saving a template is no edit of the map

        choose(2);
        mUi.files = {QStringLiteral("Grove.ptf")};
        key(Qt::Key_F3);
        QCOMPARE(mUi.fileRequests.size(), qsizetype(1));
        key(Qt::Key_F4);
        const ProvinceDataType& p2 = mDoc->Provinces[2];
        QCOMPARE(p2.LandName, "Gath");
        QVERIFY(p2.TerrainBit[7] && p2.Temple);
        QCOMPARE(p2.Commanders[4].UnitName, "Forest Lord");
        QCOMPARE(p2.CommanderCount, 1);
        QCOMPARE(mNav->node("2 PROV")->text(0), QStringLiteral("2 Gath"));
        QCOMPARE(Navigator::keyOf(mNav->node("2 COM 4")->parent()), QStringLiteral("2 COMMANDERS"));
        QVERIFY(mNav->node("2 TEMPLE") && mNav->node("2 SITE 0"));
        QCOMPARE(p2.Commanders[4].NodeKey, "2 COM 4");
        QVERIFY(mDoc->MapModified);
        QCOMPARE(mRecoveryWrites, 1);
        QCOMPARE(mDoc->CurProvince, 2);

        // The button does what F4 does; a province with its own name keeps it.
        choose(3);
        mDoc->Provinces[3].LandName = "Deeps";
        mBar->findChild<QToolButton*>("cmdTemplateApply")->click();
        QCOMPARE(mDoc->Provinces[3].LandName, "Deeps");
        QVERIFY(mNav->node("3 COM 4"));
        QVERIFY(mUi.messages.empty());
    }

    void keysNeedTheirProvinceAndTemplateAndLeaveOtherKeysAlone() {
        choose(1);
        key(Qt::Key_F4); // no template yet
        QVERIFY(!mDoc->MapModified);
        QVERIFY(mUi.busy.back().message.startsWith(QStringLiteral("No template is active")));
        key(Qt::Key_F2, Qt::ControlModifier);
        QVERIFY(mUi.inputPrompts.empty());
        mNav->NodeClick("MAP");
        QVERIFY(mDoc->CurProvince < 1);
        key(Qt::Key_F2);
        QVERIFY(mUi.inputPrompts.empty());

        for (const char* name : {"cmdTemplateSave", "cmdTemplateSet", "cmdTemplateApply"}) {
            auto* button = mBar->findChild<QToolButton*>(name);
            QVERIFY2(button, name);
            QEvent enter(QEvent::Enter);
            QCoreApplication::sendEvent(button, &enter);
            QCOMPARE(mUi.busy.back().message, QStringLiteral("Incomplete!"));
        }
    }

    void shiftRNamesTheProvinceByItsTerrain() {
        mHome->write("TSnames/sea.nam", "ANYSEA\r\n:t\r\n1,[w]\r\n:w\r\n1,wave\r\n");
        mHome->write("TSnames/land.nam", "ANYLAND\r\n:t\r\n1,[w]\r\n:w\r\n1,field\r\n");
        mHome->write("TSnames/people.nam", "COMMANDER\r\n:t\r\n1,[w]\r\n:w\r\n1,bran\r\n");
        QStringList given;
        const auto intoRecord = mTools->setProvinceName;
        mTools->setProvinceName = [&given](const QString& name) { given << name; };
        choose(3);
        key(Qt::Key_R, Qt::ShiftModifier, QStringLiteral("R"));
        key(Qt::Key_R, Qt::NoModifier, QStringLiteral("r")); // not the name key
        choose(1);
        key(Qt::Key_R, Qt::ShiftModifier, QStringLiteral("R"));
        QCOMPARE(given, (QStringList{"Wave", "Field"}));
        QCOMPARE(mTools->randomCommanderName(), QStringLiteral("Bran"));

        // Until the panel takes the name, it goes into the record as an edit.
        mTools->setProvinceName = intoRecord;
        choose(3);
        key(Qt::Key_R, Qt::ShiftModifier, QStringLiteral("R"));
        QCOMPARE(mDoc->Provinces[3].LandName, "Wave");
        QCOMPARE(mNav->node("3 PROV")->text(0), QStringLiteral("3 Wave"));
        QVERIFY(mDoc->MapModified);

        // A damaged commander file keeps the box as it was.
        mHome->write("TSnames/people.nam", "COMMANDER\r\n:t\r\nbroken\r\n");
        QCOMPARE(mTools->randomCommanderName(QStringLiteral("Old")), QStringLiteral("Old"));
        QCOMPARE(mUi.titles(), QStringList{"RndName error!"});
    }
};

QTEST_MAIN(TemplateNameToolsTest)
#include "templatenametools_test.moc"
