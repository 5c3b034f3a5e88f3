#include "panelframes.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
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

// The four sections of the province panel that can be collapsed, with their toggles and hints.
struct Section {
    std::string_view frame;
    const char* toggle;
    const char* hint;
};
constexpr Section kSections[] = {
    {kFraProvinceCommanders1, "cmdToggleCommanders", "Hide/show the 'Commanders' panel."},
    {kFraSites, "cmdToggleSites", "Hide/show the 'Sites' panel."},
    {kFraStartAndOwner, "cmdToggleStartAndOwner", "Hide/show the 'Start & Owner' panel."},
    {kFraVictoryPoints, "cmdToggleVictoryPoints", "Hide/show the 'Victory Points' panel."},
};

QString toggleCaption(bool open) { return open ? QStringLiteral("-") : QStringLiteral("+"); }

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
        auto* titleRow = new QHBoxLayout;
        auto* title = new QLabel(QString::fromUtf8(titleOf(name)), f);
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
        titleRow->addWidget(title, 1);
        for (const Section& section : kSections) {
            if (section.frame != name) continue;
            auto* toggle = new QToolButton(f);
            toggle->setObjectName(QString::fromLatin1(section.toggle));
            toggle->setText(toggleCaption(true));
            toggle->setAutoRaise(true);
            toggle->setMouseTracking(true);
            toggle->installEventFilter(this);
            const QString frameName = toQString(name);
            connect(toggle, &QToolButton::clicked, this,
                    [this, frameName] { setSectionOpen(frameName, !sectionOpen(frameName), true); });
            titleRow->addWidget(toggle);
        }
        layout->addLayout(titleRow);
        // The controls sit in a body of their own, so that a section collapses to its title.
        auto* body = new QWidget(f);
        body->setObjectName(f->objectName() + QStringLiteral("Body"));
        auto* bodyLayout = new QVBoxLayout(body);
        bodyLayout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(body);
        f->hide();
        columnLayout->addWidget(f);
        mFrames.insert(f->objectName(), f);
    }
    columnLayout->addStretch(1);
    setWidget(column);
}

QVBoxLayout* PanelFrames::frameLayout(const QString& name) const {
    QFrame* f = frame(name);
    auto* body = f ? f->findChild<QWidget*>(name + QStringLiteral("Body"), Qt::FindDirectChildrenOnly) : nullptr;
    return body ? static_cast<QVBoxLayout*>(body->layout()) : nullptr;
}

bool PanelFrames::sectionOpen(const QString& name) const {
    QFrame* f = frame(name);
    auto* body = f ? f->findChild<QWidget*>(name + QStringLiteral("Body"), Qt::FindDirectChildrenOnly) : nullptr;
    return body && !body->isHidden();
}

void PanelFrames::setSectionOpen(const QString& name, bool open, bool byUser) {
    QFrame* f = frame(name);
    if (!f) return;
    if (auto* body = f->findChild<QWidget*>(name + QStringLiteral("Body"), Qt::FindDirectChildrenOnly))
        body->setVisible(open);
    for (const Section& section : kSections) {
        if (toQString(section.frame) != name) continue;
        if (auto* toggle = f->findChild<QToolButton*>(QString::fromLatin1(section.toggle)))
            toggle->setText(toggleCaption(open));
        if (byUser && sectionToggled) sectionToggled(name, open);
    }
}

bool PanelFrames::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter && showHint) {
        for (const Section& section : kSections)
            if (watched->objectName() == QLatin1String(section.toggle)) showHint(QString::fromLatin1(section.hint));
    }
    return QScrollArea::eventFilter(watched, event);
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
