#pragma once

#include <windows.h>

#include <string>

// The program's folder is writable (the database lives there), so no code is ever taken from it,
// nor from the current folder: DLLs come from the system folder alone, and so do the programs it
// starts.

// The system folder without a trailing backslash; empty when the system does not tell.
inline std::wstring SystemFolder() {
    wchar_t Folder[MAX_PATH] = {};
    const UINT Length = GetSystemDirectoryW(Folder, MAX_PATH);
    return Length == 0 || Length >= MAX_PATH ? std::wstring() : std::wstring(Folder, Length);
}

// A DLL of the system folder by its bare name; null when it is not there.
inline HMODULE LoadSystemLibrary(const wchar_t* Name) {
    return LoadLibraryExW(Name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}
