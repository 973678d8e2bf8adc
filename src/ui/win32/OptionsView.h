#pragma once

#include "ui/frmOpcionesUnit.h"

#include <memory>

// The options dialog's window, from its template.
std::unique_ptr<TFormView> MakeOptionsView(TfrmOpciones& Form);
