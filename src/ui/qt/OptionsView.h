#pragma once

#include "ui/frmOpcionesUnit.h"

#include <memory>

// The options dialog's window, from its Designer form.
std::unique_ptr<TFormView> MakeQtOptionsView(TfrmOpciones& Form);
