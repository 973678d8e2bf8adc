#include "ipset/win32/ApplyHelper.h"

#include "base/TApplication.h"
#include "base/win32/SystemFolder.h"
#include "ipset/IPSetCommands.h"
#include "ipset/win32/HelperPipe.h"
#include "ipset/win32/NetshRunner.h"

#include <shellapi.h>

#include <cwchar>
#include <vector>

namespace {

const wchar_t* const HelperSwitch = L"--apply-helper";

// The command line's words, program first.
std::vector<std::wstring> Arguments() {
    int Count = 0;
    wchar_t** Words = CommandLineToArgvW(GetCommandLineW(), &Count);
    if (Words == nullptr)
        return {};
    std::vector<std::wstring> Result(Words, Words + Count);
    LocalFree(Words);
    return Result;
}

bool ReadNumber(const std::wstring& Text, unsigned long& Value) {
    wchar_t* End = nullptr;
    Value = std::wcstoul(Text.c_str(), &End, 10);
    return !Text.empty() && Text[0] != L'-' && *End == L'\0';
}

} // namespace

std::wstring ApplyHelperParameters(const std::wstring& PipeName, DWORD ServerPid,
                                   unsigned PauseMs) {
    return std::wstring(HelperSwitch) + L" " + PipeName + L" " + std::to_wstring(ServerPid) + L" " +
           std::to_wstring(PauseMs);
}

bool IsApplyHelperStart() {
    const std::vector<std::wstring> Words = Arguments();
    return Words.size() >= 2 && Words[1] == HelperSwitch;
}

int RunApplyHelper() {
    // The folder it was started in is the caller's choice: nothing may be found there.
    SetCurrentDirectoryW(SystemFolder().c_str());
    const std::vector<std::wstring> Words = Arguments();
    unsigned long ServerPid = 0, PauseMs = 0;
    if (Words.size() != 5 || !ReadNumber(Words[3], ServerPid) || !ReadNumber(Words[4], PauseMs))
        return int(THelperExit::BadCommandLine);
    THelperPipe Pipe = THelperPipe::Open(Words[2], ServerPid);
    if (!Pipe.Valid())
        return int(THelperExit::UnverifiedPipe);
    std::vector<std::string> Lines;
    if (!Pipe.ReceiveLines(Lines) || !AreSafeApplyLines(Lines))
        return int(THelperExit::LinesRefused);

    TApplication App; // the runner processes pending messages through it; this mode has none
    const auto Runner = CreateNetshRunner(unsigned(PauseMs));
    for (const std::string& Line : Lines)
        if (!Pipe.SendResult(Runner->Run(Line, SW_HIDE)))
            return int(THelperExit::ApplierGone);
    return int(THelperExit::Done);
}
