#include "ui/HelpPage.h"

#include "fakes/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include <sys/stat.h>

namespace {

// A stand-in for xdg-open, first on PATH, that writes the file it was given beside itself.
TEST(HelpPage, IsWrittenToTheTemporaryFolderAndHandedToTheDesktopsOpener) {
    TempFolder Bin;
    const std::string Opener = Bin.File("xdg-open");
    WriteWholeFile(Opener,
                   "#!/bin/sh\nprintf %s \"$1\" > \"$0.tmp\" && mv \"$0.tmp\" \"$0.log\"\n");
    chmod(Opener.c_str(), 0755);
    const std::string Path = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (Bin.Path().string() + ":" + Path).c_str(), 1);

    OpenHelpPage();
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!std::filesystem::exists(Opener + ".log") && std::chrono::steady_clock::now() < Deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    setenv("PATH", Path.c_str(), 1);

    const std::string Page = ReadWholeFile(Opener + ".log");
    EXPECT_EQ(Page, (std::filesystem::temp_directory_path() / "quelvano-ayuda.html").string());
    EXPECT_EQ(ReadWholeFile(Page).rfind("<!DOCTYPE html>\n<html lang=\"es\">", 0), 0u);
}

} // namespace
