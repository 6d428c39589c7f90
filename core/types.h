#pragma once

#include <string>
#include <variant>
#include <vector>

namespace ripartino {

// The five kinds of division, numbered as the pupils know them (I to V).
enum class DivisionCase { I = 1, II = 2, III = 3, IV = 4, V = 5 };

inline constexpr DivisionCase allCases[] = {DivisionCase::I, DivisionCase::II, DivisionCase::III, DivisionCase::IV,
                                            DivisionCase::V};

// The case number as a decimal digit, "1" to "5".
std::string caseDigit(DivisionCase divisionCase);
// The case number as a Roman numeral, "I" to "V".
std::string caseNumeral(DivisionCase divisionCase);

// The size of the divisor chosen in a case window.
enum class DivisorDigits { OneDigit, TwoDigits, Mixed };

// A number of an exercise, kept at the precision it was computed in: the text and
// every comparison come from the stored value, so a float stays a float.
class Number {
public:
    static Number single(float value) { return Number(value); }
    static Number wide(double value) { return Number(value); }

    bool isSingle() const { return std::holds_alternative<float>(stored_); }
    // The stored value; a float widens to double exactly.
    double value() const;
    // Plain decimal text: 7 significant digits for a float, 15 for a double.
    std::string text(const std::string& decimalSeparator) const;

private:
    explicit Number(float value) : stored_(value) {}
    explicit Number(double value) : stored_(value) {}
    std::variant<float, double> stored_;
};

struct Exercise {
    Number dividend;
    Number divisor;
    std::string line;  // "dividend : divisor = "
};

using ExerciseSet = std::vector<Exercise>;

}  // namespace ripartino
