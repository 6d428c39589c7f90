#pragma once

#include <string_view>

namespace ripartino {

// Reads the number at the start of the copies box:
// blanks, tabs and line feeds are dropped wherever they stand; then an optional sign,
// digits, at most one point and an exponent of E or D (either case) with an optional
// sign; or "&H" with hexadecimal or "&O" with octal digits as a whole number. Whatever
// follows is ignored; text that does not begin with a number reads as 0.
// A value too large for a double reads as +infinity (or -infinity), never as a wrapped
// or clamped number, so that the caller can refuse it; one too small reads as 0.
double numberPrefix(std::string_view text);

}  // namespace ripartino
