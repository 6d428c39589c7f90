#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/copies.h"

using ripartino::numberPrefix;

namespace {

struct Row {
    std::string text;
    double expected;
};

constexpr double inf = std::numeric_limits<double>::infinity();

const std::vector<Row> rows = {
    {"3", 3},
    {"", 0},
    {"abc", 0},
    {"2,5", 2},          // the comma ends the number, whatever the regional settings
    {"2.5", 2.5},
    {" 1 0", 10},        // blanks are dropped wherever they stand
    {"1\t0\n0", 100},
    {"\n\t 7", 7},
    {"-1", -1},
    {"- 1", -1},
    {"+4", 4},
    {"+-4", 0},
    {"--4", 0},
    {"-", 0},
    {".", 0},
    {".5", 0.5},
    {"5.", 5},
    {"1.2.3", 1.2},
    {"12abc", 12},
    {"1E3", 1000},
    {"1e3", 1000},
    {"1D3", 1000},
    {"2.5E+2", 250},
    {"25E-1", 2.5},
    {"1E", 1},           // an exponent without digits is not part of the number
    {"1E+", 1},
    {"1 E 2", 100},
    {"1F3", 1},
    {"E3", 0},
    {"&H1F", 31},
    {"&hff", 255},
    {"&H", 0},
    {"&HG", 0},
    {"&O17", 15},
    {"&o78", 7},         // 8 is not an octal digit
    {"& H10", 16},
    {"&X1", 0},
    {"&", 0},
    {"-&H10", 0},
    {"1E400", inf},      // too large for a double: infinity, for the caller to refuse
    {"-1E400", -inf},
    {"1D99999999999999999999", inf},
    {std::string(400, '9'), inf},
    {"1E-400", 0},       // too small: nothing
    {"0.000E999", 0},
    {"999", 999},
    {"1000", 1000},
};

TEST(NumberPrefix, ReadsTheLeadingNumberAndIgnoresTheRest)
{
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "text \"" << row.text << "\"");
        const double value = numberPrefix(row.text);
        if (std::isinf(row.expected))
            EXPECT_EQ(value, row.expected);
        else
            EXPECT_DOUBLE_EQ(value, row.expected);
    }
}

}  // namespace
