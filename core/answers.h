#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
// With every one of its decimals, zeros included: "16,00", "0,80".
std::string placeText(Decimal x, std::string_view decimalSeparator);

// A written division carried to the hundredths. The divisor is first made whole by
// multiplying both numbers by m = 10^(its decimals), so that
// dividend × m = divisor × m × quotient + remainder, with 0 <= remainder < divisor × m × 0,01.
// The quotient has a digit for every step the pupil takes, zeros included ("16,00"), and
// stops short of the hundredths only where the division ends; the remainder stands in the
// place of the last digit brought down, or of the dividend's last digit if one was never
// brought down ("0,205").
struct WrittenDivision {
    Decimal quotient;   // at most two decimals
    Decimal remainder;  // zero when the division ends there

    // "2,5" when it ends, otherwise "6,77 resto 0,07".
    std::string text(std::string_view decimalSeparator) const;
};

// One step of the written division: a partial dividend, the quotient digit it gives and
// what is left. Columns count the whole dividend's digits from its first, on past its last
// for the zeros brought down.
struct DivisionStep {
    std::int64_t partial = 0;  // the first: the dividend's first digits; then a remainder with a digit beside it
    int width = 0;             // the digits it is written with: a remainder 0 keeps its 0 ("08")
    int column = 0;            // where its last digit stands
    int digit = 0;             // of the quotient
    std::int64_t product = 0;  // digit × divisor, written in the long form
    std::int64_t remainder = 0;
};

// The division as a pupil works it out in the exercise book.
struct WorkedDivision {
    Decimal dividend, divisor;  // as printed
    Decimal wholeDividend;      // the dividend × m
    std::int64_t wholeDivisor = 0;
    std::string digits;   // the whole dividend's digits as written, without its separator
    int wholeDigits = 0;  // how many of them stand before the separator
    std::vector<DivisionStep> steps;
    int wholeQuotientDigits = 0;  // the quotient digits before its separator
    WrittenDivision answer;

    bool multiplied() const { return divisor.decimals > 0; }
    // The digit of column `c`: the dividend's own, or a zero brought down after its end.
    char digitAt(int c) const { return c < static_cast<int>(digits.size()) ? digits[c] : '0'; }
    // The quotient once `done` steps are written: its digits, and its separator once the
    // first decimal digit has been brought down.
    std::string quotientText(std::size_t done, std::string_view decimalSeparator) const;
};

// Nothing for a zero divisor or numbers too long to carry out exactly.
std::optional<WorkedDivision> workedDivision(Decimal dividend, Decimal divisor);
std::optional<WrittenDivision> writtenDivision(Decimal dividend, Decimal divisor);

// The whole worked division as plain text: the multiplication line where the divisor is
// decimal, the dividend, "|" and the divisor, "-" under it and the quotient, each row of
// remainders in its columns (with `products`, each product and a line under it first), and
// last the answer line "dividend : divisor = answer".
std::string workedDivisionText(const WorkedDivision& worked, std::string_view decimalSeparator, bool products);

// The answer to "dividend : divisor =" from the two numbers as printed; nothing when
// either text is not a number or the division cannot be carried out.
std::optional<std::string> writtenDivisionAnswer(std::string_view dividendText, std::string_view divisorText,
                                                 std::string_view decimalSeparator);

}  // namespace ripartino
