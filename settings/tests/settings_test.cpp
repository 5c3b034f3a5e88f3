#include "fakeuserinterface.h"
#include "settings.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

using namespace ts;

namespace {
Settings withPaths(const QString& maps, const QString& background) {
    Settings s;
    s.MapsDirectory = maps;
    s.BackgroundImage = background;
    return s;
}
} // namespace

TEST(Configuration, DefaultsAreWrittenByteForByte) {
    const Settings s = withPaths("/home/ann/.thraxis3/maps/", "/opt/tessary/TSicons/Tessary.jpg");
    EXPECT_EQ(formatConfiguration(s),
              "#TRUE#,#TRUE#,#TRUE#,#TRUE#,#TRUE#,#FALSE#,400,64,#FALSE#,325,68,#TRUE#,680,0,"
              "\"/home/ann/.thraxis3/maps/\",\"/opt/tessary/TSicons/Tessary.jpg\","
              "1,1,0,1,255,14446130,16777215,16777215,14446130,255,255,2,5,2,20,1,1,1,1,1,"
              "1244928,12632256,16711935\r\n");
}

TEST(Configuration, SinglesUseTheShortestDecimal) {
    Settings s = withPaths("m", "b");
    s.TerrainToolLeft = 64.5f;
    s.TerrainToolTop = 0.1f;
    s.BarToolLeft = -12.25f;
    const std::string line = formatConfiguration(s);
    EXPECT_NE(line.find(",64.5,0.1,"), std::string::npos) << line;
    EXPECT_NE(line.find(",-12.25,"), std::string::npos) << line;
}

TEST(Configuration, WhatIsWrittenReadsBackWhole) {
    TempFolder home;
    FakeUserInterface ui;
    Settings s = withPaths("/maps/Ælf/", "/pics/back.jpg");
    s.NavigatorVisible = false;
    s.FortToolTop = 12.75f;
    s.RingRadius = 50;
    s.ColorVictoryPoints = 65280;
    s.MarkVisited = 1;
    const QString path = configurationPath(home.path());
    ASSERT_TRUE(WriteConfiguration(s, path, ui));
    Settings back = withPaths("x", "y");
    ASSERT_TRUE(ReadConfiguration(back, path, ui));
    EXPECT_EQ(back, s);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(path, home.path() + "/Tessary.cfg");
}

TEST(Configuration, AMissingFileLeavesEverythingAndSaysNothing) {
    TempFolder home;
    FakeUserInterface ui;
    Settings s = withPaths("keep", "keep");
    s.RingWidth = 7;
    EXPECT_FALSE(ReadConfiguration(s, configurationPath(home.path()), ui));
    EXPECT_EQ(s.RingWidth, 7);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(Configuration, AReadErrorKeepsTheFieldsReadBeforeIt) {
    TempFolder home;
    FakeUserInterface ui;
    const QString path = home.write("Tessary.cfg", "#FALSE#,#FALSE#,#TRUE#,#TRUE#,#TRUE#,#FALSE#,12,oops,#TRUE#\r\n");
    Settings s = withPaths("m", "b");
    s.FortToolVisible = false;
    EXPECT_FALSE(ReadConfiguration(s, path, ui));
    EXPECT_FALSE(s.ShowCommanders);
    EXPECT_EQ(s.TerrainToolLeft, 12.0f);
    EXPECT_EQ(s.TerrainToolTop, 64.0f);
    EXPECT_FALSE(s.FortToolVisible);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Error loading cfg!");
    EXPECT_EQ(ui.messages[0].text, "An error occurred while reading " + path);
}

TEST(Configuration, AShortFileIsAReadError) {
    TempFolder home;
    FakeUserInterface ui;
    Settings s = withPaths("m", "b");
    const QString path = home.write("Tessary.cfg", "#TRUE#,#TRUE#\r\n");
    EXPECT_FALSE(ReadConfiguration(s, path, ui));
    EXPECT_EQ(ui.titles(), QStringList{"Error loading cfg!"});
}

TEST(Configuration, AnUnwritableFolderIsReportedAndLeavesNoFile) {
    FakeUserInterface ui;
    const QString path = "/nonexistent-folder-for-tessary/Tessary.cfg";
    EXPECT_FALSE(WriteConfiguration(withPaths("m", "b"), path, ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Error saving cfg!");
    EXPECT_EQ(ui.messages[0].text, "An error occurred while writing " + path);
}

TEST(Configuration, DefaultPathsFollowTheHomeAndProgramFolders) {
    const Settings s = Settings::defaults("/opt/tessary/");
    EXPECT_EQ(s.BackgroundImage, "/opt/tessary/TSicons/Tessary.jpg");
    EXPECT_TRUE(s.MapsDirectory.endsWith("/.thraxis3/maps/"));
}
