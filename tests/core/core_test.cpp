#include <algorithm>
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

// The pupil's steps and answer, exactly: the multiplication makes the divisor whole, each row is
// the true remainder with the next digit beside it, and dividend × m = divisor × m × quotient +
// remainder with 0 <= remainder < divisor × m × 0,01; the solution sheet reads the same answer.
void expectWorkedDivision(const Exercise& e)
{
    const auto dividend = parseDecimal(e.dividend.text(","), ","), divisor = parseDecimal(e.divisor.text(","), ",");
    const auto w = workedDivision(dividend.value(), divisor.value());
    ASSERT_TRUE(w && w->answer.quotient.decimals <= 2) << e.line;
    EXPECT_TRUE(at(w->wholeDividend, 6) == at(*dividend, 6 + divisor->decimals)
                && w->wholeDivisor == at(*divisor, divisor->decimals));
    std::int64_t quotient = 0, first = 0;
    for (std::size_t i = 0; i < w->steps.size(); ++i) {
        const DivisionStep& s = w->steps[i];
        if (i == 0)
            for (int c = 0; c < s.column; ++c)
                first = first * 10 + (w->digits[c] - '0');
        const std::int64_t partial = i == 0 ? first * 10 + (w->digits[s.column] - '0')
                                            : w->steps[i - 1].remainder * 10 + (w->digitAt(s.column) - '0');
        ASSERT_TRUE(s.partial == partial && (i == 0 ? first < w->wholeDivisor : s.column == w->steps[i - 1].column + 1)
                    && s.product == s.digit * w->wholeDivisor && s.remainder == s.partial - s.product
                    && s.remainder >= 0 && s.remainder < w->wholeDivisor)
            << e.line << " step " << i;
        quotient = quotient * 10 + s.digit;
    }
    const DivisionStep& last = w->steps.back();
    EXPECT_TRUE(last.column == w->wholeDigits + 1 || (last.remainder == 0 && last.column + 1 >= int(w->digits.size())));
    const std::int64_t step = at(*divisor, 4 + divisor->decimals), remainder = at(w->answer.remainder, 6);
    EXPECT_TRUE(quotient == w->answer.quotient.units
                && at(*dividend, 6 + divisor->decimals) == step * at(w->answer.quotient, 2) + remainder
                && remainder >= 0 && remainder < step)
        << e.line;
    EXPECT_EQ(writtenDivisionAnswer(e.dividend.text(","), e.divisor.text(","), ","), w->answer.text(","));
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
                expectWorkedDivision(e);
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

// The worked division's text, one row of the exercise book to a '/'.
std::string worked(const char* dividend, const char* divisor, bool products)
{
    const auto w = workedDivision(*parseDecimal(dividend, ","), *parseDecimal(divisor, ","));
    return w ? workedDivisionText(*w, ",", products) : "";
}
std::string rows(std::string text) { return std::replace(text.begin(), text.end(), '/', '\n'), text; }

struct TextRow {
    const char* name;
    std::string expected;
    std::string actual;
};

// Numbers to text, as exercises show them, the answers of the solution sheet and the divisions worked
// out in both forms, and the copies box's text to a number.
const TextRow textRows[] = {
    {"NoExponentWhenLarge", "100000000000000000000", formatDouble(1e20, ",")},
    {"HalfGoesDownToEven", "0,12", formatDouble(roundToDecimals(0.125, 2), ",")},
    {"HalfGoesUpToEven", "0,38", formatDouble(roundToDecimals(0.375, 2), ",")},
    {"AnswerEndsWhole", "2000", writtenDivisionAnswer("1,4", "0,0007", ",").value_or("")},
    {"AnswerCutWithRemainder", "6,77 resto 0,07", writtenDivisionAnswer("61", "9", ",").value_or("")},
    {"AnswerKeepsItsZeros", "16,00 resto 0,12", writtenDivisionAnswer("1312,12", "82", ",").value_or("")},
    {"AnswerRemainderInItsPlace", "0,80 resto 0,80", writtenDivisionAnswer("80", "99", ",").value_or("")},
    {"AnswerBelowOne", "0,00 resto 0,005", writtenDivisionAnswer("0,005", "7", ",").value_or("")},
    {"AnswerArabicSeparator", "0\u066B33 resto 0\u066B01", writtenDivisionAnswer("1", "3", "\u066B").value_or("")},
    {"AnswerZeroDivisor", "", writtenDivisionAnswer("5", "0,0", ",").value_or("")},
    {"AnswerNotANumber", "", writtenDivisionAnswer("5,", "2", ",").value_or("")},
    {"AnswerTooLong", "", writtenDivisionAnswer("9223372036854775808", "3", ",").value_or("")},
    {"AnswerTooLongToCarryOut", "", writtenDivisionAnswer("922337203685477580,7", "0,3", ",").value_or("")},
    {"WorkedQuotientBeginsWithZeroShort", rows("3,45 | 7/3 4  |-----/  65 | 0,49/   2/3,45 : 7 = 0,49 resto 0,02"),
     worked("3,45", "7", false)},
    {"WorkedQuotientBeginsWithZeroLong",
     rows("3,45 | 7/0    |-----/-    | 0,49/3 4/2 8/- -/  65/  63/  --/   2/3,45 : 7 = 0,49 resto 0,02"),
     worked("3,45", "7", true)},
    {"WorkedZeroInsideTheQuotientShort",
     rows("703   | 7/00    |-------/ 03   | 100,42/  30/   20/    6/703 : 7 = 100,42 resto 0,06"),
     worked("703", "7", false)},
    {"WorkedZeroInsideTheQuotientLong",
     rows("703   | 7/7     |-------/-     | 100,42/00/ 0/--/ 03/  0/ --/  30/  28/  --/   20/   14/   --/    6/703 : 7 "
          "= 100,42 resto 0,06"),
     worked("703", "7", true)},
    {"WorkedEndsEarlyShort", rows("7,5 | 3/1 5 |----/  0 | 2,5/7,5 : 3 = 2,5"), worked("7,5", "3", false)},
    {"WorkedEndsEarlyLong", rows("7,5 | 3/6   |----/-   | 2,5/1 5/1 5/- -/  0/7,5 : 3 = 2,5"),
     worked("7,5", "3", true)},
    {"WorkedHundredthsOfTheDivisorShort",
     rows("345 : 0,07 = 34500 : 7/34500   | 7/ 65     |--------/  20    | 4928,57/   60/    40/     50/      1/345 : "
          "0,07 = 4928,57 resto 0,01"),
     worked("345", "0,07", false)},
    {"WorkedHundredthsOfTheDivisorLong",
     rows("345 : 0,07 = 34500 : 7/34500   | 7/28      |--------/--      | 4928,57/ 65/ 63/ --/  20/  14/  --/   60/   "
          "56/   --/    40/    35/    --/     50/     49/     --/      1/345 : 0,07 = 4928,57 resto 0,01"),
     worked("345", "0,07", true)},
    {"WorkedDigitNeverBroughtDownShort",
     rows("932,125 | 44/ 52     |------/  8 1   | 21,18/  3 72/    20/932,125 : 44 = 21,18 resto 0,205"),
     worked("932,125", "44", false)},
    {"WorkedDigitNeverBroughtDownLong",
     rows("932,125 | 44/88      |------/--      | 21,18/ 52/ 44/ --/  8 1/  4 4/  - -/  3 72/  3 52/  - --/    "
          "20/932,125 : 44 = 21,18 resto 0,205"),
     worked("932,125", "44", true)},
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
