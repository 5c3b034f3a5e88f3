#pragma once

#include <QString>
#include <cstdint>

namespace ts {

// What a number box of a panel holds after the user leaves it: an empty box stays empty (the value
// is then not set), anything else becomes the clamped number, letters the minimum.
QString ClampedIntText(const QString& text, std::int16_t min, std::int16_t max);
QString ClampedSingleText(const QString& text, float min, float max);

// A single float as a box shows it: the shortest text that reads back to the same float.
QString SingleText(float value);

} // namespace ts
