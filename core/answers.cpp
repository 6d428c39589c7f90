#include "core/answers.h"

#include <algorithm>
#include <limits>

namespace ripartino {

namespace {

constexpr std::int64_t largest = std::numeric_limits<std::int64_t>::max();

// x × 10^k, or nothing when it does not fit.
std::optional<std::int64_t> timesPowerOfTen(std::int64_t x, int k)
{
    for (; k > 0; --k) {
        if (x > largest / 10)
            return std::nullopt;
        x *= 10;
    }
    return x;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Appends the digits of `text` to `units`; false on anything else, on no digits, or on overflow.
bool appendDigits(std::string_view text, std::int64_t& units)
{
    if (text.empty())
        return false;
    for (char c : text) {
        if (!isDigit(c) || units > (largest - (c - '0')) / 10)
            return false;
        units = units * 10 + (c - '0');
    }
    return true;
}

}  // namespace

std::optional<Decimal> parseDecimal(std::string_view text, std::string_view decimalSeparator)
{
    const std::size_t at = decimalSeparator.empty() ? std::string_view::npos : text.find(decimalSeparator);
    Decimal x;
    if (!appendDigits(text.substr(0, at), x.units))
        return std::nullopt;
    if (at == std::string_view::npos)
        return x;
    const std::string_view fraction = text.substr(at + decimalSeparator.size());
    if (fraction.size() > std::numeric_limits<std::int64_t>::digits10 || !appendDigits(fraction, x.units))
        return std::nullopt;
    x.decimals = static_cast<int>(fraction.size());
    return x;
}

std::string decimalText(Decimal x, std::string_view decimalSeparator)
{
    while (x.decimals > 0 && x.units % 10 == 0) {
        x.units /= 10;
        --x.decimals;
    }
    std::string digits = std::to_string(x.units);
    const auto decimals = static_cast<std::size_t>(x.decimals);
    if (x.decimals <= 0)
        return digits;
    if (digits.size() <= decimals)
        digits.insert(0, decimals + 1 - digits.size(), '0');
    return digits.insert(digits.size() - decimals, decimalSeparator);
}

std::string WrittenDivision::text(std::string_view decimalSeparator) const
{
    std::string answer = decimalText(quotient, decimalSeparator);
    if (remainder.units != 0)
        answer.append(" resto ").append(decimalText(remainder, decimalSeparator));
    return answer;
}

std::optional<WrittenDivision> writtenDivision(Decimal dividend, Decimal divisor)
{
    if (divisor.units <= 0 || dividend.units < 0 || dividend.decimals < 0 || divisor.decimals < 0)
        return std::nullopt;
    // Multiplied by m, the dividend has dividend.decimals - divisor.decimals decimals; the
    // pupil goes on to the hundredths, so the remainder has at least two.
    const int scale = std::max(dividend.decimals - divisor.decimals, 2);
    // Both in units of 10^-scale: the dividend × m, and the divisor × m × 0,01.
    const auto shifted = timesPowerOfTen(dividend.units, divisor.decimals + scale - dividend.decimals);
    const auto step = timesPowerOfTen(divisor.units, scale - 2);
    if (!shifted || !step)
        return std::nullopt;
    return WrittenDivision{{*shifted / *step, 2}, {*shifted % *step, scale}};
}

std::optional<std::string> writtenDivisionAnswer(std::string_view dividendText, std::string_view divisorText,
                                                 std::string_view decimalSeparator)
{
    const auto dividend = parseDecimal(dividendText, decimalSeparator);
    const auto divisor = parseDecimal(divisorText, decimalSeparator);
    if (!dividend || !divisor)
        return std::nullopt;
    const auto division = writtenDivision(*dividend, *divisor);
    if (!division)
        return std::nullopt;
    return division->text(decimalSeparator);
}

}  // namespace ripartino
