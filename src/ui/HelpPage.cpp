#include "ui/HelpPage.h"

#include "base/DurableFile.h"

std::string SaveHelpPage(const std::string& Folder, const std::string& Html) {
    if (Folder.empty())
        return {};
    const std::string Page = Folder + "quelvano-ayuda.html";
    if (ReadFileBytes(Page) == Html)
        return Page;
    return WriteFileDurably(Page, Html, true) == 0 ? Page : std::string();
}
