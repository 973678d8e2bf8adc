#include "ui/f_AdvancedOptions.h"

#include "base/TApplication.h"
#include "base/TextUtils.h"
#include "ipset/ExtraChecks.h"

#include <string>
#include <vector>

namespace {

const char* const MessageCaption = "Wizard";

// A count in a box: digits only, else 0, which every range check refuses.
int Number(const std::string& Text) {
    if (Text.empty() || Text.size() > 5 || Text.find_first_not_of("0123456789") != Text.npos)
        return 0;
    return std::stoi(Text);
}

// IPv6 texts are stored in their one canonical form, so that the same address compares equal.
void Canonical(std::string& Text) {
    if (const auto Address = ParseIPv6(Text))
        Text = CanonicalIPv6(*Address);
}

// A refusal of a two-box entry is about the value when the value alone fails with any good
// second box; otherwise about the second box.
TEntryRefusal CheckAddress(TEntryTexts& E) {
    const std::string Message = CheckExtraAddress({E[0], E[1]});
    return {Message, CheckExtraAddress({E[0], "255.255.255.0"}).empty() ? 1 : 0};
}

TEntryRefusal CheckGateway(TEntryTexts& E) {
    const std::string Message = CheckExtraGateway({E[0], Number(E[1])});
    return {Message, CheckExtraGateway({E[0], 1}).empty() ? 1 : 0};
}

TEntryRefusal CheckDns(TEntryTexts& E) {
    return {CheckExtraDns(E[0])};
}

TEntryRefusal CheckIPv6(TEntryTexts& E) {
    const std::string Message = CheckIPv6Address({E[0], Number(E[1])});
    Canonical(E[0]);
    return {Message, CheckIPv6Address({E[0], 64}).empty() ? 1 : 0};
}

TEntryRefusal CheckDns6(TEntryTexts& E) {
    const std::string Message = CheckIPv6Dns(E[0]);
    Canonical(E[0]);
    return {Message};
}

std::string AddressLine(const TEntryTexts& E) {
    return E[0] + " / " + E[1];
}

std::string GatewayLine(const TEntryTexts& E) {
    return E[0] + ", metrica " + E[1];
}

std::string IPv6Line(const TEntryTexts& E) {
    return E[0] + "/" + E[1];
}

std::string ValueLine(const TEntryTexts& E) {
    return E[0];
}

std::vector<TEntryTexts> Texts(const std::vector<std::string>& Values) {
    std::vector<TEntryTexts> Result;
    for (const std::string& V : Values)
        Result.push_back({V, ""});
    return Result;
}

std::vector<std::string> Values(const TEntryList& List) {
    std::vector<std::string> Result;
    for (const TEntryTexts& E : List.Entries())
        Result.push_back(E[0]);
    return Result;
}

} // namespace

TFrmAdvancedOptions::TFrmAdvancedOptions(TComponent* AOwner)
    : TForm(AOwner), Addresses(CheckAddress, AddressLine), Gateways(CheckGateway, GatewayLine, "1"),
      Dns(CheckDns, ValueLine), IPv6Addresses(CheckIPv6, IPv6Line, "64"),
      IPv6Dns(CheckDns6, ValueLine) {
    SetCaption("Opciones avanzadas");
    CreateView(ViewFactory, *this);
}

void TFrmAdvancedOptions::LoadExtras(const TIPSetExtras& Extras, bool Dhcp) {
    FExtras = Extras;
    std::vector<TEntryTexts> List;
    for (const TExtraAddress& A : Extras.Addresses)
        List.push_back({A.Address, A.Mask});
    Addresses.SetEntries(List);
    List.clear();
    for (const TExtraGateway& G : Extras.Gateways)
        List.push_back({G.Gateway, std::to_string(G.Metric)});
    Gateways.SetEntries(List);
    Dns.SetEntries(Texts(Extras.Dns));
    List.clear();
    for (const TIPv6Address& A : Extras.IPv6Addresses)
        List.push_back({A.Address, std::to_string(A.PrefixLength)});
    IPv6Addresses.SetEntries(List);
    IPv6Dns.SetEntries(Texts(Extras.IPv6Dns));
    edtIPv6Gateway->SetText(Extras.IPv6Gateway);
    rbSinCambios->SetChecked(Extras.IPv6 == TIPv6Mode::Keep);
    rbAutomatica->SetChecked(Extras.IPv6 == TIPv6Mode::Automatic);
    rbEstatica->SetChecked(Extras.IPv6 == TIPv6Mode::Static);
    for (TEntryList* L : {&Addresses, &Gateways, &Dns})
        L->SetEnabled(!Dhcp);
    IPv6ModeClick();
}

// A DHCP set has its IPv4 lists disabled: the IPv6 part comes first then, at the mode it has.
void TFrmAdvancedOptions::FormShow() {
    if (Addresses.Value->CanFocus()) {
        Addresses.Value->SetFocus();
        return;
    }
    for (TCheckControl* Mode : {rbSinCambios, rbAutomatica, rbEstatica})
        if (Mode->Checked())
            Mode->SetFocus();
}

TIPv6Mode TFrmAdvancedOptions::Mode() const {
    if (rbEstatica->Checked())
        return TIPv6Mode::Static;
    return rbAutomatica->Checked() ? TIPv6Mode::Automatic : TIPv6Mode::Keep;
}

void TFrmAdvancedOptions::IPv6ModeClick() {
    const bool Static = Mode() == TIPv6Mode::Static;
    IPv6Addresses.SetEnabled(Static);
    IPv6Dns.SetEnabled(Static);
    edtIPv6Gateway->SetEnabled(Static);
}

// Only the gateway box is read here: every list entry was checked as it went in. Text left in
// a list's boxes without Agregar is not an entry.
void TFrmAdvancedOptions::btnAceptarClick() {
    std::string Gateway = Trim(edtIPv6Gateway->Text());
    const std::string Message = CheckIPv6Gateway(Gateway);
    if (!Message.empty()) {
        Application().MessageBox(Message, MessageCaption, MsgBox::OK | MsgBox::IconExclamation);
        if (edtIPv6Gateway->CanFocus())
            edtIPv6Gateway->SetFocus();
        return;
    }
    Canonical(Gateway);
    TIPSetExtras E;
    for (const TEntryTexts& A : Addresses.Entries())
        E.Addresses.push_back({A[0], A[1]});
    for (const TEntryTexts& G : Gateways.Entries())
        E.Gateways.push_back({G[0], Number(G[1])});
    E.Dns = Values(Dns);
    E.IPv6 = Mode();
    for (const TEntryTexts& A : IPv6Addresses.Entries())
        E.IPv6Addresses.push_back({A[0], Number(A[1])});
    E.IPv6Gateway = Gateway;
    E.IPv6Dns = Values(IPv6Dns);
    FExtras = E;
    SetModalResult(mrOK);
}

void TFrmAdvancedOptions::btnCancelarClick() {
    SetModalResult(mrCancel);
}
