#pragma once

#include <QString>
#include <string_view>

namespace ts {

struct MapDocument;

inline constexpr char kMapErrorLogFileName[] = "MapErrorLog.txt";

// Starts the log of a read: the two header lines naming the file, no errors, no first error line.
void BeginMapErrorLog(MapDocument& doc, const QString& mapPath);

// Adds one error line (given without its line break) and remembers the map line of the first error.
void AppendMapError(MapDocument& doc, std::string_view line);

// What the map error log window shows and offers after a read.
struct MapErrorLogView {
    QString text;        // the log as shown in the window
    int firstErrorLine;  // line the "open map file" button opens the editor at; 0 = none
    QString mapFilePath; // the file that button opens
    QString logFilePath; // where the window saves the log when it is first activated
};
MapErrorLogView mapErrorLogView(const MapDocument& doc, const QString& programFolder);

// Saves the log as MapErrorLog.txt in the program folder, replacing an older one. The text keeps its
// Windows-1252 bytes and CR LF line breaks. Returns false and fills *error when it cannot be written.
bool WriteMapErrorLogFile(const MapDocument& doc, const QString& programFolder, QString* error = nullptr);

} // namespace ts
