#pragma once

// Where the stand-ins for netsh and IP Helper keep what netsh was asked for: netsh-state.txt
// beside netsh's log (%FAKE_NETSH_LOG%), or in the system folder they both sit in.
#include <windows.h>

#include <string>

inline std::wstring FakeVariable(const wchar_t* Name) {
    wchar_t Buffer[1024] = {};
    const DWORD Len = GetEnvironmentVariableW(Name, Buffer, 1024);
    return Len > 0 && Len < 1024 ? std::wstring(Buffer, Len) : std::wstring();
}

inline std::wstring FakeNetshLogPath() {
    const std::wstring Path = FakeVariable(L"FAKE_NETSH_LOG");
    if (!Path.empty())
        return Path;
    wchar_t System[MAX_PATH] = {};
    GetSystemDirectoryW(System, MAX_PATH);
    return std::wstring(System) + L"\\netsh.log";
}

inline std::wstring FakeNetshStatePath() {
    const std::wstring Log = FakeNetshLogPath();
    return Log.substr(0, Log.find_last_of(L"\\/") + 1) + L"netsh-state.txt";
}

inline std::string ReadFakeFile(const std::wstring& Path) {
    const HANDLE File = CreateFileW(Path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (File == INVALID_HANDLE_VALUE)
        return std::string();
    std::string Text;
    char Buffer[4096];
    DWORD Read = 0;
    while (ReadFile(File, Buffer, sizeof Buffer, &Read, nullptr) && Read > 0)
        Text.append(Buffer, Read);
    CloseHandle(File);
    return Text;
}
