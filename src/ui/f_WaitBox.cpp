#include "ui/f_WaitBox.h"

#include "base/TApplication.h"

TWaitBoxViewFactory WaitBoxViewFactory;
TFrmWaitBox* FrmWaitBox = nullptr;

const char* const TFrmWaitBox::Caption = "Por favor espere...";
const char* const TFrmWaitBox::Text = "Quelvano, esta cambiando la configuracion del\r\n"
                                      "adaptador de red.\r\n"
                                      "\r\n"
                                      "Esta operacion puede tomar algunos segundos,\r\n"
                                      "por favor tenga paciencia.";

void TProgressBar::SetPosition(int Value) {
    FPosition = Value < 0 ? 0 : Value > 100 ? 100 : Value;
    if (FView != nullptr)
        FView->SetProgress(FPosition);
}

TFrmWaitBox::TFrmWaitBox(TComponent* AOwner) : TComponent(AOwner) {
    if (WaitBoxViewFactory)
        FView = WaitBoxViewFactory();
    FProgressBar1.FView = FView.get();
}

TFrmWaitBox::~TFrmWaitBox() {
    // Freed by its owner at the end of the program, the box must not stay named.
    if (FrmWaitBox == this)
        FrmWaitBox = nullptr;
}

void TFrmWaitBox::Show() {
    FVisible = true;
    if (FView != nullptr)
        FView->Show();
}

void CreateWaitBox() {
    HideWaitBox();
    FrmWaitBox = new TFrmWaitBox(&Application());
}

void ShowWaitBox() {
    CreateWaitBox();
    FrmWaitBox->Show();
}

void HideWaitBox() {
    delete FrmWaitBox; // the destructor empties FrmWaitBox
}

void TWaitBoxListener::ApplyProgress(int Position) {
    if (FrmWaitBox != nullptr)
        FrmWaitBox->ProgressBar1().SetPosition(Position);
}
