#include "ui/frmOpcionesUnit.h"

#include "base/TApplication.h"
#include "shell/GlobalUnit.h"
#include "ui/HelpPage.h"

TfrmOpciones::TfrmOpciones(TComponent* AOwner) : TForm(AOwner) {
    SetCaption("Opciones");
    CreateView(ViewFactory, *this);
    FormCreate();
}

void TfrmOpciones::FormCreate() {
    chkIniciarWin->SetChecked(IsRunAtStartup(RunValueName));
    chkStartMinimizado->SetChecked(ReadSetting(StartMinimizedName) == "1");
}

// The dialog closes only once both values are written: after a refused write it stays open,
// so the choice the user made is not lost and can be tried again or abandoned.
void TfrmOpciones::btnAceptarClick() {
    SetRunAtStartup(Application().ExeName(), RunValueName, chkIniciarWin->Checked());
    WriteSetting(StartMinimizedName, chkStartMinimizado->Checked() ? "1" : "0");
    SetModalResult(mrOK);
}

void TfrmOpciones::btnCancelarClick() {
    SetModalResult(mrCancel);
}

void TfrmOpciones::btnAyudarClick() {
    OpenHelpPage();
}
