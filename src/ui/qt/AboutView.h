#pragma once

#include "ui/frmAcercaDeUnit.h"

#include <memory>

// The about box's window, from its Designer form.
std::unique_ptr<TFormView> MakeQtAboutView(TfrmAcercaDe& Form);
