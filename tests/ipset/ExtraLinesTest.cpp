#include "ipset/ExtraLines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using TLines = std::vector<std::string>;

TIPSetValues Set(bool Dhcp, TIPv6Mode Mode) {
    TIPSetValues V{"LAN 1", Dhcp, "192.0.2.10", "255.255.255.0", "192.0.2.1", "192.0.2.53", "", {}};
    V.Extras = {{{"192.0.2.11", "255.255.255.0"}},
                {{"192.0.2.254", 20}},
                {"192.0.2.54", "192.0.2.55"},
                Mode,
                {{"2001:db8::5", 64}},
                "fe80::1",
                {"2001:db8::53", "2001:db8::54"}};
    return V;
}

TLines Lines(const TIPSetValues& V) {
    TLines Result;
    for (const TApplyStep& S : BuildApplySteps(V, {"2001:DB8:0::7", "not an address"}))
        Result.push_back(S.CommandLine);
    return Result;
}

TEST(ExtraLines, LinesAfterTheSetsOwnWithTheirProgress) {
    const TLines IPv4 = {"netsh interface ip add address \"LAN 1\" 192.0.2.11 255.255.255.0",
                         "netsh interface ip add address \"LAN 1\" gateway=192.0.2.254 gwmetric=20",
                         "netsh interface ip add dns \"LAN 1\" 192.0.2.54 index=3",
                         "netsh interface ip add dns \"LAN 1\" 192.0.2.55 index=4"};
    const TLines Static6 = {
        "netsh interface ipv6 add address \"LAN 1\" 2001:db8::5/64",
        "netsh interface ipv6 add route ::/0 \"LAN 1\" fe80::1",
        "netsh interface ipv6 set dnsservers \"LAN 1\" static 2001:db8::53 primary",
        "netsh interface ipv6 add dnsservers \"LAN 1\" 2001:db8::54 index=2"};
    const TLines Automatic6 = {"netsh interface ipv6 delete address \"LAN 1\" 2001:db8::7",
                               "netsh interface ipv6 set dnsservers \"LAN 1\" dhcp"};
    const struct {
        TIPSetValues Values;
        TLines First, Then;
    } Cases[] = {{Set(false, TIPv6Mode::Static), IPv4, Static6},
                 {Set(false, TIPv6Mode::Keep), IPv4, {}},
                 {Set(true, TIPv6Mode::Automatic), {}, Automatic6}};
    for (const auto& C : Cases) {
        TLines Expected = C.First;
        Expected.insert(Expected.end(), C.Then.begin(), C.Then.end());
        const TLines All = Lines(C.Values);
        const std::size_t Own = C.Values.Dhcp ? 2 : 3;
        EXPECT_EQ(TLines(All.begin() + Own, All.end()), Expected);
        EXPECT_TRUE(AreSafeApplyLines(All)) << All.back();
        for (std::size_t I = 0; I < All.size(); ++I)
            EXPECT_EQ(IsExtraLine(All[I]), I >= Own) << All[I];
    }
    std::vector<int> Progress;
    for (const TApplyStep& S : BuildApplySteps(Set(false, TIPv6Mode::Automatic), {}))
        Progress.push_back(S.Progress);
    EXPECT_EQ(Progress, (std::vector<int>{50, 70, 90, 91, 93, 95, 96, 98}));
}

// The elevated copy runs only lines it could have built from values that pass their checks.
TEST(ExtraLines, HelperRefusesAnyOtherShapeOrValue) {
    const TLines S = Lines(Set(false, TIPv6Mode::Static));
    const struct {
        std::size_t Line;
        std::string From, To;
    } Cases[] = {
        {4, "gwmetric=20", "gwmetric=10000"},
        {4, "gwmetric=20", "gwmetric=020"},
        {3, "255.255.255.0", "255.0.255.0"},
        {5, "index=3", "index=5"},
        {7, "2001:db8::5", "2001:DB8::5"},
        {7, "/64", "/129"},
        {8, "fe80::1", "fe80::1%3"},
        {9, "2001:db8::53", "::1"},
        {10, "LAN 1", "LAN 2"},
        {10, "add dnsservers", "reset"},
        {6, "index=4", "index=4 & calc"},
        {9, "static 2001:db8::53 primary", "dhcp"},
    };
    for (const auto& C : Cases) {
        TLines L = S;
        L[C.Line].replace(L[C.Line].find(C.From), C.From.size(), C.To);
        EXPECT_FALSE(AreSafeApplyLines(L)) << L[C.Line];
    }
    const TLines Dhcp = Lines(Set(true, TIPv6Mode::Keep));
    EXPECT_FALSE(AreSafeApplyLines({Dhcp[0], Dhcp[1], S[3]}));
    EXPECT_FALSE(
        AreSafeApplyLines({Dhcp[0], Dhcp[1], "netsh interface ipv6 delete address \"LAN 1\" all",
                           "netsh interface ipv6 set dnsservers \"LAN 1\" dhcp"}));
}

TEST(ExtraLines, BalloonLinePerAppliedValueCutAtALineEnd) {
    EXPECT_EQ(SuccessBalloonText(Set(true, TIPv6Mode::Automatic)), "DHCP: Si\rIPv6: Automatica");
    TIPSetValues V = Set(false, TIPv6Mode::Static);
    V.Extras.Dns.resize(1);
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
