// Stands in for netsh in the system folder of the tests' Wine prefix: appends the exact command
// line it was started with (one line, UTF-8) to %FAKE_NETSH_LOG%, or to netsh.log beside itself,
// and exits with a code of %FAKE_NETSH_EXIT% (0 when unset): codes separated by blanks, the N-th
// for the N-th line of the log, the last one for the lines after. When %FAKE_NETSH_PARENTS% names
// a file, it also appends there the process id and file name of the program that started it, and
// the folder it was started in.
// A line that exits 0 changes the state kept for the fake IP Helper as netsh would, unless
// %FAKE_NETSH_INERT% is set; %FAKE_NETSH_NO_LEASE% makes DHCP find no server.
#include "fakes/NetshState.h"
#include "ipset/win32/FakeNetshFiles.h"

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
    return FakeVariable(Name);
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

bool Write(const std::wstring& Path, const std::string& Text, DWORD Access, DWORD Disposition) {
    const HANDLE File = CreateFileW(Path.c_str(), Access, FILE_SHARE_READ, nullptr, Disposition,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (File == INVALID_HANDLE_VALUE)
        return false;
    DWORD Written = 0;
    WriteFile(File, Text.data(), static_cast<DWORD>(Text.size()), &Written, nullptr);
    CloseHandle(File);
    return true;
}

bool Append(const std::wstring& Path, const std::string& Text) {
    return Write(Path, Text, FILE_APPEND_DATA, OPEN_ALWAYS);
}

// The command line without the program's name, as the program wrote it.
void Remember(const std::string& CommandLine) {
    const std::size_t Start = CommandLine.find("netsh interface");
    if (Start == std::string::npos || !Variable(L"FAKE_NETSH_INERT").empty())
        return;
    TNetshLease Lease;
    if (!Variable(L"FAKE_NETSH_NO_LEASE").empty())
        Lease = {"", ""};
    TNetshState State = LoadNetshState(ReadFakeFile(FakeNetshStatePath()));
    ApplyNetshLine(State, CommandLine.substr(Start), Lease);
    Write(FakeNetshStatePath(), SaveNetshState(State), GENERIC_WRITE, CREATE_ALWAYS);
}

} // namespace

int wmain() {
    const std::wstring Parents = Variable(L"FAKE_NETSH_PARENTS");
    if (!Parents.empty())
        Append(Parents, Parent());
    const std::wstring Log = FakeNetshLogPath();
    const std::string CommandLine = Utf8(GetCommandLineW());
    if (!Append(Log, CommandLine + "\n"))
        return 99;
    const int Code = ExitCode(LinesLogged(Log));
    if (Code == 0)
        Remember(CommandLine);
    return Code;
}
