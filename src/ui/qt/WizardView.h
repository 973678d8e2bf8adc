#pragma once

#include "ui/frmWizardUnit.h"

#include <memory>

// The wizard's window, from its Designer form: the six pages in one stacked widget, all made at
// start and shown one at a time above the shared button row.
std::unique_ptr<TFormView> MakeQtWizardView(TfrmWizard& Form);
