#pragma once

#include "ui/f_AdvancedOptions.h"

#include <memory>

// The "Opciones avanzadas" window, from its template.
std::unique_ptr<TFormView> MakeAdvancedView(TFrmAdvancedOptions& Form);
