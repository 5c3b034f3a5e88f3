#include "provincememory.h"

#include "folders.h"
#include "userinterface.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace ts {

namespace {

const QString kFolder = QStringLiteral("TSplaces");

QString memoryFile(const QString& mapPath) {
    const QByteArray key = QFile::encodeName(QFileInfo(mapPath).absoluteFilePath());
    return QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex()) + QStringLiteral(".txt");
}

QString rememberedFile(const QString& mapPath) {
    return QDir(userDataFolder()).filePath(kFolder + QLatin1Char('/') + memoryFile(mapPath));
}

} // namespace

bool RememberPlaces(const QString& mapPath, const std::vector<ProvincePlace>& places) {
    const QString path = writableFile(kFolder, memoryFile(mapPath));
    if (path.isEmpty()) return false;
    // The map's path leads, so a look into the folder tells which map a file belongs to.
    QByteArray text = QFile::encodeName(QFileInfo(mapPath).absoluteFilePath()) + '\n';
    for (const ProvincePlace& p : places) text += QByteArray::number(p.x) + ' ' + QByteArray::number(p.y) + '\n';
    QSaveFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(text) == text.size() && out.commit();
}

void ForgetPlaces(const QString& mapPath) { QFile::remove(rememberedFile(mapPath)); }

std::optional<std::vector<ProvincePlace>> RememberedPlaces(const QString& mapPath) {
    QFile in(rememberedFile(mapPath));
    if (!in.open(QIODevice::ReadOnly)) return std::nullopt;
    const QList<QByteArray> lines = in.readAll().split('\n');
    if (lines.isEmpty() || lines.front() != QFile::encodeName(QFileInfo(mapPath).absoluteFilePath()))
        return std::nullopt;
    std::vector<ProvincePlace> places;
    for (qsizetype k = 1; k < lines.size(); ++k) {
        if (lines[k].isEmpty()) continue;
        const QList<QByteArray> xy = lines[k].split(' ');
        bool okX = false, okY = false;
        if (xy.size() != 2) return std::nullopt;
        places.push_back({xy[0].toInt(&okX), xy[1].toInt(&okY)});
        if (!okX || !okY) return std::nullopt;
    }
    return places;
}

std::optional<Renumbering> AskToFollowPicture(const std::vector<ProvincePlace>& before,
                                              const std::vector<ProvincePlace>& now, const QString& since,
                                              UserInterface& ui) {
    Renumbering r = MatchPlaces(before, now);
    if (r.changesNothing()) return std::nullopt;
    const QString changed = QString::fromStdString(DescribeRenumbering(r));
    const QString text =
        changed + QLatin1Char(' ') + since +
        QStringLiteral(".\n\nRenumber: every name, terrain, link and start stays with its place on the picture.\n"
                       "Keep Numbers: the provinces keep the numbers the map file gives them.");
    if (!ui.choose(QStringLiteral("Picture Changed"), text, QStringLiteral("Renumber"), QStringLiteral("Keep Numbers")))
        return std::nullopt;
    return r;
}

} // namespace ts
