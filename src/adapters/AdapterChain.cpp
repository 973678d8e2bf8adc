#include "adapters/AdapterChain.h"

#include "ipset/ExtraChecks.h"

#include <algorithm>
#include <cstring>

namespace {

// Entries beyond a chain's head, which the record itself holds.
std::size_t Extra(std::size_t Entries) {
    return Entries > 1 ? Entries - 1 : 0;
}

std::size_t ExtraEntries(const TAdapterDescription& A) {
    return Extra(A.Addresses.size()) + Extra(A.Gateways.size()) + Extra(A.DhcpServers.size()) +
           Extra(A.PrimaryWins.size()) + Extra(A.SecondaryWins.size());
}

template <std::size_t N> void CopyText(char (&Field)[N], const std::string& Text) {
    const std::size_t Len = std::min(Text.size(), N - 1);
    std::memcpy(Field, Text.data(), Len);
    std::memset(Field + Len, 0, N - Len);
}

// Lays out a chain whose head is Head and whose further entries go to Spare, which advances.
template <typename T, typename AddressOf, typename MaskOf>
void WriteChain(IP_ADDR_STRING& Head, const std::vector<T>& Items, IP_ADDR_STRING*& Spare,
                AddressOf Address, MaskOf Mask) {
    std::memset(&Head, 0, sizeof(Head));
    IP_ADDR_STRING* Entry = &Head;
    for (std::size_t I = 0; I < Items.size(); ++I) {
        if (I > 0) {
            Entry->Next = Spare++;
            Entry = Entry->Next;
            std::memset(Entry, 0, sizeof(*Entry));
        }
        CopyText(Entry->IpAddress.String, Address(Items[I]));
        CopyText(Entry->IpMask.String, Mask(Items[I]));
    }
}

void WriteServers(IP_ADDR_STRING& Head, const std::vector<std::string>& Servers,
                  IP_ADDR_STRING*& Spare) {
    WriteChain(
        Head, Servers, Spare, [](const std::string& S) { return S; },
        [](const std::string&) { return std::string(); });
}

void WriteRecord(const TAdapterDescription& A, IP_ADAPTER_INFO& R, IP_ADDR_STRING*& Spare) {
    std::memset(&R, 0, sizeof(R));
    R.ComboIndex = A.Index;
    CopyText(R.AdapterName, A.Name);
    CopyText(R.Description, A.Description);
    R.AddressLength = static_cast<std::uint32_t>(
        std::min(A.HardwareAddress.size(), static_cast<std::size_t>(MAX_ADAPTER_ADDRESS_LENGTH)));
    std::copy_n(A.HardwareAddress.begin(), R.AddressLength, R.Address);
    R.Index = A.Index;
    R.Type = A.Type;
    R.DhcpEnabled = A.DhcpEnabled;
    WriteChain(
        R.IpAddressList, A.Addresses, Spare, [](const TAdapterAddress& X) { return X.Address; },
        [](const TAdapterAddress& X) { return X.Mask; });
    if (A.HasCurrentAddress && !A.Addresses.empty())
        R.CurrentIpAddress = &R.IpAddressList;
    WriteServers(R.GatewayList, A.Gateways, Spare);
    WriteServers(R.DhcpServer, A.DhcpServers, Spare);
    R.HaveWins = A.HaveWins;
    WriteServers(R.PrimaryWinsServer, A.PrimaryWins, Spare);
    WriteServers(R.SecondaryWinsServer, A.SecondaryWins, Spare);
    R.LeaseObtained = static_cast<std::intptr_t>(A.LeaseObtained);
    R.LeaseExpires = static_cast<std::intptr_t>(A.LeaseExpires);
}

constexpr std::size_t Rounded(std::size_t Bytes) {
    return (Bytes + 7) / 8 * 8;
}

constexpr std::size_t SocketAddressSize = Rounded(sizeof(SOCKADDR_IN6_RECORD));

std::size_t AddressesSize(const TAdapterDescription& A) {
    return sizeof(IP_ADAPTER_ADDRESSES) + Rounded(A.Name.size() + 1) +
           A.IPv6Addresses.size() * (sizeof(IP_ADAPTER_UNICAST_ADDRESS) + SocketAddressSize) +
           (A.IPv6Gateways.size() + A.IPv6DnsServers.size()) *
               (sizeof(IP_ADAPTER_SERVER_ADDRESS) + SocketAddressSize);
}

// Hands out the buffer's bytes in order, zeroed, each piece on an 8-byte boundary.
class TPlacer {
public:
    explicit TPlacer(void* Buffer) : FNext(static_cast<unsigned char*>(Buffer)) {}
    template <typename T> T* Place(std::size_t Bytes = sizeof(T)) {
        void* Piece = FNext;
        std::memset(Piece, 0, Rounded(Bytes));
        FNext += Rounded(Bytes);
        return static_cast<T*>(Piece);
    }

private:
    unsigned char* FNext;
};

SOCKET_ADDRESS_RECORD PlaceIPv6(TPlacer& Placer, const std::string& Text) {
    auto* In6 = Placer.Place<SOCKADDR_IN6_RECORD>();
    In6->Family = AF_INET6_CODE;
    const TIPv6Bytes Bytes = ParseIPv6(Text).value_or(TIPv6Bytes{});
    std::memcpy(In6->Address, Bytes.data(), Bytes.size());
    return {In6, static_cast<std::int32_t>(sizeof(*In6))};
}

IP_ADAPTER_SERVER_ADDRESS* PlaceServers(TPlacer& Placer, const std::vector<std::string>& Texts) {
    IP_ADAPTER_SERVER_ADDRESS* First = nullptr;
    IP_ADAPTER_SERVER_ADDRESS** Link = &First;
    for (const std::string& Text : Texts) {
        auto* E = Placer.Place<IP_ADAPTER_SERVER_ADDRESS>();
        E->Length = sizeof(*E);
        E->Address = PlaceIPv6(Placer, Text);
        *Link = E;
        Link = &E->Next;
    }
    return First;
}

void PlaceRecord(TPlacer& Placer, const TAdapterDescription& A, IP_ADAPTER_ADDRESSES& R) {
    R.Length = sizeof(R);
    R.IfIndex = A.Index;
    R.AdapterName = Placer.Place<char>(A.Name.size() + 1);
    std::memcpy(R.AdapterName, A.Name.c_str(), A.Name.size());
    IP_ADAPTER_UNICAST_ADDRESS** Link = &R.FirstUnicastAddress;
    for (const TIPv6AddressInfo& Address : A.IPv6Addresses) {
        auto* E = Placer.Place<IP_ADAPTER_UNICAST_ADDRESS>();
        E->Length = sizeof(*E);
        E->Address = PlaceIPv6(Placer, Address.Address);
        E->PrefixOrigin = Address.Static ? IP_PREFIX_ORIGIN_MANUAL_CODE : 0;
        E->OnLinkPrefixLength = Address.PrefixLength;
        *Link = E;
        Link = &E->Next;
    }
    R.FirstGatewayAddress = PlaceServers(Placer, A.IPv6Gateways);
    R.FirstDnsServerAddress = PlaceServers(Placer, A.IPv6DnsServers);
}

} // namespace

std::uint32_t WriteAdapterAddresses(const std::vector<TAdapterDescription>& Adapters,
                                    IP_ADAPTER_ADDRESSES* Buffer, std::uint32_t* Size) {
    if (Adapters.empty())
        return ERROR_NO_DATA_CODE;
    std::size_t Needed = 0;
    for (const TAdapterDescription& A : Adapters)
        Needed += AddressesSize(A);
    if (Buffer == nullptr || *Size < Needed) {
        *Size = static_cast<std::uint32_t>(Needed);
        return ERROR_BUFFER_OVERFLOW_CODE;
    }
    TPlacer Placer(Buffer);
    IP_ADAPTER_ADDRESSES* Previous = nullptr;
    for (const TAdapterDescription& A : Adapters) {
        auto* R = Placer.Place<IP_ADAPTER_ADDRESSES>();
        PlaceRecord(Placer, A, *R);
        if (Previous != nullptr)
            Previous->Next = R;
        Previous = R;
    }
    return ERROR_SUCCESS_CODE;
}

std::uint32_t WriteAdapterChain(const std::vector<TAdapterDescription>& Adapters,
                                IP_ADAPTER_INFO* Buffer, std::uint32_t* Size) {
    if (Adapters.empty())
        return ERROR_NO_DATA_CODE;
    std::size_t Spares = 0;
    for (const TAdapterDescription& A : Adapters)
        Spares += ExtraEntries(A);
    const std::size_t Needed =
        Adapters.size() * sizeof(IP_ADAPTER_INFO) + Spares * sizeof(IP_ADDR_STRING);
    if (Buffer == nullptr || *Size < Needed) {
        *Size = static_cast<std::uint32_t>(Needed);
        return ERROR_BUFFER_OVERFLOW_CODE;
    }
    // The records first, then the further chain entries, as the system packs them.
    auto* Spare = reinterpret_cast<IP_ADDR_STRING*>(Buffer + Adapters.size());
    for (std::size_t I = 0; I < Adapters.size(); ++I) {
        WriteRecord(Adapters[I], Buffer[I], Spare);
        Buffer[I].Next = I + 1 < Adapters.size() ? &Buffer[I + 1] : nullptr;
    }
    return ERROR_SUCCESS_CODE;
}

std::uint32_t WritePerAdapterInfo(const TAdapterDescription& Adapter, IP_PER_ADAPTER_INFO* Buffer,
                                  std::uint32_t* Size) {
    const std::size_t Needed =
        sizeof(IP_PER_ADAPTER_INFO) + Extra(Adapter.DnsServers.size()) * sizeof(IP_ADDR_STRING);
    if (Buffer == nullptr || *Size < Needed) {
        *Size = static_cast<std::uint32_t>(Needed);
        return ERROR_BUFFER_OVERFLOW_CODE;
    }
    std::memset(Buffer, 0, sizeof(*Buffer));
    Buffer->AutoconfigEnabled = Adapter.AutoconfigEnabled;
    Buffer->AutoconfigActive = Adapter.AutoconfigActive;
    auto* Spare = reinterpret_cast<IP_ADDR_STRING*>(Buffer + 1);
    WriteServers(Buffer->DnsServerList, Adapter.DnsServers, Spare);
    if (!Adapter.DnsServers.empty())
        Buffer->CurrentDnsServer = &Buffer->DnsServerList;
    return ERROR_SUCCESS_CODE;
}
