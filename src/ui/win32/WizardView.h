#pragma once

#include "ui/frmWizardUnit.h"

#include <memory>

// The wizard's window: the outer dialog with the button row and its six pages.
std::unique_ptr<TFormView> MakeWizardView(TfrmWizard& Form);
