// The text of every number the generators can produce (0.001 to 10000), in either precision:
// digits with at most one separator, no sign, blank or exponent, no trailing zero or separator,
// no leading zero but the one before the separator; and it reads back as the stored value
// correctly rounded to 7 (single) or 15 (double) significant digits.
// An input is a choice byte (bit 0: single, bits 1-2: separator) and the number's bits.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <string>
#include <string_view>

#include "core/numbers.h"
#include "fuzz_check.h"

// Checks the form of a number's text, and that it reads back as x correctly rounded to `digits`.
static void checkText(const std::string& text, double x, int digits, std::string_view separator)
{
    if (!(x >= 0.001 && x <= 10000))
        return;  // not a number the generators make
    const std::size_t at = text.find(separator);
    std::string plain = at == std::string::npos ? text : text.substr(0, at) + "S" + text.substr(at + separator.size());
    static const std::regex form(R"((0|[1-9][0-9]*)(S[0-9]*[1-9])?)");
    FUZZ_CHECK(std::regex_match(plain, form), text);
    FUZZ_CHECK(std::regex_replace(plain, std::regex("^[0S]+|S|0+$"), "").size() <= std::size_t(digits), text);
    std::replace(plain.begin(), plain.end(), 'S', '.');
    char rounded[64];
    std::snprintf(rounded, sizeof rounded, "%.*e", digits - 1, x);
    FUZZ_CHECK(std::strtod(plain.c_str(), nullptr) == std::strtod(rounded, nullptr), text);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static constexpr std::string_view separators[] = {",", ".", "\xD9\xAB"};  // the last: Arabic
    if (size == 0)
        return 0;
    std::uint64_t bits = 0;
    std::memcpy(&bits, data + 1, std::min<std::size_t>(size - 1, sizeof bits));
    const std::string_view separator = separators[(data[0] >> 1) % std::size(separators)];
    const auto single = std::bit_cast<float>(static_cast<std::uint32_t>(bits));
    const auto wide = std::bit_cast<double>(bits);
    if (data[0] & 1)
        checkText(ripartino::formatSingle(single, separator), single, 7, separator);
    else
        checkText(ripartino::formatDouble(wide, separator), wide, 15, separator);
    return 0;
}
