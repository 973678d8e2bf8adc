#pragma once

#include <filesystem>
#include <string>

// Opens the program's help page, one HTML page carried inside the program, with the system's
// default handler. A failure to open it is not reported.
void OpenHelpPage();

// Writes the page into the user's temporary folder, unless the same page is already there, and
// returns its path; empty when it could not be written.
std::filesystem::path SaveHelpPage(const std::string& Html);
