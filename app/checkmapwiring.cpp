#include "checkmapwiring.h"

#include "checkmapwindow.h"
#include "edithistory.h"
#include "mainwindow.h"
#include "mapcheck.h"
#include "mapdocument.h"
#include "mapimage.h"
#include "mapview.h"
#include "navigator.h"
#include "navigatormodel.h"
#include "referencedata.h"

#include <QAction>
#include <QMenu>

namespace ts {

namespace {

CheckMapWindow* checkWindow(MainWindow& window) {
    if (auto* made = window.findChild<CheckMapWindow*>(QStringLiteral("frmCheckMap"))) return made;
    auto* made = new CheckMapWindow(&window);
    made->check = [&window] {
        const MapImage& image = window.mapImage();
        return CheckMap(window.document(), referenceData(), image.isLoaded() ? image.sourceSize() : QSize());
    };
    made->showProvince = [&window](int province) { showFindingProvince(window, province); };
    made->applyFix = [&window](const MapFinding& finding) { applyMapFix(window, finding); };
    return made;
}

} // namespace

void connectCheckMap(MainWindow& window) {
    auto* tools = window.findChild<QMenu*>(QStringLiteral("mnuTools"));
    if (!tools) return;
    // Beside the neighbour guesses, whose results it looks over.
    auto* item = new QAction(QStringLiteral("Check Map"), tools);
    item->setObjectName(QStringLiteral("mnuCheckMap"));
    tools->insertAction(window.findChild<QAction*>(QStringLiteral("mnuCustomTools")), item);
    QObject::connect(item, &QAction::triggered, &window, [&window] {
        CheckMapWindow* check = checkWindow(window);
        check->checkAgain();
        check->show();
        check->raise();
        check->activateWindow();
    });
}

bool applyMapFix(MainWindow& window, const MapFinding& finding) {
    const MapDocument& doc = window.document();
    const std::string what = finding.kind == FindingKind::NotMutual ? "Fix Link of " : "Fix Missing Link of ";
    const EditBracket step(&window.journal(), {.neighbours = true},
                           what + ProvinceTitle(doc, finding.province) + " and " + ProvinceTitle(doc, finding.other));
    if (!FixFinding(window.document(), finding)) return false;
    MapView& view = window.mapView();
    if (view.lastActiveProv() >= 1) view.selectProvince(view.lastActiveProv(), false); // its lines anew
    if (view.onNeighboursChanged) view.onNeighboursChanged();
    return true;
}

void showFindingProvince(MainWindow& window, int province) {
    if (province < 1 || province > window.document().ProvinceCount) return;
    window.navigator().NodeClick(ProvinceNodeKey(province));
}

} // namespace ts
