#pragma once

// What the stand-ins for netsh remember of what they were asked for, by connection name, and the
// text they keep it in between runs. The fake netsh of the Wine tests and the in-process fakes
// share it, so an adapter read back shows what the lines asked for.
#include "data/IPSetExtras.h"

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

// What a set's extras added to a connection, as netsh keeps it.
struct TNetshExtras {
    std::vector<TExtraAddress> Addresses;
    std::vector<TExtraGateway> Gateways;
    std::vector<TIPv6Address> IPv6Addresses; // static ones
    std::string IPv6Gateway;
    std::vector<std::string> IPv6Dns;
    bool StaticIPv6Dns = false;
};

// A connection nobody has asked anything of yet has static values of its own.
struct TNetshConnection {
    bool Dhcp = false;
    std::string Address = "10.0.2.15", Mask = "255.255.255.0", Gateway = "10.0.2.2";
    std::vector<std::string> Dns = {"10.0.2.3"};
    bool StaticDns = true;
    TNetshExtras Extras = {};
};

using TNetshState = std::map<std::string, TNetshConnection>;

// The address a DHCP server hands out; empty for none.
struct TNetshLease {
    std::string Address = "10.0.2.15", Mask = "255.255.255.0";
};

namespace netsh_state {

// The pieces of Text cut at every single blank.
inline std::vector<std::string> Pieces(const std::string& Text) {
    std::vector<std::string> Result(1);
    for (char Ch : Text)
        if (Ch == ' ')
            Result.emplace_back();
        else
            Result.back() += Ch;
    return Result;
}

// Inserts Value at the 1-based position "index=K" names, or at the end when there is none yet.
inline void InsertAt(std::vector<std::string>& List, const std::string& Index,
                     const std::string& Value) {
    const std::size_t K = Index.rfind("index=", 0) == 0 ? std::stoul("0" + Index.substr(6)) : 0;
    List.insert(List.begin() + static_cast<long>(std::min(K > 0 ? K - 1 : 0, List.size())), Value);
}

// An address the connection has already is not added twice.
inline void AddOnce(std::vector<TIPv6Address>& List, const TIPv6Address& Address) {
    if (std::find(List.begin(), List.end(), Address) == List.end())
        List.push_back(Address);
}

// The lines of a set's extras; false for another line.
inline bool ApplyExtraLine(TNetshConnection& C, const std::string& Verb,
                           const std::vector<std::string>& P) {
    const std::string V6 = "netsh interface ipv6 ";
    if (Verb == "netsh interface ip add address " && P.size() == 3 &&
        P[1].rfind("gateway=", 0) == 0)
        C.Extras.Gateways.push_back({P[1].substr(8), std::stoi("0" + P[2].substr(9))});
    else if (Verb == "netsh interface ip add address " && P.size() == 3)
        C.Extras.Addresses.push_back({P[1], P[2]});
    else if (Verb == "netsh interface ip add dns " && P.size() == 3 && P[2] != "2")
        InsertAt(C.Dns, P[2], P[1]);
    else if (Verb == V6 + "add address " && P.size() == 2 && P[1].find('/') != std::string::npos)
        AddOnce(C.Extras.IPv6Addresses,
                {P[1].substr(0, P[1].find('/')), std::stoi("0" + P[1].substr(P[1].find('/') + 1))});
    else if (Verb == V6 + "add route ::/0 " && P.size() == 2)
        C.Extras.IPv6Gateway = P[1];
    else if (Verb == V6 + "set dnsservers " && P.size() == 2 && P[1] == "dhcp") {
        C.Extras.StaticIPv6Dns = false;
        C.Extras.IPv6Dns.clear();
    } else if (Verb == V6 + "set dnsservers " && P.size() == 4) {
        C.Extras.StaticIPv6Dns = true;
        C.Extras.IPv6Dns = {P[2]};
    } else if (Verb == V6 + "add dnsservers " && P.size() == 3) {
        C.Extras.StaticIPv6Dns = true;
        InsertAt(C.Extras.IPv6Dns, P[2], P[1]);
    } else if (Verb == V6 + "delete address " && P.size() == 2)
        C.Extras.IPv6Addresses.erase(
            std::remove_if(C.Extras.IPv6Addresses.begin(), C.Extras.IPv6Addresses.end(),
                           [&](const TIPv6Address& A) { return A.Address == P[1]; }),
            C.Extras.IPv6Addresses.end());
    else
        return false;
    return true;
}

} // namespace netsh_state

// Carries out one of an apply's lines as netsh would.
inline void ApplyNetshLine(TNetshState& State, const std::string& Line,
                           const TNetshLease& Lease = {}) {
    const std::size_t Open = Line.find('"'), Close = Line.find('"', Open + 1);
    if (Open == std::string::npos || Close == std::string::npos)
        return;
    TNetshConnection& C = State[Line.substr(Open + 1, Close - Open - 1)];
    const std::string Verb = Line.substr(0, Open);
    const std::vector<std::string> P = netsh_state::Pieces(Line.substr(Close + 1));
    const bool Dhcp = P.size() > 2 && P[2] == "dhcp";
    // Setting the address replaces every address and gateway, the extra ones too.
    if (Verb == "netsh interface ip set address ") {
        C.Extras.Addresses.clear();
        C.Extras.Gateways.clear();
    }
    if (netsh_state::ApplyExtraLine(C, Verb, P))
        return;
    if (Verb == "netsh interface ip set address " && Dhcp) {
        C.Dhcp = true;
        C.Address = Lease.Address;
        C.Mask = Lease.Mask;
        C.Gateway.clear();
    } else if (Verb == "netsh interface ip set address " && P.size() > 5) {
        C.Dhcp = false;
        C.Address = P[3];
        C.Mask = P[4];
        C.Gateway = P[5];
    } else if (Verb == "netsh interface ip set dns " && Dhcp) {
        C.StaticDns = false;
        C.Dns = {"10.0.2.3"};
    } else if (Verb == "netsh interface ip set dns " && P.size() > 3) {
        C.StaticDns = true;
        C.Dns = {P[3]};
    } else if (Verb == "netsh interface ip add dns " && P.size() > 1) {
        C.Dns.push_back(P[1]);
    }
}

// One line a connection: name, DHCP, address, mask, gateway, static DNS, DNS servers; tabs apart.
// Then its extras, one line each: name, "+" and what it is, the value's parts.
inline std::string SaveNetshState(const TNetshState& State) {
    std::string Text;
    for (const auto& S : State) {
        const TNetshConnection& C = S.second;
        Text += S.first + "\t" + (C.Dhcp ? "1" : "0") + "\t" + C.Address + "\t" + C.Mask + "\t" +
                C.Gateway + "\t" + (C.StaticDns ? "1" : "0");
        for (const std::string& D : C.Dns)
            Text += "\t" + D;
        Text += "\n";
        for (const TExtraAddress& A : C.Extras.Addresses)
            Text += S.first + "\t+address\t" + A.Address + "\t" + A.Mask + "\n";
        for (const TExtraGateway& G : C.Extras.Gateways)
            Text += S.first + "\t+gateway\t" + G.Gateway + "\t" + std::to_string(G.Metric) + "\n";
        for (const TIPv6Address& A : C.Extras.IPv6Addresses)
            Text +=
                S.first + "\t+ipv6\t" + A.Address + "\t" + std::to_string(A.PrefixLength) + "\n";
        if (!C.Extras.IPv6Gateway.empty())
            Text += S.first + "\t+ipv6gateway\t" + C.Extras.IPv6Gateway + "\n";
        if (C.Extras.StaticIPv6Dns) {
            Text += S.first + "\t+ipv6dns";
            for (const std::string& D : C.Extras.IPv6Dns)
                Text += "\t" + D;
            Text += "\n";
        }
    }
    return Text;
}

namespace netsh_state {

inline void LoadExtra(TNetshConnection& C, const std::vector<std::string>& F) {
    if (F[1] == "+address" && F.size() == 4)
        C.Extras.Addresses.push_back({F[2], F[3]});
    else if (F[1] == "+gateway" && F.size() == 4)
        C.Extras.Gateways.push_back({F[2], std::stoi(F[3])});
    else if (F[1] == "+ipv6" && F.size() == 4)
        C.Extras.IPv6Addresses.push_back({F[2], std::stoi(F[3])});
    else if (F[1] == "+ipv6gateway" && F.size() == 3)
        C.Extras.IPv6Gateway = F[2];
    else if (F[1] == "+ipv6dns") {
        C.Extras.StaticIPv6Dns = true;
        C.Extras.IPv6Dns.assign(F.begin() + 2, F.end());
    }
}

} // namespace netsh_state

inline TNetshState LoadNetshState(const std::string& Text) {
    TNetshState State;
    std::istringstream In(Text);
    std::string Line;
    while (std::getline(In, Line)) {
        std::vector<std::string> F(1);
        for (char Ch : Line)
            if (Ch == '\t')
                F.emplace_back();
            else
                F.back() += Ch;
        if (F.size() >= 2 && F[1].rfind('+', 0) == 0) {
            netsh_state::LoadExtra(State[F[0]], F);
            continue;
        }
        if (F.size() < 6)
            continue;
        TNetshConnection& C = State[F[0]];
        C.Dhcp = F[1] == "1";
        C.Address = F[2];
        C.Mask = F[3];
        C.Gateway = F[4];
        C.StaticDns = F[5] == "1";
        C.Dns.assign(F.begin() + 6, F.end());
    }
    return State;
}
