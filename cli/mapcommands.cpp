#include "mapcommands.h"

#include "cp1252.h"
#include "mapdocument.h"
#include "neighbourpairs.h"

#include <algorithm>

namespace ts {

namespace {

// A province the file says anything about: the map maker's count, to set beside the picture's.
bool described(const ProvinceDataType& p) {
    return p.Terrain > 0 || p.TerrainPlain || p.LandFlag || p.SetLandFlag || p.SpecStart || p.Start ||
           p.NoStart || !p.LandName.empty() || p.CommanderCount > 0 || p.Owner >= 0 || p.Population >= 0 ||
           p.VictoryPoints >= 0 || p.Fort >= 0 || p.Temple || p.Lab || !p.SiteName[0].empty() ||
           std::any_of(std::begin(p.Neighbours), std::end(p.Neighbours), [](std::int16_t n) { return n > 0; });
}

int errorsLogged(const std::string& log) {
    // The first two lines are the log's own heading: the title and the map's path.
    int lines = 0;
    for (std::size_t at = log.find("\r\n"); at != std::string::npos; at = log.find("\r\n", at + 2))
        ++lines;
    return std::max(0, lines - 2);
}

} // namespace

QString checkSummary(const MapDocument& doc, bool pictureLoaded) {
    int provinces = 0;
    for (int p = 1; p <= kMaxProvince; ++p)
        provinces += described(doc.Provinces[p]) ? 1 : 0;
    const auto nations = std::count_if(std::begin(doc.Nations), std::end(doc.Nations),
                                       [](const NationDataType& n) { return n.NationInUse; });
    QString located;
    if (pictureLoaded) located = QString::number(doc.ProvinceCount);
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

} // namespace ts
