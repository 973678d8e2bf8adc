#pragma once

#include "ui/f_WaitBox.h"

#include <memory>

// The wait box's window: a small top-most box with the text and the bar, no close box and no
// system menu; neither the close request nor Esc takes it away.
std::unique_ptr<TWaitBoxView> MakeQtWaitBoxView();
