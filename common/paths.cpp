#include "paths.h"

#include <QCoreApplication>

namespace ts {

namespace {
QString& overriddenFolder() {
    static QString folder;
    return folder;
}
} // namespace

QString joinPath(const QString& folder, const QString& name) {
    if (folder.isEmpty()) return name;
    QString left = folder;
    while (left.size() > 1 && left.endsWith(QLatin1Char('/'))) left.chop(1);
    QString right = name;
    while (right.startsWith(QLatin1Char('/'))) right.remove(0, 1);
    if (left == QLatin1String("/")) return left + right;
    return left + QLatin1Char('/') + right;
}

QString joinPath(const QString& folder, const QString& sub, const QString& name) {
    return joinPath(joinPath(folder, sub), name);
}

QString programFolder() {
    if (!overriddenFolder().isEmpty()) return overriddenFolder();
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    return QStringLiteral(".");
}

void setProgramFolder(const QString& folder) { overriddenFolder() = folder; }

} // namespace ts
