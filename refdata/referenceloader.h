#pragma once

#include "referencedata.h"
#include "referencelists.h"
#include "userinterface.h"

#include <QString>

namespace ts {

// The start-up step that reads the six tables from <programFolder>/TSdata in the order NationData,
// PopData, SiteData, FortData, ItemData, UnitData, showing a busy message before each, and then
// builds the panel and finder lists and the lookup index.
//
// Rows land in the slot named by their key and overwrite earlier values field by field; the tables
// are not cleared first, so load into fresh tables. Invalid site terrain masks are reported and the
// load goes on. A missing file, a key outside its table or a column that is not a 16-bit whole
// number (32-bit for the site terrain mask) is reported in one message box naming file and line;
// then the load stops, `lists` is left empty and the result is false: the editor cannot work with
// half its tables, and those read so far are incomplete. Only a complete load ends with the empty
// busy message captioned "Tessary: Awaiting the master...".
bool LoadReferenceData(ReferenceData& ref, ReferenceLists& lists, const QString& programFolder,
                       UserInterface& ui);

// Whether the six files are there and can be opened, the first one that cannot reported as
// LoadReferenceData reports it: lets a caller put the reading off (ReferenceData::deferredLoad)
// and still refuse at once to work without tables. Their contents are checked only when read.
bool ReferenceFilesPresent(const QString& programFolder, UserInterface& ui);

} // namespace ts
