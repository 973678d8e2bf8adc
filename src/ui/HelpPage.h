#pragma once

#include <string>

// Opens the program's help page, one HTML page carried inside the program, with the system's
// default handler. A failure to open it is not reported.
void OpenHelpPage();

// Writes the page into Folder (the user's temporary folder, ending in its separator), unless the
// same page is already there, and returns the page's name; empty when it could not be written.
std::string SaveHelpPage(const std::string& Folder, const std::string& Html);
