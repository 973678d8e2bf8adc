// Checks the address validator against a reference written independently from the rules, and
// drives the key filter with the same input.
#include "shell/GlobalUnit.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Splits at every dot; the rules, read as a whole, ask for exactly four non-empty digit groups.
bool ReferenceValid(const std::string& Text) {
    std::vector<std::string> Groups(1);
    for (char C : Text) {
        if (C == '.')
            Groups.emplace_back();
        else if (C >= '0' && C <= '9')
            Groups.back() += C;
        else
            return false;
    }
    if (Groups.size() != 4)
        return false;
    for (std::size_t I = 0; I < 4; ++I) {
        const std::string& G = Groups[I];
        if (G.empty() || (I < 3 && G.size() > 3))
            return false;
        const std::size_t FirstNonZero = G.find_first_not_of('0');
        const bool IsZero = FirstNonZero == std::string::npos;
        if (I == 0 && G[0] == '0')
            return false;
        if (IsZero)
            continue;
        if (FirstNonZero != 0) // a leading zero on a non-zero value
            return false;
        if (G.size() > 3 || std::stoi(G) > 255)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string Text(reinterpret_cast<const char*>(Data), Size);
    const bool Valid = IsValidIPAddress(Text);
    if (Valid != ReferenceValid(Text) || Valid == CheckIPAddressError(Text))
        std::abort();

    // Typing the input key by key through the filter: only digits, dots and backspace get
    // through, a fourth dot never does, and nothing else is ever let in.
    std::string Box;
    for (unsigned char C : Text) {
        const auto Passed = AddressKeyFilter(Box, C);
        const bool Allowed = C == 8 || C == '.' || (C >= '0' && C <= '9');
        if (Passed.has_value() && (!Allowed || *Passed != C))
            std::abort();
        if (!Passed.has_value())
            continue;
        if (C == 8) {
            if (!Box.empty())
                Box.pop_back();
        } else {
            Box += static_cast<char>(C);
        }
        std::size_t Dots = 0;
        for (char B : Box)
            Dots += B == '.';
        if (Dots > 3)
            std::abort();
    }
    return 0;
}
