#include "ipset/CommandRunner.h"

#include "base/TApplication.h"
#include "base/linux/Process.h"
#include "ipset/ExtraLines.h"
#include "ipset/linux/NetshTranslation.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

class TNmcliCommandRunner : public TCommandRunner {
public:
    explicit TNmcliCommandRunner(unsigned PauseMs) : FPauseMs(PauseMs) {}

    // A set with extras would otherwise be activated once with its own address alone and again
    // with the rest: its lines only change the profile, and the last one activates it.
    void BeginApply(const std::vector<std::string>& Lines) override {
        FLeft = std::any_of(Lines.begin(), Lines.end(), IsExtraLine) ? Lines.size() : 0;
        FDhcp = false;
    }
    void EndApply() override { FLeft = 0; }

    // A line with no nmcli counterpart starts nothing, so it is reported as a start that failed.
    int Run(const std::string& CommandLine, int) override {
        const bool Deferred = FLeft > 0, Last = Deferred && --FLeft == 0;
        auto Change = TranslateNetshLine(CommandLine);
        if (!Change)
            return -1;
        FStarted = false;
        if (Change->ResetsGateways)
            AddSettings(*Change,
                        DropGatewayRoutes(RunProcess(RoutesCommand(Change->Connection)).Output));
        int Result = Start(ModifyCommand(*Change));
        if (Deferred) {
            FDhcp = FDhcp || Change->Dhcp;
            if (Result == 0 && Last)
                Result = Start(ActivateCommand({Change->Connection, {}, FDhcp}));
            return Result;
        }
        if (Result == 0)
            Result = TakeEffect(*Change);
        if (FStarted)
            std::this_thread::sleep_for(std::chrono::milliseconds(FPauseMs));
        return Result;
    }

private:
    static void AddSettings(TNmcliChange& Change, const TArgv& Settings) {
        Change.Settings.insert(Change.Settings.end(), Settings.begin(), Settings.end());
    }

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
    std::size_t FLeft = 0; // lines of a deferred apply still to come
    bool FDhcp = false;    // the deferred apply is a DHCP set's
};

} // namespace

std::unique_ptr<TCommandRunner> CreateCommandRunner(unsigned PauseMs) {
    return std::make_unique<TNmcliCommandRunner>(PauseMs);
}
