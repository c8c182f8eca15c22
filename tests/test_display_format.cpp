// The fixed-width number texts, on their own.
#include "effect/DisplayFormat.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

namespace
{
std::string float8(float v)
{
    char text[32];
    std::memset(text, '#', sizeof text);
    text[31] = '\0';
    formatFloat8(v, text);
    return text;
}

std::string decibels(float v)
{
    char text[32] = {};
    formatDecibels(v, text);
    return text;
}

std::string integer(int v)
{
    char text[32] = {};
    formatInteger(v, text);
    return text;
}
} // namespace

TEST(FormatFloat8, EightCharactersTruncatedNeverRounded)
{
    EXPECT_EQ(float8(1.0f), "1.000000");
    EXPECT_EQ(float8(0.1f), "0.100000");
    EXPECT_EQ(float8(10.0f), "10.00000");
    EXPECT_EQ(float8(12.0412f), "12.04119");
    EXPECT_EQ(float8(-6.0206f), "-6.02059");
    EXPECT_EQ(float8(0.0f), "0.000000");
    EXPECT_EQ(float8(0.9999999f), "0.999999"); // truncated, not rounded up to 1
    EXPECT_EQ(float8(1234567.0f), "1234567.");
}

TEST(FormatFloat8, OutOfRangeLeavesTheBufferAlone)
{
    const std::string untouched(31, '#');
    EXPECT_EQ(float8(1e9f), untouched);
    EXPECT_EQ(float8(-1e8f), untouched);
    EXPECT_EQ(float8(std::numeric_limits<float>::infinity()), untouched);
    EXPECT_EQ(float8(std::numeric_limits<float>::quiet_NaN()), untouched);
}

TEST(FormatDecibels, AmplitudesToDecibels)
{
    EXPECT_EQ(decibels(1.0f), "0.000000");
    EXPECT_EQ(decibels(4.0f), "12.04119");
    EXPECT_EQ(decibels(0.25f), "-12.0411");
    EXPECT_EQ(decibels(0.5f), "-6.02059");
    EXPECT_EQ(decibels(0.0f), "-oo");
    EXPECT_EQ(decibels(-1.0f), "-oo");
}

TEST(FormatInteger, DigitsWithoutLeadingZeros)
{
    EXPECT_EQ(integer(0), "");
    EXPECT_EQ(integer(7), "7");
    EXPECT_EQ(integer(2000), "2000");
    EXPECT_EQ(integer(-25), "-25");
    EXPECT_EQ(integer(99999999), "99999999");
    EXPECT_EQ(integer(100000000), "Huge!");
}
