#include "scriptlist.h"

#include "cp1252.h"
#include "folders.h"
#include "paths.h"
#include "scriptprocess.h"
#include "userinterface.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace ts {

QString ScriptFolder(const QString& programFolder) {
    return joinPath(dataFolder(programFolder), QStringLiteral("TSscripts"));
}

QString ScriptPath(const QString& programFolder, const QString& fileName) {
    return readableFile(QStringLiteral("TSscripts"), fileName, programFolder);
}

std::optional<QString> ScriptTitle(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    const std::vector<std::string_view> lines =
        ScriptLines(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    for (std::size_t n = 0; n + 1 < lines.size(); ++n)
        if (lines[n].substr(0, 5) == ":TOOL") return fromCp1252(lines[n + 1]);
    return QString::fromLatin1(kNoScriptTitle);
}

std::vector<ScriptEntry> z_ScriptBuildMenu(const QString& programFolder, UserInterface& ui) {
    std::vector<ScriptEntry> entries;
    const QString folder = ScriptFolder(programFolder);
    const QString own = joinPath(userDataFolder(programFolder), QStringLiteral("TSscripts"));
    if (!QFileInfo(folder).isDir() && !QFileInfo(own).isDir()) {
        ui.messageBox(QStringLiteral("Error Loading Scripts"),
                      QStringLiteral("Error loading scripts: folder not found: ") + folder);
        return entries;
    }
    // By name, so that the list keeps one order on every file system; the user's own scripts are
    // listed with the shipped ones.
    const QStringList names = listFiles(QStringLiteral("TSscripts"), QStringLiteral("*.tss"), programFolder);
    for (const QString& name : names) {
        if (static_cast<int>(entries.size()) >= kMaxListedScripts) {
            ui.messageBox(
                QStringLiteral("Error Loading Scripts"),
                QStringLiteral("Error loading scripts: more than %1 scripts in %2; the first %1 are listed.")
                    .arg(kMaxListedScripts)
                    .arg(folder));
            break;
        }
        const std::optional<QString> title = ScriptTitle(ScriptPath(programFolder, name));
        if (!title) {
            ui.messageBox(QStringLiteral("Error reading script"),
                          QStringLiteral("Error reading script: ") + name);
            continue;
        }
        entries.push_back({*title, name});
    }
    return entries;
}

} // namespace ts
