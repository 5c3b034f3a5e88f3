#include "valuerules.h"

#include <cmath>
#include <limits>

namespace ts {

bool PanelTextToInt(const QString& text, std::int64_t min, std::int64_t max, std::int64_t& value) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return false;
    int i = 0;
    bool negative = false;
    if (t[0] == u'+' || t[0] == u'-') {
        negative = t[0] == u'-';
        ++i;
    }
    const int digitsStart = i;
    while (i < t.size() && t[i].isDigit() && t[i].unicode() < 128) ++i;
    const int digitsEnd = i;
    int fractionDigits = 0;
    if (i < t.size() && t[i] == u'.') {
        ++i;
        while (i < t.size() && t[i].isDigit() && t[i].unicode() < 128) {
            ++i;
            ++fractionDigits;
        }
    }
    if (i != t.size() || digitsEnd - digitsStart + fractionDigits == 0) return false;
    // Long digit runs are out of every range the panels use; stop before they overflow.
    if (digitsEnd - digitsStart > 15) return false;
    bool ok = false;
    const double magnitude = QStringView(t).mid(digitsStart).toDouble(&ok);
    if (!ok && digitsEnd > digitsStart) return false;
    const double rounded = std::nearbyint(ok ? magnitude : 0.0); // the default mode rounds half to even
    const double signedValue = negative ? -rounded : rounded;
    if (signedValue < static_cast<double>(min) || signedValue > static_cast<double>(max)) return false;
    value = static_cast<std::int64_t>(signedValue);
    return true;
}

namespace {

template <typename T>
T clampText(const QString& text, T min, T max) {
    std::int64_t v = 0;
    if (!PanelTextToInt(text, std::numeric_limits<T>::min(), std::numeric_limits<T>::max(), v)) return min;
    if (v < min) return min;
    if (v > max) return max;
    return static_cast<T>(v);
}

} // namespace

std::int16_t ClampInt(const QString& text, std::int16_t min, std::int16_t max) {
    return clampText<std::int16_t>(text, min, max);
}

std::int32_t ClampLong(const QString& text, std::int32_t min, std::int32_t max) {
    return clampText<std::int32_t>(text, min, max);
}

float ClampSingle(const QString& text, float min, float max) {
    bool ok = false;
    const float v = text.trimmed().toFloat(&ok);
    if (!ok || std::isnan(v)) return min;
    return v < min ? min : (v > max ? max : v);
}

std::int16_t IntOrDefault(const QString& text, std::int16_t fallback) {
    std::int64_t v = 0;
    if (!PanelTextToInt(text, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max(), v))
        return fallback;
    return static_cast<std::int16_t>(v);
}

} // namespace ts
