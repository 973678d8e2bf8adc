#include "ipset/CommandRunner.h"

#include "base/TApplication.h"
#include "base/win32/SystemFolder.h"
#include "base/win32/WideText.h"
#include "ipset/ExtraLines.h"
#include "ipset/win32/ElevatedRunner.h"
#include "ipset/win32/NetshRunner.h"

#include <windows.h>

#include <cwchar>
#include <string>

namespace {

// A command line holds at most this many characters.
const size_t MaxCommandLine = 512;

class TWin32CommandRunner : public TCommandRunner {
public:
    explicit TWin32CommandRunner(unsigned PauseMs) : FPauseMs(PauseMs) {}

    int Run(const std::string& CommandLine, int ShowWindow) override {
        const std::wstring Line = ToWide(CommandLine);
        // netsh from the system folder, named in full: left to the search, the system would take
        // a netsh.exe from the program's own folder or from the current folder first, and run it
        // with the program's rights. It runs in the system folder too, so that nothing it loads
        // by a bare name can come from wherever the program was started.
        const std::wstring Folder = SystemFolder();
        const std::wstring Program = Folder + L"\\netsh.exe";
        if (Line.size() > MaxCommandLine || Folder.empty())
            return -1;
        // CreateProcessW may write into the command line, so it gets its own buffer.
        wchar_t Buffer[MaxCommandLine + 1] = {};
        std::wmemcpy(Buffer, Line.data(), Line.size());

        STARTUPINFOW Startup = {};
        Startup.cb = sizeof(Startup);
        Startup.dwFlags = STARTF_USESHOWWINDOW;
        Startup.wShowWindow = static_cast<WORD>(ShowWindow);
        PROCESS_INFORMATION Process = {};
        if (!CreateProcessW(Program.c_str(), Buffer, nullptr, nullptr, FALSE,
                            CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr, Folder.c_str(),
                            &Startup, &Process))
            return -1;

        DWORD ExitCode = 0;
        try {
            Application().ProcessMessages();
            WaitForSingleObject(Process.hProcess, INFINITE);
            if (!IsExtraLine(CommandLine))
                Sleep(FPauseMs);
            GetExitCodeProcess(Process.hProcess, &ExitCode);
        } catch (...) {
            CloseHandles(Process);
            throw;
        }
        CloseHandles(Process);
        return static_cast<int>(ExitCode);
    }

private:
    static void CloseHandles(const PROCESS_INFORMATION& Process) {
        CloseHandle(Process.hThread);
        CloseHandle(Process.hProcess);
    }

    unsigned FPauseMs;
};

} // namespace

std::unique_ptr<TCommandRunner> CreateNetshRunner(unsigned PauseMs) {
    return std::make_unique<TWin32CommandRunner>(PauseMs);
}

// netsh changes nothing without administrator rights, and a program started from the Run key
// never has them: the lines then go to an elevated copy of this program.
std::unique_ptr<TCommandRunner> CreateCommandRunner(unsigned PauseMs) {
    if (IsProcessElevated())
        return CreateNetshRunner(PauseMs);
    return CreateElevatedRunner(PauseMs, [](const std::wstring& Parameters) {
        return LaunchElevated(ToWide(Application().ExeName()), Parameters);
    });
}
