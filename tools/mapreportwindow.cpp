#include "mapreportwindow.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>

namespace ts {

namespace {

QColor color(Color c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

QString summaryText(const MapReport& r) {
    QStringList degrees;
    for (std::size_t d = 0; d < r.degreeCount.size(); ++d)
        if (r.degreeCount[d] > 0) degrees << QStringLiteral("%1: %2").arg(d).arg(r.degreeCount[d]);
    return QStringLiteral("%1 provinces%2: land %3, sea %4, deep sea %5; %6 sites in %7 provinces, %8 forts.\n"
                          "Neighbour graph: %9 island(s), %10 province(s) with no link, diameter %11 steps.\n"
                          "%12 starts, fairness %13% (smallest share over the largest); %14 provinces as near to two "
                          "starts or more, %15 reached by none.")
        .arg(r.provinces)
        .arg(r.located ? QString() : QStringLiteral(" (no picture: those the file describes)"))
        .arg(r.land)
        .arg(r.sea)
        .arg(r.deepSea)
        .arg(r.sites)
        .arg(r.siteProvinces)
        .arg(r.forts)
        .arg(r.islandSizes.size())
        .arg(r.isolated.size())
        .arg(r.diameter)
        .arg(r.starts.size())
        .arg(qRound(r.fairness * 100))
        .arg(r.tied)
        .arg(r.unreached);
}

} // namespace

MapReportWindow::MapReportWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmMapReport"));
    setWindowTitle(QStringLiteral("Map Report"));
    mSummary = new QLabel(this);
    mSummary->setObjectName(QStringLiteral("lblSummary"));
    mSummary->setWordWrap(true);
    mSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);

    mStarts = new QTableWidget(this);
    mStarts->setObjectName(QStringLiteral("lstStarts"));
    mStarts->setColumnCount(9);
    mStarts->setHorizontalHeaderLabels({QStringLiteral("Start"), QStringLiteral("Nearest start"), QStringLiteral("Within 1"),
                                        QStringLiteral("Within 2"), QStringLiteral("Within 3"), QStringLiteral("Sea within 2"),
                                        QStringLiteral("Coast within 2"), QStringLiteral("Share"), QStringLiteral("Flags")});
    mStarts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mStarts->setSelectionBehavior(QAbstractItemView::SelectRows);
    mStarts->setSelectionMode(QAbstractItemView::SingleSelection);
    mStarts->verticalHeader()->hide();
    mStarts->horizontalHeader()->setStretchLastSection(true);

    mCharts = new QTabWidget(this);
    mCharts->setObjectName(QStringLiteral("tabCharts"));

    mShowShares = new QCheckBox(QStringLiteral("Show Shares"), this);
    mShowShares->setObjectName(QStringLiteral("chkShowShares"));
    mShowShares->setToolTip(QStringLiteral("Shade the map by the start each province is nearest to"));
    auto* refreshButton = new QPushButton(QStringLiteral("Refresh"), this);
    refreshButton->setObjectName(QStringLiteral("cmdRefresh"));
    auto* save = new QPushButton(QStringLiteral("Save HTML..."), this);
    save->setObjectName(QStringLiteral("cmdSaveHtml"));
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));

    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(mStarts);
    split->addWidget(mCharts);
    split->setStretchFactor(1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(mShowShares);
    buttons->addStretch(1);
    buttons->addWidget(refreshButton);
    buttons->addWidget(save);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mSummary);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);
    resize(900, 760);

    connect(mStarts, &QTableWidget::cellClicked, this, [this](int row, int) { chooseStart(row); });
    connect(mShowShares, &QCheckBox::toggled, this, [this](bool on) {
        if (showShares) showShares(on, mReport);
    });
    connect(refreshButton, &QPushButton::clicked, this, [this] { refresh(); });
    connect(save, &QPushButton::clicked, this, [this] { saveHtml(); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
}

void MapReportWindow::refresh() {
    mReport = compute ? compute() : MapReport();
    mSummary->setText(summaryText(mReport));
    const int row = mStarts->currentRow();
    mStarts->setRowCount(static_cast<int>(mReport.starts.size()));
    for (int i = 0; i < mStarts->rowCount(); ++i) {
        const StartFigures& s = mReport.starts[static_cast<std::size_t>(i)];
        QStringList flags;
        if (s.smallShare) flags << QStringLiteral("small share");
        if (s.crowded) flags << QStringLiteral("crowded");
        const QString cells[] = {s.title(),
                                 s.nearestStart < 0 ? QStringLiteral("-") : QString::number(s.nearestStart),
                                 QString::number(s.withinTotal(0)),
                                 QString::number(s.withinTotal(1)),
                                 QString::number(s.withinTotal(2)),
                                 QString::number(s.seaWithin2),
                                 QString::number(s.coastWithin2),
                                 QString::number(s.share),
                                 flags.join(QStringLiteral(", "))};
        for (int c = 0; c < 9; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c == 0) item->setIcon([&] {
                QPixmap swatch(12, 12);
                swatch.fill(color(ShareColor(i)));
                return QIcon(swatch);
            }());
            if (c >= 2 && c <= 4) item->setToolTip(KindBreakdown(s.within[static_cast<std::size_t>(c - 2)]));
            if (c == 8) item->setForeground(Qt::red);
            mStarts->setItem(i, c, item);
        }
    }
    mStarts->resizeColumnsToContents();
    if (row >= 0 && row < mStarts->rowCount()) mStarts->selectRow(row);
    fillCharts();
    if (mShowShares->isChecked() && showShares) showShares(true, mReport);
}

void MapReportWindow::fillCharts() {
    const int tab = mCharts->currentIndex();
    while (mCharts->count() > 0) {
        QWidget* page = mCharts->widget(0);
        mCharts->removeTab(0);
        delete page;
    }
    for (const ReportChart& c : ReportCharts(mReport)) {
        auto* series = new QBarSeries;
        double top = 1;
        for (int s = 0; s < c.series.size(); ++s) {
            auto* set = new QBarSet(c.series[s]);
            set->setColor(color(ShareColor(s)));
            for (const double v : c.values[static_cast<std::size_t>(s)]) {
                *set << v;
                top = std::max(top, v);
            }
            series->append(set);
            // A bar of a start's group is that start.
            if (c.groups.size() == static_cast<int>(mReport.starts.size()) && c.id != QLatin1String("kinds") &&
                c.id != QLatin1String("degrees"))
                connect(set, &QBarSet::clicked, this, [this](int index) { chooseStart(index); });
        }
        auto* chart = new QChart;
        chart->addSeries(series);
        chart->setTitle(c.title);
        chart->legend()->setVisible(c.series.size() > 1);
        auto* groups = new QBarCategoryAxis;
        groups->append(c.groups);
        if (c.groups.size() > 8) groups->setLabelsAngle(-60);
        chart->addAxis(groups, Qt::AlignBottom);
        series->attachAxis(groups);
        auto* values = new QValueAxis;
        values->setRange(0, top);
        values->setLabelFormat(QStringLiteral("%d"));
        chart->addAxis(values, Qt::AlignLeft);
        series->attachAxis(values);
        auto* view = new QChartView(chart);
        view->setObjectName(QStringLiteral("chart_") + c.id);
        view->setRenderHint(QPainter::Antialiasing);
        mCharts->addTab(view, c.title.section(QLatin1String(" ("), 0, 0));
    }
    if (tab >= 0 && tab < mCharts->count()) mCharts->setCurrentIndex(tab);
}

void MapReportWindow::chooseStart(int index) {
    if (index < 0 || index >= static_cast<int>(mReport.starts.size())) return;
    mStarts->selectRow(index);
    if (showProvince) showProvince(mReport.starts[static_cast<std::size_t>(index)].province);
}

void MapReportWindow::saveHtml() {
    const std::optional<QString> path = askHtmlPath ? askHtmlPath() : std::nullopt;
    if (!path) return;
    const QString title = mapTitle ? mapTitle() : QString();
    QSaveFile file(*path);
    const QByteArray png = sharesPicture ? sharesPicture(mReport) : QByteArray();
    if (file.open(QIODevice::WriteOnly) && file.write(MapReportHtml(mReport, title, png)) >= 0 && file.commit()) return;
    if (reportSaveError) reportSaveError(file.errorString());
}

void MapReportWindow::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    // Later, not now: the activation may come from a click whose table row or bar the refresh replaces.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        QMetaObject::invokeMethod(this, [this] { refresh(); }, Qt::QueuedConnection);
}

void MapReportWindow::hideEvent(QHideEvent* event) {
    // The shading belongs to the report: it goes with the window.
    mShowShares->setChecked(false);
    QDialog::hideEvent(event);
}

} // namespace ts
