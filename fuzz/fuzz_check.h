#pragma once

#include <cstdio>
#include <cstdlib>

// A broken property ends the run like a crash, so that libFuzzer keeps the input that broke it.
#define FUZZ_CHECK(property, input)                                                                  \
    ((property) ? void() : (std::fprintf(stderr, "%s:%d: %s does not hold for \"%s\"\n", __FILE__, \
                                         __LINE__, #property, std::string(input).c_str()),           \
                            std::abort()))
