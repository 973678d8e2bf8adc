#include "adapters/linux/NetworkManager.h"

#include "base/TextUtils.h"
#include "base/linux/Process.h"
#include "base/linux/SystemBus.h"

#include <sstream>

namespace {

std::string AfterPrefix(const std::string& Text, const std::string& Prefix) {
    return Text.compare(0, Prefix.size(), Prefix) == 0 ? Trim(Text.substr(Prefix.size()))
                                                       : std::string();
}

// Hands each "KEY: VALUE" line of nmcli's output to Take, the value trimmed.
template <typename TTake> void ForEachField(const std::string& Output, TTake Take) {
    std::istringstream In(Output);
    std::string Line;
    while (std::getline(In, Line)) {
        const std::size_t Colon = Line.find(':');
        if (Colon != std::string::npos)
            Take(Line.substr(0, Colon), Trim(Line.substr(Colon + 1)));
    }
}

// Terse output escapes the colons of a value (IPv6 texts have many) and the backslash.
std::string Unescaped(const std::string& Value) {
    std::string Text;
    for (std::size_t I = 0; I < Value.size(); ++I)
        Text += Value[I] == '\\' && I + 1 < Value.size() ? Value[++I] : Value[I];
    return Text;
}

} // namespace

bool NetworkManagerRunning() {
    return SystemBusNameHasOwner("org.freedesktop.NetworkManager");
}

std::optional<std::map<std::string, TNmDevice>> ReadNmDevices() {
    const TProcessResult Run =
        RunProcess({"nmcli", "-t", "-f", "GENERAL,IP4,DHCP4,IP6", "device", "show"});
    if (Run.ExitCode != 0)
        return std::nullopt;
    std::map<std::string, TNmDevice> Devices = ParseNmDeviceShow(Run.Output);
    std::vector<std::string> Show = {"nmcli",
                                     "-t",
                                     "-f",
                                     "connection.id,ipv4.method,ipv4.ignore-auto-dns,"
                                     "ipv6.dns,ipv6.ignore-auto-dns",
                                     "connection",
                                     "show"};
    for (const auto& D : Devices)
        if (!D.second.Profile.empty())
            Show.insert(Show.end(), {"id", D.second.Profile});
    if (Show.size() > 6)
        ApplyNmProfiles(Devices, RunProcess(Show).Output);
    return Devices;
}

void ApplyNmProfiles(std::map<std::string, TNmDevice>& Devices, const std::string& Output) {
    std::vector<TNmDevice*> Current;
    ForEachField(Output, [&](const std::string& Key, const std::string& Value) {
        if (Key == "connection.id") {
            Current.clear();
            for (auto& D : Devices)
                if (D.second.Profile == Value)
                    Current.push_back(&D.second);
        }
        for (TNmDevice* D : Current) {
            if (Key == "ipv4.method" && Value == "auto")
                D->Dhcp = true;
            else if (Key == "ipv4.method" && Value == "manual")
                D->StaticDns = true;
            else if (Key == "ipv4.ignore-auto-dns" && Value == "yes")
                D->StaticDns = true;
            else if ((Key == "ipv6.dns" && !Value.empty()) ||
                     (Key == "ipv6.ignore-auto-dns" && Value == "yes"))
                D->StaticIPv6Dns = true;
        }
    });
}

std::map<std::string, TNmDevice> ParseNmDeviceShow(const std::string& Output) {
    std::map<std::string, TNmDevice> Devices;
    TNmDevice* Current = nullptr;
    std::string Vendor;
    ForEachField(Output, [&](const std::string& Key, const std::string& Value) {
        if (Key == "GENERAL.DEVICE") {
            Current = &Devices[Value];
            Vendor.clear();
        } else if (Current == nullptr) {
            return;
        } else if (Key == "GENERAL.CONNECTION") {
            Current->Profile = Value;
        } else if (Key == "GENERAL.VENDOR") {
            Vendor = Value;
        } else if (Key == "GENERAL.PRODUCT") {
            Current->Description = Trim(Vendor + " " + Value);
        } else if (Key.compare(0, 8, "IP4.DNS[") == 0) {
            Current->DnsServers.push_back(Value);
        } else if (Key.compare(0, 8, "IP6.DNS[") == 0) {
            Current->IPv6DnsServers.push_back(Unescaped(Value));
        } else if (Key.compare(0, 13, "DHCP4.OPTION[") == 0) {
            Current->Dhcp = true;
            const std::string Server = AfterPrefix(Value, "dhcp_server_identifier =");
            if (!Server.empty())
                Current->DhcpServer = Server;
        }
    });
    return Devices;
}
