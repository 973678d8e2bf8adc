#pragma once

#include "base/win32/Handle.h"

#include <windows.h>

#include <string>

// Whether this process has administrator rights (its token's TokenElevation). Where every program
// has them, as under Wine, QUELVANO_NOT_ELEVATED=1 in the environment makes it answer false, so
// that the way of a user without them can be taken there. It only ever turns an in-process apply
// into one that asks for consent; nothing makes it claim rights the token lacks.
bool IsProcessElevated();

// How a start went: the process, or the system's error code (ERROR_CANCELLED when the user
// declined the consent prompt).
struct TLaunch {
    THandle Process;
    DWORD Error = 0;
};

// Starts Program with Parameters through the shell's "runas" verb: the system asks the user for
// consent, unless this process is elevated already. Returns once the user has answered.
TLaunch LaunchElevated(const std::wstring& Program, const std::wstring& Parameters);
