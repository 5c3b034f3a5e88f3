#include "mapcommands.h"

#include "cp1252.h"
#include "lookups.h"
#include "mapcheck.h"
#include "mapdocument.h"
#include "neighbourpairs.h"

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

QString checkSummary(const MapDocument& doc, bool pictureLoaded) {
    int provinces = 0;
    for (int p = 1; p <= kMaxProvince; ++p)
        provinces += DescribedInFile(doc.Provinces[p]) ? 1 : 0;
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

namespace {

// Whether the check looks anything up in the tables: commanders, gods, sites, or nations named in it.
bool needsTables(const MapDocument& doc) {
    for (const NationDataType& n : doc.Nations)
        if (n.NationInUse || n.SpecStartProvince > 0 || !n.God.UnitName.empty()) return true;
    for (int p = 1; p <= kMaxProvince; ++p) {
        const ProvinceDataType& r = doc.Provinces[p];
        if (r.CommanderCount > 0 || r.SpecStartNation >= 0) return true;
        for (int s = 0; s < kSiteSlotsPerProvince; ++s)
            if (!r.SiteName[s].empty() || !r.KnownSiteName[s].empty() || r.SiteIndex[s] >= 0 || r.KnownSiteIndex[s] >= 0)
                return true;
    }
    return false;
}

} // namespace

QString checkFindings(const MapDocument& doc, const ReferenceData& ref, QSize picture) {
    // A one-line map needs no tables, and reading them is most of a check's time.
    if (needsTables(doc)) LoadDeferredTables(ref);
    const std::vector<MapFinding> findings = CheckMap(doc, ref, picture);
    QString out = QStringLiteral("findings: %1\n").arg(findings.size());
    for (const MapFinding& f : findings)
        out += QStringLiteral("  ") + f.text + QLatin1Char('\n');
    return out;
}

} // namespace ts
