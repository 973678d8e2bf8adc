#include "ui/HelpPage.h"

#include <fstream>
#include <iterator>
#include <system_error>

std::filesystem::path SaveHelpPage(const std::string& Html) {
    std::error_code Error;
    const std::filesystem::path Folder = std::filesystem::temp_directory_path(Error);
    if (Error)
        return {};
    const std::filesystem::path Page = Folder / "quelvano-ayuda.html";
    {
        std::ifstream In(Page, std::ios::binary);
        if (In && std::string(std::istreambuf_iterator<char>(In), {}) == Html)
            return Page;
    }
    std::ofstream Out(Page, std::ios::binary | std::ios::trunc);
    Out.write(Html.data(), static_cast<std::streamsize>(Html.size()));
    Out.close();
    return Out ? Page : std::filesystem::path();
}
