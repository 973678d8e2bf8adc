#pragma once

#include "adapters/IPHLPAPI.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

enum TIF_OPER_STATUS : std::uint8_t {
    IF_OPER_STATUS_NONE = 0,
    IF_OPER_STATUS_UP = 1,
    IF_OPER_STATUS_DOWN = 2,
    IF_OPER_STATUS_TESTING = 3,
    IF_OPER_STATUS_UNKNOWN = 4,
    IF_OPER_STATUS_DORMANT = 5,
    IF_OPER_STATUS_NOT_PRESENT = 6,
    IF_OPER_STATUS_LOWER_LAYER_DOWN = 7,
};

// Address arrays keep their spare capacity: the matching count says how many slots are real.
using TStringArray = std::vector<std::string>;

// One IPv6 address of an adapter, in its canonical text.
struct TIPv6AddressInfo {
    std::string Address;
    std::uint8_t PrefixLength = 0;
    bool Static = false; // set by hand, as opposed to learnt or derived from the link
};

inline bool operator==(const TIPv6AddressInfo& A, const TIPv6AddressInfo& B) {
    return A.Address == B.Address && A.PrefixLength == B.PrefixLength && A.Static == B.Static;
}

// One adapter as the enumeration reports it, every address already text.
struct TAdaptorInfo {
    std::u16string AdapterName;
    std::u16string Description;
    std::string MacAddress;
    std::uint32_t AdaptorIndex = 0;
    std::uint32_t AdaptorType = 0;
    std::uint32_t DHCPEnabled = 0;
    std::string CurrIPAddress;
    std::string CurrIPMask;
    std::int32_t IPAddressTot = 0;
    TStringArray IPAddressList;
    TStringArray IPMaskList;
    std::int32_t GatewayTot = 0;
    TStringArray GatewayList;
    std::int32_t DHCPTot = 0;
    TStringArray DHCPList;
    std::int32_t HasWINS = 0;
    std::int32_t PrimaryWINSTot = 0;
    TStringArray PrimaryWINSList;
    std::int32_t SecondaryWINSTot = 0;
    TStringArray SecondaryWINSList;
    std::int32_t LeaseObtained = 0;
    std::int32_t LeaseExpires = 0;
    std::uint32_t AutoConfigEnabled = 0;
    std::uint32_t AutoConfigActive = 0;
    std::string CurrDNSServer;
    std::int32_t DNSServerTot = 0;
    TStringArray DNSServerList;
    TStringArray AnycastIPAddrList;
    std::int32_t AnycastIPAddrTot = 0;
    TStringArray MulticastIPAddrList;
    std::int32_t MulticastIPAddrTot = 0;
    TStringArray PrefixIPAddrList;
    std::u16string FriendlyName;
    std::uint32_t Mtu = 0;
    std::uint32_t IfType = 0;
    TIF_OPER_STATUS OperStatus = IF_OPER_STATUS_NONE;
    std::uint32_t Ipv6Index = 0;
    std::int64_t XmitLinkSpeed = 0;
    std::int64_t RecvLinkSpeed = 0;
    std::uint32_t Ipv4Metric = 0;
    std::uint32_t Ipv6Metric = 0;
    std::uint64_t Luid = 0;
    std::uint32_t CompartmentId = 0;
    std::array<std::uint8_t, 16> NetworkGuid = {};
    std::uint8_t ConnectionType = 0;
    std::uint8_t TunnelType = 0;
    // Read apart, from GetAdaptersAddresses; exactly the real entries, no spare slots.
    std::vector<TIPv6AddressInfo> IPv6AddressList;
    TStringArray IPv6GatewayList;
    TStringArray IPv6DNSServerList;
};

using TAdaptorRows = std::vector<TAdaptorInfo>;

// The address given when an adapter reports no current address.
extern const char* const NoAddressText;

// Room for the per-adapter record and five more server entries: six DNS servers in all. An
// adapter with more is asked again with the room it says it needs.
constexpr std::size_t PerAdapterBufferSize =
    sizeof(IP_PER_ADAPTER_INFO) + 5 * sizeof(IP_ADDR_STRING);

// Reads every adapter into Rows (exactly Count records, in the system's order). Returns 0, or
// 50 when the library is missing, or the system's answer when a query fails (Count 0 then).
// The IPv6 lists stay empty when the library cannot tell them; that fails nothing.
std::uint32_t ReadAdaptorRows(std::int32_t& Count, TAdaptorRows& Rows);

// Adds to the rows of the same adapter name the IPv6 addresses, gateways and DNS servers that
// GetAdaptersAddresses gives; nothing when the library does not export it or it fails.
void ReadIPv6(TAdaptorRows& Rows);

// "0A-1B-2C-3D-4E-5F"; a length of 0 gives six zero pairs. At most 8 bytes are used.
std::string FormatMacAddress(const std::uint8_t (&Address)[MAX_ADAPTER_ADDRESS_LENGTH],
                             std::uint32_t Length);
