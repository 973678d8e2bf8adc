#pragma once

#include "ipset/IPSetCommands.h"

#include <string>
#include <vector>

class TgtNetworkAdapter;

// Whether an IP set is in force on its connection's adapter, as the adapter shows it now.
struct TInForceCheck {
    bool AdapterFound = false;
    // One line per value the adapter does not show as the set asks ("IP: se esperaba ...").
    std::vector<std::string> Differences;
    // A DHCP set in force whose adapter has no address from the server yet.
    bool AwaitingLease = false;

    bool InForce() const { return AdapterFound && Differences.empty(); }
};

// Static: the address with its mask among the adapter's, the gateway among its gateways, the two
// DNS servers in that order at the head of its list; an empty or "0.0.0.0" value is not asked
// for; each extra address with its mask and each extra gateway among the adapter's, the extra DNS
// servers in order after the two. DHCP: DHCP enabled and the DNS servers not set by hand. Then,
// for both, the IPv6 part: static, each address with its prefix length, the gateway, and the DNS
// servers in order at the head; automatic, no address set by hand and the DNS servers not set by
// hand; keep, nothing. Adapter nullptr: not present.
TInForceCheck CheckInForce(const TIPSetValues& Set, const TgtNetworkAdapter* Adapter);

// The adapter's IPv4 configuration as the values of a set that would bring it back: DHCP, or its
// first address with its mask, its first gateway and its first two DNS servers (empty where it
// has none).
TIPSetValues ConfigurationOf(const TgtNetworkAdapter& Adapter, const std::string& Connection);

// The adapter among Adapters whose connection, by the same index of Connections, is Connection.
const TgtNetworkAdapter* AdapterOfConnection(const std::vector<const TgtNetworkAdapter*>& Adapters,
                                             const std::vector<std::string>& Connections,
                                             const std::string& Connection);
