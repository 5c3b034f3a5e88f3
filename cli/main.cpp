// tessary-cli: checks and rewrites map files without a display, with the editor's own reader and
// writer and the reference tables of its program folder.

#include "consoleuserinterface.h"
#include "cp1252.h"
#include "mapcommands.h"
#include "mapdocument.h"
#include "mapreader.h"
#include "mapreport.h"
#include "mapwriter.h"
#include "folders.h"
#include "largepages.h"
#include "paths.h"
#include "picturecommands.h"
#include "referencedata.h"
#include "referencelists.h"
#include "referenceloader.h"
#include "runscript.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QSaveFile>
#include <cstdio>
#include <cstring>
#include <memory>
#include <cstdlib>
#include <iterator>
#include <new>

namespace {

// Exit codes: the map read cleanly (and was written); errors were logged while reading (a write
// still happened); the command could not be carried out.
enum Exit { kClean = 0, kMapErrors = 1, kFailure = 2 };

// Maps keep what the editor does not understand, as in the editor's default; --strict drops it.
bool gKeepUnknown = true;

// Room for one of the large fixed records, in large pages: the constructor writes every page. Never
// freed: the process ends first.
void* hugePages(std::size_t size) {
    void* memory = ts::allocateInLargePages(size);
    // Held where a leak checker looks, so that what is left to the end of the process is not counted
    // as lost (the program takes two of these).
    static void* kept[4];
    static std::size_t keptCount = 0;
    if (keptCount < std::size(kept)) kept[keptCount++] = memory;
    return memory;
}

void print(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

bool noTables() {
    print(stderr, QStringLiteral("tessary-cli: cannot load the reference tables from ") +
                      ts::joinPath(ts::dataFolder(), QStringLiteral("TSdata")) + QLatin1Char('\n'));
    return false;
}

bool loadTables(ts::ReferenceData& ref, ts::ReferenceLists& lists, ts::UserInterface& ui) {
    return ts::LoadReferenceData(ref, lists, ts::programFolder(), ui) || noTables();
}

// Commands that only read a map take the tables when the map first names a unit or a site: a
// map of provinces and borders alone is read without them, and reading them is most of a start.
// Missing files still stop the command at once. A table that fails when read at last ends the
// run there, as it would have at the start: nothing has been printed yet.
bool deferTables(ts::ReferenceData& ref, ts::ReferenceLists& lists, ts::MapDocument& doc, ts::UserInterface& ui) {
    if (!ts::ReferenceFilesPresent(ts::programFolder(), ui)) return noTables();
    ref.deferredLoad = [&ref, &lists, &doc, &ui] {
        if (!loadTables(ref, lists, ui)) std::exit(kFailure);
        // The nations were reset before the tables came; nothing but the reset names them.
        for (int n = 0; n < ts::kNationCount; ++n) doc.Nations[n].NationName = ref.NationData[n].name;
    };
    return true;
}

// Reads the map the way the editor opens it; the image only when asked for, as only locate needs it.
void readMap(ts::MapDocument& doc, const ts::ReferenceData& ref, ts::UserInterface& ui, const QString& path,
             const ts::PictureCommands* pictures = nullptr) {
    // Each run reads one map into a document fresh from its constructor, which is already as empty
    // as a reset leaves it except for the nations; clearing all 2599 provinces again would double
    // the cost of a start.
    ts::ResetNations(doc, ref);
    const QFileInfo info(path);
    doc.MapFilePath = ts::pathToText(info.absoluteFilePath());
    doc.MapFileTitle = ts::pathToText(info.fileName());
    doc.KeepUnknown = gKeepUnknown;
    ts::MapReadOptions options;
    if (pictures) options.loadImage = [&](const QString& name, const QString&) { pictures->loadPicture(doc, name, ui); };
    ts::z_ReadMapFile(doc, ref, ui, path, options);
}

// One line per located province: its number, position on the picture, and name when the map gives one.
void printProvinces(const ts::MapDocument& doc) {
    QString out = QStringLiteral("%1 provinces\n").arg(doc.ProvinceCount);
    for (int n = 1; n <= doc.ProvinceCount; ++n) {
        const ts::ProvinceDataType& p = doc.Provinces[n];
        out += QStringLiteral("%1 %2 %3").arg(n).arg(p.ProvinceX).arg(p.ProvinceY);
        if (!p.LandName.empty()) out += QLatin1Char(' ') + ts::fromCp1252(p.LandName.view());
        out += QLatin1Char('\n');
    }
    print(stdout, out);
}

void printErrorLog(const ts::MapDocument& doc, std::FILE* stream) {
    QString log = ts::fromCp1252(doc.ErrorLog);
    log.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    print(stream, log);
}

// The command word, looked for before Qt reads the command line: the first argument that is no
// option and no option's value.
bool commandIs(int argc, char** argv, const char* command) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--home") == 0 || std::strcmp(argv[i], "--scale") == 0 ||
            std::strcmp(argv[i], "--html") == 0) {
            ++i;
            continue;
        }
        if (argv[i][0] != '-') return std::strcmp(argv[i], command) == 0;
    }
    return false;
}

// Only render draws text, which needs the picture module's QGuiApplication; every other command
// starts with Qt's core alone.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv) {
    if (commandIs(argc, argv, "render"))
        if (const ts::PictureCommands* pictures = ts::pictureCommands())
            return std::unique_ptr<QCoreApplication>(pictures->makeGuiApplication(argc, argv));
    return std::make_unique<QCoreApplication>(argc, argv);
}

// report: the balance report as text, and with an HTML path also as one HTML file.
int report(ts::MapDocument& doc, const ts::PictureCommands* pictures, const QString& htmlPath) {
    const ts::MapReport r = ts::ComputeMapReport(doc);
    QString title = ts::fromCp1252(doc.MapTitle.view());
    if (title.isEmpty()) title = ts::fromCp1252(doc.MapFileTitle.view());
    print(stdout, ts::MapReportText(r, title));
    if (htmlPath.isEmpty()) return kClean;
    QByteArray png;
    if (pictures && pictures->pictureLoaded()) png = pictures->sharesPicture(doc, r);
    QSaveFile file(htmlPath);
    if (file.open(QIODevice::WriteOnly) && file.write(ts::MapReportHtml(r, title, png)) >= 0 && file.commit())
        return kClean;
    print(stderr, QStringLiteral("tessary-cli: cannot write %1: %2\n").arg(htmlPath, file.errorString()));
    return kFailure;
}

} // namespace

int main(int argc, char** argv) {
    const std::unique_ptr<QCoreApplication> application = makeApplication(argc, argv);
    QCoreApplication& app = *application;
    QCoreApplication::setApplicationName(QStringLiteral("tessary-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TESSARY_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Checks and rewrites Thraxis 3 map files with Tessary's own reader and writer.\n\n"
                       "Commands:\n"
                       "  check MAP      read MAP, print a summary, the findings of the map check\n"
                       "                 and its error log\n"
                       "  write MAP OUT  read MAP and write it to OUT in Tessary's layout\n"
                       "  locate MAP     read MAP, load its image and list the provinces found on it\n"
                       "                 (MAP may also be the image itself)\n"
                       "  guess-neighbours MAP OUT [--regions] [--keep]\n"
                       "                 read MAP with its image, replace every neighbour list by the\n"
                       "                 guess (by regions with --regions; adding to the pairs the\n"
                       "                 lists hold with --keep) and write OUT\n"
                       "  guess-terrain MAP OUT [--all] [--draws N] [--seed S]\n"
                       "                 read MAP with its image, set the terrain guessed from the\n"
                       "                 provinces that have terrain for those without (for all with\n"
                       "                 --all) and write OUT; a MAP whose provinces nearly all have\n"
                       "                 terrain is also scored over N draws (default 5) of a fifth of\n"
                       "                 them as examples, seeds S (default 1) to S+N-1\n\n"
                       "  run-script MAP SCRIPT OUT  read MAP with its image, run the script on it and\n"
                       "                 write the result to OUT (0: the script ran to its end, 1: it\n"
                       "                 stopped on an error, OUT is written all the same)\n\n"
                       "  render MAP OUT.png [--scale F] [--numbers] [--names] [--links] [--starts]\n"
                       "                 a picture of the map at scale F (0.25 to 2, default 1) with\n"
                       "                 what is asked drawn over it (0: written, 2: it could not be)\n"
                       "  report MAP [--html OUT.html]\n"
                       "                 the balance report: kinds, neighbour graph and the figures of\n"
                       "                 every start; with --html also as one page with charts\n"
                       "                 (0, or 2 when the page cannot be written)\n\n"
                       "  renumber MAP OLDPICTURE OUT  read MAP with its (changed) image, match its\n"
                       "                 provinces with OLDPICTURE's by place, remap every province\n"
                       "                 number, write OUT and list the provinces added, removed, moved\n\n"
                       "Exit codes: 0 the map read without errors, 1 errors were logged while reading\n"
                       "(write still writes OUT), 2 the command failed."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption home(
        QStringLiteral("home"),
        QStringLiteral("Use DIR as the program folder; its TSdata holds the reference "
                       "tables (default: the folder of this program)."),
        QStringLiteral("DIR"));
    parser.addOption(home);
    const QCommandLineOption strict(
        QStringLiteral("strict"),
        QStringLiteral("Drop what Tessary does not understand (unknown commands, numbers beyond its limits, units "
                       "and sites missing from the tables, terrain bits above 22) instead of keeping it; applies "
                       "to every command."));
    parser.addOption(strict);
    const QCommandLineOption regions(QStringLiteral("regions"),
                                     QStringLiteral("guess-neighbours: guess by regions, not by red and blue borders."));
    parser.addOption(regions);
    const QCommandLineOption keep(QStringLiteral("keep"),
                                  QStringLiteral("guess-neighbours: keep the pairs the map's lists already hold."));
    parser.addOption(keep);
    const QCommandLineOption scale(QStringLiteral("scale"), QStringLiteral("render: the scale, 0.25 to 2."),
                                   QStringLiteral("F"), QStringLiteral("1"));
    const QCommandLineOption numbers(QStringLiteral("numbers"), QStringLiteral("render: province numbers."));
    const QCommandLineOption names(QStringLiteral("names"), QStringLiteral("render: province names."));
    const QCommandLineOption links(QStringLiteral("links"), QStringLiteral("render: the neighbour links."));
    const QCommandLineOption starts(QStringLiteral("starts"),
                                    QStringLiteral("render: start, no-start and special-start markers."));
    const QCommandLineOption html(QStringLiteral("html"), QStringLiteral("report: also write the report as HTML."),
                                  QStringLiteral("OUT.html"));
    parser.addOptions({scale, numbers, names, links, starts, html});
    const QCommandLineOption all(QStringLiteral("all"),
                                 QStringLiteral("guess-terrain: guess every province, also those that have terrain."));
    parser.addOption(all);
    const QCommandLineOption draws(QStringLiteral("draws"),
                                   QStringLiteral("guess-terrain: how many draws of examples to score, 1 to 1000."),
                                   QStringLiteral("N"), QStringLiteral("5"));
    const QCommandLineOption seed(QStringLiteral("seed"),
                                  QStringLiteral("guess-terrain: the seed of the first draw scored, 1 or more."),
                                  QStringLiteral("S"), QStringLiteral("1"));
    parser.addOptions({draws, seed});
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("check, write, locate, guess-neighbours, guess-terrain, run-script, render, "
                                                "report or renumber"));
    parser.addPositionalArgument(QStringLiteral("arguments"), QStringLiteral("MAP, MAP OUT, MAP SCRIPT OUT or MAP OLDPICTURE OUT"),
                                 QStringLiteral("[...]"));
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    const QString command = args.value(0);
    const bool check = command == QLatin1String("check") && args.size() == 2;
    const bool write = command == QLatin1String("write") && args.size() == 3;
    const bool locate = command == QLatin1String("locate") && args.size() == 2;
    const bool guess = command == QLatin1String("guess-neighbours") && args.size() == 3;
    const bool guessTerrain = command == QLatin1String("guess-terrain") && args.size() == 3;
    const bool runScript = command == QLatin1String("run-script") && args.size() == 4;
    const bool render = command == QLatin1String("render") && args.size() == 3;
    const bool reportCommand = command == QLatin1String("report") && args.size() == 2;
    const bool renumber = command == QLatin1String("renumber") && args.size() == 4;
    if (!check && !write && !locate && !guess && !guessTerrain && !runScript && !render && !reportCommand && !renumber) {
        print(stderr, QStringLiteral("tessary-cli: expected \"check MAP\", \"write MAP OUT\", \"locate MAP\", "
                                     "\"guess-neighbours MAP OUT [--regions] [--keep]\", \"guess-terrain MAP OUT [--all] [--draws N] [--seed S]\", "
                                     "\"run-script MAP SCRIPT OUT\", \"render MAP OUT.png [options]\", "
                                     "\"report MAP [--html OUT.html]\" or \"renumber MAP OLDPICTURE OUT\"\n\n") +
                          parser.helpText());
        return kFailure;
    }
    ts::RenderOptions renderOptions;
    bool scaleRead = false;
    renderOptions.scale = parser.value(scale).toDouble(&scaleRead);
    if (!scaleRead || renderOptions.scale < ts::kMinRenderScale || renderOptions.scale > ts::kMaxRenderScale) {
        print(stderr, QStringLiteral("tessary-cli: --scale takes a number from 0.25 to 2, not \"%1\"\n").arg(parser.value(scale)));
        return kFailure;
    }
    renderOptions.numbers = parser.isSet(numbers);
    renderOptions.names = parser.isSet(names);
    renderOptions.links = parser.isSet(links);
    renderOptions.starts = parser.isSet(starts);
    bool drawsRead = false, seedRead = false;
    const int drawCount = parser.value(draws).toInt(&drawsRead), firstSeed = parser.value(seed).toInt(&seedRead);
    if (!drawsRead || drawCount < 1 || drawCount > 1000 || !seedRead || firstSeed < 1) {
        print(stderr, QStringLiteral("tessary-cli: --draws takes a number from 1 to 1000 and --seed one from 1 up, not "
                                     "\"%1\" and \"%2\"\n")
                          .arg(parser.value(draws), parser.value(seed)));
        return kFailure;
    }
    if (parser.isSet(home)) ts::setProgramFolder(parser.value(home));
    gKeepUnknown = !parser.isSet(strict);

    ts::ConsoleUserInterface ui;
    const QString mapPath = args.at(1);
    // Only these commands open the picture module; check opens it when the map names a picture.
    const bool needsPicture = locate || guess || guessTerrain || runScript || render || renumber;
    const ts::PictureCommands* pictures = needsPicture ? ts::pictureCommands() : nullptr;
    if (needsPicture && !pictures) return kFailure;
    if (locate && !mapPath.endsWith(QLatin1String(".map"))) return pictures->locatePicture(mapPath, ui);

    // The tables and the document are large fixed records: they live on the heap, and are left to
    // the end of the process rather than taken apart field by field.
    // Every field has its initialiser, so nothing is cleared beforehand.
    auto* ref = new (hugePages(sizeof(ts::ReferenceData))) ts::ReferenceData;
    ts::ReferenceLists lists;
    auto* doc = new (hugePages(sizeof(ts::MapDocument))) ts::MapDocument;
    const bool readOnly = check || locate || render || reportCommand;
    if (readOnly ? !deferTables(*ref, lists, *doc, ui) : !loadTables(*ref, lists, ui)) return kFailure;
    readMap(*doc, *ref, ui, mapPath, pictures);
    if (!QFileInfo::exists(mapPath)) return kFailure; // the reader has said why
    if (runScript) {
        if (doc->MapErrorsFound) printErrorLog(*doc, stderr);
        return pictures->runScript(*doc, *ref, ui, args.at(2), args.at(3));
    }
    if (renumber) {
        if (doc->MapErrorsFound) printErrorLog(*doc, stderr);
        return pictures->renumber(*doc, *ref, ui, args.at(2), args.at(3));
    }

    if (locate) {
        if (!pictures->pictureLoaded()) return kFailure; // the loader has said why
        if (doc->MapErrorsFound) printErrorLog(*doc, stderr);
        printProvinces(*doc);
        return doc->MapErrorsFound ? kMapErrors : kClean;
    }
    if (render) {
        if (doc->MapErrorsFound) printErrorLog(*doc, stderr);
        if (!pictures->pictureLoaded()) { // the loader has said why, when the map names a picture
            if (doc->ImageFileName.empty()) print(stderr, QStringLiteral("tessary-cli: the map names no picture\n"));
            return kFailure;
        }
        return pictures->render(*doc, ui, renderOptions, args.at(2));
    }
    // The report counts the provinces located on the picture, so it looks for the picture as check does.
    if (check || reportCommand) {
        if (!doc->ImageFileName.empty()) {
            pictures = ts::pictureCommands();
            if (!pictures) return kFailure;
            pictures->loadNamedPicture(*doc, ui);
        }
        if (reportCommand) {
            if (doc->MapErrorsFound) printErrorLog(*doc, stderr);
            return report(*doc, pictures, parser.value(html));
        }
        print(stdout, ts::checkSummary(*doc, pictures && pictures->pictureLoaded()));
        print(stdout, ts::checkFindings(*doc, *ref, pictures ? pictures->pictureSize() : QSize()));
        printErrorLog(*doc, stdout);
        return doc->MapErrorsFound ? kMapErrors : kClean;
    }
    if (guess || guessTerrain) {
        if (!pictures->pictureLoaded()) { // the loader has said why, when the map names a picture
            if (doc->ImageFileName.empty()) print(stderr, QStringLiteral("tessary-cli: the map names no picture\n"));
            return kFailure;
        }
        if (guess) pictures->guessNeighbours(*doc, ui, parser.isSet(regions), parser.isSet(keep));
        else print(stdout, pictures->guessTerrain(*doc, parser.isSet(all), drawCount, firstSeed));
    }
    if (doc->MapErrorsFound) printErrorLog(*doc, stderr);
    if (!ts::z_WriteMapFile(*doc, *ref, ui, args.at(2))) return kFailure;
    return doc->MapErrorsFound ? kMapErrors : kClean;
}
