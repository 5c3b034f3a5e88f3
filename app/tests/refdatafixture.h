#pragma once

#include "tempfolder.h"

namespace ts {

// Writes a tiny but complete set of the six reference tables into folder/TSdata, and a configuration
// file, so that start-up goes straight through without the first-run welcome.
void writeMinimalTables(const TempFolder& folder);
void writeDefaultConfiguration(const TempFolder& folder);

} // namespace ts
