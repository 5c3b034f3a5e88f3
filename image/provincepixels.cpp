#include "provincepixels.h"

#include "mapdocument.h"

#include <algorithm>
#include <cmath>

namespace ts {

namespace {

constexpr quint32 kWhite = 0xFFFFFFu;

bool isWhite(const QImage& picture, QPoint p) {
    return picture.rect().contains(p) && (picture.pixel(p) & kWhite) == kWhite;
}

// Bottom row first, left to right: the order the locator numbers provinces in.
void sortInScanOrder(std::vector<ProvincePlace>& places) {
    std::sort(places.begin(), places.end(), [](const ProvincePlace& a, const ProvincePlace& b) {
        return a.y != b.y ? a.y > b.y : a.x < b.x;
    });
}

// Why a new white pixel cannot go at spot; except is a white pixel that goes away with the edit.
QString spotRefusal(const QImage& picture, QPoint spot, QPoint except = QPoint(-1, -1)) {
    if (!picture.rect().contains(spot)) return QStringLiteral("The spot lies outside the picture.");
    if (isWhite(picture, spot) && spot != except)
        return QStringLiteral("The spot is already a province: its pixel is pure white.");
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint n = spot + QPoint(dx, dy);
            if ((dx || dy) && n != except && isWhite(picture, n))
                return QStringLiteral("The spot touches another white pixel; the provinces would run together. "
                                      "Choose a spot at least one pixel away.");
        }
    return {};
}

ProvincePixelEdit refused(QString why) {
    ProvincePixelEdit e;
    e.refusal = std::move(why);
    return e;
}

bool validProvince(const MapDocument& doc, int province) { return province >= 1 && province <= doc.ProvinceCount; }

// Numbers the places after the edit. moved gives a province's place before and after, so the match
// follows it; every other province is known by its place.
void renumber(ProvincePixelEdit& e, int movedFrom = 0) {
    std::vector<ProvincePlace> known = e.before;
    if (movedFrom) known[movedFrom - 1] = {e.pixels.back().x, e.pixels.back().y + 1};
    sortInScanOrder(e.after);
    e.renumbering = MatchPlaces(known, e.after, 0);
    if (movedFrom) {
        e.renumbering.moved = {{movedFrom, e.renumbering.newNumber[movedFrom]}};
        e.province = e.renumbering.newNumber[movedFrom];
    }
}

} // namespace

std::unique_ptr<RenumberChange> ProvincePixelEdit::change(PixelSetter setPixel) const {
    return std::make_unique<RenumberChange>(renumbering, before, after, pixels, std::move(setPixel));
}

QPoint pictureSpotAt(float shownX, float shownY, float zoomScale) {
    return {static_cast<int>(std::floor(shownX / zoomScale)), static_cast<int>(std::floor(shownY / zoomScale))};
}

QRgb surroundingColour(const QImage& picture, QPoint pixel) {
    int r = 0, g = 0, b = 0, n = 0;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint p = pixel + QPoint(dx, dy);
            if ((!dx && !dy) || !picture.rect().contains(p) || isWhite(picture, p)) continue;
            const QRgb c = picture.pixel(p);
            r += qRed(c);
            g += qGreen(c);
            b += qBlue(c);
            ++n;
        }
    if (n == 0) return qRgb(0, 0, 0);
    const auto mean = [n](int sum) { return (sum + n / 2) / n; };
    return qRgb(mean(r), mean(g), mean(b));
}

ProvincePixelEdit planInsert(const MapDocument& doc, const QImage& picture, QPoint spot) {
    if (doc.ProvinceCount >= kMaxProvince)
        return refused(QStringLiteral("The map has %1 provinces, as many as a map can hold.").arg(kMaxProvince));
    if (QString why = spotRefusal(picture, spot); !why.isEmpty()) return refused(why);
    ProvincePixelEdit e;
    e.before = PlacesOf(doc);
    e.after = e.before;
    e.after.push_back(placeOfPixel(spot));
    e.pixels.push_back({spot.x(), spot.y(), picture.pixel(spot) & kWhite, kWhite});
    renumber(e);
    e.province = e.renumbering.added.empty() ? 0 : e.renumbering.added.front();
    return e;
}

ProvincePixelEdit planRemove(const MapDocument& doc, const QImage& picture, int province) {
    if (!validProvince(doc, province)) return refused(QStringLiteral("Select the province to remove first."));
    ProvincePixelEdit e;
    e.before = PlacesOf(doc);
    const QPoint pixel = pixelOfPlace(e.before[province - 1]);
    if (!isWhite(picture, pixel)) return refused(QStringLiteral("The province's pixel is not white on the picture."));
    e.after = e.before;
    e.after.erase(e.after.begin() + (province - 1));
    e.pixels.push_back({pixel.x(), pixel.y(), kWhite, surroundingColour(picture, pixel) & kWhite});
    renumber(e);
    e.province = province;
    return e;
}

ProvincePixelEdit planMove(const MapDocument& doc, const QImage& picture, int province, QPoint spot) {
    if (!validProvince(doc, province)) return refused(QStringLiteral("Select the province to move first."));
    const std::vector<ProvincePlace> places = PlacesOf(doc);
    const QPoint from = pixelOfPlace(places[province - 1]);
    if (spot == from) return refused(QStringLiteral("The province already stands there."));
    if (QString why = spotRefusal(picture, spot, from); !why.isEmpty()) return refused(why);
    ProvincePixelEdit e;
    e.before = places;
    e.after = places;
    e.after[province - 1] = placeOfPixel(spot);
    // The old pixel takes the colour around it before the new one is set, so the new white pixel
    // never counts into it.
    e.pixels.push_back({from.x(), from.y(), kWhite, surroundingColour(picture, from) & kWhite});
    e.pixels.push_back({spot.x(), spot.y(), picture.pixel(spot) & kWhite, kWhite});
    renumber(e, province);
    return e;
}

} // namespace ts
