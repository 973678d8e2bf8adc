// Stands in for netsh in the system folder of the tests' Wine prefix: appends the exact command
// line it was started with (one line, UTF-8) to %FAKE_NETSH_LOG%, or to netsh.log beside itself,
// and exits with a code of %FAKE_NETSH_EXIT% (0 when unset): codes separated by blanks, the N-th
// for the N-th line of the log, the last one for the lines after.
#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

std::wstring Variable(const wchar_t* Name) {
    wchar_t Buffer[1024] = {};
    const DWORD Len = GetEnvironmentVariableW(Name, Buffer, 1024);
    return Len > 0 && Len < 1024 ? std::wstring(Buffer, Len) : std::wstring();
}

std::wstring LogPath() {
    std::wstring Path = Variable(L"FAKE_NETSH_LOG");
    if (!Path.empty())
        return Path;
    wchar_t Module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, Module, MAX_PATH);
    Path = Module;
    return Path.substr(0, Path.find_last_of(L"\\/") + 1) + L"netsh.log";
}

// The code for the Lines-th line logged.
int ExitCode(long Lines) {
    std::wistringstream Codes(Variable(L"FAKE_NETSH_EXIT"));
    int Code = 0;
    for (int Next = 0; Lines > 0 && Codes >> Next; --Lines)
        Code = Next;
    return Code;
}

long LinesLogged(const std::wstring& Path) {
    std::ifstream In(Path.c_str(), std::ios::binary);
    return long(
        std::count(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>(), '\n'));
}

} // namespace

int wmain() {
    const wchar_t* Line = GetCommandLineW();
    const int Size = WideCharToMultiByte(CP_UTF8, 0, Line, -1, nullptr, 0, nullptr, nullptr);
    std::string Utf8(static_cast<size_t>(Size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, Line, -1, &Utf8[0], Size, nullptr, nullptr);
    Utf8.back() = '\n';

    const std::wstring Log = LogPath();
    const HANDLE File = CreateFileW(Log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (File == INVALID_HANDLE_VALUE)
        return 99;
    DWORD Written = 0;
    WriteFile(File, Utf8.data(), static_cast<DWORD>(Utf8.size()), &Written, nullptr);
    CloseHandle(File);
    return ExitCode(LinesLogged(Log));
}
