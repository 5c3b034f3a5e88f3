#include "fakeuserinterface.h"
#include "palettes.h"
#include "tempfolder.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace ts;

namespace {
struct Palettes {
    TempFolder home;
    FakeUserInterface ui;
    // A portable program folder: the palettes live beside the program.
    bool portable = home.write("TSdata/UnitData.txt", "").size() > 0;
    UnitPalettes palettes{paletteFolder(home.path()), ui, shippedPaletteFolder(home.path())};
};
} // namespace

TEST(PalettesTest, NewPaletteIsListedEmptyAndNamesAreNotReused) {
    Palettes p;
    p.home.write("TSpalettes/Old.upa", "5\r\n");
    p.ui.inputs = {QStringLiteral("Mine"), QStringLiteral("Mine"), QStringLiteral(""), std::nullopt};
    EXPECT_EQ(p.palettes.create(), QStringLiteral("Mine.upa"));
    EXPECT_EQ(p.palettes.list(), (QStringList{"Mine.upa", "Old.upa"}));
    EXPECT_EQ(p.home.read("TSpalettes/Mine.upa"), "");
    EXPECT_EQ(p.palettes.read("Mine.upa"), std::vector<int>{});

    EXPECT_EQ(p.palettes.create(), std::nullopt);
    ASSERT_EQ(p.ui.messages.size(), 1u);
    EXPECT_EQ(p.ui.messages[0].title, "Palette already exists!");
    EXPECT_EQ(p.ui.messages[0].text, "Palette with same name already exists. Action cancelled.");
    // An empty answer and a cancelled box do nothing.
    EXPECT_EQ(p.palettes.create(), std::nullopt);
    EXPECT_EQ(p.palettes.create(), std::nullopt);
    EXPECT_EQ(p.ui.messages.size(), 1u);
    EXPECT_EQ(p.palettes.list().size(), 2);
    EXPECT_EQ(p.ui.inputPrompts.front(), "New Palette|Enter a name for the new palette:|NewPalette");
}

TEST(PalettesTest, DeleteAsksFirst) {
    Palettes p;
    p.home.write("TSpalettes/Old.upa", "5\r\n");
    p.ui.answers = {Answer::Cancel, Answer::Ok};
    EXPECT_FALSE(p.palettes.remove("Old.upa"));
    EXPECT_TRUE(QFile::exists(p.home.file("TSpalettes/Old.upa")));
    EXPECT_TRUE(p.palettes.remove("Old.upa"));
    EXPECT_FALSE(QFile::exists(p.home.file("TSpalettes/Old.upa")));
    ASSERT_EQ(p.ui.messages.size(), 2u);
    EXPECT_EQ(p.ui.messages[0].title, "Delete unit palette?");
    EXPECT_EQ(p.ui.messages[0].text, "Delete Old.upa ?");
    EXPECT_EQ(p.ui.messages[0].buttons, Buttons::OkCancel);
}

TEST(PalettesTest, ReadsLinesOfUnitNumbersAndRefusesAnythingElse) {
    Palettes p;
    p.home.write("TSpalettes/Good.upa", "1\r\n2999\r\n0\r\n7");
    p.home.write("TSpalettes/Lf.upa", "3\n4\n");
    p.home.write("TSpalettes/Word.upa", "1\r\nten\r\n");
    p.home.write("TSpalettes/Big.upa", "3000\r\n");
    p.home.write("TSpalettes/Gap.upa", "1\r\n\r\n2\r\n");
    EXPECT_EQ(p.palettes.read("Good.upa"), (std::vector<int>{1, 2999, 0, 7}));
    EXPECT_EQ(p.palettes.read("Lf.upa"), (std::vector<int>{3, 4}));
    for (const char* bad : {"Word.upa", "Big.upa", "Gap.upa", "Missing.upa"}) {
        SCOPED_TRACE(bad);
        p.ui.messages.clear();
        EXPECT_EQ(p.palettes.read(bad), std::nullopt);
        ASSERT_EQ(p.ui.messages.size(), 1u);
        EXPECT_EQ(p.ui.messages[0].title, "Palette file error!");
        EXPECT_EQ(p.ui.messages[0].text, QStringLiteral("Palette file data corrupted or not found: ") + bad);
    }
}

TEST(PalettesTest, WritesOneNumberPerLineAndKeepsTheOldFileOnFailure) {
    Palettes p;
    p.home.write("TSpalettes/Mine.upa", "");
    EXPECT_TRUE(p.palettes.write("Mine.upa", {12, 12, 300}));
    EXPECT_EQ(p.home.read("TSpalettes/Mine.upa"), "12\r\n12\r\n300\r\n");

    p.home.write("blocked", ""); // a file where the palette folder would have to be made
    UnitPalettes elsewhere(p.home.file("blocked/TSpalettes"), p.ui);
    EXPECT_FALSE(elsewhere.write("Mine.upa", {1}));
    ASSERT_EQ(p.ui.messages.size(), 1u);
    EXPECT_EQ(p.ui.messages[0].text, "Palette file data corrupted or not found: Mine.upa");
    EXPECT_EQ(p.home.read("TSpalettes/Mine.upa"), "12\r\n12\r\n300\r\n");
}

TEST(PalettesTest, ShippedPalettesAreListedBesideTheUsersAndAChangeMakesAnOwnCopy) {
    TempFolder root;
    FakeUserInterface ui;
    root.write("share/Both.upa", "1\r\n");
    root.write("share/Shipped.upa", "2\r\n");
    root.write("mine/Both.upa", "3\r\n");
    UnitPalettes palettes(root.file("mine"), ui, root.file("share"));

    EXPECT_EQ(palettes.list(), QStringList({"Both.upa", "Shipped.upa"}));
    EXPECT_EQ(palettes.read("Both.upa"), std::vector<int>{3});
    EXPECT_EQ(palettes.read("Shipped.upa"), std::vector<int>{2});
    EXPECT_TRUE(palettes.write("Shipped.upa", {2, 7}));
    EXPECT_EQ(root.read("mine/Shipped.upa"), "2\r\n7\r\n");
    EXPECT_EQ(root.read("share/Shipped.upa"), "2\r\n");
    EXPECT_TRUE(ui.messages.empty());

    // The user's copy can be deleted, which brings the shipped one back; the shipped one cannot.
    ui.answers = {Answer::Ok};
    EXPECT_TRUE(palettes.remove("Shipped.upa"));
    EXPECT_EQ(palettes.read("Shipped.upa"), std::vector<int>{2});
    EXPECT_FALSE(palettes.remove("Shipped.upa"));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text, QStringLiteral("Shipped.upa is shipped with Tessary and cannot be deleted here."));
    EXPECT_TRUE(QFile::exists(root.file("share/Shipped.upa")));
}
