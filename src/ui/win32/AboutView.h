#pragma once

#include "ui/frmAcercaDeUnit.h"

#include <memory>

// The about box's window, from its template.
std::unique_ptr<TFormView> MakeAboutView(TfrmAcercaDe& Form);
