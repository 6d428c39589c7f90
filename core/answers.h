#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ripartino {

// A decimal number held exactly: units × 10^-decimals.
struct Decimal {
    std::int64_t units = 0;
    int decimals = 0;

    bool operator==(const Decimal&) const = default;
};

// The number a text writes: digits, and at most one separator with digits on both sides.
// Nothing for any other text, or for more digits than a Decimal holds.
std::optional<Decimal> parseDecimal(std::string_view text, std::string_view decimalSeparator);

// As a pupil writes it: no trailing zeros, "0" before the separator of a number below one.
std::string decimalText(Decimal x, std::string_view decimalSeparator);

// A written division carried to the hundredths. The divisor is first made whole by
// multiplying both numbers by m = 10^(its decimals), so that
// dividend × m = divisor × m × quotient + remainder, with 0 <= remainder < divisor × m × 0,01.
struct WrittenDivision {
    Decimal quotient;   // at most two decimals
    Decimal remainder;  // zero when the division ends there

    // "2,5" when it ends, otherwise "6,77 resto 0,07".
    std::string text(std::string_view decimalSeparator) const;
};

// Nothing for a zero divisor or numbers too long to carry out exactly.
std::optional<WrittenDivision> writtenDivision(Decimal dividend, Decimal divisor);

// The answer to "dividend : divisor =" from the two numbers as printed; nothing when
// either text is not a number or the division cannot be carried out.
std::optional<std::string> writtenDivisionAnswer(std::string_view dividendText, std::string_view divisorText,
                                                 std::string_view decimalSeparator);

}  // namespace ripartino
