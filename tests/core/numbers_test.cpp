#include <gtest/gtest.h>

#include "core/numbers.h"

using namespace ripartino;

TEST(RoundToDecimals, RoundsToNearestAndHalvesToEven)
{
    EXPECT_DOUBLE_EQ(roundToDecimals(0.8414, 3), 0.841);
    EXPECT_DOUBLE_EQ(roundToDecimals(0.8414, 1), 0.8);
    EXPECT_EQ(roundToDecimals(0.0499, 1), 0.0);
    EXPECT_DOUBLE_EQ(roundToDecimals(0.456, 2), 0.46);
    // Exact halves (representable in binary) go to the even neighbour.
    EXPECT_DOUBLE_EQ(roundToDecimals(0.125, 2), 0.12);
    EXPECT_DOUBLE_EQ(roundToDecimals(0.375, 2), 0.38);
    EXPECT_DOUBLE_EQ(roundToDecimals(0.5, 0), 0.0);
    EXPECT_DOUBLE_EQ(roundToDecimals(0.25, 1), 0.2);
}

TEST(NumberText, PlainDecimalsWithoutTrailingZerosOrExponent)
{
    struct Row {
        std::string expected;
        std::string actual;
    };
    const Row rows[] = {
        {"1234,3", formatDouble(1234 + roundToDecimals(0.30, 2), ",")},
        {"1234,57", formatDouble(1234 + 0.57, ",")},
        {"57", formatDouble(57 + roundToDecimals(0.0499, 1), ",")},
        {"0,25", formatDouble(0.25, ",")},
        {"0,3", formatDouble(0.1 + 0.2, ",")},
        {"9999,841", formatDouble(9999 + 0.841, ",")},
        {"0,07", formatSingle(7 / 100.0f, ",")},
        {"3,7", formatSingle(3 + 0.7f, ",")},
        {"0,1", formatSingle(0.1f, ",")},
        {"8,9", formatSingle(8.9f, ",")},
        {"9998", formatSingle(9998.0f, ",")},
        {"2.1", formatSingle(2.1f, ".")},
        {"100000000000000000000", formatDouble(1e20, ",")},
        {"0,0001234", formatDouble(0.0001234, ",")},
        {"1234568", formatSingle(1234567.8f, ",")},
        {"0", formatDouble(0.0, ",")},
        {"12\xD9\xAB" "5", formatDouble(12.5, "\xD9\xAB")},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.actual, row.expected);
}

TEST(ExerciseLine, JoinsWithColonAndEndsWithBlankAfterEquals)
{
    EXPECT_EQ(exerciseLine("1234,57", "7"), "1234,57 : 7 = ");
    EXPECT_EQ(exerciseLine("345", "0,07"), "345 : 0,07 = ");
}
