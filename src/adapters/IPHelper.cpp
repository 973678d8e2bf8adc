#include "adapters/IPHelper.h"

#include "base/TextUtils.h"

#include <cstring>

const char* const NoAddressText = "  0.  0.  0.  0";

namespace {

// The system's text fields are zero-filled; a text ends at its first zero byte or field end.
template <std::size_t N> std::string FieldText(const char (&Field)[N]) {
    const void* Zero = std::memchr(Field, 0, N);
    return std::string(Field, Zero != nullptr ? static_cast<const char*>(Zero) : Field + N);
}

// The full field, zero bytes included, with them trimmed away as any other control character.
template <std::size_t N> std::u16string TrimmedField(const char (&Field)[N]) {
    return IpHelperTextToUtf16(Trim(std::string(Field, N)));
}

void GrowAt(TStringArray& List, std::size_t Index) {
    if (Index >= List.size())
        List.resize(2 * Index);
}

// Every chain yields at least its head, which lives inside the record, even when it is empty.
std::int32_t ReadChain(const IP_ADDR_STRING& Head, TStringArray& Addresses,
                       TStringArray* Masks = nullptr) {
    std::size_t Index = 0;
    for (const IP_ADDR_STRING* Entry = &Head; Entry != nullptr; Entry = Entry->Next) {
        Addresses[Index] = FieldText(Entry->IpAddress.String);
        if (Masks != nullptr)
            (*Masks)[Index] = FieldText(Entry->IpMask.String);
        ++Index;
        GrowAt(Addresses, Index);
        if (Masks != nullptr)
            GrowAt(*Masks, Index);
    }
    return static_cast<std::int32_t>(Index);
}

void StartRecord(TAdaptorInfo& Row) {
    Row = TAdaptorInfo();
    for (TStringArray* List : {&Row.IPAddressList, &Row.IPMaskList, &Row.GatewayList, &Row.DHCPList,
                               &Row.PrimaryWINSList, &Row.SecondaryWINSList, &Row.DNSServerList})
        List->assign(2, std::string());
    Row.CurrIPAddress = NoAddressText;
    Row.CurrIPMask = NoAddressText;
}

// Whole 64-bit words keep the records aligned; the vector zero-fills them.
std::vector<std::uint64_t> Words(std::uint32_t Size) {
    return std::vector<std::uint64_t>((Size + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t));
}

void ReadPerAdapterInfo(TAdaptorInfo& Row) {
    const TGetPerAdapterInfo GetPerAdapterInfo = BoundGetPerAdapterInfo();
    if (GetPerAdapterInfo == nullptr)
        return;
    std::uint32_t Size = PerAdapterBufferSize;
    std::vector<std::uint64_t> Buffer = Words(Size);
    auto* Info = reinterpret_cast<IP_PER_ADAPTER_INFO*>(Buffer.data());
    std::uint32_t Result = GetPerAdapterInfo(Row.AdaptorIndex, Info, &Size);
    // More servers than the room holds: the system said how much it needs.
    if (Result == ERROR_BUFFER_OVERFLOW_CODE && Size > PerAdapterBufferSize) {
        Buffer = Words(Size);
        Info = reinterpret_cast<IP_PER_ADAPTER_INFO*>(Buffer.data());
        Result = GetPerAdapterInfo(Row.AdaptorIndex, Info, &Size);
    }
    if (Result != ERROR_SUCCESS_CODE)
        return;
    Row.AutoConfigEnabled = Info->AutoconfigEnabled;
    Row.AutoConfigActive = Info->AutoconfigActive;
    if (Info->CurrentDnsServer != nullptr)
        Row.CurrDNSServer = FieldText(Info->CurrentDnsServer->IpAddress.String);
    Row.DNSServerTot = ReadChain(Info->DnsServerList, Row.DNSServerList);
}

void ReadRecord(const IP_ADAPTER_INFO& Adapter, TAdaptorInfo& Row) {
    StartRecord(Row);
    Row.AdapterName = TrimmedField(Adapter.AdapterName);
    Row.Description = TrimmedField(Adapter.Description);
    Row.MacAddress = FormatMacAddress(Adapter.Address, Adapter.AddressLength);
    Row.AdaptorIndex = Adapter.Index;
    Row.AdaptorType = Adapter.Type;
    Row.DHCPEnabled = Adapter.DhcpEnabled;
    Row.HasWINS = Adapter.HaveWins;
    if (Adapter.CurrentIpAddress != nullptr) {
        Row.CurrIPAddress = FieldText(Adapter.CurrentIpAddress->IpAddress.String);
        Row.CurrIPMask = FieldText(Adapter.CurrentIpAddress->IpMask.String);
    }
    Row.IPAddressTot = ReadChain(Adapter.IpAddressList, Row.IPAddressList, &Row.IPMaskList);
    Row.GatewayTot = ReadChain(Adapter.GatewayList, Row.GatewayList);
    Row.DHCPTot = ReadChain(Adapter.DhcpServer, Row.DHCPList);
    Row.PrimaryWINSTot = ReadChain(Adapter.PrimaryWinsServer, Row.PrimaryWINSList);
    Row.SecondaryWINSTot = ReadChain(Adapter.SecondaryWinsServer, Row.SecondaryWINSList);
    // The model keeps the 32-bit time value; the system's is as wide as its time_t.
    Row.LeaseObtained = static_cast<std::int32_t>(Adapter.LeaseObtained);
    Row.LeaseExpires = static_cast<std::int32_t>(Adapter.LeaseExpires);
    ReadPerAdapterInfo(Row);
}

} // namespace

std::uint32_t ReadAdaptorRows(std::int32_t& Count, TAdaptorRows& Rows) {
    if (!LoadIpHelperLibrary())
        return ERROR_NOT_SUPPORTED_CODE;
    // A library without the function cannot enumerate; calling through nothing would crash.
    const TGetAdaptersInfo GetAdaptersInfo = BoundGetAdaptersInfo();
    if (GetAdaptersInfo == nullptr)
        return ERROR_NOT_SUPPORTED_CODE;
    Rows.assign(4, TAdaptorInfo());
    Count = 0;

    std::uint32_t Size = 0;
    std::uint32_t Result = GetAdaptersInfo(nullptr, &Size);
    if (Result != ERROR_BUFFER_OVERFLOW_CODE)
        return Result;
    std::vector<std::uint64_t> Buffer = Words(Size);
    auto* First = reinterpret_cast<IP_ADAPTER_INFO*>(Buffer.data());
    Result = GetAdaptersInfo(First, &Size);
    if (Result != ERROR_SUCCESS_CODE)
        return Result;

    for (const IP_ADAPTER_INFO* Adapter = First; Adapter != nullptr; Adapter = Adapter->Next) {
        ReadRecord(*Adapter, Rows[static_cast<std::size_t>(Count)]);
        ++Count;
        if (Rows.size() <= static_cast<std::size_t>(Count))
            Rows.resize(2 * static_cast<std::size_t>(Count));
    }
    Rows.resize(static_cast<std::size_t>(Count));
    ReadIPv6(Rows);
    return ERROR_SUCCESS_CODE;
}

std::string FormatMacAddress(const std::uint8_t (&Address)[MAX_ADAPTER_ADDRESS_LENGTH],
                             std::uint32_t Length) {
    if (Length == 0)
        return "00-00-00-00-00-00";
    static const char Hex[] = "0123456789ABCDEF";
    std::string Text;
    const std::uint32_t Used = Length < MAX_ADAPTER_ADDRESS_LENGTH
                                   ? Length
                                   : static_cast<std::uint32_t>(MAX_ADAPTER_ADDRESS_LENGTH);
    for (std::uint32_t I = 0; I < Used; ++I) {
        if (I > 0)
            Text += '-';
        Text += Hex[Address[I] >> 4];
        Text += Hex[Address[I] & 0x0F];
    }
    return Text;
}
