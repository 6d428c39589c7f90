#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

// A broken property ends the run like a crash, so libFuzzer keeps the input that broke it.
#define FUZZ_CHECK(condition, text)                                                          \
    do {                                                                                     \
        if (!(condition)) {                                                                  \
            const std::string_view shown_ = (text);                                          \
            std::fprintf(stderr, "%s:%d: %s does not hold for \"%.*s\"\n", __FILE__, __LINE__, \
                         #condition, static_cast<int>(shown_.size()), shown_.data());        \
            std::abort();                                                                    \
        }                                                                                    \
    } while (false)
