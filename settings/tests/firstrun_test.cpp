#include "fakeuserinterface.h"
#include "firstrun.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

using namespace ts;

namespace {
Settings unusual() {
    Settings s = Settings::defaults("/elsewhere");
    s.RingWidth = 9;
    s.MarkOwners = 0;
    s.ColorStarts = 42;
    s.MapsDirectory = "/old/maps/";
    return s;
}
} // namespace

TEST(FirstRun, WithoutAFileEverythingIsDefaultAndTheUserIsWelcomed) {
    TempFolder program;
    FakeUserInterface ui;
    Settings s = unusual();
    std::vector<std::string> steps;
    const bool found = LoadOrWelcome(
        s, program.path(), ui,
        [&] {
            steps.push_back("options after " + std::to_string(ui.messages.size()) + " message");
            EXPECT_EQ(s, Settings::defaults(program.path()));
        },
        [&] { steps.push_back("background after " + std::to_string(ui.messages.size()) + " message"); });
    EXPECT_FALSE(found);
    EXPECT_EQ(s, Settings::defaults(program.path()));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Welcome to Tessary!");
    EXPECT_EQ(ui.messages[0].text,
              "No configuration file found. If this is the first run you will need to specify directory "
              "information in the options form. This form should open automatically when you click OK.");
    EXPECT_EQ(ui.messages[0].buttons, Buttons::Ok);
    EXPECT_EQ(steps, (std::vector<std::string>{"background after 0 message", "options after 1 message"}));
}

TEST(FirstRun, AnExistingFileIsReadAndNothingIsAsked) {
    TempFolder program;
    FakeUserInterface ui;
    Settings saved = unusual();
    ASSERT_TRUE(WriteConfiguration(saved, configurationPath(program.path()), ui));
    Settings s = Settings::defaults(program.path());
    int optionsOpened = 0;
    EXPECT_TRUE(LoadOrWelcome(s, program.path(), ui, [&] { ++optionsOpened; }));
    EXPECT_EQ(s, saved);
    EXPECT_EQ(optionsOpened, 0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(FirstRun, ABrokenFileIsAReadErrorNotAFirstRun) {
    TempFolder program;
    FakeUserInterface ui;
    program.write("Tessary.cfg", "#TRUE#,nonsense\r\n");
    Settings s = unusual();
    int optionsOpened = 0;
    EXPECT_TRUE(LoadOrWelcome(s, program.path(), ui, [&] { ++optionsOpened; }));
    EXPECT_EQ(optionsOpened, 0);
    EXPECT_EQ(ui.titles(), QStringList{"Error loading cfg!"});
    EXPECT_EQ(s.RingWidth, 9);
}
