#include "fakeuserinterface.h"
#include "lookups.h"
#include "mapdocument.h"
#include "mapreader.h"
#include "mapwriter.h"
#include "referencedata.h"
#include "referenceloader.h"
#include "tempfolder.h"

#include <QDir>
#include <QDirIterator>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace ts;

namespace {

// ---------------------------------------------------------------------------------------------
// Reference tables big enough for random maps; some names carry Windows-1252 letters.

std::unique_ptr<ReferenceData> makeReference() {
    auto ref = std::make_unique<ReferenceData>();
    for (int n = 0; n < kUnitSlots; ++n) {
        ref->UnitData[n].number = static_cast<std::int16_t>(n);
        ref->UnitData[n].name = (n % 7 == 0 ? "\xc6ther Unit " : "Unit ") + std::to_string(n);
    }
    for (int n = 0; n < kSiteSlots; ++n) {
        ref->SiteData[n].number = static_cast<std::int16_t>(n);
        ref->SiteData[n].name = "Site \xe9 " + std::to_string(n);
    }
    for (int n = 0; n < kPopSlots; ++n)
        ref->PopData[n].name = "Pop " + std::to_string(n);
    for (int n = 0; n < kFortSlots; ++n)
        ref->FortData[n].name = "Fort " + std::to_string(n);
    for (int n = 0; n < kNationSlots; ++n)
        ref->NationData[n].name = "Nation \xe5 " + std::to_string(n);
    BuildLookupIndex(*ref);
    return ref;
}

// ---------------------------------------------------------------------------------------------
// Random documents within what the format can express. What it cannot, the generator leaves out:
// - texts hold no double quote, and texts on command lines no comment marker ("--", "##", "//");
//   unquoted texts (title, image name) only line characters and no spaces at their ends;
// - reference names and numbers agree with the tables, since the file keeps only the numbers;
// - troops, items, sites and commanders fill their slots from the first one, with counts above 0;
// - alliances and neighbour links are symmetric, neighbour lists ascending, and only nations in use
//   (with a special start or a god) hold AI, god, dominion and scale values;
// - values the layout leaves out as "not set" (scale 0, fort 0, pop type 0, ...) are not generated;
// - terrain flags agree with the mask as DecodeTerrainMask would set them;
// - a garrison (commanders inside the castle) needs a fort and follows the other commanders.

class Generator {
  public:
    Generator(const ReferenceData& ref, unsigned seed) : mRef(ref), mRng(seed) {}

    void fill(MapDocument& d) {
        header(d);
        nations(d);
        provinces(d);
        neighbours(d);
    }

  private:
    int range(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(mRng); }
    bool chance(double p) { return std::bernoulli_distribution(p)(mRng); }
    std::int16_t i16(int lo, int hi) { return static_cast<std::int16_t>(range(lo, hi)); }
    float hundredths(int lo, int hi) { return static_cast<float>(range(lo, hi)) / 100.0f; }

    char textChar(bool lineChars) {
        static const std::string alphabet =
            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .,'!?()-#/:";
        if (chance(0.15)) {
            const int c = lineChars ? range(160, 255) : range(128, 255);
            return static_cast<char>(c);
        }
        if (!lineChars && chance(0.05)) return chance(0.5) ? '\t' : '\\';
        return alphabet[static_cast<std::size_t>(range(0, static_cast<int>(alphabet.size()) - 1))];
    }
    std::string text(bool lineChars, int maxLength = 14) {
        std::string s;
        const int length = range(1, maxLength);
        while (static_cast<int>(s.size()) < length) {
            const char c = textChar(lineChars);
            if (!s.empty() && s.back() == c && (c == '-' || c == '#' || c == '/')) continue;
            s += c;
        }
        if (lineChars) {
            while (!s.empty() && s.back() == ' ')
                s.pop_back();
            while (!s.empty() && s.front() == ' ')
                s.erase(0, 1);
            if (s.empty()) s = "x";
        }
        return s;
    }
    std::string quotedText() { return text(false); }

    void header(MapDocument& d) {
        d.MapTitle = text(true, 30);
        d.ImageFileName = text(true) + ".tga";
        static const char* versions[] = {"", "323", "3.17", "2.0"};
        d.GameVersion = versions[range(0, 3)];
        std::string description;
        for (int k = range(0, 6); k > 0; --k) {
            description += chance(0.3) ? "\r\n" : (chance(0.2) ? "-- ## //" : text(false, 20));
        }
        d.MapDescription = description;
        d.WrapAround = chance(0.5);
        d.ScenarioFlag = chance(0.5);
        d.NoHomelandNames = chance(0.5);
        if (chance(0.5)) {
            d.VictoryConditionType = i16(1, 5);
            d.VictoryConditionValue = i16(-1, 500);
        }
        if (chance(0.5))
            for (float& c : d.MapTextColor)
                c = hundredths(0, 100);
        if (chance(0.5)) d.DefaultMapZoom = hundredths(-99, 400);
        if (chance(0.5)) d.FeaturesFrequency = i16(0, 100);
    }

    void unitRef(std::int16_t& index, Text& name) {
        index = i16(1, kUnitSlots - 1);
        name = mRef.UnitData[index].name;
    }

    void commander(CommanderDataType& c, bool god) {
        if (!god) unitRef(c.UnitIndex, c.UnitName);
        if (chance(0.5)) c.ComName = quotedText();
        const int guards = chance(0.05) ? kBodyguardSlots : range(0, 3);
        for (int k = 0; k < guards; ++k) {
            c.BodyguardCount[k] = i16(1, 60);
            unitRef(c.BodyguardIndex[k], c.BodyguardName[k]);
        }
        const int stacks = chance(0.05) ? kUnitStackSlots : range(0, 3);
        for (int k = 0; k < stacks; ++k) {
            c.UnitsCount[k] = i16(1, 60);
            unitRef(c.UnitsIndex[k], c.UnitsName[k]);
        }
        c.ClearMagic = chance(0.1);
        for (std::int16_t* m : {&c.MagFire, &c.MagAir, &c.MagWater, &c.MagEarth, &c.MagAstral, &c.MagDeath,
                                &c.MagNature, &c.MagBlood, &c.MagPriest})
            if (chance(0.2)) *m = i16(1, 5);
        if (chance(0.2)) c.Xp = i16(1, 300);
        if (chance(0.3)) c.RandomEquip = i16(0, 4);
        const int items = chance(0.05) ? kItemSlotsPerCommander : range(0, 2);
        for (int k = 0; k < items; ++k)
            c.Items[k] = quotedText();
    }

    int freeProvince(MapDocument& d) {
        for (;;) {
            const int p = range(1, kMaxProvince);
            if (!d.Provinces[p].SpecStart) return p;
        }
    }

    void nations(MapDocument& d) {
        for (int n = 0; n < kNationCount; ++n) {
            NationDataType& nation = d.Nations[n];
            nation.AllowedPlayer = chance(0.3);
            for (int b = n; b < kNationCount; ++b)
                if (chance(0.01)) nation.Allies[b] = d.Nations[b].Allies[n] = true;
            if (!chance(0.25)) continue;
            nation.NationInUse = true;
            const bool start = chance(0.7);
            const bool god = !start || chance(0.7);
            if (start) {
                const int p = freeProvince(d);
                nation.SpecStartProvince = static_cast<std::int16_t>(p);
                d.Provinces[p].SpecStart = true;
                d.Provinces[p].SpecStartNation = static_cast<std::int16_t>(n);
            }
            if (god) {
                unitRef(nation.GodIndex, nation.GodName);
                nation.God.UnitIndex = nation.GodIndex;
                nation.God.UnitName = nation.GodName;
                commander(nation.God, true);
            }
            if (chance(0.5)) nation.AIDifficulty = i16(1, 5);
            nation.CannotWin = chance(0.2);
            if (chance(0.3)) nation.DominionLevel = i16(1, 10);
            for (std::int16_t* s : {&nation.ScaleChaos, &nation.ScaleLazy, &nation.ScaleCold,
                                    &nation.ScaleDeath, &nation.ScaleUnluck, &nation.ScaleUnmagic})
                if (chance(0.3)) *s = chance(0.5) ? i16(1, 3) : i16(-3, -1);
        }
    }

    void colour(std::int16_t (&rgb)[3]) {
        if (!chance(0.1)) return;
        rgb[0] = i16(0, 255);
        rgb[1] = i16(-1, 255);
        rgb[2] = i16(-1, 255);
    }

    void province(MapDocument& d, int number) {
        ProvinceDataType& p = d.Provinces[number];
        if (!p.SpecStart) {
            const int flags = range(1, 3);
            p.LandFlag = flags & 1;
            p.SetLandFlag = flags & 2;
        }
        if (chance(0.8)) p.LandName = quotedText();
        if (chance(0.1)) p.SkyBox = quotedText();
        if (chance(0.1)) p.BatMap = quotedText();
        colour(p.GroundCol);
        colour(p.RockCol);
        colour(p.FogCol);
        if (chance(0.5)) p.Owner = i16(0, 99);
        if (chance(0.5)) p.PopType = i16(1, 90);
        if (chance(0.5)) p.Population = range(0, 2000000);
        if (chance(0.3)) p.Unrest = i16(0, 100);
        if (chance(0.3)) p.Defence = i16(0, 100);
        if (chance(0.1)) p.VictoryPoints = i16(1, 5);
        if (chance(0.3)) p.Fort = i16(1, kFortSlots - 1);
        p.Lab = chance(0.1);
        p.Temple = chance(0.1);
        p.KillFeatures = chance(0.1);
        for (int k = range(0, 4) - 1; k >= 0; --k) {
            p.SiteIndex[k] = i16(1, kSiteSlots - 1);
            p.SiteName[k] = mRef.SiteData[p.SiteIndex[k]].name;
        }
        for (int k = range(0, 4) - 1; k >= 0; --k) {
            p.KnownSiteIndex[k] = i16(1, kSiteSlots - 1);
            p.KnownSiteName[k] = mRef.SiteData[p.KnownSiteIndex[k]].name;
        }
        const int commanders = chance(0.02) ? kCommanderSlots - 1 : range(0, 4);
        const int garrisonFrom = (p.Fort > 0 && chance(0.4)) ? range(1, commanders + 1) : commanders + 1;
        for (int c = 1; c <= commanders; ++c) {
            commander(p.Commanders[c], false);
            p.Commanders[c].InsideCastle = c >= garrisonFrom;
        }
        p.CommanderCount = static_cast<std::int16_t>(commanders);
    }

    void provinces(MapDocument& d) {
        for (int number = 1; number <= kMaxProvince; ++number) {
            ProvinceDataType& p = d.Provinces[number];
            if (p.SpecStart || chance(0.03)) province(d, number);
            p.Start = chance(0.01);
            std::int32_t mask = 0;
            if (chance(0.1)) {
                for (int k = 0; k < kTerrainBits; ++k) {
                    p.TerrainBit[k] = chance(0.1);
                    if (p.TerrainBit[k]) mask |= 1 << k;
                }
                p.TerrainPlain = mask < 3 && (mask > 0 || chance(0.5));
                p.NoStart = p.TerrainBit[9];
            }
            p.Terrain = mask;
        }
    }

    void neighbours(MapDocument& d) {
        std::vector<std::vector<std::int16_t>> links(kProvinceSlots);
        for (int k = 0; k < 400; ++k) {
            const int a = range(1, kMaxProvince);
            const int b = chance(0.8) ? std::min(kMaxProvince, a + range(1, 40)) : range(1, kMaxProvince);
            if (a == b || links[a].size() >= std::size_t{kNeighbourSlots} ||
                links[b].size() >= std::size_t{kNeighbourSlots})
                continue;
            if (std::find(links[a].begin(), links[a].end(), b) != links[a].end()) continue;
            links[a].push_back(static_cast<std::int16_t>(b));
            links[b].push_back(static_cast<std::int16_t>(a));
        }
        for (int p = 1; p <= kMaxProvince; ++p) {
            std::sort(links[p].begin(), links[p].end());
            std::copy(links[p].begin(), links[p].end(), d.Provinces[p].Neighbours);
        }
    }

    const ReferenceData& mRef;
    std::mt19937 mRng;
};

// The changes the layout itself makes to a document that is written and read back.
void applyLayoutChanges(MapDocument& d) {
    // Every version command stores the version this editor supports.
    d.GameVersion = "3.17";
    for (int number = 1; number <= kMaxProvince; ++number) {
        ProvinceDataType& p = d.Provinces[number];
        // A mask of 0 without the plain flag is not written: the province reads back with no mask.
        if (p.Terrain == 0 && !p.TerrainPlain) p.Terrain = -1;
        // Owner 23 is written only as the castle separator before the garrison.
        bool garrison = false;
        for (int c = 1; c < kCommanderSlots; ++c)
            garrison = garrison || (!p.Commanders[c].UnitName.empty() && p.Commanders[c].InsideCastle);
        if (garrison)
            p.Owner = 23;
        else if (p.Owner == 23)
            p.Owner = -1;
    }
    for (const NationDataType& n : d.Nations) {
        if (n.SpecStartProvince <= 0) continue;
        ProvinceDataType& start = d.Provinces[n.SpecStartProvince];
        // The start province is addressed by #setland in its nation's block, never by #land.
        start.SetLandFlag = true;
        start.LandFlag = false;
        // The god's lines are mirrored into slot 0 of its start, and the read places its type there.
        if (!n.GodName.empty()) {
            start.Commanders[0] = n.God;
            if (n.GodIndex > 0) ++start.CommanderCount;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Field-by-field comparison that names the first fields that differ.

class Differences {
  public:
    template <typename T, typename... Path> void eq(const T& a, const T& b, const Path&... path) {
        if (a == b || mFound.size() >= 20) return;
        std::ostringstream s;
        ((s << path << ' '), ...);
        s << ": " << show(a) << " != " << show(b);
        mFound.push_back(s.str());
    }
    const std::vector<std::string>& found() const { return mFound; }

  private:
    static std::string show(const Text& t) { return '"' + t.str() + '"'; }
    template <typename T> static std::string show(const T& v) {
        std::ostringstream s;
        s << +v;
        return s.str();
    }
    std::vector<std::string> mFound;
};

#define SAME(field) diff.eq(a.field, b.field, where..., #field)
#define SAME_ARRAY(field)                                                                                    \
    for (std::size_t k = 0; k < std::size(a.field); ++k)                                                     \
    diff.eq(a.field[k], b.field[k], where..., #field, k)

template <typename... Where>
void compareCommanders(Differences& diff, const CommanderDataType& a, const CommanderDataType& b,
                       const Where&... where) {
    SAME(NodeParentKey), SAME(NodeKey), SAME(NodeText), SAME(UnitName), SAME(UnitIndex), SAME(ComName);
    SAME_ARRAY(BodyguardName);
    SAME_ARRAY(BodyguardIndex);
    SAME_ARRAY(BodyguardCount);
    SAME_ARRAY(UnitsName);
    SAME_ARRAY(UnitsIndex);
    SAME_ARRAY(UnitsCount);
    SAME(ClearMagic), SAME(MagFire), SAME(MagAir), SAME(MagWater), SAME(MagEarth), SAME(MagAstral);
    SAME(MagDeath), SAME(MagNature), SAME(MagBlood), SAME(MagPriest), SAME(Xp), SAME(RandomEquip);
    SAME_ARRAY(Items);
    SAME(InsideCastle);
}

template <typename... Where>
void compareNations(Differences& diff, const NationDataType& a, const NationDataType& b,
                    const Where&... where) {
    SAME(NodeParentKey), SAME(NodeKey), SAME(NodeText), SAME(NationInUse), SAME(NationNumber);
    SAME(NationName), SAME(SpecStartProvince), SAME(AIDifficulty), SAME(CannotWin), SAME(GodName);
    SAME(GodIndex), SAME(ScaleChaos), SAME(ScaleLazy), SAME(ScaleCold), SAME(ScaleDeath);
    SAME(ScaleUnluck), SAME(ScaleUnmagic), SAME(DominionLevel), SAME(AllowedPlayer);
    SAME_ARRAY(Allies);
    compareCommanders(diff, a.God, b.God, where..., "God");
}

template <typename... Where>
void compareProvinces(Differences& diff, const ProvinceDataType& a, const ProvinceDataType& b,
                      const Where&... where) {
    SAME(NodeParentKey), SAME(NodeKey), SAME(NodeText), SAME(ProvinceX), SAME(ProvinceY);
    SAME(MarkerFlag), SAME(MarkerColor), SAME(MarkerColor2), SAME(Visited), SAME(Marked);
    SAME_ARRAY(Neighbours);
    SAME(Terrain), SAME(TerrainPlain);
    SAME_ARRAY(TerrainBit);
    SAME(LandName), SAME(SetLandFlag), SAME(LandFlag), SAME(CommanderCount), SAME(KillFeatures);
    SAME_ARRAY(SiteName);
    SAME_ARRAY(SiteIndex);
    SAME_ARRAY(KnownSiteName);
    SAME_ARRAY(KnownSiteIndex);
    SAME(Fort), SAME(Temple), SAME(Lab), SAME(Start), SAME(NoStart), SAME(SpecStart);
    SAME(SpecStartNation), SAME(VictoryPoints), SAME(Population), SAME(PopType), SAME(Owner);
    SAME(Unrest), SAME(Defence), SAME(SkyBox), SAME(BatMap);
    SAME_ARRAY(GroundCol);
    SAME_ARRAY(RockCol);
    SAME_ARRAY(FogCol);
    for (int c = 0; c < kCommanderSlots; ++c)
        compareCommanders(diff, a.Commanders[c], b.Commanders[c], where..., "Commander", c);
}

template <typename... Where>
void compareHeaders(Differences& diff, const MapDocument& a, const MapDocument& b, const Where&... where) {
    SAME(MapTitle), SAME(ImageFileName), SAME(GameVersion), SAME(ScenarioFlag), SAME(MapDescription);
    SAME_ARRAY(MapTextColor);
    SAME(DefaultMapZoom), SAME(FeaturesFrequency), SAME(NoHomelandNames), SAME(VictoryConditionType);
    SAME(VictoryConditionValue), SAME(WrapAround);
}

std::vector<std::string> compareDocuments(const MapDocument& a, const MapDocument& b) {
    Differences diff;
    compareHeaders(diff, a, b, "header");
    for (int n = 0; n < kNationCount; ++n)
        compareNations(diff, a.Nations[n], b.Nations[n], "Nation", n);
    for (int p = 0; p < kProvinceSlots; ++p)
        compareProvinces(diff, a.Provinces[p], b.Provinces[p], "Province", p);
    return diff.found();
}

#undef SAME
#undef SAME_ARRAY

// ---------------------------------------------------------------------------------------------

struct RoundTripTest : ::testing::Test {
    static inline std::unique_ptr<ReferenceData> ref;
    std::unique_ptr<MapDocument> written = std::make_unique<MapDocument>();
    std::unique_ptr<MapDocument> read = std::make_unique<MapDocument>();
    TempFolder folder;

    static void SetUpTestSuite() { ref = makeReference(); }
    static void TearDownTestSuite() { ref.reset(); }

    // Writes doc, reads the file into a fresh document and returns the bytes written.
    std::string writeAndRead(MapDocument& doc, const QString& name = QStringLiteral("trip.map")) {
        FakeUserInterface ui;
        const QString path = folder.file(name);
        EXPECT_TRUE(z_WriteMapFile(doc, *ref, ui, path));
        ResetMapDocument(*read, *ref, ui);
        z_ReadMapFile(*read, *ref, ui, path);
        EXPECT_TRUE(ui.messages.empty());
        return folder.read(name);
    }
};

TEST_F(RoundTripTest, RandomMapsReadBackAsWrittenAndWriteTheSameBytes) {
    constexpr unsigned kMaps = 200;
    auto again = std::make_unique<MapDocument>();
    for (unsigned seed = 1; seed <= kMaps; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        FakeUserInterface ui;
        ResetMapDocument(*written, *ref, ui);
        Generator(*ref, seed).fill(*written);

        writeAndRead(*written);
        EXPECT_FALSE(read->MapErrorsFound) << read->ErrorLog;
        applyLayoutChanges(*written);
        const auto differences = compareDocuments(*written, *read);
        EXPECT_TRUE(differences.empty()) << ::testing::PrintToString(differences);

        // From a document that was read, the writer's file is a fixed point: reading and writing it
        // again gives the same bytes and the same records.
        std::swap(written, read);
        const std::string second = writeAndRead(*written, QStringLiteral("second.map"));
        std::swap(again, read);
        FakeUserInterface third;
        ASSERT_TRUE(z_WriteMapFile(*again, *ref, third, folder.file(QStringLiteral("third.map"))));
        EXPECT_EQ(folder.read(QStringLiteral("third.map")), second);
        EXPECT_TRUE(compareDocuments(*written, *again).empty());
        std::swap(again, read);
        if (HasFailure()) break;
    }
}

TEST_F(RoundTripTest, ContentWithoutItsOwnLandCommandComesBackSetLand) {
    FakeUserInterface ui;
    ResetMapDocument(*written, *ref, ui);
    written->Provinces[7].Owner = 4;
    written->Provinces[9].LandFlag = true;
    written->Provinces[9].Owner = 5;
    // Without the #setland line the owner of 7 would be read into province 9.
    writeAndRead(*written);
    EXPECT_EQ(read->Provinces[7].Owner, 4);
    EXPECT_TRUE(read->Provinces[7].SetLandFlag);
    EXPECT_EQ(read->Provinces[9].Owner, 5);
}

TEST_F(RoundTripTest, EmptyTitleAndImageNameAreWrittenButLoggedWhenRead) {
    FakeUserInterface ui;
    ResetMapDocument(*written, *ref, ui);
    writeAndRead(*written);
    EXPECT_NE(read->ErrorLog.find("Map Line# 12 : #thx2title\r\n"), std::string::npos) << read->ErrorLog;
    EXPECT_NE(read->ErrorLog.find("Map Line# 13 : #imagefile\r\n"), std::string::npos) << read->ErrorLog;
    EXPECT_EQ(read->GameVersion, "3.17");
}

TEST_F(RoundTripTest, SampleMapsReadCleanlyAndRoundTrip) {
    // The build copies data/ beside the programs; the samples are read from there with the real
    // tables, through a copy, so the test never touches the source tree.
    const QString program = QStringLiteral(TESSARY_PROGRAM_DIR);
    QDirIterator it(program + QStringLiteral("/maps"), {QStringLiteral("*.map")}, QDir::Files);
    if (!it.hasNext()) GTEST_SKIP() << "no sample maps beside the program yet";
    FakeUserInterface loading;
    ReferenceLists lists;
    auto tables = std::make_unique<ReferenceData>();
    ASSERT_TRUE(LoadReferenceData(*tables, lists, program, loading));
    std::swap(ref, tables);
    while (it.hasNext()) {
        const QString source = it.next();
        SCOPED_TRACE(source.toStdString());
        QFile in(source);
        ASSERT_TRUE(in.open(QIODevice::ReadOnly));
        const QByteArray bytes = in.readAll();
        const QString copy =
            folder.write(QStringLiteral("sample.map"),
                         std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        FakeUserInterface ui;
        ResetMapDocument(*written, *ref, ui);
        z_ReadMapFile(*written, *ref, ui, copy);
        EXPECT_FALSE(written->MapErrorsFound) << written->ErrorLog;
        const std::string first = writeAndRead(*written);
        EXPECT_FALSE(read->MapErrorsFound) << read->ErrorLog;
        FakeUserInterface again;
        ASSERT_TRUE(z_WriteMapFile(*read, *ref, again, folder.file(QStringLiteral("again.map"))));
        EXPECT_EQ(folder.read(QStringLiteral("again.map")), first);
    }
    std::swap(ref, tables);
}

} // namespace
