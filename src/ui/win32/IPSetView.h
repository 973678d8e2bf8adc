#pragma once

#include "ui/f_IPSet.h"

#include <memory>

// The IP-set editor's window, from its template.
std::unique_ptr<TFormView> MakeIPSetView(TFrmIPSet& Form);
