#include "ipset/ExtraLines.h"

#include "ipset/ExtraChecks.h"

namespace {

const std::string V4 = "netsh interface ip ";
const std::string V6 = "netsh interface ipv6 ";

std::string Quoted(const std::string& Connection) {
    return "\"" + Connection + "\"";
}

bool IsCanonical(const std::string& Text) {
    const auto Bytes = ParseIPv6(Text);
    return Bytes && CanonicalIPv6(*Bytes) == Text;
}

void AddIPv4Lines(const std::string& C, const TIPSetExtras& E, std::vector<std::string>& Lines) {
    for (const TExtraAddress& A : E.Addresses)
        Lines.push_back(V4 + "add address " + C + " " + A.Address + " " + A.Mask);
    for (const TExtraGateway& G : E.Gateways)
        Lines.push_back(V4 + "add address " + C + " gateway=" + G.Gateway +
                        " gwmetric=" + std::to_string(G.Metric));
    // The set's own two servers are the first and second.
    for (std::size_t I = 0; I < E.Dns.size(); ++I)
        Lines.push_back(V4 + "add dns " + C + " " + E.Dns[I] + " index=" + std::to_string(I + 3));
}

void AddStaticIPv6Lines(const std::string& C, const TIPSetExtras& E,
                        std::vector<std::string>& Lines) {
    for (const TIPv6Address& A : E.IPv6Addresses)
        Lines.push_back(V6 + "add address " + C + " " + A.Address + "/" +
                        std::to_string(A.PrefixLength));
    if (!E.IPv6Gateway.empty())
        Lines.push_back(V6 + "add route ::/0 " + C + " " + E.IPv6Gateway);
    for (std::size_t I = 0; I < E.IPv6Dns.size(); ++I)
        Lines.push_back(I == 0 ? V6 + "set dnsservers " + C + " static " + E.IPv6Dns[I] + " primary"
                               : V6 + "add dnsservers " + C + " " + E.IPv6Dns[I] +
                                     " index=" + std::to_string(I + 1));
}

void AddAutomaticIPv6Lines(const std::string& C, const std::vector<std::string>& AdapterIPv6,
                           std::vector<std::string>& Lines) {
    for (const std::string& A : AdapterIPv6)
        if (const auto Bytes = ParseIPv6(A))
            Lines.push_back(V6 + "delete address " + C + " " + CanonicalIPv6(*Bytes));
    Lines.push_back(V6 + "set dnsservers " + C + " dhcp");
}

// What follows the closing quote of a line that begins with Head and a quoted name.
bool AfterName(const std::string& Line, const std::string& Head, std::string& Rest) {
    if (Line.compare(0, Head.size(), Head) != 0 || Line.size() <= Head.size() ||
        Line[Head.size()] != '"')
        return false;
    const std::size_t Close = Line.find('"', Head.size() + 1);
    if (Close == std::string::npos)
        return false;
    Rest = Line.substr(Close + 1);
    return true;
}

// The Index-th piece of Text cut at every blank.
std::string Word(const std::string& Text, std::size_t Index) {
    std::size_t Begin = 0;
    for (; Index > 0; --Index) {
        Begin = Text.find(' ', Begin);
        if (Begin == std::string::npos)
            return {};
        ++Begin;
    }
    return Text.substr(Begin, Text.find(' ', Begin) - Begin);
}

// One to Digits decimal digits, or -1.
int Number(const std::string& Text, std::size_t Digits) {
    if (Text.empty() || Text.size() > Digits ||
        Text.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    return std::stoi(Text);
}

bool GuessGateway(const std::string& Rest, TIPSetExtras& E) {
    const std::size_t Metric = Rest.find(" gwmetric=");
    if (Metric == std::string::npos)
        return false;
    const int Value = Number(Rest.substr(Metric + 10), 4);
    E.Gateways.push_back({Rest.substr(9, Metric - 9), Value});
    return Value >= 0;
}

bool GuessIPv6Address(const std::string& Rest, TIPSetExtras& E) {
    const std::string Text = Word(Rest, 1);
    const std::size_t Slash = Text.find('/');
    if (Slash == std::string::npos)
        return false;
    const int Length = Number(Text.substr(Slash + 1), 3);
    E.IPv6Addresses.push_back({Text.substr(0, Slash), Length});
    return Length >= 0;
}

bool GuessLine(const std::string& Line, TIPSetExtras& E, std::vector<std::string>& Deleted) {
    std::string R;
    if (AfterName(Line, V4 + "add address ", R)) {
        if (R.rfind(" gateway=", 0) == 0)
            return GuessGateway(R, E);
        E.Addresses.push_back({Word(R, 1), Word(R, 2)});
    } else if (AfterName(Line, V4 + "add dns ", R)) {
        E.Dns.push_back(Word(R, 1));
    } else if (AfterName(Line, V6 + "delete address ", R)) {
        E.IPv6 = TIPv6Mode::Automatic;
        Deleted.push_back(Word(R, 1));
    } else if (AfterName(Line, V6 + "set dnsservers ", R) && R == " dhcp") {
        E.IPv6 = TIPv6Mode::Automatic;
    } else {
        E.IPv6 = TIPv6Mode::Static;
        if (AfterName(Line, V6 + "add address ", R))
            return GuessIPv6Address(R, E);
        if (AfterName(Line, V6 + "add route ::/0 ", R))
            E.IPv6Gateway = Word(R, 1);
        else if (AfterName(Line, V6 + "set dnsservers ", R))
            E.IPv6Dns.push_back(Word(R, 2));
        else if (AfterName(Line, V6 + "add dnsservers ", R))
            E.IPv6Dns.push_back(Word(R, 1));
        else
            return false;
    }
    return true;
}

// The extras the set's lines carry: none of IPv4 for a DHCP set, no IPv6 values unless static.
TIPSetExtras Applied(const TIPSetValues& V) {
    TIPSetExtras Used = V.Extras;
    if (V.Dhcp) {
        Used.Addresses.clear();
        Used.Gateways.clear();
        Used.Dns.clear();
    }
    if (Used.IPv6 != TIPv6Mode::Static) {
        Used.IPv6Addresses.clear();
        Used.IPv6Gateway.clear();
        Used.IPv6Dns.clear();
    }
    return Used;
}

} // namespace

std::vector<std::string> ExtraLines(const TIPSetValues& V,
                                    const std::vector<std::string>& AdapterIPv6) {
    const std::string C = Quoted(V.Connection);
    std::vector<std::string> Lines;
    if (!V.Dhcp)
        AddIPv4Lines(C, V.Extras, Lines);
    if (V.Extras.IPv6 == TIPv6Mode::Static)
        AddStaticIPv6Lines(C, V.Extras, Lines);
    if (V.Extras.IPv6 == TIPv6Mode::Automatic)
        AddAutomaticIPv6Lines(C, AdapterIPv6, Lines);
    return Lines;
}

bool GuessExtras(const std::vector<std::string>& Lines, std::size_t From, TIPSetExtras& Extras,
                 std::vector<std::string>& AdapterIPv6) {
    for (std::size_t I = From; I < Lines.size(); ++I)
        if (!GuessLine(Lines[I], Extras, AdapterIPv6))
            return false;
    return true;
}

bool AreSafeExtras(const TIPSetValues& V) {
    const TIPSetExtras Used = Applied(V);
    if (!CheckExtras(Used).empty())
        return false;
    if (!Used.IPv6Gateway.empty() && !IsCanonical(Used.IPv6Gateway))
        return false;
    for (const TIPv6Address& A : Used.IPv6Addresses)
        if (!IsCanonical(A.Address))
            return false;
    for (const std::string& D : Used.IPv6Dns)
        if (!IsCanonical(D))
            return false;
    return true;
}

bool IsExtraLine(const std::string& Line) {
    std::string Rest;
    return Line.rfind(V6, 0) == 0 || Line.rfind(V4 + "add address ", 0) == 0 ||
           (AfterName(Line, V4 + "add dns ", Rest) && Rest.find(" index=") != std::string::npos);
}

std::vector<std::string> ExtraBalloonLines(const TIPSetValues& V) {
    const TIPSetExtras Used = Applied(V);
    std::vector<std::string> Lines;
    for (const TExtraAddress& A : Used.Addresses)
        Lines.push_back("IP adicional: " + A.Address + " " + A.Mask);
    for (const TExtraGateway& G : Used.Gateways)
        Lines.push_back("Gateway adicional: " + G.Gateway + " (metrica " +
                        std::to_string(G.Metric) + ")");
    for (const std::string& D : Used.Dns)
        Lines.push_back("DNS adicional: " + D);
    if (Used.IPv6 == TIPv6Mode::Automatic)
        Lines.push_back("IPv6: Automatica");
    for (const TIPv6Address& A : Used.IPv6Addresses)
        Lines.push_back("IPv6: " + A.Address + "/" + std::to_string(A.PrefixLength));
    if (!Used.IPv6Gateway.empty())
        Lines.push_back("Gateway IPv6: " + Used.IPv6Gateway);
    for (const std::string& D : Used.IPv6Dns)
        Lines.push_back("DNS IPv6: " + D);
    return Lines;
}
