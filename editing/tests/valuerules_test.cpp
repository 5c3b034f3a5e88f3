#include "valuerules.h"

#include <gtest/gtest.h>

namespace ts {
namespace {

TEST(ValueRules, ClampingTypedText) {
    struct Case {
        const char* text;
        std::int16_t expected;
    } cases[] = {
        {"", 0},         {"abc", 0},   {"12abc", 0}, {"250", 250}, {"  250 ", 250}, {"600", 500},
        {"-5", 0},       {"+7", 7},    {"2.5", 2},   {"3.5", 4},   {"99999", 0},    {"1e3", 0},
        {"٣", 0}, // digits of other scripts are not numbers
    };
    for (const Case& c : cases) EXPECT_EQ(ClampInt(QString::fromUtf8(c.text), 0, 500), c.expected) << c.text;

    EXPECT_EQ(ClampLong(QStringLiteral("60000"), 0, 50000), 50000);
    EXPECT_EQ(ClampLong(QStringLiteral("letters"), 0, 50000), 0);
    EXPECT_EQ(ClampLong(QStringLiteral("3000000000"), 0, 50000), 0);
    EXPECT_FLOAT_EQ(ClampSingle(QStringLiteral("2.5"), 0.0f, 2.0f), 2.0f);
    EXPECT_FLOAT_EQ(ClampSingle(QStringLiteral("0.75"), 0.0f, 2.0f), 0.75f);
    EXPECT_FLOAT_EQ(ClampSingle(QStringLiteral("x"), 0.0f, 1.0f), 0.0f);
    EXPECT_FLOAT_EQ(ClampSingle(QStringLiteral("nan"), 0.0f, 1.0f), 0.0f);
}

TEST(ValueRules, IntOrDefaultKeepsTheDefaultForNonNumbers) {
    EXPECT_EQ(IntOrDefault(QStringLiteral(""), -1), -1);
    EXPECT_EQ(IntOrDefault(QStringLiteral("x"), 999), 999);
    EXPECT_EQ(IntOrDefault(QStringLiteral("-3"), 999), -3);
    EXPECT_EQ(IntOrDefault(QStringLiteral("40000"), -1), -1);
}

} // namespace
} // namespace ts
