#include "adapters/linux/LinuxAdapters.h"
#include "adapters/linux/NetworkManager.h"

#include <gtest/gtest.h>

#include <net/if_arp.h>

namespace {

TEST(LinuxAdapters_Routes, OnlyDefaultGatewayRoutes) {
    const std::string Text =
        "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n"
        "eth0\t00000000\t010200C0\t0003\t0\t0\t100\t00000000\t0\t0\t0\n"
        "eth0\t000200C0\t00000000\t0001\t0\t0\t100\t00FFFFFF\t0\t0\t0\n"
        "wlan0\t00000000\t FE0200C0\t0003\t0\t0\t600\t00000000\t0\t0\t0\n"
        "eth1\t00000000\t020200C0\t0002\t0\t0\t0\t00000000\t0\t0\t0\n"
        "tun0\t00000000\t00000000\t0001\t0\t0\t0\t00000000\t0\t0\t0\n";
    const auto Routes = ParseDefaultRoutes(Text);
    ASSERT_EQ(Routes.size(), 2u);
    EXPECT_EQ(Routes[0], (std::pair<std::string, std::string>{"eth0", "192.0.2.1"}));
    EXPECT_EQ(Routes[1], (std::pair<std::string, std::string>{"wlan0", "192.0.2.254"}));
}

TEST(LinuxAdapters_Routes, OnlyIPv6DefaultRoutesThroughANextHop) {
    const std::string Zero(32, '0'), Hop = "fe800000000000000000000000000001";
    const auto Line = [&](const std::string& To, const char* Length, const std::string& Via,
                          const char* Flags, const char* Name) {
        return To + " " + Length + " " + Zero + " 00 " + Via + " 00000400 00000002 0 " + Flags +
               " " + Name + "\n";
    };
    const auto Routes = ParseIPv6DefaultRoutes(
        Line(Zero, "00", Hop, "00000003", "eth0") + Line(Zero, "00", Zero, "00200200", "lo") +
        Line("fd000000000000000000000000000000", "40", Hop, "00000003", "eth1") +
        Line(Zero, "00", Hop, "00000002", "eth2") + "short line\n");
    EXPECT_EQ(Routes, (std::vector<std::pair<std::string, std::string>>{{"eth0", "fe80::1"}}));
}

TEST(LinuxAdapters_ResolvConf, IPv4NameServersInOrder) {
    const std::string Text = "# managed\nsearch example.org\nnameserver 192.0.2.53\n"
                             "nameserver fd00::1\n  nameserver\t192.0.2.54 \nnameserver 300.1.1.1\n"
                             "nameservers 192.0.2.99\n";
    EXPECT_EQ(ParseNameServers(Text), (std::vector<std::string>{"192.0.2.53", "192.0.2.54"}));
}

TEST(LinuxAdapters_IfInet6, AddressesPrefixesAndWhichWereSetByHand) {
    const auto IPv6 = ParseIfInet6("fe8000000000000000fc00fffe000001 04 40 20 80     eth0\n"
                                   "00000000000000000000000000000001 01 80 10 80       lo\n"
                                   "20010db8000000000000000000000010 04 30 00 80     eth0\n"
                                   "20010db80000000002aabbfffecc0001 04 40 00 00     eth0\n"
                                   "short 04 40 00 80 eth0\n");
    ASSERT_EQ(IPv6.size(), 2u);
    EXPECT_EQ(IPv6.at("eth0"),
              (std::vector<TIPv6AddressInfo>{{"fe80::fc:ff:fe00:1", 64, false},
                                             {"2001:db8::10", 48, true},
                                             {"2001:db8::2aa:bbff:fecc:1", 64, false}}));
    EXPECT_EQ(IPv6.at("lo"), (std::vector<TIPv6AddressInfo>{{"::1", 128, false}}));
}

TEST(LinuxAdapters_Type, KernelTypesMapToInterfaceTypes) {
    struct Case {
        unsigned Hardware;
        bool Wireless;
        std::uint32_t Expected;
    } Cases[] = {{ARPHRD_ETHER, false, 6},     {ARPHRD_ETHER, true, 71},
                 {ARPHRD_LOOPBACK, false, 24}, {ARPHRD_IEEE80211, false, 71},
                 {ARPHRD_NONE, false, 1},      {ARPHRD_PPP, false, 1}};
    for (const Case& C : Cases)
        EXPECT_EQ(InterfaceTypeFor(C.Hardware, C.Wireless), C.Expected) << C.Hardware;
}

TEST(NetworkManager_DeviceShow, DnsDhcpAndDescriptionPerDevice) {
    const std::string Text = "GENERAL.DEVICE:eth0\n"
                             "GENERAL.CONNECTION:Oficina\n"
                             "GENERAL.VENDOR:Intel Corporation\n"
                             "GENERAL.PRODUCT:Ethernet Connection I219-V\n"
                             "IP4.ADDRESS[1]:192.0.2.10/24\n"
                             "IP4.DNS[1]:192.0.2.53\n"
                             "IP4.DNS[2]:192.0.2.54\n"
                             "DHCP4.OPTION[1]:dhcp_server_identifier = 192.0.2.1\n"
                             "DHCP4.OPTION[2]:expiry = 1700000000\n"
                             "IP6.DNS[1]:2001:db8::53\n"
                             "IP6.DNS[2]:2001\\:db8\\:\\:54\n"
                             "\n"
                             "GENERAL.DEVICE:lo\n"
                             "GENERAL.PRODUCT:\n"
                             "IP4.ADDRESS[1]:127.0.0.1/8\n";
    const auto Devices = ParseNmDeviceShow(Text);
    ASSERT_EQ(Devices.size(), 2u);
    const TNmDevice& Eth = Devices.at("eth0");
    EXPECT_EQ(Eth.Profile, "Oficina");
    EXPECT_EQ(Eth.Description, "Intel Corporation Ethernet Connection I219-V");
    EXPECT_EQ(Eth.DnsServers, (std::vector<std::string>{"192.0.2.53", "192.0.2.54"}));
    EXPECT_TRUE(Eth.Dhcp);
    EXPECT_EQ(Eth.DhcpServer, "192.0.2.1");
    EXPECT_EQ(Eth.IPv6DnsServers, (std::vector<std::string>{"2001:db8::53", "2001:db8::54"}));
    const TNmDevice& Lo = Devices.at("lo");
    EXPECT_FALSE(Lo.Dhcp);
    EXPECT_TRUE(Lo.DnsServers.empty());
    EXPECT_EQ(Lo.Description, "");
}

// The profile's settings, not a lease, say whether a device asks for DHCP and keeps its DNS.
TEST(NetworkManager_DeviceShow, ProfileMethodAndIgnoreAutoDnsOfEachDevice) {
    struct Case {
        const char* Settings;
        bool Dhcp, StaticDns;
        bool StaticIPv6Dns;
    };
    const Case Cases[] = {
        {"ipv4.method:auto\nipv4.ignore-auto-dns:no\n", true, false, false},
        {"ipv4.method:auto\nipv4.ignore-auto-dns:yes\n", true, true, false},
        {"ipv4.method:manual\nipv4.ignore-auto-dns:no\n", false, true, false},
        {"ipv6.dns:\nipv6.ignore-auto-dns:no\n", false, false, false},
        {"ipv6.dns:2001\\:db8\\:\\:53\nipv6.ignore-auto-dns:no\n", false, false, true},
        {"ipv6.dns:\nipv6.ignore-auto-dns:yes\n", false, false, true},
    };
    for (const Case& C : Cases) {
        std::map<std::string, TNmDevice> Devices = {{"eth0", {}}, {"eth1", {}}};
        Devices["eth0"].Profile = "Oficina";
        Devices["eth1"].Profile = "Casa";
        ApplyNmProfiles(Devices, std::string("connection.id:Oficina\n") + C.Settings +
                                     "connection.id:Casa\nipv4.method:disabled\n");
        EXPECT_EQ(Devices["eth0"].Dhcp, C.Dhcp) << C.Settings;
        EXPECT_EQ(Devices["eth0"].StaticDns, C.StaticDns) << C.Settings;
        EXPECT_EQ(Devices["eth0"].StaticIPv6Dns, C.StaticIPv6Dns) << C.Settings;
        EXPECT_FALSE(Devices["eth1"].Dhcp || Devices["eth1"].StaticDns);
    }
}

} // namespace
