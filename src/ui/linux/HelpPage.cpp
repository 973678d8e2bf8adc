#include "ui/HelpPage.h"

#include <thread>

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

// The page, built into the program from resources/ayuda.html.
extern const char* const HelpPageHtml;

void OpenHelpPage() {
    const std::filesystem::path Page = SaveHelpPage(HelpPageHtml);
    if (Page.empty())
        return;
    std::string Opener = "xdg-open";
    std::string File = Page.string();
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
