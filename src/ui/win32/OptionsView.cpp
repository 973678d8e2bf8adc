#include "ui/win32/OptionsView.h"

#include "ui/win32/DialogBase.h"
#include "ui/win32/DlgControls.h"
#include "ui/win32/OptionsDialogIds.h"

namespace {

class TOptionsView : public TModalDialog {
public:
    explicit TOptionsView(TfrmOpciones& Form)
        : TModalDialog(IDD_OPTIONS, TPlacement::Owner), FForm(Form) {
        SetBackground(clWhite);
        CheckRadioButton(Handle(), IDC_OPTIONS_CURRENT_USER, IDC_OPTIONS_ALL_USERS,
                         IDC_OPTIONS_CURRENT_USER);
        Form.chkIniciarWin = &FRun;
        Form.chkStartMinimizado = &FMinimized;
    }

private:
    void OnCloseBox() override { FForm.CloseBoxClick(); }

    void OnCommand(int Id, int) override {
        if (Id == IDOK)
            FForm.btnAceptarClick();
        else if (Id == IDCANCEL)
            FForm.btnCancelarClick();
        else if (Id == IDC_OPTIONS_HELP)
            FForm.btnAyudarClick();
    }

    TfrmOpciones& FForm;
    TDlgCheck FRun{*this, IDC_OPTIONS_RUN};
    TDlgCheck FMinimized{*this, IDC_OPTIONS_MINIMIZED};
};

} // namespace

std::unique_ptr<TFormView> MakeOptionsView(TfrmOpciones& Form) {
    return std::make_unique<TOptionsView>(Form);
}
