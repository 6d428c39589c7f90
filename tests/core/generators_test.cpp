#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "core/generators.h"
#include "core/numbers.h"
#include "support/scripted_draws.h"

using namespace ripartino;

namespace {

constexpr auto One = DivisorDigits::OneDigit;
constexpr auto Two = DivisorDigits::TwoDigits;
constexpr auto Mix = DivisorDigits::Mixed;

struct CandidateRow {
    DivisionCase divisionCase;
    DivisorDigits digits;
    std::vector<Draw> draws;
    std::string line;  // empty: the candidate must be rejected
};

// Every row scripts one candidate draw by draw; a generator drawing in another order or
// taking one value more or less gets other numbers or leaves draws over.
const std::vector<CandidateRow> candidateRows = {
    // Case I: size class, whole part, (size,) divisor, decimals, fraction.
    {DivisionCase::I, One, {one(3, 3), one(9999, 1234), zero(9, 7), one(3, 2), sine(0.57)}, "1234,57 : 7 = "},
    {DivisionCase::I, Mix, {one(3, 2), one(999, 57), one(2, 1), zero(9, 4), one(3, 1), sine(0.0499)}, "57 : 4 = "},
    {DivisionCase::I, Mix, {one(3, 3), one(9999, 5000), one(2, 2), zero(99, 21), one(3, 1), sine(0.1)}, "5000,1 : 21 = "},
    {DivisionCase::I, One, {one(3, 1), one(99, 7), zero(9, 7), one(3, 1), sine(0.01)}, ""},  // 7 + 0 against 7
    {DivisionCase::I, One, {one(3, 1), one(99, 7), zero(9, 7), one(3, 1), sine(0.3)}, "7,3 : 7 = "},
    {DivisionCase::I, One, {one(3, 1), one(99, 5), zero(9, 4), one(3, 2), sine(0.30)}, "5,3 : 4 = "},
    {DivisionCase::I, One, {one(3, 1), one(99, 5), zero(9, 4), one(3, 1), sine(0.8414)}, "5,8 : 4 = "},
    {DivisionCase::I, One, {one(3, 2), one(999, 50), zero(9, 1), one(3, 1), sine(0.5)}, ""},  // divisor 1
    {DivisionCase::I, One, {one(3, 2), one(999, 50), zero(9, 0), one(3, 1), sine(0.5)}, ""},  // divisor 0
    {DivisionCase::I, Two, {one(3, 3), one(9999, 5000), zero(99, 11), one(3, 1), sine(0.1)}, ""},
    {DivisionCase::I, Two, {one(3, 3), one(9999, 5000), zero(99, 20), one(3, 1), sine(0.1)}, ""},
    {DivisionCase::I, Two, {one(3, 3), one(9999, 5000), zero(99, 90), one(3, 1), sine(0.1)}, ""},
    {DivisionCase::I, Two, {one(3, 1), one(99, 30), zero(99, 45), one(3, 1), sine(0.1)}, ""},  // smaller dividend

    // Case II: (size,) divisor, (whole-part size,) whole part, fraction, decimals.
    {DivisionCase::II, One, {zero(9, 7), one(9, 3), sine(0.456), one(3, 2)}, "3,46 : 7 = "},
    {DivisionCase::II, One, {zero(9, 7), one(9, 3), sine(0.456), one(3, 1)}, ""},  // one decimal
    {DivisionCase::II, One, {zero(9, 7), one(9, 3), sine(0.004), one(3, 2)}, "3 : 7 = "},
    {DivisionCase::II, One, {zero(9, 7), one(9, 3), sine(0.5), one(3, 3)}, "3,5 : 7 = "},
    {DivisionCase::II, One, {zero(9, 7), one(9, 7), sine(0.001), one(3, 2)}, ""},  // 7 against 7
    {DivisionCase::II, One, {zero(9, 1), one(9, 1), sine(0.5), one(3, 2)}, ""},
    {DivisionCase::II, Two, {zero(99, 40), one(2, 2), one(99, 35), sine(0.5), one(3, 2)}, "35,5 : 40 = "},
    {DivisionCase::II, Two, {zero(99, 11), one(2, 1), one(9, 5), sine(0.5), one(3, 2)}, ""},
    {DivisionCase::II, Mix, {one(2, 2), zero(99, 12), one(2, 1), one(9, 9), sine(0.123), one(3, 3)}, "9,123 : 12 = "},
    {DivisionCase::II, Mix, {one(2, 1), zero(9, 8), one(9, 2), sine(0.25), one(3, 3)}, "2,25 : 8 = "},

    // Case III: (size,) leading digit, place or tenths, dividend.
    {DivisionCase::III, One, {zero(9, 7), one(2, 2), zero(9999, 345)}, "345 : 0,07 = "},
    {DivisionCase::III, One, {zero(9, 4), one(2, 1), zero(9999, 12)}, "12 : 0,4 = "},
    {DivisionCase::III, One, {zero(9, 4), one(2, 1), zero(9999, 11)}, ""},
    {DivisionCase::III, One, {zero(9, 1), one(2, 1), zero(9999, 500)}, ""},
    {DivisionCase::III, Two, {zero(9, 3), one(9, 7), zero(9999, 12)}, "12 : 3,7 = "},
    {DivisionCase::III, Two, {zero(9, 8), one(9, 9), zero(9999, 9998)}, "9998 : 8,9 = "},
    {DivisionCase::III, Two, {zero(9, 1), one(9, 5), zero(9999, 500)}, ""},
    {DivisionCase::III, Mix, {one(2, 1), zero(9, 5), one(2, 2), zero(9999, 9998)}, "9998 : 0,05 = "},
    {DivisionCase::III, Mix, {one(2, 2), zero(9, 6), one(9, 2), zero(9999, 100)}, "100 : 6,2 = "},

    // Case IV: size class, whole part, decimals, fraction, (size,) leading digit, places or tenths.
    {DivisionCase::IV, Two, {one(2, 1), one(99, 5), one(3, 1), sine(0.7), zero(9, 5), one(9, 6)}, "5,7 : 5,6 = "},
    {DivisionCase::IV, Two, {one(2, 1), one(99, 3), one(3, 1), sine(0.7), zero(9, 5), one(9, 6)}, ""},
    {DivisionCase::IV, Two, {one(2, 1), one(99, 2), one(3, 1), sine(0.1), zero(9, 2), one(9, 1)}, "2,1 : 2,1 = "},
    {DivisionCase::IV, Two, {one(2, 1), one(99, 2), one(3, 1), sine(0.2), zero(9, 2), one(9, 2)}, ""},
    {DivisionCase::IV, Two, {one(2, 2), one(999, 500), one(3, 1), sine(0.2), zero(9, 1), one(9, 5)}, ""},
    {DivisionCase::IV, One, {one(2, 2), one(999, 57), one(3, 2), sine(0.001), zero(9, 4), one(2, 1)}, "57 : 0,4 = "},
    {DivisionCase::IV, One, {one(2, 2), one(999, 312), one(3, 3), sine(0.25), zero(9, 7), one(2, 2)}, "312,25 : 0,07 = "},
    {DivisionCase::IV, One, {one(2, 2), one(999, 312), one(3, 3), sine(0.25), zero(9, 1), one(2, 1)}, ""},
    {DivisionCase::IV, Mix, {one(2, 1), one(99, 9), one(3, 2), sine(0.5), one(2, 2), zero(9, 6), one(9, 8)}, "9,5 : 6,8 = "},
    {DivisionCase::IV, Mix, {one(2, 1), one(99, 9), one(3, 2), sine(0.5), one(2, 1), zero(9, 3), one(2, 1)}, "9,5 : 0,3 = "},

    // Case V: (size,) divisor, dividend.
    {DivisionCase::V, One, {one(9, 7), one(99, 45)}, "45 : 7 = "},
    {DivisionCase::V, One, {one(9, 7), one(99, 42)}, ""},
    {DivisionCase::V, One, {one(9, 7), one(99, 7)}, ""},
    {DivisionCase::V, One, {one(9, 1), one(99, 45)}, ""},
    {DivisionCase::V, Two, {one(99, 11), one(99, 23)}, "23 : 11 = "},
    {DivisionCase::V, Two, {one(99, 45), one(99, 7)}, "7 : 45 = "},
    {DivisionCase::V, Two, {one(99, 20), one(99, 7)}, ""},
    {DivisionCase::V, Two, {one(99, 9), one(99, 7)}, ""},
    {DivisionCase::V, Mix, {one(2, 2), one(99, 45), one(99, 7)}, "7 : 45 = "},
    {DivisionCase::V, Mix, {one(2, 1), one(9, 9), one(99, 98)}, "98 : 9 = "},
};

}  // namespace

TEST(CaseGenerator, EachCandidateDrawsInItsOrderAndPassesOnlyItsTest)
{
    for (const CandidateRow& row : candidateRows) {
        const std::string expected = row.line.empty() ? "(rejected)" : row.line;
        SCOPED_TRACE("case " + caseNumeral(row.divisionCase) + ", expecting " + expected);
        ScriptedDraws script(row.draws);
        RandomSource source = script.source();
        const Candidate candidate = CaseGenerator(row.divisionCase).drawCandidate(row.digits, source);

        EXPECT_EQ(script.taken(), row.draws.size());
        EXPECT_EQ(candidate.accepted, !row.line.empty());
        if (candidate.accepted) {
            EXPECT_EQ(exerciseLine(candidate.dividend.text(","), candidate.divisor.text(",")), row.line);
        }
    }
}

TEST(CaseGenerator, InventDropsRejectedCandidatesAndStopsAtTen)
{
    // Alternate a rejected and an accepted case V candidate: 20 candidates, 40 draws.
    ScriptedDraws script({one(9, 7), one(99, 42), one(9, 7), one(99, 45)});
    RandomSource source = script.source();
    const ExerciseSet set = CaseGenerator(DivisionCase::V).invent(One, source, ".");

    ASSERT_EQ(set.size(), 10u);
    EXPECT_EQ(script.taken(), 40u);
    for (const Exercise& exercise : set) {
        EXPECT_EQ(exercise.line, "45 : 7 = ");
        EXPECT_EQ(exercise.dividendText, "45");
        EXPECT_EQ(exercise.divisorText, "7");
        EXPECT_TRUE(exercise.divisor.isSingle());
    }
}

namespace {

bool isMultipleOf(double value, double step)
{
    const double quotient = value / step;
    return std::abs(quotient - std::round(quotient)) < 1e-4;
}

// What each case promises of every exercise it accepts.
void expectInRange(DivisionCase divisionCase, const Exercise& exercise)
{
    const double dividend = exercise.dividend.value();
    const double divisor = exercise.divisor.value();
    const bool wholeDivisor = divisor == std::floor(divisor);
    switch (divisionCase) {
    case DivisionCase::I:
        ASSERT_TRUE(wholeDivisor);
        ASSERT_TRUE((divisor >= 2 && divisor <= 8) || (divisor >= 12 && divisor <= 98));
        ASSERT_FALSE(isMultipleOf(divisor, 10));
        ASSERT_GT(dividend, divisor);
        ASSERT_LE(dividend, 9999.842);
        ASSERT_TRUE(isMultipleOf(dividend, 0.001));
        break;
    case DivisionCase::II:
        ASSERT_TRUE(wholeDivisor);
        ASSERT_TRUE((divisor >= 2 && divisor <= 8) || (divisor >= 12 && divisor <= 98));
        ASSERT_GE(dividend, 1);
        ASSERT_LT(dividend, divisor);
        ASSERT_TRUE(isMultipleOf(dividend, 0.001));
        break;
    case DivisionCase::III:
        ASSERT_EQ(dividend, std::floor(dividend));
        ASSERT_GE(dividend, 12);
        ASSERT_LE(dividend, 9998);
        [[fallthrough]];
    case DivisionCase::IV: {
        const bool tenths = divisor >= 0.19 && divisor <= 0.81 && isMultipleOf(divisor, 0.1);
        const bool hundredths = divisor >= 0.019 && divisor <= 0.081 && isMultipleOf(divisor, 0.01);
        const bool unitsAndTenth = divisor >= 2.09 && divisor <= 8.91 && isMultipleOf(divisor, 0.1) && !wholeDivisor;
        ASSERT_TRUE(tenths || hundredths || unitsAndTenth) << divisor;
        ASSERT_GT(dividend, divisor);
        ASSERT_LE(dividend, 9998);
        if (divisionCase == DivisionCase::IV) {
            ASSERT_GE(dividend, 1);
            ASSERT_LE(dividend, 999.842);
            ASSERT_TRUE(isMultipleOf(dividend, 0.001));
        }
        break;
    }
    case DivisionCase::V:
        ASSERT_TRUE(wholeDivisor);
        ASSERT_TRUE((divisor >= 2 && divisor <= 9) || (divisor >= 11 && divisor <= 99));
        ASSERT_FALSE(isMultipleOf(divisor, 10));
        ASSERT_GE(dividend, 1);
        ASSERT_LE(dividend, 99);
        ASSERT_NE(static_cast<int>(dividend) % static_cast<int>(divisor), 0);
        break;
    }
}

}  // namespace

TEST(CaseGenerator, ThousandsOfInventionsKeepEveryPromiseOfTheirCase)
{
    // A plain decimal: no sign, no exponent, no trailing zero or separator, no leading zeros.
    const std::regex numberText(R"((0|[1-9][0-9]*)(,[0-9]*[1-9])?)");
    RandomSource source;
    source.seed(7);
    for (DivisionCase divisionCase : allCases) {
        const CaseGenerator generator(divisionCase);
        for (DivisorDigits digits : {One, Two, Mix}) {
            SCOPED_TRACE("case " + caseNumeral(divisionCase) + " digits " + std::to_string(int(digits)));
            std::set<bool> twoDigitDivisors;
            for (int invention = 0; invention < 2000; ++invention) {
                const ExerciseSet set = generator.invent(digits, source, ",");
                ASSERT_EQ(set.size(), 10u);
                for (const Exercise& exercise : set) {
                    expectInRange(divisionCase, exercise);
                    ASSERT_TRUE(std::regex_match(exercise.dividendText, numberText)) << exercise.dividendText;
                    ASSERT_TRUE(std::regex_match(exercise.divisorText, numberText)) << exercise.divisorText;
                    ASSERT_EQ(exercise.line, exerciseLine(exercise.dividendText, exercise.divisorText));
                    const double divisor = exercise.divisor.value();
                    twoDigitDivisors.insert(divisor >= 10 || (divisor >= 1 && divisor != std::floor(divisor)));
                }
            }
            if (digits == Mix)
                EXPECT_EQ(twoDigitDivisors.size(), 2u);
            else
                EXPECT_EQ(*twoDigitDivisors.begin(), digits == Two);
        }
    }
}
