#pragma once

#include "userinterface.h"

#include <QString>
#include <cstdint>

namespace ts {

// The editor's preferences, kept in Tessary.cfg beside the program as one line of 39 typed fields.
// The mark and option switches are integers holding 1 or 0, as the file stores them.
struct Settings {
    bool ShowCommanders = true;
    bool ShowStartAndOwner = true;
    bool ShowVictoryPoints = true;
    bool ShowSites = true;
    bool NavigatorVisible = true;
    bool TerrainToolVisible = false;
    float TerrainToolLeft = 400;
    float TerrainToolTop = 64;
    bool FortToolVisible = false;
    float FortToolLeft = 325;
    float FortToolTop = 68;
    bool BarToolVisible = true;
    float BarToolLeft = 680;
    float BarToolTop = 0;
    QString MapsDirectory;
    QString BackgroundImage;
    std::int16_t FlashSelection = 1;
    std::int16_t ShowNeighbors = 1;
    std::int16_t MarkVisited = 0;
    std::int16_t CenterOnSelection = 1;
    std::int32_t ColorVisited = 255;
    std::int32_t ColorBaseCenter = 14446130;
    std::int32_t ColorBaseRing = 16777215;
    std::int32_t ColorBaseNeighbor = 16777215;
    std::int32_t ColorSelectedCenter = 14446130;
    std::int32_t ColorSelectedRing = 255;
    std::int32_t ColorSelectedNeighbor = 255;
    std::int16_t RingWidth = 2;
    std::int16_t RingRadius = 5;
    std::int16_t NeighborWidth = 2;
    std::int16_t SelectionBlock = 20;
    std::int16_t MarkStarts = 1;
    std::int16_t MarkNoStarts = 1;
    std::int16_t MarkSpecialStarts = 1;
    std::int16_t MarkOwners = 1;
    std::int16_t MarkVictoryPoints = 1;
    std::int32_t ColorStarts = 1244928;
    std::int32_t ColorNoStarts = 12632256;
    std::int32_t ColorVictoryPoints = 16711935;
    // Not one of the 39 fields: kept beside the file (moresettings.h). Maps are read and written
    // keeping what the editor does not understand.
    bool KeepUnknown = true;
    // The unit finder's outside unit reference: pages named by the unit number with five digits and
    // ".png" under this address. Empty: the finder offers no link.
    QString UnitReferenceAddress;

    // Every field at its first-run value; the two paths depend on the home and program folders.
    static Settings defaults(const QString& programFolder);
    static QString defaultMapsDirectory();
    static QString defaultBackgroundImage(const QString& programFolder);

    bool operator==(const Settings&) const = default;
};

// The program-wide settings.
Settings& settings();

QString configurationPath(const QString& programFolder);

// The one line of the file, CR LF included.
std::string formatConfiguration(const Settings& s);

// Reads the file into s when it exists, with the settings kept beside it (moresettings.h). False when it does not exist (s unchanged) or could not be
// read; a read error is reported, and the fields read before it keep their new values.
bool ReadConfiguration(Settings& s, const QString& path, UserInterface& ui);
// Writes the file, and the settings kept beside it, through temporary files; a failure is reported.
bool WriteConfiguration(const Settings& s, const QString& path, UserInterface& ui);

} // namespace ts
