#include "e2e/CtlProgram.h"

#include "base/win32/WideText.h"
#include "fakes/TempFolder.h"

#include <windows.h>

#include <sstream>

namespace {

HANDLE CreateOutput(const std::wstring& Path) {
    SECURITY_ATTRIBUTES Inherited = {sizeof Inherited, nullptr, TRUE};
    return CreateFileW(Path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &Inherited, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The connection key of the fake IP Helper's adapter, named "LAN 1" as discovery reads it.
const wchar_t* const ConnectionKey = L"SYSTEM\\CurrentControlSet\\Control\\Network\\"
                                     L"{7E57C1A5-0000-4000-8000-0000000000C7}";

void NameTheAdapter() {
    const std::wstring Key =
        std::wstring(ConnectionKey) + L"\\{7E57F00D-0000-4000-8000-000000000001}\\Connection";
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, Key.c_str(), L"Name", REG_SZ, L"LAN 1",
                    6 * sizeof(wchar_t));
}

} // namespace

// netsh.exe itself is put into the prefix's system folder by the fake_netsh fixture. The program
// runs as a user without administrator rights does, so its lines go through an elevated copy.
TCtlProgram::TCtlProgram(const TempFolder& Folder) : FFolder(PathText(Folder.Path())) {
    SetEnvironmentVariableW(L"QUELVANO_NOT_ELEVATED", L"1");
    std::filesystem::copy_file(FilePath(QUELVANO_CTL_EXE), FilePath(FFolder + "\\quelvanoctl.exe"));
    SetEnvironmentVariableW(L"FAKE_NETSH_LOG", ToWide(FFolder + "\\netsh.log").c_str());
    SetEnvironmentVariableW(L"FAKE_NETSH_EXIT", nullptr);
    NameTheAdapter();
}

TCtlProgram::~TCtlProgram() {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, ConnectionKey);
    SetEnvironmentVariableW(L"QUELVANO_NOT_ELEVATED", nullptr);
    SetEnvironmentVariableW(L"FAKE_NETSH_LOG", nullptr);
    SetEnvironmentVariableW(L"FAKE_NETSH_EXIT", nullptr);
}

std::string TCtlProgram::DatabaseFile() const {
    return FFolder + "\\quelvano.ipdb";
}

TProgramRun TCtlProgram::Run(const std::vector<std::string>& Args) const {
    const std::wstring Exe = ToWide(FFolder + "\\quelvanoctl.exe");
    std::wstring Line = L"\"" + Exe + L"\"";
    for (const std::string& A : Args)
        Line += L" \"" + ToWide(A) + L"\"";
    const std::wstring Out = ToWide(FFolder + "\\out"), Err = ToWide(FFolder + "\\err");
    STARTUPINFOW Startup = {};
    Startup.cb = sizeof Startup;
    Startup.dwFlags = STARTF_USESTDHANDLES;
    Startup.hStdOutput = CreateOutput(Out);
    Startup.hStdError = CreateOutput(Err);
    PROCESS_INFORMATION Process = {};
    TProgramRun Result;
    // Without a console of its own: the one Wine would make for it holds the output files open for
    // a moment after the program has ended.
    if (CreateProcessW(Exe.c_str(), Line.data(), nullptr, nullptr, TRUE, DETACHED_PROCESS, nullptr,
                       nullptr, &Startup, &Process)) {
        WaitForSingleObject(Process.hProcess, INFINITE);
        DWORD Code = 0;
        GetExitCodeProcess(Process.hProcess, &Code);
        Result.Code = static_cast<int>(Code);
        CloseHandle(Process.hThread);
        CloseHandle(Process.hProcess);
    }
    CloseHandle(Startup.hStdOutput);
    CloseHandle(Startup.hStdError);
    Result.Out = ReadWholeFile(FromWide(Out));
    Result.Err = ReadWholeFile(FromWide(Err));
    return Result;
}

const char* const TCtlProgram::AppliedOutput =
    "Cambio de IP satisfactorio!\nIP: 192.0.2.10\nMascara de subred: 255.255.255.0\n"
    "Gateway: 192.0.2.1\nDNS preferido: 192.0.2.53\nDNS alternativo: 198.51.100.53\nDHCP: No\n";

std::vector<std::string> TCtlProgram::FakeCalls() const {
    std::vector<std::string> Calls;
    std::istringstream Log(ReadWholeFile(FFolder + "\\netsh.log"));
    for (std::string Line; std::getline(Log, Line);)
        Calls.push_back(Line);
    return Calls;
}
