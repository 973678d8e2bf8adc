#pragma once

#include <windows.h>

#include <string>

// The helper mode of the program: the elevated copy that a copy without administrator rights
// starts, once per apply, to carry out that apply's lines. It is chosen by the command line and
// runs before anything else of the program: no single-instance check, no window, no tray icon,
// no database.

// How the helper ends: its exit code.
enum class THelperExit : int {
    Done = 0, // every line ran and its exit code went back
    BadCommandLine = 2,
    UnverifiedPipe = 3, // not a pipe the program made for this user in the process named
    LinesRefused = 4,   // not an apply's lines of safe values: none ran
    ApplierGone = 5,    // the other end closed the pipe; the lines after that did not run
};

// The helper's parameters: the pipe to take the lines from, the process that made it, and the
// pause after each line.
std::wstring ApplyHelperParameters(const std::wstring& PipeName, DWORD ServerPid, unsigned PauseMs);

// Whether this process was started in helper mode.
bool IsApplyHelperStart();

// Does the helper's work; the process's exit code.
int RunApplyHelper();
