#include "ipset/win32/Elevation.h"

#include <objbase.h>
#include <shellapi.h>

bool IsProcessElevated() {
    wchar_t Told[2] = {};
    if (GetEnvironmentVariableW(L"QUELVANO_NOT_ELEVATED", Told, 2) == 1 && Told[0] == L'1')
        return false;
    HANDLE Token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &Token))
        return false;
    const THandle Owned(Token);
    TOKEN_ELEVATION Elevation = {};
    DWORD Size = 0;
    return GetTokenInformation(Token, TokenElevation, &Elevation, sizeof Elevation, &Size) &&
           Elevation.TokenIsElevated != 0;
}

TLaunch LaunchElevated(const std::wstring& Program, const std::wstring& Parameters) {
    SHELLEXECUTEINFOW Info = {};
    Info.cbSize = sizeof Info;
    // The process handle back; the answer known before returning; failures told to the caller
    // rather than in a box of the shell's.
    Info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    Info.hwnd = GetActiveWindow();
    Info.lpVerb = L"runas";
    Info.lpFile = Program.c_str();
    Info.lpParameters = Parameters.c_str();
    Info.nShow = SW_HIDE;
    // The shell may hand the start to extensions that need COM on this thread.
    const HRESULT Com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    TLaunch Launch;
    if (!ShellExecuteExW(&Info))
        Launch.Error = GetLastError();
    if (SUCCEEDED(Com))
        CoUninitialize();
    if (Launch.Error != 0)
        return Launch;
    if (Info.hProcess == nullptr)
        Launch.Error = ERROR_INVALID_HANDLE;
    else
        Launch.Process = OwnHandle(Info.hProcess);
    return Launch;
}
