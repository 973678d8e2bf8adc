#pragma once

#include "data/DataSet.h"
#include "data/IPSetExtras.h"
#include "ui/Forms.h"
#include "ui/IPSetEntry.h"

class TDBConnection;

// The dialog in which the user adds an IP set or changes one. It works on the row of the shared
// IP-set table that PrepareNew inserts or that LoadForEdit finds current; only Aceptar writes it,
// with the set's extras, in one transaction.
class TFrmIPSet : public TForm {
public:
    static inline TFormViewFactory<TFrmIPSet> ViewFactory;

    explicit TFrmIPSet(TComponent* AOwner);

    // Bound by the view.
    TEdit* edtIPSetName = nullptr;
    TEdit* edtIPAddress = nullptr;
    TEdit* edtSubnetMask = nullptr;
    TEdit* edtDefGateway = nullptr;
    TEdit* edtDNS1 = nullptr;
    TEdit* edtDNS2 = nullptr;
    TComboBox* edtConnection = nullptr;
    TCheckControl* DHCPCheck = nullptr;

    void SetIPSetsTable(TDataSet* Table);
    void SetConnectionsTable(TDataSet* Table);
    // The connection of the IP-set table, which holds the extras too.
    void SetDatabase(TDBConnection* Value);
    // A new empty row of the IP-set table, and empty boxes.
    void PrepareNew();
    // The boxes from the current row of the IP-set table, which then goes into edit state.
    void LoadForEdit();

    void FormShow();
    void DHCPCheckClick();
    void edtConnectionChange();
    void btnAvanzadoClick();
    void btnAceptarClick();
    void btnCancelarClick();
    void CloseBoxClick() override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    // What the boxes hold, and the box a check is about.
    TIPSetEntry Entry() const;
    TControl* BoxOf(TIPSetBox Box) const;
    void SaveIPSet();
    void AbandonRow();
    void ShowConnection();

    TDataSet* FIPSets = nullptr;
    TDataSet* FConnections = nullptr;
    TDBConnection* FDatabase = nullptr;
    // What "Opciones avanzadas" last accepted, or what the set has.
    TIPSetExtras FExtras;
};
