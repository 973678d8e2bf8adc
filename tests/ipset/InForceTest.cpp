#include "ipset/InForce.h"

#include "adapters/o_AdapterInformation.h"

#include <gtest/gtest.h>

namespace {

struct Live {
    bool Dhcp = false;
    std::vector<std::pair<std::string, std::string>> Addresses;
    std::vector<std::string> Gateways;
    std::vector<std::string> Dns;
    bool StaticDns = false;
};

// Lists with a spare empty slot after the real ones, as the enumeration leaves them.
TgtNetworkAdapter AdapterOf(const Live& L) {
    TAdaptorInfo Info;
    Info.DHCPEnabled = L.Dhcp ? 1 : 0;
    for (const auto& A : L.Addresses) {
        Info.IPAddressList.push_back(A.first);
        Info.IPMaskList.push_back(A.second);
    }
    Info.IPAddressTot = static_cast<std::int32_t>(L.Addresses.size());
    Info.GatewayList = L.Gateways;
    Info.GatewayTot = static_cast<std::int32_t>(L.Gateways.size());
    Info.DNSServerList = L.Dns;
    Info.DNSServerTot = static_cast<std::int32_t>(L.Dns.size());
    for (TStringArray* List :
         {&Info.IPAddressList, &Info.IPMaskList, &Info.GatewayList, &Info.DNSServerList})
        List->push_back("");
    TgtNetworkAdapter Adapter;
    Adapter.LoadFromAdaptorInfo(Info);
    Adapter.SetStaticDNS(L.StaticDns);
    return Adapter;
}

TIPSetValues Static(std::string Ip, std::string Mask, std::string Gw, std::string Dns,
                    std::string Dns2) {
    return {"LAN 1", false, Ip, Mask, Gw, Dns, Dns2, {}};
}

const TIPSetValues Example =
    Static("192.0.2.10", "255.255.255.0", "192.0.2.1", "192.0.2.53", "198.51.100.53");
const TIPSetValues Dhcp = {"LAN 1",   true,      "0.0.0.0", "0.0.0.0",
                           "0.0.0.0", "0.0.0.0", "0.0.0.0", {}};
const Live InForce = {
    false, {{"192.0.2.10", "255.255.255.0"}}, {"192.0.2.1"}, {"192.0.2.53", "198.51.100.53"}, true};

TEST(InForce, ComparesTheSetWithTheLiveAdapter) {
    struct Case {
        const char* Name;
        TIPSetValues Set;
        Live Adapter;
        std::vector<std::string> Differences;
        bool AwaitingLease = false;
    };
    const Case Cases[] = {
        {"static in force", Example, InForce, {}},
        {"address among others, more DNS after the two",
         Example,
         {true,
          {{"10.0.0.5", "255.0.0.0"}, {"192.0.2.10", "255.255.255.0"}},
          {"10.0.0.1", "192.0.2.1"},
          {"192.0.2.53", "198.51.100.53", "10.0.0.1"}},
         {}},
        {"everything else",
         Example,
         {false, {{"10.0.0.5", "255.0.0.0"}}, {}, {"10.0.0.1"}},
         {"IP: se esperaba 192.0.2.10/255.255.255.0, el adaptador tiene 10.0.0.5/255.0.0.0",
          "Gateway: se esperaba 192.0.2.1, el adaptador no tiene",
          "DNS: se esperaba 192.0.2.53, 198.51.100.53; el adaptador tiene 10.0.0.1"}},
        {"same address, other mask",
         Example,
         {false, {{"192.0.2.10", "255.255.0.0"}}, {"192.0.2.1"}, {"192.0.2.53", "198.51.100.53"}},
         {"IP: se esperaba 192.0.2.10/255.255.255.0, el adaptador tiene 192.0.2.10/255.255.0.0"}},
        {"DNS in the other order",
         Example,
         {false, {{"192.0.2.10", "255.255.255.0"}}, {"192.0.2.1"}, {"198.51.100.53", "192.0.2.53"}},
         {"DNS: se esperaba 192.0.2.53, 198.51.100.53; el adaptador tiene 198.51.100.53, "
          "192.0.2.53"}},
        {"empty and 0.0.0.0 values are not asked for",
         Static("192.0.2.10", "255.255.255.0", "0.0.0.0", "", "0.0.0.0"),
         {false, {{"192.0.2.10", "255.255.255.0"}}, {}, {}},
         {}},
        {"DHCP in force", Dhcp, {true, {{"10.0.0.7", "255.0.0.0"}}, {}, {"10.0.0.1"}}, {}},
        {"DHCP without a lease yet",
         Dhcp,
         {true, {{"0.0.0.0", "0.0.0.0"}, {"169.254.3.4", "255.255.0.0"}}, {}, {}},
         {},
         true},
        {"DHCP off, DNS still set by hand",
         Dhcp,
         InForce,
         {"DHCP: se esperaba Si, el adaptador tiene No",
          "DNS: se esperaba del servidor DHCP, el adaptador tiene fijos 192.0.2.53, "
          "198.51.100.53"}},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        const TgtNetworkAdapter Adapter = AdapterOf(C.Adapter);
        const TInForceCheck Check = CheckInForce(C.Set, &Adapter);
        EXPECT_EQ(Check.Differences, C.Differences);
        EXPECT_EQ(Check.InForce(), C.Differences.empty());
        EXPECT_EQ(Check.AwaitingLease, C.AwaitingLease);
    }
    EXPECT_FALSE(CheckInForce(Example, nullptr).AdapterFound);
    EXPECT_FALSE(CheckInForce(Example, nullptr).InForce());
}

TEST(InForce, ConnectionFindsTheAdapterOfTheSameIndex) {
    const TgtNetworkAdapter A, B;
    const std::vector<const TgtNetworkAdapter*> Adapters = {&A, &B};
    EXPECT_EQ(AdapterOfConnection(Adapters, {"Wi-Fi", "LAN 1"}, "LAN 1"), &B);
    EXPECT_EQ(AdapterOfConnection(Adapters, {"Wi-Fi", "LAN 1"}, "LAN 2"), nullptr);
    EXPECT_EQ(AdapterOfConnection(Adapters, {"", ""}, ""), nullptr);
}

} // namespace
