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

struct Live6 {
    std::vector<TIPv6AddressInfo> Addresses;
    std::vector<std::string> Gateways;
    std::vector<std::string> Dns;
    bool StaticDns = false;
};

// Lists with a spare empty slot after the real ones, as the enumeration leaves them.
TgtNetworkAdapter AdapterOf(const Live& L, const Live6& V6 = {}) {
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
    Info.IPv6AddressList = V6.Addresses;
    Info.IPv6GatewayList = V6.Gateways;
    Info.IPv6DNSServerList = V6.Dns;
    TgtNetworkAdapter Adapter;
    Adapter.LoadFromAdaptorInfo(Info);
    Adapter.SetStaticDNS(L.StaticDns);
    Adapter.SetStaticIPv6DNS(V6.StaticDns);
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

TIPSetValues WithExtras(TIPSetValues Set, TIPSetExtras Extras) {
    Set.Extras = std::move(Extras);
    return Set;
}

TEST(InForce, EveryExtraValueIsAskedForWithItsOwnLine) {
    TIPSetExtras V4;
    V4.Addresses = {{"192.0.2.11", "255.255.255.0"}};
    V4.Gateways = {{"192.0.2.2", 20}};
    V4.Dns = {"192.0.2.54"};
    TIPSetExtras V6;
    V6.IPv6 = TIPv6Mode::Static;
    V6.IPv6Addresses = {{"2001:db8::10", 64}};
    V6.IPv6Gateway = "2001:db8::1";
    V6.IPv6Dns = {"2001:db8::53", "2001:db8::54"};
    TIPSetExtras Auto = V6; // the static values kept, not asked for
    Auto.IPv6 = TIPv6Mode::Automatic;
    const Live Both = {false,
                       {{"192.0.2.10", "255.255.255.0"}, {"192.0.2.11", "255.255.255.0"}},
                       {"192.0.2.1", "192.0.2.2"},
                       {"192.0.2.53", "198.51.100.53", "192.0.2.54"},
                       true};
    const TIPv6AddressInfo Fixed = {"2001:db8::10", 64, true};
    const TIPv6AddressInfo Learnt = {"fe80::1", 64, false};
    struct Case {
        const char* Name;
        TIPSetValues Set;
        Live Adapter;
        Live6 IPv6;
        std::vector<std::string> Differences;
    };
    const Live DhcpLive = {true, {{"10.0.0.7", "255.0.0.0"}}, {}, {"10.0.0.1"}, false};
    const Case Cases[] = {
        {"IPv4 extras in force", WithExtras(Example, V4), Both, {}, {}},
        {"IPv4 extras missing",
         WithExtras(Example, V4),
         InForce,
         {},
         {"IP: se esperaba 192.0.2.11/255.255.255.0, el adaptador tiene "
          "192.0.2.10/255.255.255.0",
          "Gateway: se esperaba 192.0.2.2, el adaptador tiene 192.0.2.1",
          "DNS: se esperaba 192.0.2.53, 198.51.100.53, 192.0.2.54; el adaptador tiene "
          "192.0.2.53, 198.51.100.53"}},
        {"a DHCP set skips the IPv4 extras", WithExtras(Dhcp, V4), DhcpLive, {}, {}},
        {"static IPv6 in force",
         WithExtras(Example, V6),
         InForce,
         {{Learnt, Fixed}, {"2001:db8::1"}, {"2001:db8::53", "2001:db8::54"}, true},
         {}},
        {"static IPv6 missing, other prefix, DNS in the other order",
         WithExtras(Example, V6),
         InForce,
         {{{"2001:db8::10", 48, true}}, {}, {"2001:db8::54", "2001:db8::53"}, true},
         {"IPv6: se esperaba 2001:db8::10/64, el adaptador tiene 2001:db8::10/48",
          "Gateway IPv6: se esperaba 2001:db8::1, el adaptador no tiene",
          "DNS IPv6: se esperaba 2001:db8::53, 2001:db8::54; el adaptador tiene 2001:db8::54, "
          "2001:db8::53"}},
        {"the IPv6 part of a DHCP set",
         WithExtras(Dhcp, Auto),
         DhcpLive,
         {{Fixed}, {}, {}, false},
         {"IPv6: se esperaba automatica, el adaptador tiene fija 2001:db8::10/64"}},
        {"automatic in force",
         WithExtras(Example, Auto),
         InForce,
         {{Learnt, {"2001:db8::99", 64, false}}, {"fe80::fe"}, {"2001:db8::53"}, false},
         {}},
        {"automatic with an address and DNS still set by hand",
         WithExtras(Example, Auto),
         InForce,
         {{Learnt, Fixed}, {}, {"2001:db8::53"}, true},
         {"IPv6: se esperaba automatica, el adaptador tiene fija 2001:db8::10/64",
          "DNS IPv6: se esperaba automaticos, el adaptador tiene fijos 2001:db8::53"}},
        {"keep asks nothing of IPv6", Example, InForce, {{Fixed}, {}, {"2001:db8::53"}, true}, {}},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        const TgtNetworkAdapter Adapter = AdapterOf(C.Adapter, C.IPv6);
        EXPECT_EQ(CheckInForce(C.Set, &Adapter).Differences, C.Differences);
    }
}

TEST(InForce, ConnectionFindsTheAdapterOfTheSameIndex) {
    const TgtNetworkAdapter A, B;
    const std::vector<const TgtNetworkAdapter*> Adapters = {&A, &B};
    EXPECT_EQ(AdapterOfConnection(Adapters, {"Wi-Fi", "LAN 1"}, "LAN 1"), &B);
    EXPECT_EQ(AdapterOfConnection(Adapters, {"Wi-Fi", "LAN 1"}, "LAN 2"), nullptr);
    EXPECT_EQ(AdapterOfConnection(Adapters, {"", ""}, ""), nullptr);
}

} // namespace
