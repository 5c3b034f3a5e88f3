// Any bytes as a map file: the reader splits them into command lines and the parser fills the
// document. The picture step is left out; the image decoder has a target of its own. Inputs of even
// length are read keeping what the parser does not understand, and then written, so that the kept
// lines of every record pass through the writer too.
#include "fuzzsupport.h"
#include "mapdocument.h"
#include "mapreader.h"
#include "mapwriter.h"
#include "referenceloader.h"

#include <algorithm>
#include <bitset>
#include <cstdlib>
#include <memory>

namespace {

// The sample tables, so that unit, site and item names in an input can be found.
const ts::ReferenceData& sampleTables(ts::UserInterface& ui) {
    static const auto ref = [&ui] {
        auto r = std::make_unique<ts::ReferenceData>();
        ts::ReferenceLists lists;
        if (!ts::LoadReferenceData(*r, lists, QStringLiteral(TESSARY_DATA_DIR), ui)) std::abort();
        return r;
    }();
    return *ref;
}

// Every province number written in the input: a province record can only change through one.
std::bitset<ts::kProvinceSlots> namedProvinces(const std::uint8_t* data, std::size_t size) {
    std::bitset<ts::kProvinceSlots> named;
    named.set(0);
    for (std::size_t k = 0; k < size;) {
        if (data[k] < '0' || data[k] > '9') {
            ++k;
            continue;
        }
        long value = 0;
        for (; k < size && data[k] >= '0' && data[k] <= '9'; ++k)
            value = std::min(value * 10 + (data[k] - '0'), long{ts::kProvinceSlots});
        if (value < ts::kProvinceSlots) named.set(static_cast<std::size_t>(value));
    }
    return named;
}

// Puts the document back as a reset leaves it. Resetting all 2600 province records for every input
// held the fuzzer to a dozen inputs a second, so only the named ones are put back, together with
// the header and the nations; the reader resets the rest itself.
void restore(ts::MapDocument& doc, const ts::MapDocument& clean,
             const std::bitset<ts::kProvinceSlots>& named) {
    for (int p = 0; p < ts::kProvinceSlots; ++p)
        if (named.test(static_cast<std::size_t>(p))) doc.Provinces[p] = ts::ProvinceDataType{};
    std::copy(std::begin(clean.Nations), std::end(clean.Nations), std::begin(doc.Nations));
    ResetMapHeader(doc);
    doc.InsideCastle = clean.InsideCastle;
    doc.ErrorLog.clear();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ts::fuzz::QuietUserInterface ui;
    static const ts::ReferenceData& ref = sampleTables(ui);
    static auto* clean = [] {
        auto* d = new ts::MapDocument;
        ts::ResetMapDocument(*d, ref, ui);
        return d;
    }();
    static auto* doc = [] {
        auto* d = new ts::MapDocument;
        ts::ResetMapDocument(*d, ref, ui);
        return d;
    }();
    const QString path = ts::fuzz::writeScratch(QStringLiteral("maps/input.map"), data, size);
    doc->KeepUnknown = size % 2 == 0;
    ts::z_ReadMapFile(*doc, ref, ui, path);
    if (doc->KeepUnknown) ts::MapFileText(*doc, ref);
    restore(*doc, *clean, namedProvinces(data, size));
    return 0;
}
