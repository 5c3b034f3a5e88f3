#include "mapreport.h"

#include "documenttesting.h"

#include <QSet>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

using namespace ts;

namespace {

constexpr int kSea = 4, kDeepSea = 2048;

struct MapReportTest : ts::testing::DocumentTest {
    // Links written on one side only: the report must count them both ways.
    void link(int from, int to) {
        for (std::int16_t& slot : prov(from).Neighbours)
            if (slot < 1) {
                slot = static_cast<std::int16_t>(to);
                return;
            }
    }
    void terrain(int p, int mask) {
        for (int b = 0; b < kTerrainBits; ++b) prov(p).TerrainBit[b] = (mask >> b) & 1;
    }
    const StartFigures& start(const MapReport& r, int province) {
        for (const StartFigures& s : r.starts)
            if (s.province == province) return s;
        ADD_FAILURE() << "no start at " << province;
        return r.starts.front();
    }
};

// A ring of eight: 1-2-3-4-5-6-7-8-1, 3 sea and 7 deep sea. Starts at 1 and 2 (plain) and at 5, the
// special start of nation 7. From 1, 2 and 5 the steps to 7 are 2, 3 and 2: 7 is tied.
TEST_F(MapReportTest, ARingOfProvincesWithThreeStarts) {
    doc->ProvinceCount = 8;
    for (int p = 1; p <= 8; ++p) link(p, p % 8 + 1);
    terrain(3, kSea);
    terrain(7, kSea | kDeepSea);
    prov(1).Start = prov(2).Start = true;
    doc->Nations[7].SpecStartProvince = 5;
    prov(5).SpecStart = true;
    prov(5).SpecStartNation = 7;
    prov(5).LandName = "Hollow";
    prov(6).Fort = 3;
    prov(6).SiteName[0] = "Site 1";
    prov(6).KnownSiteName[2] = "Site 2";

    const MapReport r = ComputeMapReport(*doc);
    EXPECT_EQ(r.land, 6);
    EXPECT_EQ(r.sea, 1);
    EXPECT_EQ(r.deepSea, 1);
    EXPECT_EQ(r.sites, 2);
    EXPECT_EQ(r.siteProvinces, 1);
    EXPECT_EQ(r.forts, 1);
    EXPECT_EQ(r.degreeCount, (std::vector<int>{0, 0, 8}));
    EXPECT_EQ(r.islandSizes, std::vector<int>{8});
    EXPECT_TRUE(r.isolated.empty());
    EXPECT_EQ(r.diameter, 4);

    ASSERT_EQ(r.starts.size(), 3u);
    const StartFigures& one = start(r, 1);
    const StartFigures& two = start(r, 2);
    const StartFigures& five = start(r, 5);
    EXPECT_EQ(one.nation, -1);
    EXPECT_EQ(five.nation, 7);
    EXPECT_TRUE(five.title().startsWith(QStringLiteral("Hollow (5), "))) << five.title().toStdString();
    EXPECT_EQ(one.nearestStart, 1);
    EXPECT_EQ(five.nearestStart, 3);
    EXPECT_EQ(one.withinTotal(0), 2);
    EXPECT_EQ(one.withinTotal(1), 4);
    EXPECT_EQ(one.withinTotal(2), 6);
    EXPECT_EQ(one.within[1][static_cast<int>(TerrainKind::Sea)], 1);
    EXPECT_EQ(one.within[1][static_cast<int>(TerrainKind::DeepSea)], 1);
    // From 1: sea 3 and 7 two steps away; 2 and 8 are land on the coast.
    EXPECT_EQ(one.seaWithin2, 2);
    EXPECT_EQ(one.coastWithin2, 2);
    // Shares: 1 takes 8, 2 takes 3, 5 takes 4 and 6; 7 is tied.
    EXPECT_EQ(one.share, 2);
    EXPECT_EQ(two.share, 2);
    EXPECT_EQ(five.share, 3);
    EXPECT_EQ(r.tied, 1);
    EXPECT_EQ(r.nearestStart[7], kTiedStarts);
    EXPECT_EQ(r.unreached, 0);
    EXPECT_DOUBLE_EQ(r.fairness, 2.0 / 3.0);
    EXPECT_TRUE(one.crowded && two.crowded && !five.crowded);
    EXPECT_FALSE(one.smallShare || two.smallShare || five.smallShare);
}

// Two islands, 1-2-3 and 4-5, and province 6 with no link, a start each on 1, 4 and 6.
TEST_F(MapReportTest, TwoIslandsAndAStartWithNoNeighbour) {
    doc->ProvinceCount = 6;
    link(1, 2), link(2, 3), link(4, 5), link(5, 4);
    for (int p : {1, 4, 6}) prov(p).Start = true;

    const MapReport r = ComputeMapReport(*doc);
    EXPECT_EQ(r.islandSizes, (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(r.isolated, std::vector<int>{6});
    EXPECT_EQ(r.diameter, 2);
    for (const StartFigures& s : r.starts) EXPECT_EQ(s.nearestStart, -1) << s.province;
    const StartFigures& alone = start(r, 6);
    EXPECT_EQ(alone.withinTotal(2), 0);
    EXPECT_EQ(alone.share, 1);
    // Shares 3, 2 and 1: the median is 2, and 1 is below 70% of it.
    EXPECT_TRUE(alone.smallShare);
    EXPECT_FALSE(start(r, 4).smallShare);
    EXPECT_DOUBLE_EQ(r.fairness, 1.0 / 3.0);
    EXPECT_EQ(r.tied + r.unreached, 0);
    const QString text = MapReportText(r, QStringLiteral("Isles"));
    EXPECT_TRUE(text.contains(QStringLiteral("  islands: 3 (sizes 3 2 1)\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("  Province 6  [small share]\n    nearest other start: none reachable")))
        << text.toStdString();
}

// Without a picture nothing is located: the report covers the provinces the file describes.
TEST_F(MapReportTest, WithoutAPictureTheDescribedProvincesCount) {
    prov(2).LandName = "Fen";
    prov(9).Start = true;
    link(9, 2);
    const MapReport r = ComputeMapReport(*doc);
    EXPECT_FALSE(r.located);
    EXPECT_EQ(r.provinces, 9);
    ASSERT_EQ(r.starts.size(), 1u);
    EXPECT_EQ(r.starts[0].share, 2);
    EXPECT_EQ(r.unreached, 7);
    EXPECT_DOUBLE_EQ(r.fairness, 1.0);
}

// The page must open in any browser and in an XML reader alike, with every chart as inline SVG.
TEST_F(MapReportTest, TheHtmlIsWellFormedWithOneChartPerFigureGroup) {
    doc->ProvinceCount = 4;
    link(1, 2), link(2, 3), link(3, 4);
    prov(1).Start = prov(4).Start = true;
    prov(1).LandName = "A <b> & \"c\"";
    const MapReport r = ComputeMapReport(*doc);
    const QByteArray html = MapReportHtml(r, QStringLiteral("Fish & <Chips>"), QByteArray("\x89PNG", 4));

    QXmlStreamReader xml(html);
    QSet<QString> charts;
    int svgs = 0, pictures = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QLatin1String("svg")) {
            ++svgs;
            charts << xml.attributes().value(QLatin1String("id")).toString();
        }
        if (xml.name() == QLatin1String("img") &&
            xml.attributes().value(QLatin1String("src")).startsWith(QLatin1String("data:image/png;base64,iVBO")))
            ++pictures;
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString() << " at line " << xml.lineNumber();
    const std::vector<ReportChart> groups = ReportCharts(r);
    EXPECT_EQ(groups.size(), 6u);
    EXPECT_EQ(svgs, static_cast<int>(groups.size()));
    EXPECT_EQ(charts.size(), svgs);
    EXPECT_EQ(pictures, 1);
    EXPECT_FALSE(MapReportHtml(r, QString(), QByteArray()).contains("<img"));
}

} // namespace
