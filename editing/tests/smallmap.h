#pragma once

#include "mapdocument.h"
#include "referencedata.h"

#include <memory>

namespace ts::editingtest {

// A small map: two provinces and four nations, enough for every kind of navigator node.
//   1 "Gath": fort 2, temple, lab, sites 0 and 2, known site 1, nation 5's god in slot 0, a commander in slot
//   3 2 unnamed and empty
// Nations: 5 early (god "Wyrm", special start 1), 10 mid, 20 late, 30 with an era the game does not know.
struct SmallMap {
    std::unique_ptr<MapDocument> doc = std::make_unique<MapDocument>();
    std::unique_ptr<ReferenceData> ref = std::make_unique<ReferenceData>();

    SmallMap() {
        ref->NationData[5] = {"EA", 5, "", "Valdren"};
        ref->NationData[10] = {"MA", 10, "", "Osk"};
        ref->NationData[20] = {"LA", 20, "", "Tirn"};
        ref->NationData[30] = {"XX", 30, "", "Nowhere"};
        ref->FortData[2] = {2, "Palisade"};

        doc->ProvinceCount = 2;
        ProvinceDataType& p1 = doc->Provinces[1];
        p1.LandName = "Gath";
        p1.Fort = 2;
        p1.Temple = true;
        p1.Lab = true;
        p1.SiteName[0] = "Iron Mine";
        p1.SiteName[2] = "Forest of Ash";
        p1.KnownSiteName[1] = "Hidden Grove";
        p1.Commanders[3].UnitName = "Warlord";

        NationDataType& valdren = doc->Nations[5];
        valdren.SpecStartProvince = 1;
        valdren.GodName = valdren.God.UnitName = "Wyrm";
        valdren.GodIndex = 7;
        PlaceGodsAtStarts(*doc);
    }
};

} // namespace ts::editingtest
