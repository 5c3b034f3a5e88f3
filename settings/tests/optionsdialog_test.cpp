#include "fakeuserinterface.h"
#include "firstrun.h"
#include "markers.h"
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

struct ColorField {
    const char* name;
    std::int32_t Settings::*field;
};
const ColorField kColors[] = {
    {"cmdBaseCenter", &Settings::ColorBaseCenter},
    {"cmdBaseRing", &Settings::ColorBaseRing},
    {"cmdBaseNeighbor", &Settings::ColorBaseNeighbor},
    {"cmdSelectedCenter", &Settings::ColorSelectedCenter},
    {"cmdSelectedRing", &Settings::ColorSelectedRing},
    {"cmdSelectedNeighbor", &Settings::ColorSelectedNeighbor},
    {"lblColorVisited", &Settings::ColorVisited},
    {"lblColorStarts", &Settings::ColorStarts},
    {"lblColorNoStarts", &Settings::ColorNoStarts},
    {"lblColorVictoryPoints", &Settings::ColorVictoryPoints},
};

struct SwitchField {
    const char* name;
    std::int16_t Settings::*field;
};
const SwitchField kSwitches[] = {
    {"chkFlashSelection", &Settings::FlashSelection},
    {"chkShowNeighbors", &Settings::ShowNeighbors},
    {"chkMarkVisited", &Settings::MarkVisited},
    {"chkCenterOnSelection", &Settings::CenterOnSelection},
    {"chkMarkStarts", &Settings::MarkStarts},
    {"chkMarkNoStarts", &Settings::MarkNoStarts},
    {"chkMarkSpecialStarts", &Settings::MarkSpecialStarts},
    {"chkMarkOwners", &Settings::MarkOwners},
    {"chkMarkVictoryPoints", &Settings::MarkVictoryPoints},
};

struct SizeField {
    const char* name;
    std::int16_t Settings::*field;
    int maximum;
};
const SizeField kSizes[] = {
    {"RingWidth", &Settings::RingWidth, 10},
    {"RingRadius", &Settings::RingRadius, 50},
    {"NeighborWidth", &Settings::NeighborWidth, 10},
    {"SelectionBlock", &Settings::SelectionBlock, 50},
};

// Every marker value away from its default, so a reset is visible in each of them.
void scramble(Settings& s) {
    for (const auto& c : kColors)
        s.*c.field = 0x010203;
    for (const auto& c : kSwitches)
        s.*c.field = s.*c.field ? 0 : 1;
    for (const auto& c : kSizes)
        s.*c.field = 7;
}

bool near(const QImage& image, QPoint at, Color expected) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (image.pixelColor(at + QPoint(dx, dy)) == toQColor(expected)) return true;
    return false;
}
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
        mUi = std::make_unique<FakeUserInterface>();
        mLive = Settings::defaults(mProgram->path());
        open();
    }
    void cleanup() { mDialog.reset(); }

    void sizesStepWithinTheirBounds() {
        for (const auto& c : kSizes) {
            const QString name = QString::fromLatin1(c.name);
            auto* minus = find<QPushButton>(qPrintable("cmd" + name + "Minus"));
            auto* plus = find<QPushButton>(qPrintable("cmd" + name + "Plus"));
            auto* value = find<QLabel>(qPrintable("lbl" + name));

            mLive.*c.field = 2;
            mDialog->reload();
            minus->click();
            QCOMPARE(mDialog->edited().*c.field, std::int16_t(1));
            minus->click();
            QCOMPARE(mDialog->edited().*c.field, std::int16_t(1));
            QCOMPARE(value->text(), QString("1"));

            mLive.*c.field = static_cast<std::int16_t>(c.maximum - 1);
            mDialog->reload();
            plus->click();
            plus->click();
            QCOMPARE(int(mDialog->edited().*c.field), c.maximum);
            QCOMPARE(value->text(), QString::number(c.maximum));
            QCOMPARE(mLive.*c.field, std::int16_t(c.maximum - 1));
        }
    }

    void coloursComeFromTheColourDialog() {
        for (const auto& c : kColors) {
            const std::int32_t before = mDialog->edited().*c.field;
            mUi->colors.push_back(std::nullopt);
            QWidget* w = find<QWidget>(c.name);
            if (auto* b = qobject_cast<QPushButton*>(w))
                b->click();
            else
                QTest::mouseClick(w, Qt::LeftButton);
            QVERIFY2(mDialog->edited().*c.field == before, c.name);

            mUi->colors.push_back(Color(0x123456));
            if (auto* b = qobject_cast<QPushButton*>(w))
                b->click();
            else
                QTest::mouseClick(w, Qt::LeftButton);
            QVERIFY2(mDialog->edited().*c.field == 0x123456, c.name);
        }
        QVERIFY(mUi->colors.empty());
    }

    void checkBoxesSwitchTheirValues() {
        for (const auto& c : kSwitches) {
            auto* box = find<QCheckBox>(c.name);
            QCOMPARE(box->isChecked(), mLive.*c.field == 1);
            box->click();
            QVERIFY2(mDialog->edited().*c.field == (mLive.*c.field ? 0 : 1), c.name);
        }
        // Selected only changes the preview.
        const Settings before = mDialog->edited();
        const bool shown = mDialog->previewShowsSelection();
        find<QCheckBox>("chkSelected")->click();
        QCOMPARE(mDialog->previewShowsSelection(), !shown);
        QVERIFY(mDialog->edited() == before);
    }

    void markerDefaultLeavesThePathsAndThePreviewChoice() {
        mLive.MapsDirectory = "/my/maps/";
        scramble(mLive);
        open();
        find<QCheckBox>("chkSelected")->setChecked(false);
        click("cmdDefaultMarkers");

        Settings expected = Settings::defaults(mProgram->path());
        expected.MapsDirectory = "/my/maps/";
        QVERIFY(mDialog->edited() == expected);
        QCOMPARE(find<QLabel>("lblRingRadius")->text(), QString("5"));
        QVERIFY(find<QCheckBox>("chkMarkOwners")->isChecked());
        QVERIFY(!find<QCheckBox>("chkMarkVisited")->isChecked());
        QVERIFY(!find<QCheckBox>("chkSelected")->isChecked());
        QCOMPARE(find<QLineEdit>("txtMapsDirectory")->text(), QString("/my/maps/"));
    }

    void browseAndDefaultForTheFolders() {
        auto* maps = find<QLineEdit>("txtMapsDirectory");
        auto* background = find<QLineEdit>("txtBackgroundImage");
        maps->setText("/start/here/");
        background->setText("/pics/old.jpg");

        mUi->files.push_back(QString("/games/thraxis3/maps/world.map"));
        click("cmdBrowseMaps");
        QCOMPARE(maps->text(), QString("/games/thraxis3/maps/"));
        mUi->files.push_back(std::nullopt);
        click("cmdBrowseMaps");
        QCOMPARE(maps->text(), QString("/games/thraxis3/maps/"));
        click("cmdDefaultMaps");
        QCOMPARE(maps->text(), Settings::defaultMapsDirectory());

        mUi->files.push_back(QString("/pics/new.gif"));
        click("cmdBrowseBackground");
        QCOMPARE(background->text(), QString("/pics/new.gif"));
        click("cmdDefaultBackground");
        QCOMPARE(background->text(), joinPath(mProgram->path(), "TSicons", "Tessary.jpg"));

        QCOMPARE(mUi->fileRequests,
                 std::vector<QString>({"open|Map Files Directory (*.map)|*.map|/start/here/|",
                                       "open|Map Files Directory (*.map)|*.map|/games/thraxis3/maps/|",
                                       "open|Background Image (*.jpg;*.bmp;*.gif)|*.jpg;*.bmp;*.gif|/pics|"
                                       "/pics/old.jpg"}));
    }

    void okStoresWritesAndTellsTheWindow() {
        mLive.TerrainToolLeft = 123.5f;
        mLive.NavigatorVisible = false;
        open();
        const Settings before = mLive;
        QSignalSpy spy(mDialog.get(), &OptionsDialog::applied);
        Settings seenBefore, seenAfter;
        connect(mDialog.get(), &OptionsDialog::applied, this, [&](const Settings& b, const Settings& a) {
            seenBefore = b;
            seenAfter = a;
        });

        mUi->files.push_back(QString("/srv/maps/a.map"));
        click("cmdBrowseMaps");
        find<QLineEdit>("txtBackgroundImage")->setText("/pics/b.bmp");
        click("cmdRingRadiusPlus");
        find<QCheckBox>("chkMarkStarts")->click();
        mUi->colors.push_back(Color(0x00FF00));
        click("cmdSelectedRing");
        click("cmdOk");

        QCOMPARE(mDialog->objectName(), QString("frmOptions"));
        Settings expected = before;
        expected.MapsDirectory = "/srv/maps/";
        expected.BackgroundImage = "/pics/b.bmp";
        expected.RingRadius = 6;
        expected.MarkStarts = 0;
        expected.ColorSelectedRing = 0x00FF00;
        QVERIFY(mLive == expected);
        QCOMPARE(mProgram->read("Tessary.cfg"), formatConfiguration(expected));
        QCOMPARE(spy.count(), 1);
        QVERIFY(seenBefore == before);
        QVERIFY(seenAfter == expected);
        QCOMPARE(mDialog->result(), int(QDialog::Accepted));
        QVERIFY(!mDialog->isVisible());
        QVERIFY(mUi->messages.empty());
    }

    void cancelChangesNothingAndReopeningShowsTheLiveValues() {
        const Settings before = mLive;
        QSignalSpy spy(mDialog.get(), &OptionsDialog::applied);
        click("cmdRingWidthPlus");
        find<QCheckBox>("chkMarkOwners")->click();
        find<QLineEdit>("txtMapsDirectory")->setText("/nowhere/");
        click("cmdCancel");
        QVERIFY(mLive == before);
        QVERIFY(!QFile::exists(configurationPath(mProgram->path())));
        QCOMPARE(spy.count(), 0);
        QCOMPARE(mDialog->result(), int(QDialog::Rejected));

        // The Mark menu changes the live switches while the dialog is closed.
        mLive.MarkStarts = 0;
        mDialog->show();
        QCOMPARE(find<QLabel>("lblRingWidth")->text(), QString("2"));
        QVERIFY(find<QCheckBox>("chkMarkOwners")->isChecked());
        QVERIFY(!find<QCheckBox>("chkMarkStarts")->isChecked());
        QCOMPARE(find<QLineEdit>("txtMapsDirectory")->text(), before.MapsDirectory);
    }

    void thePreviewFlashesOnItsTimerOnlyWhileFlashingIsOn() {
        auto* timer = mDialog->findChild<QTimer*>("tmrPreview");
        QVERIFY(timer);
        QVERIFY(timer->isActive());
        QVERIFY(mDialog->previewShowsSelection());
        QTRY_VERIFY_WITH_TIMEOUT(!mDialog->previewShowsSelection(), 2000);
        QTRY_VERIFY_WITH_TIMEOUT(mDialog->previewShowsSelection(), 2000);
        find<QCheckBox>("chkFlashSelection")->click();
        QVERIFY(!timer->isActive());
        find<QCheckBox>("chkFlashSelection")->click();
        QVERIFY(timer->isActive());
        mDialog->hide();
        QVERIFY(!timer->isActive());

        mLive.FlashSelection = 0;
        mDialog->show();
        QVERIFY(!timer->isActive());
        click("cmdDefaultMarkers");
        QVERIFY(timer->isActive());
    }

    void thePreviewDrawsTheCurrentLook() {
        mLive.ColorBaseCenter = 0x0000FF;
        mLive.ColorSelectedCenter = 0xFF0000;
        mLive.ColorBaseNeighbor = 0x00FFFF;
        mLive.ColorSelectedNeighbor = 0xFFFF00;
        mLive.FlashSelection = 0;
        open();
        const QImage first = mDialog->previewImage();
        const QPoint centre(first.width() / 2, first.height() / 2);
        const QPoint neighbour(24, 22);
        const QPoint onLine = (centre + neighbour) / 2;
        const QPoint besideMarker = centre + QPoint(0, 12);

        QVERIFY(near(first, centre, 0xFF0000));
        QVERIFY(near(first, onLine, 0xFFFF00));
        QVERIFY(!near(first, besideMarker, 0xFF0000));

        find<QCheckBox>("chkSelected")->click();
        QImage image = mDialog->previewImage();
        QVERIFY(near(image, centre, 0x0000FF));
        QVERIFY(near(image, onLine, 0x00FFFF));

        find<QCheckBox>("chkShowNeighbors")->click();
        image = mDialog->previewImage();
        QVERIFY(!near(image, onLine, 0x00FFFF));

        for (int i = 0; i < 10; ++i)
            click("cmdRingRadiusPlus");
        image = mDialog->previewImage();
        QVERIFY(image.pixelColor(besideMarker) == toQColor(0x0000FF));
    }

    void theFirstRunOpensOptionsAndOkWritesTheDefaults() {
        mDialog.reset();
        Settings s = Settings::defaults("/elsewhere");
        s.RingWidth = 9;
        s.MarkOwners = 0;
        int shown = 0;
        const bool found = LoadOrWelcome(s, mProgram->path(), *mUi, [&] {
            OptionsDialog dialog(s, mProgram->path(), *mUi);
            QTimer::singleShot(0, &dialog, [&] {
                ++shown;
                QCOMPARE(control<QLabel>(&dialog, "lblRingWidth")->text(), QString("2"));
                control<QPushButton>(&dialog, "cmdOk")->click();
            });
            dialog.exec();
        });
        QVERIFY(!found);
        QCOMPARE(shown, 1);
        QCOMPARE(mUi->titles(), QStringList{"Welcome to Tessary!"});

        Settings back = Settings::defaults("/elsewhere");
        back.RingWidth = 9;
        QVERIFY(ReadConfiguration(back, configurationPath(mProgram->path()), *mUi));
        QVERIFY(back == Settings::defaults(mProgram->path()));
    }
};

QTEST_MAIN(OptionsDialogTest)
#include "optionsdialog_test.moc"
