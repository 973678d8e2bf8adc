#include "ui/win32/IPSetView.h"

#include "ui/win32/DialogBase.h"
#include "ui/win32/DlgControls.h"
#include "ui/win32/IPSetDialogIds.h"

namespace {

const wchar_t* const FixedPitchFace = L"Courier New";

class TIPSetView : public TModalDialog {
public:
    explicit TIPSetView(TFrmIPSet& Form)
        : TModalDialog(IDD_IPSET, TPlacement::Screen), FForm(Form) {
        SetBackground(clWhite);
        for (const int Id : {IDC_IPSET_NAME, IDC_IPSET_ADDRESS, IDC_IPSET_MASK, IDC_IPSET_GATEWAY,
                             IDC_IPSET_DNS1, IDC_IPSET_DNS2})
            SetItemFont(Id, FixedPitchFace);
        Form.edtIPSetName = &FName;
        Form.edtIPAddress = &FAddress;
        Form.edtSubnetMask = &FMask;
        Form.edtDefGateway = &FGateway;
        Form.edtDNS1 = &FDns1;
        Form.edtDNS2 = &FDns2;
        Form.edtConnection = &FConnection;
        Form.DHCPCheck = &FDhcp;
    }

private:
    void OnShow() override { FForm.FormShow(); }
    void OnCloseBox() override { FForm.CloseBoxClick(); }

    void OnCommand(int Id, int Code) override {
        if (Id == IDC_IPSET_DHCP && Code == BN_CLICKED)
            FForm.DHCPCheckClick();
        else if (Id == IDC_IPSET_CONNECTION && Code == CBN_SELCHANGE)
            FForm.edtConnectionChange();
        else if (Id == IDC_IPSET_ADVANCED)
            FForm.btnAvanzadoClick();
        else if (Id == IDOK)
            FForm.btnAceptarClick();
        else if (Id == IDCANCEL)
            FForm.btnCancelarClick();
    }

    TFrmIPSet& FForm;
    TDlgEdit FName{*this, IDC_IPSET_NAME, TEditKind::Name};
    TDlgEdit FAddress{*this, IDC_IPSET_ADDRESS, TEditKind::Address};
    TDlgEdit FMask{*this, IDC_IPSET_MASK, TEditKind::Address};
    TDlgEdit FGateway{*this, IDC_IPSET_GATEWAY, TEditKind::Address};
    TDlgEdit FDns1{*this, IDC_IPSET_DNS1, TEditKind::Address};
    TDlgEdit FDns2{*this, IDC_IPSET_DNS2, TEditKind::Address};
    TDlgCombo FConnection{*this, IDC_IPSET_CONNECTION};
    TDlgCheck FDhcp{*this, IDC_IPSET_DHCP};
};

} // namespace

std::unique_ptr<TFormView> MakeIPSetView(TFrmIPSet& Form) {
    return std::make_unique<TIPSetView>(Form);
}
