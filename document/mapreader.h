#pragma once

#include <QString>
#include <functional>

namespace ts {

struct MapDocument;
struct ReferenceData;
class UserInterface;

// What reading a map needs from outside the document.
struct MapReadOptions {
    // Loads the map image and locates the provinces; called after the last line when the map names
    // an image. imageFileName is the name as the map gives it (no folder), imagePath where that image
    // is looked for: beside the map file. Without a loader the image step is left out.
    std::function<void(const QString& imageFileName, const QString& imagePath)> loadImage;
    // Told as soon as a line names the image, while the rest of the file is still to be read, so that
    // the picture can be decoded meanwhile; told again if a later line names another.
    std::function<void(const QString& imageFileName, const QString& imagePath)> imageNamed;
};

// Reads a map file into a freshly reset document: splits it into command lines for z_ParseCommand,
// places the gods at their starts and loads the image. The document's KeepUnknown chooses whether
// what the editor does not understand is kept (keeping.h) or dropped. Problems never stop the read; each becomes a
// line of the document's error log. Only a file that cannot be read at all is also shown to the user.
void z_ReadMapFile(MapDocument& doc, const ReferenceData& ref, UserInterface& ui, const QString& path,
                   const MapReadOptions& options = {});

// The character before the first one of a line: it never ends the line.
inline constexpr int kNoChar = -1;

// True for the byte codes that may stand in a command line outside quoted text; every other code
// (control characters, backslash, 127..159) ends the line. kNoChar counts as valid.
bool z_ValidChar(int code);

// Where the image named by the map is looked for: the map's path (MapFilePath) with every occurrence
// of its file name (MapFileTitle) replaced by the image's name, which puts it beside the map file even
// when a recovery copy is read. Without a map path the folder of the file being read is used.
QString MapImagePath(const MapDocument& doc, const QString& imageFileName, const QString& readPath);

} // namespace ts
