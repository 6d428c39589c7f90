#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "core/random_source.h"

using ripartino::RandomSource;

namespace {

constexpr double largestBelowOne = 1.0 - 0x1.0p-53;

RandomSource constant(double r)
{
    return RandomSource([r] { return r; });
}

}  // namespace

TEST(RandomSource, DrawsStayInsideTheirRangesAtTheExtremes)
{
    EXPECT_EQ(constant(0.0).drawFromOne(9999), 1);
    EXPECT_EQ(constant(largestBelowOne).drawFromOne(9999), 9999);
    // floor(r * 2 + 1) in double would give 3 here.
    EXPECT_EQ(constant(largestBelowOne).drawFromOne(2), 2);
    EXPECT_EQ(constant(largestBelowOne).drawFromOne(3), 3);
    EXPECT_EQ(constant(0.0).drawFromZero(9), 0);
    EXPECT_EQ(constant(largestBelowOne).drawFromZero(9), 8);
    EXPECT_EQ(constant(largestBelowOne).drawFromZero(99), 98);
    EXPECT_LT(constant(largestBelowOne).sineFraction(), 0.8415);
    EXPECT_EQ(constant(0.0).sineFraction(), 0.0);
}

TEST(RandomSource, EveryDrawConsumesExactlyOneValue)
{
    int taken = 0;
    RandomSource source([&taken] {
        ++taken;
        return 0.5;
    });
    source.drawFromOne(9999);
    source.drawFromZero(9);
    source.sineFraction();
    source.nextUniform();
    EXPECT_EQ(taken, 4);
}

TEST(RandomSource, EngineCoversWholeRangesAndNothingElse)
{
    RandomSource source;
    source.seed(20261206);
    std::set<int> fromOne;
    std::set<int> fromZero;
    for (int i = 0; i < 300000; ++i) {
        const double r = source.nextUniform();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
        fromOne.insert(source.drawFromOne(9999));
        fromZero.insert(source.drawFromZero(9));
    }
    EXPECT_EQ(fromOne.size(), 9999u);
    EXPECT_EQ(*fromOne.begin(), 1);
    EXPECT_EQ(*fromOne.rbegin(), 9999);
    EXPECT_EQ(fromZero, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(RandomSource, ClockReseedsGiveFreshSequencesAndSeedsRepeat)
{
    RandomSource a;
    RandomSource b;
    a.seed(42);
    b.seed(42);
    EXPECT_EQ(a.nextUniform(), b.nextUniform());

    a.reseedFromClock();
    const double first = a.nextUniform();
    a.reseedFromClock();
    EXPECT_NE(first, a.nextUniform());
}
