#include "externaleditor.h"

#include "folders.h"
#include "paths.h"

#include <QFileInfo>
#include <QProcess>

namespace ts {

QString editorArguments(int line, bool readOnly) {
    const int from = line <= 0 ? 1 : line;
    QString args = QStringLiteral(" -n") + QString::number(from) + QLatin1Char(' ');
    if (readOnly) args += QStringLiteral("-ro ");
    return args;
}

QStringList editorArgumentList(int line, bool readOnly, const QString& file) {
    QStringList list = editorArguments(line, readOnly).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    list << file;
    return list;
}

QString editorProgram(const QString& programFolder) {
    return joinPath(dataFolder(programFolder), QStringLiteral("TSnpp"), QStringLiteral("notepad++"));
}

bool StartExternalEditor(const QString& file, int line, bool readOnly, const QString& programFolder,
                         UserInterface& ui) {
    const bool started = QProcess::startDetached(editorProgram(programFolder),
                                                 editorArgumentList(line, readOnly, file), programFolder);
    if (!started) {
        ui.messageBox(QStringLiteral("Tessary"), QStringLiteral("Syntax editor not found!"));
        return false;
    }
    ui.processEvents();
    return true;
}

QString currentMapFileForViewing(const QString& mapFilePath) {
    QString recovery = mapFilePath;
    recovery.replace(QStringLiteral(".map"), QStringLiteral(".ore"));
    if (recovery != mapFilePath && QFileInfo::exists(recovery)) return recovery;
    return mapFilePath;
}

bool CodeViewCurrent(const QString& mapFilePath, const QString& programFolder, UserInterface& ui) {
    return StartExternalEditor(currentMapFileForViewing(mapFilePath), 1, true, programFolder, ui);
}

bool CodeEditOriginal(const QString& mapFilePath, const QString& programFolder, UserInterface& ui) {
    return StartExternalEditor(mapFilePath, 1, false, programFolder, ui);
}

bool CodeEditOther(const QString& mapFilePath, const QString& mapsDirectory, const QString& programFolder,
                   UserInterface& ui) {
    const auto chosen =
        ui.openFileDialog(QStringLiteral("Map file (*.map)|*.map"), mapsDirectory, mapFilePath);
    if (!chosen || chosen->isEmpty()) return false;
    return StartExternalEditor(*chosen, 1, false, programFolder, ui);
}

} // namespace ts
