#pragma once

#include <optional>
#include <string>

// The executable's folder with a trailing separator; set once at start-up.
extern std::string AppPath;
// The folder of the database file with a trailing separator: AppPath on Windows, the user's data
// folder on Linux. Set at start-up.
extern std::string DataPath;
// DataPath followed by "quelvano.ipdb".
std::string DatabaseFileName();

// Settings of the current user. Each call opens its key, does its one read, write or delete and
// closes it again, so a change made by hand is seen at the next call.

// The value names the program uses: its entry in the start-up list, and its own setting.
inline constexpr const char* RunValueName = "Quelvano";
inline constexpr const char* StartMinimizedName = "StartMinimizado";

// Adds CommandLine to the start-up list under Name when Enable is set, removes the entry otherwise.
// Nothing happens when the start-up list is missing: it is never created.
void SetRunAtStartup(const std::string& CommandLine, const std::string& Name, bool Enable);
// True when the start-up list holds a non-empty entry under Name.
bool IsRunAtStartup(const std::string& Name);
// Writes Value under Name in the program's key, which is created when missing.
void WriteSetting(const std::string& Name, const std::string& Value);
// The value under Name in the program's key (created when missing); empty when absent.
std::string ReadSetting(const std::string& Name);
// True only when the start-minimized setting is exactly "1".
bool IsStartMinimized();
// Reads of a value of another type raise "Invalid data type for '<Name>'"; a refused write raises
// "Failed to set data for '<Name>'".

// Address validation: a dotted-quad text as the address boxes accept it.

// True when Text (as typed, not trimmed) is not an acceptable address.
bool CheckIPAddressError(const std::string& Text);

// True when Text is an acceptable address.
bool IsValidIPAddress(const std::string& Text);

// The key filter of the address boxes: given the box's current text and one typed character,
// the character to let through, or nothing when the key press is swallowed.
std::optional<char32_t> AddressKeyFilter(const std::string& CurrentText, char32_t Key);
