#include <gtest/gtest.h>

#include "engine/numberformat.h"

#include <tuple>

using namespace velloran::engine;

TEST(FormatGeneral, WritesAtMostSevenSignificantDigitsWithoutExponent)
{
    const std::pair<float, const char*> cases[] = {
        {480, "480"},
        {-95, "-95"},
        {27.75f, "27.75"},
        {0, "0"},
        {-0.0f, "0"},
        {123456.79f, "123456.8"},
        {-123456.79f, "-123456.8"},
        {0.5f, "0.5"},
        {240005, "240005"},
        {1234567, "1234567"},
        {12345678, "12345680"},
        {0.0001f, "0.0001"},
        {1.0e-9f, "0.000000001"},
        {100.25f, "100.25"},
        {11.75f, "11.75"},
        {73.75f, "73.75"},
        {0.1f, "0.1"},
        {1.0e20f, "100000000000000000000"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(formatGeneral(value), text) << value;
}

TEST(FormatPosition, ExactPositionsKeepEveryWholeTwipBeyondTheClassicRange)
{
    const std::tuple<double, bool, const char*> cases[] = {
        {-123456789, true, "-123456789"},
        {-123456789, false, "-123456800"},  // single precision, seven digits: as always
        {123456790.5, true, "123456790.5"},
        {-16777217, true, "-16777217"},
        {1000000, true, "1000000"},
        {-100000002.25, true, "-100000002.25"},
        {-100000002.123, true, "-100000002.12"},
        {999999.75, true, "999999.8"},  // below a million: the classic seven digits
        {-123456.79, true, "-123456.8"},
        {480, true, "480"},
        {2.0e9, true, "2000000000"},
    };
    for (const auto& [value, exact, text] : cases)
        EXPECT_EQ(formatPosition(value, exact), text) << value;
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(roundHalfEven(100.5), 100);
    EXPECT_EQ(roundHalfEven(101.5), 102);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(2.4999), 2);
    EXPECT_EQ(wholeHalfEven(27.75f), 28);
    EXPECT_EQ(wholeHalfEven(28.5f), 28);
}
