#pragma once

#include <memory>
#include <string>

// Runs one netsh command line and waits for it to end. On Windows it starts the system folder's
// netsh.exe, whatever the line's first word, and hands it the line as it is.
class TCommandRunner {
public:
    virtual ~TCommandRunner() = default;

    // The process's exit code, or -1 when it cannot be started. ShowWindow 0 keeps its window
    // hidden. Other failures raise.
    virtual int Run(const std::string& CommandLine, int ShowWindow) = 0;
};

// The platform's runner. Each command is followed by a pause of PauseMs, which lets the
// system settle the new configuration before the next one.
std::unique_ptr<TCommandRunner> CreateCommandRunner(unsigned PauseMs = 1000);
