#include "mapinput.h"

#include "cp1252.h"
#include "mapgeometry.h"

#include <charconv>

namespace ts {

namespace {
bool validProvince(int n) { return n >= 1 && n < kProvinceSlots; }

bool removeLink(ProvinceDataType& p, int other) {
    bool removed = false;
    for (std::int16_t& slot : p.Neighbours) {
        if (slot == other) {
            slot = -1;
            removed = true;
        }
    }
    return removed;
}

void addLink(ProvinceDataType& p, int other) {
    for (std::int16_t& slot : p.Neighbours) {
        if (slot < 1) {
            slot = static_cast<std::int16_t>(other);
            return;
        }
    }
}

} // namespace

bool toggleNeighbourLink(MapDocument& doc, int current, int clicked) {
    if (!validProvince(current) || !validProvince(clicked) || current == clicked) return false;
    ProvinceDataType& a = doc.Provinces[current];
    ProvinceDataType& b = doc.Provinces[clicked];
    const bool removedA = removeLink(a, clicked);
    const bool removedB = removeLink(b, current);
    if (removedA || removedB) return true;
    addLink(a, clicked);
    addLink(b, current);
    return true;
}

QString shortestDecimal(float v) {
    char buf[48];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    return QString::fromLatin1(buf, static_cast<qsizetype>(r.ptr - buf));
}

CursorStatus cursorStatus(const MapDocument& doc, float shownX, float shownY, int selectionBlock, float zoomScale) {
    CursorStatus s;
    s.message = QStringLiteral("Middle click and hold to drag the map view. F5,F6,F7 & F8 to zoom.");
    s.position = shortestDecimal(shownX) + QLatin1Char('x') + shortestDecimal(shownY);
    // Every hit province is looked at, so where boxes overlap the highest number is the one shown.
    for (int n = 1; n <= doc.ProvinceCount && n < kProvinceSlots; ++n) {
        const ProvinceDataType& p = doc.Provinces[n];
        if (!hitsProvince(p, shownX, shownY, selectionBlock, zoomScale)) continue;
        s.number = QString::number(n);
        s.name = fromCp1252(p.LandName.view());
        s.nation.clear();
        if (p.Owner >= 0 && p.Owner < kNationCount) s.nation = fromCp1252(doc.Nations[p.Owner].NationName.view());
        if (p.SpecStart && p.SpecStartNation >= 0 && p.SpecStartNation < kNationCount)
            s.nation = fromCp1252(doc.Nations[p.SpecStartNation].NationName.view());
        s.message = QStringLiteral("Right click to select. Left click to add/remove neighbors.");
    }
    return s;
}

} // namespace ts
