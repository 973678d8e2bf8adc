#include "ui/frmWizardUnit.h"

#include "base/Exception.h"
#include "base/TApplication.h"
#include "base/TextUtils.h"
#include "shell/GlobalUnit.h"
#include "ui/ConnectionLookup.h"

namespace {

const char* const WizardCaption = "Asistente de Configuracion de IP";
const char* const MessageCaption = "Wizard";
const char* const NoConnection = "Debe seleccionar un adaptador de Red.";
const char* const NoAddress = "Ingrese la direccion IP y la mascara de Red.";
const char* const NoGateway = "Ingrese la direccion IP del gateway por defecto.";
const char* const NoDns = "Ingrese las direcciones IP de los servidores DNS.";
const char* const ShortName = "La descripcion debe tener al menos 3 caracteres.";
const char* const LeaveQuestion = "\u00bfDesea salir del asistente de configuracion de IP...?";
const char* const DhcpAddress = "0.0.0.0";

enum TPage { pgDefault, pgAdaptador, pgIPSubmask, pgGateway, pgDns, pgFinalizar };

bool IsValidBox(const TEdit* Box) {
    return IsValidIPAddress(Trim(Box->Text()));
}

std::string SummaryLine(const std::string& Label, const std::string& Value) {
    return Label + std::string(15 - Label.size(), ' ') + ": " + Value;
}

} // namespace

TfrmWizard::TfrmWizard(TComponent* AOwner) : TForm(AOwner) {
    SetCaption(WizardCaption);
    CreateView(ViewFactory, *this);
    FormCreate();
}

void TfrmWizard::SetIPSetsTable(TDataSet* Value) {
    TDataSet* Old = FIPSets;
    FIPSets = Value;
    ReplaceReference(Old, Value, {FIPSets, FConnections});
}

void TfrmWizard::SetConnectionsTable(TDataSet* Value) {
    TDataSet* Old = FConnections;
    FConnections = Value;
    ReplaceReference(Old, Value, {FIPSets, FConnections});
    if (Value != nullptr)
        FillConnectionList(*edtConnection, *Value);
    else
        edtConnection->SetItems({});
    edtConnection->SetItemIndex(-1);
}

void TfrmWizard::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == TOperation::opRemove) {
        if (AComponent == FIPSets)
            SetIPSetsTable(nullptr);
        if (AComponent == FConnections)
            SetConnectionsTable(nullptr);
    }
    TForm::Notification(AComponent, Operation);
}

TDataSet& TfrmWizard::IPSets() const {
    if (FIPSets == nullptr)
        throw Exception("El asistente no tiene la tabla de configuraciones IP.");
    return *FIPSets;
}

void TfrmWizard::FormCreate() {
    rbNoDhcp->SetChecked(true);
    rbSiDhcp->SetChecked(false);
    ShowPage(pgDefault);
}

void TfrmWizard::ShowPage(int Index) {
    FPageIndex = Index;
    // The buttons first, so that the page container sees where the focus can stay.
    btnAtras->SetEnabled(Index != pgDefault);
    btnSiguiente->SetCaption(Index == pgFinalizar ? "&Finalizar" : "&Siguiente");
    nbWizard->SetPageIndex(Index);
}

void TfrmWizard::Warn(const char* Text, TControl* Focus) {
    Application().MessageBox(Text, MessageCaption, MsgBox::OK | MsgBox::IconExclamation);
    Focus->SetFocus();
}

void TfrmWizard::btnSiguienteClick() {
    switch (FPageIndex) {
    case pgDefault:
        return btnSiguiente1Click();
    case pgAdaptador:
        return btnSiguiente2Click();
    case pgIPSubmask:
        return btnSiguiente3Click();
    case pgGateway:
        return btnSiguiente4Click();
    case pgDns:
        return btnSiguiente5Click();
    default:
        return btnFinalizarClick();
    }
}

void TfrmWizard::btnAtrasClick() {
    switch (FPageIndex) {
    case pgAdaptador:
        return btnAtras2Click();
    case pgIPSubmask:
        return btnAtras3Click();
    case pgGateway:
        return btnAtras4Click();
    case pgDns:
        return btnAtras5Click();
    case pgFinalizar:
        return btnAtrasFinClick();
    default:
        return; // the first page has nowhere to go back to
    }
}

void TfrmWizard::btnSiguiente1Click() {
    ShowPage(pgAdaptador);
    edtConnection->SetFocus();
}

void TfrmWizard::btnSiguiente2Click() {
    if (edtConnection->Text().empty())
        return Warn(NoConnection, edtConnection);
    ShowPage(pgIPSubmask);
    rbNoDhcp->SetFocus();
}

void TfrmWizard::btnSiguiente3Click() {
    FUseDHCP = rbSiDhcp->Checked();
    if (FUseDHCP) {
        ShowPage(pgFinalizar);
        UpdateSummary();
        txtDescripcion->SetFocus();
        return;
    }
    if (!IsValidBox(txtDireccionIP) || !IsValidBox(txtMascaraRed))
        return Warn(NoAddress, txtDireccionIP);
    ShowPage(pgGateway);
    txtGateway->SetFocus();
}

void TfrmWizard::btnSiguiente4Click() {
    if (!IsValidBox(txtGateway))
        return Warn(NoGateway, txtGateway);
    ShowPage(pgDns);
    edtDNS1->SetFocus();
}

void TfrmWizard::btnSiguiente5Click() {
    if (!IsValidBox(edtDNS1) || !IsValidBox(edtDNS2))
        return Warn(NoDns, edtDNS1);
    ShowPage(pgFinalizar);
    UpdateSummary();
    txtDescripcion->SetFocus();
}

void TfrmWizard::btnAtras2Click() {
    ShowPage(pgDefault);
}

void TfrmWizard::btnAtras3Click() {
    ShowPage(pgAdaptador);
}

void TfrmWizard::btnAtras4Click() {
    ShowPage(pgIPSubmask);
}

void TfrmWizard::btnAtras5Click() {
    ShowPage(pgGateway);
}

void TfrmWizard::btnAtrasFinClick() {
    ShowPage(FUseDHCP ? pgIPSubmask : pgDns);
}

void TfrmWizard::rbSiDhcpClick() {
    for (TEdit* Box : {txtDireccionIP, txtMascaraRed}) {
        Box->SetEnabled(false);
        Box->SetColor(clBtnFace);
    }
}

void TfrmWizard::rbNoDhcpClick() {
    for (TEdit* Box : {txtDireccionIP, txtMascaraRed}) {
        Box->SetEnabled(true);
        Box->SetColor(clWhite);
    }
    txtDireccionIP->SetFocus();
}

void TfrmWizard::edtConnectionChange() {
    WriteChosenConnection(*edtConnection, IPSets());
}

void TfrmWizard::UpdateSummary() {
    std::string Summary = SummaryLine("Adaptador", edtConnection->Text()) + "\r\n";
    if (!FUseDHCP)
        Summary += SummaryLine("Direccion IP", txtDireccionIP->Text()) + "\r\n" +
                   SummaryLine("Mascara Red", txtMascaraRed->Text()) + "\r\n" +
                   SummaryLine("Gateway", txtGateway->Text()) + "\r\n" +
                   SummaryLine("DNS Preferido", edtDNS1->Text()) + "\r\n" +
                   SummaryLine("DNS Alternativo", edtDNS2->Text()) + "\r\n";
    Summary += SummaryLine("DHCP", FUseDHCP ? "Si" : "No");
    txtResumen->SetText(Summary);
}

void TfrmWizard::btnFinalizarClick() {
    FDescription = UpperCaseAscii(Trim(txtDescripcion->Text()));
    if (Utf8Length(FDescription) < 3)
        return Warn(ShortName, txtDescripcion);
    if (FUseDHCP) {
        FIPAddress = FSubnetMask = FGateway = FDns1 = FDns2 = DhcpAddress;
    } else {
        FIPAddress = Trim(txtDireccionIP->Text());
        FSubnetMask = Trim(txtMascaraRed->Text());
        FGateway = Trim(txtGateway->Text());
        FDns1 = Trim(edtDNS1->Text());
        FDns2 = Trim(edtDNS2->Text());
    }
    TDataSet& Row = IPSets();
    Row.FieldByName("IPSET_NAME").SetAsString(FDescription);
    Row.FieldByName("IPADDRESS").SetAsString(FIPAddress);
    Row.FieldByName("SUBNETMASK").SetAsString(FSubnetMask);
    Row.FieldByName("GATEWAY").SetAsString(FGateway);
    Row.FieldByName("DNS").SetAsString(FDns1);
    Row.FieldByName("DNS2").SetAsString(FDns2);
    Row.FieldByName("DHCP").SetAsBoolean(FUseDHCP);
    // A refused post raises to the general error display; the row stays pending and the page
    // open, so the name can be corrected.
    Row.Post();
    SetModalResult(mrOK);
}

void TfrmWizard::Discard() {
    IPSets().Cancel();
    SetModalResult(mrCancel);
}

void TfrmWizard::btnCancelar1Click() {
    if (Application().MessageBox(LeaveQuestion, MessageCaption,
                                 MsgBox::YesNo | MsgBox::IconQuestion) == MsgBox::IdYes)
        Discard();
}

void TfrmWizard::CloseBoxClick() {
    Discard();
}
