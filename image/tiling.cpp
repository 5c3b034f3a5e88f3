#include "tiling.h"

#include <QColor>
#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

namespace ts {

namespace {

constexpr int kMinTile = 8, kMaxTile = 64;
// Tile edges change colour this many times more, on average, than the picture does elsewhere.
constexpr double kTileContrast = 2.0;

// The period and phase of the strong changes along one direction, from the change summed over each
// line between two columns (or rows). A period's multiples fit as well as it does, so the
// shortest period that fits about as well as the best one is taken; a period of a few pixels is a
// picture scaled up pixel by pixel, not tiles.
TileRun tileRun(const std::vector<double>& change) {
    const int n = static_cast<int>(change.size());
    if (n < 3 * kMaxTile) return {};
    double total = 0;
    for (const double c : change)
        total += c;
    const double mean = total / n;
    if (mean <= 0) return {};
    std::vector<std::pair<double, TileRun>> fits;
    double best = 0;
    for (int size = 2; size <= kMaxTile; ++size)
        for (int offset = 0; offset < size; ++offset) {
            double sum = 0;
            int count = 0;
            for (int at = offset > 0 ? offset : size; at < n; at += size) // nothing changes before the first line
                sum += change[static_cast<std::size_t>(at)], ++count;
            const double fit = sum / count / mean;
            best = std::max(best, fit);
            fits.push_back({fit, {size, offset}});
        }
    if (best < kTileContrast) return {};
    for (const auto& [fit, run] : fits)
        if (fit >= 0.9 * best) return run.size >= kMinTile ? run : TileRun{};
    return {};
}

} // namespace

Tiling tilingOf(const QImage& picture, int step) {
    const int w = picture.width(), h = picture.height();
    std::vector<double> across(static_cast<std::size_t>(w), 0), down(static_cast<std::size_t>(h), 0);
    const auto change = [](quint32 a, quint32 b) {
        return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
    };
    for (int y = 1; y < h; ++y) {
        const auto* row = reinterpret_cast<const quint32*>(picture.constScanLine(y));
        const auto* above = reinterpret_cast<const quint32*>(picture.constScanLine(y - 1));
        if (y % step == 0)
            for (int x = 1; x < w; ++x)
                across[static_cast<std::size_t>(x)] += change(row[x], row[x - 1]);
        double rowChange = 0;
        for (int x = 1; x < w; x += step)
            rowChange += change(row[x], above[x]);
        down[static_cast<std::size_t>(y)] = rowChange;
    }
    return {tileRun(across), tileRun(down)};
}

} // namespace ts
