#pragma once

#include "mapdocument.h"

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace ts {

struct ReferenceData;

// One dominion scale box of the nation panel. The box shows the scale with its positive end first
// (Order, Productivity, ...), the map file stores the opposite sign, so the two are negations.
struct ScaleBox {
    const char* control;
    const char* positiveEnd; // Order, Productivity, ...
    const char* negativeEnd; // Turmoil, Sloth, ...
    std::int16_t NationDataType::*field;
};
inline constexpr int kScaleBoxes = 6;
const std::array<ScaleBox, kScaleBoxes>& scaleBoxes();
// "Order / Turmoil", and the status-bar hint that explains which end is which.
QString scaleCaption(const ScaleBox& scale);
QString scaleHint(const ScaleBox& scale);

// Ranges a nation box is clamped to when the user leaves it.
inline constexpr std::int16_t kDifficultyMin = 1, kDifficultyMax = 5;
inline constexpr std::int16_t kDominionMin = 1, kDominionMax = 10;
inline constexpr std::int16_t kScaleMax = 3;
// What an empty difficulty box becomes when the computer player is switched on.
inline constexpr const char* kStandardDifficulty = "2";

// An entry of the ally list: another allowed player.
struct AllyEntry {
    int nation = 0;
    QString caption; // era code, a blank, the name
    bool selected = false;
    friend bool operator==(const AllyEntry&, const AllyEntry&) = default;
};

// The nation panel as text: what each of its controls holds.
struct NationFields {
    QString name; // lblNationName
    bool aiPlayer = false;
    QString difficulty;
    bool cannotWin = false;
    QString dominion;                   // empty = not set
    std::array<QString, kScaleBoxes> scales; // in the order of scaleBoxes(); empty = not set
    std::vector<AllyEntry> allies;
    friend bool operator==(const NationFields&, const NationFields&) = default;
};

NationFields ShowNation(const MapDocument& doc, const ReferenceData& ref, int nation);
// Writes the panel back into nation i; alliances are set on both sides. A scale of 0 is stored as
// not set, like an empty box.
void CommitNation(MapDocument& doc, int nation, const NationFields& fields);

} // namespace ts
