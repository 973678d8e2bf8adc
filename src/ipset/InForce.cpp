#include "ipset/InForce.h"

#include "adapters/o_AdapterInformation.h"
#include "ipset/ExtraChecks.h"

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

// The address with its mask among the adapter's; without a mask, with any mask.
void CheckAddress(const std::string& Address, const std::string& Mask, const TgtNetworkAdapter& A,
                  TInForceCheck& Check) {
    const std::vector<std::string> Has = AddressesWithMasks(A);
    const bool WithMask = Asked(Mask);
    const std::string Wanted = WithMask ? Address + "/" + Mask : Address;
    const bool Found = std::any_of(Has.begin(), Has.end(), [&](const std::string& H) {
        return H == Wanted || (!WithMask && H.compare(0, Wanted.size() + 1, Wanted + "/") == 0);
    });
    if (!Found)
        Check.Differences.push_back(Difference("IP", Wanted, Has));
}

void CheckMember(const char* Name, const std::string& Wanted, const std::vector<std::string>& Has,
                 TInForceCheck& Check) {
    if (!Contains(Has, Wanted))
        Check.Differences.push_back(Difference(Name, Wanted, Has));
}

// The servers wanted, in that order, at the head of the adapter's list.
void CheckServers(const char* Name, const std::vector<std::string>& Wanted,
                  const std::vector<std::string>& Has, TInForceCheck& Check) {
    if (Has.size() < Wanted.size() || !std::equal(Wanted.begin(), Wanted.end(), Has.begin()))
        Check.Differences.push_back(Difference(Name, Joined(Wanted), Has, ";"));
}

void CheckStatic(const TIPSetValues& Set, const TgtNetworkAdapter& A, TInForceCheck& Check) {
    if (Asked(Set.IPAddress))
        CheckAddress(Set.IPAddress, Set.SubnetMask, A, Check);
    for (const TExtraAddress& Extra : Set.Extras.Addresses)
        CheckAddress(Extra.Address, Extra.Mask, A, Check);
    const std::vector<std::string> Gateways = Entries(A.GatewayList(), A.GatewayTot());
    if (Asked(Set.Gateway))
        CheckMember("Gateway", Set.Gateway, Gateways, Check);
    for (const TExtraGateway& Extra : Set.Extras.Gateways)
        CheckMember("Gateway", Extra.Gateway, Gateways, Check);
    std::vector<std::string> Wanted;
    for (const std::string* Dns : {&Set.Dns, &Set.Dns2})
        if (Asked(*Dns))
            Wanted.push_back(*Dns);
    Wanted.insert(Wanted.end(), Set.Extras.Dns.begin(), Set.Extras.Dns.end());
    CheckServers("DNS", Wanted, Entries(A.DNSServerList(), A.DNSServerTot()), Check);
}

// Texts of one address compare equal however they are written.
std::string Canonical(const std::string& Text) {
    const auto Bytes = ParseIPv6(Text);
    return Bytes ? CanonicalIPv6(*Bytes) : Text;
}

std::vector<std::string> Canonical(const std::vector<std::string>& Texts) {
    std::vector<std::string> Result;
    for (const std::string& Text : Texts)
        Result.push_back(Canonical(Text));
    return Result;
}

std::vector<std::string> IPv6WithPrefixes(const TgtNetworkAdapter& A, bool OnlyStatic) {
    std::vector<std::string> Result;
    for (const TIPv6AddressInfo& Address : A.IPv6AddressList())
        if (Address.Static || !OnlyStatic)
            Result.push_back(Address.Address + "/" + std::to_string(Address.PrefixLength));
    return Result;
}

void CheckIPv6Static(const TIPSetExtras& E, const TgtNetworkAdapter& A, TInForceCheck& Check) {
    const std::vector<std::string> Has = IPv6WithPrefixes(A, false);
    for (const TIPv6Address& Address : E.IPv6Addresses)
        CheckMember("IPv6", Canonical(Address.Address) + "/" + std::to_string(Address.PrefixLength),
                    Has, Check);
    if (!E.IPv6Gateway.empty())
        CheckMember("Gateway IPv6", Canonical(E.IPv6Gateway), A.IPv6GatewayList(), Check);
    CheckServers("DNS IPv6", Canonical(E.IPv6Dns), A.IPv6DNSServerList(), Check);
}

void CheckIPv6Automatic(const TgtNetworkAdapter& A, TInForceCheck& Check) {
    for (const std::string& Fixed : IPv6WithPrefixes(A, true))
        Check.Differences.push_back("IPv6: se esperaba automatica, el adaptador tiene fija " +
                                    Fixed);
    if (A.StaticIPv6DNS())
        Check.Differences.push_back("DNS IPv6: se esperaba automaticos, el adaptador tiene fijos " +
                                    Joined(A.IPv6DNSServerList()));
}

void CheckIPv6(const TIPSetExtras& E, const TgtNetworkAdapter& A, TInForceCheck& Check) {
    if (E.IPv6 == TIPv6Mode::Static)
        CheckIPv6Static(E, A, Check);
    else if (E.IPv6 == TIPv6Mode::Automatic)
        CheckIPv6Automatic(A, Check);
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
    CheckIPv6(Set.Extras, *Adapter, Check);
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
