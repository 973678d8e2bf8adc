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
        const auto Change = TranslateNetshLine(CommandLine);
        if (!Change)
            return -1;
        FStarted = false;
        int Result = Start(ModifyCommand(*Change));
        if (Result == 0)
            Result = TakeEffect(*Change);
        if (FStarted)
            std::this_thread::sleep_for(std::chrono::milliseconds(FPauseMs));
        return Result;
    }

private:
    // Re-activating a connection drops its addresses and restarts DHCP, and a static activation
    // that hangs would hold the wait box once more for each line; name servers need neither.
    int TakeEffect(const TNmcliChange& Change) {
        if (Change.DnsOnly) {
            const TProcessResult Devices = RunProcess(ActiveDevicesCommand(Change.Connection));
            const std::string Device = Devices.Output.substr(0, Devices.Output.find('\n'));
            if (Devices.ExitCode == 0 && !Device.empty())
                return Start(ReapplyCommand(Device));
        }
        return Start(ActivateCommand(Change));
    }

    int Start(const TArgv& Argv) {
        return RunProcess(Argv,
                          [this] {
                              if (!FStarted) {
                                  FStarted = true;
                                  Application().ProcessMessages();
                              }
                          })
            .ExitCode;
    }

    unsigned FPauseMs;
    bool FStarted = false;
};

} // namespace

std::unique_ptr<TCommandRunner> CreateCommandRunner(unsigned PauseMs) {
    return std::make_unique<TNmcliCommandRunner>(PauseMs);
}
