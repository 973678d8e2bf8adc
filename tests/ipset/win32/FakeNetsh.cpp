// Stands in for netsh in the system folder of the tests' Wine prefix: appends the exact command
// line it was started with (one line, UTF-8) to %FAKE_NETSH_LOG%, or to netsh.log beside itself,
// and exits with a code of %FAKE_NETSH_EXIT% (0 when unset): codes separated by blanks, the N-th
// for the N-th line of the log, the last one for the lines after. When %FAKE_NETSH_PARENTS% names
// a file, it also appends there the process id and file name of the program that started it, and
// the folder it was started in.
#include <windows.h>

#include <tlhelp32.h>

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

std::string Utf8(const wchar_t* Text) {
    const int Size = WideCharToMultiByte(CP_UTF8, 0, Text, -1, nullptr, 0, nullptr, nullptr);
    std::string Result(static_cast<size_t>(Size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, Text, -1, &Result[0], Size, nullptr, nullptr);
    Result.pop_back();
    return Result;
}

// Who started this netsh, and where: "<process id> <file name> <current folder>".
std::string Parent() {
    const HANDLE Snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W Entry = {};
    Entry.dwSize = sizeof Entry;
    DWORD ParentId = 0;
    for (BOOL More = Process32FirstW(Snapshot, &Entry); More && ParentId == 0;
         More = Process32NextW(Snapshot, &Entry))
        if (Entry.th32ProcessID == GetCurrentProcessId())
            ParentId = Entry.th32ParentProcessID;
    std::string Name = "?";
    for (BOOL More = Process32FirstW(Snapshot, &Entry); More;
         More = Process32NextW(Snapshot, &Entry))
        if (Entry.th32ProcessID == ParentId)
            Name = Utf8(Entry.szExeFile);
    CloseHandle(Snapshot);
    wchar_t Folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, Folder);
    return std::to_string(ParentId) + " " + Name + " " + Utf8(Folder) + "\n";
}

bool Append(const std::wstring& Path, const std::string& Text) {
    const HANDLE File = CreateFileW(Path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (File == INVALID_HANDLE_VALUE)
        return false;
    DWORD Written = 0;
    WriteFile(File, Text.data(), static_cast<DWORD>(Text.size()), &Written, nullptr);
    CloseHandle(File);
    return true;
}

} // namespace

int wmain() {
    const std::wstring Parents = Variable(L"FAKE_NETSH_PARENTS");
    if (!Parents.empty())
        Append(Parents, Parent());
    const std::wstring Log = LogPath();
    if (!Append(Log, Utf8(GetCommandLineW()) + "\n"))
        return 99;
    return ExitCode(LinesLogged(Log));
}
