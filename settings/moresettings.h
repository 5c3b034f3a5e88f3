#pragma once

#include <QString>

namespace ts {

struct Settings;

// Preferences the 39 fields of Tessary.cfg have no room for, kept in a file of their own beside it
// ("Tessary.more", one "Name=value" line each) so that the configuration file keeps its exact form.
QString moreSettingsPath(const QString& configurationPath);

// A missing file, a line it does not know or a value it cannot read leaves the setting unchanged.
void ReadMoreSettings(Settings& s, const QString& path);
bool WriteMoreSettings(const Settings& s, const QString& path);

} // namespace ts
