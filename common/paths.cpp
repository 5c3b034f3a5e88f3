#include "paths.h"

#include "text.h"

#include <QCoreApplication>
#include <QFile>

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

QString pathFromText(const Text& text) {
    return QFile::decodeName(QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

Text pathToText(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    return Text(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

} // namespace ts
