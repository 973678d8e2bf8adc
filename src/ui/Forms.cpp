#include "ui/Forms.h"

#include "base/Exception.h"

void TForm::SetCaption(const std::string& Value) {
    FCaption = Value;
    if (FView)
        FView->SetCaption(Value);
}

void TForm::SetModalResult(int Value) {
    FModalResult = Value;
    if (Value != mrNone && FShowing && FView)
        FView->EndModal();
}

int TForm::ShowModal() {
    if (!FView)
        throw Exception("No hay ventana para el formulario.");
    FModalResult = mrNone;
    FShowing = true;
    try {
        FView->ShowModal();
    } catch (...) {
        FShowing = false;
        throw;
    }
    FShowing = false;
    return FModalResult;
}
