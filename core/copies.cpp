#include "core/copies.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string>

namespace ripartino {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string withoutBlanks(std::string_view text)
{
    std::string kept;
    kept.reserve(text.size());
    std::copy_if(text.begin(), text.end(), std::back_inserter(kept),
                 [](char c) { return c != ' ' && c != '\t' && c != '\n'; });
    return kept;
}

// "&H1F" or "&O17": whole numbers in base 16 or 8, as many digits as there are.
double radixPrefix(std::string_view digits, int base)
{
    double value = 0;
    for (char c : digits) {
        int digit = 0;
        if (isDigit(c))
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            break;
        if (digit >= base)
            break;
        value = value * base + digit;  // reaches infinity on its own for absurd lengths
    }
    return value;
}

double decimalPrefix(std::string_view text)
{
    std::size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }

    // The mantissa without its sign, in the form from_chars reads.
    std::string number;
    bool point = false;
    bool nonzeroSeen = false;
    long long integerDigits = 0;  // significant ones, before the point
    long long fractionZeros = 0;  // zeros after the point before the first significant digit
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '.' && !point) {
            point = true;
        } else if (isDigit(c)) {
            nonzeroSeen = nonzeroSeen || c != '0';
            if (!point && nonzeroSeen)
                ++integerDigits;
            else if (point && !nonzeroSeen)
                ++fractionZeros;
        } else {
            break;
        }
        number += c;
    }
    const bool anyDigit = std::any_of(number.begin(), number.end(), isDigit);
    // Power of ten of the first significant digit; tells overflow from underflow.
    long long magnitude = integerDigits > 0 ? integerDigits : -fractionZeros;
    if (!anyDigit)
        return 0;

    if (at < text.size() && (text[at] == 'E' || text[at] == 'e' || text[at] == 'D' || text[at] == 'd')) {
        std::size_t exponentAt = at + 1;
        bool negativeExponent = false;
        if (exponentAt < text.size() && (text[exponentAt] == '+' || text[exponentAt] == '-')) {
            negativeExponent = text[exponentAt] == '-';
            ++exponentAt;
        }
        std::string exponentDigits;
        while (exponentAt < text.size() && isDigit(text[exponentAt]))
            exponentDigits += text[exponentAt++];
        if (!exponentDigits.empty()) {
            number += negativeExponent ? "e-" : "e";
            number += exponentDigits;
            // Saturates: ten digits of exponent already settle the question.
            long long exponent = 0;
            for (char c : exponentDigits)
                exponent = std::min(exponent * 10 + (c - '0'), 100'000'000'000LL);
            magnitude += negativeExponent ? -exponent : exponent;
        }
    }

    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range)
        value = (nonzeroSeen && magnitude > 0) ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -value : value;
}

}  // namespace

double numberPrefix(std::string_view text)
{
    const std::string kept = withoutBlanks(text);
    const std::string_view rest(kept);
    if (rest.size() >= 2 && rest[0] == '&') {
        if (rest[1] == 'H' || rest[1] == 'h')
            return radixPrefix(rest.substr(2), 16);
        if (rest[1] == 'O' || rest[1] == 'o')
            return radixPrefix(rest.substr(2), 8);
        return 0;
    }
    return decimalPrefix(rest);
}

}  // namespace ripartino
