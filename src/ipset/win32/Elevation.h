#pragma once

#include "base/win32/Handle.h"

#include <windows.h>

#include <string>
#include <vector>

// Whether this process has administrator rights (its token's TokenElevation). Where every program
// has them, as under Wine, QUELVANO_NOT_ELEVATED=1 in the environment makes it answer false, so
// that the way of a user without them can be taken there. It only ever turns an in-process apply
// into one that asks for consent; nothing makes it claim rights the token lacks.
bool IsProcessElevated();

// The SID of the user this process runs for; empty when its token does not tell.
std::vector<BYTE> UserSid();

// Whether a file or folder with this security may be changed by anyone but the user, the
// administrators, the system or the installer: written or appended to (in a folder: given new
// files), deleted (or what it holds), or given another owner or other permissions. True when
// the descriptor has no DACL, or a null one, which lets everyone in.
bool IsOpenToOthers(PSECURITY_DESCRIPTOR Descriptor);

// How a start went: the process, or the system's error code (ERROR_CANCELLED when the user
// declined the consent prompt).
struct TLaunch {
    THandle Process;
    DWORD Error = 0;
};

// LaunchElevated's code, of the program's own (the customer bit set), for a program that others
// may change, or whose folder they may change: whatever they put there would run elevated.
constexpr DWORD ErrorOpenToOthers = 0x20000001;

// Starts Program with Parameters through the shell's "runas" verb: the system asks the user for
// consent, unless this process is elevated already. Returns once the user has answered. Nothing
// is asked nor started when the program or its folder is open to others.
TLaunch LaunchElevated(const std::wstring& Program, const std::wstring& Parameters);
