#pragma once

#include <QImage>
#include <QString>
#include <cstdint>

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
// The message shown when a picture has more white pixels than a map can have provinces.
void reportTooManyProvinces(UserInterface& ui);

std::int16_t z_LocateProvinces(const QImage& image, MapDocument& doc, UserInterface& ui,
                               const QString& caption);

} // namespace ts
