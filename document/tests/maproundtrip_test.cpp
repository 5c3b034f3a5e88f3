#include "documenttesting.h"
#include "mapreader.h"
#include "mapwriter.h"
#include "referenceloader.h"

#include <QDirIterator>
#include <algorithm>
#include <random>

using namespace ts;

namespace {

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
        for (int n = 0; n < kNationCount; ++n)
            nation(d, n);
        for (int p = 1; p <= kMaxProvince; ++p)
            province(d.Provinces[p]);
        neighbours(d);
    }

  private:
    int range(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(mRng); }
    bool chance(double p) { return std::bernoulli_distribution(p)(mRng); }
    std::int16_t i16(int lo, int hi) { return static_cast<std::int16_t>(range(lo, hi)); }
    float hundredths(int lo, int hi) { return static_cast<float>(range(lo, hi)) / 100.0f; }
    // Fills some of the fields with values in lo..hi; the rest keep their "not set" value.
    void some(std::initializer_list<std::int16_t*> fields, double p, int lo, int hi) {
        for (std::int16_t* f : fields)
            if (chance(p)) *f = i16(lo, hi);
    }

    // Line texts (title, image name) take only line characters; quoted texts also tabs, backslashes
    // and the codes 128..159.
    std::string text(bool lineChars, int maxLength = 14) {
        static const std::string alphabet =
            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .,'!?()-#/:";
        std::string s;
        for (const int length = range(1, maxLength); static_cast<int>(s.size()) < length;) {
            char c = alphabet[static_cast<std::size_t>(range(0, static_cast<int>(alphabet.size()) - 1))];
            if (chance(0.15)) c = static_cast<char>(range(lineChars ? 160 : 128, 255));
            else if (!lineChars && chance(0.05)) c = chance(0.5) ? '\t' : '\\';
            if (s.empty() || s.back() != c || (c != '-' && c != '#' && c != '/')) s += c;
        }
        if (!lineChars) return s;
        s.erase(s.find_last_not_of(' ') + 1);
        s.erase(0, s.find_first_not_of(' '));
        return s.empty() ? "x" : s;
    }

    void header(MapDocument& d) {
        d.MapTitle = text(true, 30);
        d.ImageFileName = text(true) + ".tga";
        static const char* versions[] = {"", "323", "3.17", "2.0"};
        d.GameVersion = versions[range(0, 3)];
        std::string description;
        for (int k = range(0, 6); k > 0; --k)
            description += chance(0.3) ? "\r\n" : (chance(0.2) ? "-- ## //" : text(false, 20));
        d.MapDescription = description;
        d.WrapAround = chance(0.5), d.ScenarioFlag = chance(0.5), d.NoHomelandNames = chance(0.5);
        if (chance(0.5)) d.VictoryConditionType = i16(1, 5), d.VictoryConditionValue = i16(-1, 500);
        if (chance(0.5))
            for (float& c : d.MapTextColor)
                c = hundredths(0, 100);
        if (chance(0.5)) d.DefaultMapZoom = hundredths(-99, 400);
        some({&d.FeaturesFrequency}, 0.5, 0, 100);
    }

    void unitRef(std::int16_t& index, Text& name) {
        index = i16(1, 300); // the units in the tables
        name = mRef.UnitData[index].name;
    }
    // Fills the first slots; now and then every slot.
    int filled(int all, int usual) { return chance(0.05) ? all : range(0, usual); }

    void commander(CommanderDataType& c, bool god) {
        if (!god) unitRef(c.UnitIndex, c.UnitName);
        if (chance(0.5)) c.ComName = text(false);
        for (int k = filled(kBodyguardSlots, 3) - 1; k >= 0; --k)
            c.BodyguardCount[k] = i16(1, 60), unitRef(c.BodyguardIndex[k], c.BodyguardName[k]);
        for (int k = filled(kUnitStackSlots, 3) - 1; k >= 0; --k)
            c.UnitsCount[k] = i16(1, 60), unitRef(c.UnitsIndex[k], c.UnitsName[k]);
        c.ClearMagic = chance(0.1);
        some({&c.MagFire, &c.MagAir, &c.MagWater, &c.MagEarth, &c.MagAstral, &c.MagDeath, &c.MagNature, &c.MagBlood,
              &c.MagPriest}, 0.2, 1, 5);
        some({&c.Xp}, 0.2, 1, 300);
        some({&c.RandomEquip}, 0.3, 0, 4);
        for (int k = filled(kItemSlotsPerCommander, 2) - 1; k >= 0; --k)
            c.Items[k] = text(false);
    }

    void nation(MapDocument& d, int n) {
        NationDataType& nation = d.Nations[n];
        nation.AllowedPlayer = chance(0.3);
        for (int b = n; b < kNationCount; ++b)
            if (chance(0.01)) nation.Allies[b] = d.Nations[b].Allies[n] = true;
        if (!chance(0.25)) return;
        nation.NationInUse = true;
        const bool start = chance(0.7);
        if (start) {
            int p = range(1, kMaxProvince);
            while (d.Provinces[p].SpecStart)
                p = range(1, kMaxProvince);
            nation.SpecStartProvince = static_cast<std::int16_t>(p);
            d.Provinces[p].SpecStart = true;
            d.Provinces[p].SpecStartNation = static_cast<std::int16_t>(n);
        }
        if (!start || chance(0.7)) {
            unitRef(nation.GodIndex, nation.GodName);
            nation.God.UnitIndex = nation.GodIndex, nation.God.UnitName = nation.GodName;
            commander(nation.God, true);
        }
        some({&nation.AIDifficulty}, 0.5, 1, 5);
        nation.CannotWin = chance(0.2);
        some({&nation.DominionLevel}, 0.3, 1, 10);
        for (std::int16_t* s : {&nation.ScaleChaos, &nation.ScaleLazy, &nation.ScaleCold, &nation.ScaleDeath,
                                &nation.ScaleUnluck, &nation.ScaleUnmagic})
            if (chance(0.3)) *s = chance(0.5) ? i16(1, 3) : i16(-3, -1);
    }

    void provinceBody(ProvinceDataType& p) {
        if (!p.SpecStart) {
            const int flags = range(1, 3);
            p.LandFlag = flags & 1, p.SetLandFlag = flags & 2;
        }
        if (chance(0.8)) p.LandName = text(false);
        if (chance(0.1)) p.SkyBox = text(false);
        if (chance(0.1)) p.BatMap = text(false);
        for (std::int16_t* rgb : {p.GroundCol, p.RockCol, p.FogCol})
            if (chance(0.1)) rgb[0] = i16(0, 255), rgb[1] = i16(-1, 255), rgb[2] = i16(-1, 255);
        some({&p.Owner}, 0.5, 0, 99);
        some({&p.PopType}, 0.5, 1, 90);
        if (chance(0.5)) p.Population = range(0, 2000000);
        some({&p.Unrest, &p.Defence}, 0.3, 0, 100);
        some({&p.VictoryPoints}, 0.1, 1, 5);
        some({&p.Fort}, 0.3, 1, kFortSlots - 1);
        p.Lab = chance(0.1), p.Temple = chance(0.1), p.KillFeatures = chance(0.1);
        for (auto [index, name] : {std::pair{p.SiteIndex, p.SiteName}, std::pair{p.KnownSiteIndex, p.KnownSiteName}})
            for (int k = range(0, 4) - 1; k >= 0; --k)
                index[k] = i16(1, 300), name[k] = mRef.SiteData[index[k]].name;
        const int commanders = chance(0.02) ? kCommanderSlots - 1 : range(0, 4);
        const int garrisonFrom = (p.Fort > 0 && chance(0.4)) ? range(1, commanders + 1) : commanders + 1;
        for (int c = 1; c <= commanders; ++c) {
            commander(p.Commanders[c], false);
            p.Commanders[c].InsideCastle = c >= garrisonFrom;
        }
        p.CommanderCount = static_cast<std::int16_t>(commanders);
    }

    void province(ProvinceDataType& p) {
        if (p.SpecStart || chance(0.03)) provinceBody(p);
        p.Start = chance(0.01);
        std::int32_t mask = 0;
        if (chance(0.1)) {
            for (int k = 0; k < kTerrainBits; ++k)
                if ((p.TerrainBit[k] = chance(0.1))) mask |= 1 << k;
            p.TerrainPlain = mask < 3 && (mask > 0 || chance(0.5));
            p.NoStart = p.TerrainBit[9];
        }
        p.Terrain = mask;
    }

    void neighbours(MapDocument& d) {
        std::vector<std::vector<std::int16_t>> links(kProvinceSlots);
        for (int k = 0; k < 400; ++k) {
            const int a = range(1, kMaxProvince);
            const int b = chance(0.8) ? std::min(kMaxProvince, a + range(1, 40)) : range(1, kMaxProvince);
            if (a == b || links[a].size() >= std::size_t{kNeighbourSlots} ||
                links[b].size() >= std::size_t{kNeighbourSlots} ||
                std::find(links[a].begin(), links[a].end(), b) != links[a].end())
                continue;
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
    for (ProvinceDataType& p : d.Provinces) {
        // A mask of 0 without the plain flag is not written: the province reads back with no mask.
        if (p.Terrain == 0 && !p.TerrainPlain) p.Terrain = -1;
        // Owner 23 is written only as the castle separator before the garrison.
        const bool garrison = std::any_of(std::begin(p.Commanders) + 1, std::end(p.Commanders),
                                          [](const auto& c) { return !c.UnitName.empty() && c.InsideCastle; });
        if (garrison) p.Owner = 23;
        else if (p.Owner == 23) p.Owner = -1;
    }
    for (const NationDataType& n : d.Nations) {
        if (n.SpecStartProvince <= 0) continue;
        ProvinceDataType& start = d.Provinces[n.SpecStartProvince];
        // The start province is addressed by #setland in its nation's block, never by #land.
        start.SetLandFlag = true, start.LandFlag = false;
        // The god's lines are mirrored into slot 0 of its start, and the read places its type there.
        if (!n.GodName.empty()) {
            start.Commanders[0] = n.God;
            if (n.GodIndex > 0) ++start.CommanderCount;
        }
    }
}

// Appends values with separators; strings rather than streams keep two hundred documents quick.
void add(std::string& s, std::initializer_list<int> values) {
    for (int v : values)
        (s += std::to_string(v)) += ' ';
}
void add(std::string& s, const Text& text) { (s += text.view()) += '|'; }

void describe(std::string& s, const CommanderDataType& c) {
    s += " [";
    add(s, c.UnitName), add(s, c.ComName), add(s, {c.UnitIndex});
    for (int k = 0; k < kBodyguardSlots; ++k) {
        add(s, c.BodyguardName[k]), add(s, c.UnitsName[k]);
        add(s, {c.BodyguardIndex[k], c.BodyguardCount[k], c.UnitsIndex[k], c.UnitsCount[k]});
    }
    add(s, {c.ClearMagic, c.MagFire, c.MagAir, c.MagWater, c.MagEarth, c.MagAstral, c.MagDeath, c.MagNature,
            c.MagBlood, c.MagPriest, c.Xp, c.RandomEquip, c.InsideCastle});
    for (const Text& item : c.Items)
        add(s, item);
    s += ']';
}

std::string describe(const ProvinceDataType& p) {
    std::string s;
    add(s, {p.Terrain, p.TerrainPlain, p.NoStart, p.Start, p.SpecStart, p.SpecStartNation, p.LandFlag,
            p.SetLandFlag, p.CommanderCount});
    for (bool bit : p.TerrainBit)
        s += bit ? '1' : '0';
    for (std::int16_t n : p.Neighbours)
        add(s, {n});
    for (int k = 0; k < kSiteSlotsPerProvince; ++k)
        add(s, p.SiteName[k]), add(s, p.KnownSiteName[k]);
    for (int c = 0; c < kCommanderSlots; ++c)
        if (c == 0 || !p.Commanders[c].UnitName.empty()) describe(s, p.Commanders[c]);
    return s;
}

// The records as text: the map file for every field the file holds, then a line for each nation and
// each province that is not empty, for what the file does not show as such (flags and counts the
// layout derives, slot 0, names looked up). Equal texts mean equal records; a failure shows the diff.
std::string records(const MapDocument& d, const ReferenceData& ref) {
    static const std::string empty = describe(*std::make_unique<ProvinceDataType>());
    std::string s = MapFileText(d, ref);
    for (const NationDataType& n : d.Nations) {
        s += "\nNation ";
        add(s, {n.NationNumber, n.NationInUse, n.GodIndex});
        add(s, n.NationName), add(s, n.GodName);
        for (bool ally : n.Allies)
            s += ally ? '1' : '0';
        describe(s, n.God);
    }
    for (int number = 0; number < kProvinceSlots; ++number)
        if (const std::string line = describe(d.Provinces[number]); line != empty)
            s += "\nProvince " + std::to_string(number) + ' ' + line;
    return s;
}

struct RoundTripTest : ts::testing::DocumentTest {
    std::unique_ptr<MapDocument> read = std::make_unique<MapDocument>();
    std::unique_ptr<MapDocument> again = std::make_unique<MapDocument>();

    void writeAndRead(MapDocument& from, MapDocument& into) {
        const QString path = folder.file(QStringLiteral("trip.map"));
        EXPECT_TRUE(z_WriteMapFile(from, *ref, ui, path));
        ResetMapDocument(into, *ref, ui);
        z_ReadMapFile(into, *ref, ui, path);
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_FALSE(into.MapErrorsFound) << into.ErrorLog;
    }
    // A document read from a file is written and read back with the same records, which begin with
    // the writer's bytes: the writer's file is a fixed point.
    void expectFixedPoint() {
        const std::string before = records(*read, *ref);
        writeAndRead(*read, *again);
        EXPECT_EQ(records(*again, *ref), before);
    }
};

TEST_F(RoundTripTest, RandomMapsReadBackAsWrittenAndWriteTheSameBytes) {
    for (unsigned seed = 1; seed <= 200 && !HasFailure(); ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        ResetMapDocument(*doc, *ref, ui);
        Generator(*ref, seed).fill(*doc);
        writeAndRead(*doc, *read);
        applyLayoutChanges(*doc);
        EXPECT_EQ(records(*doc, *ref), records(*read, *ref));
        expectFixedPoint();
    }
}

TEST_F(RoundTripTest, KeepingChangesNothingOnMapsTheEditorUnderstands) {
    read->KeepUnknown = true;
    for (unsigned seed = 1; seed <= 25 && !HasFailure(); ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        ResetMapDocument(*doc, *ref, ui);
        Generator(*ref, seed).fill(*doc);
        writeAndRead(*doc, *read);
        writeAndRead(*doc, *again);
        EXPECT_EQ(records(*read, *ref), records(*again, *ref));
    }
}

TEST_F(RoundTripTest, SampleMapsReadCleanlyAndRoundTrip) {
    // The build copies data/ beside the programs; the samples are read from there with the real tables.
    const QString program = QStringLiteral(TESSARY_PROGRAM_DIR);
    QDirIterator it(program + QStringLiteral("/maps"), {QStringLiteral("*.map")}, QDir::Files);
    if (!it.hasNext()) GTEST_SKIP() << "no sample maps beside the program yet";
    ReferenceLists lists;
    ref = std::make_unique<ReferenceData>();
    ASSERT_TRUE(LoadReferenceData(*ref, lists, program, ui));
    while (it.hasNext()) {
        const QString source = it.next();
        SCOPED_TRACE(source.toStdString());
        ResetMapDocument(*doc, *ref, ui);
        z_ReadMapFile(*doc, *ref, ui, source);
        EXPECT_FALSE(doc->MapErrorsFound) << doc->ErrorLog;
        // The records may differ: a sample may address a province with nothing to write.
        writeAndRead(*doc, *read);
        EXPECT_EQ(MapFileText(*read, *ref), MapFileText(*doc, *ref));
        expectFixedPoint();
    }
}

} // namespace
