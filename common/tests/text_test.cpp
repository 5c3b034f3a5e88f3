#include "cp1252.h"
#include "text.h"

#include <gtest/gtest.h>

using ts::Text;

TEST(Text, EmptyCostsNoBlockAndCompares) {
    Text t;
    EXPECT_TRUE(t.empty());
    EXPECT_EQ(t.size(), 0u);
    EXPECT_EQ(t, "");
    t = "";
    EXPECT_TRUE(t.empty());
}

TEST(Text, CopiesAreIndependentAndSelfAssignmentIsSafe) {
    Text a("Ulm");
    Text b = a;
    b = "Marverni";
    EXPECT_EQ(a, "Ulm");
    a = a.view().substr(1);
    EXPECT_EQ(a, "lm");
    Text c = std::move(b);
    EXPECT_EQ(c, "Marverni");
    EXPECT_TRUE(b.empty()); // NOLINT(bugprone-use-after-move): moved-from is empty by contract
    const Text& self = c;
    c = self;
    EXPECT_EQ(c, "Marverni");
}

TEST(Text, KeepsEveryByteIncludingHighAndZero) {
    std::string bytes("\x80\x9f\xff quoted\0end", 15);
    Text t(bytes);
    EXPECT_EQ(t.size(), bytes.size());
    EXPECT_EQ(t.str(), bytes);
}

TEST(Cp1252, EveryByteRoundTrips) {
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_EQ(ts::toCp1252(ts::fromCp1252(all)), all);
    EXPECT_EQ(ts::fromCp1252("\x80"), QString(QChar(0x20AC)));
    EXPECT_EQ(ts::fromCp1252("\xe9"), QString(QChar(0xE9)));
    EXPECT_EQ(ts::toCp1252(QString(QChar(0x4E2D))), "?");
}
