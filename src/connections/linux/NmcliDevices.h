#pragma once

#include <string>
#include <utility>
#include <vector>

// Device and connection-profile pairs, in nmcli's order, from the terse output of
// "nmcli -t -f DEVICE,CONNECTION device". A device without a profile has an empty connection.
std::vector<std::pair<std::string, std::string>> ParseNmcliDevices(const std::string& Output);
