#include "referencelists.h"

#include "cp1252.h"

#include <initializer_list>
#include <string>

namespace ts {

namespace {

using Entries = std::vector<ReferenceLists::ListEntry>;

Entries words(std::initializer_list<const char*> texts) {
    Entries out;
    out.reserve(texts.size());
    int position = 0;
    for (const char* t : texts)
        out.push_back({QString::fromLatin1(t), position++});
    return out;
}

// The size and level lists show each number behind a blank, as the game's own lists do.
Entries numbersOneToSix() {
    Entries out;
    for (int n = 1; n <= 6; ++n)
        out.push_back({QStringLiteral(" %1").arg(n), n});
    return out;
}

const std::initializer_list<const char*> kPathWords = {"Fire",  "Air",    "Water", "Earth", "Astral",
                                                       "Death", "Nature", "Blood", "Holy"};

// Positions matter: the unit finder maps each position to its unit column.
const std::initializer_list<const char*> kAbilityWords = {"DarkVision",
                                                          "Regenerate",
                                                          "Forge",
                                                          "Heal",
                                                          "Alchemy",
                                                          "Luck",
                                                          "Insane",
                                                          "Standard",
                                                          "Awe",
                                                          "Fear",
                                                          "Berserk",
                                                          "Chill",
                                                          "Heat",
                                                          "Fire Shield",
                                                          "Banefire Shield",
                                                          "Blood Veng",
                                                          "Disease Cloud",
                                                          "Poison Cloud",
                                                          "Ice Armor",
                                                          "Pillage",
                                                          "Patrol",
                                                          "Castle Def",
                                                          "Siege",
                                                          "Supply",
                                                          "Sage",
                                                          "Blood Hunt",
                                                          "Void Summ",
                                                          "Cold Blooded",
                                                          "Ethereal",
                                                          "True Ethereal",
                                                          "Trample",
                                                          "Blind",
                                                          "Recuperation",
                                                          "Immortal",
                                                          "Mindless",
                                                          "Lifeless",
                                                          "No Eat",
                                                          "No Heal",
                                                          "Poison Armor",
                                                          "Seduce",
                                                          "Succubus",
                                                          "Petrify",
                                                          "Eyeloss",
                                                          "Inquisitor",
                                                          "Winter Strength",
                                                          "Spring Strength",
                                                          "Summer Strength",
                                                          "Fall Strength",
                                                          "Reanimate",
                                                          "Summons Other",
                                                          "Shape Changer"};

void fillFixedWordLists(ReferenceLists& lists) {
    lists.unitGod = words({"Not", "Is"});
    lists.unitSize = numbersOneToSix();
    lists.unitMagic = words(kPathWords);
    lists.unitRandomMagic = words(kPathWords);
    lists.unitLeader = words({"Normal", "Magic", "Undead"});
    lists.unitCommanderType = words({"Normal", "Undead", "Demon", "Magic being", "Animal"});
    lists.unitStealth = words({"None", "Spy", "Assassin", "Glamour", "Stealthy"});
    lists.unitResist = words({"Fire", "Cold", "Lightning", "Poison"});
    lists.unitMisc = words(kAbilityWords);
    lists.unitSurvival = words({"Forest", "Mountain", "Waste", "Swamp"});
    lists.unitMove = words({"Aquatic", "Amphibian", "Poor Amphi", "Flying", "Stormflyer", "Sailing"});
    lists.unitHero = words({"Not", "Is"});

    lists.siteTerrain = words({"Plains", "Forest", "Mountain", "Waste", "Farm", "Sea", "Coast", "Swamp",
                               "DeepSea", "Cave", "Unique"});
    lists.siteType = words(kPathWords);
    lists.siteGems = words({"Fire", "Air", "Water", "Earth", "Astral", "Death", "Nature", "Blood"});
    lists.siteStructure = words({"Lab", "Fort"});

    lists.itemCategory = words({"None", "1-h wpn", "2-h wpn", "shield", "helm", "armor", "boots", "misc"});
    lists.itemPath1 = words({"F", "A", "W", "E", "S", "D", "N", "B"});
    lists.itemLevel1 = numbersOneToSix();
    lists.itemPath2 = lists.itemPath1;
    lists.itemLevel2 = numbersOneToSix();
}

} // namespace

ReferenceLists BuildReferenceLists(const ReferenceData& ref) {
    ReferenceLists lists;

    lists.victoryConditions =
        words({"Standard", "Victory Points", "Dominion", "Provinces", "Research", "VPs (cumulative)"});

    lists.owners.push_back({QStringLiteral("None"), -1});
    for (const NationRefType& n : ref.NationData)
        if (!n.name.empty()) lists.owners.push_back({fromCp1252(n.era + " " + n.name), n.number});

    lists.popTypes.push_back({QStringLiteral("None"), 0});
    for (int i = 1; i < kPopSlots; ++i)
        if (!ref.PopData[i].name.empty())
            lists.popTypes.push_back({fromCp1252(ref.PopData[i].name), ref.PopData[i].number});

    lists.forts.push_back({QStringLiteral("none"), -1});
    for (int i = 1; i < kFortSlots; ++i)
        lists.forts.push_back({fromCp1252(ref.FortData[i].name), ref.FortData[i].number});

    lists.siteFinderSites.push_back({QStringLiteral("None"), 0});
    for (int i = 1; i < kSiteSlots; ++i)
        if (ref.SiteData[i].number > 0)
            lists.siteFinderSites.push_back({fromCp1252(ref.SiteData[i].name), i});

    lists.itemFinderItems.reserve(kItemSlots + 1);
    lists.itemFinderItems.push_back({QStringLiteral("No Item"), -1});
    for (const ItemDataType& item : ref.ItemData)
        lists.itemFinderItems.push_back({fromCp1252(item.name), item.number});

    lists.unitFinderUnits.push_back({QStringLiteral("None"), 0});
    for (int i = 1; i < kUnitSlots; ++i)
        if (ref.UnitData[i].number > 0)
            lists.unitFinderUnits.push_back({fromCp1252(ref.UnitData[i].name), i});

    fillFixedWordLists(lists);
    return lists;
}

} // namespace ts
