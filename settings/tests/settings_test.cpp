#include "fakeuserinterface.h"
#include "firstrun.h"
#include "recentmaps.h"
#include "settings.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace ts;

TEST(Configuration, DefaultsAreWrittenByteForByteSinglesUseTheShortestDecimalAndAllReadsBack) {
    TempFolder home;
    home.makePortable();
    FakeUserInterface ui;
    // A program folder without TSdata is an installed one: its pictures are in share/tessary.
    Settings s = Settings::defaults("/usr/bin");
    EXPECT_EQ(s.BackgroundImage, "/usr/share/tessary/TSicons/Tessary.jpg");
    EXPECT_TRUE(s.MapsDirectory.endsWith("/.thraxis3/maps/"));
    s.MapsDirectory = "/home/ann/.thraxis3/maps/";
    EXPECT_EQ(formatConfiguration(s),
              "#TRUE#,#TRUE#,#TRUE#,#TRUE#,#TRUE#,#FALSE#,400,64,#FALSE#,325,68,#TRUE#,680,0,"
              "\"/home/ann/.thraxis3/maps/\",\"/usr/share/tessary/TSicons/Tessary.jpg\","
              "1,1,0,1,255,14446130,16777215,16777215,14446130,255,255,2,5,2,20,1,1,1,1,1,"
              "1244928,12632256,16711935\r\n");
    s.TerrainToolLeft = 64.5f;
    s.TerrainToolTop = 0.1f;
    s.BarToolLeft = -12.25f;
    s.MapsDirectory = "/maps/Ælf/";
    const std::string line = formatConfiguration(s);
    EXPECT_NE(line.find(",64.5,0.1,"), std::string::npos) << line;
    EXPECT_NE(line.find(",-12.25,"), std::string::npos) << line;

    const QString path = configurationPath(home.path());
    ASSERT_TRUE(WriteConfiguration(s, path, ui));
    Settings back = Settings::defaults("/x/");
    ASSERT_TRUE(ReadConfiguration(back, path, ui));
    EXPECT_EQ(back, s);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(Configuration, ReadAndWriteFailuresAreReportedAndEarlierFieldsKept) {
    TempFolder home;
    FakeUserInterface ui;
    Settings s = Settings::defaults("/p/");
    s.FortToolVisible = false;
    const QString path =
        home.write("Tessary.cfg", "#FALSE#,#FALSE#,#TRUE#,#TRUE#,#TRUE#,#FALSE#,12,oops,#TRUE#\r\n");
    EXPECT_FALSE(ReadConfiguration(s, path, ui));
    EXPECT_FALSE(s.ShowCommanders);
    EXPECT_EQ(s.TerrainToolLeft, 12.0f);
    EXPECT_EQ(s.TerrainToolTop, 64.0f);
    EXPECT_FALSE(s.FortToolVisible);
    home.write("short.cfg", "#TRUE#,#TRUE#\r\n");
    EXPECT_FALSE(ReadConfiguration(s, home.file("short.cfg"), ui));
    const QString unwritable = "/nonexistent-folder-for-tessary/Tessary.cfg";
    EXPECT_FALSE(WriteConfiguration(s, unwritable, ui));

    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[0].title, "Error loading cfg!");
    EXPECT_EQ(ui.messages[0].text, "An error occurred while reading " + path);
    EXPECT_EQ(ui.messages[1].title, "Error loading cfg!");
    EXPECT_EQ(ui.messages[2].title, "Error saving cfg!");
    EXPECT_EQ(ui.messages[2].text, "An error occurred while writing " + unwritable);
}

TEST(FirstRun, WithoutAFileEverythingIsDefaultTheUserIsWelcomedAndOptionsOpen) {
    TempFolder program;
    program.makePortable();
    FakeUserInterface ui;
    Settings s = Settings::defaults("/elsewhere");
    s.RingWidth = 9;
    std::vector<std::string> steps;
    const auto step = [&](const char* what) {
        return [&, what] {
            steps.push_back(what + std::to_string(ui.messages.size()));
            EXPECT_EQ(s, Settings::defaults(program.path()));
        };
    };
    EXPECT_FALSE(LoadOrWelcome(s, program.path(), ui, step("options after "), step("background after ")));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Welcome to Tessary!");
    EXPECT_EQ(ui.messages[0].text,
              "No configuration file found. If this is the first run you will need to specify directory "
              "information in the options form. This form should open automatically when you click OK.");
    EXPECT_EQ(steps, (std::vector<std::string>{"background after 0", "options after 1"}));

    // Once there is a file nothing is asked.
    ASSERT_TRUE(WriteConfiguration(s, configurationPath(program.path()), ui));
    ui = FakeUserInterface();
    EXPECT_TRUE(LoadOrWelcome(s, program.path(), ui, [] { ADD_FAILURE() << "options opened"; }));
    EXPECT_TRUE(ui.messages.empty());
}

TEST(RecentMaps, EightNewestFirstWithoutRepeatsSurviveASaveAndLoad) {
    TempFolder home;
    home.makePortable();
    RecentMaps recent;
    for (int i = 0; i < 10; ++i)
        recent.add(home.write(QString("maps/m%1-Þrúð.map").arg(i), "x"));
    recent.add(home.file("maps/m5-Þrúð.map"));
    QStringList expected;
    for (int i : {5, 9, 8, 7, 6, 4, 3, 2})
        expected << home.file(QString("maps/m%1-Þrúð.map").arg(i));
    EXPECT_EQ(recent.paths(), expected);

    const QString file = RecentMaps::filePath(home.path());
    ASSERT_TRUE(recent.save(file));
    RecentMaps back;
    back.load(file);
    EXPECT_EQ(back.paths(), expected);
}

TEST(MoreSettings, KeepingLivesBesideTheConfigurationWhichKeepsItsThirtyNineFields) {
    TempFolder home;
    home.makePortable();
    FakeUserInterface ui;
    Settings s = Settings::defaults("/p/");
    EXPECT_TRUE(s.KeepUnknown);
    const QString path = configurationPath(home.path());
    s.KeepUnknown = false;
    ASSERT_TRUE(WriteConfiguration(s, path, ui));
    EXPECT_EQ(home.read("Tessary.cfg"), formatConfiguration(Settings::defaults("/p/")));
    EXPECT_EQ(home.read("Tessary.more"), "KeepUnknown=0\r\n");
    // What the file says wins; a missing file, an unknown line or an unreadable value changes nothing.
    const struct {
        const char* more; // nullptr: no file
        bool before, after;
    } cases[] = {{"KeepUnknown=0\r\n", true, false}, {"KeepUnknown=1\n", false, true}, {nullptr, false, false},
                 {"Other=3\r\nKeepUnknown=yes\r\n", true, true}, {"", false, false}};
    for (const auto& c : cases) {
        QFile::remove(home.file("Tessary.more"));
        if (c.more) home.write("Tessary.more", c.more);
        Settings back = Settings::defaults("/p/");
        back.KeepUnknown = c.before;
        ASSERT_TRUE(ReadConfiguration(back, path, ui));
        EXPECT_EQ(back.KeepUnknown, c.after) << (c.more ? c.more : "no file");
    }
    EXPECT_TRUE(ui.messages.empty());

    // The unit reference address is empty unless set, and then kept as written.
    EXPECT_TRUE(s.UnitReferenceAddress.isEmpty());
    s.UnitReferenceAddress = QStringLiteral("https://units.example/pages/");
    ASSERT_TRUE(WriteConfiguration(s, path, ui));
    EXPECT_EQ(home.read("Tessary.more"), "KeepUnknown=0\r\nUnitReferenceAddress=https://units.example/pages/\r\n");
    Settings back = Settings::defaults("/p/");
    ASSERT_TRUE(ReadConfiguration(back, path, ui));
    EXPECT_EQ(back.UnitReferenceAddress, s.UnitReferenceAddress);
}
