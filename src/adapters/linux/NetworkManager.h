#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

// What NetworkManager knows of a device that the kernel does not.
struct TNmDevice {
    std::string Description; // vendor and product
    std::vector<std::string> DnsServers;
    bool Dhcp = false; // a lease is held, or the profile asks for one
    std::string DhcpServer;
    std::string Profile; // the connection profile active on the device
    bool StaticDns = false;
    std::vector<std::string> IPv6DnsServers;
    bool StaticIPv6Dns = false;
};

// Asks the system bus, starting no process: without NetworkManager there is nothing to read.
bool NetworkManagerRunning();

// The devices as nmcli shows them; none when nmcli is missing or fails.
std::optional<std::map<std::string, TNmDevice>> ReadNmDevices();

// The parsing of nmcli's terse "device show" output, kept apart so it can be tested.
std::map<std::string, TNmDevice> ParseNmDeviceShow(const std::string& Output);

// Takes the IPv4 method and ignore-auto-dns, and whether the IPv6 DNS servers are set by hand,
// of each device's profile from the terse output of "connection show" for the fields
// connection.id, ipv4.method, ipv4.ignore-auto-dns, ipv6.dns and ipv6.ignore-auto-dns.
void ApplyNmProfiles(std::map<std::string, TNmDevice>& Devices, const std::string& Output);
