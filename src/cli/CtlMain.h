#pragma once

#include "ipset/ApplyVerdict.h"
#include "ipset/CommandRunner.h"

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

class TgtIPDBManager;

// Exit codes of the console program, as its help lists them.
enum TCtlExitCode { ceOK = 0, ceStepFailed = 1, ceUsage = 2, ceNoDatabase = 3 };

// What the program's entry on each platform gives the console program.
struct TCtlEnvironment {
    std::ostream& Out;
    std::ostream& Err;
    // Writes the database file from the template when it is missing and opens it in Db; raises
    // when it cannot.
    std::function<void(TgtIPDBManager& Db)> OpenStore;
    // The runner that carries out an apply's lines; the platform's when not set.
    std::function<std::unique_ptr<TCommandRunner>()> MakeRunner;
    // Where an apply reads the adapters back; the system's when not set.
    std::function<std::unique_ptr<TLiveAdapters>()> MakeLiveAdapters;
};

// Runs one command line (the words after the program's name) and returns the exit code. Every
// command but the help first brings the connection table in step with the system.
int QuelvanoCtl(const std::vector<std::string>& Args, const TCtlEnvironment& Env);
