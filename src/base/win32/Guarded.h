#pragma once

#include "base/TApplication.h"

#include <exception>

// Runs the part of a window, dialog or timer procedure that reaches our code. An exception goes
// to the general error display, Windows gets Failed as the answer, and the program goes on.
template <class R, class F> R Guarded(R Failed, F&& Body) {
    try {
        return Body();
    } catch (const std::exception& E) {
        Application().ShowException(E);
        return Failed;
    }
}
