#pragma once

#include "adapters/AdapterChain.h"

#include <string>
#include <vector>

// The adapters of the network namespace this process runs in, ordered by interface index.
// Returns false (errno set) when the system cannot be asked.
bool ReadLinuxAdapters(std::vector<TAdapterDescription>& Adapters);

// Default gateways per interface from the text of /proc/net/route, in file order.
std::vector<std::pair<std::string, std::string>> ParseDefaultRoutes(const std::string& RouteText);

// IPv4 name servers from the text of resolv.conf, in file order.
std::vector<std::string> ParseNameServers(const std::string& ResolvConf);

// The interface type number for a kernel hardware type.
std::uint32_t InterfaceTypeFor(unsigned HardwareType, bool Wireless);
