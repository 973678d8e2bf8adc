#pragma once

#include <functional>
#include <string>
#include <vector>

// What a finished program left behind.
struct TProcessResult {
    // The exit code; 128 + the signal's number when a signal ended it; -1 when it could not start.
    int ExitCode = -1;
    std::string Output; // its standard output
    std::string Errors; // its standard error, kept from the user's terminal
};

// Starts Args[0], searched on PATH, with Args as its argument vector (never through a shell), an
// empty standard input and none of our other descriptors, and waits for it to end. WhileRunning,
// when given, is called once the program has started.
TProcessResult RunProcess(const std::vector<std::string>& Args,
                          const std::function<void()>& WhileRunning = nullptr);
