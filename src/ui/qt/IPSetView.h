#pragma once

#include "ui/f_IPSet.h"

#include <memory>

// The IP-set editor's window, from its Designer form.
std::unique_ptr<TFormView> MakeQtIPSetView(TFrmIPSet& Form);
