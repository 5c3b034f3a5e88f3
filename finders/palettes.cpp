#include "palettes.h"

#include "folders.h"
#include "paths.h"
#include "referencedata.h"
#include "userinterface.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace ts {

QString paletteFolder(const QString& programFolder) {
    return joinPath(userDataFolder(programFolder), QStringLiteral("TSpalettes"));
}

QString shippedPaletteFolder(const QString& programFolder) {
    return joinPath(dataFolder(programFolder), QStringLiteral("TSpalettes"));
}

UnitPalettes::UnitPalettes(QString folder, UserInterface& ui, QString shipped)
    : mFolder(std::move(folder)), mUi(ui), mShipped(shipped == mFolder ? QString() : std::move(shipped)) {}

QString UnitPalettes::path(const QString& fileName) const {
    const QString own = joinPath(mFolder, fileName);
    if (mShipped.isEmpty() || QFile::exists(own)) return own;
    const QString shipped = joinPath(mShipped, fileName);
    return QFile::exists(shipped) ? shipped : own;
}

void UnitPalettes::reportFileError(const QString& fileName) const {
    mUi.messageBox(QStringLiteral("Palette file error!"),
                   QStringLiteral("Palette file data corrupted or not found: ") + fileName, Buttons::Ok);
}

QStringList UnitPalettes::list() const {
    QStringList names = QDir(mFolder).entryList({QStringLiteral("*.upa")}, QDir::Files, QDir::Name);
    if (mShipped.isEmpty()) return names;
    for (const QString& name : QDir(mShipped).entryList({QStringLiteral("*.upa")}, QDir::Files, QDir::Name))
        if (!names.contains(name)) names << name;
    names.sort();
    return names;
}

std::optional<std::vector<int>> UnitPalettes::read(const QString& fileName) const {
    QFile file(path(fileName));
    if (!file.open(QIODevice::ReadOnly)) {
        reportFileError(fileName);
        return std::nullopt;
    }
    std::vector<int> units;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        if (line.endsWith('\r')) line.chop(1);
        // The end of the last line leaves nothing behind it; anything else must be a unit number.
        if (line.isEmpty() && i == lines.size() - 1) break;
        bool ok = false;
        const int number = line.toInt(&ok);
        if (!ok || number < 0 || number >= kUnitSlots) {
            reportFileError(fileName);
            return std::nullopt;
        }
        units.push_back(number);
    }
    return units;
}

bool UnitPalettes::write(const QString& fileName, const std::vector<int>& units) const {
    QByteArray bytes;
    for (int n : units) bytes += QByteArray::number(n) + "\r\n";
    // A changed shipped palette becomes the user's own copy.
    QDir().mkpath(mFolder);
    QSaveFile file(joinPath(mFolder, fileName));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        reportFileError(fileName);
        return false;
    }
    return true;
}

std::optional<QString> UnitPalettes::create() const {
    const std::optional<QString> name = mUi.inputBox(
        QStringLiteral("New Palette"), QStringLiteral("Enter a name for the new palette:"), QStringLiteral("NewPalette"));
    if (!name || name->isEmpty()) return std::nullopt;
    const QString fileName = *name + QStringLiteral(".upa");
    if (QFile::exists(path(fileName))) {
        mUi.messageBox(QStringLiteral("Palette already exists!"),
                       QStringLiteral("Palette with same name already exists. Action cancelled."), Buttons::Ok);
        return std::nullopt;
    }
    // A name with a folder separator in it cannot become a palette beside the others.
    if (fileName.contains(QLatin1Char('/'))) {
        reportFileError(fileName);
        return std::nullopt;
    }
    QDir().mkpath(mFolder);
    if (!write(fileName, {})) return std::nullopt;
    return fileName;
}

bool UnitPalettes::remove(const QString& fileName) const {
    if (fileName.isEmpty() || !QFile::exists(path(fileName))) return false;
    // A shipped palette lies in a folder the program does not own; only the user's copies can go.
    if (!mShipped.isEmpty() && !QFile::exists(joinPath(mFolder, fileName))) {
        mUi.messageBox(QStringLiteral("Delete unit palette?"),
                       fileName + QStringLiteral(" is shipped with Tessary and cannot be deleted here."), Buttons::Ok);
        return false;
    }
    if (mUi.messageBox(QStringLiteral("Delete unit palette?"), QStringLiteral("Delete ") + fileName + QStringLiteral(" ?"),
                       Buttons::OkCancel) != Answer::Ok)
        return false;
    if (!QFile::remove(path(fileName))) {
        reportFileError(fileName);
        return false;
    }
    return true;
}

} // namespace ts
