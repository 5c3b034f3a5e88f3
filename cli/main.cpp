// tessary-cli: checks and rewrites map files without a display, with the editor's own reader and
// writer and the reference tables of its program folder.

#include "consoleuserinterface.h"
#include "cp1252.h"
#include "mapimage.h"
#include "mapdocument.h"
#include "mapreader.h"
#include "mapwriter.h"
#include "paths.h"
#include "referencedata.h"
#include "referencelists.h"
#include "referenceloader.h"
#include "runscript.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

namespace {

// Exit codes: the map read cleanly (and was written); errors were logged while reading (a write
// still happened); the command could not be carried out.
enum Exit { kClean = 0, kMapErrors = 1, kFailure = 2 };

void print(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

// Reads the map the way the editor opens it; the image only when asked for, as only locate needs it.
void readMap(ts::MapDocument& doc, const ts::ReferenceData& ref, ts::UserInterface& ui, const QString& path,
             ts::MapImage* image = nullptr) {
    ts::ResetMapDocument(doc, ref, ui);
    const QFileInfo info(path);
    doc.MapFilePath = ts::pathToText(info.absoluteFilePath());
    doc.MapFileTitle = ts::pathToText(info.fileName());
    ts::MapReadOptions options;
    if (image) options.loadImage = [&](const QString& name, const QString&) { image->load(doc, name, ui); };
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

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tessary-cli"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Checks and rewrites Thraxis 3 map files with Tessary's own reader and writer.\n\n"
                       "Commands:\n"
                       "  check MAP      read MAP and print its error log\n"
                       "  write MAP OUT  read MAP and write it to OUT in Tessary's layout\n"
                       "  locate MAP     read MAP, load its image and list the provinces found on it\n"
                       "                 (MAP may also be the image itself)\n"
                       "  run-script MAP SCRIPT OUT  read MAP with its image, run the script on it and\n"
                       "                 write the result to OUT (0: the script ran to its end, 1: it\n"
                       "                 stopped on an error, OUT is written all the same)\n\n"
                       "Exit codes: 0 the map read without errors, 1 errors were logged while reading\n"
                       "(write still writes OUT), 2 the command failed."));
    parser.addHelpOption();
    const QCommandLineOption home(
        QStringLiteral("home"),
        QStringLiteral("Use DIR as the program folder; its TSdata holds the reference "
                       "tables (default: the folder of this program)."),
        QStringLiteral("DIR"));
    parser.addOption(home);
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("check, write, locate or run-script"));
    parser.addPositionalArgument(QStringLiteral("arguments"), QStringLiteral("MAP, MAP OUT or MAP SCRIPT OUT"),
                                 QStringLiteral("[...]"));
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    const QString command = args.value(0);
    const bool check = command == QLatin1String("check") && args.size() == 2;
    const bool write = command == QLatin1String("write") && args.size() == 3;
    const bool locate = command == QLatin1String("locate") && args.size() == 2;
    const bool runScript = command == QLatin1String("run-script") && args.size() == 4;
    if (!check && !write && !locate && !runScript) {
        print(stderr, QStringLiteral("tessary-cli: expected \"check MAP\", \"write MAP OUT\", \"locate MAP\" or "
                                     "\"run-script MAP SCRIPT OUT\"\n\n") +
                          parser.helpText());
        return kFailure;
    }
    if (parser.isSet(home)) ts::setProgramFolder(parser.value(home));

    ts::ConsoleUserInterface ui;
    // The tables and the document are large fixed records: they live on the heap.
    auto ref = std::make_unique<ts::ReferenceData>();
    ts::ReferenceLists lists;
    if (!ts::LoadReferenceData(*ref, lists, ts::programFolder(), ui)) {
        print(stderr, QStringLiteral("tessary-cli: cannot load the reference tables from ") +
                          ts::joinPath(ts::programFolder(), QStringLiteral("TSdata")) + QLatin1Char('\n'));
        return kFailure;
    }

    auto doc = std::make_unique<ts::MapDocument>();
    const QString mapPath = args.at(1);
    if (locate && !mapPath.endsWith(QLatin1String(".map"))) {
        // A picture on its own: located as the editor would locate it for a new map.
        const QFileInfo info(mapPath);
        doc->MapFilePath = ts::pathToText(info.absoluteFilePath());
        doc->MapFileTitle = ts::pathToText(info.fileName());
        ts::MapImage image;
        if (!image.load(*doc, info.fileName(), ui)) return kFailure;
        printProvinces(*doc);
        return kClean;
    }
    ts::MapImage image;
    readMap(*doc, *ref, ui, mapPath, locate || runScript ? &image : nullptr);
    if (!QFileInfo::exists(mapPath)) return kFailure; // the reader has said why
    if (runScript) {
        if (doc->MapErrorsFound) printErrorLog(*doc, stderr);
        return ts::runScriptCommand(*doc, *ref, ui, image, args.at(2), args.at(3));
    }

    if (locate) {
        if (!image.isLoaded()) return kFailure; // the loader has said why
        if (doc->MapErrorsFound) printErrorLog(*doc, stderr);
        printProvinces(*doc);
        return doc->MapErrorsFound ? kMapErrors : kClean;
    }
    if (check) {
        printErrorLog(*doc, stdout);
        return doc->MapErrorsFound ? kMapErrors : kClean;
    }
    if (doc->MapErrorsFound) printErrorLog(*doc, stderr);
    if (!ts::z_WriteMapFile(*doc, *ref, ui, args.at(2))) return kFailure;
    return doc->MapErrorsFound ? kMapErrors : kClean;
}
