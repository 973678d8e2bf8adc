#pragma once

#include "data/IPSetExtras.h"

#include <string>
#include <utility>
#include <vector>

// The caption and value of each extra a set applies, in the order they are applied: the extra
// IPv4 values unless the set uses DHCP, then the IPv6 mode unless it is "keep", and the static
// IPv6 values only with "static". A set without extras has none.
std::vector<std::pair<std::string, std::string>> ExtraCaptions(const TIPSetExtras& Extras,
                                                               bool Dhcp);
