#pragma once

#include "renderoptions.h"
#include "settings.h"

#include <QImage>
#include <vector>

namespace ts {

struct MapDocument;
struct RegionMap;


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

// The picture (at 100%) with the shares overlay blended over it, stretched to its size, and each
// start's marker filled with its share's colour.
QImage shadedPicture(const MapDocument& doc, const Settings& settings, const QImage& picture, const QImage& overlay,
                     const std::vector<int>& startProvinces, const std::vector<Color>& startColors);

// The source picture with the shares shaded as shadedPicture does, no wider than the page of a
// report, as PNG.
QByteArray sharesPagePng(const MapDocument& doc, const Settings& settings, const QImage& source, const RegionMap& regions,
                         const std::vector<int>& nearestStart, const std::vector<int>& startProvinces,
                         const std::vector<Color>& startColors);

// Writes the picture as PNG through a temporary file beside path, so a failed write leaves the
// old file; returns why it failed, or "" when written.
QString savePicture(const QImage& picture, const QString& path);

} // namespace ts
