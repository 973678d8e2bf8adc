#pragma once

#include <string>
#include <vector>

// What a set may hold beyond its one address, gateway and two DNS servers. A set without extras
// (every existing set) is applied, checked and shown exactly as before they existed.
struct TExtraAddress {
    std::string Address;
    std::string Mask; // dotted, as the set's own mask
};

struct TExtraGateway {
    std::string Gateway;
    int Metric = 1; // 1 to 9999
};

enum class TIPv6Mode {
    Keep,      // IPv6 left as it is
    Automatic, // router advertisements / DHCPv6, static addresses removed
    Static,
};

struct TIPv6Address {
    std::string Address;
    int PrefixLength = 64; // 1 to 128
};

struct TIPSetExtras {
    std::vector<TExtraAddress> Addresses;
    std::vector<TExtraGateway> Gateways;
    std::vector<std::string> Dns; // after the set's two, in order
    TIPv6Mode IPv6 = TIPv6Mode::Keep;
    // Static IPv6 only; kept while another mode is chosen, as the editor shows them.
    std::vector<TIPv6Address> IPv6Addresses;
    std::string IPv6Gateway;
    std::vector<std::string> IPv6Dns;

    bool Empty() const {
        return Addresses.empty() && Gateways.empty() && Dns.empty() && IPv6 == TIPv6Mode::Keep &&
               IPv6Addresses.empty() && IPv6Gateway.empty() && IPv6Dns.empty();
    }
};

inline bool operator==(const TExtraAddress& A, const TExtraAddress& B) {
    return A.Address == B.Address && A.Mask == B.Mask;
}
inline bool operator==(const TExtraGateway& A, const TExtraGateway& B) {
    return A.Gateway == B.Gateway && A.Metric == B.Metric;
}
inline bool operator==(const TIPv6Address& A, const TIPv6Address& B) {
    return A.Address == B.Address && A.PrefixLength == B.PrefixLength;
}
inline bool operator==(const TIPSetExtras& A, const TIPSetExtras& B) {
    return A.Addresses == B.Addresses && A.Gateways == B.Gateways && A.Dns == B.Dns &&
           A.IPv6 == B.IPv6 && A.IPv6Addresses == B.IPv6Addresses &&
           A.IPv6Gateway == B.IPv6Gateway && A.IPv6Dns == B.IPv6Dns;
}
