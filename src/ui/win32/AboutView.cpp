#include "ui/win32/AboutView.h"

#include "ui/win32/AboutDialogIds.h"
#include "ui/win32/DialogBase.h"

#include <commctrl.h>

namespace {

class TAboutView : public TModalDialog {
public:
    explicit TAboutView(TfrmAcercaDe& Form)
        : TModalDialog(IDD_ABOUT, TPlacement::Owner), FForm(Form) {
        SetItemFont(IDC_ABOUT_NAME, L"", 150, true);
    }

private:
    // Enter is Aceptar's, though Tab never reaches it.
    void OnShow() override {
        SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDOK)), TRUE);
    }
    void OnCloseBox() override { FForm.CloseBoxClick(); }

    void OnCommand(int Id, int) override {
        if (Id == IDOK)
            FForm.btnAceptarClick();
        else if (Id == IDCANCEL)
            FForm.CloseBoxClick();
    }

    bool OnNotify(const NMHDR& Header) override {
        if (Header.idFrom != IDC_ABOUT_LINK ||
            (Header.code != NM_CLICK && Header.code != NM_RETURN))
            return false;
        FForm.Label8Click();
        return true;
    }

    TfrmAcercaDe& FForm;
};

} // namespace

std::unique_ptr<TFormView> MakeAboutView(TfrmAcercaDe& Form) {
    return std::make_unique<TAboutView>(Form);
}
