#include "fakeuserinterface.h"
#include "firstrun.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

using namespace ts;

TEST(FirstRun, WithoutAFileEverythingIsDefaultTheUserIsWelcomedAndOptionsOpen) {
    TempFolder program;
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

    // Once there is a file, even a broken one, nothing is asked.
    for (const char* content : {"", "#TRUE#,nonsense\r\n"}) {
        if (*content)
            program.write("Tessary.cfg", content);
        else
            ASSERT_TRUE(WriteConfiguration(s, configurationPath(program.path()), ui));
        ui = FakeUserInterface();
        EXPECT_TRUE(LoadOrWelcome(s, program.path(), ui, [] { ADD_FAILURE() << "options opened"; }));
        EXPECT_EQ(ui.messages.size(), *content ? 1u : 0u);
    }
}
