#pragma once

#include <string>

#include "core/types.h"

namespace ripartino {

// What the print job reads of one case window: its print mark, empty unless the window
// is open and its print button was pressed, and the divisor size chosen in it.
struct CaseWindowState {
    std::string printMark;
    DivisorDigits divisorDigits = DivisorDigits::Mixed;
};

// The case window that asked for printing, as the job needs it.
struct MarkedCase {
    DivisionCase divisionCase = DivisionCase::I;
    DivisorDigits divisorDigits = DivisorDigits::Mixed;
};

}  // namespace ripartino
