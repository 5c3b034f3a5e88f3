#pragma once

#include "referencedata.h"

#include <QString>
#include <vector>

namespace ts {

// What the panels and finders show from the reference tables, built once after loading so the
// windows only bind them. Each list has its entries (shown text, item value) and the position
// selected at start-up; -1 means nothing is selected.
struct ReferenceLists {
    struct ListEntry {
        QString text;
        int value;
    };

    // Map header panel: "Standard" .. "VPs (cumulative)", value = position.
    std::vector<ListEntry> victoryConditions;
    int victoryConditionsSelected = 0;
    // cboOwner: "None" (-1), then era + " " + name of each named nation, value = nation number.
    std::vector<ListEntry> owners;
    int ownersSelected = 0;
    // cboPopType: "None" (0), then each named population type 1..99, value = number.
    std::vector<ListEntry> popTypes;
    int popTypesSelected = -1;
    // lstForts: "none" (-1), then every fort slot 1..43, loaded or not, value = number.
    std::vector<ListEntry> forts;
    int fortsSelected = 0;
    // cboFeature: "None" (0), then sites 1..749 with a number above 0, value = slot.
    std::vector<ListEntry> siteFinderSites;
    int siteFinderSitesSelected = 0;
    // cboItem: "No Item" (-1), then every item slot 0..349, empty ones too, value = number.
    std::vector<ListEntry> itemFinderItems;
    int itemFinderItemsSelected = -1;
    // cboUnitFound: "None" (0), then units 1..2999 with a number above 0, value = slot.
    std::vector<ListEntry> unitFinderUnits;
    int unitFinderUnitsSelected = 0;

    // The finders' fixed word lists. The value is the position, except in the size and level
    // lists (" 1" .. " 6"), where it is the number shown. Position 0 is selected, so a filter
    // that is ticked always has a choice to test.
    std::vector<ListEntry> unitGod; // cboUGod
    int unitGodSelected = 0;
    std::vector<ListEntry> unitSize; // cboUSize
    int unitSizeSelected = 0;
    std::vector<ListEntry> unitMagic; // cboUMagic
    int unitMagicSelected = 0;
    std::vector<ListEntry> unitRandomMagic; // cboURMagic
    int unitRandomMagicSelected = 0;
    std::vector<ListEntry> unitLeader; // cboULead
    int unitLeaderSelected = 0;
    std::vector<ListEntry> unitCommanderType; // cboUCType
    int unitCommanderTypeSelected = 0;
    std::vector<ListEntry> unitStealth; // cboUStealth
    int unitStealthSelected = 0;
    std::vector<ListEntry> unitResist; // cboUResist
    int unitResistSelected = 0;
    std::vector<ListEntry> unitMisc; // cboUMisc
    int unitMiscSelected = 0;
    std::vector<ListEntry> unitSurvival; // cboUSurvival
    int unitSurvivalSelected = 0;
    std::vector<ListEntry> unitMove; // cboUMove
    int unitMoveSelected = 0;
    std::vector<ListEntry> unitHero; // cboUHero
    int unitHeroSelected = 0;

    std::vector<ListEntry> siteTerrain; // cboSTerrain
    int siteTerrainSelected = 0;
    std::vector<ListEntry> siteType; // cboSType
    int siteTypeSelected = 0;
    std::vector<ListEntry> siteGems; // cboSGems
    int siteGemsSelected = 0;
    std::vector<ListEntry> siteStructure; // cboSStruct
    int siteStructureSelected = 0;

    std::vector<ListEntry> itemCategory; // cboItemCategory
    int itemCategorySelected = 0;
    std::vector<ListEntry> itemPath1; // cboIP1
    int itemPath1Selected = 0;
    std::vector<ListEntry> itemLevel1; // cboIL1
    int itemLevel1Selected = 0;
    std::vector<ListEntry> itemPath2; // cboIP2
    int itemPath2Selected = 0;
    std::vector<ListEntry> itemLevel2; // cboIL2
    int itemLevel2Selected = 0;
};

ReferenceLists BuildReferenceLists(const ReferenceData& ref);

} // namespace ts
