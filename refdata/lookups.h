#pragma once

#include "referencedata.h"

#include <string>
#include <string_view>

namespace ts {

// The table keys the lookups accept; any other key finds nothing.
inline constexpr std::string_view kUnitTableKey = "UnitDataType";
inline constexpr std::string_view kSiteTableKey = "SiteDataType";
inline constexpr std::string_view kIndexNotFound = "Index not found!";

// The name of the last slot whose number equals number, or "Index not found!".
std::string DataNameOf(const ReferenceData& ref, int number, std::string_view tableKey);
// The same without a copy; the view holds while the table is unchanged.
std::string_view DataNameView(const ReferenceData& ref, int number, std::string_view tableKey);

// The number of the last slot whose non-empty name equals name, ignoring the case of ASCII
// letters, or -1.
int DataNumberOf(const ReferenceData& ref, std::string_view name, std::string_view tableKey);

// Reads the tables now if their reading was put off (ReferenceData::deferredLoad); does nothing
// otherwise. Code that reads the tables directly, not through the lookups below, calls it first.
void LoadDeferredTables(const ReferenceData& ref);

// Map reading asks for thousands of names, so after loading the answers come from an index
// instead of a scan over 3000 slots. Call again after changing the unit or site table.
void BuildLookupIndex(ReferenceData& ref);

} // namespace ts
