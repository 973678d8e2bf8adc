#include "ui/f_IPSet.h"

#include "base/Exception.h"
#include "base/TApplication.h"
#include "data/DBConnection.h"
#include "data/ExtrasStore.h"
#include "ui/ConnectionLookup.h"
#include "ui/f_AdvancedOptions.h"

namespace {

const char* const MessageCaption = "Wizard";
const char* const RowGone =
    "La configuracion IP no se guardo: cierre esta ventana y vuelva a intentarlo.";
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
    if (AComponent == FDatabase)
        FDatabase = nullptr;
}

void TFrmIPSet::SetIPSetsTable(TDataSet* Table) {
    TDataSet* const Old = FIPSets;
    FIPSets = Table;
    ReplaceReference(Old, Table, {FIPSets, FConnections, FDatabase});
}

void TFrmIPSet::SetDatabase(TDBConnection* Value) {
    TDBConnection* const Old = FDatabase;
    FDatabase = Value;
    ReplaceReference(Old, Value, {FIPSets, FConnections, FDatabase});
}

void TFrmIPSet::SetConnectionsTable(TDataSet* Table) {
    TDataSet* const Old = FConnections;
    FConnections = Table;
    ReplaceReference(Old, Table, {FIPSets, FConnections, FDatabase});
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
    FExtras = {};
}

void TFrmIPSet::LoadForEdit() {
    const TIPSetEntry E = ReadIPSetEntry(*FIPSets);
    const std::pair<TEdit*, const std::string*> Boxes[] = {{edtIPSetName, &E.Name},
                                                           {edtIPAddress, &E.IPAddress},
                                                           {edtSubnetMask, &E.SubnetMask},
                                                           {edtDefGateway, &E.Gateway},
                                                           {edtDNS1, &E.Dns},
                                                           {edtDNS2, &E.Dns2}};
    for (const auto& [Box, Text] : Boxes)
        Box->SetText(*Text);
    DHCPCheck->SetChecked(E.Dhcp);
    DHCPCheckClick();
    ShowConnection();
    FExtras = LoadIPSetExtras(*FDatabase, FIPSets->FieldByName("ID").AsInteger());
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

// The extra IPv4 values are kept while DHCP is ticked, only disabled; Cancelar there keeps
// what was accepted before.
void TFrmIPSet::btnAvanzadoClick() {
    TFrmAdvancedOptions Advanced(this);
    Advanced.LoadExtras(FExtras, DHCPCheck->Checked());
    if (Advanced.ShowModal() == mrOK)
        FExtras = Advanced.Extras();
}

TIPSetEntry TFrmIPSet::Entry() const {
    TIPSetEntry E;
    E.Name = edtIPSetName->Text();
    E.IPAddress = edtIPAddress->Text();
    E.SubnetMask = edtSubnetMask->Text();
    E.Gateway = edtDefGateway->Text();
    E.Dns = edtDNS1->Text();
    E.Dns2 = edtDNS2->Text();
    E.Dhcp = DHCPCheck->Checked();
    E.Connection = edtConnection->Text();
    return E;
}

TControl* TFrmIPSet::BoxOf(TIPSetBox Box) const {
    const std::pair<TIPSetBox, TControl*> Boxes[] = {{TIPSetBox::Name, edtIPSetName},
                                                     {TIPSetBox::IPAddress, edtIPAddress},
                                                     {TIPSetBox::SubnetMask, edtSubnetMask},
                                                     {TIPSetBox::Gateway, edtDefGateway},
                                                     {TIPSetBox::Dns, edtDNS1},
                                                     {TIPSetBox::Dns2, edtDNS2},
                                                     {TIPSetBox::Connection, edtConnection}};
    for (const auto& [Which, Control] : Boxes)
        if (Which == Box)
            return Control;
    return nullptr;
}

void TFrmIPSet::btnAceptarClick() {
    const TIPSetCheck Check = CheckIPSetEntry(Entry());
    if (Check.Box != TIPSetBox::None) {
        Application().MessageBox(Check.Message, MessageCaption,
                                 MsgBox::OK | MsgBox::IconExclamation);
        BoxOf(Check.Box)->SetFocus();
        return;
    }
    SaveIPSet();
    SetModalResult(mrOK);
}

// A value the store refuses raises here and leaves the row pending, so the user can correct it.
// A row no longer pending (another command moved the table meanwhile) has nowhere to go: the
// dialog must not end as if it had saved. The set and its extras are one change: a failure
// writing the extras undoes the set's row too.
void TFrmIPSet::SaveIPSet() {
    if (!Pending(FIPSets))
        throw Exception(RowGone);
    TTransaction Change(*FDatabase);
    PostIPSetEntry(*FIPSets, Entry());
    SaveIPSetExtras(*FDatabase, FIPSets->FieldByName("ID").AsInteger(), FExtras);
    Change.Commit();
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
