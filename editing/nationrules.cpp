#include "nationrules.h"

#include "cp1252.h"
#include "referencedata.h"
#include "valuerules.h"

namespace ts {

const std::array<ScaleBox, kScaleBoxes>& scaleBoxes() {
    static const std::array<ScaleBox, kScaleBoxes> all = {{
        {"txtOrder", "Order", "Turmoil", &NationDataType::ScaleChaos},
        {"txtProduction", "Productivity", "Sloth", &NationDataType::ScaleLazy},
        {"txtHeatCold", "Heat", "Cold", &NationDataType::ScaleCold},
        {"txtLifeDeath", "Growth", "Death", &NationDataType::ScaleDeath},
        {"txtLuck", "Luck", "Misfortune", &NationDataType::ScaleUnluck},
        {"txtMagicDrain", "Magic", "Drain", &NationDataType::ScaleUnmagic},
    }};
    return all;
}

QString scaleCaption(const ScaleBox& scale) {
    return QString::fromLatin1(scale.positiveEnd) + QStringLiteral(" / ") + QString::fromLatin1(scale.negativeEnd);
}

QString scaleHint(const ScaleBox& scale) {
    return QStringLiteral("Sets the %1 dominion scale of a nation. A value of 3 tips the scale fully to the left (%2), "
                          "-3 fully to the right (%3). <3-(-3)>")
        .arg(scaleCaption(scale), QString::fromLatin1(scale.positiveEnd), QString::fromLatin1(scale.negativeEnd));
}

namespace {

// Empty means not set; anything else is clamped, letters to the minimum.
bool boxSet(const QString& text) { return !text.trimmed().isEmpty(); }

} // namespace

NationFields ShowNation(const MapDocument& doc, const ReferenceData& ref, int nation) {
    NationFields f;
    if (nation < 0 || nation >= kNationCount) return f;
    const NationDataType& n = doc.Nations[nation];
    f.name = fromCp1252(n.NationName.view());
    if (n.DominionLevel > 0) f.dominion = QString::number(n.DominionLevel);
    for (int s = 0; s < kScaleBoxes; ++s) {
        const std::int16_t value = n.*(scaleBoxes()[static_cast<std::size_t>(s)].field);
        if (value != kNone) f.scales[static_cast<std::size_t>(s)] = QString::number(-value);
    }
    f.cannotWin = n.CannotWin;
    f.aiPlayer = n.AIDifficulty > 0;
    if (f.aiPlayer) f.difficulty = QString::number(n.AIDifficulty);
    for (int k = 0; k < kNationCount; ++k) {
        const NationDataType& other = doc.Nations[k];
        if (k == nation || !other.AllowedPlayer) continue;
        const QString caption = QString::fromStdString(ref.NationData[k].era) + u' ' + fromCp1252(other.NationName.view());
        f.allies.push_back({k, caption, n.Allies[k]});
    }
    return f;
}

void CommitNation(MapDocument& doc, int nation, const NationFields& f) {
    if (nation < 0 || nation >= kNationCount) return;
    NationDataType& n = doc.Nations[nation];
    n.DominionLevel = boxSet(f.dominion) ? ClampInt(f.dominion, kDominionMin, kDominionMax) : 0;
    for (int s = 0; s < kScaleBoxes; ++s) {
        const QString& box = f.scales[static_cast<std::size_t>(s)];
        const std::int16_t shown = boxSet(box) ? ClampInt(box, -kScaleMax, kScaleMax) : 0;
        // A balanced scale and an empty box both leave the scale to the game.
        n.*(scaleBoxes()[static_cast<std::size_t>(s)].field) = shown == 0 ? kNone : static_cast<std::int16_t>(-shown);
    }
    n.CannotWin = f.cannotWin;
    n.AIDifficulty = f.aiPlayer && boxSet(f.difficulty) ? ClampInt(f.difficulty, kDifficultyMin, kDifficultyMax) : 0;
    for (const AllyEntry& ally : f.allies) {
        if (ally.nation < 0 || ally.nation >= kNationCount || ally.nation == nation) continue;
        n.Allies[ally.nation] = ally.selected;
        doc.Nations[ally.nation].Allies[nation] = ally.selected;
    }
}

} // namespace ts
