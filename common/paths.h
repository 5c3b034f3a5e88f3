#pragma once

#include <QString>

namespace ts {

// Joins a folder and a name with exactly one separator between them.
QString joinPath(const QString& folder, const QString& name);
QString joinPath(const QString& folder, const QString& sub, const QString& name);

// The folder of the running executable, where the data folders (TSdata, TSicons, ...) are found.
// Tests and the command-line tool may point it elsewhere.
QString programFolder();
void setProgramFolder(const QString& folder);

} // namespace ts
