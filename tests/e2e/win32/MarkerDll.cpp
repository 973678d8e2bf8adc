// A DLL that leaves "<its own file>.loaded" beside itself when a process loads it.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE Self, DWORD Reason, LPVOID) {
    if (Reason != DLL_PROCESS_ATTACH)
        return TRUE;
    wchar_t Path[MAX_PATH + 8] = {};
    GetModuleFileNameW(Self, Path, MAX_PATH);
    lstrcatW(Path, L".loaded");
    CloseHandle(CreateFileW(Path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    return TRUE;
}
