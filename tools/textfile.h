#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <string_view>
#include <vector>

namespace ts {

// Reads a whole user file that is expected to be small. A file above maxBytes is refused before it
// is read, so a huge or wrong file cannot take the editor's memory. On failure error says why.
std::optional<QByteArray> readSmallFile(const QString& path, qint64 maxBytes, QString& error);

// The file's lines, ended by CR, LF or CR LF; a last line without an end counts, an empty tail does not.
std::vector<std::string_view> splitLines(std::string_view bytes);

// Writes the bytes so that the old file survives until the new one is complete. On failure error
// says why.
bool writeWholeFile(const QString& path, std::string_view bytes, QString& error);

} // namespace ts
