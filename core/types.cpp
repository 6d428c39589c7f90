#include "core/types.h"

#include "core/numbers.h"

namespace ripartino {

std::string caseDigit(DivisionCase divisionCase) { return std::to_string(static_cast<int>(divisionCase)); }

std::string caseNumeral(DivisionCase divisionCase)
{
    static const char* const numerals[] = {"I", "II", "III", "IV", "V"};
    return numerals[static_cast<int>(divisionCase) - 1];
}

double Number::value() const
{
    return std::visit([](auto stored) { return static_cast<double>(stored); }, stored_);
}

std::string Number::text(const std::string& decimalSeparator) const
{
    if (const float* single = std::get_if<float>(&stored_))
        return formatSingle(*single, decimalSeparator);
    return formatDouble(std::get<double>(stored_), decimalSeparator);
}

}  // namespace ripartino
