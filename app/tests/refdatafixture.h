#pragma once

#include "tempfolder.h"

namespace ts {

// Writes a tiny but complete set of the six reference tables into folder/TSdata.
void writeMinimalTables(const TempFolder& folder);

} // namespace ts
