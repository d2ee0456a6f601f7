#include "tests/host/ProbeEffect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

std::string real(float value)
{
    char text[9];
    ProbeEffect(nullptr).realToText(value, text);
    return text;
}

std::string integer(std::int32_t value)
{
    char text[9];
    ProbeEffect(nullptr).integerToText(value, text);
    return text;
}

TEST(TextConversions, RealsKeepEightCharactersAndTruncate)
{
    EXPECT_EQ(real(0.0f), "0.000000");
    EXPECT_EQ(real(-0.0f), "0.000000");
    EXPECT_EQ(real(1.5f), "1.500000");
    EXPECT_EQ(real(-1.5f), "-1.50000");
    EXPECT_EQ(real(1234567.25f), "1234567.");
    EXPECT_EQ(real(0.999999f), "0.999998"); // the float below one, truncated not rounded
    EXPECT_EQ(real(42.0f), "42.00000");
}

TEST(TextConversions, RealsTooWideShowTheOverflowText)
{
    EXPECT_EQ(real(100000000.0f), " Huge!  ");
    EXPECT_EQ(real(-10000000.0f), " Huge!  ");
    // Integer parts that would lose their leading digits overflow too.
    EXPECT_EQ(real(12345678.0f), " Huge!  ");
    EXPECT_EQ(real(-1234567.0f), " Huge!  ");
    EXPECT_EQ(real(9999999.0f), "9999999.");
    EXPECT_EQ(real(-999999.0f), "-999999.");
    EXPECT_EQ(real(std::nanf("")), " Huge!  ");
    EXPECT_EQ(real(-INFINITY), " Huge!  ");
}

TEST(TextConversions, Integers)
{
    EXPECT_EQ(integer(99999999), "99999999");
    EXPECT_EQ(integer(100000000), " Huge!  ");
    EXPECT_EQ(integer(-5), "     -5");
    EXPECT_EQ(integer(0), "      0");
}

TEST(TextConversions, DecibelsFrequencyAndTime)
{
    ProbeEffect effect(nullptr);
    char text[9];
    effect.decibelsToText(1.0f, text);
    EXPECT_STREQ(text, "0.000000");
    effect.decibelsToText(0.0f, text);
    EXPECT_STREQ(text, "  -oo   ");
    effect.decibelsToText(std::nanf(""), text);
    EXPECT_STREQ(text, "  -oo   ");
    effect.decibelsToText(0.5f, text);
    EXPECT_STREQ(text, "-6.02059");
    effect.frequencyToText(0.0f, text);
    EXPECT_STREQ(text, "0.000000");
    effect.frequencyToText(100.0f, text);
    EXPECT_STREQ(text, "441.0000");
    effect.millisecondsToText(441.0f, text);
    EXPECT_STREQ(text, "10.00000");
}

} // namespace
