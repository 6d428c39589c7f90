#pragma once

#include <cstdint>
#include <functional>
#include <random>

namespace ripartino {

// The program's single source of uniform values in [0, 1). The case windows reseed it
// from the clock before every invention; the print job draws on from where it stands.
class RandomSource {
public:
    RandomSource();
    // Draws come from `uniform` instead of the engine, so a test can script every value.
    explicit RandomSource(std::function<double()> uniform);

    void reseedFromClock();
    void seed(std::uint64_t value);
    // Reseeds take `clock`'s values instead of the time, from now on and at once, so that a
    // test sees the same exercises in every run.
    void useClock(std::function<std::uint64_t()> clock);

    double nextUniform();
    // Each of these consumes exactly one value of the sequence.
    int drawFromOne(int n);   // 1 .. n
    int drawFromZero(int n);  // 0 .. n - 1
    double sineFraction();    // sin(r): 0 up to, not including, sin 1

private:
    std::mt19937_64 engine_;
    std::function<double()> scripted_;
    std::function<std::uint64_t()> clock_;
};

}  // namespace ripartino
