#include "fakeuserinterface.h"
#include "settings.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

using namespace ts;

TEST(Configuration, DefaultsAreWrittenByteForByteAndSinglesUseTheShortestDecimal) {
    Settings s = Settings::defaults("/opt/tessary/");
    EXPECT_EQ(s.BackgroundImage, "/opt/tessary/TSicons/Tessary.jpg");
    EXPECT_TRUE(s.MapsDirectory.endsWith("/.thraxis3/maps/"));
    s.MapsDirectory = "/home/ann/.thraxis3/maps/";
    EXPECT_EQ(formatConfiguration(s),
              "#TRUE#,#TRUE#,#TRUE#,#TRUE#,#TRUE#,#FALSE#,400,64,#FALSE#,325,68,#TRUE#,680,0,"
              "\"/home/ann/.thraxis3/maps/\",\"/opt/tessary/TSicons/Tessary.jpg\","
              "1,1,0,1,255,14446130,16777215,16777215,14446130,255,255,2,5,2,20,1,1,1,1,1,"
              "1244928,12632256,16711935\r\n");
    s.TerrainToolLeft = 64.5f;
    s.TerrainToolTop = 0.1f;
    s.BarToolLeft = -12.25f;
    const std::string line = formatConfiguration(s);
    EXPECT_NE(line.find(",64.5,0.1,"), std::string::npos) << line;
    EXPECT_NE(line.find(",-12.25,"), std::string::npos) << line;
}

TEST(Configuration, WhatIsWrittenReadsBackWholeAndAMissingFileChangesNothing) {
    TempFolder home;
    FakeUserInterface ui;
    Settings s = Settings::defaults("/pics/");
    s.MapsDirectory = "/maps/Ælf/";
    s.NavigatorVisible = false;
    s.FortToolTop = 12.75f;
    s.RingRadius = 50;
    const QString path = configurationPath(home.path());
    EXPECT_EQ(path, home.path() + "/Tessary.cfg");
    Settings back = Settings::defaults("/x/");
    EXPECT_FALSE(ReadConfiguration(back, path, ui));
    EXPECT_EQ(back, Settings::defaults("/x/"));
    ASSERT_TRUE(WriteConfiguration(s, path, ui));
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
