// Any bytes as a province template file: read value by value, and when it reads, written again and
// merged into a province.
#include "templates.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto* doc = new ts::MapDocument;
    auto tpl = std::make_unique<ts::ProvinceDataType>();
    std::string error;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!ts::ParseTemplateText(bytes, *tpl, error)) {
        if (error.empty()) std::abort(); // a refusal always says why
        return 0;
    }
    // What was read writes out to text that reads back to itself.
    const std::string text = ts::TemplateText(*tpl);
    auto again = std::make_unique<ts::ProvinceDataType>();
    if (!ts::ParseTemplateText(text, *again, error) || ts::TemplateText(*again) != text) std::abort();
    doc->Provinces[7] = ts::ProvinceDataType();
    ts::MergeTemplate(*doc, 7, *tpl);
    return 0;
}
