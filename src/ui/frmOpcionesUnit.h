#pragma once

#include "ui/Forms.h"

// The options dialog: the two settings of the current user, read when it opens and written, both,
// on Aceptar.
class TfrmOpciones : public TForm {
public:
    static inline TFormViewFactory<TfrmOpciones> ViewFactory;

    // Reads the settings into the check boxes; an unreadable value raises here.
    explicit TfrmOpciones(TComponent* AOwner);

    // Bound by the view.
    TCheckControl* chkIniciarWin = nullptr;
    TCheckControl* chkStartMinimizado = nullptr;

    void FormCreate();
    void btnAceptarClick();
    void btnCancelarClick();
    void btnAyudarClick();
};
