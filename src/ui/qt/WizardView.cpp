#include "ui/qt/WizardView.h"

#include "ui/qt/QtControls.h"
#include "ui/qt/QtDialog.h"

#include "ui_WizardDialog.h"

namespace {

class TQtWizardView : public TQtDialog {
public:
    explicit TQtWizardView(TfrmWizard& Form) : TQtDialog(TPlacement::Owner), FForm(Form) {
        for (QWidget* Panel : {FUi.Default, FUi.Finalizar})
            SetWidgetColour(Panel, clWhite);
        for (QWidget* Band : {FUi.pnBand1, FUi.pnBand2, FUi.pnBand3, FUi.pnBand4})
            SetWidgetColour(Band, clWhite);
        for (QLabel* Title : {FUi.lblBienvenido, FUi.lblFinalizar})
            SetBoldFont(Title, 150);
        for (QLabel* Title : {FUi.lblTitle1, FUi.lblTitle2, FUi.lblTitle3, FUi.lblTitle4})
            SetBoldFont(Title, 100);
        FixSize();
        Form.nbWizard = &FPages;
        Form.btnAtras = &FAtras;
        Form.btnSiguiente = &FSiguiente;
        Form.edtConnection = &FConnection;
        Form.rbNoDhcp = &FNoDhcp;
        Form.rbSiDhcp = &FSiDhcp;
        Form.txtDireccionIP = &FAddress;
        Form.txtMascaraRed = &FMask;
        Form.txtGateway = &FGateway;
        Form.edtDNS1 = &FDns1;
        Form.edtDNS2 = &FDns2;
        Form.txtDescripcion = &FName;
        Form.txtResumen = &FSummary;
        Forward(FUi.btnSiguiente, [this] { FForm.btnSiguienteClick(); });
        Forward(FUi.btnAtras, [this] { FForm.btnAtrasClick(); });
        Forward(FUi.btnCancelar, [this] { FForm.btnCancelar1Click(); });
        Forward(FUi.rbNoDhcp, [this] { FForm.rbNoDhcpClick(); });
        Forward(FUi.rbSiDhcp, [this] { FForm.rbSiDhcpClick(); });
        // As in a Windows dialog, Tab enters the two choices at the checked one and the arrows
        // move between them.
        for (QAbstractButton* Choice : {FUi.rbNoDhcp, FUi.rbSiDhcp}) {
            auto Follow = [Choice](bool Checked) {
                Choice->setFocusPolicy(Checked ? Qt::StrongFocus : Qt::ClickFocus);
            };
            Follow(Choice->isChecked());
            connect(Choice, &QAbstractButton::toggled, Choice, Follow);
        }
    }

private:
    // A click on a radio button that leaves it unchecked chose nothing.
    void Forward(QAbstractButton* Button, std::function<void()> Handler) {
        connect(Button, &QAbstractButton::clicked, this, [Button, Handler = std::move(Handler)] {
            if (!Button->isCheckable() || Button->isChecked())
                RunHandler(Handler);
        });
    }

    void OnCloseBox() override { FForm.CloseBoxClick(); }
    void OnEscape() override { FForm.btnCancelar1Click(); }

    TfrmWizard& FForm;
    TQtForm<Ui::WizardDialog> FUi{this};
    TQtNotebook FPages{FUi.nbWizard};
    TQtControl<TControl, QAbstractButton> FAtras{FUi.btnAtras};
    TQtButton FSiguiente{FUi.btnSiguiente};
    TQtCombo FConnection{FUi.edtConnection, [this] { FForm.edtConnectionChange(); }};
    TQtCheck FNoDhcp{FUi.rbNoDhcp};
    TQtCheck FSiDhcp{FUi.rbSiDhcp};
    TQtEdit FAddress{FUi.txtDireccionIP, TEditKind::Address};
    TQtEdit FMask{FUi.txtMascaraRed, TEditKind::Address};
    TQtEdit FGateway{FUi.txtGateway, TEditKind::Address};
    TQtEdit FDns1{FUi.edtDNS1, TEditKind::Address};
    TQtEdit FDns2{FUi.edtDNS2, TEditKind::Address};
    TQtEdit FName{FUi.txtDescripcion, TEditKind::Name};
    TQtMemo FSummary{FUi.txtResumen};
};

} // namespace

std::unique_ptr<TFormView> MakeQtWizardView(TfrmWizard& Form) {
    return std::make_unique<TQtWizardView>(Form);
}
