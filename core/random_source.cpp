#include "core/random_source.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <utility>

namespace ripartino {

RandomSource::RandomSource() { reseedFromClock(); }

RandomSource::RandomSource(std::function<double()> uniform) : scripted_(std::move(uniform)) {}

void RandomSource::reseedFromClock()
{
    if (clock_)
        return seed(clock_());
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    seed(static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

void RandomSource::useClock(std::function<std::uint64_t()> clock)
{
    clock_ = std::move(clock);
    reseedFromClock();
}

void RandomSource::seed(std::uint64_t value) { engine_.seed(value); }

double RandomSource::nextUniform()
{
    if (scripted_)
        return scripted_();
    // The top 53 bits fill a double's mantissa exactly: the largest value is 1 - 2^-53.
    return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}

int RandomSource::drawFromZero(int n)
{
    // r * n can round up to n itself when r is just below 1.
    return std::min(static_cast<int>(std::floor(nextUniform() * n)), n - 1);
}

int RandomSource::drawFromOne(int n)
{
    // Adding 1 after the floor: floor(r * n + 1) in double reaches n + 1 for r = 1 - 2^-53.
    return drawFromZero(n) + 1;
}

double RandomSource::sineFraction() { return std::sin(nextUniform()); }

}  // namespace ripartino
