#include <gtest/gtest.h>

#include "core/random_source.h"

// One value per draw and the engine's range and spread show in the case generators' tests.
TEST(RandomSource, DrawsStayInsideTheirRangesAtTheExtremes)
{
    ripartino::RandomSource lowest([] { return 0.0; });
    ripartino::RandomSource highest([] { return 1.0 - 0x1.0p-53; });
    EXPECT_EQ(lowest.drawFromOne(9999), 1);
    EXPECT_EQ(highest.drawFromOne(9999), 9999);
    EXPECT_EQ(highest.drawFromOne(2), 2);  // floor(r * 2 + 1) in double gives 3
    EXPECT_EQ(lowest.drawFromZero(9), 0);
    EXPECT_EQ(highest.drawFromZero(9), 8);
    EXPECT_LT(highest.sineFraction(), 0.8415);
}

TEST(RandomSource, ClockReseedsGiveFreshSequences)
{
    ripartino::RandomSource a;
    const double first = a.nextUniform();
    a.reseedFromClock();
    EXPECT_NE(first, a.nextUniform());
}
