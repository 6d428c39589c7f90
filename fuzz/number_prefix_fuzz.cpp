// Whatever a child types into the copies box: reading it never crashes, never gives NaN,
// gives a finite number or the infinity that the print window refuses, and does not
// depend on blanks, tabs or line feeds, wherever they stand.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>

#include "core/copies.h"
#include "fuzz_check.h"

namespace {

bool sameReading(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

bool isPlainWholeNumber(std::string_view text)
{
    if (text.empty() || text.size() > 15)
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const double value = ripartino::numberPrefix(text);
    FUZZ_CHECK(!std::isnan(value), text);

    // Blanks sprinkled in at places that depend only on the input, so a finding replays.
    std::seed_seq seed(text.begin(), text.end());
    std::minstd_rand places(seed);
    std::string spaced;
    for (char c : text) {
        while (places() % 4 == 0)
            spaced += " \t\n"[places() % 3];
        spaced += c;
    }
    spaced += " \t\n"[places() % 3];
    FUZZ_CHECK(sameReading(ripartino::numberPrefix(spaced), value), text);

    std::string bare;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n')
            bare += c;
    FUZZ_CHECK(sameReading(ripartino::numberPrefix(bare), value), text);

    // A comma always ends the number, whatever stands before it.
    FUZZ_CHECK(sameReading(ripartino::numberPrefix(text + ",9"), value), text);

    if (isPlainWholeNumber(bare))
        FUZZ_CHECK(value == std::strtod(bare.c_str(), nullptr), text);
    return 0;
}
