// Any bytes as a map picture: an SGI file when they start with its magic number, a Targa otherwise.
// A picture that decodes is also scanned for provinces, as opening a map does next.
#include "fuzzsupport.h"
#include "imagedecoder.h"
#include "mapdocument.h"
#include "provincelocator.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ts::fuzz::QuietUserInterface ui;
    static auto* doc = new ts::MapDocument;
    const bool sgi = size >= 2 && data[0] == 0x01 && data[1] == 0xDA;
    const QString path =
        ts::fuzz::writeScratch(sgi ? QStringLiteral("input.rgb") : QStringLiteral("input.tga"), data, size);
    const ts::DecodedImage decoded = ts::decodeMapImage(path, sgi);
    if (decoded.ok()) ts::z_LocateProvinces(decoded.image, *doc, ui, QString());
    return 0;
}
