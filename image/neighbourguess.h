#pragma once

#include <QImage>
#include <functional>

namespace ts {

struct MapDocument;
class UserInterface;

// Guessing works on the map picture as currently shown, in shown coordinates (image position x
// ZoomScale): pure red (255, 0, 0) and pure blue (0, 0, 255) pixels are borders, markers and lines
// drawn over the image included.
inline constexpr int kGuessBoxHalfWidth = 100; // image pixels around a province
inline constexpr int kGuessMaxPartners = 20;   // accepted per province in its own pass
inline constexpr int kBorderThickness = 10;    // a border up to this thick along the walk counts once

// Walks the line from (x1, y1) to (x2, y2) along its major axis and tells whether it crosses at most
// one border. The start point is never looked at, the end point is. A border pixel and the 9 steps
// after it count as one crossing, so a border 10 pixels thick along the major axis counts once and
// one 11 pixels thick counts twice. Pixels outside the picture are not borders.
//
// A walk that stopped only when x equals x2 exactly would never end at 75%, 50% and 25%, where
// the end can be fractional. So the walk ends as soon as x reaches or passes x2; at 100% that is
// the same thing.
bool z_Neighbor_Validity(const QImage& picture, float x1, float y1, float x2, float y2);

// Draws the line point by point into the picture: the first point black, the rest yellow. The same
// walk in whole numbers; it ends at x2 rounded, so it always ends. Points off the picture are skipped.
void z_Plot_Line(QImage& picture, float x1, float y1, float x2, float y2);

// Replaces every neighbour list of provinces 1..ProvinceCount by a guess: two provinces are
// neighbours when each lies strictly inside the other's 100-pixel box and the line between them
// crosses at most one border. Each accepted pair is stored on both sides (a full list silently takes
// nothing) and drawn as a yellow line into the picture. Later walks read those lines too, so a
// border already crossed by a drawn line is hidden where the line covers it. The document is not
// marked as changed: the caller decides, as it does for any other edit.
//
// repaint, when given, is called while lines are drawn so the window can show them, at most every
// few dozen milliseconds and once at the end, each time followed by ui.processEvents().
// Returns the number of pairs accepted.
int z_Guess_Neighbors(MapDocument& doc, QImage& picture, float zoomScale, UserInterface& ui,
                      const std::function<void()>& repaint = {});

} // namespace ts
