#pragma once

#include "ui/Forms.h"

// The about box: the program's name, version and authors, and a link to its help page.
class TfrmAcercaDe : public TForm {
public:
    static inline TFormViewFactory<TfrmAcercaDe> ViewFactory;

    explicit TfrmAcercaDe(TComponent* AOwner);

    void btnAceptarClick();
    void Label8Click();
};
