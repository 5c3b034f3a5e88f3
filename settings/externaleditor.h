#pragma once

#include "userinterface.h"

#include <QString>
#include <QStringList>

namespace ts {

// The outside text editor the Code menu opens map files in. It lives in TSnpp beside the program and
// is handed a line number and an optional read-only switch; any editor that understands those two
// may take its place.

// " -n<line> " followed by "-ro " when read-only; lines below 1 become 1.
QString editorArguments(int line, bool readOnly);
// The same arguments split for a direct start, with the file as its own last argument so that
// spaces in the path need no quoting.
QStringList editorArgumentList(int line, bool readOnly, const QString& file);
QString editorProgram(const QString& programFolder);

// Starts the editor on file, detached, in the program folder, then lets window events run.
// False when it could not be started; the user has then been told "Syntax editor not found!".
bool StartExternalEditor(const QString& file, int line, bool readOnly, const QString& programFolder,
                         UserInterface& ui);

// The file Code > "View Current (Read Only)" shows: the recovery copy when there is one, since it
// holds what the user sees, otherwise the map file itself.
QString currentMapFileForViewing(const QString& mapFilePath);

// Code > "View Current (Read Only)", "Edit Original" and "Edit Other". Each opens at line 1.
bool CodeViewCurrent(const QString& mapFilePath, const QString& programFolder, UserInterface& ui);
bool CodeEditOriginal(const QString& mapFilePath, const QString& programFolder, UserInterface& ui);
// Asks for a map file in the maps directory with the current map preset; cancelling ends quietly
// (and returns false).
bool CodeEditOther(const QString& mapFilePath, const QString& mapsDirectory, const QString& programFolder,
                   UserInterface& ui);

} // namespace ts
