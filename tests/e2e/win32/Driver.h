#pragma once

// What the end-to-end drivers share: starting a copy of the program, finding its windows and
// reading and answering its message boxes, all from outside as a person would.
#include "base/FilePath.h"
#include "base/win32/WideText.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cctype>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

inline const wchar_t* const MainCaption = L"Quelvano v1.47 build 351";

template <class Condition> inline bool WaitFor(Condition Done, int Milliseconds = 20000) {
    for (int Waited = 0; Waited < Milliseconds; Waited += 25) {
        if (Done())
            return true;
        Sleep(25);
    }
    return Done();
}

inline std::wstring WindowText(HWND Window) {
    wchar_t Text[1024] = {};
    GetWindowTextW(Window, Text, 1024);
    return Text;
}

inline std::wstring ClassOf(HWND Window) {
    wchar_t Name[256] = {};
    GetClassNameW(Window, Name, 256);
    return Name;
}

// One started copy of the program.
class TRunningCopy {
public:
    TRunningCopy(const std::filesystem::path& Exe, const std::filesystem::path& WorkingDir) {
        std::wstring Line = L"\"" + Exe.wstring() + L"\"";
        STARTUPINFOW Startup = {};
        Startup.cb = sizeof Startup;
        const std::wstring Dir = WorkingDir.wstring();
        if (!CreateProcessW(nullptr, Line.data(), nullptr, nullptr, FALSE, 0, nullptr, Dir.c_str(),
                            &Startup, &FInfo))
            ADD_FAILURE() << "could not start " << PathText(Exe);
    }
    ~TRunningCopy() {
        if (FInfo.hProcess == nullptr)
            return;
        if (WaitForSingleObject(FInfo.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(FInfo.hProcess, 99);
        WaitForSingleObject(FInfo.hProcess, 10000);
        CloseHandle(FInfo.hThread);
        CloseHandle(FInfo.hProcess);
    }
    TRunningCopy(const TRunningCopy&) = delete;
    TRunningCopy& operator=(const TRunningCopy&) = delete;

    // A top-level window of this process with the given class (any class when empty) and, when
    // one is given, caption.
    HWND FindWindowOf(const std::wstring& ClassName, bool VisibleOnly = true,
                      const std::wstring& Caption = {}) const {
        struct Search {
            DWORD Pid;
            std::wstring ClassName;
            bool VisibleOnly;
            std::wstring Caption;
            HWND Found;
        } S = {FInfo.dwProcessId, ClassName, VisibleOnly, Caption, nullptr};
        EnumWindows(
            [](HWND Window, LPARAM Param) -> BOOL {
                auto& Self = *reinterpret_cast<Search*>(Param);
                DWORD Pid = 0;
                GetWindowThreadProcessId(Window, &Pid);
                if (Pid != Self.Pid || (Self.VisibleOnly && !IsWindowVisible(Window)))
                    return TRUE;
                if (!Self.ClassName.empty() && ClassOf(Window) != Self.ClassName)
                    return TRUE;
                if (!Self.Caption.empty() && WindowText(Window) != Self.Caption)
                    return TRUE;
                Self.Found = Window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&S));
        return S.Found;
    }

    HWND WaitForWindow(const std::wstring& ClassName) const {
        HWND Window = nullptr;
        WaitFor([&] { return (Window = FindWindowOf(ClassName)) != nullptr || Ended(); });
        return Window;
    }

    HWND WaitForMainWindow() const {
        HWND Window = nullptr;
        WaitFor([&] {
            Window = FindWindowOf(L"TFrmMain");
            return (Window != nullptr && WindowText(Window) == MainCaption) || Ended();
        });
        return Window;
    }

    // A visible top-level window of this process with the given class and caption.
    HWND WaitForWindow(const std::wstring& ClassName, const std::wstring& Caption) const {
        HWND Window = nullptr;
        WaitFor([&] {
            return (Window = FindWindowOf(ClassName, true, Caption)) != nullptr || Ended();
        });
        return Window;
    }

    HANDLE Process() const { return FInfo.hProcess; }

    bool Ended() const { return WaitForSingleObject(FInfo.hProcess, 0) == WAIT_OBJECT_0; }

    // The exit code once the process has ended, -1 when it is still running after a while.
    long ExitCode() const {
        if (WaitForSingleObject(FInfo.hProcess, 20000) != WAIT_OBJECT_0)
            return -1;
        DWORD Code = 0;
        GetExitCodeProcess(FInfo.hProcess, &Code);
        return long(Code);
    }

private:
    PROCESS_INFORMATION FInfo = {};
};

// What a message box says: its caption and the text of its message.
struct TMessageBox {
    std::string Caption;
    std::string Text;
};

// Reads the box, then presses Button (IDOK, IDYES, IDNO...).
inline TMessageBox ReadAndDismiss(HWND Box, int Button = IDOK) {
    TMessageBox Read{FromWide(WindowText(Box)), ""};
    for (HWND Child = GetWindow(Box, GW_CHILD); Child; Child = GetWindow(Child, GW_HWNDNEXT))
        if (ClassOf(Child) == L"Static" && !WindowText(Child).empty())
            Read.Text = FromWide(WindowText(Child));
    const HWND Pressed = GetDlgItem(Box, Button);
    if (Pressed != nullptr)
        PostMessageW(Pressed, BM_CLICK, 0, 0);
    else
        PostMessageW(Box, WM_COMMAND, static_cast<WPARAM>(Button), 0);
    return Read;
}

// The names of the DLLs an executable imports, in lower case, as its import table gives them.
inline std::vector<std::string> ImportedDlls(const std::filesystem::path& Exe) {
    std::vector<std::string> Names;
    const HMODULE Image = LoadLibraryExW(Exe.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    // The handle of an image loaded as a resource carries flags in its low bits.
    const auto* Base =
        reinterpret_cast<const BYTE*>(reinterpret_cast<std::uintptr_t>(Image) & ~std::uintptr_t(3));
    if (Base == nullptr)
        return Names;
    const auto* Nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        Base + reinterpret_cast<const IMAGE_DOS_HEADER*>(Base)->e_lfanew);
    const DWORD Table =
        Nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (auto* Dll = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(Base + Table); Dll->Name;
         ++Dll) {
        Names.emplace_back(reinterpret_cast<const char*>(Base + Dll->Name));
        for (char& C : Names.back())
            C = char(std::tolower(static_cast<unsigned char>(C)));
    }
    FreeLibrary(Image);
    return Names;
}

// The DLLs Windows always takes from its system folder (the session manager's KnownDLLs of
// Windows 10 and 11). Any other name is searched for, the program's folder first. API sets
// (api-ms-win-*) are not searched either: the loader maps them to system DLLs itself.
inline bool IsKnownDll(const std::string& Name) {
    static const std::set<std::string> Known = {
        "advapi32.dll", "clbcatq.dll",  "combase.dll", "comdlg32.dll", "coml2.dll",
        "difxapi.dll",  "gdi32.dll",    "gdiplus.dll", "imagehlp.dll", "imm32.dll",
        "kernel32.dll", "msctf.dll",    "msvcrt.dll",  "normaliz.dll", "nsi.dll",
        "ole32.dll",    "oleaut32.dll", "psapi.dll",   "rpcrt4.dll",   "sechost.dll",
        "setupapi.dll", "shcore.dll",   "shell32.dll", "shlwapi.dll",  "user32.dll",
        "wldap32.dll",  "ws2_32.dll"};
    return Known.count(Name) != 0 || Name.rfind("api-ms-win-", 0) == 0;
}
