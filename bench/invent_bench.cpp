// Time of one invention of ten exercises, for every case and divisor choice.
#include <benchmark/benchmark.h>

#include "core/generators.h"

using namespace ripartino;

static void inventTen(benchmark::State& state)
{
    const CaseGenerator generator(static_cast<DivisionCase>(state.range(0)));
    const auto digits = static_cast<DivisorDigits>(state.range(1));
    RandomSource source;
    for (auto _ : state)
        benchmark::DoNotOptimize(generator.invent(digits, source, ","));
}

BENCHMARK(inventTen)
    ->ArgNames({"case", "digits"})
    ->ArgsProduct({{1, 2, 3, 4, 5}, {0, 1, 2}})
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
