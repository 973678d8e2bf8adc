// The Windows entry: one copy per logon session, the database file beside the executable, the
// application's title and help file, the hidden wait box, then the window and its message loop.
#include "base/StartTrace.h"
#include "base/TApplication.h"
#include "base/win32/WideText.h"
#include "ipset/win32/ApplyHelper.h"
#include "shell/GlobalUnit.h"
#include "shell/win32/ResourceFile.h"
#include "tray/win32/Win32Tray.h"
#include "ui/f_WaitBox.h"
#include "ui/f_main.h"
#include "ui/win32/DialogBase.h"
#include "ui/win32/Dialogs.h"
#include "ui/win32/MainWindowView.h"
#include "ui/win32/NetworkWatch.h"
#include "ui/win32/WaitBoxView.h"

#include <windows.h>

#include <exception>
#include <string>

namespace {

const wchar_t* const MutexName = L"Quelvano";
const wchar_t* const RefusalCaption = L"Quelvano";
const char* const NoMutex = "Error creando mutex";
const char* const AlreadyRunning =
    "Quelvano ya se encuentra en ejecucion.\rRecuerde que cuando usted minimiza Quelvano la "
    "aplicacion se oculta al costado del reloj.";

void Refuse(const char* Text) {
    MessageBoxW(nullptr, ToWide(Text).c_str(), RefusalCaption, MB_SYSTEMMODAL | MB_ICONINFORMATION);
}

std::string ExecutableFolder() {
    std::wstring Path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD Length = GetModuleFileNameW(nullptr, Path.data(), DWORD(Path.size()));
        if (Length < Path.size()) {
            Path.resize(Length);
            break;
        }
        Path.resize(Path.size() * 2);
    }
    std::string Folder = FromWide(Path.substr(0, Path.find_last_of(L"\\/") + 1));
    if (Folder.empty() || (Folder.back() != '\\' && Folder.back() != '/'))
        Folder += '\\';
    return Folder;
}

void InstallApplicationHooks() {
    Application().OnProcessMessages = [] {
        MSG Msg;
        while (PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) {
            if (Msg.message == WM_QUIT) {
                PostQuitMessage(int(Msg.wParam)); // the loop of the program must still see it
                break;
            }
            TranslateMessage(&Msg);
            DispatchMessageW(&Msg);
        }
    };
    Application().OnShowMessage = [](const std::string& Text) {
        MessageBoxW(ModalOwner(), ToWide(Text).c_str(), ToWide(Application().Title).c_str(), MB_OK);
    };
}

// Steps up to the message loop, the window shown; an error raised here ends the program.
void StartUp() {
    AppPath = ExecutableFolder();
    DataPath = AppPath;
    SaveResourceToFile("DATABASE", "IPDB", DatabaseFileName());
    Application().Title = "Quelvano v1.47";
    Application().HelpFile = "Quelvano.hlp";
    InstallApplicationHooks();
    RegisterWin32Dialogs();
    RegisterWin32MainWindow();
    TFrmMain::WatchFactory = StartWin32NetworkWatch;
    FrmMain = new TFrmMain(&Application(), Win32TrayServices());
    RegisterWin32WaitBox();
    CreateWaitBox();
    ShowMainWindow();
}

void ReportStartUpError(const std::string& Message) {
    const std::string Text = "Exception in module quelvano.exe.\r\n\r\n" + Message;
    MessageBoxW(nullptr, ToWide(Text).c_str(), L"Application Error",
                MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // From here on every DLL comes from the system folder alone: the program's own folder is
    // writable, and the elevated copy runs from it.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // The elevated copy that carries out one apply's lines: nothing else of the program runs.
    StartTrace("entry");
    if (IsApplyHelperStart())
        return RunApplyHelper();
    const HANDLE Mutex = CreateMutexW(nullptr, TRUE, MutexName);
    if (Mutex == nullptr) {
        Refuse(NoMutex);
        return 0;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(Mutex);
        Refuse(AlreadyRunning);
        return 0;
    }
    // Everything the program makes for itself hangs from here and goes when wWinMain returns.
    TApplication App;
    try {
        StartUp();
    } catch (const std::exception& E) {
        // No window stays on screen beside the report.
        delete FrmMain;
        // Released first, so that a start made while the report is on screen is not refused.
        CloseHandle(Mutex);
        ReportStartUpError(E.what());
        return 1;
    }
    const int ExitCode = RunMainWindow();
    delete FrmMain;
    CloseHandle(Mutex);
    return ExitCode;
}
