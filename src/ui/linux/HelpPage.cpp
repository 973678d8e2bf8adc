#include "ui/HelpPage.h"

#include <filesystem>
#include <system_error>
#include <thread>

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

// The page, built into the program from resources/ayuda.html.
extern const char* const HelpPageHtml;

namespace {

std::string TemporaryFolder() {
    std::error_code Error;
    const std::filesystem::path Folder = std::filesystem::temp_directory_path(Error);
    return Error ? std::string() : Folder.string() + "/";
}

} // namespace

void OpenHelpPage() {
    std::string File = SaveHelpPage(TemporaryFolder(), HelpPageHtml);
    if (File.empty())
        return;
    std::string Opener = "xdg-open";
    char* Arguments[] = {Opener.data(), File.data(), nullptr};
    pid_t Child = 0;
    if (posix_spawnp(&Child, Opener.c_str(), nullptr, nullptr, Arguments, environ) != 0)
        return;
    // The opener may stay until the browser closes; nothing waits for it but this.
    std::thread([Child] {
        int Status = 0;
        waitpid(Child, &Status, 0);
    }).detach();
}
