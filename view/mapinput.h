#pragma once

#include "mapdocument.h"

#include <QString>

namespace ts {

// Left click on the map: unlinks CurProvince and the clicked province in both lists when they are
// linked, links them in both when not. A full list takes nothing on its side. Returns true when
// anything changed.
bool toggleNeighbourLink(MapDocument& doc, int current, int clicked);

// What the status bar shows for the cursor at a shown position.
struct CursorStatus {
    QString position; // "CURPOS"
    QString number;   // "PROVNUM"
    QString name;     // "PROVNAME"
    QString nation;   // "NATION"
    QString message;  // "MESSAGE"
};
CursorStatus cursorStatus(const MapDocument& doc, float shownX, float shownY, int selectionBlock, float zoomScale);

// A single in its shortest decimal form, as the status bar shows coordinates.
QString shortestDecimal(float v);

} // namespace ts
