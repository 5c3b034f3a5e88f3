#include "fakeuserinterface.h"
#include "refdatafixture.h"
#include "referencedata.h"
#include "referencelists.h"
#include "startup.h"

#include <gtest/gtest.h>
#include <memory>

using namespace ts;

TEST(StartUp, ShowsEveryStepInOrderAndEndsAwaitingTheMaster) {
    TempFolder home;
    writeMinimalTables(home);
    FakeUserInterface ui;
    auto ref = std::make_unique<ReferenceData>();
    ReferenceLists lists;

    ASSERT_TRUE(LoadStartUpData(ui, *ref, lists, home.path()));

    const QStringList expected = {"Tessary: INITIALIZING...",        "Tessary: PETITIONING NATIONS",
                                  "Tessary: POLISHING THE HAMMER",   "Tessary: WARMING THE COALS...",
                                  "Tessary: ANYBODY SEEN THE TONGS?", "Tessary: FOUND THE TONGS! :)",
                                  "Tessary: GATHERING THE ARMIES...", "Tessary: Awaiting the master..."};
    EXPECT_EQ(QStringList(ui.captions.begin(), ui.captions.end()), expected);
    EXPECT_EQ(ui.busy.front().message, "Initializing...");
    EXPECT_TRUE(ui.busy.back().message.isEmpty());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ref->UnitData[20].name, "Commander");
}

TEST(StartUp, AMissingTableIsOneMessageNamingTheFileAndNothingIsListed) {
    TempFolder home;
    writeMinimalTables(home);
    QFile::remove(home.file("TSdata/FortData.txt"));
    FakeUserInterface ui;
    auto ref = std::make_unique<ReferenceData>();
    ReferenceLists lists;

    EXPECT_FALSE(LoadStartUpData(ui, *ref, lists, home.path()));

    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.contains("FortData.txt")) << ui.messages[0].text.toStdString();
    EXPECT_TRUE(lists.owners.empty());
    EXPECT_TRUE(lists.forts.empty());
    // The step that failed was announced; the unit step never was.
    const QStringList captions(ui.captions.begin(), ui.captions.end());
    EXPECT_TRUE(captions.contains("Tessary: ANYBODY SEEN THE TONGS?"));
    EXPECT_FALSE(captions.contains("Tessary: GATHERING THE ARMIES..."));
}
