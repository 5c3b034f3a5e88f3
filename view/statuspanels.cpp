#include "statuspanels.h"

namespace ts {

const std::vector<StatusPanels::Panel>& StatusPanels::panels() {
    static const std::vector<Panel> all = {
        {"MAPSIZE", "Map Size (Pixels)", "Map size in pixels"},
        {"CURPOS", "Cursor position (x,y)", "Cursor position (scales with zoom level)"},
        {"PROVNUM", "Prov#", "Province number under cursor"},
        {"PROVNAME", "Province Name", "Province name under cursor"},
        {"NATION", "Nation specstart/owner", "Nation special start or owner under cursor"},
        {"MESSAGE", "Message", "Message ( tool help, etc)"},
    };
    return all;
}

StatusPanels::StatusPanels(QStatusBar* bar) : mBar(bar) {
    for (const Panel& p : panels()) {
        auto* label = new QLabel(QString::fromLatin1(p.initialText), bar);
        label->setObjectName(QString::fromLatin1(p.key));
        label->setToolTip(QString::fromLatin1(p.tooltip));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setMargin(2);
        const bool isMessage = QLatin1String(p.key) == QLatin1String("MESSAGE");
        if (!isMessage) label->setMinimumWidth(label->fontMetrics().horizontalAdvance(label->text()) + 16);
        // The hint panel takes what is left of the bar, so long hints stay readable.
        bar->addPermanentWidget(label, isMessage ? 1 : 0);
    }
}

QLabel* StatusPanels::find(const QString& key) const { return mBar->findChild<QLabel*>(key); }

void StatusPanels::setStatus(const QString& key, const QString& text) {
    if (QLabel* label = find(key)) label->setText(text);
}

QString StatusPanels::text(const QString& key) const {
    const QLabel* label = find(key);
    return label ? label->text() : QString();
}

} // namespace ts
