#include "ipset/ExtraChecks.h"

#include <cstddef>
#include <vector>

namespace {

int HexValue(char C) {
    if (C >= '0' && C <= '9')
        return C - '0';
    if (C >= 'a' && C <= 'f')
        return C - 'a' + 10;
    if (C >= 'A' && C <= 'F')
        return C - 'A' + 10;
    return -1;
}

// The groups of one side of "::" (empty text: none); false when a group is not 1-4 hex digits.
bool ParseGroups(const std::string& Text, std::vector<std::uint16_t>& Groups) {
    if (Text.empty())
        return true;
    std::size_t Begin = 0;
    for (;;) {
        const std::size_t Colon = Text.find(':', Begin);
        const std::size_t End = Colon == std::string::npos ? Text.size() : Colon;
        if (End == Begin || End - Begin > 4)
            return false;
        unsigned Value = 0;
        for (std::size_t I = Begin; I < End; ++I) {
            const int Digit = HexValue(Text[I]);
            if (Digit < 0)
                return false;
            Value = Value * 16 + static_cast<unsigned>(Digit);
        }
        Groups.push_back(static_cast<std::uint16_t>(Value));
        if (Colon == std::string::npos)
            return true;
        Begin = Colon + 1;
    }
}

bool AllZero(const TIPv6Bytes& A, std::size_t From, std::size_t To) {
    for (std::size_t I = From; I < To; ++I)
        if (A[I] != 0)
            return false;
    return true;
}

std::string Hex(unsigned Value) {
    static const char Digits[] = "0123456789abcdef";
    std::string Text;
    do {
        Text.insert(Text.begin(), Digits[Value % 16]);
        Value /= 16;
    } while (Value != 0);
    return Text;
}

} // namespace

std::optional<TIPv6Bytes> ParseIPv6(const std::string& Text) {
    std::vector<std::uint16_t> Head, Tail;
    const std::size_t Gap = Text.find("::");
    bool Compressed = Gap != std::string::npos;
    if (Compressed) {
        if (Text.find("::", Gap + 1) != std::string::npos ||
            !ParseGroups(Text.substr(0, Gap), Head) || !ParseGroups(Text.substr(Gap + 2), Tail) ||
            Head.size() + Tail.size() > 7)
            return std::nullopt;
    } else if (!ParseGroups(Text, Head) || Head.size() != 8) {
        return std::nullopt;
    }
    TIPv6Bytes A{};
    for (std::size_t I = 0; I < Head.size(); ++I) {
        A[2 * I] = static_cast<std::uint8_t>(Head[I] >> 8);
        A[2 * I + 1] = static_cast<std::uint8_t>(Head[I] & 0xff);
    }
    for (std::size_t I = 0; I < Tail.size(); ++I) {
        const std::size_t G = 8 - Tail.size() + I;
        A[2 * G] = static_cast<std::uint8_t>(Tail[I] >> 8);
        A[2 * G + 1] = static_cast<std::uint8_t>(Tail[I] & 0xff);
    }
    return A;
}

std::string CanonicalIPv6(const TIPv6Bytes& A) {
    unsigned Groups[8];
    for (std::size_t I = 0; I < 8; ++I)
        Groups[I] = static_cast<unsigned>(A[2 * I]) << 8 | A[2 * I + 1];
    std::size_t BestStart = 8, BestLength = 1;
    for (std::size_t I = 0; I < 8;) {
        std::size_t J = I;
        while (J < 8 && Groups[J] == 0)
            ++J;
        if (J - I > BestLength) {
            BestStart = I;
            BestLength = J - I;
        }
        I = J == I ? I + 1 : J;
    }
    std::string Text;
    for (std::size_t I = 0; I < 8; ++I) {
        if (I == BestStart) {
            Text += "::";
            I += BestLength - 1;
            continue;
        }
        if (!Text.empty() && Text.back() != ':')
            Text += ':';
        Text += Hex(Groups[I]);
    }
    return Text;
}

bool IsIPv6HostAddress(const std::string& Text) {
    const std::optional<TIPv6Bytes> A = ParseIPv6(Text);
    if (!A)
        return false;
    const bool Unspecified = AllZero(*A, 0, 16);
    const bool Loopback = AllZero(*A, 0, 15) && (*A)[15] == 1;
    const bool Multicast = (*A)[0] == 0xff;
    const bool Mapped = AllZero(*A, 0, 10) && (*A)[10] == 0xff && (*A)[11] == 0xff;
    return !Unspecified && !Loopback && !Multicast && !Mapped;
}

bool IsPlainDottedQuad(const std::string& Text) {
    std::size_t Groups = 0, Begin = 0;
    for (;;) {
        const std::size_t Dot = Text.find('.', Begin);
        const std::string Group = Text.substr(Begin, Dot - Begin);
        if (++Groups > 4 || Group.empty() || Group.size() > 3 ||
            Group.find_first_not_of("0123456789") != std::string::npos ||
            (Group.size() > 1 && Group[0] == '0') || std::stoi(Group) > 255)
            return false;
        if (Dot == std::string::npos)
            return Groups == 4;
        Begin = Dot + 1;
    }
}

bool IsContiguousMask(const std::string& Mask) {
    if (!IsPlainDottedQuad(Mask))
        return false;
    std::uint32_t Bits = 0;
    std::size_t Begin = 0;
    for (int I = 0; I < 4; ++I) {
        const std::size_t Dot = Mask.find('.', Begin);
        Bits = Bits << 8 | static_cast<std::uint32_t>(std::stoi(Mask.substr(Begin, Dot - Begin)));
        Begin = Dot + 1;
    }
    const std::uint32_t Inverted = ~Bits;
    return Bits != 0 && (Inverted & (Inverted + 1)) == 0;
}

std::string CheckExtraAddress(const TExtraAddress& E) {
    if (!IsPlainDottedQuad(E.Address) || E.Address == "0.0.0.0")
        return "La direccion IP adicional no es valida.";
    if (!IsContiguousMask(E.Mask))
        return "La mascara de red de la direccion adicional no es valida.";
    return {};
}

std::string CheckExtraGateway(const TExtraGateway& E) {
    if (!IsPlainDottedQuad(E.Gateway) || E.Gateway == "0.0.0.0")
        return "La direccion del gateway adicional no es valida.";
    if (E.Metric < 1 || E.Metric > 9999)
        return "La metrica del gateway debe estar entre 1 y 9999.";
    return {};
}

std::string CheckExtraDns(const std::string& Dns) {
    if (!IsPlainDottedQuad(Dns) || Dns == "0.0.0.0")
        return "El servidor DNS adicional no es valido.";
    return {};
}

std::string CheckIPv6Address(const TIPv6Address& E) {
    if (!IsIPv6HostAddress(E.Address))
        return "La direccion IPv6 no es valida.";
    if (E.PrefixLength < 1 || E.PrefixLength > 128)
        return "La longitud de prefijo debe estar entre 1 y 128.";
    return {};
}

std::string CheckIPv6Gateway(const std::string& Gateway) {
    if (!Gateway.empty() && !IsIPv6HostAddress(Gateway))
        return "La direccion del gateway IPv6 no es valida.";
    return {};
}

std::string CheckIPv6Dns(const std::string& Dns) {
    if (!IsIPv6HostAddress(Dns))
        return "El servidor DNS IPv6 no es valido.";
    return {};
}

std::string CheckExtras(const TIPSetExtras& E) {
    std::string Error;
    for (const TExtraAddress& A : E.Addresses)
        if (Error.empty())
            Error = CheckExtraAddress(A);
    for (const TExtraGateway& G : E.Gateways)
        if (Error.empty())
            Error = CheckExtraGateway(G);
    for (const std::string& D : E.Dns)
        if (Error.empty())
            Error = CheckExtraDns(D);
    for (const TIPv6Address& A : E.IPv6Addresses)
        if (Error.empty())
            Error = CheckIPv6Address(A);
    if (Error.empty())
        Error = CheckIPv6Gateway(E.IPv6Gateway);
    for (const std::string& D : E.IPv6Dns)
        if (Error.empty())
            Error = CheckIPv6Dns(D);
    return Error;
}
