#pragma once

#include "fakeuserinterface.h"
#include "lookups.h"
#include "mapdocument.h"
#include "referencedata.h"
#include "tempfolder.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace ts::testing {

// A reset document with small tables: units and sites 1..300 are "Unit n" and "Site n", except unit
// 55 "Pale King" and site 12 "Well of Ash"; every other slot holds the empty marker, as after a load.
struct DocumentTest : ::testing::Test {
    std::unique_ptr<MapDocument> doc = std::make_unique<MapDocument>();
    std::unique_ptr<ReferenceData> ref = std::make_unique<ReferenceData>();
    FakeUserInterface ui;
    TempFolder folder;

    DocumentTest() {
        for (int n = 0; n < kUnitSlots; ++n)
            ref->UnitData[n].number = n <= 300 ? static_cast<std::int16_t>(n) : kEmptyMarker;
        for (int n = 0; n < kSiteSlots; ++n)
            ref->SiteData[n].number = n <= 300 ? static_cast<std::int16_t>(n) : kEmptyMarker;
        for (int n = 1; n <= 300; ++n) {
            ref->UnitData[n].name = "Unit " + std::to_string(n);
            ref->SiteData[n].name = "Site " + std::to_string(n);
        }
        ref->UnitData[55].name = "Pale King";
        ref->SiteData[12].name = "Well of Ash";
        resetWithTables();
    }
    // After a change to the tables: the lookups and the nation names follow them.
    void resetWithTables() {
        BuildLookupIndex(*ref);
        ResetMapDocument(*doc, *ref, ui);
        ui = FakeUserInterface{};
    }
    ProvinceDataType& prov(int p) { return doc->Provinces[p]; }
    // The error lines logged so far, without the log's two header lines and the line ends.
    std::vector<std::string> errors() const {
        std::vector<std::string> out;
        const std::string& log = doc->ErrorLog;
        for (std::size_t pos = 0, end; (end = log.find("\r\n", pos)) != std::string::npos; pos = end + 2)
            out.push_back(log.substr(pos, end - pos));
        if (out.size() >= 2 && out[0] == "Map error log for: ") out.erase(out.begin(), out.begin() + 2);
        return out;
    }
};

} // namespace ts::testing
