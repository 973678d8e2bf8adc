#pragma once

// What the stand-ins for netsh remember of what they were asked for, by connection name, and the
// text they keep it in between runs. The fake netsh of the Wine tests and the in-process fakes
// share it, so an adapter read back shows what the lines asked for.
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
inline std::string SaveNetshState(const TNetshState& State) {
    std::string Text;
    for (const auto& S : State) {
        const TNetshConnection& C = S.second;
        Text += S.first + "\t" + (C.Dhcp ? "1" : "0") + "\t" + C.Address + "\t" + C.Mask + "\t" +
                C.Gateway + "\t" + (C.StaticDns ? "1" : "0");
        for (const std::string& D : C.Dns)
            Text += "\t" + D;
        Text += "\n";
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
