#pragma once

#include "settings.h"

#include <QImage>
#include <vector>

namespace ts {

struct MapDocument;
struct RegionMap;

// What a picture of the map shows over the map image.
struct RenderOptions {
    double scale = 1.0;   // kMinRenderScale..kMaxRenderScale
    bool numbers = false; // province numbers, in the map's name colour
    bool names = false;   // province names, likewise
    bool links = false;   // every neighbour link, in the view's colour and width
    bool starts = false;  // start, no-start and special-start markers, special starts with the nation
};
inline constexpr double kMinRenderScale = 0.25;
inline constexpr double kMaxRenderScale = 2.0;

// A picture of the map to share: the source scaled (as the view scales it) with what options ask
// for drawn over it in the view's own look. Needs a QGuiApplication when numbers, names or
// starts are asked for (text is drawn); the rest is pure pixels.
QImage renderMapPicture(const MapDocument& doc, const Settings& settings, const QImage& source,
                        const RenderOptions& options);

// The share of every start laid over regions: one pixel per region cell, each province in
// startColors[its nearest start] (nearestStart by province, as the map report partitions the map),
// where two shares meet darker, provinces tied between starts grey, the others clear.
QImage sharesOverlay(const RegionMap& regions, const std::vector<int>& nearestStart,
                     const std::vector<Color>& startColors);

// The picture with the shares overlay blended over it, stretched to its size.
QImage shadedPicture(const QImage& picture, const QImage& overlay);

} // namespace ts
