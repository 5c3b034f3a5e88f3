#pragma once

#include <QString>

namespace ts {

class UserInterface;
struct ReferenceData;
struct ReferenceLists;

// The window-free part of start-up: the first busy step and the reference tables with their own
// busy steps. False when a table could not be loaded; the user has then been told why.
bool LoadStartUpData(UserInterface& ui, ReferenceData& ref, ReferenceLists& lists, const QString& programFolder);

} // namespace ts
