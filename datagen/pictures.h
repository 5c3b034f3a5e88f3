#pragma once

#include "datagen.h"

namespace ts::datagen {

bool writeIcons(const QString& folder, std::uint64_t seed, QString* error);
bool writeFlags(const QString& folder, const ReferenceTables& tables, QString* error);
bool writeSprites(const QString& folder, const ReferenceTables& tables, QString* error);
// The units that get a picture: every god and every eighth unit number.
std::vector<int> spriteUnits(const ReferenceTables& tables);

} // namespace ts::datagen
