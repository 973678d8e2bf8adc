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

// Address validation: a dotted-quad text as the address boxes accept it.

// True when Text (as typed, not trimmed) is not an acceptable address.
bool CheckIPAddressError(const std::string& Text);

// True when Text is an acceptable address.
bool IsValidIPAddress(const std::string& Text);

// The key filter of the address boxes: given the box's current text and one typed character,
// the character to let through, or nothing when the key press is swallowed.
std::optional<char32_t> AddressKeyFilter(const std::string& CurrentText, char32_t Key);
