#pragma once

#include "adapters/IPHLPAPI.h"
#include "adapters/IPHelper.h"

#include <cstdint>
#include <string>
#include <vector>

// One adapter described in plain values, laid out on request into the system's record chain.
// The Linux back end answers the IP Helper calls this way, and so do the test fakes.
struct TAdapterAddress {
    std::string Address;
    std::string Mask;
};

struct TAdapterDescription {
    std::string Name;
    std::string Description;
    std::vector<std::uint8_t> HardwareAddress; // at most 8 bytes are kept
    std::uint32_t Index = 0;
    std::uint32_t Type = 0;
    std::uint32_t DhcpEnabled = 0;
    bool HasCurrentAddress = true; // the first of Addresses, when there is one
    std::vector<TAdapterAddress> Addresses;
    std::vector<std::string> Gateways;
    std::vector<std::string> DhcpServers;
    std::int32_t HaveWins = 0;
    std::vector<std::string> PrimaryWins;
    std::vector<std::string> SecondaryWins;
    std::int64_t LeaseObtained = 0;
    std::int64_t LeaseExpires = 0;
    std::uint32_t AutoconfigEnabled = 0;
    std::uint32_t AutoconfigActive = 0;
    std::vector<std::string> DnsServers; // the first is the current one
    bool StaticDns = false;              // not part of the records; asked for apart
    std::vector<TIPv6AddressInfo> IPv6Addresses;
    std::vector<std::string> IPv6Gateways;
    std::vector<std::string> IPv6DnsServers;
    bool StaticIPv6Dns = false; // asked for apart, as StaticDns
};

// GetAdaptersInfo's contract: a buffer too small (or none) answers 111 and writes the size
// needed; no adapters answers 232; otherwise the chain is written and the answer is 0.
std::uint32_t WriteAdapterChain(const std::vector<TAdapterDescription>& Adapters,
                                IP_ADAPTER_INFO* Buffer, std::uint32_t* Size);

// GetPerAdapterInfo's contract for one adapter, with the same size rule.
std::uint32_t WritePerAdapterInfo(const TAdapterDescription& Adapter, IP_PER_ADAPTER_INFO* Buffer,
                                  std::uint32_t* Size);

// GetAdaptersAddresses' contract (the IPv6 entries only, which are all that is read), with the
// same size rule: each record followed by its name and its entries with their socket addresses.
std::uint32_t WriteAdapterAddresses(const std::vector<TAdapterDescription>& Adapters,
                                    IP_ADAPTER_ADDRESSES* Buffer, std::uint32_t* Size);
