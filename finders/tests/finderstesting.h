#pragma once

#include "referencedata.h"
#include "referencelists.h"

#include <QString>
#include <map>
#include <memory>
#include <string>

namespace ts::testing {

// The shipped sample tables from the source tree's data folder, loaded once per test program.
const ReferenceData& shippedTables();
const ReferenceLists& shippedLists();
QString shippedProgramFolder();

// The bytes of a golden file in finders/tests/golden.
std::string golden(const char* name);

// One UnitData.txt row: 133 columns, empty (so "no value") unless given. Column 0 is the number.
std::string unitRow(int number, const std::map<int, std::string>& given);

// One SiteData.txt row: 59 columns, empty (so "no value") unless given. Column 0 is the number.
std::string siteRow(int number, const std::map<int, std::string>& given);

// Tables loaded from small files: each given file replaces a one-row default, so a case writes
// only the table it is about ("UnitData.txt" -> rows).
std::unique_ptr<ReferenceData> tablesWith(const std::map<std::string, std::string>& files);

} // namespace ts::testing
