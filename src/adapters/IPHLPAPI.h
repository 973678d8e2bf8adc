#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The IP Helper records as the system lays them out, and the run-time binding to the library.
// On Windows the library is IPHLPAPI.DLL; on Linux a built-in back end answers the same calls
// with the same contract, so the enumeration above it is one routine on both systems.

#if defined(_WIN32) && !defined(_WIN64)
#define IPHLPAPI_CALL __stdcall
#else
#define IPHLPAPI_CALL
#endif

constexpr std::uint32_t ERROR_SUCCESS_CODE = 0;
constexpr std::uint32_t ERROR_NOT_SUPPORTED_CODE = 50;
constexpr std::uint32_t ERROR_BUFFER_OVERFLOW_CODE = 111;
constexpr std::uint32_t ERROR_NO_DATA_CODE = 232;

constexpr std::size_t MAX_ADAPTER_NAME_LENGTH = 256;
constexpr std::size_t MAX_ADAPTER_DESCRIPTION_LENGTH = 128;
constexpr std::size_t MAX_ADAPTER_ADDRESS_LENGTH = 8;

struct IP_ADDRESS_STRING {
    char String[16];
};
using IP_MASK_STRING = IP_ADDRESS_STRING;

struct IP_ADDR_STRING {
    IP_ADDR_STRING* Next;
    IP_ADDRESS_STRING IpAddress;
    IP_MASK_STRING IpMask;
    std::uint32_t Context;
};

struct IP_ADAPTER_INFO {
    IP_ADAPTER_INFO* Next;
    std::uint32_t ComboIndex;
    char AdapterName[MAX_ADAPTER_NAME_LENGTH + 4];
    char Description[MAX_ADAPTER_DESCRIPTION_LENGTH + 4];
    std::uint32_t AddressLength;
    std::uint8_t Address[MAX_ADAPTER_ADDRESS_LENGTH];
    std::uint32_t Index;
    std::uint32_t Type;
    std::uint32_t DhcpEnabled;
    IP_ADDR_STRING* CurrentIpAddress;
    IP_ADDR_STRING IpAddressList;
    IP_ADDR_STRING GatewayList;
    IP_ADDR_STRING DhcpServer;
    std::int32_t HaveWins;
    IP_ADDR_STRING PrimaryWinsServer;
    IP_ADDR_STRING SecondaryWinsServer;
    // time_t of the system's C runtime: 64 bits on 64-bit Windows, 32 bits on 32-bit Windows.
    std::intptr_t LeaseObtained;
    std::intptr_t LeaseExpires;
};

struct IP_PER_ADAPTER_INFO {
    std::uint32_t AutoconfigEnabled;
    std::uint32_t AutoconfigActive;
    IP_ADDR_STRING* CurrentDnsServer;
    IP_ADDR_STRING DnsServerList;
};

#if defined(_WIN64) || (defined(__x86_64__) || defined(__aarch64__))
static_assert(sizeof(IP_ADDR_STRING) == 48, "IP_ADDR_STRING must match the 64-bit system layout");
static_assert(sizeof(IP_ADAPTER_INFO) == 704, "IP_ADAPTER_INFO must match the 64-bit layout");
static_assert(offsetof(IP_ADAPTER_INFO, CurrentIpAddress) == 432, "IP_ADAPTER_INFO field order");
static_assert(offsetof(IP_ADAPTER_INFO, HaveWins) == 584, "IP_ADAPTER_INFO field order");
static_assert(offsetof(IP_ADAPTER_INFO, LeaseObtained) == 688, "IP_ADAPTER_INFO field order");
static_assert(sizeof(IP_PER_ADAPTER_INFO) == 64, "IP_PER_ADAPTER_INFO must match the layout");
#endif

// The part of GetAdaptersAddresses' records the program reads; the system's records go on past
// FirstGatewayAddress, which is why their Length is read rather than sizeof.
constexpr std::uint16_t AF_INET6_CODE = 23; // the system's number, whatever the host's is
constexpr std::uint32_t GAA_FLAG_SKIP_ANYCAST_CODE = 0x0002;
constexpr std::uint32_t GAA_FLAG_SKIP_MULTICAST_CODE = 0x0004;
constexpr std::uint32_t GAA_FLAG_INCLUDE_GATEWAYS_CODE = 0x0080;
constexpr std::int32_t IP_PREFIX_ORIGIN_MANUAL_CODE = 1; // set by hand, not learnt

struct SOCKADDR_IN6_RECORD {
    std::uint16_t Family;
    std::uint16_t Port;
    std::uint32_t FlowInfo;
    std::uint8_t Address[16];
    std::uint32_t ScopeId;
};

struct SOCKET_ADDRESS_RECORD {
    void* Sockaddr; // begins with its family, as every socket address does
    std::int32_t SockaddrLength;
};

struct alignas(8) IP_ADAPTER_UNICAST_ADDRESS {
    std::uint32_t Length;
    std::uint32_t Flags;
    IP_ADAPTER_UNICAST_ADDRESS* Next;
    SOCKET_ADDRESS_RECORD Address;
    std::int32_t PrefixOrigin;
    std::int32_t SuffixOrigin;
    std::int32_t DadState;
    std::uint32_t ValidLifetime;
    std::uint32_t PreferredLifetime;
    std::uint32_t LeaseLifetime;
    std::uint8_t OnLinkPrefixLength;
};

// The DNS server and gateway entries have the same shape.
struct alignas(8) IP_ADAPTER_SERVER_ADDRESS {
    std::uint32_t Length;
    std::uint32_t Reserved;
    IP_ADAPTER_SERVER_ADDRESS* Next;
    SOCKET_ADDRESS_RECORD Address;
};

struct alignas(8) IP_ADAPTER_ADDRESSES {
    std::uint32_t Length;
    std::uint32_t IfIndex;
    IP_ADAPTER_ADDRESSES* Next;
    char* AdapterName; // the same name as IP_ADAPTER_INFO's
    IP_ADAPTER_UNICAST_ADDRESS* FirstUnicastAddress;
    void* FirstAnycastAddress;
    void* FirstMulticastAddress;
    IP_ADAPTER_SERVER_ADDRESS* FirstDnsServerAddress;
    char16_t* DnsSuffix;
    char16_t* Description;
    char16_t* FriendlyName;
    std::uint8_t PhysicalAddress[MAX_ADAPTER_ADDRESS_LENGTH];
    std::uint32_t PhysicalAddressLength;
    std::uint32_t Flags;
    std::uint32_t Mtu;
    std::uint32_t IfType;
    std::uint32_t OperStatus;
    std::uint32_t Ipv6IfIndex;
    std::uint32_t ZoneIndices[16];
    void* FirstPrefix;
    std::uint64_t TransmitLinkSpeed;
    std::uint64_t ReceiveLinkSpeed;
    void* FirstWinsServerAddress;
    IP_ADAPTER_SERVER_ADDRESS* FirstGatewayAddress;
};

#if defined(_WIN64) || (defined(__x86_64__) || defined(__aarch64__))
static_assert(sizeof(SOCKADDR_IN6_RECORD) == 28, "SOCKADDR_IN6 must match the system layout");
static_assert(sizeof(IP_ADAPTER_UNICAST_ADDRESS) == 64, "IP_ADAPTER_UNICAST_ADDRESS layout");
static_assert(offsetof(IP_ADAPTER_UNICAST_ADDRESS, OnLinkPrefixLength) == 56,
              "IP_ADAPTER_UNICAST_ADDRESS field order");
static_assert(sizeof(IP_ADAPTER_SERVER_ADDRESS) == 32, "IP_ADAPTER_DNS_SERVER_ADDRESS layout");
static_assert(offsetof(IP_ADAPTER_ADDRESSES, FirstDnsServerAddress) == 48,
              "IP_ADAPTER_ADDRESSES field order");
static_assert(offsetof(IP_ADAPTER_ADDRESSES, FirstPrefix) == 176,
              "IP_ADAPTER_ADDRESSES field order");
static_assert(offsetof(IP_ADAPTER_ADDRESSES, FirstGatewayAddress) == 208,
              "IP_ADAPTER_ADDRESSES field order");
#endif

using TGetAdaptersInfo = std::uint32_t(IPHLPAPI_CALL*)(IP_ADAPTER_INFO* AdapterInfo,
                                                       std::uint32_t* SizePointer);
using TGetPerAdapterInfo = std::uint32_t(IPHLPAPI_CALL*)(std::uint32_t IfIndex,
                                                         IP_PER_ADAPTER_INFO* PerAdapterInfo,
                                                         std::uint32_t* OutBufLen);
using TGetAdaptersAddresses = std::uint32_t(IPHLPAPI_CALL*)(std::uint32_t Family,
                                                            std::uint32_t Flags, void* Reserved,
                                                            IP_ADAPTER_ADDRESSES* Addresses,
                                                            std::uint32_t* SizePointer);

// Any entry point as the loader hands it out, before it is cast to its own type.
using TProcAddress = void (*)();

// The names bound, in binding order. Only GetAdaptersInfo, GetPerAdapterInfo and (for IPv6)
// GetAdaptersAddresses are called.
constexpr int IpHelperFunctionCount = 23;
extern const char* const IpHelperFunctionNames[IpHelperFunctionCount];

// Where the library comes from. Load answers nullptr when the library is missing; Find answers
// nullptr for a name the library does not export.
struct TIpHelperLoader {
    void* (*Load)();
    TProcAddress (*Find)(void* Module, const char* Name);
    void (*Free)(void* Module);
};

// What each system's back end provides.
// The system's loader: IPHLPAPI.DLL on Windows, the built-in back end on Linux.
const TIpHelperLoader& SystemIpHelperLoader();
// The records' 8-bit texts (the ANSI code page on Windows, UTF-8 on Linux) as UTF-16.
std::u16string IpHelperTextToUtf16(const std::string& Text);
// Whether the adapter's DNS servers are set by hand: on Windows the interface's NameServer value
// in the registry, on Linux the method or ignore-auto-dns of its NetworkManager profile.
bool AdapterDnsIsStatic(const std::string& AdapterName);
// The same for the adapter's IPv6 DNS servers: the Tcpip6 interface's NameServer value on
// Windows, the ipv6.dns or ipv6.ignore-auto-dns of the profile on Linux.
bool AdapterIPv6DnsIsStatic(const std::string& AdapterName);
// The system error code that explains a failed enumeration when no last error is set.
unsigned IpHelperResultToOSError(std::uint32_t Result);

// Loads and binds the library on the first call; true when it is loaded (now or earlier).
bool LoadIpHelperLibrary();

// The bound entry points; nullptr when not loaded or not exported.
TProcAddress IpHelperEntryPoint(int Index);
TGetAdaptersInfo BoundGetAdaptersInfo();
TGetPerAdapterInfo BoundGetPerAdapterInfo();
TGetAdaptersAddresses BoundGetAdaptersAddresses();

// Replaces the loader (tests serve synthetic adapters this way). Frees what the previous loader
// loaded; nullptr goes back to the system's loader.
void SetIpHelperLoader(const TIpHelperLoader* Loader);
