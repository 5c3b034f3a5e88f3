#include "mapcommands.h"

#include "cp1252.h"
#include "mapcheck.h"
#include "mapdocument.h"
#include "mapimage.h"
#include "markers.h"
#include "neighbourguess.h"
#include "paths.h"
#include "regionguess.h"
#include "settings.h"

#include <QFileInfo>
#include <algorithm>

namespace ts {

namespace {

int errorsLogged(const std::string& log) {
    // The first two lines are the log's own heading: the title and the map's path.
    int lines = 0;
    for (std::size_t at = log.find("\r\n"); at != std::string::npos; at = log.find("\r\n", at + 2))
        ++lines;
    return std::max(0, lines - 2);
}

} // namespace

QString checkSummary(const MapDocument& doc, const MapImage* image) {
    int provinces = 0;
    for (int p = 1; p <= kMaxProvince; ++p)
        provinces += DescribedInFile(doc.Provinces[p]) ? 1 : 0;
    const auto nations = std::count_if(std::begin(doc.Nations), std::end(doc.Nations),
                                       [](const NationDataType& n) { return n.NationInUse; });
    QString located;
    if (image && image->isLoaded()) located = QString::number(doc.ProvinceCount);
    else if (doc.ImageFileName.empty()) located = QStringLiteral("no picture named");
    else located = QStringLiteral("picture not found");

    QString out;
    auto line = [&out](const char* name, const QString& value) {
        out += QLatin1String(name) + QStringLiteral(": ") + value + QLatin1Char('\n');
    };
    line("title", fromCp1252(doc.MapTitle.view()));
    line("image file", fromCp1252(doc.ImageFileName.view()));
    line("provinces located", located);
    line("provinces described", QString::number(provinces));
    line("nations in use", QString::number(nations));
    line("neighbour pairs", QString::number(neighbourPairs(doc).size()));
    line("errors logged", QString::number(errorsLogged(doc.ErrorLog)));
    return out;
}

QString checkFindings(const MapDocument& doc, const ReferenceData& ref, const MapImage* image) {
    const QSize picture = image && image->isLoaded() ? image->source().size() : QSize();
    const std::vector<MapFinding> findings = CheckMap(doc, ref, picture);
    QString out = QStringLiteral("findings: %1\n").arg(findings.size());
    for (const MapFinding& f : findings)
        out += QStringLiteral("  ") + f.text + QLatin1Char('\n');
    return out;
}

void loadNamedPicture(MapDocument& doc, MapImage& image, UserInterface& ui) {
    if (doc.ImageFileName.empty()) return;
    const QString name = fromCp1252(doc.ImageFileName.view());
    if (!QFileInfo::exists(MapImage::imagePathFor(doc, name))) return;
    image.load(doc, name, ui);
}

int guessNeighbours(MapDocument& doc, MapImage& image, UserInterface& ui, bool regions) {
    if (regions) {
        applyNeighbourPairs(doc, guessRegions(doc, image.source()).pairs);
    } else {
        // The editor's guess reads the picture as shown; markers in their base look hide what lies
        // under them, and no selection ring is drawn to count as a border.
        image.setZoom(0);
        const Settings settings = Settings::defaults(programFolder());
        for (int n = 1; n <= doc.ProvinceCount; ++n)
            doc.Provinces[n].MarkerFlag = false;
        z_ReDrawMarkers(doc, settings, image.picture(), 1.0, doc.ProvinceCount);
        z_Guess_Neighbors(doc, image.picture(), 1.0f, ui);
    }
    return static_cast<int>(neighbourPairs(doc).size());
}

} // namespace ts
