#pragma once

#include <optional>
#include <string>

// The autostart entry that stands for one program in the user's start-up list.

// A complete entry named Name that starts the single program CommandLine, quoted so that blanks
// and other reserved characters in the path survive.
std::string DesktopEntryText(const std::string& Name, const std::string& CommandLine);

// The command line of an entry as it would run: its Exec key with the quoting undone, arguments
// joined by one blank. Nothing when the entry has no Exec key or the user has switched it off.
std::optional<std::string> DesktopEntryCommand(const std::string& Text);
