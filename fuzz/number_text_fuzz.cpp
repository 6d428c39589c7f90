// The text of every number the generators can produce, in either precision: plain digits,
// at most one separator, no exponent, no trailing zero or separator, and the value it
// reads back as is the stored value correctly rounded to 7 (single) or 15 (double) digits.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <string_view>

#include "core/numbers.h"
#include "fuzz_check.h"

namespace {

// The generators' numbers lie between these; positive floats of either width are
// ordered like their bit patterns, so a range of patterns is a range of values.
constexpr double smallest = 0.001;
constexpr double largest = 10000;

template <typename Float, typename Bits>
Float valueInRange(std::uint64_t raw)
{
    const Bits low = std::bit_cast<Bits>(static_cast<Float>(smallest));
    const Bits high = std::bit_cast<Bits>(static_cast<Float>(largest));
    return std::bit_cast<Float>(static_cast<Bits>(low + raw % (std::uint64_t{high} - low + 1)));
}

// The decimal that `x` rounds to at `digits` significant digits, by the C library.
double correctlyRounded(double x, int digits)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*e", digits - 1, x);
    return std::strtod(text, nullptr);
}

double readBack(std::string_view text, std::string_view separator)
{
    const std::size_t at = text.find(separator);
    std::string plain(text.substr(0, at));
    if (at != std::string_view::npos)
        plain.append(".").append(text.substr(at + separator.size()));
    return std::strtod(plain.c_str(), nullptr);
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

void checkText(const std::string& text, double stored, int digits, std::string_view separator)
{
    const std::size_t at = text.find(separator);
    const std::string_view whole = std::string_view(text).substr(0, at);
    const std::string_view fraction =
        at == std::string::npos ? std::string_view() : std::string_view(text).substr(at + separator.size());

    FUZZ_CHECK(!whole.empty(), text);
    for (char c : whole)
        FUZZ_CHECK(isDigit(c), text);  // no sign, blank, grouping or exponent
    FUZZ_CHECK(whole == "0" || whole.front() != '0', text);
    if (at != std::string::npos) {
        FUZZ_CHECK(!fraction.empty() && fraction.back() != '0', text);
        for (char c : fraction)
            FUZZ_CHECK(isDigit(c), text);
    }

    std::string significant = std::string(whole) + std::string(fraction);
    significant.erase(0, significant.find_first_not_of('0'));
    while (!significant.empty() && significant.back() == '0')
        significant.pop_back();
    FUZZ_CHECK(static_cast<int>(significant.size()) <= digits, text);

    FUZZ_CHECK(readBack(text, separator) == correctlyRounded(stored, digits), text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static constexpr std::string_view separators[] = {",", ".", "\xD9\xAB"};  // the last: Arabic
    if (size == 0)
        return 0;
    const std::uint8_t choice = data[0];
    std::uint64_t raw = 0;
    std::memcpy(&raw, data + 1, std::min(size - 1, sizeof raw));
    const std::string_view separator = separators[(choice >> 1) % std::size(separators)];

    if (choice & 1) {
        const float x = valueInRange<float, std::uint32_t>(raw);
        checkText(ripartino::formatSingle(x, separator), x, 7, separator);
    } else {
        const double x = valueInRange<double, std::uint64_t>(raw);
        const std::string text = ripartino::formatDouble(x, separator);
        checkText(text, x, 15, separator);
        // Fifteen digits survive a trip through a double, so the text is a fixed point.
        FUZZ_CHECK(ripartino::formatDouble(readBack(text, separator), separator) == text, text);
    }
    return 0;
}
