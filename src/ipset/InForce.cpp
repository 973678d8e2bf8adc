#include "ipset/InForce.h"

#include "adapters/o_AdapterInformation.h"

#include <algorithm>

namespace {

bool Asked(const std::string& Value) {
    return !Value.empty() && Value != "0.0.0.0";
}

// The real entries of a list: its spare slots and "no address" left out.
std::vector<std::string> Entries(const TStringList& List, std::int32_t Count) {
    std::vector<std::string> Result;
    for (std::size_t I = 0; I < List.size() && I < static_cast<std::size_t>(Count); ++I)
        if (Asked(List[I]))
            Result.push_back(List[I]);
    return Result;
}

std::vector<std::string> AddressesWithMasks(const TgtNetworkAdapter& A) {
    std::vector<std::string> Result;
    const std::size_t Count = static_cast<std::size_t>(std::max(A.IPAddressTot(), 0));
    for (std::size_t I = 0; I < Count && I < A.IPAddressList().size(); ++I)
        if (Asked(A.IPAddressList()[I]))
            Result.push_back(A.IPAddressList()[I] + "/" +
                             (I < A.IPMaskList().size() ? A.IPMaskList()[I] : std::string()));
    return Result;
}

std::string Joined(const std::vector<std::string>& Items) {
    std::string Text;
    for (const std::string& Item : Items)
        Text += (Text.empty() ? "" : ", ") + Item;
    return Text;
}

// "NAME: se esperaba WANTED, el adaptador tiene HAS" (or "... no tiene"); after a list of DNS
// servers, which holds commas itself, a semicolon.
std::string Difference(const std::string& Name, const std::string& Wanted,
                       const std::vector<std::string>& Has, const char* Separator = ",") {
    return Name + ": se esperaba " + Wanted + Separator + " el adaptador " +
           (Has.empty() ? "no tiene" : "tiene " + Joined(Has));
}

bool Contains(const std::vector<std::string>& List, const std::string& Item) {
    return std::find(List.begin(), List.end(), Item) != List.end();
}

void CheckStatic(const TIPSetValues& Set, const TgtNetworkAdapter& A, TInForceCheck& Check) {
    if (Asked(Set.IPAddress)) {
        const std::vector<std::string> Has = AddressesWithMasks(A);
        const bool WithMask = Asked(Set.SubnetMask);
        const std::string Wanted = WithMask ? Set.IPAddress + "/" + Set.SubnetMask : Set.IPAddress;
        const bool Found = std::any_of(Has.begin(), Has.end(), [&](const std::string& H) {
            return H == Wanted || (!WithMask && H.compare(0, Wanted.size() + 1, Wanted + "/") == 0);
        });
        if (!Found)
            Check.Differences.push_back(Difference("IP", Wanted, Has));
    }
    if (Asked(Set.Gateway)) {
        const std::vector<std::string> Has = Entries(A.GatewayList(), A.GatewayTot());
        if (!Contains(Has, Set.Gateway))
            Check.Differences.push_back(Difference("Gateway", Set.Gateway, Has));
    }
    std::vector<std::string> Wanted;
    for (const std::string* Dns : {&Set.Dns, &Set.Dns2})
        if (Asked(*Dns))
            Wanted.push_back(*Dns);
    const std::vector<std::string> Has = Entries(A.DNSServerList(), A.DNSServerTot());
    if (Has.size() < Wanted.size() || !std::equal(Wanted.begin(), Wanted.end(), Has.begin()))
        Check.Differences.push_back(Difference("DNS", Joined(Wanted), Has, ";"));
}

void CheckDhcp(const TgtNetworkAdapter& A, TInForceCheck& Check) {
    if (!A.DHCPEnabled())
        Check.Differences.push_back("DHCP: se esperaba Si, el adaptador tiene No");
    if (A.StaticDNS())
        Check.Differences.push_back(
            "DNS: se esperaba del servidor DHCP, el adaptador tiene fijos " +
            Joined(Entries(A.DNSServerList(), A.DNSServerTot())));
    if (!Check.Differences.empty())
        return;
    // Without a server the system gives itself a link-local address, which is no lease.
    const std::vector<std::string> Has = Entries(A.IPAddressList(), A.IPAddressTot());
    Check.AwaitingLease = std::none_of(Has.begin(), Has.end(), [](const std::string& H) {
        return H.compare(0, 8, "169.254.") != 0;
    });
}

} // namespace

TInForceCheck CheckInForce(const TIPSetValues& Set, const TgtNetworkAdapter* Adapter) {
    TInForceCheck Check;
    if (Adapter == nullptr)
        return Check;
    Check.AdapterFound = true;
    if (Set.Dhcp)
        CheckDhcp(*Adapter, Check);
    else
        CheckStatic(Set, *Adapter, Check);
    return Check;
}

TIPSetValues ConfigurationOf(const TgtNetworkAdapter& Adapter, const std::string& Connection) {
    TIPSetValues V;
    V.Connection = Connection;
    V.Dhcp = Adapter.DHCPEnabled();
    if (V.Dhcp)
        return V;
    const std::vector<std::string> Addresses = AddressesWithMasks(Adapter);
    if (!Addresses.empty()) {
        const std::size_t Slash = Addresses[0].find('/');
        V.IPAddress = Addresses[0].substr(0, Slash);
        V.SubnetMask = Addresses[0].substr(Slash + 1);
    }
    const std::vector<std::string> Gateways = Entries(Adapter.GatewayList(), Adapter.GatewayTot());
    if (!Gateways.empty())
        V.Gateway = Gateways[0];
    const std::vector<std::string> Dns = Entries(Adapter.DNSServerList(), Adapter.DNSServerTot());
    if (!Dns.empty())
        V.Dns = Dns[0];
    if (Dns.size() > 1)
        V.Dns2 = Dns[1];
    return V;
}

const TgtNetworkAdapter* AdapterOfConnection(const std::vector<const TgtNetworkAdapter*>& Adapters,
                                             const std::vector<std::string>& Connections,
                                             const std::string& Connection) {
    for (std::size_t I = 0; I < Adapters.size() && I < Connections.size(); ++I)
        if (!Connection.empty() && Connections[I] == Connection)
            return Adapters[I];
    return nullptr;
}
