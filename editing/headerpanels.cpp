#include "headerpanels.h"

#include "headerrules.h"
#include "mapheaderpanel.h"
#include "nationpanel.h"
#include "navigator.h"
#include "panelframes.h"
#include "panelhints.h"

#include <QVBoxLayout>

namespace ts {

HeaderPanels AddHeaderPanels(PanelFrames& frames, Navigator& navigator, MapDocument& doc, const ReferenceData& ref,
                             UserInterface& ui) {
    HeaderPanels panels;
    auto* header = panels.header = new MapHeaderPanel(ui);
    auto* nation = panels.nation = new NationPanel;
    frames.frameLayout(QString::fromLatin1(kFraMap.data(), kFraMap.size()))->addWidget(header);
    frames.frameLayout(QString::fromLatin1(kFraGodAndNation.data(), kFraGodAndNation.size()))->addWidget(nation);

    const auto showHint = [&frames](const QString& hint) {
        if (frames.showHint) frames.showHint(hint);
    };
    header->hints().showHint = showHint;
    nation->hints().showHint = showHint;

    NavigatorModel& model = navigator.model();
    // A finished edit commits at once, so the records, the recovery copy and the map follow it.
    const auto commitWhenDirty = [&navigator, &doc](PanelDirtyFlag flag) {
        return [&navigator, &doc, flag] {
            if (doc.PanelDirty[flag] && navigator.model().panelReady()) navigator.NodeClick();
        };
    };
    header->edited = [&model] { model.PanelChanged(HeaderDirty); };
    header->finished = commitWhenDirty(HeaderDirty);
    nation->edited = [&model] { model.PanelChanged(NationDirty); };
    nation->finished = commitWhenDirty(NationDirty);

    model.hooks.commit.header = [&doc, header] { CommitMapHeader(doc, header->fields()); };
    model.hooks.commit.nation = [&doc, nation] { CommitNation(doc, doc.CurGodNation, nation->fields()); };

    frames.hooks.fill.mapHeader = [&doc, header] { header->show(ShowMapHeader(doc)); };
    frames.hooks.fill.nation = [&frames, &doc, &ref, nation](int i) {
        nation->show(ShowNation(doc, ref, i));
        if (i < 0 || i >= kNationCount) return;
        const int start = doc.Nations[i].SpecStartProvince;
        if (start < 1 || start > doc.ProvinceCount) return;
        // The god stands in commander slot 0 of its start: that province's panels must hold it even
        // where the frames stay hidden. Where they are shown they are filled anyway.
        if (ChoosePanelLayout(frames.shownPanel(), start, i).fillProvince) return;
        if (frames.hooks.fill.province) frames.hooks.fill.province(start);
    };
    return panels;
}

} // namespace ts
