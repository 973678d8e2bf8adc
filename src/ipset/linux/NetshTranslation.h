#pragma once

#include <optional>
#include <string>
#include <vector>

using TArgv = std::vector<std::string>;

// What one of the netsh lines an apply builds asks of NetworkManager: new settings for the
// named connection profile, and how they take effect.
struct TNmcliChange {
    std::string Connection;
    TArgv Settings;    // property and value pairs for "nmcli connection modify"
    bool Dhcp = false; // the line belongs to a DHCP set
    // Name servers only: an active connection takes them without being re-activated.
    bool DnsOnly = false;
    // The line sets the address, which takes the extra gateways of the set before away too.
    bool ResetsGateways = false;
};

// None when the line has another shape or carries a value NetworkManager cannot be given (a
// mask that is not contiguous).
std::optional<TNmcliChange> TranslateNetshLine(const std::string& Line);

// Every command names the profile after "id", so that a name nmcli would read as one of its own
// words ("help", "uuid", "--help") is still taken as the name.
TArgv ModifyCommand(const TNmcliChange& Change);
// A DHCP activation returns once NetworkManager has accepted it, as netsh does; a static one
// waits for the address to be in place, at most 15 seconds (nmcli ends with a failure after).
TArgv ActivateCommand(const TNmcliChange& Change);
// Prints the device the profile is active on (first line); nothing when it is not active.
TArgv ActiveDevicesCommand(const std::string& Connection);
TArgv ReapplyCommand(const std::string& Device);
// Prints the profile's routes, ", " between them.
TArgv RoutesCommand(const std::string& Connection);
// The settings that remove the routes an extra gateway adds ("0.0.0.0/0 G N", nothing more) from
// what RoutesCommand printed; the profile's other routes stay.
TArgv DropGatewayRoutes(const std::string& Routes);

// The prefix length of a dotted-quad mask, or -1 when it is not one.
int MaskPrefixLength(const std::string& Mask);
