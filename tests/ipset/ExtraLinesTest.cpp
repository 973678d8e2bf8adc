#include "ipset/ExtraLines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using TLines = std::vector<std::string>;

TIPSetValues Set(bool Dhcp, TIPv6Mode Mode) {
    TIPSetValues V;
    V.Connection = "LAN 1";
    V.Dhcp = Dhcp;
    V.IPAddress = "192.0.2.10";
    V.SubnetMask = "255.255.255.0";
    V.Gateway = "192.0.2.1";
    V.Dns = "192.0.2.53";
    V.Dns2 = "198.51.100.53";
    V.Extras.Addresses = {{"192.0.2.11", "255.255.255.0"}, {"10.0.0.5", "255.0.0.0"}};
    V.Extras.Gateways = {{"192.0.2.254", 20}};
    V.Extras.Dns = {"192.0.2.54", "192.0.2.55"};
    V.Extras.IPv6 = Mode;
    V.Extras.IPv6Addresses = {{"2001:db8::5", 64}, {"2001:db8:1::5", 48}};
    V.Extras.IPv6Gateway = "fe80::1";
    V.Extras.IPv6Dns = {"2001:db8::53", "2001:db8::54"};
    return V;
}

const TLines Adapter = {"2001:DB8:0:0::7", "2001:db8::8", "not an address"};

TLines Lines(const TIPSetValues& V, const TLines& AdapterIPv6 = Adapter) {
    TLines Result;
    for (const TApplyStep& S : BuildApplySteps(V, AdapterIPv6))
        Result.push_back(S.CommandLine);
    return Result;
}

TLines Tail(TLines All, std::size_t From) {
    return TLines(All.begin() + static_cast<long>(From), All.end());
}

TEST(ExtraLines_Lines, AfterTheSetsOwnInOrder) {
    const TLines IPv4 = {
        "netsh interface ip add address \"LAN 1\" 192.0.2.11 255.255.255.0",
        "netsh interface ip add address \"LAN 1\" 10.0.0.5 255.0.0.0",
        "netsh interface ip add address \"LAN 1\" gateway=192.0.2.254 gwmetric=20",
        "netsh interface ip add dns \"LAN 1\" 192.0.2.54 index=3",
        "netsh interface ip add dns \"LAN 1\" 192.0.2.55 index=4",
    };
    const TLines Static6 = {
        "netsh interface ipv6 add address \"LAN 1\" 2001:db8::5/64",
        "netsh interface ipv6 add address \"LAN 1\" 2001:db8:1::5/48",
        "netsh interface ipv6 add route ::/0 \"LAN 1\" fe80::1",
        "netsh interface ipv6 set dnsservers \"LAN 1\" static 2001:db8::53 primary",
        "netsh interface ipv6 add dnsservers \"LAN 1\" 2001:db8::54 index=2",
    };
    const TLines Automatic6 = {
        "netsh interface ipv6 delete address \"LAN 1\" 2001:db8::7",
        "netsh interface ipv6 delete address \"LAN 1\" 2001:db8::8",
        "netsh interface ipv6 set dnsservers \"LAN 1\" dhcp",
    };
    const auto Join = [](TLines A, const TLines& B) {
        A.insert(A.end(), B.begin(), B.end());
        return A;
    };
    const struct {
        TIPSetValues Values;
        TLines Expected;
    } Cases[] = {
        {Set(false, TIPv6Mode::Keep), IPv4},
        {Set(false, TIPv6Mode::Static), Join(IPv4, Static6)},
        {Set(false, TIPv6Mode::Automatic), Join(IPv4, Automatic6)},
        {Set(true, TIPv6Mode::Keep), {}},
        {Set(true, TIPv6Mode::Static), Static6},
    };
    for (const auto& C : Cases) {
        const TLines All = Lines(C.Values);
        EXPECT_EQ(Tail(All, C.Values.Dhcp ? 2 : 3), C.Expected);
        EXPECT_TRUE(AreSafeApplyLines(All)) << All.back();
        for (std::size_t I = 0; I < All.size(); ++I)
            EXPECT_EQ(IsExtraLine(All[I]), I >= (C.Values.Dhcp ? 2u : 3u)) << All[I];
    }
    TIPSetValues NoGateway = Set(true, TIPv6Mode::Static);
    NoGateway.Extras.IPv6Gateway.clear();
    NoGateway.Extras.IPv6Dns.resize(1);
    EXPECT_EQ(Tail(Lines(NoGateway), 2), (TLines{Static6[0], Static6[1], Static6[3]}));
}

TEST(ExtraLines_Progress, StepsEvenlyFromNinetyShortOfAHundred) {
    TIPSetValues V = Set(false, TIPv6Mode::Automatic);
    std::vector<int> Progress;
    for (const TApplyStep& S : BuildApplySteps(V, {}))
        Progress.push_back(S.Progress);
    EXPECT_EQ(Progress, (std::vector<int>{50, 70, 90, 91, 92, 94, 95, 97, 98}));
}

// The elevated copy runs only lines it could have built from safe values.
TEST(ExtraLines_Safety, OnlyTheExtrasOwnShapesAndCheckedValuesPass) {
    const TLines S = Lines(Set(false, TIPv6Mode::Static)),
                 A = Lines(Set(false, TIPv6Mode::Automatic));
    const auto Changed = [](TLines L, std::size_t I, const std::string& Line) {
        L[I] = Line;
        return L;
    };
    const struct {
        const char* Label;
        TLines Lines;
    } Refused[] = {
        {"metric out of range",
         Changed(S, 5,
                 "netsh interface ip add address \"LAN 1\" gateway=192.0.2.254 gwmetric=10000")},
        {"metric with a leading zero",
         Changed(S, 5,
                 "netsh interface ip add address \"LAN 1\" gateway=192.0.2.254 gwmetric=020")},
        {"mask with a hole",
         Changed(S, 3, "netsh interface ip add address \"LAN 1\" 192.0.2.11 255.0.255.0")},
        {"DNS out of turn",
         Changed(S, 6, "netsh interface ip add dns \"LAN 1\" 192.0.2.54 index=5")},
        {"IPv6 not canonical",
         Changed(S, 8, "netsh interface ipv6 add address \"LAN 1\" 2001:DB8::5/64")},
        {"IPv6 zone", Changed(S, 10, "netsh interface ipv6 add route ::/0 \"LAN 1\" fe80::1%3")},
        {"loopback DNS",
         Changed(S, 11, "netsh interface ipv6 set dnsservers \"LAN 1\" static ::1 primary")},
        {"prefix out of range",
         Changed(S, 8, "netsh interface ipv6 add address \"LAN 1\" 2001:db8::5/129")},
        {"another connection",
         Changed(S, 12, "netsh interface ipv6 add dnsservers \"LAN 2\" 2001:db8::54 index=2")},
        {"static and automatic mixed", Changed(S, 12, A.back())},
        {"deleting what is not an address",
         Changed(A, 8, "netsh interface ipv6 delete address \"LAN 1\" all")},
        {"another ipv6 command", Changed(A, 10, "netsh interface ipv6 reset")},
        {"IPv4 extras of a DHCP set",
         {Lines(Set(true, TIPv6Mode::Keep))[0], Lines(Set(true, TIPv6Mode::Keep))[1], S[3]}},
        {"second command after an extra", Changed(S, 7, S[7] + " & calc")},
    };
    for (const auto& C : Refused)
        EXPECT_FALSE(AreSafeApplyLines(C.Lines)) << C.Label;
}

TEST(ExtraLines_Balloon, OneLinePerAppliedValueCutAtALineEnd) {
    EXPECT_EQ(SuccessBalloonText(Set(true, TIPv6Mode::Automatic)), "DHCP: Si\rIPv6: Automatica");
    TIPSetValues V = Set(false, TIPv6Mode::Static);
    V.Extras.Addresses.resize(1);
    V.Extras.Dns.resize(1);
    V.Extras.IPv6Addresses.resize(1);
    V.Extras.IPv6Dns.resize(1);
    EXPECT_EQ(ExtraBalloonLines(V),
              (TLines{"IP adicional: 192.0.2.11 255.255.255.0",
                      "Gateway adicional: 192.0.2.254 (metrica 20)", "DNS adicional: 192.0.2.54",
                      "IPv6: 2001:db8::5/64", "Gateway IPv6: fe80::1", "DNS IPv6: 2001:db8::53"}));
    V.Extras.Dns.assign(20, "198.51.100.254");
    const std::string Text = SuccessBalloonText(V);
    EXPECT_LE(Text.size(), 255u);
    EXPECT_EQ(Text.substr(Text.size() - 14), "198.51.100.254");
}

} // namespace
