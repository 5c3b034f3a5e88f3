#pragma once

#include <QSize>
#include <QString>

namespace ts {

struct MapDocument;
struct ReferenceData;
class UserInterface;

// Everything tessary-cli does with a picture, in a module of its own (tessary-cli-pictures.so)
// opened only by the commands that need one: the picture libraries (Qt's image support and
// FreeImage with the twenty libraries behind it) cost more than the whole check of a map that
// names no picture. The module keeps the one picture of the run.
struct PictureCommands {
    // locate PICTURE: the provinces of a picture file on its own, printed; returns the exit code.
    int (*locatePicture)(const QString& path, UserInterface& ui);
    // The map reader's loadImage: loads the picture the map names, beside the map file.
    void (*loadPicture)(MapDocument& doc, const QString& imageFileName, UserInterface& ui);
    // check: loads the picture the map names when that file exists; one that exists but cannot be
    // decoded is reported like any failed load.
    void (*loadNamedPicture)(MapDocument& doc, UserInterface& ui);
    bool (*pictureLoaded)();
    // The loaded picture's size; empty when none is loaded.
    QSize (*pictureSize)();
    // Replaces every neighbour list by the guess from the loaded picture: the exact guess at 100%
    // with every marker drawn in its base look, or, with regions, the region guess.
    void (*guessNeighbours)(MapDocument& doc, UserInterface& ui, bool regions);
    // run-script, after the map was read with its picture (see runscript.h); returns the exit code.
    int (*runScript)(MapDocument& doc, const ReferenceData& ref, UserInterface& ui, const QString& scriptPath,
                     const QString& outPath);
    // renumber, after the map was read with its picture (see renumbercommand.h); returns the exit code.
    int (*renumber)(MapDocument& doc, const ReferenceData& ref, UserInterface& ui, const QString& oldPicturePath,
                    const QString& outPath);
};

// The module's one exported function, by this name.
using PictureCommandsEntry = const PictureCommands* (*)();
inline constexpr const char* kPictureCommandsEntry = "tessaryPictureCommands";

// Opens the module on the first call, beside the program or, installed, in its library folder.
// Null, after saying why on stderr, when it cannot be opened.
const PictureCommands* pictureCommands();

} // namespace ts
