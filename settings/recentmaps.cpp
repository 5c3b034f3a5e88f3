#include "recentmaps.h"

#include "folders.h"
#include "paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace ts {

namespace {
QString canonical(const QString& path) {
    const QFileInfo info(path);
    return info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
}
} // namespace

QString RecentMaps::filePath(const QString& programFolder) {
    return joinPath(configFolder(programFolder), QStringLiteral("Tessary.recent"));
}

void RecentMaps::load(const QString& path) {
    mPaths.clear();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return;
    while (!f.atEnd() && mPaths.size() < kMaximum) {
        QByteArray line = f.readLine();
        while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
        if (line.isEmpty()) continue;
        const QString p = QFile::decodeName(line);
        if (!mPaths.contains(p)) mPaths << p;
    }
}

bool RecentMaps::save(const QString& path) const {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    for (const QString& p : mPaths) f.write(QFile::encodeName(p) + "\r\n");
    return f.commit();
}

void RecentMaps::add(const QString& mapPath) {
    const QString p = canonical(mapPath);
    mPaths.removeAll(p);
    mPaths.prepend(p);
    while (mPaths.size() > kMaximum) mPaths.removeLast();
}

void RecentMaps::remove(const QString& mapPath) { mPaths.removeAll(canonical(mapPath)); }

} // namespace ts
