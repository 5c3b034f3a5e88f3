#include "panelframes.h"

#include <QLabel>
#include <QVBoxLayout>

namespace ts {

namespace {

const char* titleOf(std::string_view frame) {
    if (frame == kFraMap) return "Map";
    if (frame == kFraGodAndNation) return "God and Nation";
    if (frame == kFraProvince) return "Province";
    if (frame == kFraProvinceCommanders1) return "Commanders";
    if (frame == kFraCommander) return "Commander";
    if (frame == kFraCommanderBodyGuards) return "Bodyguards";
    if (frame == kFraCommanderUnits) return "Units";
    if (frame == kFraSites) return "Sites";
    if (frame == kFraStartAndOwner) return "Start & Owner";
    if (frame == kFraVictoryPoints) return "Victory Points";
    return "";
}

QString toQString(std::string_view s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

PanelFrames::PanelFrames(QWidget* parent) : QScrollArea(parent) {
    setObjectName("scrPanels");
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto* column = new QWidget;
    column->setObjectName("pnlPanelColumn");
    auto* columnLayout = new QVBoxLayout(column);
    columnLayout->setContentsMargins(4, 4, 4, 4);
    for (std::string_view name : editingFrameNames()) {
        auto* f = new QFrame(column);
        f->setObjectName(toQString(name));
        f->setFrameShape(QFrame::StyledPanel);
        auto* layout = new QVBoxLayout(f);
        layout->setContentsMargins(6, 4, 6, 6);
        auto* title = new QLabel(QString::fromUtf8(titleOf(name)), f);
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
        layout->addWidget(title);
        f->hide();
        columnLayout->addWidget(f);
        mFrames.insert(f->objectName(), f);
    }
    columnLayout->addStretch(1);
    setWidget(column);
}

QVBoxLayout* PanelFrames::frameLayout(const QString& name) const {
    QFrame* f = frame(name);
    return f ? static_cast<QVBoxLayout*>(f->layout()) : nullptr;
}

void PanelFrames::hideAll() {
    for (QFrame* f : std::as_const(mFrames))
        f->hide();
    mShown = ts::Panel::None;
}

void PanelFrames::ShowPanel(ts::Panel panel, int province, int commander, int nation) {
    const PanelLayout layout = ChoosePanelLayout(panel, province, nation);
    for (auto it = mFrames.cbegin(); it != mFrames.cend(); ++it) {
        bool visible = false;
        for (std::string_view name : layout.frames)
            visible = visible || it.key() == toQString(name);
        it.value()->setVisible(visible);
    }
    mShown = panel;
    if (hooks.applyToolPanels) hooks.applyToolPanels(layout.tools);

    const Fillers& fill = hooks.fill;
    if (layout.fillMapHeader && fill.mapHeader) fill.mapHeader();
    if (layout.fillNation && fill.nation) fill.nation(nation);
    if (layout.fillProvince && fill.province) fill.province(province);
    if (layout.fillCommanderDetail && fill.commanderDetail) fill.commanderDetail(province, commander);
}

} // namespace ts
