#pragma once

#include "renderoptions.h"

#include <QByteArray>
#include <QSize>
#include <QString>

class QCoreApplication;

namespace ts {

struct MapDocument;
struct MapReport;
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
    // with every marker drawn in its base look, or, with regions, the region guess. With keep the
    // pairs the lists already hold stay, the guess adding to them.
    void (*guessNeighbours)(MapDocument& doc, UserInterface& ui, bool regions, bool keep);
    // run-script, after the map was read with its picture (see runscript.h); returns the exit code.
    int (*runScript)(MapDocument& doc, const ReferenceData& ref, UserInterface& ui, const QString& scriptPath,
                     const QString& outPath);
    // The application object for render, which draws text: a QGuiApplication on the offscreen
    // platform, so no display is needed. Made before anything else of Qt, instead of the program's own.
    QCoreApplication* (*makeGuiApplication)(int& argc, char** argv);
    // render: the loaded picture with what options ask for, written as PNG to outPath; returns the exit code.
    int (*render)(const MapDocument& doc, UserInterface& ui, const RenderOptions& options, const QString& outPath);
    // The loaded picture, no wider than the page of a report, with the starts' shares of the report
    // shaded, as PNG; empty without a picture.
    QByteArray (*sharesPicture)(const MapDocument& doc, const MapReport& report);
    // guess-terrain: sets the guessed terrain of the provinces without any (of all, with all) and
    // returns what it did, with the accuracy figures over the given draws (seeds firstSeed on) when
    // every province has terrain.
    QString (*guessTerrain)(MapDocument& doc, bool all, int draws, int firstSeed);
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
