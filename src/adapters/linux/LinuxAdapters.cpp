#include "adapters/linux/LinuxAdapters.h"

#include "adapters/linux/NetworkManager.h"
#include "base/TextUtils.h"
#include "ipset/ExtraChecks.h"

#include <algorithm>
#include <arpa/inet.h>
#include <fstream>
#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <map>
#include <net/if_arp.h>
#include <netinet/in.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/stat.h>

namespace {

constexpr std::uint32_t TypeOther = 1;
constexpr std::uint32_t TypeEthernet = 6;
constexpr std::uint32_t TypeLoopback = 24;
constexpr std::uint32_t TypeWireless = 71;

std::string ReadText(const std::string& Path) {
    std::ifstream In(Path);
    std::ostringstream Out;
    Out << In.rdbuf();
    return Out.str();
}

bool Exists(const std::string& Path) {
    struct stat St;
    return stat(Path.c_str(), &St) == 0;
}

std::string Dotted(const sockaddr* Address) {
    char Text[INET_ADDRSTRLEN] = {};
    if (Address == nullptr || Address->sa_family != AF_INET)
        return "0.0.0.0";
    inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(Address)->sin_addr, Text, sizeof Text);
    return Text;
}

std::string Canonical(const std::string& Text) {
    const auto Bytes = ParseIPv6(Text);
    return Bytes ? CanonicalIPv6(*Bytes) : Text;
}

void AddIPv6(TAdapterDescription& A, const TNmDevice& D) {
    for (const std::string& Dns : D.IPv6DnsServers)
        A.IPv6DnsServers.push_back(Canonical(Dns));
    A.StaticIPv6Dns = D.StaticIPv6Dns;
}

// The 32 hex digits the kernel writes an IPv6 address as.
TIPv6Bytes HexBytes(const std::string& Hex) {
    TIPv6Bytes Bytes;
    for (std::size_t I = 0; I < Bytes.size(); ++I)
        Bytes[I] = static_cast<std::uint8_t>(std::stoul(Hex.substr(2 * I, 2), nullptr, 16));
    return Bytes;
}

// The driver's name is the best the kernel says of most devices; the name itself otherwise.
std::string KernelDescription(const std::string& Name) {
    const std::string Uevent = ReadText("/sys/class/net/" + Name + "/device/uevent");
    std::istringstream In(Uevent);
    std::string Line;
    while (std::getline(In, Line))
        if (Line.compare(0, 7, "DRIVER=") == 0)
            return Line.substr(7);
    return Name;
}

TAdapterDescription& AdapterFor(std::map<std::string, TAdapterDescription>& ByName,
                                const std::string& Name) {
    TAdapterDescription& A = ByName[Name];
    A.Name = Name;
    return A;
}

void ReadLinkLayer(const ifaddrs& Entry, TAdapterDescription& A) {
    const auto* Link = reinterpret_cast<const sockaddr_ll*>(Entry.ifa_addr);
    A.Index = static_cast<std::uint32_t>(Link->sll_ifindex);
    const std::size_t Length = std::min<std::size_t>(Link->sll_halen, 8);
    A.HardwareAddress.assign(Link->sll_addr, Link->sll_addr + Length);
    const bool Wireless = Exists("/sys/class/net/" + A.Name + "/wireless") ||
                          Exists("/sys/class/net/" + A.Name + "/phy80211");
    A.Type = InterfaceTypeFor(Link->sll_hatype, Wireless);
}

void AddConfiguration(std::vector<TAdapterDescription>& Adapters) {
    for (const auto& Route : ParseDefaultRoutes(ReadText("/proc/net/route")))
        for (TAdapterDescription& A : Adapters)
            if (A.Name == Route.first)
                A.Gateways.push_back(Route.second);
    for (const auto& Route : ParseIPv6DefaultRoutes(ReadText("/proc/net/ipv6_route")))
        for (TAdapterDescription& A : Adapters)
            if (A.Name == Route.first)
                A.IPv6Gateways.push_back(Route.second);

    // Asked once per enumeration: when NetworkManager does not run, nmcli only complains.
    const auto Devices = NetworkManagerRunning() ? ReadNmDevices() : std::nullopt;
    if (Devices) {
        for (TAdapterDescription& A : Adapters) {
            const auto It = Devices->find(A.Name);
            if (It == Devices->end())
                continue;
            if (!It->second.Description.empty())
                A.Description = It->second.Description;
            A.DnsServers = It->second.DnsServers;
            A.DhcpEnabled = It->second.Dhcp ? 1 : 0;
            A.StaticDns = It->second.StaticDns;
            if (!It->second.DhcpServer.empty())
                A.DhcpServers.push_back(It->second.DhcpServer);
            AddIPv6(A, It->second);
        }
        return;
    }
    const std::vector<std::string> Servers = ParseNameServers(ReadText("/etc/resolv.conf"));
    for (TAdapterDescription& A : Adapters)
        if (A.Type != TypeLoopback)
            A.DnsServers = Servers;
}

} // namespace

std::uint32_t InterfaceTypeFor(unsigned HardwareType, bool Wireless) {
    if (HardwareType == ARPHRD_LOOPBACK)
        return TypeLoopback;
    if (HardwareType == ARPHRD_IEEE80211 || Wireless)
        return TypeWireless;
    if (HardwareType == ARPHRD_ETHER)
        return TypeEthernet;
    return TypeOther;
}

bool ReadLinuxAdapters(std::vector<TAdapterDescription>& Adapters) {
    ifaddrs* List = nullptr;
    if (getifaddrs(&List) != 0)
        return false;
    std::map<std::string, TAdapterDescription> ByName;
    for (const ifaddrs* Entry = List; Entry != nullptr; Entry = Entry->ifa_next) {
        if (Entry->ifa_addr == nullptr)
            continue;
        TAdapterDescription& A = AdapterFor(ByName, Entry->ifa_name);
        if (Entry->ifa_addr->sa_family == AF_PACKET)
            ReadLinkLayer(*Entry, A);
        else if (Entry->ifa_addr->sa_family == AF_INET)
            A.Addresses.push_back({Dotted(Entry->ifa_addr), Dotted(Entry->ifa_netmask)});
    }
    freeifaddrs(List);

    Adapters.clear();
    for (auto& Item : ByName) {
        // An interface seen only through IPv6 has no link entry: it is no adapter for us.
        if (Item.second.Index == 0)
            continue;
        Item.second.Description = KernelDescription(Item.first);
        Adapters.push_back(std::move(Item.second));
    }
    std::sort(Adapters.begin(), Adapters.end(),
              [](const TAdapterDescription& L, const TAdapterDescription& R) {
                  return L.Index < R.Index;
              });
    const auto IPv6 = ParseIfInet6(ReadText("/proc/net/if_inet6"));
    for (TAdapterDescription& A : Adapters) {
        const auto It = IPv6.find(A.Name);
        if (It != IPv6.end())
            A.IPv6Addresses = It->second;
    }
    AddConfiguration(Adapters);
    return true;
}

std::vector<std::pair<std::string, std::string>> ParseDefaultRoutes(const std::string& RouteText) {
    std::vector<std::pair<std::string, std::string>> Routes;
    std::istringstream In(RouteText);
    std::string Line;
    std::getline(In, Line); // the column titles
    while (std::getline(In, Line)) {
        std::istringstream Fields(Line);
        std::string Name, Destination, Gateway, Flags, RefCnt, Use, Metric, Mask;
        if (!(Fields >> Name >> Destination >> Gateway >> Flags >> RefCnt >> Use >> Metric >> Mask))
            continue;
        const unsigned long FlagBits = std::stoul(Flags, nullptr, 16);
        constexpr unsigned long RouteUp = 0x1, RouteGateway = 0x2;
        if (Destination != "00000000" || Mask != "00000000" || (FlagBits & RouteUp) == 0 ||
            (FlagBits & RouteGateway) == 0)
            continue;
        // The kernel prints the address word as it lies in memory: network order as is.
        in_addr Address;
        Address.s_addr = static_cast<in_addr_t>(std::stoul(Gateway, nullptr, 16));
        char Text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &Address, Text, sizeof Text);
        Routes.emplace_back(Name, Text);
    }
    return Routes;
}

std::vector<std::string> ParseNameServers(const std::string& ResolvConf) {
    std::vector<std::string> Servers;
    std::istringstream In(ResolvConf);
    std::string Line;
    while (std::getline(In, Line)) {
        std::istringstream Fields(Line);
        std::string Keyword, Server;
        in_addr Parsed;
        if (Fields >> Keyword >> Server && Keyword == "nameserver" &&
            inet_pton(AF_INET, Server.c_str(), &Parsed) == 1)
            Servers.push_back(Server);
    }
    return Servers;
}

std::map<std::string, std::vector<TIPv6AddressInfo>> ParseIfInet6(const std::string& Text) {
    constexpr unsigned long Permanent = 0x80; // IFA_F_PERMANENT: no lifetime, nobody renews it
    std::map<std::string, std::vector<TIPv6AddressInfo>> Result;
    std::istringstream In(Text);
    std::string Line;
    while (std::getline(In, Line)) {
        std::istringstream Fields(Line);
        std::string Hex, Index, Prefix, Scope, Flags, Name;
        if (!(Fields >> Hex >> Index >> Prefix >> Scope >> Flags >> Name) || Hex.size() != 32)
            continue;
        const TIPv6Bytes Bytes = HexBytes(Hex);
        // The link's own address and loopback are permanent too, but nobody set them by hand.
        const std::string Address = CanonicalIPv6(Bytes);
        const bool Own = (Bytes[0] == 0xfe && (Bytes[1] & 0xc0) == 0x80) || Address == "::1";
        const bool Static = (std::stoul(Flags, nullptr, 16) & Permanent) != 0 && !Own;
        Result[Name].push_back(
            {Address, static_cast<std::uint8_t>(std::stoul(Prefix, nullptr, 16)), Static});
    }
    return Result;
}

std::vector<std::pair<std::string, std::string>>
ParseIPv6DefaultRoutes(const std::string& RouteText) {
    constexpr unsigned long RouteUp = 0x1, RouteGateway = 0x2;
    std::vector<std::pair<std::string, std::string>> Routes;
    std::istringstream In(RouteText);
    std::string Line;
    while (std::getline(In, Line)) {
        std::istringstream Fields(Line);
        std::string Destination, Length, Source, SourceLength, NextHop, Metric, RefCnt, Use, Flags,
            Name;
        if (!(Fields >> Destination >> Length >> Source >> SourceLength >> NextHop >> Metric >>
              RefCnt >> Use >> Flags >> Name) ||
            NextHop.size() != 32)
            continue;
        const unsigned long FlagBits = std::stoul(Flags, nullptr, 16);
        if (Length != "00" || Destination != std::string(32, '0') || (FlagBits & RouteUp) == 0 ||
            (FlagBits & RouteGateway) == 0)
            continue;
        Routes.emplace_back(Name, CanonicalIPv6(HexBytes(NextHop)));
    }
    return Routes;
}
