// A set's extras in the export format, version 2: "extraAddresses", "extraGateways", "extraDns"
// and "ipv6", each written only when the set has it.
#include "cli/CtlCommands.h"

#include "ipset/ExtraChecks.h"

#include <algorithm>
#include <utility>

namespace {

void Check(const std::string& Error, const char* Name) {
    if (!Error.empty())
        throw ECtlUsage(Error + " (\"" + Name + "\")");
}

std::string Canonical(const std::string& Text) {
    return CanonicalIPv6(*ParseIPv6(Text));
}

// Reads the extras of one set of a file; Where names the set in the messages.
class TExtrasReader {
public:
    explicit TExtrasReader(std::string Where) : FWhere(std::move(Where)) {}

    TIPSetExtras Read(const TJson& Set) const {
        TIPSetExtras E;
        for (const TJson& Item :
             Items(Set, "extraAddresses", TJson::TKind::Object, {"address", "mask"})) {
            const TExtraAddress A{Text(Item, "address"), Text(Item, "mask")};
            Check(CheckExtraAddress(A), "extraAddresses");
            E.Addresses.push_back(A);
        }
        for (const TJson& Item :
             Items(Set, "extraGateways", TJson::TKind::Object, {"gateway", "metric"})) {
            const TExtraGateway G{Text(Item, "gateway"), Whole(Item, "metric")};
            Check(CheckExtraGateway(G), "extraGateways");
            E.Gateways.push_back(G);
        }
        for (const TJson& Item : Items(Set, "extraDns", TJson::TKind::String)) {
            Check(CheckExtraDns(Item.AsString()), "extraDns");
            E.Dns.push_back(Item.AsString());
        }
        if (const TJson* IPv6 = Member(Set, "ipv6", TJson::TKind::Object))
            ReadIPv6(*IPv6, E);
        return E;
    }

private:
    [[noreturn]] void Shape(const std::string& Why) const {
        throw EFileShape(Why + " en " + FWhere);
    }

    // Member Name of Object when it is of kind Kind; null when it is missing.
    const TJson* Member(const TJson& Object, const char* Name, TJson::TKind Kind) const {
        const TJson* Value = Object.Find(Name);
        if (Value != nullptr && Value->Kind() != Kind)
            Shape(std::string("tiene un valor del tipo equivocado (\"") + Name + "\")");
        return Value;
    }

    std::string Text(const TJson& Object, const char* Name) const {
        const TJson* Value = Member(Object, Name, TJson::TKind::String);
        return Value != nullptr ? Value->AsString() : std::string();
    }

    // A whole number, or 0, which every check of a metric or length refuses.
    int Whole(const TJson& Object, const char* Name) const {
        const TJson* Value = Member(Object, Name, TJson::TKind::Number);
        if (Value == nullptr)
            return 0;
        const double N = Value->AsNumber();
        return N >= 0 && N <= 1e6 && N == static_cast<int>(N) ? static_cast<int>(N) : 0;
    }

    void CheckMembers(const TJson& Object, const std::vector<std::string>& Known,
                      const char* Name) const {
        for (const TJson::TMember& M : Object.Members())
            if (std::find(Known.begin(), Known.end(), M.first) == Known.end())
                Shape(std::string("tiene un miembro desconocido (\"") + Name +
                      "\": " + JsonText(M.first) + ")");
    }

    // The items of the array Name, each of kind Kind and holding only Known members.
    std::vector<TJson> Items(const TJson& Object, const char* Name, TJson::TKind Kind,
                             const std::vector<std::string>& Known = {}) const {
        const TJson* List = Member(Object, Name, TJson::TKind::Array);
        if (List == nullptr)
            return {};
        for (const TJson& Item : List->Items()) {
            if (Item.Kind() != Kind)
                Shape(std::string("tiene un elemento del tipo equivocado (\"") + Name + "\")");
            CheckMembers(Item, Known, Name);
        }
        return List->Items();
    }

    void ReadIPv6(const TJson& Object, TIPSetExtras& E) const {
        CheckMembers(Object, {"mode", "addresses", "gateway", "dns"}, "ipv6");
        const std::string Mode = Text(Object, "mode");
        if (Mode != "keep" && Mode != "auto" && Mode != "static")
            Shape("no dice el modo IPv6 (\"mode\": \"keep\", \"auto\" o \"static\")");
        E.IPv6 = IPv6ModeOf(Mode);
        for (const TJson& Item :
             Items(Object, "addresses", TJson::TKind::Object, {"address", "prefixLength"})) {
            const TIPv6Address A{Text(Item, "address"), Whole(Item, "prefixLength")};
            Check(CheckIPv6Address(A), "ipv6");
            E.IPv6Addresses.push_back({Canonical(A.Address), A.PrefixLength});
        }
        const std::string Gateway = Text(Object, "gateway");
        Check(CheckIPv6Gateway(Gateway), "ipv6");
        E.IPv6Gateway = Gateway.empty() ? Gateway : Canonical(Gateway);
        for (const TJson& Item : Items(Object, "dns", TJson::TKind::String)) {
            Check(CheckIPv6Dns(Item.AsString()), "ipv6");
            E.IPv6Dns.push_back(Canonical(Item.AsString()));
        }
    }

    std::string FWhere;
};

} // namespace

void AddExtrasMembers(TJson& Set, const TIPSetExtras& E) {
    if (!E.Addresses.empty()) {
        TJson& List = Set.Set("extraAddresses", TJson::Array());
        for (const TExtraAddress& A : E.Addresses) {
            TJson& Item = List.Add(TJson::Object());
            Item.Set("address", A.Address);
            Item.Set("mask", A.Mask);
        }
    }
    if (!E.Gateways.empty()) {
        TJson& List = Set.Set("extraGateways", TJson::Array());
        for (const TExtraGateway& G : E.Gateways) {
            TJson& Item = List.Add(TJson::Object());
            Item.Set("gateway", G.Gateway);
            Item.Set("metric", G.Metric);
        }
    }
    if (!E.Dns.empty()) {
        TJson& List = Set.Set("extraDns", TJson::Array());
        for (const std::string& D : E.Dns)
            List.Add(D);
    }
    if (E.IPv6 == TIPv6Mode::Keep && E.IPv6Addresses.empty() && E.IPv6Gateway.empty() &&
        E.IPv6Dns.empty())
        return;
    TJson& IPv6 = Set.Set("ipv6", TJson::Object());
    IPv6.Set("mode", IPv6ModeWord(E.IPv6));
    TJson& Addresses = IPv6.Set("addresses", TJson::Array());
    for (const TIPv6Address& A : E.IPv6Addresses) {
        TJson& Item = Addresses.Add(TJson::Object());
        Item.Set("address", A.Address);
        Item.Set("prefixLength", A.PrefixLength);
    }
    IPv6.Set("gateway", E.IPv6Gateway);
    TJson& Dns = IPv6.Set("dns", TJson::Array());
    for (const std::string& D : E.IPv6Dns)
        Dns.Add(D);
}

TIPSetExtras ReadExtrasMembers(const TJson& Set, const std::string& Where) {
    return TExtrasReader(Where).Read(Set);
}
