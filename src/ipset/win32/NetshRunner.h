#pragma once

#include "ipset/CommandRunner.h"

#include <memory>

// The runner that starts the system folder's netsh.exe in this process, whatever its rights:
// the elevated helper's, and the program's own when it has administrator rights.
std::unique_ptr<TCommandRunner> CreateNetshRunner(unsigned PauseMs);
