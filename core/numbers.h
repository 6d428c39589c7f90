#pragma once

#include <string>
#include <string_view>

namespace ripartino {

// x rounded to `decimals` places; a value exactly halfway goes to the even neighbour.
double roundToDecimals(double x, int decimals);

// The plain decimal text of a number: at most 7 (single) or 15 (double) significant
// digits, no trailing zeros, no exponent, no grouping, the given decimal separator.
std::string formatSingle(float x, std::string_view decimalSeparator);
std::string formatDouble(double x, std::string_view decimalSeparator);

// "dividend : divisor = ", as a case window shows it.
std::string exerciseLine(std::string_view dividendText, std::string_view divisorText);

}  // namespace ripartino
