#pragma once

#include <QString>

namespace ts {

class Text;

// Joins a folder and a name with exactly one separator between them.
QString joinPath(const QString& folder, const QString& name);
QString joinPath(const QString& folder, const QString& sub, const QString& name);

// The folder of the running executable, where the data folders (TSdata, TSicons, ...) are found.
// Tests and the command-line tool may point it elsewhere.
QString programFolder();
void setProgramFolder(const QString& folder);

// The open map's own path (MapFilePath, MapFileTitle) is kept in the document as the file system's
// bytes, never written into a map file; these convert it losslessly.
QString pathFromText(const Text& text);
Text pathToText(const QString& path);

} // namespace ts
