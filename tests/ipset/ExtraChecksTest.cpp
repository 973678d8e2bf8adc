#include "ipset/ExtraChecks.h"

#include <gtest/gtest.h>

namespace {

struct IPv6Case {
    const char* Text;
    const char* Canonical; // nullptr: not a host address
};

// Host addresses in their canonical text, and what a strict reader refuses.
const IPv6Case IPv6Cases[] = {
    {"2001:db8::10", "2001:db8::10"},
    {"2001:DB8:0:0:0:0:0:10", "2001:db8::10"},
    {"2001:0db8:0000:0001:0000:0000:0000:0001", "2001:db8:0:1::1"},
    {"2001:db8:0:0:1:0:0:1", "2001:db8::1:0:0:1"},    // the first of two equal runs
    {"2001:db8:1:1:1:1:1:0", "2001:db8:1:1:1:1:1:0"}, // one zero group is not compressed
    {"fe80::1", "fe80::1"},
    {"::2", "::2"},
    {"1::", "1::"},
    {"::", nullptr},              // unspecified
    {"::1", nullptr},             // loopback
    {"ff02::1", nullptr},         // multicast
    {"::ffff:c000:201", nullptr}, // IPv4-mapped
    {"::ffff:192.0.2.1", nullptr},
    {"fe80::1%eth0", nullptr},
    {"2001:db8::1::2", nullptr},
    {"2001:db8:0:0:0:0:0:0:1", nullptr},
    {"2001:db8::10000", nullptr},
    {"2001:db8:::1", nullptr},
    {":2001:db8::1", nullptr},
    {"2001:db8::1 ", nullptr},
    {"2001:db8:g::1", nullptr},
    {"", nullptr},
};

TEST(IPv6Text, StrictHostAddressesAndTheirCanonicalText) {
    for (const IPv6Case& C : IPv6Cases) {
        SCOPED_TRACE(C.Text);
        EXPECT_EQ(IsIPv6HostAddress(C.Text), C.Canonical != nullptr);
        if (C.Canonical) {
            EXPECT_EQ(CanonicalIPv6(*ParseIPv6(C.Text)), C.Canonical);
        }
    }
}

TEST(ExtraChecks, EachEntryAndTheFirstFailureOfAll) {
    EXPECT_EQ(CheckExtraAddress({"192.0.2.11", "255.255.255.0"}), "");
    EXPECT_EQ(CheckExtraAddress({"192.0.2.011", "255.255.255.0"}),
              "La direccion IP adicional no es valida.");
    EXPECT_EQ(CheckExtraAddress({"192.0.2.11", "255.0.255.0"}),
              "La mascara de red de la direccion adicional no es valida.");
    EXPECT_EQ(CheckExtraAddress({"192.0.2.11", "0.0.0.0"}),
              "La mascara de red de la direccion adicional no es valida.");
    EXPECT_EQ(CheckExtraGateway({"192.0.2.254", 9999}), "");
    EXPECT_EQ(CheckExtraGateway({"192.0.2.254", 0}),
              "La metrica del gateway debe estar entre 1 y 9999.");
    EXPECT_EQ(CheckExtraDns("0.0.0.0"), "El servidor DNS adicional no es valido.");
    EXPECT_EQ(CheckIPv6Address({"2001:db8::10", 129}),
              "La longitud de prefijo debe estar entre 1 y 128.");
    EXPECT_EQ(CheckIPv6Gateway(""), "");
    EXPECT_EQ(CheckIPv6Gateway("ff02::2"), "La direccion del gateway IPv6 no es valida.");

    TIPSetExtras E;
    E.Dns = {"192.0.2.53", "1.2.3"};
    E.IPv6Dns = {"::1"};
    EXPECT_EQ(CheckExtras(E), "El servidor DNS adicional no es valido.");
    E.Dns.pop_back();
    EXPECT_EQ(CheckExtras(E), "El servidor DNS IPv6 no es valido.");
    E.IPv6Dns = {"2001:db8::53"};
    EXPECT_EQ(CheckExtras(E), "");
}

} // namespace
