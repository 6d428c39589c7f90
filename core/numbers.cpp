#include "core/numbers.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <type_traits>

namespace ripartino {

namespace {

constexpr int singleDigits = 7;
constexpr int doubleDigits = 15;

// Significant digits and decimal exponent of x, rounded to at most `significantDigits`.
struct Digits {
    std::array<char, 32> digits{};
    int count = 0;
    int exponent = 0;  // x = 0.d1 d2 d3 ... * 10^(exponent + 1)
};

Digits fromScientific(std::string_view scientific)
{
    Digits result;
    const std::size_t mantissaEnd = scientific.find('e');
    for (char c : scientific.substr(0, mantissaEnd))
        if (c >= '0' && c <= '9')
            result.digits[static_cast<std::size_t>(result.count++)] = c;
    std::from_chars(scientific.data() + mantissaEnd + (scientific[mantissaEnd + 1] == '+' ? 2 : 1),
                    scientific.data() + scientific.size(), result.exponent);
    while (result.count > 1 && result.digits[static_cast<std::size_t>(result.count - 1)] == '0')
        --result.count;
    return result;
}

template <typename Float> Digits significantDigitsOf(Float x, int significantDigits)
{
    std::array<char, 64> buffer{};
    char* const first = buffer.data();
    char* const last = first + buffer.size();
    if constexpr (std::is_same_v<Float, double>) {
        // Every decimal of at most 15 digits survives a round trip through a double, so the
        // shortest form, when it is that short, is the 15-digit rounding with zeros dropped.
        const auto shortest = std::to_chars(first, last, x, std::chars_format::scientific);
        Digits digits = fromScientific({first, static_cast<std::size_t>(shortest.ptr - first)});
        if (digits.count <= significantDigits)
            return digits;
    }
    const auto rounded = std::to_chars(first, last, x, std::chars_format::scientific, significantDigits - 1);
    return fromScientific({first, static_cast<std::size_t>(rounded.ptr - first)});
}

// The digits laid out as a plain decimal: no exponent, no trailing zeros.
template <typename Float> std::string plainDecimal(Float x, int significantDigits, std::string_view separator)
{
    if (x == 0 || !std::isfinite(x))
        return "0";
    // Whole numbers that fit the significant digits are their own text: most divisors are.
    const Float wholeLimit = significantDigits == singleDigits ? Float(1e7) : Float(1e15);
    if (std::abs(x) < wholeLimit && x == std::trunc(x))
        return std::to_string(static_cast<long long>(x));
    const Digits d = significantDigitsOf(std::abs(x), significantDigits);
    const std::string_view digits(d.digits.data(), static_cast<std::size_t>(d.count));

    std::string text;
    text.reserve(static_cast<std::size_t>(d.count + std::abs(d.exponent)) + separator.size() + 2);
    if (x < 0)
        text += '-';
    if (d.exponent < 0) {
        text += '0';
        text += separator;
        text.append(static_cast<std::size_t>(-d.exponent - 1), '0');
        text += digits;
        return text;
    }
    const auto wholeDigits = static_cast<std::size_t>(d.exponent) + 1;
    if (digits.size() <= wholeDigits) {
        text += digits;
        text.append(wholeDigits - digits.size(), '0');
        return text;
    }
    text += digits.substr(0, wholeDigits);
    text += separator;
    text += digits.substr(wholeDigits);
    return text;
}

}  // namespace

double roundToDecimals(double x, int decimals)
{
    static constexpr double powersOfTen[] = {1, 10, 100, 1000, 1e4, 1e5, 1e6, 1e7, 1e8};
    const double scale = decimals >= 0 && decimals < static_cast<int>(std::size(powersOfTen))
        ? powersOfTen[decimals]
        : std::pow(10.0, decimals);
    // nearbyint follows the default rounding mode, which sends halves to even.
    return std::nearbyint(x * scale) / scale;
}

std::string formatSingle(float x, std::string_view decimalSeparator)
{
    return plainDecimal(x, singleDigits, decimalSeparator);
}

std::string formatDouble(double x, std::string_view decimalSeparator)
{
    return plainDecimal(x, doubleDigits, decimalSeparator);
}

std::string exerciseLine(std::string_view dividendText, std::string_view divisorText)
{
    std::string line;
    line.reserve(dividendText.size() + divisorText.size() + 6);
    line.append(dividendText).append(" : ").append(divisorText).append(" = ");
    return line;
}

}  // namespace ripartino
