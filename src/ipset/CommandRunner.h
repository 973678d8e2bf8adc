#pragma once

#include "base/Exception.h"

#include <memory>
#include <string>
#include <vector>

// Runs one netsh command line and waits for it to end. On Windows it starts the system folder's
// netsh.exe, whatever the line's first word, and hands it the line as it is.
class TCommandRunner {
public:
    virtual ~TCommandRunner() = default;

    // An apply hands over all its lines before the first runs and says when it is over, so a
    // runner that has them carried out elsewhere can send them at once; Run is then called for
    // each of them in order.
    virtual void BeginApply(const std::vector<std::string>&) {}
    virtual void EndApply() {}

    // The process's exit code, or -1 when it cannot be started. ShowWindow 0 keeps its window
    // hidden. Other failures raise.
    virtual int Run(const std::string& CommandLine, int ShowWindow) = 0;
};

// Raised by Run when the lines cannot have the administrator rights they need: the user refused
// them, or the runner would not ask (the message says why). None of the apply's lines has run,
// nor will.
class EElevationDeclined : public Exception {
public:
    explicit EElevationDeclined(
        const std::string& Why =
            "Se necesitan permisos de administrador para cambiar la configuracion IP.")
        : Exception(Why) {}
};

// The platform's runner. Each command is followed by a pause of PauseMs, which lets the
// system settle the new configuration before the next one.
std::unique_ptr<TCommandRunner> CreateCommandRunner(unsigned PauseMs = 1000);
