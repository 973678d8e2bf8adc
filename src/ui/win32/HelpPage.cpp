#include "ui/HelpPage.h"

#include "base/win32/WideText.h"

#include <windows.h>

#include <shellapi.h>

namespace {

// The page as the program carries it: resource AYUDA of type RCDATA.
std::string EmbeddedPage() {
    const HMODULE Module = GetModuleHandleW(nullptr);
    const HRSRC Info = FindResourceW(Module, L"AYUDA", RT_RCDATA);
    const HGLOBAL Data = Info ? LoadResource(Module, Info) : nullptr;
    const void* Bytes = Data ? LockResource(Data) : nullptr;
    if (Bytes == nullptr)
        return {};
    return std::string(static_cast<const char*>(Bytes), SizeofResource(Module, Info));
}

// With its closing backslash, as the system gives it.
std::string TemporaryFolder() {
    wchar_t Folder[MAX_PATH + 1];
    const DWORD Length = GetTempPathW(MAX_PATH + 1, Folder);
    return Length == 0 || Length > MAX_PATH ? std::string()
                                            : FromWide(std::wstring(Folder, Length));
}

} // namespace

void OpenHelpPage() {
    const std::string Html = EmbeddedPage();
    if (Html.empty())
        return;
    const std::string Page = SaveHelpPage(TemporaryFolder(), Html);
    if (!Page.empty())
        ShellExecuteW(GetActiveWindow(), nullptr, ToWide(Page).c_str(), L"", L"", SW_SHOWNORMAL);
}
