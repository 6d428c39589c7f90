#pragma once

#include <cmath>
#include <cstddef>
#include <vector>

#include "core/random_source.h"

// Uniform values chosen so that each named draw gives the wanted result. A generator
// that draws in another order, or with another range, gets other numbers.
using Draw = double;
inline Draw one(int n, int wanted) { return (wanted - 0.5) / n; }   // drawFromOne(n) == wanted
inline Draw zero(int n, int wanted) { return (wanted + 0.5) / n; }  // drawFromZero(n) == wanted
inline Draw sine(double fraction) { return std::asin(fraction); }   // sineFraction() ~ fraction
inline constexpr Draw top{1.0 - 0x1.0p-53};                         // the largest uniform value
inline constexpr Draw bottom{0.0};

// Plays a list of draws, over and over, and counts what was taken.
class ScriptedDraws {
public:
    explicit ScriptedDraws(std::vector<Draw> draws) : draws_(std::move(draws)) {}

    ripartino::RandomSource source()
    {
        return ripartino::RandomSource([this] { return draws_[taken_++ % draws_.size()]; });
    }
    std::size_t taken() const { return taken_; }

private:
    std::vector<Draw> draws_;
    std::size_t taken_ = 0;
};
