// Any bytes as a name file: read, tested against a province's terrain and a commander, and names
// drawn from it with every kind of draw.
#include "mapdocument.h"
#include "randomnames.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto* doc = [] {
        auto* d = new ts::MapDocument;
        d->Provinces[1].TerrainBit[2] = d->Provinces[1].TerrainBit[11] = true;
        d->Provinces[2].TerrainPlain = true;
        return d;
    }();
    std::string error;
    const auto file = ts::ParseNameFile(std::string_view(reinterpret_cast<const char*>(data), size), error);
    if (!file) {
        if (error.empty()) std::abort(); // a refusal always says why
        return 0;
    }
    for (int p = 1; p <= 2; ++p) ts::NameFileQualifies(file->tags, "PROVINCE", *doc, p);
    ts::NameFileQualifies(file->tags, "COMMANDER", *doc, 0);
    // The first row, the last row, a middle one and ties all come out of these draws.
    for (const double u : {0.0, 0.125, 0.5, 0.999999999}) {
        const QString name = ts::BuildName(*file, [u] { return u; });
        (void)name;
    }
    return 0;
}
