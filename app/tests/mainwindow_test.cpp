#include "busybox.h"
#include "fakeuserinterface.h"
#include "helpwindow.h"
#include "mainwindow.h"
#include "refdatafixture.h"
#include "referencelists.h"
#include "statuspanels.h"

#include <QAction>
#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QtTest>

using namespace ts;

class MainWindowTest : public QObject {
    Q_OBJECT

public slots:
    // Stands in for the desktop's browser.
    void openUrl(const QUrl& url) { mOpened << url; }

private slots:
    void startUpEndsAwaitingTheMasterWithTheBusyBoxHidden() {
        TempFolder home;
        writeMinimalTables(home);
        MainWindow w;
        w.show();
        QVERIFY(w.startUp(home.path()));
        QCOMPARE(w.windowTitle(), QStringLiteral("Tessary: Awaiting the master..."));
        QVERIFY(!w.findChild<QLabel*>("lblBusy")->isVisible());
        QVERIFY(!w.startingUp());
        QCOMPARE(w.referenceLists().forts.size(), size_t{44});
        // What only a map shows is made with the first map.
        for (const char* panel : {"txtThx2Title", "txtCommanderName", "txtLandName", "frmHelp"})
            QVERIFY2(!w.findChild<QWidget*>(panel), panel);
    }

    void statusBarHasTheSixKeyedPanelsInOrder() {
        MainWindow w;
        const QStringList keys = {"MAPSIZE", "CURPOS", "PROVNUM", "PROVNAME", "NATION", "MESSAGE"};
        QList<QLabel*> labels;
        for (const QString& k : keys) {
            auto* l = w.statusBar()->findChild<QLabel*>(k);
            QVERIFY2(l, qPrintable(k));
            labels << l;
        }
        QCOMPARE(labels[0]->text(), QStringLiteral("Map Size (Pixels)"));
        QCOMPARE(labels[1]->toolTip(), QStringLiteral("Cursor position (scales with zoom level)"));
        QCOMPARE(labels[4]->text(), QStringLiteral("Nation specstart/owner"));
        QCOMPARE(labels[5]->toolTip(), QStringLiteral("Message ( tool help, etc)"));
        w.show();
        for (int i = 1; i < labels.size(); ++i) QVERIFY(labels[i - 1]->x() < labels[i]->x());
        w.setStatus("PROVNUM", "17");
        QCOMPARE(labels[2]->text(), QStringLiteral("17"));
    }

    void menusNeedingAMapAreDisabledUntilOneIsOpen() {
        MainWindow w;
        auto enabled = [&](const char* name) {
            auto* a = w.findChild<QAction*>(name);
            if (!a) qFatal("missing menu item %s", name);
            return a->isEnabled();
        };
        for (const char* name : {"mnuNew", "mnuOpen", "mnuOptions", "mnuCodeEditOther", "mnuShortcuts"})
            QVERIFY2(enabled(name), name);
        for (const char* name : {"mnuSave", "mnuSaveAs", "mnuView", "mnuMark", "mnuTools", "mnuCodeViewCurrent",
                                 "mnuCodeEditOriginal"})
            QVERIFY2(!enabled(name), name);
        w.enableMapMenus(true);
        QVERIFY(enabled("mnuSave"));
        QVERIFY(enabled("mnuMark"));

        QCOMPARE(w.findChild<QAction*>("mnuMarkProvince")->shortcut(), QKeySequence(Qt::Key_F9));
        QCOMPARE(w.findChild<QAction*>("mnuNavigator")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_G));
        int checked = 0;
        for (int i = 0; i < 4; ++i)
            checked += w.findChild<QAction*>(QStringLiteral("mnuZoomPercent%1").arg(i))->isChecked() ? 1 : 0;
        QCOMPARE(checked, 1);
        QVERIFY(w.findChild<QAction*>("mnuZoomPercent0")->isChecked());
    }

    void busyMessageIsCentredColouredAndAnEmptyTextOnlySetsTheCaption() {
        MainWindow w;
        w.resize(1000, 700);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.busyMessage("Gathering the armies...", "Tessary: GATHERING THE ARMIES...", 255);
        auto* box = w.findChild<QLabel*>("lblBusy");
        QVERIFY(box->isVisible());
        QCOMPARE(box->text(), QStringLiteral("Gathering the armies..."));
        QCOMPARE(box->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        const QWidget* area = box->parentWidget();
        QVERIFY(qAbs(box->geometry().center().x() - area->width() / 2) <= 1);
        QVERIFY(qAbs(box->geometry().center().y() - area->height() / 2) <= 1);
        // Messages quicker than the box repaints wait; the last one is shown all the same.
        w.busyMessage("Line 1", "Tessary: GATHERING THE ARMIES...", 255);
        w.busyMessage("Line 2", "Tessary: GATHERING THE ARMIES...", 255);
        QTRY_COMPARE(box->text(), QStringLiteral("Line 2"));
        w.busyMessage("", "Tessary: Awaiting the master...", 255);
        QVERIFY(!box->isVisible());
        QCOMPARE(w.windowTitle(), QStringLiteral("Tessary: Awaiting the master..."));
    }

    void localHelpOpensTheManualBesideTheProgramOrSaysItIsMissing() {
        TempFolder home;
        writeMinimalTables(home);
        MainWindow w;
        QVERIFY(w.startUp(home.path()));
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openUrl");
        FakeUserInterface ui;
        openManual(home.path(), ui);
        QVERIFY(mOpened.isEmpty());
        QCOMPARE(ui.titles(), QStringList{QStringLiteral("Local Help")});
        QVERIFY(ui.messages[0].text.contains(home.file(QStringLiteral("doc/manual.html"))));

        home.write(QStringLiteral("doc/manual.html"), "<html></html>");
        w.findChild<QAction*>("mnuLocalHelp")->trigger();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(mOpened, QList<QUrl>{QUrl::fromLocalFile(home.file(QStringLiteral("doc/manual.html")))});
    }

    void dialogFiltersBecomeTheToolkitsForm() {
        QCOMPARE(toDialogFilter("Map Image Files (*.tga;*.rgb)|*.tga;*.rgb"),
                 QStringLiteral("Map Image Files (*.tga *.rgb)"));
        QCOMPARE(toDialogFilter("Map Files (*.map)|*.map"), QStringLiteral("Map Files (*.map)"));
    }

private:
    QList<QUrl> mOpened;
};

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
