#include "fakeuserinterface.h"
#include "imagedecoder.h"
#include "mapdocument.h"
#include "mapgeometry.h"
#include "neighbourguess.h"
#include "provincelocator.h"
#include "regionguess.h"
#include "tempfolder.h"

#include <QFile>
#include <QImage>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// Progress goes nowhere: the work itself is what is measured.
class SilentUserInterface : public ts::FakeUserInterface {
  public:
    void busyMessage(const QString&, const QString&, ts::Color) override {}
    void processEvents() override {}
};

// The stress map: 4000 x 3000, 53 x 50 cells of 75 x 60 pixels with 3-pixel red and blue borders,
// one white pixel in each of the first 2599 cells, a little off centre so rows are not all alike.
const QImage& stressMap() {
    static const QImage picture = [] {
        QImage image(4000, 3000, QImage::Format_RGB32);
        image.fill(qRgb(40, 110, 60));
        for (int x = 75; x < 4000; x += 75)
            for (int y = 0; y < 3000; ++y)
                for (int t = 0; t < 3; ++t)
                    image.setPixel(x + t - 1, y, qRgb(255, 0, 0));
        for (int y = 60; y < 3000; y += 60)
            for (int x = 0; x < 4000; ++x)
                for (int t = 0; t < 3; ++t)
                    image.setPixel(x, y + t - 1, qRgb(0, 0, 255));
        int placed = 0;
        for (int row = 0; row < 50 && placed < ts::kMaxProvince; ++row)
            for (int col = 0; col < 53 && placed < ts::kMaxProvince; ++col, ++placed)
                image.setPixel(col * 75 + 30 + (row * 7) % 15, row * 60 + 25 + (col * 5) % 11,
                               qRgb(255, 255, 255));
        return image;
    }();
    return picture;
}

// An uncompressed 24-bit Targa, bottom row first, as map makers save them.
QString writeStressTarga(const ts::TempFolder& folder) {
    const QImage& image = stressMap();
    QByteArray bytes(18, '\0');
    bytes[2] = 2;
    bytes[12] = static_cast<char>(image.width() & 0xFF);
    bytes[13] = static_cast<char>(image.width() >> 8);
    bytes[14] = static_cast<char>(image.height() & 0xFF);
    bytes[15] = static_cast<char>(image.height() >> 8);
    bytes[16] = 24;
    bytes.reserve(18 + image.width() * image.height() * 3);
    for (int y = image.height() - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            bytes.append(static_cast<char>(qBlue(row[x])));
            bytes.append(static_cast<char>(qGreen(row[x])));
            bytes.append(static_cast<char>(qRed(row[x])));
        }
    }
    return folder.write(QStringLiteral("stress.tga"), std::string_view(bytes.constData(), bytes.size()));
}

void BM_DecodeAndLocate(benchmark::State& state) {
    ts::TempFolder folder;
    const QString path = writeStressTarga(folder);
    auto doc = std::make_unique<ts::MapDocument>();
    SilentUserInterface ui;
    for (auto _ : state) {
        const ts::DecodedImage decoded = ts::decodeMapImage(path, false);
        benchmark::DoNotOptimize(ts::z_LocateProvinces(decoded.image, *doc, ui, QString()));
    }
    if (doc->ProvinceCount != ts::kMaxProvince) state.SkipWithError("stress map lost provinces");
}
BENCHMARK(BM_DecodeAndLocate)->Unit(benchmark::kMillisecond);

void BM_LocateProvinces(benchmark::State& state) {
    const QImage& image = stressMap();
    auto doc = std::make_unique<ts::MapDocument>();
    SilentUserInterface ui;
    for (auto _ : state)
        benchmark::DoNotOptimize(ts::z_LocateProvinces(image, *doc, ui, QString()));
    state.counters["provinces"] = doc->ProvinceCount;
}
BENCHMARK(BM_LocateProvinces)->Unit(benchmark::kMillisecond);

void BM_ZoomRedraw(benchmark::State& state) {
    const QImage& source = stressMap();
    const float zoom = ts::zoomScaleForIndex(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(ts::redrawAtZoom(source, zoom));
    state.counters["zoom_percent"] = zoom * 100.0f;
}
BENCHMARK(BM_ZoomRedraw)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void BM_GuessNeighbours(benchmark::State& state) {
    auto doc = std::make_unique<ts::MapDocument>();
    SilentUserInterface ui;
    ts::z_LocateProvinces(stressMap(), *doc, ui, QString());
    const float zoom = ts::zoomScaleForIndex(static_cast<int>(state.range(0)));
    const QImage shown = ts::redrawAtZoom(stressMap(), zoom);
    int pairs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QImage picture = shown.copy(); // the guess draws its lines into the picture
        state.ResumeTiming();
        pairs = ts::z_Guess_Neighbors(*doc, picture, zoom, ui);
    }
    state.counters["pairs"] = pairs;
}
BENCHMARK(BM_GuessNeighbours)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

// Find Neighbors (Regions) on borderless painted art as large as the stress map: the painted style
// map stretched to 4000 x 3000, where the regions follow the coast, the lakes and the straits.
void BM_GuessRegionsBorderless(benchmark::State& state) {
    const ts::DecodedImage decoded =
        ts::decodeMapImage(QStringLiteral(TESSARY_PROGRAM_DIR "/maps/style_painted.tga"), false);
    if (!decoded.ok()) {
        state.SkipWithError("the style maps are not beside the program");
        return;
    }
    auto doc = std::make_unique<ts::MapDocument>();
    SilentUserInterface ui;
    ts::z_LocateProvinces(decoded.image, *doc, ui, QString());
    const QImage picture = decoded.image.scaled(4000, 3000);
    std::vector<QPoint> at = ts::provincePixels(*doc);
    for (QPoint& p : at)
        p = QPoint(p.x() * 4000 / decoded.image.width(), p.y() * 3000 / decoded.image.height());
    std::size_t pairs = 0;
    for (auto _ : state)
        pairs = ts::guessRegions(picture, at, false).pairs.size();
    state.counters["pairs"] = static_cast<double>(pairs);
}
BENCHMARK(BM_GuessRegionsBorderless)->Unit(benchmark::kMillisecond);

} // namespace
