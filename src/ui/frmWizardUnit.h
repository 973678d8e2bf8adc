#pragma once

#include "data/DataSet.h"
#include "ui/Forms.h"

#include <string>

// The six-page wizard that makes one new IP set in the row the caller has put into insert state.
// Pages: 0 welcome, 1 connection, 2 address assignment, 3 gateway, 4 DNS servers, 5 name and
// summary; a DHCP set skips pages 3 and 4 both ways.
class TfrmWizard : public TForm {
public:
    static inline TFormViewFactory<TfrmWizard> ViewFactory;

    explicit TfrmWizard(TComponent* AOwner);

    // Bound by the view. The button row is shared by the pages: "&Atras" and "&Siguiente"
    // (which reads "&Finalizar" on the last page) act for the page shown.
    TNotebook* nbWizard = nullptr;
    TControl* btnAtras = nullptr;
    TButton* btnSiguiente = nullptr;
    TComboBox* edtConnection = nullptr;
    TCheckControl* rbNoDhcp = nullptr;
    TCheckControl* rbSiDhcp = nullptr;
    TEdit* txtDireccionIP = nullptr;
    TEdit* txtMascaraRed = nullptr;
    TEdit* txtGateway = nullptr;
    TEdit* edtDNS1 = nullptr;
    TEdit* edtDNS2 = nullptr;
    TEdit* txtDescripcion = nullptr;
    TEdit* txtResumen = nullptr;

    void SetIPSetsTable(TDataSet* Value);
    // Also lists the table's connections in edtConnection.
    void SetConnectionsTable(TDataSet* Value);
    TDataSet* dsIPSets() const { return FIPSets; }

    int PageIndex() const { return FPageIndex; }

    void FormCreate();
    // The shared buttons, passed on to the handler of the page shown.
    void btnSiguienteClick();
    void btnAtrasClick();

    void btnSiguiente1Click();
    void btnSiguiente2Click();
    void btnSiguiente3Click();
    void btnSiguiente4Click();
    void btnSiguiente5Click();
    void btnAtras2Click();
    void btnAtras3Click();
    void btnAtras4Click();
    void btnAtras5Click();
    void btnAtrasFinClick();
    void btnFinalizarClick();
    void btnCancelar1Click();
    void rbSiDhcpClick();
    void rbNoDhcpClick();
    // A connection picked (or the choice cleared) in edtConnection.
    void edtConnectionChange();
    void CloseBoxClick() override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TDataSet& IPSets() const;
    void ShowPage(int Index);
    void Warn(const char* Text, TControl* Focus);
    void UpdateSummary();
    void Discard();

    TDataSet* FIPSets = nullptr;
    TDataSet* FConnections = nullptr;
    int FPageIndex = 0;

    std::string FDescription;
    bool FUseDHCP = false;
    std::string FIPAddress;
    std::string FSubnetMask;
    std::string FGateway;
    std::string FDns1;
    std::string FDns2;
};
