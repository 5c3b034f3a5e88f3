#pragma once

#include "mapdocument.h"

#include <QString>
#include <QWidget>

class QLabel;

namespace ts {

class HintEvents;
class SlotEvents;

// The 40 commander slots of a province (fraProvinceCommanders1), slot 0 the god's. Each slot picture
// carries its unit number in the "tag" property and the unit name in its tooltip; the unit finder
// writes its choice there and the commit reads it back.
class CommanderStrip : public QWidget {
public:
    static constexpr const char* kStatusText =
        "Click to select commander. Double click to open unit finder. Right click for cut/copy/paste/delete "
        "menu. Displays commanders in this province. First slot reserved for gods.";

    CommanderStrip(const MapDocument& doc, const QString& programFolder, HintEvents& hints, QWidget* parent = nullptr);

    SlotEvents& events() { return *mEvents; }
    QLabel* slot(int c) const { return mSlots[c]; }
    // Which slot the label is, or -1.
    int slotOf(const QLabel* label) const;

    // Fills the slots from province p and frames the current commander.
    void ShowCommanderStrip(int province);
    int shownProvince() const { return mProvince; }
    void select(int c);
    void hideSelection();
    int selected() const { return mSelected; }

private:
    const MapDocument& mDoc;
    const QString& mFolder; // the window's, which may move to another folder at start-up
    SlotEvents* mEvents;
    QLabel* mSlots[kCommanderSlots] = {};
    int mProvince = -1;
    int mSelected = -1;
};

// The selection frame of a slot picture.
void markSelected(QLabel* slot, bool selected);

} // namespace ts
