#pragma once

#include <QString>
#include <QTemporaryDir>
#include <string_view>

namespace ts {

// A throw-away program folder for a test: files are written into it by relative path, and it is
// removed with everything in it when the test ends.
class TempFolder {
public:
    TempFolder();
    QString path() const { return mDir.path(); }
    QString file(const QString& relative) const;
    // Writes the bytes exactly as given, creating sub-folders as needed; returns the full path.
    QString write(const QString& relative, std::string_view bytes) const;
    std::string read(const QString& relative) const;
    // Gives the folder a TSdata folder, which makes it a portable program folder: the program then
    // keeps its configuration and the user's files in it rather than in the user's own folders.
    const TempFolder& makePortable() const;
    // Copies every file below folder into this one, keeping the sub-folders.
    void copyTreeFrom(const QString& folder) const;

private:
    QTemporaryDir mDir;
};

} // namespace ts
