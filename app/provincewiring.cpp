// The main window's wiring of the province panel: its forms into the editing frames and tools,
// their commits into the navigator, the terrain keys into the map, and the help window.
#include "provincewiring.h"

#include "cp1252.h"
#include "floatingpanels.h"
#include "mainwindow.h"
#include "mapdocument.h"
#include "mapview.h"
#include "navigator.h"
#include "panelframes.h"
#include "provincepanel.h"
#include "referencedata.h"
#include "settings.h"
#include "startownerpanel.h"
#include "templatenametools.h"
#include "terrainreview.h"
#include "toolpanel.h"
#include "victorypanel.h"

#include <QAction>
#include <QLineEdit>
#include <QVBoxLayout>

namespace ts {

void ProvinceEditing::ShowProvince(int p) const {
    victory->ShowVictoryPoints(p);
    startAndOwner->ShowStartAndOwner(p);
    province->ShowProvince(p);
}

void MainWindow::wireProvinceEditing() {
    PanelHooks hooks;
    NavigatorModel& model = mNavigator->model();
    hooks.panelChanged = [&model](PanelDirtyFlag flag) { return model.PanelChanged(flag); };
    hooks.commit = [this] { mNavigator->NodeClick(); };
    hooks.ready = [&model] { return model.panelReady(); };
    hooks.showHint = [this](const QString& hint) { setStatus(QStringLiteral("MESSAGE"), hint); };
    hooks.focusMap = [this] { mMapView->setFocus(); };
    hooks.startingUp = [this] { return mStartingUp; };
    hooks.programFolder = mProgramFolder;

    const auto frame = [this](std::string_view name) {
        return mFrames->frameLayout(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    };
    mProvinceEditing = std::make_unique<ProvinceEditing>();
    ProvinceEditing& forms = *mProvinceEditing;
    forms.province =
        new ProvincePanel(frame(kFraProvince), mPanels->terrainTool()->body(), mPanels->fortTool()->body(),
                          mDoc, referenceData(), *mLists, *this, hooks);
    forms.startAndOwner = new StartOwnerPanel(frame(kFraStartAndOwner), mDoc, *mLists, *this, hooks);
    forms.victory = new VictoryPanel(frame(kFraVictoryPoints), mDoc, hooks);
    forms.province->mapsFolder = [this] { return mSettings.MapsDirectory; };
    forms.province->terrainProposal = [this](int province) { return mTerrainReview->proposalText(province); };
    forms.province->showFortTool = [this] {
        QAction* fortTool = action("mnuFortTool");
        if (!fortTool->isChecked()) fortTool->trigger();
        mPanels->fortTool()->raise();
    };
    // Shift+R names the province through its name box, so the name is an edit like typing it.
    mTemplateNames->setProvinceName = [this](const QString& name) {
        if (auto* box = findChild<QLineEdit*>(QStringLiteral("txtLandName"))) box->setText(name);
    };
    // The commander strip and sites fill after the province's own sections.
    auto others = mFrames->hooks.fill.province;
    mFrames->hooks.fill.province = [&forms, others](int p) {
        forms.ShowProvince(p);
        if (others) others(p);
    };

    NodeEdits nodes;
    nodes.add = [this](std::string_view parent, std::string_view key, std::string_view caption) {
        mNavigator->AddNavigatorNode(parent, key, caption);
    };
    nodes.remove = [this](std::string_view key) { mNavigator->RemoveNavigatorNode(key); };
    nodes.setCaption = [this](std::string_view key, std::string_view caption) {
        if (QTreeWidgetItem* item = mNavigator->node(key)) item->setText(0, fromCp1252(caption));
    };
    NavigatorModel::CommitHooks& commit = model.hooks.commit;
    commit.province = [this, &forms, nodes] {
        const int p = mDoc.CurProvince;
        const bool noStart = p >= 1 && mDoc.Provinces[p].NoStart;
        forms.province->CommitProvince(p, nodes);
        // The no-start mark follows the terrain tool's box.
        if (p >= 1 && mDoc.Provinces[p].NoStart != noStart) mMapView->markSpecial();
    };
    commit.startAndOwner = [this, &forms, nodes] {
        forms.startAndOwner->CommitStartAndOwner(mDoc.CurProvince, nodes);
    };
    commit.victory = [this, &forms] { forms.victory->CommitVictory(mDoc.CurProvince); };

    // The map's single keys, by the character typed: Caps Lock turns m into the capital M of the
    // View menu rather than the mountain key.
    ProvincePanel* panel = forms.province;
    const struct {
        char typed;
        int box;
    } terrainKeys[] = {{'d', 2}, {'r', 10}, {'m', 5}, {'b', 4}, {'c', 3}, {'s', 7}, {'w', 6}, {'f', 8}, {'a', 9}};
    for (const auto& k : terrainKeys) {
        const int box = k.box;
        mMapView->bindCharacter(QLatin1Char(k.typed), [panel, box] { panel->toggleTerrain(box); });
    }
    mMapView->bindCharacter(QLatin1Char('1'), [panel] { panel->toggleSmall(); });
    mMapView->bindCharacter(QLatin1Char('2'), [panel] { panel->toggleLarge(); });
    mMapView->bindCharacter(QLatin1Char('n'), [panel] { panel->toggleNoStart(); });
    mMapView->bindCharacter(QLatin1Char('y'), [panel] { panel->toggleSiteTerrain(0); });

}

} // namespace ts
