#include "templates.h"

#include "fakeuserinterface.h"
#include "paths.h"
#include "tempfolder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <memory>

using namespace ts;

namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find("\r\n", pos);
        lines.push_back(text.substr(pos, end - pos));
        pos = end == std::string::npos ? text.size() : end + 2;
    }
    return lines;
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += l + "\r\n";
    return out;
}

// A province with something in every kind of value a template holds, and in some it does not.
void fillProvince(ProvinceDataType& p) {
    p.TerrainBit[7] = true;
    p.TerrainBit[0] = true;
    p.LandName = "\xC6lfholt";
    p.SetLandFlag = true;
    p.CommanderCount = 2;
    CommanderDataType& c = p.Commanders[3];
    c.UnitName = "Forest Lord";
    c.UnitIndex = 412;
    c.ComName = "Bran";
    c.BodyguardName[0] = "Druid";
    c.BodyguardIndex[0] = 17;
    c.BodyguardCount[0] = 2;
    c.UnitsName[9] = "Archer";
    c.UnitsIndex[9] = 33;
    c.UnitsCount[9] = 40;
    c.MagNature = 3;
    c.Xp = 150;
    c.RandomEquip = 0;
    c.Items[7] = "Jade Mace";
    c.InsideCastle = true;
    p.KillFeatures = true;
    p.SiteName[2] = "Mossy Tower";
    p.SiteIndex[2] = 11;
    p.KnownSiteName[0] = "Singing Vale";
    p.KnownSiteIndex[0] = 21;
    p.Fort = 3;
    p.Temple = true;
    p.VictoryPoints = 2;
    p.Population = 45000;
    p.PopType = 30;
    p.Unrest = 12;
    p.SkyBox = "./sky.tga";
    p.BatMap = "empty";
    p.GroundCol[0] = 10;
    p.RockCol[1] = 20;
    p.FogCol[2] = 255;
    // Not part of a template.
    p.Owner = 5;
    p.Defence = 40;
    p.SpecStart = true;
    p.Commanders[0].UnitName = "Wyrm";
}

class TemplateFiles : public ::testing::Test {
protected:
    void SetUp() override {
        QDir().mkpath(home.file("TSdata")); // a portable program folder: everything stays in it
        setProgramFolder(home.path());
    }
    void TearDown() override { setProgramFolder(QString()); }

    TempFolder home;
    FakeUserInterface ui;
    std::unique_ptr<MapDocument> doc = std::make_unique<MapDocument>();
};

} // namespace

TEST_F(TemplateFiles, SavedTemplateHasEveryValueOnItsLineAndBecomesActive) {
    fillProvince(doc->Provinces[7]);
    CommanderDataType& c = doc->Provinces[7].Commanders[3];
    c.MagFire = 1, c.MagAir = 2, c.MagWater = 3, c.MagEarth = 4, c.MagAstral = 5;
    c.MagDeath = 6, c.MagNature = 7, c.MagBlood = 8, c.MagPriest = 9;
    doc->CurProvince = 7;
    ProvinceTemplates templates(ui);
    ui.inputs.push_back(QStringLiteral("Elf Wood"));
    ASSERT_TRUE(templates.SaveTemplate(*doc));

    EXPECT_EQ(ui.inputPrompts.at(0), QStringLiteral("Save template as:|Enter a name for the province template "
                                                     "(ie 'NoIndys').|NewTemplate"));
    const std::string text = home.read("TStemplates/Elf Wood.ptf");
    const auto lines = linesOf(text);
    ASSERT_EQ(lines.size(), std::size_t(kTemplateValueCount));
    EXPECT_EQ(text.size(), joinLines(lines).size()); // every line ends in CR LF, the last one too
    EXPECT_EQ(lines[0], "#FALSE#");
    EXPECT_EQ(lines[1], "#TRUE#");                // small
    EXPECT_EQ(lines[24], "\"\xC6lfholt\"");       // the name, as its bytes
    EXPECT_EQ(lines[27], "2");                    // commander count
    const std::size_t slot3 = 28 + 2 * 84; // the god's slot is never stored
    EXPECT_EQ(lines[slot3], "\"Forest Lord\"");
    // Clear magic, fire, air, water, earth, astral, death, nature, blood, priest, xp, random equipment.
    EXPECT_EQ(std::vector<std::string>(lines.begin() + slot3 + 63, lines.begin() + slot3 + 75),
              (std::vector<std::string>{"#FALSE#", "1", "2", "3", "4", "5", "6", "7", "8", "9", "150", "0"}));
    EXPECT_EQ(lines[slot3 + 82], "\"Jade Mace\"");
    EXPECT_EQ(lines[slot3 + 83], "#TRUE#");
    // After the commanders, in the file's own order: kill features, sites, known sites, fort, temple,
    // lab, start, no start, victory points, population, type, unrest, sky box, battle map, colours.
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 28 + 39 * 84, lines.end()),
              (std::vector<std::string>{"#TRUE#", "\"\"", "-1", "\"\"", "-1", "\"Mossy Tower\"", "11", "\"\"", "-1",
                                        "\"Singing Vale\"", "21", "\"\"", "-1", "\"\"", "-1", "\"\"", "-1", "3",
                                        "#TRUE#", "#FALSE#", "#FALSE#", "#FALSE#", "2", "45000", "30", "12",
                                        "\"./sky.tga\"", "\"empty\"", "10", "-1", "-1", "-1", "20", "-1", "-1", "-1",
                                        "255"}));

    EXPECT_EQ(templates.name(), QStringLiteral("Elf Wood"));
    EXPECT_EQ(templates.path(), joinPath(home.path(), "TStemplates", "Elf Wood.ptf"));
    const ProvinceDataType& active = templates.TemplateProvince();
    EXPECT_EQ(active.Commanders[3].Items[7], "Jade Mace");
    EXPECT_EQ(active.Population, 45000);
    // What a template does not hold never reaches the active one.
    EXPECT_EQ(active.Owner, -1);
    EXPECT_EQ(active.Defence, -1);
    EXPECT_FALSE(active.SpecStart);
    EXPECT_TRUE(active.Commanders[0].UnitName.empty());
    EXPECT_EQ(TemplateText(active), text);
}

TEST_F(TemplateFiles, SavingNeedsAProvinceAndAName) {
    ProvinceTemplates templates(ui);
    doc->CurProvince = kNone;
    EXPECT_FALSE(templates.SaveTemplate(*doc));
    EXPECT_TRUE(ui.inputPrompts.empty());

    doc->CurProvince = 3;
    ui.inputs = {std::nullopt, QString(), QStringLiteral("  ")};
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(templates.SaveTemplate(*doc));
    EXPECT_FALSE(QDir(home.file("TStemplates")).exists());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(templates.hasTemplate());

    ui.inputs = {QStringLiteral("Plain.ptf")}; // the extension is not doubled
    EXPECT_TRUE(templates.SaveTemplate(*doc));
    EXPECT_TRUE(QFile::exists(home.file("TStemplates/Plain.ptf")));
}

TEST_F(TemplateFiles, AFailedSaveIsReportedAndKeepsTheActiveTemplate) {
    doc->CurProvince = 3;
    ProvinceTemplates templates(ui);
    ui.inputs = {QStringLiteral("First")};
    ASSERT_TRUE(templates.SaveTemplate(*doc));

    ui.inputs = {QStringLiteral("a/b")};
    EXPECT_FALSE(templates.SaveTemplate(*doc));
    // A folder in the way of the file.
    QDir().mkpath(home.file("TStemplates/Taken.ptf"));
    ui.inputs = {QStringLiteral("Taken")};
    EXPECT_FALSE(templates.SaveTemplate(*doc));

    ASSERT_EQ(ui.messages.size(), 2u);
    for (const auto& m : ui.messages) {
        EXPECT_EQ(m.title, QStringLiteral("Error saving template"));
        EXPECT_EQ(m.buttons, Buttons::Ok);
    }
    EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("Error while saving a/b.ptf - Error: ")));
    EXPECT_TRUE(ui.messages[1].text.startsWith(QStringLiteral("Error while saving Taken.ptf - Error: ")));
    EXPECT_EQ(templates.name(), QStringLiteral("First"));
}

TEST_F(TemplateFiles, ChoosingReadsTheFileFromTheDialog) {
    doc->CurProvince = 2;
    doc->Provinces[2].LandName = "Norhold";
    ProvinceTemplates templates(ui);
    ui.inputs = {QStringLiteral("North")};
    ASSERT_TRUE(templates.SaveTemplate(*doc));
    ProvinceTemplates other(ui);

    ui.files = {std::nullopt};
    EXPECT_FALSE(other.ChooseTemplate());
    EXPECT_FALSE(other.hasTemplate());
    ui.files = {QStringLiteral("North.ptf")};
    ASSERT_TRUE(other.ChooseTemplate());
    EXPECT_EQ(ui.fileRequests.at(0), "open|Province Template file (*.ptf)|*.ptf|" + templatesFolder() + "|");
    EXPECT_EQ(other.name(), QStringLiteral("North"));
    EXPECT_EQ(other.TemplateProvince().LandName, "Norhold");
}

TEST_F(TemplateFiles, ChoosingOffersTheShippedTemplatesBesideTheUsersOwn) {
    home.write("shipped/Coast.ptf", TemplateText(ProvinceDataType()));
    home.write("shipped/Mine.ptf", "shipped");
    home.write("own/Mine.ptf", "own");
    ProvinceTemplates templates(ui, [this] { return home.file("own"); }, [this] { return home.file("shipped"); });
    ui.files = {QStringLiteral("Coast.ptf")};
    EXPECT_TRUE(templates.ChooseTemplate());
    EXPECT_EQ(templates.path(), home.file("own/Coast.ptf"));
    EXPECT_EQ(home.read("own/Mine.ptf"), "own"); // the user's own copy is never replaced
}

// Damaged files: each is read up to its failing value, with the loading message; the values from
// there on and the active template's name stay as they were.
TEST_F(TemplateFiles, ADamagedFileIsReadUpToItsFailingValue) {
    doc->CurProvince = 1;
    fillProvince(doc->Provinces[1]);
    ProvinceTemplates templates(ui);
    ui.inputs = {QStringLiteral("Good")};
    ASSERT_TRUE(templates.SaveTemplate(*doc));
    const std::string good = TemplateText(templates.TemplateProvince());
    auto lines = linesOf(good);

    auto with = [&](int line, const std::string& value) {
        auto changed = lines;
        changed[static_cast<std::size_t>(line - 1)] = value;
        return joinLines(changed);
    };
    const struct {
        const char* name;
        std::string bytes;
        const char* why;
    } cases[] = {
        {"empty", "", "The file ends after 0 values; a province template holds 3341."},
        {"cut in a name", good.substr(0, good.find("\"\xC6l") + 3), "Line 25 (\"\xC6l) is not a text in double quotes."},
        {"one line short", joinLines({lines.begin(), lines.end() - 1}), "The file ends after 3340 values"},
        {"boolean", with(1, "TRUE"), "Line 1 (TRUE) is not #TRUE# or #FALSE#."},
        {"unquoted name", with(25, "Aelfholt"), "Line 25 (Aelfholt) is not a text in double quotes."},
        {"lone quote", with(25, "\""), "Line 25 (\") is not a text in double quotes."},
        {"16-bit overflow", with(28, "40000"), "Line 28 (40000) is not a whole number from -32768 to 32767."},
        {"not a number", with(30, "12a"), "Line 30 (12a) is not a whole number"},
        {"lines shifted", with(3, "\"x\""), "Line 3 (\"x\") is not #TRUE# or #FALSE#."},
        {"extra values", good + "#TRUE#\r\n", "The file holds more than the 3341 values of a province template."},
        {"binary", std::string("\0\xff\x01", 3), "Line 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = home.write(QStringLiteral("TStemplates/Bad.ptf"), c.bytes);
        ui.messages.clear();
        EXPECT_FALSE(templates.ReadTemplate(path));
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].title, QStringLiteral("Error loading template"));
        EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("Error while loading Bad.ptf - Error: ") +
                                                   QString::fromLatin1(c.why)))
            << ui.messages[0].text.toStdString();
        EXPECT_EQ(templates.name(), QStringLiteral("Good"));
        EXPECT_EQ(TemplateText(templates.TemplateProvince()), good);
    }

    ProvinceDataType other;
    other.LandName = "Stonefield";
    auto otherLines = linesOf(TemplateText(other));
    otherLines[29] = "x"; // in commander slot 1
    EXPECT_FALSE(templates.ReadTemplate(home.write(QStringLiteral("TStemplates/Half.ptf"), joinLines(otherLines))));
    EXPECT_EQ(templates.TemplateProvince().LandName, "Stonefield");
    EXPECT_FALSE(templates.TemplateProvince().TerrainBit[0]);
    EXPECT_EQ(templates.TemplateProvince().Population, 45000);
    EXPECT_EQ(templates.name(), QStringLiteral("Good"));

    // A 32-bit population and trailing blank lines are fine.
    EXPECT_TRUE(templates.ReadTemplate(home.write("TStemplates/Big.ptf", with(3328, "2000000000") + "\r\n\r\n")));
    EXPECT_EQ(templates.TemplateProvince().Population, 2000000000);
}

TEST_F(TemplateFiles, AHugeOrMissingFileIsRefusedBeforeReading) {
    ProvinceTemplates templates(ui);
    EXPECT_FALSE(templates.ReadTemplate(home.write("TStemplates/Huge.ptf", std::string(3 << 20, '1'))));
    EXPECT_FALSE(templates.ReadTemplate(home.file("TStemplates/Missing.ptf")));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("more than the 1048576 bytes")));
    EXPECT_EQ(ui.messages[1].text,
              QStringLiteral("Error while loading Missing.ptf - Error: The file does not exist."));
    EXPECT_FALSE(templates.hasTemplate());
}

TEST(TemplateSamples, TheShippedTemplatesReadAndWriteBackByteForByte) {
    const QDir dir(QStringLiteral(TESSARY_DATA_DIR "/TStemplates"));
    const QStringList files = dir.entryList({QStringLiteral("*.ptf")}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        auto p = std::make_unique<ProvinceDataType>();
        std::string error;
        ASSERT_TRUE(ParseTemplateText(bytes.toStdString(), *p, error)) << error;
        EXPECT_EQ(TemplateText(*p), bytes.toStdString());
    }
}

// The merge, one rule a row: what the province had, what the template has, what the province ends with.
TEST(TemplateMerge, EmptyValuesNeverClearAndTheProvinceKeepsItsOwnRules) {
    auto doc = std::make_unique<MapDocument>();
    auto tpl = std::make_unique<ProvinceDataType>();
    ProvinceDataType& p = doc->Provinces[5];
    const auto fresh = [&] {
        p = ProvinceDataType();
        *tpl = ProvinceDataType();
    };

    // Large onto small stays small; small onto a province of neither becomes small.
    fresh();
    p.TerrainBit[0] = true;
    tpl->TerrainBit[1] = true;
    tpl->TerrainBit[7] = true;
    MergeTemplate(*doc, 5, *tpl);
    EXPECT_TRUE(p.TerrainBit[0]);
    EXPECT_FALSE(p.TerrainBit[1]);
    EXPECT_EQ(p.Terrain, 1 + 128);
    fresh();
    tpl->TerrainBit[0] = true;
    MergeTemplate(*doc, 5, *tpl);
    EXPECT_TRUE(p.TerrainBit[0]);

    // No start onto a special start leaves it startable; onto another province it closes it.
    for (const bool special : {true, false}) {
        fresh();
        p.SpecStart = special;
        tpl->TerrainBit[9] = true;
        tpl->NoStart = true;
        tpl->Start = true;
        MergeTemplate(*doc, 5, *tpl);
        EXPECT_EQ(p.TerrainBit[9], !special);
        EXPECT_EQ(p.NoStart, !special);
        EXPECT_EQ(p.Start, !special);
    }

    // A name is taken only by a province without one.
    fresh();
    tpl->LandName = "Template Name";
    MergeTemplate(*doc, 5, *tpl);
    EXPECT_EQ(p.LandName, "Template Name");
    p.LandName = "Own Name";
    MergeTemplate(*doc, 5, *tpl);
    EXPECT_EQ(p.LandName, "Own Name");

    // Empty, zero, false and -1 clear nothing; 0 is a population; the land flags follow the template.
    fresh();
    p.Population = 900;
    p.Unrest = 30;
    p.PopType = 40;
    p.VictoryPoints = 3;
    p.Fort = 2;
    p.Temple = true;
    p.KillFeatures = true;
    p.SkyBox = "./own.tga";
    p.GroundCol[0] = 50;
    p.SetLandFlag = true;
    tpl->Unrest = 0;
    tpl->LandFlag = true;
    tpl->RockCol[2] = 0;
    MergeTemplate(*doc, 5, *tpl);
    EXPECT_EQ(p.Population, 900);
    EXPECT_EQ(p.Unrest, 30);
    EXPECT_EQ(p.PopType, 40);
    EXPECT_EQ(p.VictoryPoints, 3);
    EXPECT_EQ(p.Fort, 2);
    EXPECT_TRUE(p.Temple && p.KillFeatures);
    EXPECT_EQ(p.SkyBox, "./own.tga");
    EXPECT_EQ(p.GroundCol[0], 50);
    EXPECT_EQ(p.RockCol[2], 0);
    EXPECT_FALSE(p.SetLandFlag);
    EXPECT_TRUE(p.LandFlag);
    tpl->Population = 0;
    MergeTemplate(*doc, 5, *tpl);
    EXPECT_EQ(p.Population, 0);

    // A template site takes its slot. Strict leaves the slot's other kind; keeping empties it.
    fresh();
    p.KnownSiteName[1] = "Old Known";
    p.KnownSiteIndex[1] = 8;
    tpl->SiteName[1] = "New Site";
    tpl->SiteIndex[1] = 30;
    MergeTemplate(*doc, 5, *tpl);
    EXPECT_EQ(p.SiteName[1], "New Site");
    EXPECT_EQ(p.KnownSiteName[1], "Old Known");
    EXPECT_EQ(p.KnownSiteIndex[1], 8);
    doc->KeepUnknown = true;
    fresh();
    p.KnownSiteName[1] = "Old Known";
    p.KnownSiteIndex[1] = 8;
    p.SiteName[2] = "Old Site";
    p.SiteIndex[2] = 9;
    tpl->SiteName[1] = "New Site";
    tpl->SiteIndex[1] = 30;
    tpl->KnownSiteName[2] = "New Known";
    tpl->KnownSiteIndex[2] = 31;
    MergeTemplate(*doc, 5, *tpl);
    EXPECT_EQ(p.SiteName[1], "New Site");
    EXPECT_EQ(p.SiteIndex[1], 30);
    EXPECT_TRUE(p.KnownSiteName[1].empty());
    EXPECT_EQ(p.KnownSiteIndex[1], -1);
    EXPECT_EQ(p.KnownSiteName[2], "New Known");
    EXPECT_TRUE(p.SiteName[2].empty());
    EXPECT_EQ(p.SiteIndex[2], -1);
}

TEST(TemplateMerge, ATemplateCommanderFillsItsSlotAndEmptySlotsStay) {
    auto doc = std::make_unique<MapDocument>();
    auto tpl = std::make_unique<ProvinceDataType>();
    ProvinceDataType& p = doc->Provinces[9];
    p.CommanderCount = 2;
    p.Commanders[0].UnitName = "God";
    p.Commanders[2].UnitName = "Own Captain";
    p.Commanders[2].UnitIndex = 50;
    p.Commanders[2].MagFire = 2;
    p.Commanders[6].UnitName = "Old Hero";
    p.Commanders[6].UnitIndex = 51;
    p.Commanders[6].ComName = "Keeps";
    p.Commanders[6].MagFire = 4;
    p.Commanders[6].UnitsName[1] = "Spear";
    p.Commanders[6].UnitsIndex[1] = 5;
    p.Commanders[6].UnitsCount[1] = 10;

    CommanderDataType& four = tpl->Commanders[4];
    four.UnitName = "Forest Lord";
    four.UnitIndex = 412;
    four.ComName = "Bran";
    four.UnitsName[0] = "Archer";
    four.UnitsIndex[0] = 33;
    four.UnitsCount[0] = 40;
    four.Items[1] = "Jade Mace";
    CommanderDataType& six = tpl->Commanders[6];
    six.UnitName = "New Hero";
    six.UnitIndex = 60;
    six.RandomEquip = 2;

    const TemplateMerge merge = MergeTemplate(*doc, 9, *tpl);
    EXPECT_EQ(merge.commanderSlots, (std::vector<int>{4, 6}));
    EXPECT_EQ(doc->CurCommander, 6); // the last template commander is the current one
    EXPECT_EQ(p.CommanderCount, 3); // slot 4 is new; slot 6 was occupied already
    EXPECT_EQ(p.Commanders[4].UnitName, "Forest Lord");
    EXPECT_EQ(p.Commanders[4].UnitIndex, 412);
    EXPECT_EQ(p.Commanders[4].ComName, "Bran");
    EXPECT_EQ(p.Commanders[4].UnitsCount[0], 40);
    EXPECT_EQ(p.Commanders[4].Items[1], "Jade Mace");
    // The template's commander in an occupied slot: its unit and skills, the rest merged.
    EXPECT_EQ(p.Commanders[6].UnitName, "New Hero");
    EXPECT_EQ(p.Commanders[6].ComName, "Keeps");
    EXPECT_EQ(p.Commanders[6].MagFire, 0);
    EXPECT_EQ(p.Commanders[6].RandomEquip, 2);
    EXPECT_EQ(p.Commanders[6].UnitsName[1], "Spear");
    // Slots empty in the template, and the god, are as they were.
    EXPECT_EQ(p.Commanders[2].UnitName, "Own Captain");
    EXPECT_EQ(p.Commanders[2].MagFire, 2);
    EXPECT_EQ(p.Commanders[0].UnitName, "God");
}

TEST_F(TemplateFiles, ApplyNeedsAProvinceAndAnActiveTemplate) {
    ProvinceTemplates templates(ui);
    doc->CurProvince = 4;
    EXPECT_FALSE(templates.ApplyTemplate(*doc));
    doc->Provinces[4].TerrainBit[2] = true;
    ui.inputs = {QStringLiteral("Sea")};
    ASSERT_TRUE(templates.SaveTemplate(*doc));
    doc->CurProvince = kNone;
    EXPECT_FALSE(templates.ApplyTemplate(*doc));
    doc->CurProvince = 5;
    ASSERT_TRUE(templates.ApplyTemplate(*doc));
    EXPECT_TRUE(doc->Provinces[5].TerrainBit[2]);
    EXPECT_EQ(doc->Provinces[5].Terrain, 4);
}
