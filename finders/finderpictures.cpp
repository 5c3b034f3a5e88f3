#include "finderpictures.h"

#include "paths.h"
#include "sitetext.h"

#include <QFile>

namespace ts {

namespace {
const QString kIcons = QStringLiteral("TSicons");
const QString kSprites = QStringLiteral("TSsprites");
} // namespace

QString blankPicturePath(const QString& programFolder) {
    return joinPath(programFolder, kIcons, QStringLiteral("blank.bmp"));
}

QString unitSpriteFile(const QString& programFolder, int unitNumber) {
    // Four digits after the sign, as the sprite files are named.
    const QString digits = QStringLiteral("%1").arg(unitNumber < 0 ? -unitNumber : unitNumber, 4, 10, QLatin1Char('0'));
    const QString path =
        joinPath(programFolder, kSprites, (unitNumber < 0 ? QStringLiteral("-") : QString()) + digits + ".jpg");
    return QFile::exists(path) ? path : QString();
}

QString unitSpritePath(const QString& programFolder, int unitNumber) {
    if (unitNumber == 0) return blankPicturePath(programFolder);
    const QString own = unitSpriteFile(programFolder, unitNumber);
    return own.isEmpty() ? joinPath(programFolder, kSprites, QStringLiteral("NOIMAGE.jpg")) : own;
}

QString sitePicturePath(const QString& programFolder, const QString& siteType) {
    if (!siteType.isEmpty()) {
        const QString path = joinPath(programFolder, kIcons, QStringLiteral("site") + siteType + ".bmp");
        if (QFile::exists(path)) return path;
    }
    return blankPicturePath(programFolder);
}

QString gemPicturePath(const QString& programFolder, int position, int count) {
    const QString word = QString::fromLatin1(gemPathWord(position));
    // Holy has no coloured picture in the game's set; the grey one stands for both.
    const QString coloured = joinPath(programFolder, kIcons, QStringLiteral("path") + word + ".bmp");
    if (count > 0 && QFile::exists(coloured)) return coloured;
    return joinPath(programFolder, kIcons, QStringLiteral("bpath") + word + ".bmp");
}

} // namespace ts
