#include "boxtext.h"

#include "valuerules.h"

#include <charconv>

namespace ts {

QString ClampedIntText(const QString& text, std::int16_t min, std::int16_t max) {
    if (text.trimmed().isEmpty()) return QString();
    return QString::number(ClampInt(text, min, max));
}

QString ClampedSingleText(const QString& text, float min, float max) {
    if (text.trimmed().isEmpty()) return QString();
    return SingleText(ClampSingle(text, min, max));
}

QString SingleText(float value) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return QString::fromLatin1(buffer, end - buffer);
}

} // namespace ts
