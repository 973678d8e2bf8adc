#pragma once

#include "adapters/o_AdapterInformation.h"
#include "fakes/NetshState.h"
#include "ipset/ApplyVerdict.h"

#include <functional>
#include <set>

// The adapters an apply reads back: each connection shows what its netsh stand-in was asked for
// (State), unless it is Gone. Time is the fake's own: a pause passes at once.
class FakeLiveAdapters : public TLiveAdapters {
public:
    explicit FakeLiveAdapters(TNetshState& State) : FState(State) {}

    void Refresh() override {
        ++Reads;
        if (BeforeRead)
            BeforeRead();
        FAdapters.clear();
        for (const auto& C : FState)
            FAdapters[C.first] = AdapterFor(C.second);
    }
    const TgtNetworkAdapter* AdapterOf(const std::string& Connection) override {
        if (Gone.count(Connection) != 0)
            return nullptr;
        if (FAdapters.count(Connection) == 0)
            FAdapters[Connection] = AdapterFor(FState[Connection]);
        return &FAdapters[Connection];
    }
    std::uint64_t NowMs() override { return Clock; }
    void Pause(unsigned Ms) override { Clock += Ms; }

    static TgtNetworkAdapter AdapterFor(const TNetshConnection& C) {
        TAdaptorInfo Info;
        Info.DHCPEnabled = C.Dhcp ? 1 : 0;
        Info.IPAddressList = {C.Address.empty() ? "0.0.0.0" : C.Address, ""};
        Info.IPMaskList = {C.Mask.empty() ? "0.0.0.0" : C.Mask, ""};
        Info.IPAddressTot = 1;
        Info.GatewayList = {C.Gateway, ""};
        Info.GatewayTot = 1;
        Info.DNSServerList = C.Dns;
        Info.DNSServerTot = static_cast<std::int32_t>(C.Dns.size());
        AddExtras(C.Extras, Info);
        TgtNetworkAdapter Adapter;
        Adapter.LoadFromAdaptorInfo(Info);
        Adapter.SetStaticDNS(C.StaticDns);
        Adapter.SetStaticIPv6DNS(!C.Extras.IPv6Dns.empty());
        return Adapter;
    }

    // What the extra lines added, after the set's own values (the name servers are in Dns).
    static void AddExtras(const TIPSetExtras& E, TAdaptorInfo& Info) {
        for (const TExtraAddress& A : E.Addresses) {
            Info.IPAddressList.insert(Info.IPAddressList.end() - 1, A.Address);
            Info.IPMaskList.insert(Info.IPMaskList.end() - 1, A.Mask);
        }
        Info.IPAddressTot += static_cast<std::int32_t>(E.Addresses.size());
        for (const TExtraGateway& G : E.Gateways)
            Info.GatewayList.insert(Info.GatewayList.end() - 1, G.Gateway);
        Info.GatewayTot += static_cast<std::int32_t>(E.Gateways.size());
        for (const TIPv6Address& A : E.IPv6Addresses)
            Info.IPv6AddressList.push_back(
                {A.Address, static_cast<std::uint8_t>(A.PrefixLength), true});
        if (!E.IPv6Gateway.empty())
            Info.IPv6GatewayList = {E.IPv6Gateway};
        Info.IPv6DNSServerList = E.IPv6Dns;
    }

    std::set<std::string> Gone;
    std::function<void()> BeforeRead;
    int Reads = 0;
    std::uint64_t Clock = 0;

private:
    TNetshState& FState;
    std::map<std::string, TgtNetworkAdapter> FAdapters;
};
