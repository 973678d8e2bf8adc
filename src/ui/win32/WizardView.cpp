#include "ui/win32/WizardView.h"

#include "ui/win32/DialogBase.h"
#include "ui/win32/DlgControls.h"
#include "ui/win32/WizardIds.h"

#include <array>
#include <functional>

namespace {

const wchar_t* const FixedPitchFace = L"Courier New";
const std::array<int, 6> PageTemplates = {IDD_WIZARD_DEFAULT,   IDD_WIZARD_ADAPTADOR,
                                          IDD_WIZARD_IPSUBMASK, IDD_WIZARD_GATEWAY,
                                          IDD_WIZARD_DNS,       IDD_WIZARD_FINALIZAR};

using TCommandSink = std::function<void(int Id, int Code)>;

// One page: a child dialog lying over the outer one's page area, whose controls report to the
// wizard's window.
class TWizardPage : public TDialog {
public:
    TWizardPage(int TemplateId, HWND Parent, TCommandSink Sink)
        : TDialog(TemplateId, Parent), FSink(std::move(Sink)) {
        // Ahead of the button row in the tab order.
        SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (TemplateId == IDD_WIZARD_DEFAULT || TemplateId == IDD_WIZARD_FINALIZAR) {
            SetBackground(clWhite);
            SetItemFont(IDC_WIZARD_TITLE, L"", 150, true);
        } else {
            SetControlColour(Item(IDC_WIZARD_TITLE), clWhite);
            SetControlColour(Item(IDC_WIZARD_PICTURE), clWhite);
            SetItemFont(IDC_WIZARD_TITLE, L"", 100, true);
        }
    }
    using TDialog::SetItemFont;

private:
    void OnCommand(int Id, int Code) override { FSink(Id, Code); }
    // A multi-line box takes Esc itself and closes its page with it: Cancel, as Esc is elsewhere.
    void OnCloseBox() override { FSink(IDCANCEL, BN_CLICKED); }

    TCommandSink FSink;
};

class TWizardView : public TModalDialog, public TNotebook {
public:
    explicit TWizardView(TfrmWizard& Form)
        : TModalDialog(IDD_WIZARD, TPlacement::Owner), FForm(Form) {
        Page(5).SetItemFont(IDC_WIZARD_NAME, FixedPitchFace);
        Page(5).SetItemFont(IDC_WIZARD_SUMMARY, FixedPitchFace);
        Form.nbWizard = this;
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
    }

    void SetPageIndex(int Value) override {
        for (std::size_t I = 0; I < FPages.size(); ++I)
            ShowWindow(FPages[I]->Handle(), int(I) == Value ? SW_SHOW : SW_HIDE);
        // A focus lost with its page, or with a button that went grey, goes to "&Siguiente".
        const HWND Focus = GetFocus();
        if (Focus == nullptr || Focus == Handle() || !IsWindowVisible(Focus) ||
            !IsWindowEnabled(Focus))
            FSiguiente.SetFocus();
    }

private:
    TWizardPage& Page(int Index) { return *FPages[std::size_t(Index)]; }

    std::array<std::unique_ptr<TWizardPage>, 6> MakePages() {
        std::array<std::unique_ptr<TWizardPage>, 6> Pages;
        for (std::size_t I = 0; I < Pages.size(); ++I)
            Pages[I] = std::make_unique<TWizardPage>(
                PageTemplates[I], Handle(), [this](int Id, int Code) { OnPageCommand(Id, Code); });
        return Pages;
    }

    void OnCloseBox() override { FForm.CloseBoxClick(); }

    void OnCommand(int Id, int /*Code*/) override {
        if (Id == IDC_WIZARD_SIGUIENTE)
            FForm.btnSiguienteClick();
        else if (Id == IDC_WIZARD_ATRAS)
            FForm.btnAtrasClick();
        else if (Id == IDCANCEL)
            FForm.btnCancelar1Click();
    }

    // Windows also reports a click on a radio button that only received the focus; only one
    // that is now checked was chosen.
    void OnPageCommand(int Id, int Code) {
        if (Id == IDC_WIZARD_CONNECTION && Code == CBN_SELCHANGE)
            FForm.edtConnectionChange();
        else if (Id == IDC_WIZARD_NODHCP && Code == BN_CLICKED && FNoDhcp.Checked())
            FForm.rbNoDhcpClick();
        else if (Id == IDC_WIZARD_SIDHCP && Code == BN_CLICKED && FSiDhcp.Checked())
            FForm.rbSiDhcpClick();
        else if (Id == IDCANCEL)
            FForm.btnCancelar1Click();
    }

    TfrmWizard& FForm;
    std::array<std::unique_ptr<TWizardPage>, 6> FPages = MakePages();
    TDlgControl<TControl> FAtras{*this, IDC_WIZARD_ATRAS};
    TDlgButton FSiguiente{*this, IDC_WIZARD_SIGUIENTE};
    TDlgCombo FConnection{Page(1), IDC_WIZARD_CONNECTION};
    TDlgCheck FNoDhcp{Page(2), IDC_WIZARD_NODHCP};
    TDlgCheck FSiDhcp{Page(2), IDC_WIZARD_SIDHCP};
    TDlgEdit FAddress{Page(2), IDC_WIZARD_ADDRESS, TEditKind::Address};
    TDlgEdit FMask{Page(2), IDC_WIZARD_MASK, TEditKind::Address};
    TDlgEdit FGateway{Page(3), IDC_WIZARD_GATEWAY, TEditKind::Address};
    TDlgEdit FDns1{Page(4), IDC_WIZARD_DNS1, TEditKind::Address};
    TDlgEdit FDns2{Page(4), IDC_WIZARD_DNS2, TEditKind::Address};
    TDlgEdit FName{Page(5), IDC_WIZARD_NAME, TEditKind::Name};
    TDlgEdit FSummary{Page(5), IDC_WIZARD_SUMMARY};
};

} // namespace

std::unique_ptr<TFormView> MakeWizardView(TfrmWizard& Form) {
    return std::make_unique<TWizardView>(Form);
}
