#pragma once

#include "adapters/IPHelper.h"
#include "base/TComponent.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// An address list of an adapter. Lists keep the enumeration's spare slots, so they end with
// empty entries after the real ones, which readers skip.
using TStringList = std::vector<std::string>;

// One adapter's configuration as the last refresh read it; nothing changes it afterwards.
class TgtNetworkAdapter {
public:
    TgtNetworkAdapter() = default;

    void CopyFrom(const TgtNetworkAdapter& Source);
    void LoadFromAdaptorInfo(TAdaptorInfo Info);

    const std::string& AdapterName() const { return FAdapterName; }
    const std::string& Description() const { return FDescription; }
    const std::string& MacAddress() const { return FMacAddress; }
    const std::string& FriendlyName() const { return FFriendlyName; }
    std::uint32_t AdaptorIndex() const { return FAdaptorIndex; }
    std::uint32_t AdaptorType() const { return FAdaptorType; }
    bool DHCPEnabled() const { return FDHCPEnabled; }
    const std::string& CurrIPAddress() const { return FCurrIPAddress; }
    const std::string& CurrIPMask() const { return FCurrIPMask; }
    const std::string& CurrDNSServer() const { return FCurrDNSServer; }
    std::int32_t IPAddressTot() const { return FIPAddressTot; }
    const TStringList& IPAddressList() const { return FIPAddressList; }
    const TStringList& IPMaskList() const { return FIPMaskList; }
    std::int32_t GatewayTot() const { return FGatewayTot; }
    const TStringList& GatewayList() const { return FGatewayList; }
    std::int32_t DHCPTot() const { return FDHCPTot; }
    const TStringList& DHCPList() const { return FDHCPList; }
    bool HasWINS() const { return FHasWINS; }
    std::int32_t DNSServerTot() const { return FDNSServerTot; }
    const TStringList& DNSServerList() const { return FDNSServerList; }
    std::int32_t PrimaryWINSTot() const { return FPrimaryWINSTot; }
    const TStringList& PrimaryWINSList() const { return FPrimaryWINSList; }
    std::int32_t SecondaryWINSTot() const { return FSecondaryWINSTot; }
    const TStringList& SecondaryWINSList() const { return FSecondaryWINSList; }
    std::int32_t AnycastIPAddrTot() const { return FAnycastIPAddrTot; }
    const TStringList& AnycastIPAddrList() const { return FAnycastIPAddrList; }
    std::int32_t MulticastIPAddrTot() const { return FMulticastIPAddrTot; }
    const TStringList& MulticastIPAddrList() const { return FMulticastIPAddrList; }
    const TStringList& PrefixIPAddrList() const { return FPrefixIPAddrList; }
    std::int32_t LeaseObtained() const { return FLeaseObtained; }
    std::int32_t LeaseExpires() const { return FLeaseExpires; }
    std::uint32_t AutoConfigEnabled() const { return FAutoConfigEnabled; }
    std::uint32_t AutoConfigActive() const { return FAutoConfigActive; }
    std::uint32_t Mtu() const { return FMtu; }
    std::uint32_t IfType() const { return FIfType; }
    TIF_OPER_STATUS OperStatus() const { return FOperStatus; }
    std::uint32_t Ipv6Index() const { return FIpv6Index; }
    std::int64_t XmitLinkSpeed() const { return FXmitLinkSpeed; }
    std::int64_t RecvLinkSpeed() const { return FRecvLinkSpeed; }
    std::uint32_t Ipv4Metric() const { return FIpv4Metric; }
    std::uint32_t Ipv6Metric() const { return FIpv6Metric; }
    // Whether the DNS servers were set by hand rather than learnt from the DHCP server.
    bool StaticDNS() const { return FStaticDNS; }
    void SetStaticDNS(bool Value) { FStaticDNS = Value; }

    // IPv6, read apart from the IPv4 records: only real entries, no spare slots.
    const std::vector<TIPv6AddressInfo>& IPv6AddressList() const { return FIPv6AddressList; }
    const TStringList& IPv6GatewayList() const { return FIPv6GatewayList; }
    const TStringList& IPv6DNSServerList() const { return FIPv6DNSServerList; }
    // The addresses set by hand, which going back to automatic IPv6 deletes.
    std::vector<std::string> StaticIPv6Addresses() const;
    bool StaticIPv6DNS() const { return FStaticIPv6DNS; }
    void SetStaticIPv6DNS(bool Value) { FStaticIPv6DNS = Value; }

    // Not published, but copied like the rest.
    std::uint64_t Luid() const { return FLuid; }
    std::uint32_t CompartmentId() const { return FCompartmentId; }
    const std::array<std::uint8_t, 16>& NetworkGuid() const { return FNetworkGuid; }
    std::uint8_t ConnectionType() const { return FConnectionType; }
    std::uint8_t TunnelType() const { return FTunnelType; }

private:
    std::string FAdapterName;
    std::string FDescription;
    std::string FMacAddress;
    std::string FFriendlyName;
    std::uint32_t FAdaptorIndex = 0;
    std::uint32_t FAdaptorType = 0;
    bool FDHCPEnabled = false;
    std::string FCurrIPAddress;
    std::string FCurrIPMask;
    std::string FCurrDNSServer;
    std::int32_t FIPAddressTot = 0;
    TStringList FIPAddressList;
    TStringList FIPMaskList;
    std::int32_t FGatewayTot = 0;
    TStringList FGatewayList;
    std::int32_t FDHCPTot = 0;
    TStringList FDHCPList;
    bool FHasWINS = false;
    std::int32_t FDNSServerTot = 0;
    TStringList FDNSServerList;
    std::int32_t FPrimaryWINSTot = 0;
    TStringList FPrimaryWINSList;
    std::int32_t FSecondaryWINSTot = 0;
    TStringList FSecondaryWINSList;
    std::int32_t FAnycastIPAddrTot = 0;
    TStringList FAnycastIPAddrList;
    std::int32_t FMulticastIPAddrTot = 0;
    TStringList FMulticastIPAddrList;
    TStringList FPrefixIPAddrList;
    std::int32_t FLeaseObtained = 0;
    std::int32_t FLeaseExpires = 0;
    std::uint32_t FAutoConfigEnabled = 0;
    std::uint32_t FAutoConfigActive = 0;
    std::uint32_t FMtu = 0;
    std::uint32_t FIfType = 0;
    TIF_OPER_STATUS FOperStatus = IF_OPER_STATUS_NONE;
    std::uint32_t FIpv6Index = 0;
    std::int64_t FXmitLinkSpeed = 0;
    std::int64_t FRecvLinkSpeed = 0;
    std::uint32_t FIpv4Metric = 0;
    std::uint32_t FIpv6Metric = 0;
    bool FStaticDNS = false;
    std::vector<TIPv6AddressInfo> FIPv6AddressList;
    TStringList FIPv6GatewayList;
    TStringList FIPv6DNSServerList;
    bool FStaticIPv6DNS = false;
    std::uint64_t FLuid = 0;
    std::uint32_t FCompartmentId = 0;
    std::array<std::uint8_t, 16> FNetworkGuid = {};
    std::uint8_t FConnectionType = 0;
    std::uint8_t FTunnelType = 0;
};

// Owns its adapters: clearing the list frees them.
class TgtNetworkAdapters {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    TgtNetworkAdapter* Items(int Index) const {
        return FItems.at(static_cast<std::size_t>(Index)).get();
    }
    void Add(std::unique_ptr<TgtNetworkAdapter> Adapter) { FItems.push_back(std::move(Adapter)); }
    void Clear() { FItems.clear(); }

private:
    std::vector<std::unique_ptr<TgtNetworkAdapter>> FItems;
};

class TgtNetworkAdapterManager : public TComponent {
public:
    explicit TgtNetworkAdapterManager(TComponent* AOwner);

    TgtNetworkAdapters& Adapters() { return FAdapters; }

    // Reads the adapters again. On failure raises Exception with the system's message and
    // leaves Adapters empty; adapters of earlier refreshes are freed either way.
    void RefreshAdapters();

private:
    TgtNetworkAdapters FAdapters;
};

// The process's one manager, owned by Application(), created (not refreshed) on first use.
TgtNetworkAdapterManager* AdapterManager();
