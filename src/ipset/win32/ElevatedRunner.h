#pragma once

#include "ipset/CommandRunner.h"
#include "ipset/win32/Elevation.h"

#include <functional>
#include <memory>
#include <string>

// Starts the elevated helper with the given parameters (see ApplyHelper.h).
using TLauncher = std::function<TLaunch(const std::wstring& Parameters)>;

// The runner of a process without administrator rights. At the first line of an apply it starts
// the helper through Launch (one consent prompt) and hands it all the apply's lines; each Run
// then returns the exit code the helper reports for its line as soon as that line has ended. A
// helper that cannot be started, or ends early, leaves the lines it has not reported at -1. A
// declined prompt raises EElevationDeclined, and so does a program that others may change. Lines
// not handed over at BeginApply are not run.
std::unique_ptr<TCommandRunner> CreateElevatedRunner(unsigned PauseMs, TLauncher Launch);
