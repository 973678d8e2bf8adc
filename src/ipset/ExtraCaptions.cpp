#include "ipset/ExtraCaptions.h"

std::vector<std::pair<std::string, std::string>> ExtraCaptions(const TIPSetExtras& E, bool Dhcp) {
    std::vector<std::pair<std::string, std::string>> Lines;
    if (!Dhcp) {
        for (const TExtraAddress& A : E.Addresses)
            Lines.emplace_back("IP adicional", A.Address + "/" + A.Mask);
        for (const TExtraGateway& G : E.Gateways)
            Lines.emplace_back("Gateway adicional",
                               G.Gateway + " (metrica " + std::to_string(G.Metric) + ")");
        for (const std::string& D : E.Dns)
            Lines.emplace_back("DNS adicional", D);
    }
    if (E.IPv6 == TIPv6Mode::Automatic)
        Lines.emplace_back("IPv6", "Automatica");
    if (E.IPv6 != TIPv6Mode::Static)
        return Lines;
    Lines.emplace_back("IPv6", "Estatica");
    for (const TIPv6Address& A : E.IPv6Addresses)
        Lines.emplace_back("IPv6 direccion", A.Address + "/" + std::to_string(A.PrefixLength));
    if (!E.IPv6Gateway.empty())
        Lines.emplace_back("IPv6 gateway", E.IPv6Gateway);
    for (const std::string& D : E.IPv6Dns)
        Lines.emplace_back("IPv6 DNS", D);
    return Lines;
}
