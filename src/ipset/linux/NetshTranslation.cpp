#include "ipset/linux/NetshTranslation.h"

#include <algorithm>

namespace {

std::vector<std::string> SplitOnBlanks(const std::string& Text) {
    std::vector<std::string> Parts(1);
    for (char Ch : Text) {
        if (Ch == ' ')
            Parts.emplace_back();
        else
            Parts.back() += Ch;
    }
    return Parts;
}

// netsh takes "0.0.0.0" for no gateway, as the DHCP sets store it.
std::string Gateway(const std::string& G) {
    return G == "0.0.0.0" ? std::string() : G;
}

using TRest = std::vector<std::string>;

std::optional<TNmcliChange> SetAddress(const std::string& C, const TRest& R) {
    if (R == TRest{"", "", "dhcp", ""})
        return TNmcliChange{C,
                            {"ipv4.method", "auto", "ipv4.addresses", "", "ipv4.gateway", ""},
                            true,
                            false,
                            true};
    if (R.size() != 7 || R[0] != "" || R[1] != "" || R[2] != "static" || R[6] != "1")
        return std::nullopt;
    const int Length = MaskPrefixLength(R[4]);
    if (Length < 0)
        return std::nullopt;
    return TNmcliChange{C,
                        {"ipv4.method", "manual", "ipv4.addresses",
                         R[3] + "/" + std::to_string(Length), "ipv4.gateway", Gateway(R[5])},
                        false,
                        false,
                        true};
}

// Returning to DHCP takes the name servers from the DHCP server again.
std::optional<TNmcliChange> SetDns(const std::string& C, const TRest& R) {
    if (R == TRest{"", "", "dhcp", ""})
        return TNmcliChange{C, {"ipv4.ignore-auto-dns", "no", "ipv4.dns", ""}, true, true};
    if (R.size() != 5 || R[0] != "" || R[1] != "" || R[2] != "static" || R[4] != "primary")
        return std::nullopt;
    return TNmcliChange{C, {"ipv4.ignore-auto-dns", "yes", "ipv4.dns", R[3]}, false, true};
}

// The set's second server ("2"), or an extra one after it ("index=3" on).
std::optional<TNmcliChange> AddDns(const std::string& C, const TRest& R) {
    if (R.size() != 3 || R[0] != "" || (R[2] != "2" && R[2].rfind("index=", 0) != 0))
        return std::nullopt;
    return TNmcliChange{C, {"+ipv4.dns", R[1]}, false, true};
}

// An extra address with its mask, or an extra gateway with its metric as a default route.
std::optional<TNmcliChange> AddAddress(const std::string& C, const TRest& R) {
    const std::string Gateway = "gateway=", Metric = "gwmetric=";
    if (R.size() == 3 && R[0] == "" && R[1].rfind(Gateway, 0) == 0 && R[2].rfind(Metric, 0) == 0)
        return TNmcliChange{C,
                            {"+ipv4.routes", "0.0.0.0/0 " + R[1].substr(Gateway.size()) + " " +
                                                 R[2].substr(Metric.size())}};
    const int Length = R.size() == 3 && R[0] == "" ? MaskPrefixLength(R[2]) : -1;
    if (Length < 0)
        return std::nullopt;
    return TNmcliChange{C, {"+ipv4.addresses", R[1] + "/" + std::to_string(Length)}};
}

std::optional<TNmcliChange> AddAddress6(const std::string& C, const TRest& R) {
    if (R.size() != 2 || R[0] != "")
        return std::nullopt;
    return TNmcliChange{C, {"ipv6.method", "manual", "+ipv6.addresses", R[1]}};
}

std::optional<TNmcliChange> AddRoute6(const std::string& C, const TRest& R) {
    if (R.size() != 2 || R[0] != "")
        return std::nullopt;
    return TNmcliChange{C, {"ipv6.gateway", R[1]}};
}

// Back to automatic: router advertisements, and name servers from them or DHCPv6.
std::optional<TNmcliChange> SetDns6(const std::string& C, const TRest& R) {
    if (R == TRest{"", "dhcp"})
        return TNmcliChange{C,
                            {"ipv6.method", "auto", "ipv6.addresses", "", "ipv6.gateway", "",
                             "ipv6.ignore-auto-dns", "no", "ipv6.dns", ""}};
    if (R.size() != 4 || R[0] != "" || R[1] != "static" || R[3] != "primary")
        return std::nullopt;
    return TNmcliChange{C, {"ipv6.ignore-auto-dns", "yes", "ipv6.dns", R[2]}};
}

std::optional<TNmcliChange> AddDns6(const std::string& C, const TRest& R) {
    if (R.size() != 3 || R[0] != "" || R[2].rfind("index=", 0) != 0)
        return std::nullopt;
    return TNmcliChange{C, {"+ipv6.dns", R[1]}};
}

// NetworkManager removes a profile's address only when given its prefix length too, which the
// line does not carry; "automatic" removes every static address, so this line already does.
std::optional<TNmcliChange> DeleteAddress6(const std::string& C, const TRest& R) {
    if (R.size() != 2 || R[0] != "")
        return std::nullopt;
    return TNmcliChange{C, {"ipv6.method", "auto", "ipv6.addresses", "", "ipv6.gateway", ""}};
}

} // namespace

int MaskPrefixLength(const std::string& Mask) {
    const std::vector<std::string> Octets = SplitOnBlanks([&] {
        std::string S = Mask;
        for (char& Ch : S)
            if (Ch == '.')
                Ch = ' ';
        return S;
    }());
    if (Octets.size() != 4)
        return -1;
    unsigned long Bits = 0;
    for (const std::string& O : Octets) {
        if (O.empty() || O.size() > 3 || O.find_first_not_of("0123456789") != std::string::npos)
            return -1;
        const unsigned long Value = std::stoul(O);
        if (Value > 255)
            return -1;
        Bits = (Bits << 8) | Value;
    }
    int Length = 0;
    while (Length < 32 && (Bits & (0x80000000UL >> Length)) != 0)
        ++Length;
    // Contiguous: every bit after the leading ones is clear.
    const unsigned long Ones = Length == 0 ? 0 : (0xFFFFFFFFUL << (32 - Length)) & 0xFFFFFFFFUL;
    return Bits == Ones ? Length : -1;
}

std::optional<TNmcliChange> TranslateNetshLine(const std::string& Line) {
    using THandler = std::optional<TNmcliChange> (*)(const std::string&, const TRest&);
    const struct {
        const char* Head;
        THandler Handler;
    } Shapes[] = {
        {"netsh interface ip set address \"", SetAddress},
        {"netsh interface ip set dns \"", SetDns},
        {"netsh interface ip add dns \"", AddDns},
        {"netsh interface ip add address \"", AddAddress},
        {"netsh interface ipv6 add address \"", AddAddress6},
        {"netsh interface ipv6 add route ::/0 \"", AddRoute6},
        {"netsh interface ipv6 set dnsservers \"", SetDns6},
        {"netsh interface ipv6 add dnsservers \"", AddDns6},
        {"netsh interface ipv6 delete address \"", DeleteAddress6},
    };
    for (const auto& Shape : Shapes) {
        const std::string Head = Shape.Head;
        if (Line.compare(0, Head.size(), Head) != 0)
            continue;
        const size_t Close = Line.find('"', Head.size());
        if (Close == std::string::npos)
            return std::nullopt;
        const std::string Connection = Line.substr(Head.size(), Close - Head.size());
        return Shape.Handler(Connection, SplitOnBlanks(Line.substr(Close + 1)));
    }
    return std::nullopt;
}

TArgv ModifyCommand(const TNmcliChange& Change) {
    TArgv Argv = {"nmcli", "connection", "modify", "id", Change.Connection};
    Argv.insert(Argv.end(), Change.Settings.begin(), Change.Settings.end());
    return Argv;
}

TArgv ActivateCommand(const TNmcliChange& Change) {
    return {"nmcli", "--wait", Change.Dhcp ? "0" : "15", "connection",
            "up",    "id",     Change.Connection};
}

TArgv ActiveDevicesCommand(const std::string& Connection) {
    return {"nmcli", "-g", "GENERAL.DEVICES", "connection", "show", "id", Connection};
}

TArgv ReapplyCommand(const std::string& Device) {
    return {"nmcli", "device", "reapply", Device};
}

TArgv RoutesCommand(const std::string& Connection) {
    return {"nmcli", "-g", "ipv4.routes", "connection", "show", "id", Connection};
}

TArgv DropGatewayRoutes(const std::string& Routes) {
    TArgv Settings;
    std::string Text = Routes.substr(0, Routes.find('\n'));
    for (std::size_t Begin = 0; Begin < Text.size();) {
        const std::size_t End = std::min(Text.find(", ", Begin), Text.size());
        const std::string Route = Text.substr(Begin, End - Begin);
        if (Route.rfind("0.0.0.0/0 ", 0) == 0 && SplitOnBlanks(Route).size() == 3)
            Settings.insert(Settings.end(), {"-ipv4.routes", Route});
        Begin = End + 2;
    }
    return Settings;
}
