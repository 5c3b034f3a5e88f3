#include "unittext.h"

#include <array>
#include <string_view>

namespace ts {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::string plain(int n) { return std::to_string(n); }
// The game's numbers keep a sign position: a blank before zero and positive values.
std::string spaced(int n) {
    if (n < 0) return std::to_string(n);
    std::string out(1, ' ');
    return out += std::to_string(n);
}
// The spaced form without the sign blank: for a path level, the digits straight after the letter.
std::string trimmed(int n) { return std::to_string(n); }

bool has(const std::string& flag) { return flag != kEmptyMarkerText; }

struct FlagLabel {
    std::string UnitDataType::*field;
    const char* label;
};
struct NumberLabel {
    std::int16_t UnitDataType::*field;
    const char* label;
};

using U = UnitDataType;

const std::array<FlagLabel, 7> kKinds = {{{&U::undead, ", undead"},
                                          {&U::demon, ", demon"},
                                          {&U::magicBeing, ", magic being"},
                                          {&U::animal, ", animal"},
                                          {&U::spy, ", spy"},
                                          {&U::assassin, ", assassin"},
                                          {&U::glamour, ", glamour"}}};
const std::array<FlagLabel, 11> kResistances = {{{&U::resistLightning, ", resist lght"},
                                                 {&U::resistFire, ", resist fire"},
                                                 {&U::resistCold, ", resist cold"},
                                                 {&U::resistPoison, ", resist poison"},
                                                 {&U::darkVision, ", dark vision"},
                                                 {&U::regeneration, ", regen"},
                                                 {&U::forge, ", forge"},
                                                 {&U::heal, ", heal"},
                                                 {&U::alchemy, ", alch"},
                                                 {&U::luck, ", luck"},
                                                 {&U::insane, ", insane"}}};
const std::array<NumberLabel, 11> kStrengths = {{{&U::standard, ", std "},
                                                 {&U::awe, ", awe "},
                                                 {&U::fear, ", fear "},
                                                 {&U::berserk, ", brsrk "},
                                                 {&U::chill, ", chill "},
                                                 {&U::heat, ", heat "},
                                                 {&U::fireShield, ", fshld "},
                                                 {&U::banefireShield, ", bfshld "},
                                                 {&U::bloodVengeance, ", bldvng "},
                                                 {&U::diseaseCloud, ", dcloud "},
                                                 {&U::poisonCloud, ", pcloud "}}};
const std::array<NumberLabel, 8> kCommands = {{{&U::pillage, ", pllg "},
                                               {&U::patrol, ", ptrl "},
                                               {&U::castleDefence, ", gold "},
                                               {&U::siege, ", siege "},
                                               {&U::supply, ", sup "},
                                               {&U::sage, ", sage "},
                                               {&U::bloodHunt, ", hunt "},
                                               {&U::voidSummoning, ", void "}}};
const std::array<FlagLabel, 32> kTraits = {{{&U::survivalForest, ", srv:forest"},
                                            {&U::survivalMountain, ", srv:mountain"},
                                            {&U::survivalWaste, ", srv:waste"},
                                            {&U::survivalSwamp, ", srv:swamp"},
                                            {&U::aquatic, ", aquatic"},
                                            {&U::amphibious, ", amphibious"},
                                            {&U::poorAmphibian, ", poor amphib"},
                                            {&U::flying, ", flying"},
                                            {&U::flyingInStorms, ", stormflyer"},
                                            {&U::sailing, ", sailing"},
                                            {&U::coldBlooded, ", coldblood"},
                                            {&U::ethereal, ", ethereal"},
                                            {&U::trueEthereal, ", true ethereal"},
                                            {&U::trample, ", trample"},
                                            {&U::blind, ", blind"},
                                            {&U::recuperation, ", recuperation"},
                                            {&U::immortal, ", immortal"},
                                            {&U::mindless, ", mindless"},
                                            {&U::lifeless, ", lifeless"},
                                            {&U::noEat, ", noeat"},
                                            {&U::noHeal, ", noheal"},
                                            {&U::poisonArmor, ", poison armor"},
                                            {&U::seduce, ", seduce"},
                                            {&U::succubus, ", succubus"},
                                            {&U::petrify, ", petrify"},
                                            {&U::eyeLoss, ", eyeloss"},
                                            {&U::inquisitor, ", inquisitor"},
                                            {&U::winterStrength, ", str of winter"},
                                            {&U::springStrength, ", str of spring"},
                                            {&U::summerStrength, ", str of summer"},
                                            {&U::fallStrength, ", str of fall"},
                                            {&U::reanimator, ", reanimator"}}};
const std::array<NumberLabel, 10> kSummons = {{{&U::summon, ", sum "},
                                               {&U::autoSummon, ", autosum "},
                                               {&U::battleSummon, ", batsum "},
                                               {&U::domSummon, ", domsum "},
                                               {&U::shapeChange, ", shpchng "},
                                               {&U::firstShape, ", shp1 "},
                                               {&U::secondShape, ", shp2 "},
                                               {&U::secondShapeTemporary, ", tmp2nd "},
                                               {&U::landShape, ", lshape "},
                                               {&U::seaShape, ", sshape "}}};

template <std::size_t N>
void appendFlags(std::string& out, const U& u, const std::array<FlagLabel, N>& labels) {
    for (const FlagLabel& f : labels)
        if (has(u.*(f.field))) out += f.label;
}

template <std::size_t N>
void appendPositive(std::string& out, const U& u, const std::array<NumberLabel, N>& labels) {
    for (const NumberLabel& n : labels)
        if (u.*(n.field) > 0) out += n.label + spaced(u.*(n.field));
}

// The properties both forms list, in one fixed order.
void appendAbilities(std::string& out, const U& u) {
    appendFlags(out, u, kKinds);
    if (u.stealth != kEmptyMarker) out += ", stealth " + spaced(u.stealth);
    appendFlags(out, u, kResistances);
    appendPositive(out, u, kStrengths);
    if (has(u.iceArmor)) out += ", ice armor";
    appendPositive(out, u, kCommands);
    appendFlags(out, u, kTraits);
    appendPositive(out, u, kSummons);
}

void appendIdentityFlags(std::string& out, const U& u) {
    if (has(u.unique)) out += "unique";
    if (has(u.mounted)) out += ", mounted";
    if (has(u.sacred)) out += ", sacred";
    if (has(u.female)) out += ", female";
    if (u.god != kEmptyMarker) out += ", GOD";
}

void appendUnlessEmpty(std::string& out, const U& u, std::initializer_list<NumberLabel> labels) {
    for (const NumberLabel& n : labels)
        if (u.*(n.field) != kEmptyMarker) out += n.label + spaced(u.*(n.field));
}

constexpr std::string_view kPathLetters = "FAWESDNBH";

} // namespace

std::string UnitDescriptionText(const ReferenceData& ref, int number) {
    if (number < 0 || number >= kUnitSlots) return "Error! Possibly invalid unit number: " + plain(number);
    const U& u = ref.UnitData[number];
    std::string out;
    out.reserve(256);
    out += "Unit# " + plain(u.number);
    out += kLineEnd;
    out += "Sz: " + plain(u.size) + "\tHp: " + plain(u.hp) + "\tMor: " + plain(u.morale) +
           "\tMr: " + plain(u.magicResistance);
    out += kLineEnd;
    out += "Nldr: " + plain(u.normalLeader) + "\tUldr: " + plain(u.undeadLeader) + "\tMldr: " + plain(u.magicLeader);
    out += kLineEnd;
    out += "Hand: " + plain(u.slotHand) + ",Head: " + plain(u.slotHead) + ",Body: " + plain(u.slotBody) +
           ",Foot: " + plain(u.slotFoot) + ",Misc: " + plain(u.slotMisc);
    out += kLineEnd;
    appendIdentityFlags(out, u);
    appendAbilities(out, u);
    out += kLineEnd;
    if (has(u.uniqueName)) out += ", uniquename " + u.uniqueName;
    if (has(u.special) && u.special != kStarMarkerText) out += ", special " + u.special;
    return out;
}

std::string UnitFinderText(const ReferenceData& ref, int number) {
    if (number < 1 || number >= kUnitSlots) return "NO UNIT SELECTED.";
    const U& u = ref.UnitData[number];
    std::string out;
    out.reserve(256);
    out += plain(u.number) + " " + u.name;
    out += kLineEnd;
    appendIdentityFlags(out, u);
    appendUnlessEmpty(out, u,
                      {{&U::size, ", size "}, {&U::hp, ", hp "}, {&U::morale, ", mor "}, {&U::magicResistance, ", mr "}});
    out += kLineEnd;
    appendUnlessEmpty(out, u,
                      {{&U::normalLeader, ", normal ldr "},
                       {&U::undeadLeader, ", undead ldr "},
                       {&U::magicLeader, ", magic ldr "}});
    out += kLineEnd;
    appendUnlessEmpty(out, u,
                      {{&U::slotHand, ", hand "},
                       {&U::slotHead, ", head "},
                       {&U::slotBody, ", body "},
                       {&U::slotFoot, ", foot "},
                       {&U::slotMisc, ", misc "}});
    out += kLineEnd;
    for (std::size_t k = 0; k < kPathLetters.size(); ++k)
        if (u.paths[k] > 0) out += std::string(", ") + kPathLetters[k] + trimmed(u.paths[k]);
    if (has(u.randomMagic[0])) out += "+ rand magic";
    out += kLineEnd;
    appendAbilities(out, u);
    out += kLineEnd;
    if (has(u.uniqueName)) out += ", uniquename " + u.uniqueName;
    if (has(u.special)) out += ", special " + u.special;
    return out;
}

} // namespace ts
