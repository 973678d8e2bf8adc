#include "adapters/AdapterChain.h"

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

} // namespace

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
