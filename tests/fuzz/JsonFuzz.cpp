// Feeds the JSON reader whatever comes: it either refuses with an Exception or reads a value whose
// written text reads back to the same text.
#include "base/Exception.h"
#include "cli/Json.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string Text(reinterpret_cast<const char*>(Data), Size);
    std::string Written;
    try {
        Written = ParseJson(Text).Write();
    } catch (const Exception&) {
        return 0;
    }
    if (ParseJson(Written).Write() != Written)
        std::abort();
    return 0;
}
