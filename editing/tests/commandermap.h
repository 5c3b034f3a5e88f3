#pragma once

#include "mapdocument.h"
#include "referencedata.h"

#include <memory>

namespace ts::editingtest {

// Twelve provinces for the commander, site and clipboard rules:
//   1: special start of nation 5 (early), whose god "Wyrm" (unit 7) has a name, fire 3 and a bodyguard
//   5: commander "Warlord" (unit 12) in slot 3 with a bodyguard stack, a unit stack and an item;
//      site "Iron Mine" (100) in slot 0
//   9: nothing
// Nation 10 (mid) has a god "Lich" (unit 8) and no start.
struct CommanderMap {
    std::unique_ptr<MapDocument> doc = std::make_unique<MapDocument>();
    std::unique_ptr<ReferenceData> ref = std::make_unique<ReferenceData>();

    static CommanderDataType warlord() {
        CommanderDataType c;
        c.UnitName = "Warlord";
        c.UnitIndex = 12;
        c.ComName = "Aldo";
        c.BodyguardName[0] = "Spearman";
        c.BodyguardIndex[0] = 20;
        c.BodyguardCount[0] = 5;
        c.UnitsName[0] = "Archer";
        c.UnitsIndex[0] = 21;
        c.UnitsCount[0] = 10;
        c.Items[0] = "Sword";
        c.MagAir = 2;
        return c;
    }

    CommanderMap() {
        ref->NationData[5] = {"EA", 5, "", "Valdren"};
        ref->NationData[10] = {"MA", 10, "", "Osk"};
        const std::pair<int, const char*> units[] = {{7, "Wyrm"},     {8, "Lich"},    {12, "Warlord"},
                                                     {13, "Sorceress"}, {20, "Spearman"}, {21, "Archer"}};
        for (const auto& [n, name] : units) {
            ref->UnitData[n].number = static_cast<std::int16_t>(n);
            ref->UnitData[n].name = name;
        }
        for (const auto& [n, name, type] : {std::tuple{100, "Iron Mine", "Earth"}, {101, "Fire Well", "Fire"}}) {
            ref->SiteData[n].number = static_cast<std::int16_t>(n);
            ref->SiteData[n].name = name;
            ref->SiteData[n].siteType = type;
        }
        ref->SiteData[100].gems[3] = 2;
        ref->SiteData[101].gems[0] = 1;
        ref->SiteData[101].gems[3] = kEmptyMarker;
        ref->SiteData[100].recruits[0] = 21;
        ref->SiteData[101].recruits[0] = 21;
        ref->SiteData[101].summons[0] = 13;

        doc->ProvinceCount = 12;
        NationDataType& valdren = doc->Nations[5];
        valdren.SpecStartProvince = 1;
        valdren.NationInUse = true;
        valdren.AllowedPlayer = true;
        valdren.GodName = valdren.God.UnitName = "Wyrm";
        valdren.GodIndex = valdren.God.UnitIndex = 7;
        valdren.God.ComName = "Old One";
        valdren.God.MagFire = 3;
        valdren.God.BodyguardName[0] = "Spearman";
        valdren.God.BodyguardIndex[0] = 20;
        valdren.God.BodyguardCount[0] = 2;
        doc->Provinces[1].SpecStart = true;
        doc->Provinces[1].SpecStartNation = 5;
        NationDataType& osk = doc->Nations[10];
        osk.GodName = osk.God.UnitName = "Lich";
        osk.GodIndex = osk.God.UnitIndex = 8;

        ProvinceDataType& p5 = doc->Provinces[5];
        p5.Commanders[3] = warlord();
        p5.CommanderCount = 1;
        p5.SiteName[0] = "Iron Mine";
        p5.SiteIndex[0] = 100;
        PlaceGodsAtStarts(*doc);
    }
};

} // namespace ts::editingtest
