#include "cp1252.h"

#include <array>

namespace ts {

namespace {
// 0x80..0x9F; the five bytes Windows-1252 leaves undefined map to the C1 control of the same value,
// which keeps every byte round-tripping.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
} // namespace

QString fromCp1252(std::string_view bytes) {
    QString out;
    out.resize(static_cast<qsizetype>(bytes.size()));
    QChar* dst = out.data();
    for (unsigned char c : bytes) {
        *dst++ = (c >= 0x80 && c <= 0x9F) ? QChar(kHigh[c - 0x80]) : QChar(c);
    }
    return out;
}

std::string toCp1252(const QString& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out.push_back(static_cast<char>(u));
            continue;
        }
        char b = '?';
        for (std::size_t i = 0; i < kHigh.size(); ++i) {
            if (kHigh[i] == u) {
                b = static_cast<char>(0x80 + i);
                break;
            }
        }
        out.push_back(b);
    }
    return out;
}

} // namespace ts
