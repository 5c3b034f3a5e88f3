// Tools > Map Report on the sample map: the starts, their charts, a start chosen from the table and
// from its bar, and the shares shaded on the map. The picture of the window taken on the way is
// what scripts/screenshots keeps.
#include "editorfixture.h"
#include "mapimage.h"
#include "mapreportwindow.h"
#include "regionoverlay.h"

#include <QAction>
#include <QBarSeries>
#include <QBarSet>
#include <QChartView>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

using namespace ts;

class MapReportEndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void startsAreChosenAndTheirSharesShaded() {
        Editor editor;
        QVERIFY(editor.open());
        MainWindow* w = editor.w.get();
        MapDocument& doc = w->document();
        // Export Picture asks the scale first and shows the size it gives; cancelled, nothing more is asked.
        auto* exportItem = w->findChild<QAction*>("mnuExportPicture");
        QCOMPARE(exportItem->text(), QStringLiteral("Export Picture..."));
        QStringList sizes;
        QTimer::singleShot(0, [&sizes] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog || dialog->objectName() != QLatin1String("frmExportPicture")) return;
            auto* size = dialog->findChild<QLabel*>("lblSize");
            sizes << size->text();
            dialog->findChild<QDoubleSpinBox*>("spnScale")->setValue(0.25);
            sizes << size->text();
            QTest::mouseClick(dialog->findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
        });
        exportItem->trigger();
        QCOMPARE(sizes, (QStringList{QStringLiteral("1600 x 1200 pixels"), QStringLiteral("400 x 300 pixels")}));

        auto* item = w->findChild<QAction*>("mnuMapReport");
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("Map Report"));
        item->trigger();
        auto* report = w->findChild<MapReportWindow*>("frmMapReport");
        QVERIFY(report && report->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(report));
        const MapReport& r = report->report();
        auto* starts = report->findChild<QTableWidget*>("lstStarts");
        QCOMPARE(starts->rowCount(), static_cast<int>(r.starts.size()));
        QVERIFY(r.starts.size() >= 2);
        auto* charts = report->findChild<QTabWidget*>("tabCharts");
        QCOMPARE(charts->count(), 6);

        // A start from the table, then one from its bar in the shares chart.
        const int row = 3;
        QTest::mouseClick(starts->viewport(), Qt::LeftButton, {}, starts->visualItemRect(starts->item(row, 0)).center());
        QCOMPARE(int(doc.CurProvince), r.starts[row].province);
        auto* shares = report->findChild<QChartView*>("chart_shares");
        QVERIFY(shares);
        auto* series = qobject_cast<QBarSeries*>(shares->chart()->series().value(0));
        QVERIFY(series);
        emit series->barSets().value(0)->clicked(1);
        QCOMPARE(int(doc.CurProvince), r.starts[1].province);

        // The shading is the report's partition: each start's own cell has its colour.
        auto* showShares = report->findChild<QCheckBox*>("chkShowShares");
        QCOMPARE(showShares->text(), QStringLiteral("Show Shares"));
        showShares->setChecked(true);
        auto* overlay = w->findChild<RegionOverlay*>("picSharesOverlay");
        QVERIFY(overlay && overlay->isVisible() && overlay->hasRegions());
        const QImage& cells = overlay->regions();
        const double cellSize = w->mapImage().source().width() / double(cells.width());
        for (std::size_t k = 0; k < r.starts.size(); ++k) {
            const ProvinceDataType& p = doc.Provinces[r.starts[k].province];
            const QRgb cell = cells.pixel(int(p.ProvinceX / cellSize), int(p.ProvinceY / cellSize));
            const Color c = ShareColor(int(k));
            QCOMPARE(QColor(cell).rgb() & 0xFFFFFF, qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int(c >> 16)) & 0xFFFFFF);
        }
        charts->setCurrentIndex(3);
        shoot(*report, "tessary-map-report.png");

        report->close();
        QVERIFY(!overlay->isVisible());
    }
};

QTEST_MAIN(MapReportEndToEndTest)
#include "mapreport_endtoend_test.moc"
