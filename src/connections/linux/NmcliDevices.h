#pragma once

#include <string>
#include <utility>
#include <vector>

// Device and connection-profile pairs, in nmcli's order, from the terse output of
// "nmcli -t -f DEVICE,CONNECTION device". A device without a profile has an empty connection.
std::vector<std::pair<std::string, std::string>> ParseNmcliDevices(const std::string& Output);

// Runs nmcli with Args (no shell); false when it cannot start or exits other than 0, which is
// how it answers when NetworkManager does not run.
bool RunNmcli(const std::vector<std::string>& Args, std::string& Output);
