#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace ts {

// Every text in the game's files is Windows-1252. These convert at the edge between the files'
// bytes and what the widgets show, so a name survives a read and a write byte for byte.
QString fromCp1252(std::string_view bytes);
// Characters with no Windows-1252 byte become '?'.
std::string toCp1252(const QString& text);

} // namespace ts
