// Whatever a child types into the copies box: reading it never crashes or gives NaN; it does not
// depend on blanks, tabs or line feeds wherever they stand (the fuzzer puts them anywhere), nor on
// what follows a comma; and plain digits read as the C library reads them.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/copies.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const double value = ripartino::numberPrefix(text);

    // NaN fails here too: it equals nothing.
    std::string bare = text;
    std::erase_if(bare, [](char c) { return c == ' ' || c == '\t' || c == '\n'; });
    FUZZ_CHECK(ripartino::numberPrefix(bare) == value, text);
    FUZZ_CHECK(ripartino::numberPrefix(text + ",9") == value, text);
    if (!bare.empty() && bare.size() <= 15 && bare.find_first_not_of("0123456789") == std::string::npos)
        FUZZ_CHECK(value == std::strtod(bare.c_str(), nullptr), text);
    return 0;
}
