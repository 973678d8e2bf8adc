#pragma once

#include "adapters/AdapterChain.h"

#include <map>
#include <string>
#include <vector>

// The adapters of the network namespace this process runs in, ordered by interface index.
// Returns false (errno set) when the system cannot be asked.
bool ReadLinuxAdapters(std::vector<TAdapterDescription>& Adapters);

// Default gateways per interface from the text of /proc/net/route, in file order.
std::vector<std::pair<std::string, std::string>> ParseDefaultRoutes(const std::string& RouteText);

// The same from the text of /proc/net/ipv6_route: the routes to ::/0 through a next hop.
std::vector<std::pair<std::string, std::string>>
ParseIPv6DefaultRoutes(const std::string& RouteText);

// IPv4 name servers from the text of resolv.conf, in file order.
std::vector<std::string> ParseNameServers(const std::string& ResolvConf);

// The IPv6 addresses per interface from the text of /proc/net/if_inet6, in file order; an
// address is static when the kernel keeps it without a lifetime and it is neither link-local
// nor loopback.
std::map<std::string, std::vector<TIPv6AddressInfo>> ParseIfInet6(const std::string& Text);

// The interface type number for a kernel hardware type.
std::uint32_t InterfaceTypeFor(unsigned HardwareType, bool Wireless);
