#pragma once

#include "paths.h"

#include <QString>
#include <QStringList>

namespace ts {

// Where Tessary finds what it ships and where it keeps what it writes. Two layouts exist:
//  - portable (a build tree, an unpacked folder): TSdata lies beside the executable, and everything,
//    shipped data and the user's files alike, lives in that program folder;
//  - installed (a system package): the executable has no TSdata beside it, the shipped data is
//    read from <prefix>/share/tessary, and what the program writes goes to the user's own folders
//    ($XDG_CONFIG_HOME/tessary for the settings, $XDG_DATA_HOME/tessary for palettes, templates,
//    scripts and name files), since a system folder is not writable.
// Every other part of the program asks these functions for a folder and never learns the layout.

enum class FolderLayout { Portable, Installed };

// Each takes the program folder (the executable's, or the one a test or --home chose).
FolderLayout folderLayout(const QString& program = programFolder());
// Read-only shipped data: TSdata, TSicons, TSsprites, TSflags, TSnpp, the shipped palettes,
// templates, scripts, name files and the sample map.
QString dataFolder(const QString& program = programFolder());
// Tessary.cfg, the recent maps and the map error log.
QString configFolder(const QString& program = programFolder());
// The palettes, templates, scripts and name files the user makes.
QString userDataFolder(const QString& program = programFolder());

// The user manual (an HTML page with its pictures beside it): doc/ beside the programs when portable,
// <prefix>/share/doc/tessary when installed.
QString manualFile(const QString& program = programFolder());

// The file names (not paths) matching the wildcard pattern in the folder kind sub ("TSpalettes",
// "TStemplates", ...), from the user's folder and the shipped one together, sorted, each once.
QStringList listFiles(const QString& sub, const QString& pattern, const QString& program = programFolder());
// Where name of kind sub is read from: the user's copy when there is one, else the shipped one.
QString readableFile(const QString& sub, const QString& name, const QString& program = programFolder());
// Where name of kind sub is written: always the user's folder, created when missing. Empty when
// the folder cannot be made.
QString writableFile(const QString& sub, const QString& name, const QString& program = programFolder());

} // namespace ts
