#include "ipset/CommandRunner.h"

#include "base/TApplication.h"
#include "base/linux/Process.h"
#include "ipset/linux/NetshTranslation.h"

#include <chrono>
#include <thread>

namespace {

class TNmcliCommandRunner : public TCommandRunner {
public:
    explicit TNmcliCommandRunner(unsigned PauseMs) : FPauseMs(PauseMs) {}

    // A line with no nmcli counterpart starts nothing, so it is reported as a start that failed.
    int Run(const std::string& CommandLine, int) override {
        const auto Runs = TranslateNetshLine(CommandLine);
        if (!Runs)
            return -1;
        bool Started = false;
        const auto FirstStart = [&Started] {
            if (!Started) {
                Started = true;
                Application().ProcessMessages();
            }
        };
        int Result = 0;
        for (const TArgv& Argv : *Runs) {
            Result = RunProcess(Argv, FirstStart).ExitCode;
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
