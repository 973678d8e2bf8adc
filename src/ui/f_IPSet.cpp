#include "ui/f_IPSet.h"

#include "base/TApplication.h"
#include "base/TextUtils.h"
#include "shell/GlobalUnit.h"
#include "ui/ConnectionLookup.h"

namespace {

const char* const MessageCaption = "Wizard";
const char* const DhcpAddress = "0.0.0.0";
constexpr TColor DisabledBoxColour = RGBColor(223, 223, 223);

bool Pending(const TDataSet* Table) {
    return Table != nullptr &&
           (Table->State() == TDataSetState::dsInsert || Table->State() == TDataSetState::dsEdit);
}

} // namespace

TFrmIPSet::TFrmIPSet(TComponent* AOwner) : TForm(AOwner) {
    SetCaption("Configuracion IP");
    CreateView(ViewFactory, *this);
}

void TFrmIPSet::Notification(TComponent* AComponent, TOperation Operation) {
    TForm::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove)
        return;
    if (AComponent == FIPSets)
        FIPSets = nullptr;
    if (AComponent == FConnections)
        FConnections = nullptr;
}

void TFrmIPSet::SetIPSetsTable(TDataSet* Table) {
    TDataSet* const Old = FIPSets;
    FIPSets = Table;
    ReplaceReference(Old, Table, {FIPSets, FConnections});
}

void TFrmIPSet::SetConnectionsTable(TDataSet* Table) {
    TDataSet* const Old = FConnections;
    FConnections = Table;
    ReplaceReference(Old, Table, {FIPSets, FConnections});
    if (FConnections != nullptr)
        FillConnectionList(*edtConnection, *FConnections);
    ShowConnection();
}

void TFrmIPSet::ShowConnection() {
    if (FIPSets != nullptr && FIPSets->Active())
        ShowRowConnection(*edtConnection, *FIPSets);
}

void TFrmIPSet::PrepareNew() {
    FIPSets->Insert();
    for (TEdit* Box : {edtIPSetName, edtIPAddress, edtSubnetMask, edtDefGateway, edtDNS1, edtDNS2})
        Box->SetText("");
    DHCPCheck->SetChecked(false);
    DHCPCheckClick();
    ShowConnection();
}

void TFrmIPSet::LoadForEdit() {
    const std::pair<TEdit*, const char*> Boxes[] = {{edtIPSetName, "IPSET_NAME"},
                                                    {edtIPAddress, "IPADDRESS"},
                                                    {edtSubnetMask, "SUBNETMASK"},
                                                    {edtDefGateway, "GATEWAY"},
                                                    {edtDNS1, "DNS"},
                                                    {edtDNS2, "DNS2"}};
    for (const auto& [Box, Field] : Boxes)
        Box->SetText(FIPSets->FieldByName(Field).AsString());
    DHCPCheck->SetChecked(FIPSets->FieldByName("DHCP").AsBoolean());
    DHCPCheckClick();
    ShowConnection();
    FIPSets->Edit();
}

void TFrmIPSet::FormShow() {
    if (edtIPSetName->CanFocus())
        edtIPSetName->SetFocus();
}

void TFrmIPSet::DHCPCheckClick() {
    const bool Dhcp = DHCPCheck->Checked();
    for (TEdit* Box : {edtIPAddress, edtSubnetMask, edtDefGateway, edtDNS1, edtDNS2}) {
        Box->SetEnabled(!Dhcp);
        Box->SetColor(Dhcp ? DisabledBoxColour : clWhite);
    }
}

void TFrmIPSet::edtConnectionChange() {
    if (FIPSets != nullptr)
        WriteChosenConnection(*edtConnection, *FIPSets);
}

TControl* TFrmIPSet::FailedCheck(std::string& Message) const {
    if (Utf8Length(Trim(edtIPSetName->Text())) < 3) {
        Message = "El nombre de configuracion de IP no es valida.";
        return edtIPSetName;
    }
    const std::pair<TEdit*, const char*> Addresses[] = {
        {edtIPAddress, "La direccion IP no es valida."},
        {edtSubnetMask, "La mascara de red no es valida."},
        {edtDefGateway, "La direccion del gateway no es valida."},
        {edtDNS1, "Servidor DNS preferido no es valida."},
        {edtDNS2, "Servidor DNS alternativo no es valida."}};
    for (const auto& [Box, Text] : Addresses) {
        if (!DHCPCheck->Checked() && !IsValidIPAddress(Box->Text())) {
            Message = Text;
            return Box;
        }
    }
    if (edtConnection->Text().empty()) {
        Message = "Seleccione un adaptador de red.";
        return edtConnection;
    }
    return nullptr;
}

void TFrmIPSet::btnAceptarClick() {
    std::string Message;
    if (TControl* const Box = FailedCheck(Message)) {
        Application().MessageBox(Message, MessageCaption, MsgBox::OK | MsgBox::IconExclamation);
        Box->SetFocus();
        return;
    }
    SaveIPSet();
    SetModalResult(mrOK);
}

// A value the store refuses raises here and leaves the row pending, so the user can correct it.
void TFrmIPSet::SaveIPSet() {
    if (!Pending(FIPSets))
        return;
    const bool Dhcp = DHCPCheck->Checked();
    const std::pair<const char*, TEdit*> Columns[] = {{"IPADDRESS", edtIPAddress},
                                                      {"SUBNETMASK", edtSubnetMask},
                                                      {"GATEWAY", edtDefGateway},
                                                      {"DNS", edtDNS1},
                                                      {"DNS2", edtDNS2}};
    FIPSets->FieldByName("IPSET_NAME").SetAsString(Trim(edtIPSetName->Text()));
    for (const auto& [Column, Box] : Columns)
        FIPSets->FieldByName(Column).SetAsString(Dhcp ? DhcpAddress : Trim(Box->Text()));
    FIPSets->FieldByName("DHCP").SetAsBoolean(Dhcp);
    FIPSets->Post();
}

void TFrmIPSet::AbandonRow() {
    if (Pending(FIPSets))
        FIPSets->Cancel();
    SetModalResult(mrCancel);
}

void TFrmIPSet::btnCancelarClick() {
    AbandonRow();
}

void TFrmIPSet::CloseBoxClick() {
    AbandonRow();
}
