#include <QtTest>
class HeaderPanelsTest : public QObject { Q_OBJECT };
QTEST_MAIN(HeaderPanelsTest)
#include "headerpanels_test.moc"
