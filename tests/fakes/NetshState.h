#pragma once

// What the stand-ins for netsh remember of what they were asked for, by connection name, and the
// text they keep it in between runs. The fake netsh of the Wine tests and the in-process fakes
// share it, so an adapter read back shows what the lines asked for.
#include "ipset/ExtraLines.h"

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

// A connection nobody has asked anything of yet has static values of its own.
struct TNetshConnection {
    bool Dhcp = false;
    std::string Address = "10.0.2.15", Mask = "255.255.255.0", Gateway = "10.0.2.2";
    std::vector<std::string> Dns = {"10.0.2.3"};
    bool StaticDns = true;
    // What extra lines added: addresses, gateways, static IPv6 (name servers: in Dns).
    TIPSetExtras Extras = {};
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
    else if (Verb == V6 + "set dnsservers " && (P.size() == 2 || P.size() == 4))
        C.Extras.IPv6Dns =
            P.size() == 4 ? std::vector<std::string>{P[2]} : std::vector<std::string>{};
    else if (Verb == V6 + "add dnsservers " && P.size() == 3)
        InsertAt(C.Extras.IPv6Dns, P[2], P[1]);
    else if (Verb == V6 + "delete address " && P.size() == 2)
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
// Then "+" and a line of its extras, one a line.
inline std::string SaveNetshState(const TNetshState& State) {
    std::string Text;
    for (const auto& S : State) {
        const TNetshConnection& C = S.second;
        Text += S.first + "\t" + (C.Dhcp ? "1" : "0") + "\t" + C.Address + "\t" + C.Mask + "\t" +
                C.Gateway + "\t" + (C.StaticDns ? "1" : "0");
        for (const std::string& D : C.Dns)
            Text += "\t" + D;
        Text += "\n";
        // The extras as the lines that give them, read back through ApplyNetshLine.
        TIPSetValues Values = {S.first, false, "", "", "", "", "", C.Extras};
        Values.Extras.IPv6 = TIPv6Mode::Static;
        for (const std::string& Line : ExtraLines(Values, {}))
            Text += "+\t" + Line + "\n";
    }
    return Text;
}

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
        if (F.size() == 2 && F[0] == "+") {
            ApplyNetshLine(State, F[1]);
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
