#include "folders.h"

#include "paths.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace ts {

namespace {

// The user's base folder from an XDG variable, or its documented default under the home folder.
QString xdgFolder(const char* variable, const char* homeDefault) {
    const QString set = qEnvironmentVariable(variable);
    // A relative value is invalid by the XDG rules and must be ignored.
    if (!set.isEmpty() && QDir::isAbsolutePath(set)) return set;
    return joinPath(QDir::homePath(), QString::fromLatin1(homeDefault));
}

QString installedDataFolder(const QString& program) {
    return QDir::cleanPath(joinPath(program, QStringLiteral("../share/tessary")));
}

} // namespace

FolderLayout folderLayout(const QString& program) {
    return QFileInfo(joinPath(program, QStringLiteral("TSdata"))).isDir() ? FolderLayout::Portable
                                                                                  : FolderLayout::Installed;
}

QString dataFolder(const QString& program) {
    return folderLayout(program) == FolderLayout::Portable ? program : installedDataFolder(program);
}

QString manualFile(const QString& program) {
    const QString folder = folderLayout(program) == FolderLayout::Portable
                               ? joinPath(program, QStringLiteral("doc"))
                               : QDir::cleanPath(joinPath(program, QStringLiteral("../share/doc/tessary")));
    return joinPath(folder, QStringLiteral("manual.html"));
}

QString configFolder(const QString& program) {
    if (folderLayout(program) == FolderLayout::Portable) return program;
    return joinPath(xdgFolder("XDG_CONFIG_HOME", ".config"), QStringLiteral("tessary"));
}

QString userDataFolder(const QString& program) {
    if (folderLayout(program) == FolderLayout::Portable) return program;
    return joinPath(xdgFolder("XDG_DATA_HOME", ".local/share"), QStringLiteral("tessary"));
}

QStringList listFiles(const QString& sub, const QString& pattern, const QString& program) {
    QStringList names;
    QSet<QString> seen;
    for (const QString& base : {userDataFolder(program), dataFolder(program)}) {
        const QDir dir(joinPath(base, sub));
        for (const QString& name : dir.entryList({pattern}, QDir::Files, QDir::Name)) {
            if (seen.contains(name)) continue;
            seen.insert(name);
            names.append(name);
        }
    }
    names.sort();
    return names;
}

QString readableFile(const QString& sub, const QString& name, const QString& program) {
    const QString own = joinPath(userDataFolder(program), sub, name);
    if (QFileInfo::exists(own)) return own;
    return joinPath(dataFolder(program), sub, name);
}

QString writableFile(const QString& sub, const QString& name, const QString& program) {
    const QString folder = joinPath(userDataFolder(program), sub);
    if (!QDir().mkpath(folder)) return {};
    return joinPath(folder, name);
}

} // namespace ts
