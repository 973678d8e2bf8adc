#include "ipset/CommandRunner.h"

#include "base/TApplication.h"
#include "ipset/linux/NetshTranslation.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <thread>

extern char** environ;

namespace {

// Starts argv (searched on PATH, never through a shell) and waits: its exit code, -1 when it
// cannot be started.
int Spawn(const TArgv& Argv, bool& Started) {
    std::vector<char*> Args;
    for (const std::string& A : Argv)
        Args.push_back(const_cast<char*>(A.c_str()));
    Args.push_back(nullptr);
    pid_t Child = 0;
    if (posix_spawnp(&Child, Args[0], nullptr, nullptr, Args.data(), environ) != 0)
        return -1;
    if (!Started) {
        Started = true;
        Application().ProcessMessages();
    }
    int Status = 0;
    while (waitpid(Child, &Status, 0) < 0)
        if (errno != EINTR)
            return -1;
    if (WIFEXITED(Status))
        return WEXITSTATUS(Status);
    return 128 + WTERMSIG(Status);
}

class TNmcliCommandRunner : public TCommandRunner {
public:
    explicit TNmcliCommandRunner(unsigned PauseMs) : FPauseMs(PauseMs) {}

    int Run(const std::string& CommandLine, int) override {
        const auto Runs = TranslateNetshLine(CommandLine);
        if (!Runs)
            return 1;
        bool Started = false;
        int Result = 0;
        for (const TArgv& Argv : *Runs) {
            Result = Spawn(Argv, Started);
            if (Result != 0)
                break;
        }
        if (Started)
            std::this_thread::sleep_for(std::chrono::milliseconds(FPauseMs));
        return Result;
    }

private:
    unsigned FPauseMs;
};

} // namespace

std::unique_ptr<TCommandRunner> CreateCommandRunner(unsigned PauseMs) {
    return std::make_unique<TNmcliCommandRunner>(PauseMs);
}
