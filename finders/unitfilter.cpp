#include "unitfilter.h"

#include <array>
#include <string_view>

namespace ts {

namespace {

using U = UnitDataType;

bool set(const std::string& flag) { return flag != kEmptyMarkerText; }

// One column per ability word; the last two words stand for several columns and are handled apart.
struct AbilityColumn {
    const std::string U::*flag = nullptr;
    std::int16_t U::*number = nullptr;
};

constexpr AbilityColumn text(const std::string U::*f) { return {f, nullptr}; }
constexpr AbilityColumn num(std::int16_t U::*n) { return {nullptr, n}; }

const std::array<AbilityColumn, kUnitAbilityWords - 2> kAbilityColumns = {{
    text(&U::darkVision),   text(&U::regeneration),   text(&U::forge),       text(&U::heal),
    text(&U::alchemy),      text(&U::luck),           text(&U::insane),      num(&U::standard),
    num(&U::awe),           num(&U::fear),            num(&U::berserk),      num(&U::chill),
    num(&U::heat),          num(&U::fireShield),      num(&U::banefireShield), num(&U::bloodVengeance),
    num(&U::diseaseCloud),  num(&U::poisonCloud),     text(&U::iceArmor),    num(&U::pillage),
    num(&U::patrol),        num(&U::castleDefence),   num(&U::siege),        num(&U::supply),
    num(&U::sage),          num(&U::bloodHunt),       num(&U::voidSummoning), text(&U::coldBlooded),
    text(&U::ethereal),     text(&U::trueEthereal),   text(&U::trample),     text(&U::blind),
    text(&U::recuperation), text(&U::immortal),       text(&U::mindless),    text(&U::lifeless),
    text(&U::noEat),        text(&U::noHeal),         text(&U::poisonArmor), text(&U::seduce),
    text(&U::succubus),     text(&U::petrify),        text(&U::eyeLoss),     text(&U::inquisitor),
    text(&U::winterStrength), text(&U::springStrength), text(&U::summerStrength), text(&U::fallStrength),
    text(&U::reanimator),
}};

bool anyNotEmpty(const U& u, std::initializer_list<std::int16_t U::*> columns) {
    for (auto c : columns)
        if (u.*c != kEmptyMarker) return true;
    return false;
}

bool hasAbility(const U& u, int position) {
    if (position == kUnitAbilityWords - 2)
        return anyNotEmpty(u, {&U::summon, &U::autoSummon, &U::battleSummon, &U::domSummon});
    if (position == kUnitAbilityWords - 1)
        return anyNotEmpty(u, {&U::shapeChange, &U::firstShape, &U::secondShape, &U::secondShapeTemporary,
                               &U::landShape, &U::seaShape});
    if (position < 0 || position >= static_cast<int>(kAbilityColumns.size())) return false;
    const AbilityColumn& c = kAbilityColumns[static_cast<std::size_t>(position)];
    return c.flag ? set(u.*(c.flag)) : u.*(c.number) != kEmptyMarker;
}

constexpr std::string_view kPathLetters = "FAWESDNBH";

bool hasRandomPath(const U& u, int position) {
    if (position < 0 || position >= static_cast<int>(kPathLetters.size())) return false;
    const char letter = kPathLetters[static_cast<std::size_t>(position)];
    for (int k = 0; k < 4; ++k)
        if (u.randomPaths[k].find(letter) != std::string::npos) return true;
    return false;
}

bool leads(const U& u, int position) {
    switch (position) {
    case 0: return u.normalLeader >= 1;
    case 1: return u.magicLeader >= 1;
    case 2: return u.undeadLeader >= 1;
    default: return false;
    }
}

bool ofCommanderType(const U& u, const std::string& chosen) {
    if (chosen == u.undead || chosen == u.demon || chosen == u.magicBeing || chosen == u.animal) return true;
    // All four empty markers make a normal unit; the game's own test pairs them up this way.
    return chosen == "Normal" && u.undead == u.demon && u.magicBeing == u.animal;
}

bool ofStealth(const U& u, const std::string& chosen) {
    if (chosen == u.spy || chosen == u.assassin || chosen == u.glamour) return true;
    return chosen == "Stealthy" && u.stealth != kEmptyMarker;
}

bool resists(const U& u, int position) {
    switch (position) {
    case 0: return set(u.resistFire);
    case 1: return set(u.resistCold);
    case 2: return set(u.resistLightning);
    case 3: return set(u.resistPoison);
    default: return false;
    }
}

bool anyEquals(const std::string& chosen, std::initializer_list<const std::string*> texts) {
    for (const std::string* t : texts)
        if (chosen == *t) return true;
    return false;
}

bool isHero(const U& u) { return u.name.compare(0, 4, "Hero") == 0; }

} // namespace

bool UnitPasses(const U& u, const UnitFilter& f) {
    if (u.number < 1) return false;
    if (f.god && (u.god != kEmptyMarker) != (*f.god == 1)) return false;
    if (f.size && u.size != *f.size + 1) return false;
    if (f.magic && !(*f.magic >= 0 && *f.magic < 9 && u.paths[*f.magic] >= 1)) return false;
    if (f.randomMagic && !hasRandomPath(u, *f.randomMagic)) return false;
    if (f.leader && !leads(u, *f.leader)) return false;
    if (f.commanderType && !ofCommanderType(u, *f.commanderType)) return false;
    if (f.stealth && !ofStealth(u, *f.stealth)) return false;
    if (f.resist && !resists(u, *f.resist)) return false;
    if (f.mounted && !set(u.mounted)) return false;
    if (f.unique && !set(u.unique)) return false;
    if (f.holy && !set(u.sacred)) return false;
    if (f.female && !set(u.female)) return false;
    if (f.misc && !hasAbility(u, *f.misc)) return false;
    if (f.survival &&
        !anyEquals(*f.survival, {&u.survivalForest, &u.survivalMountain, &u.survivalWaste, &u.survivalSwamp}))
        return false;
    if (f.move && !anyEquals(*f.move, {&u.aquatic, &u.amphibious, &u.poorAmphibian, &u.flying,
                                       &u.flyingInStorms, &u.sailing}))
        return false;
    if (f.hero && isHero(u) != (*f.hero == 1)) return false;
    return true;
}

std::vector<int> FilterUnits(const ReferenceData& ref, const UnitFilter& filter) {
    std::vector<int> out;
    out.reserve(kUnitSlots);
    for (int i = 0; i < kUnitSlots; ++i)
        if (UnitPasses(ref.UnitData[i], filter)) out.push_back(ref.UnitData[i].number);
    return out;
}

} // namespace ts
