#include "ui/qt/IPSetView.h"

#include "ui/qt/QtControls.h"
#include "ui/qt/QtDialog.h"

#include "ui_IPSetDialog.h"

namespace {

class TQtIPSetView : public TQtDialog {
public:
    explicit TQtIPSetView(TFrmIPSet& Form) : TQtDialog(TPlacement::Screen), FForm(Form) {
        FixSize();
        SetWidgetColour(this, clWhite);
        Form.edtIPSetName = &FName;
        Form.edtIPAddress = &FAddress;
        Form.edtSubnetMask = &FMask;
        Form.edtDefGateway = &FGateway;
        Form.edtDNS1 = &FDns1;
        Form.edtDNS2 = &FDns2;
        Form.edtConnection = &FConnection;
        Form.DHCPCheck = &FDhcp;
        connect(FUi.DHCPCheck, &QCheckBox::clicked, this,
                [this] { RunHandler([this] { FForm.DHCPCheckClick(); }); });
        connect(FUi.btnAvanzado, &QPushButton::clicked, this,
                [this] { RunHandler([this] { FForm.btnAvanzadoClick(); }); });
        connect(FUi.btnAceptar, &QPushButton::clicked, this,
                [this] { RunHandler([this] { FForm.btnAceptarClick(); }); });
        connect(FUi.btnCancelar, &QPushButton::clicked, this,
                [this] { RunHandler([this] { FForm.btnCancelarClick(); }); });
    }

private:
    void OnShow() override { FForm.FormShow(); }
    void OnCloseBox() override { FForm.CloseBoxClick(); }
    void OnEscape() override { FForm.btnCancelarClick(); }

    TFrmIPSet& FForm;
    TQtForm<Ui::IPSetDialog> FUi{this};
    TQtEdit FName{FUi.edtIPSetName, TEditKind::Name};
    TQtEdit FAddress{FUi.edtIPAddress, TEditKind::Address};
    TQtEdit FMask{FUi.edtSubnetMask, TEditKind::Address};
    TQtEdit FGateway{FUi.edtDefGateway, TEditKind::Address};
    TQtEdit FDns1{FUi.edtDNS1, TEditKind::Address};
    TQtEdit FDns2{FUi.edtDNS2, TEditKind::Address};
    TQtCombo FConnection{FUi.edtConnection, [this] { FForm.edtConnectionChange(); }};
    TQtCheck FDhcp{FUi.DHCPCheck};
};

} // namespace

std::unique_ptr<TFormView> MakeQtIPSetView(TFrmIPSet& Form) {
    return std::make_unique<TQtIPSetView>(Form);
}
