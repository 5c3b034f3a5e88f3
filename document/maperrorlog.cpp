#include "maperrorlog.h"

#include "cp1252.h"
#include "mapdocument.h"
#include "folders.h"
#include "paths.h"

#include <QDir>
#include <QSaveFile>
#include <limits>

namespace ts {

void BeginMapErrorLog(MapDocument& doc, const QString& mapPath) {
    constexpr std::string_view kHeader = "Map error log for: \r\n";
    const std::string path = toCp1252(mapPath);
    doc.ErrorLog.clear();
    doc.ErrorLog.reserve(kHeader.size() + path.size() + 2);
    doc.ErrorLog.append(kHeader).append(path).append("\r\n");
    doc.MapErrorsFound = false;
    doc.FirstErrorLine = 0;
}

void AppendMapError(MapDocument& doc, std::string_view line) {
    doc.ErrorLog += line;
    doc.ErrorLog += "\r\n";
    doc.MapErrorsFound = true;
    if (doc.FirstErrorLine == 0) {
        // The field is 16-bit; a later line still opens the editor as far down as it can.
        constexpr std::int32_t kMax = std::numeric_limits<std::int16_t>::max();
        doc.FirstErrorLine = static_cast<std::int16_t>(doc.MapLineNumber > kMax ? kMax : doc.MapLineNumber);
    }
}

MapErrorLogView mapErrorLogView(const MapDocument& doc, const QString& programFolder) {
    return {fromCp1252(doc.ErrorLog), doc.FirstErrorLine, pathFromText(doc.MapFilePath),
            joinPath(configFolder(programFolder), QString::fromLatin1(kMapErrorLogFileName))};
}

bool WriteMapErrorLogFile(const MapDocument& doc, const QString& programFolder, QString* error) {
    const QString folder = configFolder(programFolder);
    QDir().mkpath(folder);
    QSaveFile file(joinPath(folder, QString::fromLatin1(kMapErrorLogFileName)));
    const bool ok = file.open(QIODevice::WriteOnly) &&
                    file.write(doc.ErrorLog.data(), static_cast<qint64>(doc.ErrorLog.size())) ==
                        static_cast<qint64>(doc.ErrorLog.size()) &&
                    file.commit();
    if (!ok && error) *error = file.errorString();
    return ok;
}

} // namespace ts
