#pragma once

#include <QString>
#include <cstdint>

namespace ts {

// How the editing panels turn what the user typed into record values. A box holds free text; these
// decide what a number is and what happens to one that is not, so every panel validates alike.

// Text to a number the way the panels accept it: blanks around it are ignored, an optional sign,
// digits and an optional decimal fraction (rounded half to even, as the game's own tools do).
// Empty text, anything else, or a value outside the type's range is no number.
bool PanelTextToInt(const QString& text, std::int64_t min, std::int64_t max, std::int64_t& value);

// The value clamped into [min, max]; text that is no 16-bit number gives min.
std::int16_t ClampInt(const QString& text, std::int16_t min, std::int16_t max);
// The same for 32-bit numbers.
std::int32_t ClampLong(const QString& text, std::int32_t min, std::int32_t max);
// The same for single floats; text that is no number gives min.
float ClampSingle(const QString& text, float min, float max);
// The 16-bit number, or fallback when the text is no number.
std::int16_t IntOrDefault(const QString& text, std::int16_t fallback);

} // namespace ts
