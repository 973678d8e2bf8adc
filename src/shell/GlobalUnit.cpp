#include "shell/GlobalUnit.h"

#include <algorithm>
#include <array>

std::string AppPath;
std::string DataPath;

std::string DatabaseFileName() {
    return DataPath + "quelvano.ipdb";
}

namespace {

bool IsDigit(char C) {
    return C >= '0' && C <= '9';
}

// The decimal value of a run of digits, saturated just above 255 so that any length is safe.
int GroupValue(const std::string& Text, std::size_t First, std::size_t Last) {
    int Value = 0;
    for (std::size_t I = First; I < Last; ++I) {
        Value = Value * 10 + (Text[I] - '0');
        if (Value > 255)
            return 256;
    }
    return Value;
}

} // namespace

bool CheckIPAddressError(const std::string& Text) {
    // Positions of the three dots, counted from 1 as the rules state them.
    std::array<std::size_t, 3> Dot{};
    std::size_t Dots = 0;
    for (std::size_t I = 0; I < Text.size(); ++I) {
        if (Text[I] == '.') {
            if (Dots == 3)
                return true;
            Dot[Dots++] = I + 1;
        } else if (!IsDigit(Text[I])) {
            return true;
        }
    }
    if (Dots != 3)
        return true;

    const std::size_t N = Text.size();
    const auto [P1, P2, P3] = Dot;
    if (P1 < 2 || P3 == N || P2 < P1 + 2 || P3 < P2 + 2)
        return true;
    if (P1 > 4 || P2 > P1 + 4 || P3 > P2 + 4)
        return true;

    // Each group as [first, last) byte offsets.
    const std::array<std::pair<std::size_t, std::size_t>, 4> Groups{
        {{0, P1 - 1}, {P1, P2 - 1}, {P2, P3 - 1}, {P3, N}}};
    for (std::size_t G = 0; G < Groups.size(); ++G) {
        const auto [First, Last] = Groups[G];
        const int Value = GroupValue(Text, First, Last);
        if (Value > 255)
            return true;
        const bool LeadingZero = Text[First] == '0';
        if (G == 0 && LeadingZero)
            return true;
        if (G > 0 && Value != 0 && LeadingZero)
            return true;
    }
    return false;
}

bool IsValidIPAddress(const std::string& Text) {
    return !CheckIPAddressError(Text);
}

std::optional<char32_t> AddressKeyFilter(const std::string& CurrentText, char32_t Key) {
    constexpr char32_t Backspace = 8;
    if (Key == Backspace || (Key >= '0' && Key <= '9'))
        return Key;
    if (Key == '.' && std::count(CurrentText.begin(), CurrentText.end(), '.') <= 2)
        return Key;
    return std::nullopt;
}
