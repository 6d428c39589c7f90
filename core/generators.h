#pragma once

#include <string>

#include "core/random_source.h"
#include "core/types.h"

namespace ripartino {

// One candidate division as drawn, and whether its case's test lets it pass.
struct Candidate {
    Number dividend;
    Number divisor;
    bool accepted;
};

// Invents the exercises of one case: draws candidates until ten have passed.
class CaseGenerator {
public:
    static constexpr int exercisesPerInvention = 10;

    explicit CaseGenerator(DivisionCase divisionCase);

    // Always exactly ten exercises, in the order accepted. Does not reseed `source`.
    ExerciseSet invent(DivisorDigits digits, RandomSource& source, const std::string& decimalSeparator) const;

    // One candidate with every draw in the case's order; exposed for tests.
    Candidate drawCandidate(DivisorDigits digits, RandomSource& source) const;

private:
    using CandidateSteps = Candidate (*)(DivisorDigits, RandomSource&);

    CandidateSteps steps_ = nullptr;
};

}  // namespace ripartino
