#include <gtest/gtest.h>

#include <sstream>

#include "core/copies.h"
#include "core/numbers.h"

using namespace ripartino;

namespace {

// The number the copies box reads from a text, in the C library's words ("inf" included).
std::string copiesOf(const std::string& text)
{
    std::ostringstream read;
    read << numberPrefix(text);
    return read.str();
}

struct TextRow {
    const char* name;
    std::string expected;
    std::string actual;
};

// Numbers to text, as exercises show them, and the copies box's text to a number.
const TextRow textRows[] = {
    {"NoExponentWhenLarge", "100000000000000000000", formatDouble(1e20, ",")},
    {"ArabicSeparator", "12\u066B5", formatDouble(12.5, "\u066B")},
    {"RoundToNearestPlace", "0,841", formatDouble(roundToDecimals(0.8414, 3), ",")},
    {"HalfGoesDownToEven", "0,12", formatDouble(roundToDecimals(0.125, 2), ",")},
    {"HalfGoesUpToEven", "0,38", formatDouble(roundToDecimals(0.375, 2), ",")},
    {"CopiesLettersReadAsZero", "0", copiesOf("abc")},
    {"CopiesCommaEndsTheNumber", "2", copiesOf("2,5")},
    {"CopiesPointIsTheSeparator", "2.5", copiesOf("2.5")},
    {"CopiesBlanksTabsLineFeedsDropped", "100", copiesOf("\n1 \t0\n0")},
    {"CopiesExponentD", "1000", copiesOf("1D3")},
    {"CopiesExponentSigned", "2.5", copiesOf("25E-1")},
    {"CopiesExponentWithoutDigits", "1", copiesOf("1E+")},
    {"CopiesHexadecimal", "31", copiesOf("&h1F")},
    {"CopiesOctal", "15", copiesOf("&O17")},
    {"CopiesOctalEndsAtEight", "7", copiesOf("& o78")},
    {"CopiesOverflow", "inf", copiesOf("1E400")},
    {"CopiesNegativeOverflow", "-inf", copiesOf("-1E400")},
    {"CopiesHugeExponent", "inf", copiesOf("1D99999999999999999999")},
    {"CopiesManyDigits", "inf", copiesOf(std::string(400, '9'))},
    {"CopiesUnderflow", "0", copiesOf("1E-400")},
};

// Rows print as their names: in test listings, and without gtest reading their padding bytes.
void PrintTo(const TextRow& row, std::ostream* out) { *out << row.name; }

class Texts : public testing::TestWithParam<TextRow> {};

TEST_P(Texts, AreAsTheUserSeesThem) { EXPECT_EQ(GetParam().actual, GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(Rows, Texts, testing::ValuesIn(textRows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
