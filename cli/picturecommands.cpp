// The module tessary-cli opens for the commands that need a picture (see picturecommands.h).

#include "picturecommands.h"

#include "cp1252.h"
#include "imagedecoder.h"
#include "mapdocument.h"
#include "mapimage.h"
#include "maprender.h"
#include "mapreport.h"
#include "markers.h"
#include "neighbourguess.h"
#include "paths.h"
#include "provincelocator.h"
#include "neighbourreview.h"
#include "regionguess.h"
#include "runscript.h"
#include "settings.h"
#include "terrainguess.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>
#include <algorithm>
#include <cstdio>

namespace ts {

namespace {

MapImage& image() {
    static MapImage picture;
    return picture;
}

int locatePicture(const QString& path, UserInterface& ui) {
    // A picture on its own needs no tables and no document, only its white pixels, read
    // straight from the decoded rows: a large picture is listed in a fraction of the memory.
    const QFileInfo info(path);
    const LocatedPixels located = locatePictureFile(info.absoluteFilePath(), isSgiName(info.fileName()), kMaxProvince);
    if (!located.error.isEmpty()) {
        reportUnloadableImage(ui, info.absoluteFilePath(), located.error);
        return 2;
    }
    if (located.tooMany) reportTooManyProvinces(ui);
    QString out = QStringLiteral("%1 provinces\n").arg(located.pixels.size());
    for (std::size_t n = 0; n < located.pixels.size(); ++n)
        out += QStringLiteral("%1 %2 %3\n").arg(n + 1).arg(located.pixels[n].x()).arg(located.pixels[n].y());
    const QByteArray bytes = out.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
    return 0;
}

void loadPicture(MapDocument& doc, const QString& imageFileName, UserInterface& ui) {
    image().load(doc, imageFileName, ui);
}

void loadNamedPicture(MapDocument& doc, UserInterface& ui) {
    if (doc.ImageFileName.empty()) return;
    const QString name = fromCp1252(doc.ImageFileName.view());
    if (!QFileInfo::exists(MapImage::imagePathFor(doc, name))) return;
    image().load(doc, name, ui);
}

bool pictureLoaded() {
    return image().isLoaded();
}

QSize pictureSize() { return image().isLoaded() ? image().sourceSize() : QSize(); }

void guessNeighbours(MapDocument& doc, UserInterface& ui, bool regions, bool keep) {
    MapImage& picture = image();
    const std::vector<RegionPair> lists = keep ? neighbourPairs(doc) : std::vector<RegionPair>();
    if (regions) {
        applyNeighbourPairs(doc, NeighbourReview(lists, guessRegions(doc, picture.source()).pairs, keep).result());
        return;
    }
    // The editor's guess reads the picture as shown; markers in their base look hide what lies
    // under them, and no selection ring is drawn to count as a border.
    picture.setZoom(0);
    const Settings settings = Settings::defaults(programFolder());
    for (int n = 1; n <= doc.ProvinceCount; ++n)
        doc.Provinces[n].MarkerFlag = false;
    QImage& shown = picture.wholePictureToDrawIn();
    z_ReDrawMarkers(doc, settings, shown, 1.0, doc.ProvinceCount);
    z_Guess_Neighbors(doc, shown, 1.0f, ui);
    if (keep) applyNeighbourPairs(doc, NeighbourReview(lists, neighbourPairs(doc), true).result());
}

int runScript(MapDocument& doc, const ReferenceData& ref, UserInterface& ui, const QString& scriptPath,
              const QString& outPath) {
    return runScriptCommand(doc, ref, ui, image(), scriptPath, outPath);
}

QCoreApplication* makeGuiApplication(int& argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QGuiApplication(argc, argv);
}

int render(const MapDocument& doc, UserInterface& ui, const RenderOptions& options, const QString& outPath) {
    const Settings settings = Settings::defaults(programFolder());
    const QImage picture = renderMapPicture(doc, settings, image().source(), options);
    const QString error = picture.isNull() ? QStringLiteral("the picture is too large") : savePicture(picture, outPath);
    if (error.isEmpty()) return 0;
    ui.messageBox(QStringLiteral("Export Picture"), QStringLiteral("Cannot write %1: %2").arg(outPath, error));
    return 2;
}

QByteArray sharesPicture(const MapDocument& doc, const MapReport& report) {
    if (!image().isLoaded()) return {};
    const QImage& source = image().source();
    return sharesPagePng(doc, Settings::defaults(programFolder()), source, guessRegions(doc, source).regions,
                         report.nearestStart, StartProvinces(report), ShareColors(report));
}

QString percent(double share) { return QString::number(100 * share, 'f', 1) + QLatin1Char('%'); }

QString guessTerrainCommand(MapDocument& doc, bool all, int draws, int firstSeed) {
    const QImage& picture = image().source();
    const std::vector<std::int32_t> truth = knownTerrain(doc);
    const TerrainGuess guess = guessTerrain(doc, picture, all);
    QString out;
    if (guess.seaLandOnly)
        out += QStringLiteral("%1 provinces have terrain; the guess needs %2 to learn from, so only sea and land "
                              "were guessed, from the water in the picture\n")
                   .arg(guess.examples)
                   .arg(kTerrainMinExamples);
    if (guess.seaFromPicture)
        out += QStringLiteral("no example is sea, so sea was guessed from the water in the picture\n");
    const int set = applyTerrainGuess(doc, guess, std::vector<bool>(guess.proposals.size(), true));
    QStringList flags;
    for (const int bit : kPictureTerrainBits)
        if (guess.decided >> bit & 1u) flags << QString::fromLatin1(terrainWords(1u << bit).front()).toLower();
    out += QStringLiteral("%1 examples, %2 provinces guessed, %3 set (flags: %4)\n")
               .arg(guess.examples)
               .arg(guess.proposals.size())
               .arg(set)
               .arg(flags.isEmpty() ? QStringLiteral("none") : flags.join(QStringLiteral(", ")));
    // When the map's terrain is known (nearly every province has some), the guess is tried as a map
    // maker meets it, a fifth of those provinces given, over the draws asked for, beside the plain
    // copy of the nearest-coloured example; then where the guess goes wrong.
    const auto without = std::count(truth.begin(), truth.end(), -1);
    if (truth.empty() || without * 10 > static_cast<long>(truth.size())) return out;
    TerrainGuessInput input;
    input.positions = provincePixels(doc);
    input.wrapAround = doc.WrapAround;
    TerrainScore learned, baseline;
    const auto first = static_cast<std::uint32_t>(firstSeed);
    for (std::uint32_t seed = first; seed < first + static_cast<std::uint32_t>(draws); ++seed) {
        input.method = TerrainMethod::Learned;
        learned.add(measureTerrainGuess(picture, input, truth, 0.2, seed));
        input.method = TerrainMethod::NearestColour;
        baseline.add(measureTerrainGuess(picture, input, truth, 0.2, seed));
    }
    out += QStringLiteral("with 20% of the provinces as examples (%1 draws, seeds %2 to %3): sea/land right %4, "
                          "flags right %5; nearest colour: sea/land %6, flags %7\n")
               .arg(draws)
               .arg(firstSeed)
               .arg(firstSeed + draws - 1)
               .arg(percent(learned.seaShare()), percent(learned.flagShare()), percent(baseline.seaShare()),
                    percent(baseline.flagShare()));
    // A draw without a sea example takes sea from the water in the picture alone, and where sea is
    // rare such draws are many: the others are counted apart as well.
    if (learned.seaDraws < learned.draws)
        out += QStringLiteral("draws without a sea example: %1 of %2; over the others sea/land right %3\n")
                   .arg(learned.draws - learned.seaDraws)
                   .arg(learned.draws)
                   .arg(learned.seaDraws ? percent(learned.seaShareWithSeaExamples()) : QStringLiteral("-"));
    QStringList misses;
    for (const int bit : kPictureTerrainBits)
        if (const long wrong = learned.wrong[static_cast<std::size_t>(bit)])
            misses << QStringLiteral("%1 %2")
                          .arg(QString::fromLatin1(terrainWords(1u << bit).front()).toLower())
                          .arg(double(wrong) / draws, 0, 'f', 1);
    out += QStringLiteral("provinces wrong a draw, of %1: %2\n")
               .arg(double(learned.provinces) / draws, 0, 'f', 1)
               .arg(misses.isEmpty() ? QStringLiteral("none") : misses.join(QStringLiteral(", ")));
    return out;
}

int renumber(MapDocument& doc, const ReferenceData& ref, UserInterface& ui, const QString& oldPicturePath,
             const QString& outPath) {
    return renumberCommand(doc, ref, ui, image(), oldPicturePath, outPath);
}

} // namespace

} // namespace ts

extern "C" __attribute__((visibility("default"))) const ts::PictureCommands* tessaryPictureCommands() {
    static const ts::PictureCommands commands{ts::locatePicture,   ts::loadPicture, ts::loadNamedPicture,
                                              ts::pictureLoaded,   ts::pictureSize, ts::guessNeighbours,
                                              ts::runScript,       ts::makeGuiApplication, ts::render,
                                              ts::sharesPicture,   ts::guessTerrainCommand, ts::renumber};
    return &commands;
}
