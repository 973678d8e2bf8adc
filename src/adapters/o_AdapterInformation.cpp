#include "adapters/o_AdapterInformation.h"

#include "base/Exception.h"
#include "base/SysError.h"
#include "base/TApplication.h"
#include "base/TextUtils.h"

#include <utility>

void TgtNetworkAdapter::CopyFrom(const TgtNetworkAdapter& Source) {
    *this = Source;
}

void TgtNetworkAdapter::LoadFromAdaptorInfo(TAdaptorInfo Info) {
    FAdapterName = Utf16ToUtf8(Info.AdapterName);
    FDescription = Utf16ToUtf8(Info.Description);
    FFriendlyName = Utf16ToUtf8(Info.FriendlyName);
    FMacAddress = std::move(Info.MacAddress);
    FCurrIPAddress = std::move(Info.CurrIPAddress);
    FCurrIPMask = std::move(Info.CurrIPMask);
    FCurrDNSServer = std::move(Info.CurrDNSServer);

    FAdaptorIndex = Info.AdaptorIndex;
    FAdaptorType = Info.AdaptorType;
    FDHCPEnabled = Info.DHCPEnabled == 1;
    FHasWINS = Info.HasWINS != 0;
    FIPAddressTot = Info.IPAddressTot;
    FGatewayTot = Info.GatewayTot;
    FDHCPTot = Info.DHCPTot;
    FDNSServerTot = Info.DNSServerTot;
    FPrimaryWINSTot = Info.PrimaryWINSTot;
    FSecondaryWINSTot = Info.SecondaryWINSTot;
    FAnycastIPAddrTot = Info.AnycastIPAddrTot;
    FMulticastIPAddrTot = Info.MulticastIPAddrTot;
    FLeaseObtained = Info.LeaseObtained;
    FLeaseExpires = Info.LeaseExpires;
    FAutoConfigEnabled = Info.AutoConfigEnabled;
    FAutoConfigActive = Info.AutoConfigActive;
    FMtu = Info.Mtu;
    FIfType = Info.IfType;
    FOperStatus = Info.OperStatus;
    FIpv6Index = Info.Ipv6Index;
    FXmitLinkSpeed = Info.XmitLinkSpeed;
    FRecvLinkSpeed = Info.RecvLinkSpeed;
    FIpv4Metric = Info.Ipv4Metric;
    FIpv6Metric = Info.Ipv6Metric;
    FLuid = Info.Luid;
    FCompartmentId = Info.CompartmentId;
    FNetworkGuid = Info.NetworkGuid;
    FConnectionType = Info.ConnectionType;
    FTunnelType = Info.TunnelType;

    // Every slot, spare ones included: the counts say how many are real.
    FIPAddressList = std::move(Info.IPAddressList);
    FIPMaskList = std::move(Info.IPMaskList);
    FGatewayList = std::move(Info.GatewayList);
    FDHCPList = std::move(Info.DHCPList);
    FDNSServerList = std::move(Info.DNSServerList);
    FPrimaryWINSList = std::move(Info.PrimaryWINSList);
    FSecondaryWINSList = std::move(Info.SecondaryWINSList);
    FAnycastIPAddrList = std::move(Info.AnycastIPAddrList);
    FMulticastIPAddrList = std::move(Info.MulticastIPAddrList);
    FPrefixIPAddrList = std::move(Info.PrefixIPAddrList);
    FIPv6AddressList = std::move(Info.IPv6AddressList);
    FIPv6GatewayList = std::move(Info.IPv6GatewayList);
    FIPv6DNSServerList = std::move(Info.IPv6DNSServerList);
}

std::vector<std::string> TgtNetworkAdapter::StaticIPv6Addresses() const {
    std::vector<std::string> Result;
    for (const TIPv6AddressInfo& A : FIPv6AddressList)
        if (A.Static)
            Result.push_back(A.Address);
    return Result;
}

TgtNetworkAdapterManager::TgtNetworkAdapterManager(TComponent* AOwner) : TComponent(AOwner) {}

namespace {

// The last error explains the failure; when none is set, saying "success" would be false, so
// the enumeration's own answer is explained instead.
std::string FailureText(std::uint32_t Result) {
    const unsigned LastError = LastOSError();
    return SysErrorMessage(LastError != 0 ? LastError : IpHelperResultToOSError(Result));
}

} // namespace

void TgtNetworkAdapterManager::RefreshAdapters() {
    FAdapters.Clear();
    TAdaptorRows Rows;
    std::int32_t Count = 0;
    const std::uint32_t Result = ReadAdaptorRows(Count, Rows);
    if (Result != ERROR_SUCCESS_CODE)
        throw Exception(FailureText(Result));
    for (std::int32_t I = 0; I < Count; ++I) {
        auto Adapter = std::make_unique<TgtNetworkAdapter>();
        Adapter->LoadFromAdaptorInfo(std::move(Rows[static_cast<std::size_t>(I)]));
        Adapter->SetStaticDNS(AdapterDnsIsStatic(Adapter->AdapterName()));
        Adapter->SetStaticIPv6DNS(AdapterIPv6DnsIsStatic(Adapter->AdapterName()));
        FAdapters.Add(std::move(Adapter));
    }
}

TgtNetworkAdapterManager* AdapterManager() {
    return Application().SingleInstance<TgtNetworkAdapterManager>();
}
