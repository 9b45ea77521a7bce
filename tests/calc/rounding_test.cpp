#include "calc/Rounding.h"

#include <gtest/gtest.h>

#include <limits>

using namespace ralvo;

TEST(Rounding, HalvesGoToTheEvenNeighbourAndTruncDropsTowardsZero)
{
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(2.51), 3);
    EXPECT_EQ(TruncToInt(2.9), 2);
    EXPECT_EQ(TruncToInt(-2.9), -2);
}

TEST(Rounding, OutOfRangeAndNaNSaturate)
{
    constexpr int lowest = std::numeric_limits<int>::min();
    constexpr int highest = std::numeric_limits<int>::max();
    EXPECT_EQ(RoundHalfEven(1e12), highest);
    EXPECT_EQ(RoundHalfEven(-1e12), lowest);
    EXPECT_EQ(TruncToInt(std::numeric_limits<double>::quiet_NaN()), lowest);
    EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::infinity()), highest);
}
