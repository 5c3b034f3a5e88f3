#pragma once

#include "userinterface.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace ts {

struct MapDocument;
struct ProvinceDataType;

// The balance report of a map: what it is made of, how its neighbour graph hangs together and how
// fairly its starts are placed. Distances are steps along neighbour links; a link counts when
// either of its two provinces lists it, as the game moves both ways.

// A province's kind for the counts around a start: the first of these its terrain has.
enum class TerrainKind { DeepSea, Sea, Cave, Mountains, Swamp, Waste, Forest, Farm, Plains };
inline constexpr int kTerrainKinds = 9;
const char* terrainKindName(TerrainKind kind);
TerrainKind terrainKindOf(const ProvinceDataType& p);
bool isSeaProvince(const ProvinceDataType& p);

// Starts nearer than this to another start are flagged, and so are shares below this part of
// the median share.
inline constexpr int kCrowdedSteps = 3;
inline constexpr double kSmallShareOfMedian = 0.7;
// The farthest ring around a start that is counted.
inline constexpr int kRings = 3;

// Who a province falls to in the partition by nearest start.
inline constexpr int kNoStartReaches = -1;
inline constexpr int kTiedStarts = -2;

struct StartFigures {
    int province = 0;
    int nation = -1; // the nation whose special start it is; -1 for a plain start
    QString provinceName;
    QString nationName;
    int nearestStart = -1; // steps to the nearest other start; -1 when none can be reached
    // within[k][kind]: provinces 1..k+1 steps away, the start itself not counted.
    std::array<std::array<int, kTerrainKinds>, kRings> within{};
    int seaWithin2 = 0;   // sea and deep sea provinces 1..2 steps away
    int coastWithin2 = 0; // land provinces 1..2 steps away bordering the sea
    int share = 0;        // provinces strictly nearer to it than to any other start, itself included
    bool smallShare = false;
    bool crowded = false;

    int withinTotal(int ring) const;
    QString title() const; // "Reedfen (12), Vanir" or "Province 12"
};

struct MapReport {
    int provinces = 0; // provinces 1..provinces were looked at
    bool located = true; // false: the map had no picture and the provinces are those the file describes
    int land = 0, sea = 0, deepSea = 0;
    std::array<int, 23> terrainBits{};
    int plains = 0;
    std::array<int, kTerrainKinds> kindCount{}; // by TerrainKind
    int sites = 0;     // site slots in use, known sites included
    int siteProvinces = 0;
    int forts = 0;
    std::vector<int> degreeCount; // degreeCount[d] = provinces with d distinct neighbours
    std::vector<int> isolated;    // provinces with no link
    std::vector<int> islandSizes; // the graph's connected parts, largest first
    int diameter = 0;             // the most steps between two provinces that reach each other
    std::vector<StartFigures> starts;
    std::vector<int> nearestStart; // [0..provinces]: index into starts, kNoStartReaches or kTiedStarts
    int tied = 0;                  // provinces as near to two starts or more, counted for none
    int unreached = 0;             // provinces no start reaches
    double medianShare = 0;
    double fairness = 0; // smallest share over the largest; 1 with a single start, 0 without starts
};

const char* terrainBitName(int bit);

MapReport ComputeMapReport(const MapDocument& doc);

// One chart of the report: values[s][c] is the bar of series s in group c.
struct ReportChart {
    QString id;
    QString title;
    QStringList groups;
    QStringList series;
    std::vector<std::vector<double>> values;
};
// The report's charts, one per figure group, as both the window and the HTML show them.
std::vector<ReportChart> ReportCharts(const MapReport& report);

// The colour of start index's share on the map (red in the lowest byte); distinct for neighbouring indices.
Color ShareColor(int startIndex);
// The starts' provinces and their share colours, in the report's order.
std::vector<int> StartProvinces(const MapReport& report);
std::vector<Color> ShareColors(const MapReport& report);

// "plains 2, forest 1": the kinds counted in a ring around a start, those with none left out.
QString KindBreakdown(const std::array<int, kTerrainKinds>& kinds);

// The report as plain text, as tessary-cli report prints it.
QString MapReportText(const MapReport& report, const QString& mapTitle);

// The report as one self-contained HTML page: the text's figures as tables, every chart as inline
// SVG and, when sharesPng is not empty, the map picture with the shares shaded as a data: PNG.
QByteArray MapReportHtml(const MapReport& report, const QString& mapTitle, const QByteArray& sharesPng);

} // namespace ts
