#pragma once

#include <string>

class TDataSet;

// What the editor's boxes hold for one IP set, however it was entered: typed into the dialog or
// given on a command line.
struct TIPSetEntry {
    std::string Name;
    std::string IPAddress;
    std::string SubnetMask;
    std::string Gateway;
    std::string Dns;
    std::string Dns2;
    bool Dhcp = false;
    // The connection as the list shows it; empty when none is chosen.
    std::string Connection;
};

// The box each of the editor's checks is about.
enum class TIPSetBox { None, Name, IPAddress, SubnetMask, Gateway, Dns, Dns2, Connection };

struct TIPSetCheck {
    TIPSetBox Box = TIPSetBox::None; // None when every check passed
    std::string Message;
};

// The editor's seven checks, in their order: the first that fails.
TIPSetCheck CheckIPSetEntry(const TIPSetEntry& Entry);

// The name, addresses and DHCP flag of the current row; the connection is left empty.
TIPSetEntry ReadIPSetEntry(TDataSet& IPSets);

// Writes the entry into the row being inserted or edited as the editor saves it (texts trimmed,
// "0.0.0.0" in every address of a DHCP set) and posts it. "CONNECTION" is the caller's. A value
// the store refuses raises and leaves the row pending.
void PostIPSetEntry(TDataSet& IPSets, const TIPSetEntry& Entry);
