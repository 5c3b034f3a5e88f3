#include "floatingpanels.h"

#include "settings.h"
#include "toolpanel.h"

#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

namespace ts {

namespace {
constexpr int kNavigatorWidth = 260;

// A small picture for a bar button: a coloured tile with a short glyph, recognisable at a glance.
QIcon glyph(const QString& text, QColor colour) {
    QPixmap pm(28, 28);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(colour);
    p.setPen(colour.darker(160));
    p.drawRoundedRect(QRectF(1, 1, 26, 26), 5, 5);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(text.size() > 2 ? 9 : 13);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 28, 28), Qt::AlignCenter, text);
    return QIcon(pm);
}
} // namespace

FloatingPanels::FloatingPanels(QWidget* mapArea, Settings& settings, Actions actions)
    : mArea(mapArea), mSettings(settings), mActions(std::move(actions)) {
    mNavigator = new QFrame(mapArea);
    mNavigator->setObjectName(QStringLiteral("fraNavigator"));
    mNavigator->setFrameStyle(QFrame::Panel | QFrame::Raised);
    mNavigator->setAutoFillBackground(true);
    mNavigator->setGeometry(0, 0, kNavigatorWidth, mapArea->height());
    auto* navLayout = new QVBoxLayout(mNavigator);
    navLayout->setContentsMargins(2, 2, 2, 2);
    mNavigator->hide();

    mBar = new ToolPanel(mapArea, QStringLiteral("fraBarTool"), QStringLiteral("Mouseover for info"),
                         QStringLiteral("Bar Tool: Click and drag to move, right click to hide. Contains buttons for "
                                        "quickly traversing the Navigator, marking provinces, & zooming the map."));
    mTerrain = new ToolPanel(mapArea, QStringLiteral("fraTerrainTool"), QStringLiteral("Terrain"),
                             QStringLiteral("Terrain Tool: Click and drag to move, right click to hide. Sets & "
                                            "displays the terrain data for the current province."));
    mFort = new ToolPanel(mapArea, QStringLiteral("fraFortTool"), QStringLiteral("Fort"),
                          QStringLiteral("Fort Tool: Click and drag to move, right click to hide. Sets & displays "
                                         "the fort of the current province."));
    buildBarTool();
    // The terrain and fort tools get their controls with the province panel; until then they hold
    // only their frame, so that moving, hiding and showing them already works.
    for (ToolPanel* p : {mTerrain, mFort}) p->body()->setMinimumSize(140, 60);
    hideAll();
}

void FloatingPanels::buildBarTool() {
    auto* grid = new QGridLayout(mBar->body());
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(2);
    const struct {
        const char* glyph;
        QColor colour;
        const char* tip;
    } buttons[] = {{"Map", QColor(120, 80, 40), "Map header"},
                   {"AP", QColor(40, 90, 140), "Allowed players"},
                   {"G&N", QColor(120, 40, 120), "Gods and nations"},
                   {"Prv", QColor(40, 120, 60), "Provinces"},
                   {"F9", QColor(200, 40, 40), "Mark the current province"},
                   {"M+", QColor(200, 120, 0), "Mark all: starts, no-starts, special starts, owners, victory points"},
                   {"M-", QColor(110, 110, 110), "Unmark all"},
                   {"25", QColor(30, 30, 30), "Zoom 25%"},
                   {"100", QColor(30, 30, 30), "Zoom 100%"}};
    for (int i = 0; i < 9; ++i) {
        auto* b = new QToolButton(mBar->body());
        b->setObjectName(QStringLiteral("imgBarTool%1").arg(i));
        b->setIcon(glyph(QString::fromUtf8(buttons[i].glyph), buttons[i].colour));
        b->setIconSize(QSize(28, 28));
        b->setAutoRaise(true);
        b->setToolTip(QString::fromUtf8(buttons[i].tip));
        b->setFocusPolicy(Qt::NoFocus);
        grid->addWidget(b, 0, i);
        QObject::connect(b, &QToolButton::clicked, b, [this, i] {
            static const char* const keys[] = {"MAP", "ALLOWEDNATIONS", "GODSANDNATIONS", "PROVINCES"};
            if (i < 4) {
                if (mActions.selectNode) mActions.selectNode(QString::fromLatin1(keys[i]));
            } else if (i == 4) {
                if (mActions.markProvince) mActions.markProvince();
            } else if (i == 5) {
                if (mActions.markAll) mActions.markAll();
            } else if (i == 6) {
                if (mActions.unmarkAll) mActions.unmarkAll();
            } else if (mActions.zoom) {
                mActions.zoom(i == 7 ? 3 : 0);
            }
        });
    }
}

void FloatingPanels::setUp(ToolPanel* panel, bool Settings::*visible, float Settings::*left, float Settings::*top,
                       QAction* item) {
    panel->showHint = mActions.showHint;
    panel->moved = [this, left, top](const QPoint& at) {
        mSettings.*left = static_cast<float>(at.x());
        mSettings.*top = static_cast<float>(at.y());
    };
    panel->hiddenByUser = [this, visible, item] {
        mSettings.*visible = false;
        item->setChecked(false);
        const bool starting = mActions.startingUp && mActions.startingUp();
        if (!starting && mActions.focusMap) mActions.focusMap();
    };
    QObject::connect(item, &QAction::triggered, panel, [this, panel, visible, left, top](bool checked) {
        mSettings.*visible = checked;
        if (checked) {
            panel->adjustSize();
            panel->move(static_cast<int>(mSettings.*left), static_cast<int>(mSettings.*top));
            panel->raise();
        }
        panel->setVisible(checked);
    });
}

void FloatingPanels::connectMenu(QAction* navigator, QAction* terrain, QAction* fort, QAction* bar) {
    mNavigatorItem = navigator;
    mTerrainItem = terrain;
    mFortItem = fort;
    mBarItem = bar;
    for (QAction* a : {navigator, terrain, fort, bar}) a->setCheckable(true);
    QObject::connect(navigator, &QAction::triggered, mNavigator, [this](bool checked) {
        mSettings.NavigatorVisible = checked;
        mNavigator->setVisible(checked);
        if (checked) mNavigator->raise();
    });
    setUp(mTerrain, &Settings::TerrainToolVisible, &Settings::TerrainToolLeft, &Settings::TerrainToolTop, terrain);
    setUp(mFort, &Settings::FortToolVisible, &Settings::FortToolLeft, &Settings::FortToolTop, fort);
    setUp(mBar, &Settings::BarToolVisible, &Settings::BarToolLeft, &Settings::BarToolTop, bar);
}

void FloatingPanels::applySettings() {
    fitNavigator();
    mNavigator->setVisible(mSettings.NavigatorVisible);
    if (mNavigatorItem) mNavigatorItem->setChecked(mSettings.NavigatorVisible);
    const struct {
        ToolPanel* panel;
        bool visible;
        float left, top;
        QAction* item;
    } panels[] = {{mTerrain, mSettings.TerrainToolVisible, mSettings.TerrainToolLeft, mSettings.TerrainToolTop, mTerrainItem},
                  {mFort, mSettings.FortToolVisible, mSettings.FortToolLeft, mSettings.FortToolTop, mFortItem},
                  {mBar, mSettings.BarToolVisible, mSettings.BarToolLeft, mSettings.BarToolTop, mBarItem}};
    for (const auto& p : panels) {
        p.panel->adjustSize();
        p.panel->move(static_cast<int>(p.left), static_cast<int>(p.top));
        p.panel->setVisible(p.visible);
        if (p.visible) p.panel->raise();
        if (p.item) p.item->setChecked(p.visible);
    }
    if (mNavigator->isVisible()) mNavigator->raise();
}

void FloatingPanels::hideAll() {
    mNavigator->hide();
    mBar->hide();
    mTerrain->hide();
    mFort->hide();
}

void FloatingPanels::fitNavigator() { mNavigator->setGeometry(0, 0, kNavigatorWidth, mArea->height()); }

int FloatingPanels::navigatorWidth() const { return mNavigator->isVisible() ? mNavigator->width() : 0; }

} // namespace ts
