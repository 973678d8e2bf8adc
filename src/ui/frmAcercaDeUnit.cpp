#include "ui/frmAcercaDeUnit.h"

#include "ui/HelpPage.h"

TfrmAcercaDe::TfrmAcercaDe(TComponent* AOwner) : TForm(AOwner) {
    SetCaption("Acerca de");
    CreateView(ViewFactory, *this);
}

void TfrmAcercaDe::btnAceptarClick() {
    SetModalResult(mrOK);
}

void TfrmAcercaDe::Label8Click() {
    OpenHelpPage();
}
