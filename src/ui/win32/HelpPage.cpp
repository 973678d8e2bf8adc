#include "ui/HelpPage.h"

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

} // namespace

void OpenHelpPage() {
    const std::string Html = EmbeddedPage();
    if (Html.empty())
        return;
    const std::filesystem::path Page = SaveHelpPage(Html);
    if (!Page.empty())
        ShellExecuteW(GetActiveWindow(), nullptr, Page.c_str(), L"", L"", SW_SHOWNORMAL);
}
