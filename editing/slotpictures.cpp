#include "slotpictures.h"

#include "paths.h"
#include "referencedata.h"

#include <QFile>

namespace ts {

namespace {

const char* const kPathNames[9] = {"Fire", "Air", "Water", "Earth", "Astral", "Death", "Nature", "Blood", "Holy"};

// The "0000" number format: at least four digits, the sign in front of them.
QString fourDigits(int n) {
    const QString digits = QStringLiteral("%1").arg(n < 0 ? -n : n, 4, 10, QLatin1Char('0'));
    return n < 0 ? QLatin1Char('-') + digits : digits;
}

} // namespace

QString UnitPicturePath(const QString& programFolder, int unit) {
    const QString path = joinPath(programFolder, QStringLiteral("TSsprites"), fourDigits(unit) + QStringLiteral(".jpg"));
    if (QFile::exists(path)) return path;
    return joinPath(programFolder, QStringLiteral("TSsprites"), QStringLiteral("NOIMAGE.jpg"));
}

QString BlankPicturePath(const QString& programFolder) {
    return joinPath(programFolder, QStringLiteral("TSicons"), QStringLiteral("blank.bmp"));
}

QString SitePicturePath(const QString& programFolder, const ReferenceData& ref, int site) {
    if (site < 1 || site >= kSiteSlots) return BlankPicturePath(programFolder);
    const QString code = QString::fromLatin1(ref.SiteData[site].siteType);
    return joinPath(programFolder, QStringLiteral("TSicons"), QStringLiteral("site") + code + QStringLiteral(".bmp"));
}

QString PathIconPath(const QString& programFolder, int path, bool set) {
    if (path < 0 || path > 8) return BlankPicturePath(programFolder);
    return joinPath(programFolder, QStringLiteral("TSicons"),
                    QLatin1String(set ? "path" : "bpath") + QLatin1String(kPathNames[path]) + QStringLiteral(".bmp"));
}

} // namespace ts
