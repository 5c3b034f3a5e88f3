#pragma once

#include "panellayout.h"

#include <QFrame>
#include <QHash>
#include <QScrollArea>
#include <QString>
#include <functional>

class QVBoxLayout;

namespace ts {

// The column of editing frames beside the map (fraMap, fraProvince, ... fraGodAndNation), scrollable
// when they do not fit. Each frame starts with a title and a vertical layout; the panels put their
// controls below the title. ShowPanel shows the frames of one navigator choice and has them filled.
class PanelFrames : public QScrollArea {
public:
    // Fill the frames from the records; each runs only when its frames are being shown.
    struct Fillers {
        std::function<void()> mapHeader;
        std::function<void(int nation)> nation; // the nation and its god
        std::function<void(int province)>
            province; // province, commander strip, sites, start and owner, victory points
        std::function<void(int province, int commander)> commanderDetail;
    };
    struct Hooks {
        Fillers fill;
        // The floating terrain, fort and bar tools; Show means as the user has switched them.
        std::function<void(const ToolPanels& tools)> applyToolPanels;
    };

    explicit PanelFrames(QWidget* parent = nullptr);

    Hooks hooks;

    // (QFrame, a base of this class, has an enum value named Panel; hence ts::Panel.)
    // Makes exactly the chosen panel's frames visible, applies the tool panel rules, then fills.
    // Below 0 (below 1 for a province) means nothing chosen.
    void ShowPanel(ts::Panel panel, int province, int commander, int nation);
    // No map: every frame hidden, the tool panels left alone.
    void hideAll();

    QFrame* frame(const QString& name) const { return mFrames.value(name, nullptr); }

    // The commanders, sites, start-and-owner and victory-points sections collapse to their titles
    // with a toggle each; the window keeps their state in the settings.
    bool sectionOpen(const QString& name) const;
    void setSectionOpen(const QString& name, bool open, bool byUser = false);
    // A toggle was clicked: the section is now open or collapsed.
    std::function<void(const QString& name, bool open)> sectionToggled;
    // The hint of the control under the cursor, for the status bar.
    std::function<void(const QString& hint)> showHint;
    // The layout the frame's controls go into, below its title.
    QVBoxLayout* frameLayout(const QString& name) const;
    ts::Panel shownPanel() const { return mShown; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QHash<QString, QFrame*> mFrames;
    ts::Panel mShown = ts::Panel::None;
};

} // namespace ts
