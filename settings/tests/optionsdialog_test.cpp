#include "fakeuserinterface.h"
#include "optionsdialog.h"
#include "paths.h"
#include "tempfolder.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <memory>

using namespace ts;

namespace {
template <typename T> T* control(QWidget* parent, const QString& name) {
    T* c = parent->findChild<T*>(name);
    if (!c) qFatal("no control %s", qPrintable(name));
    return c;
}

// The colour buttons and labels, and the sizes with their upper bounds (the lower one is 1).
const std::pair<const char*, std::int32_t Settings::*> kColors[] = {
    {"cmdBaseCenter", &Settings::ColorBaseCenter},
    {"cmdBaseRing", &Settings::ColorBaseRing},
    {"cmdBaseNeighbor", &Settings::ColorBaseNeighbor},
    {"cmdSelectedCenter", &Settings::ColorSelectedCenter},
    {"cmdSelectedRing", &Settings::ColorSelectedRing},
    {"cmdSelectedNeighbor", &Settings::ColorSelectedNeighbor},
    {"lblColorVisited", &Settings::ColorVisited},
    {"lblColorStarts", &Settings::ColorStarts},
    {"lblColorNoStarts", &Settings::ColorNoStarts},
    {"lblColorVictoryPoints", &Settings::ColorVictoryPoints}};
const std::tuple<const char*, std::int16_t Settings::*, int> kSizes[] = {
    {"RingWidth", &Settings::RingWidth, 10},
    {"RingRadius", &Settings::RingRadius, 50},
    {"NeighborWidth", &Settings::NeighborWidth, 10},
    {"SelectionBlock", &Settings::SelectionBlock, 50}};

} // namespace

class OptionsDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempFolder> mProgram;
    std::unique_ptr<FakeUserInterface> mUi;
    Settings mLive;
    std::unique_ptr<OptionsDialog> mDialog;

    template <typename T> T* find(const char* name) {
        return control<T>(mDialog.get(), QString::fromLatin1(name));
    }
    void click(const char* name) { find<QPushButton>(name)->click(); }
    void open() {
        mDialog = std::make_unique<OptionsDialog>(mLive, mProgram->path(), *mUi);
        mDialog->show();
    }

  private slots:
    void init() {
        mProgram = std::make_unique<TempFolder>();
        mProgram->makePortable();
        mUi = std::make_unique<FakeUserInterface>();
        mLive = Settings::defaults(mProgram->path());
        open();
    }
    void cleanup() { mDialog.reset(); }

    void sizesStepWithinTheirBoundsAndColoursComeFromTheColourDialog() {
        for (const auto& [name, field, maximum] : kSizes) {
            const QString n = QString::fromLatin1(name);
            for (const auto& [start, button, end] :
                 {std::tuple{2, "Minus", 1}, std::tuple{maximum - 1, "Plus", maximum}}) {
                mLive.*field = static_cast<std::int16_t>(start);
                mDialog->reload();
                for (int i = 0; i < 2; ++i)
                    find<QPushButton>(qPrintable("cmd" + n + button))->click();
                QCOMPARE(int(mDialog->edited().*field), end);
                QCOMPARE(find<QLabel>(qPrintable("lbl" + n))->text(), QString::number(end));
                QCOMPARE(int(mLive.*field), start);
            }
        }
        for (const auto& [name, field] : kColors) {
            const std::int32_t before = mDialog->edited().*field;
            // A cancelled colour dialog keeps the colour.
            for (const std::optional<Color> answer :
                 {std::optional<Color>(), std::optional<Color>(0x123456)}) {
                mUi->colors.push_back(answer);
                QWidget* w = find<QWidget>(name);
                if (auto* b = qobject_cast<QPushButton*>(w))
                    b->click();
                else
                    QTest::mouseClick(w, Qt::LeftButton);
                QVERIFY2(mDialog->edited().*field == (answer ? 0x123456 : before), name);
            }
        }
        QVERIFY(mUi->colors.empty());
    }

    void markerDefaultLeavesThePathsAndThePreviewChoice() {
        // Every marker value away from its default, so a reset is visible in each of them.
        mLive.MapsDirectory = "/my/maps/";
        for (const auto& [name, field] : kColors)
            mLive.*field = 0x010203;
        for (const auto& [name, field, maximum] : kSizes)
            mLive.*field = 7;
        mLive.MarkOwners = mLive.FlashSelection = 0;
        open();
        find<QCheckBox>("chkSelected")->setChecked(false);
        click("cmdDefaultMarkers");

        Settings expected = Settings::defaults(mProgram->path());
        expected.MapsDirectory = "/my/maps/";
        QVERIFY(mDialog->edited() == expected);
        QCOMPARE(find<QLabel>("lblRingRadius")->text(), QString("5"));
        QVERIFY(!find<QCheckBox>("chkSelected")->isChecked());
    }

    void browseAndDefaultForTheFolders() {
        auto* maps = find<QLineEdit>("txtMapsDirectory");
        auto* background = find<QLineEdit>("txtBackgroundImage");
        mUi->files = {QString("/games/thraxis3/maps/world.map"), std::nullopt, QString("/pics/new.gif")};
        click("cmdBrowseMaps");
        click("cmdBrowseMaps"); // cancelled: the folder stays
        QCOMPARE(maps->text(), QString("/games/thraxis3/maps/"));
        click("cmdDefaultMaps");
        QCOMPARE(maps->text(), Settings::defaultMapsDirectory());
        click("cmdBrowseBackground");
        QCOMPARE(background->text(), QString("/pics/new.gif"));
        click("cmdDefaultBackground");
        QCOMPARE(background->text(), joinPath(mProgram->path(), "TSicons", "Tessary.jpg"));
    }

    void okStoresWritesAndTellsTheWindowAndCancelChangesNothing() {
        for (const char* button : {"cmdCancel", "cmdOk"}) {
            const Settings before = mLive;
            QSignalSpy spy(mDialog.get(), &OptionsDialog::applied);
            mUi->files.push_back(QString("/srv/maps/a.map"));
            click("cmdBrowseMaps");
            find<QLineEdit>("txtBackgroundImage")->setText("/pics/b.bmp");
            click("cmdRingRadiusPlus");
            find<QCheckBox>("chkMarkStarts")->click();
            find<QCheckBox>("chkKeepUnknown")->click();
            mUi->colors.push_back(Color(0x00FF00));
            click("cmdSelectedRing");
            click(button);
            QVERIFY(!mDialog->isVisible());
            if (button == std::string_view("cmdCancel")) {
                QVERIFY(mLive == before);
                QVERIFY(!QFile::exists(configurationPath(mProgram->path())));
                QCOMPARE(spy.count(), 0);
                open();
                continue;
            }
            Settings expected = before;
            expected.MapsDirectory = "/srv/maps/";
            expected.BackgroundImage = "/pics/b.bmp";
            expected.RingRadius = 6;
            expected.MarkStarts = 0;
            expected.ColorSelectedRing = 0x00FF00;
            expected.KeepUnknown = false;
            QVERIFY(mLive == expected);
            QCOMPARE(mProgram->read("Tessary.cfg"), formatConfiguration(expected));
            QCOMPARE(mProgram->read("Tessary.more"), std::string("KeepUnknown=0\r\n"));
            QCOMPARE(spy.count(), 1);
            QVERIFY(spy[0][0].value<Settings>() == before && spy[0][1].value<Settings>() == expected);
        }
    }

    void thePreviewFlashesOnItsTimerOnlyWhileFlashingIsOn() {
        auto* timer = mDialog->findChild<QTimer*>("tmrPreview");
        QVERIFY(timer && timer->isActive());
        QTRY_VERIFY_WITH_TIMEOUT(!mDialog->previewShowsSelection(), 2000);
        QTRY_VERIFY_WITH_TIMEOUT(mDialog->previewShowsSelection(), 2000);
        find<QCheckBox>("chkFlashSelection")->click();
        QVERIFY(!timer->isActive());
        mDialog->hide();

        mLive.FlashSelection = 0;
        mDialog->show();
        QVERIFY(!timer->isActive());
        click("cmdDefaultMarkers");
        QVERIFY(timer->isActive());
    }
};

QTEST_MAIN(OptionsDialogTest)
#include "optionsdialog_test.moc"
