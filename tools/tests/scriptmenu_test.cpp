#include "fakeuserinterface.h"
#include "scriptmenu.h"
#include "tempfolder.h"

#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

using namespace ts;

class ScriptMenuTest : public QObject {
    Q_OBJECT

  private slots:
    void listsTitlesSelectsTheFirstAndRunsTheChosenScript() {
        TempFolder home;
        home.makePortable();
        home.write("TSscripts/a.tss", ":TOOL\nFirst\n");
        home.write("TSscripts/b.tss", ":TOOL\nSecond\n");
        FakeUserInterface ui;
        ScriptMenu menu(home.path(), ui);
        QStringList ran;
        menu.runScript = [&](const QString& path) {
            // The buttons are off while the script runs.
            QVERIFY(!menu.findChild<QPushButton*>("cmdRun")->isEnabled());
            ran << path;
        };
        menu.fill(266);
        auto* list = menu.findChild<QListWidget*>("lstScripts");
        auto* progress = menu.findChild<QProgressBar*>("pbScript");
        QVERIFY(list && progress);
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->item(1)->text(), QStringLiteral("Second"));
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(progress->maximum(), 266);
        QCOMPARE(progress->value(), 0);

        list->setCurrentRow(1);
        menu.show();
        QTest::mouseClick(menu.findChild<QPushButton*>("cmdRun"), Qt::LeftButton);
        QCOMPARE(ran, QStringList{home.file("TSscripts/b.tss")});
        QCOMPARE(menu.result(), int(QDialog::Accepted));
        QVERIFY(!menu.isVisible());
    }

    void cancelRunsNothing() {
        TempFolder home;
        home.makePortable();
        home.write("TSscripts/a.tss", ":TOOL\nFirst\n");
        FakeUserInterface ui;
        ScriptMenu menu(home.path(), ui);
        bool ran = false;
        menu.runScript = [&](const QString&) { ran = true; };
        menu.fill(3);
        menu.show();
        QTest::mouseClick(menu.findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
        QVERIFY(!ran);
        QCOMPARE(menu.result(), int(QDialog::Rejected));
    }

    void anEmptyListRunsNothing() {
        TempFolder home;
        home.makePortable();
        FakeUserInterface ui;
        ScriptMenu menu(home.path(), ui);
        bool ran = false;
        menu.runScript = [&](const QString&) { ran = true; };
        menu.fill(3);
        QCOMPARE(ui.titles(), QStringList{"Error Loading Scripts"});
        QTest::mouseClick(menu.findChild<QPushButton*>("cmdRun"), Qt::LeftButton);
        QVERIFY(!ran);
    }
};

QTEST_MAIN(ScriptMenuTest)
#include "scriptmenu_test.moc"
