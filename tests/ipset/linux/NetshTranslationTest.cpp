#include "ipset/linux/NetshTranslation.h"

#include <gtest/gtest.h>

namespace {

TEST(NetshTranslation_Mask, PrefixLengthOnlyForContiguousMasks) {
    const struct {
        const char* Mask;
        int Length;
    } Cases[] = {
        {"255.255.255.0", 24},
        {"255.255.255.255", 32},
        {"0.0.0.0", 0},
        {"255.255.254.0", 23},
        {"128.0.0.0", 1},
        {"255.0.255.0", -1},
        {"255.255.255.1", -1},
        {"256.0.0.0", -1},
        {"255.255.255", -1},
        {"255.255.255.0.0", -1},
        {"", -1},
        {"255..255.0", -1},
        {"0255.0.0.0", -1},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(MaskPrefixLength(C.Mask), C.Length) << C.Mask;
}

TEST(NetshTranslation_Lines, FiveShapesBecomeSettingsOfTheNamedProfile) {
    const struct {
        const char* Line;
        TArgv Settings;
        bool Dhcp;
        bool DnsOnly;
    } Cases[] = {
        {"netsh interface ip set address \"LAN 1\"  static 192.0.2.10 255.255.255.0 192.0.2.1 1",
         {"ipv4.method", "manual", "ipv4.addresses", "192.0.2.10/24", "ipv4.gateway", "192.0.2.1"},
         false,
         false},
        {"netsh interface ip set address \"LAN 1\"  static 192.0.2.10 255.255.0.0 0.0.0.0 1",
         {"ipv4.method", "manual", "ipv4.addresses", "192.0.2.10/16", "ipv4.gateway", ""},
         false,
         false},
        {"netsh interface ip set address \"LAN 1\"  static 192.0.2.10 255.255.255.0  1",
         {"ipv4.method", "manual", "ipv4.addresses", "192.0.2.10/24", "ipv4.gateway", ""},
         false,
         false},
        {"netsh interface ip set dns \"LAN 1\"  static 192.0.2.53 primary",
         {"ipv4.ignore-auto-dns", "yes", "ipv4.dns", "192.0.2.53"},
         false,
         true},
        {"netsh interface ip add dns \"LAN 1\" 198.51.100.53 2",
         {"+ipv4.dns", "198.51.100.53"},
         false,
         true},
        {"netsh interface ip set address \"LAN 1\"  dhcp ",
         {"ipv4.method", "auto", "ipv4.addresses", "", "ipv4.gateway", ""},
         true,
         false},
        {"netsh interface ip set dns \"LAN 1\"  dhcp ",
         {"ipv4.ignore-auto-dns", "no", "ipv4.dns", ""},
         true,
         true},
    };
    for (const auto& C : Cases) {
        const auto Change = TranslateNetshLine(C.Line);
        ASSERT_TRUE(Change.has_value()) << C.Line;
        EXPECT_EQ(Change->Connection, "LAN 1") << C.Line;
        EXPECT_EQ(Change->Settings, C.Settings) << C.Line;
        EXPECT_EQ(Change->Dhcp, C.Dhcp) << C.Line;
        EXPECT_EQ(Change->DnsOnly, C.DnsOnly) << C.Line;
    }
}

TEST(NetshTranslation_Lines, OtherShapesAndRefusedValuesAreNotUnderstood) {
    const char* Cases[] = {
        "",
        "netsh interface ip show config",
        "netsh interface ip set address \"LAN 1\" static 192.0.2.10 255.255.255.0 192.0.2.1 1",
        "netsh interface ip set address \"LAN 1\"  static 192.0.2.10 255.0.255.0 192.0.2.1 1",
        "netsh interface ip set address \"LAN 1\"  static 192.0.2.10 255.255.255.0 192.0.2.1 2",
        "netsh interface ip set address \"LAN 1\"  dhcp",
        "netsh interface ip set dns \"LAN 1\"  static 192.0.2.53 secondary",
        "netsh interface ip add dns \"LAN 1\" 198.51.100.53 3",
        "netsh interface ip add dns \"LAN 1 198.51.100.53 2",
        "rm -rf / interface ip set dns \"LAN 1\"  dhcp ",
        "netsh interface ip add address \"LAN 1\" 10.0.0.5 255.0.255.0",
    };
    for (const char* Line : Cases)
        EXPECT_FALSE(TranslateNetshLine(Line).has_value()) << Line;
}

} // namespace
