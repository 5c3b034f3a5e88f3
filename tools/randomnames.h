#pragma once

#include "paths.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ts {

struct MapDocument;
class UserInterface;

inline constexpr int kMaxNameLists = 51;    // lists 0..50; list 0 holds the name templates
inline constexpr int kMaxNameRow = 1000;    // rows 0..1000 of each list
inline constexpr int kLastReferableList = 49;
inline constexpr int kMaxNameFiles = 151;

// The folders the name files (*.nam) are kept in, for the program folder given: the user's own
// first, then the shipped ones (one folder when both are the program folder). Everything that reads
// them asks here.
QStringList namesFolders(const QString& program = programFolder());

// A uniform random number in [0, 1).
using UniformSource = std::function<double()>;
// A source seeded once from the system's entropy.
UniformSource systemUniformSource();

// A random whole number 1..n: n·u + 1 rounded to the nearest, ties to the even one, capped at n. The
// first value is half as likely and the last one and a half times as likely as the others.
int TrueRnd(int n, const UniformSource& uniform);

// One list of a name file. Its name is the whole ":name" line; rows run from 1 and count says how
// many are drawn from (after a range entry "a-b" it is b, after a single entry it grows by 1).
struct NameList {
    std::string name;
    std::vector<std::string> rows; // row r at index r; rows never filled are empty
    int count = 0;

    const std::string& row(int r) const;
};

struct NameFile {
    std::vector<std::string> tags;
    std::vector<NameList> lists; // list 0 holds the templates
};

// Reads a name file. A file with more lists or rows than the limits, or an entry that is not
// "weight,word", is refused with a description of the line in error. Given skipped, an entry that
// cannot be read is left out instead and described there; only too many lists still fail.
std::optional<NameFile> ParseNameFile(std::string_view bytes, std::string& error,
                                      std::vector<std::string>* skipped = nullptr);

// Whether a name file with these tags makes names of the category: "COMMANDER", or any other
// category for the province's terrain.
bool NameFileQualifies(const std::vector<std::string>& tags, std::string_view category, const MapDocument& doc,
                       int province);

// Draws a template from list 0 and joins a word of each list it refers to, in proper case.
QString BuildName(const NameFile& file, const UniformSource& uniform);

// The first letter of each word upper case, the rest lower case.
QString ProperCase(const QString& text);

// A random name of the category ("PROVINCE" for the current province's terrain, or "COMMANDER") from
// the name files in the folders; a file in an earlier folder hides one of the same name in a later
// one. Empty when no file fits, or, after a message, when the folder cannot
// be listed. Nothing when the chosen file cannot be read: the message says why and the caller
// should leave the name as it was.
std::optional<QString> RandomName(std::string_view category, const MapDocument& doc, UserInterface& ui,
                                  const UniformSource& uniform, const QStringList& folders = namesFolders());

} // namespace ts
