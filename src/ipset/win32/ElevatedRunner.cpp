#include "ipset/win32/ElevatedRunner.h"

#include "base/TApplication.h"
#include "ipset/win32/ApplyHelper.h"
#include "ipset/win32/HelperPipe.h"

#include <vector>

namespace {

const char* const OpenFolder = "Otros usuarios pueden modificar la carpeta de Quelvano: muevala a "
                               "una carpeta propia para aplicar configuraciones.";

class TElevatedRunner : public TCommandRunner {
public:
    TElevatedRunner(unsigned PauseMs, TLauncher Launch)
        : FPauseMs(PauseMs), FLaunch(std::move(Launch)) {}

    void BeginApply(const std::vector<std::string>& Lines) override {
        EndApply();
        FLines = Lines;
    }

    // Closing this end stops a helper that is still at work before its next line.
    void EndApply() override {
        FPipe = THelperPipe();
        FHelper.reset();
        FLines.clear();
        FNext = 0;
    }

    int Run(const std::string& CommandLine, int) override {
        if (FNext >= FLines.size() || FLines[FNext] != CommandLine)
            return -1;
        if (FNext++ == 0)
            Start();
        if (!FPipe.Valid())
            return -1;
        Application().ProcessMessages();
        int Result = -1;
        if (!FPipe.ReceiveResult(Result))
            FPipe = THelperPipe(); // the helper is gone: no more results will come
        return Result;
    }

private:
    void Start() {
        FPipe = THelperPipe::Create();
        if (!FPipe.Valid())
            return;
        TLaunch Launch =
            FLaunch(ApplyHelperParameters(FPipe.Name(), GetCurrentProcessId(), FPauseMs));
        if (Launch.Error == ERROR_CANCELLED || Launch.Error == ErrorOpenToOthers) {
            FPipe = THelperPipe();
            throw Launch.Error == ERROR_CANCELLED ? EElevationDeclined()
                                                  : EElevationDeclined(OpenFolder);
        }
        FHelper = std::move(Launch.Process);
        if (!FHelper || !FPipe.Accept(FHelper.get()) || !FPipe.SendLines(FLines))
            FPipe = THelperPipe();
    }

    unsigned FPauseMs;
    TLauncher FLaunch;
    std::vector<std::string> FLines;
    size_t FNext = 0;
    THelperPipe FPipe;
    THandle FHelper;
};

} // namespace

std::unique_ptr<TCommandRunner> CreateElevatedRunner(unsigned PauseMs, TLauncher Launch) {
    return std::make_unique<TElevatedRunner>(PauseMs, std::move(Launch));
}
