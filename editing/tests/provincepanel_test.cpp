#include <QtTest>
class ProvincePanelTest : public QObject {
    Q_OBJECT
};
QTEST_MAIN(ProvincePanelTest)
#include "provincepanel_test.moc"
