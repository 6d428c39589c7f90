#include "core/generators.h"

#include <cmath>
#include <iterator>

#include "core/numbers.h"

namespace ripartino {

namespace {

constexpr int fractionDecimalsDraw = 3;  // a fraction is rounded to 1, 2 or 3 places

// Whole divisors: one digit comes from 0..8, two digits from 0..98, and must exceed the bound.
constexpr int oneDigitWholeDivisorDraw = 9;
constexpr int twoDigitWholeDivisorDraw = 99;
constexpr int oneDigitLowerBound = 1;
constexpr int twoDigitLowerBound = 11;

int divisorSize(DivisorDigits digits, RandomSource& source)
{
    switch (digits) {
    case DivisorDigits::OneDigit:
        return 1;
    case DivisorDigits::TwoDigits:
        return 2;
    case DivisorDigits::Mixed:
        break;
    }
    return source.drawFromOne(2);
}

double decimalDividend(float wholePart, double fraction, int decimals)
{
    return static_cast<double>(wholePart) + roundToDecimals(fraction, decimals);
}

// Cases III and IV draw their decimal divisor alike: one significant digit in the tenths
// or hundredths, or a units digit with a tenth.
struct DecimalDivisor {
    int leadingDigit;
    float value;
};

DecimalDivisor drawDecimalDivisor(int size, RandomSource& source)
{
    const int leadingDigit = source.drawFromZero(9);
    if (size == 1) {
        const int place = source.drawFromOne(2);
        return {leadingDigit, static_cast<float>(leadingDigit / (place == 1 ? 10.0 : 100.0))};
    }
    const auto tenths = static_cast<float>(source.drawFromOne(9) / 10.0);
    return {leadingDigit, static_cast<float>(leadingDigit + static_cast<double>(tenths))};
}

// Decimal dividend with up to four whole digits, whole divisor; no two-digit multiple of ten.
Candidate caseOneCandidate(DivisorDigits digits, RandomSource& source)
{
    static constexpr int wholePartDraw[] = {99, 999, 9999};  // by size class 1, 2, 3
    const int sizeClass = source.drawFromOne(3);
    const auto wholePart = static_cast<float>(source.drawFromOne(wholePartDraw[sizeClass - 1]));
    const int size = divisorSize(digits, source);
    const auto divisor =
        static_cast<float>(source.drawFromZero(size == 1 ? oneDigitWholeDivisorDraw : twoDigitWholeDivisorDraw));
    const int lowerBound = size == 1 ? oneDigitLowerBound : twoDigitLowerBound;
    const int decimals = source.drawFromOne(fractionDecimalsDraw);
    const double fraction = source.sineFraction();
    const double dividend = decimalDividend(wholePart, fraction, decimals);

    const bool accepted = divisor > lowerBound && dividend > divisor && std::fmod(divisor, 10.0f) != 0;
    return {Number::wide(dividend), Number::single(divisor), accepted};
}

// Decimal dividend with two or three decimals, smaller than a whole divisor.
Candidate caseTwoCandidate(DivisorDigits digits, RandomSource& source)
{
    float divisor = 0;
    int lowerBound = 0;
    int wholePartSize = 1;
    if (divisorSize(digits, source) == 1) {
        divisor = static_cast<float>(source.drawFromZero(oneDigitWholeDivisorDraw));
        lowerBound = oneDigitLowerBound;
    } else {
        divisor = static_cast<float>(source.drawFromZero(twoDigitWholeDivisorDraw));
        lowerBound = twoDigitLowerBound;
        wholePartSize = source.drawFromOne(2);
    }
    const auto wholePart = static_cast<float>(source.drawFromOne(wholePartSize == 1 ? 9 : 99));
    const double fraction = source.sineFraction();
    const int decimals = source.drawFromOne(fractionDecimalsDraw);
    const double dividend = decimalDividend(wholePart, fraction, decimals);

    const bool accepted = decimals > 1 && divisor > lowerBound && dividend < divisor;
    return {Number::wide(dividend), Number::single(divisor), accepted};
}

// Whole dividend from 12 to 9998, decimal divisor below 10; all in single precision.
Candidate caseThreeCandidate(DivisorDigits digits, RandomSource& source)
{
    const DecimalDivisor divisor = drawDecimalDivisor(divisorSize(digits, source), source);
    const auto dividend = static_cast<float>(source.drawFromZero(9999));

    const bool accepted = divisor.leadingDigit > 1 && dividend > 11;
    return {Number::single(dividend), Number::single(divisor.value), accepted};
}

// Decimal dividend with up to three whole digits, decimal divisor below 10.
Candidate caseFourCandidate(DivisorDigits digits, RandomSource& source)
{
    const int sizeClass = source.drawFromOne(2);
    const auto wholePart = static_cast<float>(source.drawFromOne(sizeClass == 2 ? 999 : 99));
    const int decimals = source.drawFromOne(fractionDecimalsDraw);
    const double fraction = source.sineFraction();
    const double dividend = decimalDividend(wholePart, fraction, decimals);
    const DecimalDivisor divisor = drawDecimalDivisor(divisorSize(digits, source), source);

    // The float divisor decides ties: 2.1f lies below 2.1, 2.2f above 2.2.
    const bool accepted = divisor.leadingDigit > 1 && dividend > static_cast<double>(divisor.value);
    return {Number::wide(dividend), Number::single(divisor.value), accepted};
}

// Whole numbers that never divide evenly; the dividend may be the smaller.
Candidate caseFiveCandidate(DivisorDigits digits, RandomSource& source)
{
    const bool oneDigit = divisorSize(digits, source) == 1;
    const int divisor = source.drawFromOne(oneDigit ? 9 : 99);
    const int lowerBound = oneDigit ? 1 : 10;
    const int dividend = source.drawFromOne(99);

    const bool accepted = dividend % divisor != 0 && divisor % 10 != 0 && divisor > lowerBound;
    return {Number::single(static_cast<float>(dividend)), Number::single(static_cast<float>(divisor)), accepted};
}

}  // namespace

CaseGenerator::CaseGenerator(DivisionCase divisionCase)
{
    static constexpr CandidateSteps stepsOfCases[] = {caseOneCandidate, caseTwoCandidate, caseThreeCandidate,
                                                      caseFourCandidate, caseFiveCandidate};  // I to V
    static_assert(std::size(stepsOfCases) == std::size(allCases));
    steps_ = stepsOfCases[static_cast<int>(divisionCase) - 1];
}

Candidate CaseGenerator::drawCandidate(DivisorDigits digits, RandomSource& source) const
{
    return steps_(digits, source);
}

ExerciseSet CaseGenerator::invent(DivisorDigits digits, RandomSource& source, const std::string& decimalSeparator) const
{
    ExerciseSet exercises;
    exercises.reserve(exercisesPerInvention);
    // No limit on candidates: every case passes one with a fixed positive probability.
    while (static_cast<int>(exercises.size()) != exercisesPerInvention) {
        Candidate candidate = steps_(digits, source);
        if (!candidate.accepted)
            continue;
        std::string line =
            exerciseLine(candidate.dividend.text(decimalSeparator), candidate.divisor.text(decimalSeparator));
        exercises.push_back({candidate.dividend, candidate.divisor, std::move(line)});
    }
    return exercises;
}

}  // namespace ripartino
