#pragma once

#include <QImage>

namespace ts {

// The tiles of tile art, across or down: the picture changes colour sharply at every tile's edge
// and only here and there inside it. A tile starts at offset and at every size pixels from there.
struct TileRun {
    int size = 0, offset = 0; // no tiles when size is 0
};
struct Tiling {
    TileRun across, down;
    bool isTiled() const { return across.size > 0 && down.size > 0; }
};

// The tile grid of an RGB32 or ARGB32 picture; no tiles when the picture is not tile art. With a
// step above 1 only every step-th row and column is read, which finds the same grid in less time
// when the picture holds many tiles.
Tiling tilingOf(const QImage& picture, int step = 1);

} // namespace ts
