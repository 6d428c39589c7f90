#include <cmath>
#include <regex>
#include <set>

#include <gtest/gtest.h>

#include "core/answers.h"
#include "core/copies.h"
#include "core/generators.h"
#include "core/numbers.h"
#include "support/scripted_draws.h"

using namespace ripartino;

namespace {

constexpr auto One = DivisorDigits::OneDigit;
constexpr auto Two = DivisorDigits::TwoDigits;
constexpr auto Mix = DivisorDigits::Mixed;
using enum DivisionCase;

// One candidate, scripted draw by draw: a generator that draws in another order, or takes
// one value more or less, gets other numbers or leaves draws over. The top and bottom
// uniform values keep every draw inside its range.
struct CandidateRow {
    const char* name;
    DivisionCase divisionCase;
    DivisorDigits digits;
    std::vector<Draw> draws;
    std::string line;  // without its closing " = "; empty: rejected
};

const CandidateRow candidateRows[] = {
    // Case I: size class, whole part, (size,) divisor, decimals, fraction.
    {"I_TopWholePart", I, One, {one(3, 3), top, zero(9, 7), one(3, 2), sine(0.57)}, "9999,57 : 7"},
    {"I_MixedSizeThird", I, Mix, {one(3, 2), one(999, 57), one(2, 1), zero(9, 4), one(3, 1), sine(0.0499)}, "57 : 4"},
    {"I_EqualWholeNoFraction", I, One, {one(3, 1), one(99, 7), zero(9, 7), one(3, 1), sine(0.01)}, ""},
    {"I_EqualWholeTopFraction", I, One, {one(3, 1), one(99, 7), zero(9, 7), one(3, 3), top}, "7,841 : 7"},
    // Case II: (size,) divisor, (whole-part size,) whole part, fraction, decimals.
    {"II_OneDigit", II, One, {zero(9, 7), one(9, 3), sine(0.456), one(3, 2)}, "3,46 : 7"},
    {"II_OneDecimal", II, One, {zero(9, 7), one(9, 3), sine(0.456), one(3, 1)}, ""},
    {"II_TwoDigitsTens", II, Two, {zero(99, 40), one(2, 2), one(99, 35), sine(0.5), one(3, 2)}, "35,5 : 40"},
    {"II_MixedTwo", II, Mix, {one(2, 2), zero(99, 12), one(2, 1), one(9, 9), sine(0.123), one(3, 3)}, "9,123 : 12"},
    // Case III: (size,) leading digit, place or tenths, dividend.
    {"III_Hundredths", III, One, {zero(9, 7), top, zero(9999, 345)}, "345 : 0,07"},
    {"III_DividendEleven", III, One, {zero(9, 4), one(2, 1), zero(9999, 11)}, ""},
    {"III_TopUnitsAndTenth", III, Two, {top, top, zero(9999, 9998)}, "9998 : 8,9"},
    {"III_MixedTopDividend", III, Mix, {one(2, 1), zero(9, 5), one(2, 2), top}, "9998 : 0,05"},
    // Case IV: size class, whole part, decimals, fraction, (size,) leading digit, place or tenths.
    {"IV_FloatTieBelow", IV, Two, {one(2, 1), one(99, 2), one(3, 1), sine(0.1), zero(9, 2), one(9, 1)}, "2,1 : 2,1"},
    {"IV_FloatTieAbove", IV, Two, {one(2, 1), one(99, 2), one(3, 1), sine(0.2), zero(9, 2), one(9, 2)}, ""},
    {"IV_Hundredths", IV, One, {top, one(999, 31), one(3, 3), sine(0.25), zero(9, 7), one(2, 2)}, "31,25 : 0,07"},
    // Under Mix the divisor size is the fifth draw.
    {"IV_Fifth", IV, Mix, {one(2, 1), one(99, 9), one(3, 2), sine(0.5), one(2, 2), zero(9, 6), one(9, 8)}, "9,5 : 6,8"},
    // Case V: (size,) divisor, dividend.
    {"V_OneDigit", V, One, {one(9, 7), one(99, 99)}, "99 : 7"},
    {"V_MixedSmallerDividend", V, Mix, {top, one(99, 45), one(99, 7)}, "7 : 45"},
};

// Rows print as their names: in test listings, and without gtest reading their padding bytes.
void PrintTo(const CandidateRow& row, std::ostream* out) { *out << row.name; }

class CandidateDraws : public testing::TestWithParam<CandidateRow> {};

TEST_P(CandidateDraws, TakeTheirOrderAndPassOnlyTheirTest)
{
    const CandidateRow& row = GetParam();
    ScriptedDraws script(row.draws);
    RandomSource source = script.source();
    const Candidate candidate = CaseGenerator(row.divisionCase).drawCandidate(row.digits, source);
    EXPECT_EQ(script.taken(), row.draws.size());
    // A rejected candidate has no line: " = " alone stands for it.
    const std::string line = exerciseLine(candidate.dividend.text(","), candidate.divisor.text(","));
    EXPECT_EQ(candidate.accepted ? line : " = ", row.line + " = ");
}

INSTANTIATE_TEST_SUITE_P(Rows, CandidateDraws, testing::ValuesIn(candidateRows),
                         [](const auto& info) { return std::string(info.param.name); });

// Every value from `from` to `to` in steps of `step`, without the multiples of `skip`.
std::set<long> values(long from, long to, long step, long skip = 0)
{
    std::set<long> all;
    for (long v = from; v <= to; v += step)
        if (skip == 0 || v % skip != 0)
            all.insert(v);
    return all;
}

// What a case promises of every exercise it accepts; its divisors in hundredths, exactly.
struct Promise {
    DivisionCase divisionCase;
    std::set<long> oneDigitDivisors, twoDigitDivisors;
    double least, most;  // dividend
    int above;           // dividend above the divisor: 1, below: 0, either: -1
    bool singleDividend;
};

std::set<long> join(std::set<long> some, const std::set<long>& more)
{
    some.insert(more.begin(), more.end());
    return some;
}

const Promise promises[] = {
    {I, values(200, 800, 100), values(1200, 9800, 100, 1000), 2, 9999.841, 1, false},
    {II, values(200, 800, 100), values(1200, 9800, 100), 1, 97.841, 0, false},
    {III, join(values(2, 8, 1), values(20, 80, 10)), values(210, 890, 10, 100), 12, 9998, 1, true},
    {IV, join(values(2, 8, 1), values(20, 80, 10)), values(210, 890, 10, 100), 1, 999.841, 1, false},
    {V, values(200, 900, 100), values(1100, 9900, 100, 1000), 1, 99, -1, true},
};

void PrintTo(const Promise& promise, std::ostream* out) { *out << caseNumeral(promise.divisionCase); }

class Inventions : public testing::TestWithParam<Promise> {};

std::int64_t at(Decimal x, int k) { return x.units * std::int64_t(std::pow(10, k - x.decimals)); }

// The pupil's answer, exactly: dividend × m = divisor × m × quotient + remainder, where m makes
// the divisor whole, and 0 <= remainder < divisor × m × 0,01.
void expectWrittenDivision(const Exercise& e)
{
    const auto dividend = parseDecimal(e.dividend.text(","), ","), divisor = parseDecimal(e.divisor.text(","), ",");
    const auto answer = writtenDivision(dividend.value(), divisor.value());
    ASSERT_TRUE(answer && answer->quotient.decimals <= 2) << e.line;
    const std::int64_t step = at(*divisor, 4 + divisor->decimals), remainder = at(answer->remainder, 6);
    EXPECT_TRUE(at(*dividend, 6 + divisor->decimals) == step * at(answer->quotient, 2) + remainder && remainder >= 0
                && remainder < step)
        << e.line;
}

TEST_P(Inventions, KeepEveryPromiseOfTheirCase)
{
    const Promise& promise = GetParam();
    // Plain decimals: no sign, exponent, trailing zero or leading zeros; at most three decimals.
    const std::regex plain(R"((0|[1-9][0-9]{0,3})(,[0-9]{0,2}[1-9])?)");
    RandomSource source;
    source.seed(7);
    for (DivisorDigits digits : {One, Two, Mix}) {
        std::set<long> divisors;
        for (int invention = 0; invention < 1000; ++invention) {
            const ExerciseSet set = CaseGenerator(promise.divisionCase).invent(digits, source, ",");
            ASSERT_EQ(set.size(), 10u);
            for (const Exercise& e : set) {
                const double dividend = e.dividend.value(), divisor = e.divisor.value();
                divisors.insert(std::lround(divisor * 100));
                ASSERT_TRUE(e.divisor.isSingle() && e.dividend.isSingle() == promise.singleDividend);
                ASSERT_TRUE(dividend >= promise.least && dividend <= promise.most) << dividend;
                ASSERT_TRUE(promise.above < 0 || (dividend > divisor) == (promise.above == 1)) << e.line;
                ASSERT_TRUE(promise.divisionCase != V || std::fmod(dividend, divisor) != 0) << e.line;
                ASSERT_TRUE(std::regex_match(e.dividend.text(","), plain)
                            && std::regex_match(e.divisor.text(","), plain));
                expectWrittenDivision(e);
            }
        }
        const std::set<long> both = join(promise.oneDigitDivisors, promise.twoDigitDivisors);
        EXPECT_EQ(divisors, digits == One ? promise.oneDigitDivisors : digits == Two ? promise.twoDigitDivisors : both);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Inventions, testing::ValuesIn(promises),
                         [](const auto& info) { return caseNumeral(info.param.divisionCase); });

// The number the copies box reads from a text, as gtest prints it ("inf" included).
std::string copiesOf(const std::string& text) { return testing::PrintToString(numberPrefix(text)); }

struct TextRow {
    const char* name;
    std::string expected;
    std::string actual;
};

// Numbers to text, as exercises show them, the answers of the solution sheet, and the copies box's text to a number.
const TextRow textRows[] = {
    {"NoExponentWhenLarge", "100000000000000000000", formatDouble(1e20, ",")},
    {"HalfGoesDownToEven", "0,12", formatDouble(roundToDecimals(0.125, 2), ",")},
    {"HalfGoesUpToEven", "0,38", formatDouble(roundToDecimals(0.375, 2), ",")},
    {"AnswerEndsWhole", "2000", writtenDivisionAnswer("1,4", "0,0007", ",").value_or("")},
    {"AnswerCutWithRemainder", "6,77 resto 0,07", writtenDivisionAnswer("61", "9", ",").value_or("")},
    {"AnswerBelowOne", "0 resto 0,005", writtenDivisionAnswer("0,005", "7", ",").value_or("")},
    {"AnswerArabicSeparator", "0\u066B33 resto 0\u066B01", writtenDivisionAnswer("1", "3", "\u066B").value_or("")},
    {"AnswerZeroDivisor", "", writtenDivisionAnswer("5", "0,0", ",").value_or("")},
    {"AnswerNotANumber", "", writtenDivisionAnswer("5,", "2", ",").value_or("")},
    {"AnswerTooLong", "", writtenDivisionAnswer("9223372036854775808", "3", ",").value_or("")},
    {"AnswerTooLongToCarryOut", "", writtenDivisionAnswer("922337203685477580,7", "0,3", ",").value_or("")},
    {"CopiesLettersReadAsZero", "0", copiesOf("abc")},
    {"CopiesPointIsTheSeparator", "2.5", copiesOf("2.5")},
    {"CopiesExponentD", "1000", copiesOf("1D3")},
    {"CopiesExponentSigned", "2.5", copiesOf("25E-1")},
    {"CopiesHexadecimal", "31", copiesOf("&h1F")},
    {"CopiesOctal", "15", copiesOf("&O17")},
    {"CopiesOctalEndsAtEight", "7", copiesOf("& o78")},
    {"CopiesOverflow", "inf", copiesOf("1E400")},
    {"CopiesHugeExponent", "inf", copiesOf("1D99999999999999999999")},
    {"CopiesManyDigits", "inf", copiesOf(std::string(400, '9'))},
};

void PrintTo(const TextRow& row, std::ostream* out) { *out << row.name; }

class Texts : public testing::TestWithParam<TextRow> {};

TEST_P(Texts, AreAsTheUserSeesThem) { EXPECT_EQ(GetParam().actual, GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(Rows, Texts, testing::ValuesIn(textRows),
                         [](const auto& info) { return std::string(info.param.name); });

// Each run of the program invents its own exercises: after a reseed from the clock, the
// sequence of a fixed seed does not come again.
TEST(RandomSource, ClockReseedsGiveFreshSequences)
{
    RandomSource source;
    source.seed(7);
    const double seeded = source.nextUniform();
    source.seed(7);
    source.reseedFromClock();
    EXPECT_NE(source.nextUniform(), seeded);
}

}  // namespace
