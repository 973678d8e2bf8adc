// Checks the IPv6 parser against the C library's, which reads the same texts except dotted
// IPv4 tails, and that the canonical text reads back as the same address.
#include "ipset/ExtraChecks.h"

#include <arpa/inet.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string Text(reinterpret_cast<const char*>(Data), Size);
    const std::optional<TIPv6Bytes> Ours = ParseIPv6(Text);
    unsigned char Theirs[16];
    const bool TheyRead = Text.find('\0') == std::string::npos &&
                          inet_pton(AF_INET6, Text.c_str(), Theirs) == 1 &&
                          Text.find('.') == std::string::npos;
    if (Ours.has_value() != TheyRead)
        std::abort();
    if (!Ours)
        return 0;
    if (std::memcmp(Ours->data(), Theirs, 16) != 0)
        std::abort();
    const std::string Canonical = CanonicalIPv6(*Ours);
    const std::optional<TIPv6Bytes> Again = ParseIPv6(Canonical);
    if (!Again || *Again != *Ours || CanonicalIPv6(*Again) != Canonical)
        std::abort();
    return 0;
}
