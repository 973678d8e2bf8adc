#pragma once

#include "ui/f_AdvancedOptions.h"

#include <memory>

// The "Opciones avanzadas" window, from its Designer form.
std::unique_ptr<TFormView> MakeQtAdvancedView(TFrmAdvancedOptions& Form);
