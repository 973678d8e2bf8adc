#pragma once

#include <map>
#include <string>
#include <vector>

// What NetworkManager knows of a device that the kernel does not.
struct TNmDevice {
    std::string Description; // vendor and product
    std::vector<std::string> DnsServers;
    bool Dhcp = false;
    std::string DhcpServer;
};

// Asks nmcli (started with an argument vector, never through a shell). Empty when nmcli is
// missing or NetworkManager is not running; the bool says which source to trust.
bool NetworkManagerRunning();
std::map<std::string, TNmDevice> ReadNmDevices();

// The parsing of nmcli's terse "device show" output, kept apart so it can be tested.
std::map<std::string, TNmDevice> ParseNmDeviceShow(const std::string& Output);
