// Any bytes as a script, run over three provinces that hold a little of everything a script tests
// and changes: the run always ends, and what it leaves fits the records' limits.
#include "fuzzsupport.h"
#include "mapdocument.h"
#include "referencedata.h"
#include "scriptprocess.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto* ref = [] {
        auto* r = new ts::ReferenceData;
        r->UnitData[12].number = 12;
        r->UnitData[12].name = "Warlord";
        r->SiteData[7].number = 7;
        r->SiteData[7].name = "Iron Mine";
        return r;
    }();
    static auto* start = [] {
        auto* p = new ts::ProvinceDataType;
        p->LandName = "Stonefield";
        p->Owner = 5;
        p->SiteIndex[0] = 7;
        p->SiteName[0] = "Iron Mine";
        p->Commanders[3].UnitName = "Warlord";
        p->Commanders[3].UnitIndex = 12;
        p->Commanders[3].Items[1] = "Sword";
        p->CommanderCount = 1;
        return p;
    }();
    static auto* doc = new ts::MapDocument;
    static ts::fuzz::QuietUserInterface ui;
    doc->ProvinceCount = 3;
    for (int p = 1; p <= 3; ++p) doc->Provinces[p] = *start;
    doc->CurProvince = 2;

    ts::RunScript(*doc, *ref, ui, std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.tss");
    for (int p = 1; p <= 3; ++p)
        if (doc->Provinces[p].CommanderCount > 39) std::abort(); // comtype adds only into a free slot
    return 0;
}
