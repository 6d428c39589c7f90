#pragma once

#include <cstdio>
#include <cstdlib>

// A broken property ends the run like a crash, so that libFuzzer keeps the input that broke it.
#define FUZZ_CHECK(property, input)                                                                                    \
    ((property) ? void() : (std::fprintf(stderr, "%s fails for \"%s\"\n", #property, (input).c_str()), std::abort()))
