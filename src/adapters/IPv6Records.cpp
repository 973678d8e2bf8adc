#include "adapters/IPHelper.h"

#include "ipset/ExtraChecks.h"

#include <cstring>
#include <optional>

namespace {

constexpr std::uint32_t AnyFamily = 0;
constexpr std::uint32_t Flags =
    GAA_FLAG_SKIP_ANYCAST_CODE | GAA_FLAG_SKIP_MULTICAST_CODE | GAA_FLAG_INCLUDE_GATEWAYS_CODE;
// The records may grow between the size query and the fill (an address arrives): ask again.
constexpr int Attempts = 3;

std::optional<std::string> IPv6Text(const SOCKET_ADDRESS_RECORD& Address) {
    const auto* In6 = static_cast<const SOCKADDR_IN6_RECORD*>(Address.Sockaddr);
    if (In6 == nullptr || Address.SockaddrLength < static_cast<std::int32_t>(sizeof(*In6)) ||
        In6->Family != AF_INET6_CODE)
        return std::nullopt;
    TIPv6Bytes Bytes;
    std::memcpy(Bytes.data(), In6->Address, Bytes.size());
    return CanonicalIPv6(Bytes);
}

void ReadServers(const IP_ADAPTER_SERVER_ADDRESS* First, TStringArray& List) {
    for (const IP_ADAPTER_SERVER_ADDRESS* E = First; E != nullptr; E = E->Next)
        if (const auto Text = IPv6Text(E->Address))
            List.push_back(*Text);
}

void ReadRecord(const IP_ADAPTER_ADDRESSES& Record, TAdaptorInfo& Row) {
    for (const IP_ADAPTER_UNICAST_ADDRESS* E = Record.FirstUnicastAddress; E != nullptr;
         E = E->Next)
        if (const auto Text = IPv6Text(E->Address))
            Row.IPv6AddressList.push_back(
                {*Text, E->OnLinkPrefixLength, E->PrefixOrigin == IP_PREFIX_ORIGIN_MANUAL_CODE});
    ReadServers(Record.FirstGatewayAddress, Row.IPv6GatewayList);
    ReadServers(Record.FirstDnsServerAddress, Row.IPv6DNSServerList);
}

} // namespace

void ReadIPv6(TAdaptorRows& Rows) {
    const TGetAdaptersAddresses GetAdaptersAddresses = BoundGetAdaptersAddresses();
    if (GetAdaptersAddresses == nullptr)
        return;
    std::uint32_t Size = 0;
    std::vector<std::uint64_t> Buffer;
    std::uint32_t Result = GetAdaptersAddresses(AnyFamily, Flags, nullptr, nullptr, &Size);
    for (int I = 0; I < Attempts && Result == ERROR_BUFFER_OVERFLOW_CODE; ++I) {
        Buffer.assign((Size + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t), 0);
        Result =
            GetAdaptersAddresses(AnyFamily, Flags, nullptr,
                                 reinterpret_cast<IP_ADAPTER_ADDRESSES*>(Buffer.data()), &Size);
    }
    if (Result != ERROR_SUCCESS_CODE || Buffer.empty())
        return;
    for (auto* R = reinterpret_cast<const IP_ADAPTER_ADDRESSES*>(Buffer.data()); R != nullptr;
         R = R->Next) {
        if (R->AdapterName == nullptr)
            continue;
        const std::u16string Name = IpHelperTextToUtf16(R->AdapterName);
        for (TAdaptorInfo& Row : Rows)
            if (Row.AdapterName == Name)
                ReadRecord(*R, Row);
    }
}
