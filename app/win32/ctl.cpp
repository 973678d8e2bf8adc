// The console program on Windows: quelvanoctl.exe, beside quelvano.exe and sharing its database.
#include "base/TApplication.h"
#include "base/win32/WideText.h"
#include "cli/CtlMain.h"
#include "data/o_DatabaseConnection.h"
#include "ipset/win32/ApplyHelper.h"
#include "shell/GlobalUnit.h"
#include "shell/win32/ResourceFile.h"

#include <windows.h>

#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

namespace {

// Our text is UTF-8. A console is given it as UTF-16, whatever its code page; a pipe or a file
// gets the UTF-8 bytes as they are.
class TConsoleBuffer : public std::streambuf {
public:
    explicit TConsoleBuffer(DWORD Which) : FHandle(GetStdHandle(Which)) {
        DWORD Mode = 0;
        FConsole = GetConsoleMode(FHandle, &Mode) != 0;
    }
    ~TConsoleBuffer() override { sync(); }
    TConsoleBuffer(const TConsoleBuffer&) = delete;
    TConsoleBuffer& operator=(const TConsoleBuffer&) = delete;

protected:
    int_type overflow(int_type Ch) override {
        if (Ch != traits_type::eof())
            FPending += traits_type::to_char_type(Ch);
        if (Ch == '\n' && sync() != 0)
            return traits_type::eof();
        return traits_type::not_eof(Ch);
    }

    // A write that fails or ends short (a full disk) fails the stream, so the program says so.
    int sync() override {
        DWORD Written = 0;
        bool Whole = false;
        if (FConsole) {
            const std::wstring Wide = ToWide(FPending);
            Whole = WriteConsoleW(FHandle, Wide.data(), DWORD(Wide.size()), &Written, nullptr) &&
                    Written == Wide.size();
        } else {
            Whole =
                WriteFile(FHandle, FPending.data(), DWORD(FPending.size()), &Written, nullptr) &&
                Written == FPending.size();
        }
        FPending.clear();
        return Whole ? 0 : -1;
    }

private:
    HANDLE FHandle;
    bool FConsole = false;
    std::string FPending;
};

std::string ExecutableFolder() {
    const std::string Exe = Application().ExeName();
    return Exe.substr(0, Exe.find_last_of("\\/") + 1);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    // Every DLL from the system folder alone, as in the window program.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // An apply without administrator rights starts an elevated copy of the running program to
    // carry out its lines: here that is this program, which must then do only that.
    if (IsApplyHelperStart())
        return RunApplyHelper();
    TApplication App;
    TConsoleBuffer OutBuffer(STD_OUTPUT_HANDLE), ErrBuffer(STD_ERROR_HANDLE);
    std::ostream Out(&OutBuffer), Err(&ErrBuffer);
    std::vector<std::string> Args;
    for (int I = 1; I < argc; ++I)
        Args.push_back(FromWide(argv[I]));
    const TCtlEnvironment Env{Out, Err,
                              [](TgtIPDBManager& Db) {
                                  AppPath = ExecutableFolder();
                                  DataPath = AppPath;
                                  SaveResourceToFile("DATABASE", "IPDB", DatabaseFileName());
                                  Db.OpenDatabase();
                              },
                              nullptr, nullptr};
    return QuelvanoCtl(Args, Env);
}
