// A set's extras as the console's options give them and as its JSON documents hold them.
#include "cli/CtlCommands.h"

#include "ipset/ExtraChecks.h"

#include <cmath>

namespace {

bool IsNumber(const std::string& Text) {
    return !Text.empty() && Text.size() <= 5 &&
           Text.find_first_not_of("0123456789") == std::string::npos;
}

// The text as a number, 0 (refused by every check) when it is none.
int NumberOf(const std::string& Text) {
    return IsNumber(Text) ? std::stoi(Text) : 0;
}

// The dotted mask of a prefix length of 1 to 32; other texts as they are.
std::string DottedMask(const std::string& Mask) {
    const int Length = NumberOf(Mask);
    if (!IsNumber(Mask) || Length < 1 || Length > 32)
        return Mask;
    const unsigned Bits = 0xFFFFFFFFu << (32 - Length);
    return std::to_string(Bits >> 24) + "." + std::to_string((Bits >> 16) & 255) + "." +
           std::to_string((Bits >> 8) & 255) + "." + std::to_string(Bits & 255);
}

// The text before and after the last Separator; all of it and nothing without one.
std::pair<std::string, std::string> SplitAt(const std::string& Text, char Separator) {
    const std::size_t At = Text.rfind(Separator);
    if (At == std::string::npos)
        return {Text, std::string()};
    return {Text.substr(0, At), Text.substr(At + 1)};
}

// An IPv6 text that passed its check, as it is stored.
std::string Canonical(const std::string& Text) {
    const auto Address = ParseIPv6(Text);
    return Address ? CanonicalIPv6(*Address) : Text;
}

void Check(const std::string& Error, const char* Option) {
    if (!Error.empty())
        throw ECtlUsage(Error + " (--" + Option + ")");
}

const std::vector<std::string>& Given(const TCtlArgs& Args, const char* Option) {
    static const std::vector<std::string> None;
    const std::vector<std::string>* Values = Args.List(Option);
    return Values != nullptr ? *Values : None;
}

void ApplyIPv4Options(const TCtlArgs& Args, TIPSetExtras& E) {
    if (Args.List("extra-ip") != nullptr)
        E.Addresses.clear();
    for (const std::string& Value : Given(Args, "extra-ip")) {
        const auto [Address, Mask] = SplitAt(Value, '/');
        const TExtraAddress Entry{Address, DottedMask(Mask)};
        Check(CheckExtraAddress(Entry), "extra-ip");
        E.Addresses.push_back(Entry);
    }
    if (Args.List("extra-gateway") != nullptr)
        E.Gateways.clear();
    for (const std::string& Value : Given(Args, "extra-gateway")) {
        const auto [Gateway, Metric] = SplitAt(Value, ',');
        const TExtraGateway Entry{Gateway, Value.find(',') == std::string::npos
                                               ? TExtraGateway().Metric
                                               : NumberOf(Metric)};
        Check(CheckExtraGateway(Entry), "extra-gateway");
        E.Gateways.push_back(Entry);
    }
    if (Args.List("extra-dns") != nullptr)
        E.Dns.clear();
    for (const std::string& Dns : Given(Args, "extra-dns")) {
        Check(CheckExtraDns(Dns), "extra-dns");
        E.Dns.push_back(Dns);
    }
}

void ApplyIPv6Options(const TCtlArgs& Args, TIPSetExtras& E) {
    if (const std::string* Mode = Args.Value("ipv6")) {
        if (*Mode != "keep" && *Mode != "auto" && *Mode != "static")
            throw ECtlUsage("El modo IPv6 es keep, auto o static (--ipv6).");
        E.IPv6 = IPv6ModeOf(*Mode);
    }
    if (Args.List("ipv6-address") != nullptr)
        E.IPv6Addresses.clear();
    for (const std::string& Value : Given(Args, "ipv6-address")) {
        const auto [Address, Length] = SplitAt(Value, '/');
        const TIPv6Address Entry{Address, NumberOf(Length)};
        Check(CheckIPv6Address(Entry), "ipv6-address");
        E.IPv6Addresses.push_back({Canonical(Address), Entry.PrefixLength});
    }
    if (const std::string* Gateway = Args.Value("ipv6-gateway")) {
        Check(CheckIPv6Gateway(*Gateway), "ipv6-gateway");
        E.IPv6Gateway = Gateway->empty() ? std::string() : Canonical(*Gateway);
    }
    if (Args.List("ipv6-dns") != nullptr)
        E.IPv6Dns.clear();
    for (const std::string& Dns : Given(Args, "ipv6-dns")) {
        Check(CheckIPv6Dns(Dns), "ipv6-dns");
        E.IPv6Dns.push_back(Canonical(Dns));
    }
}

} // namespace

const char* IPv6ModeWord(TIPv6Mode Mode) {
    return Mode == TIPv6Mode::Automatic ? "auto" : Mode == TIPv6Mode::Static ? "static" : "keep";
}

TIPv6Mode IPv6ModeOf(const std::string& Word) {
    return Word == "auto"     ? TIPv6Mode::Automatic
           : Word == "static" ? TIPv6Mode::Static
                              : TIPv6Mode::Keep;
}

void ApplyExtraOptions(const TCtlArgs& Args, bool Dhcp, TIPSetExtras& E) {
    if (Args.Has("clear-extras"))
        E = TIPSetExtras();
    for (const char* Option : {"extra-ip", "extra-gateway", "extra-dns"})
        if (Dhcp && Args.List(Option) != nullptr)
            throw ECtlUsage("Una configuracion DHCP no lleva direcciones (--" +
                            std::string(Option) + ").");
    ApplyIPv4Options(Args, E);
    ApplyIPv6Options(Args, E);
    for (const char* Option : {"ipv6-address", "ipv6-gateway", "ipv6-dns"})
        if (E.IPv6 != TIPv6Mode::Static &&
            (Args.List(Option) != nullptr || Args.Value(Option) != nullptr))
            throw ECtlUsage("Los valores IPv6 solo se usan con --ipv6 static (--" +
                            std::string(Option) + ").");
}
