#pragma once

#include "mapdocument.h"
#include "settings.h"
#include "userinterface.h"

#include <QImage>

class QPainter;

namespace ts {

// The nation's marker colour; nations outside 0..94 are black.
Color z_GetNationColor(int natNum);

// Converts a colour value (red in the lowest byte) to the toolkit's colour.
QColor toQColor(Color c);

// One marker: a disc of RingRadius pixels (not scaled by the zoom) at the shown position of the
// province, filled with fill and outlined with a RingWidth pen in ring. Drawn without smoothing so
// that the colours stay exact: the neighbour guess reads them back.
void drawMarker(QImage& picture, double shownX, double shownY, Color fill, Color ring, const Settings& s);
// The shown pixels a marker at (x, y) can touch: its disc, half its ring's pen outside the radius,
// and the pixel the rounding of the edge may add. What lies under it is all a marker hides.
QRect markerArea(QPointF at, const Settings& s);
// The same with a painter already open on the picture, for drawing many at once.
void drawMarker(QPainter& painter, double shownX, double shownY, Color fill, Color ring, const Settings& s);

// Draws provinces 1..prvCnt with their stored look (or the base colours, which are then stored).
void z_ReDrawMarkers(MapDocument& doc, const Settings& s, QImage& picture, double zoom, int prvCnt);

// Recomputes every province's look from the mark switches and draws all markers.
void z_MarkSpecial2(MapDocument& doc, const Settings& s, QImage& picture, double zoom, int prvCnt);

// Mark > "Province" on the current province: marks it, or returns a marked one to its normal look.
void toggleProvinceMark(MapDocument& doc, const Settings& s, int province);

} // namespace ts
