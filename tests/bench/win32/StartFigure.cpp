// start_to_window_ms: from starting quelvano.exe (beside a database holding one IP set) to its
// main window shown with both trees filled; bare_window_ms: the same for the smallest Win32
// program, started the same way in the same run. Medians of interleaved runs, in milliseconds,
// and start_to_window_ratio, the first divided by the second: the program's start against what
// any window costs on this machine at this moment.
#include "base/FilePath.h"
#include "base/TApplication.h"
#include "fakes/TempStore.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

const int Runs = 7;

double Now() {
    LARGE_INTEGER Count, Frequency;
    QueryPerformanceCounter(&Count);
    QueryPerformanceFrequency(&Frequency);
    return 1000.0 * double(Count.QuadPart) / double(Frequency.QuadPart);
}

// The visible top-level window of the process with this class.
HWND WindowOf(DWORD Pid, const wchar_t* Class) {
    for (HWND W = FindWindowExW(nullptr, nullptr, Class, nullptr); W != nullptr;
         W = FindWindowExW(nullptr, W, Class, nullptr)) {
        DWORD Owner = 0;
        GetWindowThreadProcessId(W, &Owner);
        if (Owner == Pid && IsWindowVisible(W))
            return W;
    }
    return nullptr;
}

// Both trees hold nodes.
bool TreesFilled(HWND Main) {
    int Filled = 0;
    for (HWND C = FindWindowExW(Main, nullptr, WC_TREEVIEWW, nullptr); C != nullptr;
         C = FindWindowExW(Main, C, WC_TREEVIEWW, nullptr))
        Filled += SendMessageW(C, TVM_GETCOUNT, 0, 0) > 0 ? 1 : 0;
    return Filled == 2;
}

// Starts Exe in Folder and returns the milliseconds until Ready holds for its window; closes it.
double TimeStart(const std::wstring& Exe, const std::wstring& Folder, const wchar_t* Class,
                 const std::function<bool(HWND)>& Ready) {
    std::wstring Line = L"\"" + Exe + L"\"";
    STARTUPINFOW Startup = {};
    Startup.cb = sizeof Startup;
    PROCESS_INFORMATION Info = {};
    const double Start = Now();
    if (!CreateProcessW(nullptr, Line.data(), nullptr, nullptr, FALSE, 0, nullptr, Folder.c_str(),
                        &Startup, &Info))
        return -1;
    double Elapsed = -1;
    while (Now() - Start < 30000) {
        const HWND W = WindowOf(Info.dwProcessId, Class);
        if (W != nullptr && Ready(W)) {
            Elapsed = Now() - Start;
            PostMessageW(W, WM_CLOSE, 0, 0);
            break;
        }
        Sleep(1);
    }
    if (WaitForSingleObject(Info.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(Info.hProcess, 1);
    CloseHandle(Info.hThread);
    CloseHandle(Info.hProcess);
    return Elapsed;
}

double Median(std::vector<double> Values) {
    std::sort(Values.begin(), Values.end());
    return Values[Values.size() / 2];
}

} // namespace

int main() {
    TApplication App;
    TempFolder Folder;
    const std::filesystem::path Exe = Folder.Path() / "quelvano.exe";
    std::filesystem::copy_file(FilePath(QUELVANO_EXE), Exe);
    {
        TgtIPDBManager Db(nullptr);
        CreateEmptyDatabase(Folder.File("quelvano.ipdb"));
        Db.OpenDatabase(Folder.File("quelvano.ipdb"));
        PostIPSet(Db, "Oficina", PostConnection(Db, "Conexion"), true, {});
    }
    std::vector<double> Program, Bare;
    for (int I = 0; I < Runs; ++I) {
        Program.push_back(
            TimeStart(Exe.wstring(), Folder.Path().wstring(), L"TFrmMain", TreesFilled));
        Bare.push_back(
            TimeStart(BARE_EXE, Folder.Path().wstring(), L"BareWindow", [](HWND) { return true; }));
    }
    // A run that never showed its window leaves no figure to print.
    if (*std::min_element(Program.begin(), Program.end()) < 0 ||
        *std::min_element(Bare.begin(), Bare.end()) < 0) {
        std::fprintf(stderr, "figure_start: a window did not show within 30 s\n");
        return 1;
    }
    const double ProgramMs = Median(Program), BareMs = Median(Bare);
    std::printf("start_to_window_ms: %.0f ms\n", ProgramMs);
    std::printf("bare_window_ms: %.0f ms\n", BareMs);
    std::printf("start_to_window_ratio: %.2f\n", ProgramMs / BareMs);
    return 0;
}
