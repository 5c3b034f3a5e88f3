#pragma once

#include <QImage>
#include <QPoint>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

namespace ts {

struct MapDocument;
class UserInterface;

// Numbers the pure white pixels (255, 255, 255; alpha ignored) of the map picture in the game's order:
// bottom row first, left to right within a row. Province n gets ProvinceX = its column and
// ProvinceY = the picture height minus its row counted from the bottom, so the top row gives 1 and
// the bottom row gives the height. Stops at 2599 with "Too many Provinces!". Returns the count and
// stores it in ProvinceCount; positions above the count are left as they were.
//
// The running count is shown as a busy message under caption, and window events run, but no more
// often than every few dozen milliseconds; the final count is always shown.
std::int16_t z_LocateProvinces(const QImage& image, MapDocument& doc, UserInterface& ui,
                               const QString& caption);
// The same from the pixels findProvincePixels found, on another thread perhaps, in the same picture.
std::int16_t z_LocateProvinces(const std::vector<QPoint>& found, MapDocument& doc, UserInterface& ui,
                               const QString& caption);

// The province positions of a picture in the order above, at most one more than a map can have
// (which tells that it has too many). Touches nothing but the picture; progress, when given, hears
// the count so far every few dozen milliseconds.
std::vector<QPoint> findProvincePixels(const QImage& image, const std::function<void(int found)>& progress = {});

// The message shown when a picture has more white pixels than a map can have provinces.
void reportTooManyProvinces(UserInterface& ui);

} // namespace ts
