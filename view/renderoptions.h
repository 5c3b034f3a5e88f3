#pragma once

namespace ts {

// What a picture of the map shows over the map image (see maprender.h). Kept apart, free of any
// toolkit header, for tessary-cli, which reads the options without the picture support.
struct RenderOptions {
    double scale = 1.0;   // kMinRenderScale..kMaxRenderScale
    bool numbers = false; // province numbers, in the map's name colour
    bool names = false;   // province names, likewise
    bool links = false;   // every neighbour link, in the view's colour and width
    bool starts = false;  // start, no-start and special-start markers, special starts with the nation
};
inline constexpr double kMinRenderScale = 0.25;
inline constexpr double kMaxRenderScale = 2.0;

} // namespace ts
