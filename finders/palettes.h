#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace ts {

class UserInterface;

// The folder that holds the unit palettes. Everything that reads or writes a palette asks here, so
// palettes can move (to the user's own data folder, say) in one place.
// New and changed palettes go to the user's folder; the shipped ones are read beside them.
QString paletteFolder(const QString& programFolder);
QString shippedPaletteFolder(const QString& programFolder);

// The user's unit palettes: one file per palette, "<name>.upa", one unit number per line with CR LF.
// Every failure is told to the user here and leaves the other palettes as they were; a palette is
// only ever replaced by a complete new file.
class UnitPalettes {
public:
    // shipped, when it is another folder, adds read-only palettes; the user's copy of a name wins.
    UnitPalettes(QString folder, UserInterface& ui, QString shipped = QString());

    const QString& folder() const { return mFolder; }
    // The palette file names of both folders, sorted by name, each once.
    QStringList list() const;
    // The unit numbers of a palette, or nothing when the file cannot be read or holds a line that
    // is not a unit number 0..2999 (the user has been told).
    std::optional<std::vector<int>> read(const QString& fileName) const;
    // Replaces a palette's contents; false when it could not be written (the user has been told, and
    // the old file is whole).
    bool write(const QString& fileName, const std::vector<int>& units) const;
    // Asks for a name and creates an empty palette; the new file name, or nothing when the user
    // cancelled, the palette exists already or the file could not be made.
    std::optional<QString> create() const;
    // Asks before deleting; true when the file is gone.
    bool remove(const QString& fileName) const;

private:
    QString path(const QString& fileName) const;
    void reportFileError(const QString& fileName) const;

    QString mFolder;
    UserInterface& mUi;
    QString mShipped;
};

} // namespace ts
