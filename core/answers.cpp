#include "core/answers.h"

#include <algorithm>
#include <limits>
#include <string>

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

std::string placeText(Decimal x, std::string_view decimalSeparator)
{
    std::string digits = std::to_string(x.units);
    const auto decimals = static_cast<std::size_t>(std::max(x.decimals, 0));
    if (decimals == 0)
        return digits;
    if (digits.size() <= decimals)
        digits.insert(0, decimals + 1 - digits.size(), '0');
    return digits.insert(digits.size() - decimals, decimalSeparator);
}

std::string WrittenDivision::text(std::string_view decimalSeparator) const
{
    std::string answer = placeText(quotient, decimalSeparator);
    if (remainder.units != 0)
        answer.append(" resto ").append(placeText(remainder, decimalSeparator));
    return answer;
}

std::string WorkedDivision::quotientText(std::size_t done, std::string_view decimalSeparator) const
{
    done = std::min(done, steps.size());
    std::string text;
    for (std::size_t i = 0; i < done; ++i) {
        if (i == static_cast<std::size_t>(wholeQuotientDigits))
            text.append(decimalSeparator);
        text += static_cast<char>('0' + steps[i].digit);
    }
    // The separator goes in as the step that brings down the first decimal digit is written.
    if (done == static_cast<std::size_t>(wholeQuotientDigits) && done < steps.size())
        text.append(decimalSeparator);
    return text;
}

std::optional<WorkedDivision> workedDivision(Decimal dividend, Decimal divisor)
{
    if (divisor.units <= 0 || dividend.units < 0 || dividend.decimals < 0 || divisor.decimals < 0
        || divisor.units > (largest - 9) / 10)
        return std::nullopt;
    WorkedDivision w{dividend, divisor, {}, divisor.units, {}, 0, {}, 0, {}};
    const auto wholeUnits = timesPowerOfTen(dividend.units, std::max(divisor.decimals - dividend.decimals, 0));
    if (!wholeUnits)
        return std::nullopt;
    w.wholeDividend = {*wholeUnits, std::max(dividend.decimals - divisor.decimals, 0)};
    w.digits = placeText(w.wholeDividend, "");
    w.wholeDigits = static_cast<int>(w.digits.size()) - w.wholeDividend.decimals;
    const int lastDigit = static_cast<int>(w.digits.size()) - 1;
    const int hundredths = w.wholeDigits + 1;

    // The first partial dividend: the fewest leading digits the divisor goes into, or the
    // whole part when it does not go into that (the quotient then begins with 0).
    DivisionStep step;
    for (step.column = 0;; ++step.column) {
        step.partial = step.partial * 10 + (w.digits[step.column] - '0');
        if (step.partial >= w.wholeDivisor || step.column == w.wholeDigits - 1)
            break;
    }
    step.width = step.column + 1;
    std::int64_t quotient = 0;
    for (;;) {
        step.digit = static_cast<int>(step.partial / w.wholeDivisor);
        step.product = step.digit * w.wholeDivisor;
        step.remainder = step.partial - step.product;
        w.steps.push_back(step);
        if (step.column < w.wholeDigits)
            ++w.wholeQuotientDigits;
        if (quotient > (largest - step.digit) / 10)
            return std::nullopt;
        quotient = quotient * 10 + step.digit;
        // Carried to the hundredths, and no further than needed: it ends where nothing is
        // left over and no digit of the dividend is left to bring down.
        if (step.column == hundredths || (step.remainder == 0 && step.column >= lastDigit))
            break;
        const std::int64_t left = step.remainder;
        step.width = static_cast<int>(std::to_string(left).size()) + 1;
        ++step.column;
        step.partial = left * 10 + (w.digitAt(step.column) - '0');
    }

    // What was never brought down stays in the remainder, in its own places.
    const std::string rest = step.column < lastDigit ? w.digits.substr(step.column + 1) : std::string();
    std::int64_t restUnits = 0;
    const auto remainder = timesPowerOfTen(step.remainder, static_cast<int>(rest.size()));
    if ((!rest.empty() && !appendDigits(rest, restUnits)) || !remainder || *remainder > largest - restUnits)
        return std::nullopt;
    w.answer = {{quotient, static_cast<int>(w.steps.size()) - w.wholeQuotientDigits},
                {*remainder + restUnits, step.column + static_cast<int>(rest.size()) - w.wholeDigits + 1}};
    return w;
}

std::optional<WrittenDivision> writtenDivision(Decimal dividend, Decimal divisor)
{
    const auto worked = workedDivision(dividend, divisor);
    if (!worked)
        return std::nullopt;
    return worked->answer;
}

namespace {

// A text grid, one cell to a character, so that a separator of several bytes takes one column.
using Row = std::vector<std::string>;

std::size_t characters(std::string_view text)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string zeroPadded(std::int64_t x, int width)
{
    std::string digits = std::to_string(x);
    return std::string(static_cast<std::size_t>(std::max(width - static_cast<int>(digits.size()), 0)), '0') + digits;
}

}  // namespace

std::string workedDivisionText(const WorkedDivision& w, std::string_view separator, bool products)
{
    const bool comma = w.wholeDividend.decimals > 0;
    // The dividend's separator has a column of its own, blank in the rows under it.
    auto textColumn = [&](int c) { return static_cast<std::size_t>(c + (comma && c >= w.wholeDigits ? 1 : 0)); };
    const int lastColumn = std::max(static_cast<int>(w.digits.size()) - 1, w.steps.back().column);
    const std::size_t width = textColumn(lastColumn) + 1;
    std::vector<Row> left;
    auto newRow = [&] { return &left.emplace_back(width, " "); };
    auto put = [&](Row& row, int last, const std::string& digits) {
        for (std::size_t i = 0; i < digits.size(); ++i)
            row[textColumn(last - static_cast<int>(digits.size() - 1 - i))] = digits[i];
    };

    Row& dividendRow = *newRow();
    put(dividendRow, static_cast<int>(w.digits.size()) - 1, w.digits);
    if (comma)
        dividendRow[static_cast<std::size_t>(w.wholeDigits)] = std::string(separator);
    for (std::size_t i = 0; i < w.steps.size(); ++i) {
        const DivisionStep& step = w.steps[i];
        if (products) {
            put(*newRow(), step.column, std::to_string(step.product));
            Row& line = *newRow();
            for (int c = step.column - step.width + 1; c <= step.column; ++c)
                line[textColumn(c)].assign(1, '-');
        }
        if (i + 1 < w.steps.size())
            put(*newRow(), w.steps[i + 1].column, zeroPadded(w.steps[i + 1].partial, w.steps[i + 1].width));
        else
            put(*newRow(), step.column, std::to_string(step.remainder));
    }
    while (left.size() < 3)
        newRow();

    const std::string divisor = std::to_string(w.wholeDivisor);
    const std::string quotient = w.quotientText(w.steps.size(), separator);
    const std::string right[] = {
        " | " + divisor, " |" + std::string(std::max(divisor.size(), characters(quotient)) + 1, '-'), " | " + quotient};
    std::string text;
    if (w.multiplied())
        text += decimalText(w.dividend, separator) + " : " + decimalText(w.divisor, separator) + " = "
            + placeText(w.wholeDividend, separator) + " : " + divisor + '\n';
    for (std::size_t r = 0; r < left.size(); ++r) {
        std::string line;
        for (const std::string& cell : left[r])
            line += cell;
        if (r < 3)
            line += right[r];
        line.erase(line.find_last_not_of(' ') + 1);
        text += line + '\n';
    }
    return text + decimalText(w.dividend, separator) + " : " + decimalText(w.divisor, separator) + " = "
        + w.answer.text(separator);
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
