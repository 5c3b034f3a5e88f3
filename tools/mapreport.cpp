#include "mapreport.h"

#include "cp1252.h"
#include "mapcheck.h"
#include "mapdocument.h"

#include <functional>
#include <algorithm>
#include <cmath>
#include <deque>

namespace ts {

namespace {

constexpr int kSeaBit = 2, kMountainBit = 4, kSwampBit = 5, kWasteBit = 6, kForestBit = 7, kFarmBit = 8,
              kDeepSeaBit = 11, kCaveBit = 12, kBorderMountainBit = 22;

using Graph = std::vector<std::vector<int>>;

// The provinces the report looks at: those located on the picture or, without a picture, those the
// file says anything about.
int reportedProvinces(const MapDocument& doc, bool& located) {
    located = doc.ProvinceCount > 0;
    if (located) return doc.ProvinceCount;
    int last = 0;
    for (int n = 1; n < kProvinceSlots; ++n)
        if (DescribedInFile(doc.Provinces[n])) last = n;
    return last;
}

Graph linkGraph(const MapDocument& doc, int count) {
    Graph graph(static_cast<std::size_t>(count) + 1);
    for (int n = 1; n <= count; ++n)
        for (const std::int16_t other : doc.Provinces[n].Neighbours) {
            if (other < 1 || other > count || other == n) continue;
            graph[static_cast<std::size_t>(n)].push_back(other);
            graph[static_cast<std::size_t>(other)].push_back(n);
        }
    for (auto& partners : graph) {
        std::sort(partners.begin(), partners.end());
        partners.erase(std::unique(partners.begin(), partners.end()), partners.end());
    }
    return graph;
}

// Steps from province from to every province; -1 where it cannot go.
std::vector<int> stepsFrom(const Graph& graph, int from) {
    std::vector<int> steps(graph.size(), -1);
    std::deque<int> queue{from};
    steps[static_cast<std::size_t>(from)] = 0;
    while (!queue.empty()) {
        const int at = queue.front();
        queue.pop_front();
        for (const int next : graph[static_cast<std::size_t>(at)]) {
            int& s = steps[static_cast<std::size_t>(next)];
            if (s >= 0) continue;
            s = steps[static_cast<std::size_t>(at)] + 1;
            queue.push_back(next);
        }
    }
    return steps;
}

void countGraph(MapReport& r, const Graph& graph) {
    std::vector<int> island(graph.size(), -1);
    for (int n = 1; n <= r.provinces; ++n) {
        const std::size_t degree = graph[static_cast<std::size_t>(n)].size();
        if (r.degreeCount.size() <= degree) r.degreeCount.resize(degree + 1);
        ++r.degreeCount[degree];
        if (degree == 0) r.isolated.push_back(n);
        if (island[static_cast<std::size_t>(n)] >= 0) continue;
        const std::vector<int> steps = stepsFrom(graph, n);
        int size = 0;
        for (std::size_t k = 1; k < steps.size(); ++k)
            if (steps[k] >= 0) {
                island[k] = static_cast<int>(r.islandSizes.size());
                ++size;
            }
        r.islandSizes.push_back(size);
    }
    std::sort(r.islandSizes.begin(), r.islandSizes.end(), std::greater<>());
    // The farthest any province is from another of its island; every province is tried as a start,
    // since no shortcut is exact on a graph.
    for (int n = 1; n <= r.provinces; ++n) {
        if (graph[static_cast<std::size_t>(n)].empty()) continue;
        const std::vector<int> steps = stepsFrom(graph, n);
        r.diameter = std::max(r.diameter, *std::max_element(steps.begin(), steps.end()));
    }
}

void countKinds(MapReport& r, const MapDocument& doc) {
    for (int n = 1; n <= r.provinces; ++n) {
        const ProvinceDataType& p = doc.Provinces[n];
        if (p.TerrainBit[kDeepSeaBit]) ++r.deepSea;
        else if (isSeaProvince(p)) ++r.sea;
        else ++r.land;
        for (int b = 0; b < kTerrainBits; ++b) r.terrainBits[static_cast<std::size_t>(b)] += p.TerrainBit[b] ? 1 : 0;
        const TerrainKind kind = terrainKindOf(p);
        ++r.kindCount[static_cast<std::size_t>(kind)];
        if (kind == TerrainKind::Plains) ++r.plains;
        int sites = 0;
        for (int s = 0; s < kSiteSlotsPerProvince; ++s)
            sites += (!p.SiteName[s].empty() || p.SiteIndex[s] >= 0 ? 1 : 0) +
                     (!p.KnownSiteName[s].empty() || p.KnownSiteIndex[s] >= 0 ? 1 : 0);
        r.sites += sites;
        r.siteProvinces += sites > 0 ? 1 : 0;
        r.forts += p.Fort > 0 ? 1 : 0;
    }
}

// Start provinces in number order; a province that is both a #start and a special start is one
// start, the nation's.
std::vector<StartFigures> findStarts(const MapDocument& doc, int count) {
    std::vector<StartFigures> starts;
    for (int n = 1; n <= count; ++n) {
        const ProvinceDataType& p = doc.Provinces[n];
        StartFigures s;
        s.province = n;
        for (int nation = 0; nation < kNationCount && s.nation < 0; ++nation)
            if (doc.Nations[nation].SpecStartProvince == n) s.nation = nation;
        if (!p.Start && s.nation < 0) continue;
        s.provinceName = fromCp1252(p.LandName.view());
        if (s.nation >= 0) s.nationName = fromCp1252(doc.Nations[s.nation].NationName.view());
        starts.push_back(s);
    }
    return starts;
}

bool bordersSea(const MapDocument& doc, const Graph& graph, int province) {
    const auto& partners = graph[static_cast<std::size_t>(province)];
    return std::any_of(partners.begin(), partners.end(), [&](int n) { return isSeaProvince(doc.Provinces[n]); });
}

void measureStarts(MapReport& r, const MapDocument& doc, const Graph& graph) {
    std::vector<std::vector<int>> steps;
    for (const StartFigures& s : r.starts) steps.push_back(stepsFrom(graph, s.province));

    for (std::size_t i = 0; i < r.starts.size(); ++i) {
        StartFigures& s = r.starts[i];
        for (std::size_t j = 0; j < r.starts.size(); ++j) {
            const int d = steps[i][static_cast<std::size_t>(r.starts[j].province)];
            if (j != i && d >= 0 && (s.nearestStart < 0 || d < s.nearestStart)) s.nearestStart = d;
        }
        for (int n = 1; n <= r.provinces; ++n) {
            const int d = steps[i][static_cast<std::size_t>(n)];
            if (d < 1) continue;
            const ProvinceDataType& p = doc.Provinces[n];
            for (int ring = d - 1; ring < kRings; ++ring)
                ++s.within[static_cast<std::size_t>(ring)][static_cast<std::size_t>(terrainKindOf(p))];
            if (d > 2) continue;
            if (isSeaProvince(p)) ++s.seaWithin2;
            else if (bordersSea(doc, graph, n)) ++s.coastWithin2;
        }
    }

    r.nearestStart.assign(static_cast<std::size_t>(r.provinces) + 1, kNoStartReaches);
    for (int n = 1; n <= r.provinces; ++n) {
        int best = -1;
        int& owner = r.nearestStart[static_cast<std::size_t>(n)];
        for (std::size_t i = 0; i < r.starts.size(); ++i) {
            const int d = steps[i][static_cast<std::size_t>(n)];
            if (d < 0 || (best >= 0 && d > best)) continue;
            owner = d == best ? kTiedStarts : static_cast<int>(i);
            best = d;
        }
        if (owner >= 0) ++r.starts[static_cast<std::size_t>(owner)].share;
        else if (owner == kTiedStarts) ++r.tied;
        else ++r.unreached;
    }

    if (r.starts.empty()) return;
    std::vector<int> shares;
    for (const StartFigures& s : r.starts) shares.push_back(s.share);
    std::sort(shares.begin(), shares.end());
    const std::size_t mid = shares.size() / 2;
    r.medianShare = shares.size() % 2 ? shares[mid] : (shares[mid - 1] + shares[mid]) / 2.0;
    r.fairness = shares.back() > 0 ? static_cast<double>(shares.front()) / shares.back() : 0.0;
    for (StartFigures& s : r.starts) {
        s.smallShare = s.share < kSmallShareOfMedian * r.medianShare;
        s.crowded = s.nearestStart >= 0 && s.nearestStart < kCrowdedSteps;
    }
}

QString percent(double v) { return QString::number(v * 100.0, 'f', 0) + QLatin1Char('%'); }

QString joinNumbers(const std::vector<int>& numbers, int most) {
    QStringList out;
    for (std::size_t k = 0; k < numbers.size() && static_cast<int>(k) < most; ++k) out << QString::number(numbers[k]);
    if (static_cast<int>(numbers.size()) > most) out << QStringLiteral("... (%1 more)").arg(numbers.size() - most);
    return out.join(QLatin1Char(' '));
}

QStringList flagsOf(const StartFigures& s) {
    QStringList flags;
    if (s.smallShare) flags << QStringLiteral("small share");
    if (s.crowded) flags << QStringLiteral("crowded");
    return flags;
}

QString nearestText(int steps) { return steps < 0 ? QStringLiteral("none reachable") : QString::number(steps); }

QString escaped(const QString& text) { return text.toHtmlEscaped(); }

QString hexColor(Color c) {
    return QStringLiteral("#%1%2%3")
        .arg(c & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((c >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((c >> 16) & 0xFF, 2, 16, QLatin1Char('0'));
}

// A grouped bar chart as inline SVG: one group of bars per entry of chart.groups, one bar per series.
QString chartSvg(const ReportChart& chart) {
    const int groups = static_cast<int>(chart.groups.size());
    const int series = static_cast<int>(chart.series.size());
    constexpr int kBar = 14, kGap = 12, kLeft = 72, kTop = 34, kPlot = 180, kLabel = 70;
    const int width = std::max(320, kLeft + groups * (series * kBar + kGap) + 20);
    const int legend = series > 1 ? 18 * series : 0;
    const int height = kTop + kPlot + kLabel + legend;
    double top = 1;
    for (const auto& row : chart.values)
        for (const double v : row) top = std::max(top, v);
    QString svg = QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"chart\" id=\"%1\" width=\"%2\" "
                                 "height=\"%3\" viewBox=\"0 0 %2 %3\" font-family=\"sans-serif\" font-size=\"11\">\n")
                      .arg(chart.id)
                      .arg(width)
                      .arg(height);
    svg += QStringLiteral("<text x=\"%1\" y=\"18\" font-size=\"14\" font-weight=\"bold\">%2</text>\n")
               .arg(kLeft)
               .arg(escaped(chart.title));
    const int base = kTop + kPlot;
    svg += QStringLiteral("<line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%2\" stroke=\"#444\"/>\n").arg(kLeft).arg(base).arg(width - 10);
    svg += QStringLiteral("<text x=\"%1\" y=\"%2\" text-anchor=\"end\">%3</text>\n")
               .arg(kLeft - 4)
               .arg(kTop + 4)
               .arg(top, 0, 'g', 4);
    svg += QStringLiteral("<text x=\"%1\" y=\"%2\" text-anchor=\"end\">0</text>\n").arg(kLeft - 4).arg(base);
    for (int g = 0; g < groups; ++g) {
        const int x0 = kLeft + kGap / 2 + g * (series * kBar + kGap);
        for (int s = 0; s < series; ++s) {
            const double v = chart.values[static_cast<std::size_t>(s)][static_cast<std::size_t>(g)];
            const int h = static_cast<int>(std::lround(v / top * kPlot));
            svg += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"%5\"><title>%6: %7</title></rect>\n")
                       .arg(x0 + s * kBar)
                       .arg(base - h)
                       .arg(kBar - 2)
                       .arg(h)
                       .arg(hexColor(ShareColor(s)))
                       .arg(escaped(chart.groups[g] + (series > 1 ? QStringLiteral(", ") + chart.series[s] : QString())))
                       .arg(v, 0, 'g', 4);
        }
        const int cx = x0 + series * kBar / 2;
        svg += QStringLiteral("<text transform=\"translate(%1,%2) rotate(-45)\" text-anchor=\"end\">%3</text>\n")
                   .arg(cx)
                   .arg(base + 12)
                   .arg(escaped(chart.groups[g]));
    }
    for (int s = 0; s < series && series > 1; ++s) {
        const int y = base + kLabel + 18 * s;
        svg += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"12\" height=\"12\" fill=\"%3\"/><text x=\"%4\" y=\"%5\">%6</text>\n")
                   .arg(kLeft)
                   .arg(y)
                   .arg(hexColor(ShareColor(s)))
                   .arg(kLeft + 18)
                   .arg(y + 10)
                   .arg(escaped(chart.series[s]));
    }
    return svg + QStringLiteral("</svg>\n");
}

} // namespace

const char* terrainKindName(TerrainKind kind) {
    static const char* const names[kTerrainKinds] = {"deep sea", "sea",    "cave", "mountains", "swamp",
                                                     "waste",    "forest", "farm", "plains"};
    return names[static_cast<int>(kind)];
}

const char* terrainBitName(int bit) {
    static const char* const names[kTerrainBits] = {
        "small",       "large",       "sea",         "fresh water",  "mountains",    "swamp",
        "wasteland",   "forest",      "farm land",   "no start",     "many sites",   "deep sea",
        "cave",        "fire sites",  "air sites",   "water sites",  "earth sites",  "astral sites",
        "death sites", "nature sites", "blood sites", "holy sites",  "border mountains"};
    return bit >= 0 && bit < kTerrainBits ? names[bit] : "";
}

bool isSeaProvince(const ProvinceDataType& p) { return p.TerrainBit[kSeaBit] || p.TerrainBit[kDeepSeaBit]; }

TerrainKind terrainKindOf(const ProvinceDataType& p) {
    if (p.TerrainBit[kDeepSeaBit]) return TerrainKind::DeepSea;
    if (p.TerrainBit[kSeaBit]) return TerrainKind::Sea;
    if (p.TerrainBit[kCaveBit]) return TerrainKind::Cave;
    if (p.TerrainBit[kMountainBit] || p.TerrainBit[kBorderMountainBit]) return TerrainKind::Mountains;
    if (p.TerrainBit[kSwampBit]) return TerrainKind::Swamp;
    if (p.TerrainBit[kWasteBit]) return TerrainKind::Waste;
    if (p.TerrainBit[kForestBit]) return TerrainKind::Forest;
    if (p.TerrainBit[kFarmBit]) return TerrainKind::Farm;
    return TerrainKind::Plains;
}

int StartFigures::withinTotal(int ring) const {
    int total = 0;
    for (const int n : within[static_cast<std::size_t>(ring)]) total += n;
    return total;
}

QString StartFigures::title() const {
    QString t = provinceName.isEmpty() ? QStringLiteral("Province %1").arg(province)
                                       : QStringLiteral("%1 (%2)").arg(provinceName).arg(province);
    if (nation >= 0) t += QStringLiteral(", ") + (nationName.isEmpty() ? QStringLiteral("nation %1").arg(nation) : nationName);
    return t;
}

MapReport ComputeMapReport(const MapDocument& doc) {
    MapReport r;
    r.provinces = reportedProvinces(doc, r.located);
    const Graph graph = linkGraph(doc, r.provinces);
    countKinds(r, doc);
    countGraph(r, graph);
    r.starts = findStarts(doc, r.provinces);
    measureStarts(r, doc, graph);
    return r;
}

Color ShareColor(int startIndex) {
    // Hues a golden angle apart never repeat and keep neighbouring indices far apart.
    const double hue = std::fmod(startIndex * 137.508, 360.0) / 60.0;
    const double v = startIndex % 2 ? 0.78 : 0.95, s = 0.75;
    const double c = v * s, x = c * (1 - std::fabs(std::fmod(hue, 2.0) - 1)), m = v - c;
    double rgb[3] = {};
    const int sector = static_cast<int>(hue) % 6;
    const int big[6] = {0, 1, 1, 2, 2, 0}, small[6] = {1, 0, 2, 1, 0, 2};
    rgb[big[sector]] = c;
    rgb[small[sector]] = x;
    auto byte = [&](int k) { return static_cast<Color>(std::lround((rgb[k] + m) * 255.0)); };
    return byte(0) | byte(1) << 8 | byte(2) << 16;
}

QString KindBreakdown(const std::array<int, kTerrainKinds>& kinds) {
    QStringList out;
    for (int k = 0; k < kTerrainKinds; ++k)
        if (kinds[static_cast<std::size_t>(k)] > 0)
            out << QStringLiteral("%1 %2").arg(QLatin1String(terrainKindName(TerrainKind(k)))).arg(kinds[static_cast<std::size_t>(k)]);
    return out.join(QStringLiteral(", "));
}

std::vector<int> StartProvinces(const MapReport& report) {
    std::vector<int> provinces;
    for (const StartFigures& s : report.starts) provinces.push_back(s.province);
    return provinces;
}

std::vector<Color> ShareColors(const MapReport& report) {
    std::vector<Color> colors;
    for (std::size_t k = 0; k < report.starts.size(); ++k) colors.push_back(ShareColor(static_cast<int>(k)));
    return colors;
}

std::vector<ReportChart> ReportCharts(const MapReport& r) {
    std::vector<ReportChart> charts;
    QStringList starts;
    // Bars are labelled short; the table beside them has the whole title.
    for (const StartFigures& s : r.starts) starts << (s.provinceName.isEmpty() ? QString::number(s.province) : s.provinceName);
    auto perStart = [&](const char* id, const QString& title, QStringList series,
                        const std::function<std::vector<double>(const StartFigures&)>& figures) {
        ReportChart chart{QLatin1String(id), title, starts, std::move(series), {}};
        chart.values.resize(static_cast<std::size_t>(chart.series.size()));
        for (const StartFigures& s : r.starts) {
            const std::vector<double> v = figures(s);
            for (std::size_t k = 0; k < v.size(); ++k) chart.values[k].push_back(v[k]);
        }
        charts.push_back(std::move(chart));
    };

    ReportChart kinds{QStringLiteral("kinds"), QStringLiteral("Provinces by kind"), {}, {QStringLiteral("provinces")}, {{}}};
    for (int k = 0; k < kTerrainKinds; ++k) kinds.groups << QLatin1String(terrainKindName(TerrainKind(k)));
    for (const int n : r.kindCount) kinds.values[0].push_back(n);
    charts.push_back(kinds);

    ReportChart degrees{QStringLiteral("degrees"), QStringLiteral("Neighbours per province"), {}, {QStringLiteral("provinces")}, {{}}};
    for (std::size_t d = 0; d < r.degreeCount.size(); ++d) {
        degrees.groups << QString::number(d);
        degrees.values[0].push_back(r.degreeCount[d]);
    }
    charts.push_back(degrees);

    perStart("nearest", QStringLiteral("Steps to the nearest other start"), {QStringLiteral("steps")},
             [](const StartFigures& s) { return std::vector<double>{double(std::max(s.nearestStart, 0))}; });
    perStart("within", QStringLiteral("Provinces within 1, 2 and 3 steps"),
             {QStringLiteral("1 step"), QStringLiteral("2 steps"), QStringLiteral("3 steps")}, [](const StartFigures& s) {
                 return std::vector<double>{double(s.withinTotal(0)), double(s.withinTotal(1)), double(s.withinTotal(2))};
             });
    perStart("water", QStringLiteral("Sea and coast within 2 steps"), {QStringLiteral("sea"), QStringLiteral("coast")},
             [](const StartFigures& s) { return std::vector<double>{double(s.seaWithin2), double(s.coastWithin2)}; });
    perStart("shares", QStringLiteral("Share of the map (fairness %1)").arg(percent(r.fairness)),
             {QStringLiteral("provinces")}, [](const StartFigures& s) { return std::vector<double>{double(s.share)}; });
    return charts;
}

QString MapReportText(const MapReport& r, const QString& mapTitle) {
    QString t;
    auto line = [&t](const QString& s) { t += s + QLatin1Char('\n'); };
    line(QStringLiteral("Map report: %1").arg(mapTitle));
    line(QStringLiteral("provinces: %1%2").arg(r.provinces).arg(r.located ? QString() : QStringLiteral(" (described in the file; no picture)")));
    line(QStringLiteral("land: %1, sea: %2, deep sea: %3, plains: %4").arg(r.land).arg(r.sea).arg(r.deepSea).arg(r.plains));
    QStringList bits;
    for (int b = 0; b < kTerrainBits; ++b)
        if (r.terrainBits[static_cast<std::size_t>(b)] > 0)
            bits << QStringLiteral("%1 %2").arg(QLatin1String(terrainBitName(b))).arg(r.terrainBits[static_cast<std::size_t>(b)]);
    line(QStringLiteral("terrain flags: ") + (bits.isEmpty() ? QStringLiteral("none") : bits.join(QStringLiteral(", "))));
    line(QStringLiteral("sites: %1 in %2 provinces, forts: %3").arg(r.sites).arg(r.siteProvinces).arg(r.forts));
    line(QString());
    line(QStringLiteral("Neighbour graph"));
    QStringList degrees;
    for (std::size_t d = 0; d < r.degreeCount.size(); ++d)
        if (r.degreeCount[d] > 0) degrees << QStringLiteral("%1: %2").arg(d).arg(r.degreeCount[d]);
    line(QStringLiteral("  neighbours per province (count: provinces): ") + degrees.join(QStringLiteral(", ")));
    line(QStringLiteral("  provinces with no link: %1%2")
             .arg(r.isolated.size())
             .arg(r.isolated.empty() ? QString() : QStringLiteral(" (") + joinNumbers(r.isolated, 20) + QLatin1Char(')')));
    line(QStringLiteral("  islands: %1 (sizes %2)").arg(r.islandSizes.size()).arg(joinNumbers(r.islandSizes, 20)));
    line(QStringLiteral("  diameter: %1 steps").arg(r.diameter));
    line(QString());
    line(QStringLiteral("Starts: %1").arg(r.starts.size()));
    for (const StartFigures& s : r.starts) {
        const QStringList flags = flagsOf(s);
        line(QStringLiteral("  %1%2").arg(s.title(), flags.isEmpty() ? QString() : QStringLiteral("  [") + flags.join(QStringLiteral(", ")) + QLatin1Char(']')));
        line(QStringLiteral("    nearest other start: %1 steps").arg(nearestText(s.nearestStart)));
        for (int ring = 0; ring < kRings; ++ring)
            line(QStringLiteral("    within %1: %2 (%3)")
                     .arg(ring + 1)
                     .arg(s.withinTotal(ring))
                     .arg(KindBreakdown(s.within[static_cast<std::size_t>(ring)])));
        line(QStringLiteral("    within 2: sea %1, coast %2").arg(s.seaWithin2).arg(s.coastWithin2));
        line(QStringLiteral("    share: %1 provinces").arg(s.share));
    }
    if (!r.starts.empty()) {
        line(QStringLiteral("shares: median %1, fairness %2 (smallest share over the largest)")
                 .arg(r.medianShare)
                 .arg(percent(r.fairness)));
        line(QStringLiteral("provinces as near to two starts or more: %1, reached by no start: %2").arg(r.tied).arg(r.unreached));
    }
    return t;
}

QByteArray MapReportHtml(const MapReport& r, const QString& mapTitle, const QByteArray& sharesPng) {
    QString h = QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\"/>\n<title>Map report: %1</title>\n"
                               "<style>body{font-family:sans-serif;margin:2em;max-width:70em}table{border-collapse:collapse}"
                               "td,th{border:1px solid #bbb;padding:2px 8px;text-align:right}th:first-child,td:first-child"
                               "{text-align:left}.flag{color:#b00;font-weight:bold}svg.chart{margin:1em 1em 0 0}"
                               "img{max-width:100%}</style>\n</head>\n<body>\n<h1>Map report: %1</h1>\n")
                    .arg(escaped(mapTitle));
    h += QStringLiteral("<pre>") + escaped(MapReportText(r, mapTitle)) + QStringLiteral("</pre>\n");
    h += QStringLiteral("<h2>Starts</h2>\n<table>\n<tr><th>Start</th><th>Nearest start</th><th>Within 1</th><th>Within 2</th>"
                        "<th>Within 3</th><th>Sea within 2</th><th>Coast within 2</th><th>Share</th><th>Flags</th></tr>\n");
    for (std::size_t i = 0; i < r.starts.size(); ++i) {
        const StartFigures& s = r.starts[i];
        h += QStringLiteral("<tr><td><span style=\"color:%1\">&#9632;</span> %2</td><td>%3</td><td>%4</td><td>%5</td><td>%6</td>"
                            "<td>%7</td><td>%8</td><td>%9</td><td class=\"flag\">%10</td></tr>\n")
                 .arg(hexColor(ShareColor(static_cast<int>(i))), escaped(s.title()), nearestText(s.nearestStart))
                 .arg(s.withinTotal(0))
                 .arg(s.withinTotal(1))
                 .arg(s.withinTotal(2))
                 .arg(s.seaWithin2)
                 .arg(s.coastWithin2)
                 .arg(s.share)
                 .arg(escaped(flagsOf(s).join(QStringLiteral(", "))));
    }
    h += QStringLiteral("</table>\n<h2>Charts</h2>\n");
    for (const ReportChart& chart : ReportCharts(r)) h += chartSvg(chart);
    if (!sharesPng.isEmpty())
        h += QStringLiteral("<h2>Shares on the map</h2>\n<img alt=\"The map with each start's share shaded\" src=\"data:image/png;base64,") +
             QString::fromLatin1(sharesPng.toBase64()) + QStringLiteral("\"/>\n");
    h += QStringLiteral("</body>\n</html>\n");
    return h.toUtf8();
}

} // namespace ts
